// Dormix run by a standard user from a download folder named in Cyrillic with
// a winmm.dll planted beside it: the autostart entry goes to the user's Run
// key, quoted and naming that folder, and goes again with Autostart off; the
// machine's entry, which this user cannot remove, stays and Ok says so; a
// sound named in Cyrillic plays; every library comes from the Windows folder.
// This program's manifest, Dormix's own, makes its 8-bit API UTF-8 as well.
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

TEST(UserFolder, AutostartSoundAndLibrariesFromAFolderNamedInCyrillic) {
  PSECURITY_DESCRIPTOR readOnly = nullptr;  // the machine's Run key as a standard user meets it
  HKEY run = nullptr;
  ASSERT_TRUE(
      ConvertStringSecurityDescriptorToSecurityDescriptorA("D:(A;;KR;;;WD)", SDDL_REVISION_1, &readOnly, nullptr));
  // Writable through this handle still: the machine's entry comes later.
  ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, app::kRunKey.c_str(), 0, WRITE_DAC | KEY_SET_VALUE, &run), ERROR_SUCCESS);
  const ui::unique_hkey runKey(run);
  ASSERT_EQ(RegSetKeySecurity(run, DACL_SECURITY_INFORMATION, readOnly), ERROR_SUCCESS);
  const std::string folder = SuiteDir() + "\\Дормикс", exe = folder + "\\dormix.exe", sound = folder + "\\звук.wav";
  ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr) && CopyFileA(DormixExe().c_str(), exe.c_str(), TRUE) &&
              CopyFileA("Z:\\usr\\i686-w64-mingw32\\lib\\libwinpthread-1.dll", (folder + "\\winmm.dll").c_str(), TRUE) &&
              MoveFileA(SuiteFile("tone.wav", SilenceWav(1000)).c_str(), sound.c_str()));
  Store("Operation", "PlaySound", "1");
  Store("Operation", "SoundFileName", sound);

  SetCurrentDirectoryA(folder.c_str());
  Process dormix("dormix.exe");
  ASSERT_TRUE(WaitSettled(dormix));
  EXPECT_EQ(StoredText(app::kRunKey, "Dormix", app::CurrentUser()), '"' + exe + '"');
  EXPECT_EQ(StoredText(app::kRunKey, "Dormix"), "<missing>");
  EXPECT_TRUE(ChooseFromTrayMenu(kHibernate));
  const HWND notice = Shown(dormix, "TForm2");
  ASSERT_TRUE(notice) << "the sound did not open";
  Click(notice, "Cancel");
  WithOptions(dormix, [&](HWND options) {
    PostMessageA(FindControl(options, "Button", "Browse"), BM_CLICK, 0, 0);
    PostMessageA(WaitForWindow(dormix.Id(), "#32770"), WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(PumpUntil([&] { return !WaitForWindow(dormix.Id(), "#32770", 0); }));
    Click(options, "Autostart");
  });
  EXPECT_EQ(StoredText(app::kRunKey, "Dormix", app::CurrentUser()), "<missing>");
  const std::string machine = "\"C:\\Dormix\\dormix.exe\"";  // as an administrator's run wrote it
  ASSERT_FALSE(RegSetValueExA(run, "Dormix", 0, REG_SZ, reinterpret_cast<const BYTE*>(machine.c_str()),
                              static_cast<DWORD>(machine.size() + 1)));
  std::string said;
  const Every answer(50, [&] { return (said = AnswerMessageBox(dormix, "autostart-kept", 0)).empty(); });
  WithOptions(dormix, [](HWND) {});
  EXPECT_EQ(said, "Dormix still starts with Windows for every user of this computer. "
                  "Only an administrator can switch that off.");
  EXPECT_EQ(StoredText(app::kRunKey, "Dormix"), machine);

  // Besides the program itself, each module lies in the Windows folder.
  char windows[MAX_PATH];
  const std::string inWindows = std::string(windows, GetWindowsDirectoryA(windows, MAX_PATH)) + "\\";
  std::vector<std::string> outside, loaded;
  const ui::unique_handle modules(CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, dormix.Id()));
  MODULEENTRY32 module{};
  module.dwSize = sizeof module;
  for (BOOL more = Module32First(modules.get(), &module); more; more = Module32Next(modules.get(), &module))
    (_strnicmp(module.szExePath, inWindows.c_str(), inWindows.size()) ? outside : loaded).push_back(module.szExePath);
  EXPECT_EQ(outside, std::vector<std::string>{exe});
  for (const char* name : {"\\system32\\winmm.dll", "\\system32\\comdlg32.dll", "\\comctl32.dll"})
    EXPECT_TRUE(std::any_of(loaded.begin(), loaded.end(), [&](auto& path) { return path.ends_with(name); })) << name;
  EXPECT_TRUE(ExitThroughMenu(dormix));
}

}  // namespace
