// Dormix as a standard user runs it from a download folder with a Cyrillic
// name and a winmm.dll planted beside it: the machine's Run key denied, the
// autostart entry is the user's, quoted and naming the folder; a sound file
// named in Cyrillic plays; every library comes from the Windows folder.
#include <windows.h>
#include <sddl.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/DormixTest.h"

namespace {

using namespace testing_support;

const wchar_t* const kRun = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

std::wstring RunValue(HKEY root) {
  wchar_t data[MAX_PATH] = L"<missing>";
  DWORD size = sizeof data;
  RegGetValueW(root, kRun, L"Dormix", RRF_RT_REG_SZ, nullptr, data, &size);
  return data;
}

TEST(UserFolder, AutostartSoundAndLibrariesFromAFolderNamedInCyrillic) {
  HKEY run = nullptr;
  PSECURITY_DESCRIPTOR readOnly = nullptr;
  ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA("D:(A;;KR;;;WD)", SDDL_REVISION_1, &readOnly, nullptr));
  ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, kRun, 0, WRITE_DAC, &run), ERROR_SUCCESS);
  ASSERT_EQ(RegSetKeySecurity(run, DACL_SECURITY_INFORMATION, readOnly), ERROR_SUCCESS);
  RegCloseKey(run);

  const std::string suite = SuiteDir();
  const std::wstring folder = std::wstring(suite.begin(), suite.end()) + L"\\Дормикс", sound = folder + L"\\звук.wav";
  ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
  const std::string dormix = DormixExe();
  ASSERT_TRUE(CopyFileW(std::wstring(dormix.begin(), dormix.end()).c_str(), (folder + L"\\dormix.exe").c_str(), FALSE));
  ASSERT_TRUE(CopyFileW(L"Z:\\usr\\i686-w64-mingw32\\lib\\libwinpthread-1.dll", (folder + L"\\winmm.dll").c_str(), FALSE));
  const std::string wave = SuiteFile("tone.wav", std::string("RIFF\x64\x1f\0\0WAVEfmt \x10\0\0\0\1\0\1\0\x40\x1f\0\0\x40\x1f\0\0\1\0\x08\0data\x40\x1f\0\0", 44) + std::string(8000, '\x80'));
  ASSERT_TRUE(MoveFileW(std::wstring(wave.begin(), wave.end()).c_str(), sound.c_str()));
  Store("Operation", "PlaySound", "1");
  RegSetKeyValueW(HKEY_LOCAL_MACHINE, L"Software\\Velto Software\\Dormix\\Operation", L"SoundFileName", REG_SZ,
                  sound.c_str(), static_cast<DWORD>((sound.size() + 1) * sizeof(wchar_t)));

  SetCurrentDirectoryW(folder.c_str());
  Process started("dormix.exe");
  ASSERT_TRUE(WaitSettled(started));
  EXPECT_EQ(RunValue(HKEY_CURRENT_USER), L'"' + folder + L"\\dormix.exe\"");
  EXPECT_EQ(RunValue(HKEY_LOCAL_MACHINE), L"<missing>");

  ChooseMenuCommand(started, kHibernate);
  const HWND notice = Shown(started, "TForm2");
  ASSERT_TRUE(notice) << "no notice: the sound did not open";
  Click(notice, "Cancel");
  WithOptions(started, [&](HWND options) {
    PostMessageA(FindControl(options, "Button", "Browse"), BM_CLICK, 0, 0);
    PostMessageA(WaitForWindow(started.Id(), "#32770"), WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(PumpUntil([&] { return !WaitForWindow(started.Id(), "#32770", 0); }));
    Click(options, "Autostart");
  });
  EXPECT_EQ(RunValue(HKEY_CURRENT_USER), L"<missing>");

  wchar_t windows[MAX_PATH];
  const std::wstring inWindows = std::wstring(windows, GetWindowsDirectoryW(windows, MAX_PATH)) + L"\\";
  std::vector<std::wstring> loaded, foreign;
  const ui::unique_handle modules(CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, started.Id()));
  MODULEENTRY32W module{};
  module.dwSize = sizeof module;
  for (BOOL more = Module32FirstW(modules.get(), &module); more; more = Module32NextW(modules.get(), &module))
    (_wcsnicmp(module.szExePath, inWindows.c_str(), inWindows.size()) ? foreign : loaded).push_back(module.szExePath);
  EXPECT_EQ(foreign, std::vector<std::wstring>{folder + L"\\dormix.exe"});
  for (const wchar_t* library : {L"system32\\winmm.dll", L"system32\\comdlg32.dll", L"\\comctl32.dll"})
    EXPECT_TRUE(std::any_of(loaded.begin(), loaded.end(), [&](const std::wstring& path) { return path.ends_with(library); })) << library;
  EXPECT_TRUE(ExitThroughMenu(started));
}

}  // namespace
