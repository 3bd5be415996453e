// The release's installer as a user meets it: a silent install into Program
// Files, Dormix started from there with its tray icon, and a silent uninstall
// through its Add/Remove Programs entry that ends Dormix and leaves nothing of
// it running or registered to start; its settings stay unless asked.
#include <windows.h>
#include <shlobj.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <string>

#include "support/Dormix.h"
#include "support/Pump.h"

namespace {

using namespace testing_support;

const std::string kUninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Dormix";

std::string Installer() { return WindowsPath(std::getenv("DORMIX_INSTALLER")); }

std::string Folder(int csidl) {
  char path[MAX_PATH] = {};
  SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
  return path;
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool KeyExists(const std::string& path) { return app::LocalMachine().Open(path, false) != nullptr; }

// The prefix's processes: id and program file name.
std::map<DWORD, std::string> RunningProcesses() {
  std::map<DWORD, std::string> running;
  const ui::unique_handle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32First(snapshot.get(), &entry); more; more = Process32Next(snapshot.get(), &entry))
    running[entry.th32ProcessID] = entry.szExeFile;
  return running;
}

bool DormixRuns() {
  for (const auto& [id, name] : RunningProcesses())
    if (lstrcmpiA(name.c_str(), "dormix.exe") == 0) return true;
  return false;
}

void Install() {
  Process installer(Installer(), "/S");
  ASSERT_EQ(installer.WaitExit(60000), 0u) << Installer();
  ASSERT_TRUE(KeyExists(kUninstallKey));
}

// Runs the quiet uninstall command of the Add/Remove Programs entry and waits
// until it has finished: the uninstaller goes on in a copy of itself outside
// the folder it removes, so the process started here ends at once. Done is
// when the entry has gone (its last step) and every process the uninstall
// started has ended.
void Uninstall(const std::string& options) {
  const std::string command = StoredText(kUninstallKey, "QuietUninstallString");
  ASSERT_EQ(command.front(), '"') << command;
  const std::size_t closing = command.find('"', 1);
  ASSERT_NE(closing, std::string::npos);
  const std::map<DWORD, std::string> before = RunningProcesses();
  {
    Process uninstaller(command.substr(1, closing - 1), command.substr(closing + 1) + options);
    ASSERT_TRUE(uninstaller.WaitExit(60000));
  }
  EXPECT_TRUE(PumpUntil(
      [&] {
        if (KeyExists(kUninstallKey)) return false;
        for (const auto& [id, name] : RunningProcesses())
          if (id != GetCurrentProcessId() && !before.count(id)) return false;
        return true;
      },
      60000))
      << "the uninstall did not finish";
}

TEST(Install, DormixInstalledSilentlyRunsFromProgramFilesAndUninstallsWithoutATrace) {
  const std::string folder = Folder(CSIDL_PROGRAM_FILES) + "\\Dormix";
  const std::string exe = folder + "\\dormix.exe";
  const std::string shortcut = Folder(CSIDL_COMMON_PROGRAMS) + "\\Dormix.lnk";

  Install();
  for (const std::string& path : {exe, folder + "\\uninstall.exe", folder + "\\LICENSE.txt", shortcut})
    EXPECT_TRUE(Exists(path)) << path;
  const struct {
    const char* name;
    std::string value;
  } entry[] = {
      {"DisplayName", "Dormix"},
      {"Publisher", "Velto Software"},
      {"DisplayIcon", exe + ",0"},
      {"InstallLocation", folder},
      {"UninstallString", "\"" + folder + "\\uninstall.exe\""},
      {"QuietUninstallString", "\"" + folder + "\\uninstall.exe\" /S"},
  };
  for (const auto& [name, value] : entry) EXPECT_EQ(StoredText(kUninstallKey, name), value) << name;

  Process dormix(exe);
  ASSERT_TRUE(WaitSettled(dormix));
  EXPECT_TRUE(FindWindowExA(HWND_MESSAGE, nullptr, "TTarvelTrayIconWindow", nullptr));
  EXPECT_TRUE(PumpUntil(TrayIconShown)) << "no tray icon";
  Screenshot("installed-tray");
  EXPECT_NE(StoredText(app::kRunKey, "Dormix").find(exe), std::string::npos)
      << "the first start registers itself to start with Windows";
  // The options window, shown modally, takes the first close message.
  EXPECT_TRUE(ChooseFromTrayMenu(kMain));
  const HWND options = WaitForWindow(dormix.Id(), "TForm1");
  EXPECT_TRUE(PumpUntil([&] { return IsWindowVisible(options); }));

  Uninstall("");
  EXPECT_EQ(dormix.WaitExit(0), 0u) << "Dormix was not ended, or not cleanly";
  EXPECT_FALSE(DormixRuns());
  EXPECT_TRUE(PumpUntil([] { return !TrayIconShown(); })) << "the tray icon stayed";
  EXPECT_EQ(StoredText(app::kRunKey, "Dormix"), "<missing>");
  for (const std::string& path : {folder, shortcut}) EXPECT_FALSE(Exists(path)) << path;
  EXPECT_EQ(StoredText(app::kSettingsKey + "\\Operation", "Code"), "1") << "the settings were kept";
  Screenshot("uninstalled");
}

TEST(Install, WhenAskedTheUninstallRemovesTheSettings) {
  Install();
  Store("Operation", "Code", "1");
  Uninstall(" /REMOVESETTINGS");
  EXPECT_FALSE(KeyExists(app::kSettingsKey));
  EXPECT_FALSE(KeyExists("Software\\Velto Software")) << "the maker's key, left empty";
}

// The Windows Installer package: msiexec with `arguments`, waited for.
void Msiexec(const std::string& arguments) {
  Process msiexec(Folder(CSIDL_SYSTEM) + "\\msiexec.exe", arguments);
  ASSERT_EQ(msiexec.WaitExit(120000), 0u) << arguments;
}

// The Add/Remove Programs entries named Dormix.
int DormixEntries() {
  const std::string entries = kUninstallKey.substr(0, kUninstallKey.rfind('\\') + 1);
  HKEY key = nullptr;
  RegOpenKeyExA(HKEY_LOCAL_MACHINE, entries.c_str(), 0, KEY_READ, &key);
  const ui::unique_hkey held(key);
  int count = 0;
  char name[256];
  for (DWORD i = 0, size = sizeof name; RegEnumKeyExA(key, i, name, &size, nullptr, nullptr, nullptr, nullptr) == 0;
       ++i, size = sizeof name)
    count += StoredText(entries + name, "DisplayName") == "Dormix";
  return count;
}

// Deployed as an administrator deploys it: silently with properties, then a
// later package over it, then removed; the settings stay.
TEST(Install, TheMsiInstallsWithPropertiesUpgradesToOneEntryAndUninstallsKeepingTheSettings) {
  const std::string exe = Folder(CSIDL_PROGRAM_FILES) + "\\Dormix\\dormix.exe";
  const std::string operation = app::kSettingsKey + "\\Operation";
  Msiexec("/i " + WindowsPath(std::getenv("DORMIX_MSI")) + " /qn CLOCK=22:00 CLOCKACTION=LogOff");
  for (const auto& [name, value] : {std::pair{"EndTime", "22:00"}, {"Enabled", "1"}, {"Code", "2"}, {"ShowMessage", "<missing>"}})
    EXPECT_EQ(StoredText(operation, name), value) << name;
  EXPECT_EQ(DormixEntries(), 1);
  {
    Process dormix(exe);
    ASSERT_TRUE(WaitSettled(dormix));
    EXPECT_EQ(StoredText(app::kRunKey, "Dormix"), "\"" + exe + "\"");
    Msiexec("/i " + WindowsPath(std::getenv("DORMIX_NEXT_MSI")) + " /qn");
    EXPECT_TRUE(dormix.WaitExit(0)) << "the upgrade did not end Dormix";
  }
  EXPECT_EQ(DormixEntries(), 1);
  EXPECT_EQ(StoredText(app::kRunKey, "Dormix"), "<missing>");
  Process dormix(exe);
  ASSERT_TRUE(WaitSettled(dormix));
  EXPECT_EQ(StoredText(operation, "EndTime"), "22:00") << "kept over the upgrade";
  Msiexec("/x " + WindowsPath(std::getenv("DORMIX_NEXT_MSI")) + " /qn");
  EXPECT_TRUE(dormix.WaitExit(0)) << "the uninstall did not end Dormix";
  EXPECT_EQ(DormixEntries(), 0);
  EXPECT_FALSE(Exists(exe));
  EXPECT_EQ(StoredText(app::kRunKey, "Dormix"), "<missing>");
  EXPECT_EQ(StoredText(operation, "Code"), "2") << "the settings were kept";
}

}  // namespace
