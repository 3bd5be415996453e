// Dormix run by a standard user from a download folder named in Cyrillic with
// a winmm.dll planted beside it: the autostart entry goes to the user's Run
// key, quoted and naming that folder, and goes again with Autostart off; the
// machine's entry, which this user cannot remove, stays and Ok says so; a
// sound named in Cyrillic plays; every library comes from the Windows folder.
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

std::wstring RunValue(HKEY root) {
  wchar_t data[MAX_PATH] = L"<missing>";
  DWORD size = sizeof data;
  RegGetValueW(root, L"Software\\Microsoft\\Windows\\CurrentVersion\\Run", L"Dormix", RRF_RT_REG_SZ, nullptr, data,
               &size);
  return data;
}

std::wstring Wide(const std::string& ascii) { return {ascii.begin(), ascii.end()}; }

TEST(UserFolder, AutostartSoundAndLibrariesFromAFolderNamedInCyrillic) {
  PSECURITY_DESCRIPTOR readOnly = nullptr;  // the machine's Run key as a standard user meets it
  HKEY run = nullptr;
  ASSERT_TRUE(
      ConvertStringSecurityDescriptorToSecurityDescriptorA("D:(A;;KR;;;WD)", SDDL_REVISION_1, &readOnly, nullptr));
  // Writable through this handle still: the machine's entry comes later.
  ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, app::kRunKey.c_str(), 0, WRITE_DAC | KEY_SET_VALUE, &run), ERROR_SUCCESS);
  const ui::unique_hkey runKey(run);
  ASSERT_EQ(RegSetKeySecurity(run, DACL_SECURITY_INFORMATION, readOnly), ERROR_SUCCESS);
  const std::wstring folder = Wide(SuiteDir()) + L"\\Дормикс", exe = folder + L"\\dormix.exe",
                     sound = folder + L"\\звук.wav", planted = folder + L"\\winmm.dll";
  // One second of silence, 8 kHz 8-bit mono.
  const std::string wave("RIFF\x64\x1f\0\0WAVEfmt \x10\0\0\0\1\0\1\0\x40\x1f\0\0\x40\x1f\0\0\1\0\x08\0data\x40\x1f\0\0", 44);
  ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr) && CopyFileW(Wide(DormixExe()).c_str(), exe.c_str(), TRUE) &&
              CopyFileW(L"Z:\\usr\\i686-w64-mingw32\\lib\\libwinpthread-1.dll", planted.c_str(), TRUE) &&
              MoveFileW(Wide(SuiteFile("tone.wav", wave + std::string(8000, '\x80'))).c_str(), sound.c_str()));
  Store("Operation", "PlaySound", "1");
  RegSetKeyValueW(HKEY_LOCAL_MACHINE, L"Software\\Velto Software\\Dormix\\Operation", L"SoundFileName", REG_SZ,
                  sound.c_str(), static_cast<DWORD>((sound.size() + 1) * sizeof(wchar_t)));

  SetCurrentDirectoryW(folder.c_str());
  Process dormix("dormix.exe");
  ASSERT_TRUE(WaitSettled(dormix));
  EXPECT_EQ(RunValue(HKEY_CURRENT_USER), L'"' + exe + L'"');
  EXPECT_EQ(RunValue(HKEY_LOCAL_MACHINE), L"<missing>");
  ChooseMenuCommand(dormix, kHibernate);
  const HWND notice = Shown(dormix, "TForm2");
  ASSERT_TRUE(notice) << "the sound did not open";
  Click(notice, "Cancel");
  WithOptions(dormix, [&](HWND options) {
    PostMessageA(FindControl(options, "Button", "Browse"), BM_CLICK, 0, 0);
    PostMessageA(WaitForWindow(dormix.Id(), "#32770"), WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(PumpUntil([&] { return !WaitForWindow(dormix.Id(), "#32770", 0); }));
    Click(options, "Autostart");
  });
  EXPECT_EQ(RunValue(HKEY_CURRENT_USER), L"<missing>");
  const std::wstring machine = L"\"C:\\Dormix\\dormix.exe\"";  // as an administrator's run wrote it
  ASSERT_FALSE(RegSetValueExW(run, L"Dormix", 0, REG_SZ, reinterpret_cast<const BYTE*>(machine.c_str()),
                              static_cast<DWORD>((machine.size() + 1) * sizeof(wchar_t))));
  std::string said;
  const Every answer(50, [&] { return (said = AnswerMessageBox(dormix, "autostart-kept", 0)).empty(); });
  WithOptions(dormix, [](HWND) {});
  EXPECT_EQ(said, "Dormix still starts with Windows for every user of this computer. "
                  "Only an administrator can switch that off.");
  EXPECT_EQ(RunValue(HKEY_LOCAL_MACHINE), machine);

  // Besides the program itself, each module lies in the Windows folder.
  wchar_t windows[MAX_PATH];
  const std::wstring inWindows = std::wstring(windows, GetWindowsDirectoryW(windows, MAX_PATH)) + L"\\";
  std::vector<std::wstring> outside, loaded;
  const ui::unique_handle modules(CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, dormix.Id()));
  MODULEENTRY32W module{};
  module.dwSize = sizeof module;
  for (BOOL more = Module32FirstW(modules.get(), &module); more; more = Module32NextW(modules.get(), &module))
    (_wcsnicmp(module.szExePath, inWindows.c_str(), inWindows.size()) ? outside : loaded).push_back(module.szExePath);
  EXPECT_EQ(outside, std::vector<std::wstring>{exe});
  for (const wchar_t* name : {L"\\system32\\winmm.dll", L"\\system32\\comdlg32.dll", L"\\comctl32.dll"})
    EXPECT_TRUE(std::any_of(loaded.begin(), loaded.end(), [&](auto& path) { return path.ends_with(name); })) << name;
  EXPECT_TRUE(ExitThroughMenu(dormix));
}

}  // namespace
