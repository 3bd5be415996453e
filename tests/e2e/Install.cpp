// The release's installer as a user meets it: a silent install into Program
// Files, Dormix started from there with its tray icon, and a silent uninstall
// through its Add/Remove Programs entry that ends Dormix and leaves nothing of
// it running or registered to start; its settings stay unless asked.
#include <windows.h>
#include <shlobj.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
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

// msiexec's `verb` (/i, /x) on the Windows Installer package `variable`
// names, silent, with `more` after it; waited for, its exit code.
DWORD Msiexec(const char* verb, const std::string& more = "", const char* variable = "DORMIX_MSI") {
  Process msiexec(Folder(CSIDL_SYSTEM) + "\\msiexec.exe",
                  std::string(verb) + " " + WindowsPath(std::getenv(variable)) + " /qn " + more);
  return msiexec.WaitExit(120000).value_or(STILL_ACTIVE);
}

std::string FileText(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), {}};
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

// A property that is not what it may be fails the install before anything
// is written, and the log says which and what it takes.
TEST(Install, TheMsiRefusesAPropertyNotOfItsKindAndWritesNothing) {
  const std::string time = "give a time of day as H:MM or HH:MM, from 0:00 to 23:59.",
                    seconds = "give a whole number from 0 to 9999.";
  const struct {
    const char *property, *takes;
  } rows[] = {
      {"CLOCK=24:00", time.c_str()},        {"CLOCK=abc", time.c_str()},
      {"MESSAGETIME=-1", seconds.c_str()},  {"MESSAGETIME=10000", seconds.c_str()},
      {"MESSAGETIME=x", seconds.c_str()},   {"FORCE=yes", "give 1 or 0."},
      {"CLOCKACTION=Sleep", "give one of ShutDown, LogOff, Hibernate, ScreenSaver, Restart, ShutDownMonitor, "
                            "ProtectionPanel."},
      {"CLOCKDAYS=22:00", "give seven days from Monday separated by \";\", each a time as HH:MM, - for off, or "
                          "empty for the clock's time."},
  };
  const std::string log = SuiteDir() + "\\msi.log";
  for (const auto& row : rows) {
    SCOPED_TRACE(row.property);
    EXPECT_EQ(Msiexec("/i", "/l*v \"" + log + "\" " + row.property), static_cast<DWORD>(ERROR_INSTALL_FAILURE));
    std::string text = FileText(log);
    text.erase(std::remove(text.begin(), text.end(), '\0'), text.end());  // a log in UTF-16
    EXPECT_NE(text.find(row.property + std::string(" is refused: ") + row.takes), std::string::npos);
    EXPECT_EQ(DormixEntries(), 0);
    EXPECT_FALSE(KeyExists(app::kSettingsKey)) << "written";
  }
}

// Deployed as an administrator deploys it: silently with every property,
// each read as meant; the same version rebuilt is the same product; a later
// package over it ends Dormix and keeps it starting with Windows; removed,
// no autostart entry is left and the settings stay.
TEST(Install, TheMsiInstallsEveryPropertyUpgradesKeepingAutostartAndUninstallsKeepingTheSettings) {
  const std::string exe = Folder(CSIDL_PROGRAM_FILES) + "\\Dormix\\dormix.exe", entry = "\"" + exe + "\"";
  const std::string operation = app::kSettingsKey + "\\Operation";
  ASSERT_EQ(Msiexec("/i", "CLOCK=9:45 CLOCKACTION=logoff AUTOSTART=1 SHOWMESSAGE=0 MESSAGETIME=0030 FORCE=0 "
                          "CLOCKDAYS=9:00;;;;;-;-"),
            0u);
  const struct {
    std::string key;
    const char *name, *value;
  } written[] = {
      {operation, "EndTime", "09:45"},   {operation, "Enabled", "1"},     {operation, "Code", "2"},
      {operation, "ShowMessage", "0"},   {operation, "MessageTime", "30"}, {operation, "ForceAction", "0"},
      {operation, "Days", "09:00;;;;;-;-"},
      {app::kSettingsKey + "\\Application", "AutoStart", "1"},           {app::kRunKey, "Dormix", entry.c_str()},
  };
  for (const auto& [key, name, value] : written) EXPECT_EQ(StoredText(key, name), value) << name;
  EXPECT_EQ(DormixEntries(), 1);
  Msiexec("/i", "", "DORMIX_REBUILT_MSI");
  EXPECT_EQ(DormixEntries(), 1) << "the rebuilt package is a second product";
  {
    Process dormix(exe);
    ASSERT_TRUE(WaitSettled(dormix));
    ASSERT_EQ(Msiexec("/i", "", "DORMIX_NEXT_MSI"), 0u);
    EXPECT_TRUE(dormix.WaitExit(0)) << "the upgrade did not end Dormix";
  }
  EXPECT_EQ(DormixEntries(), 1);
  EXPECT_EQ(StoredText(app::kRunKey, "Dormix"), entry) << "the upgrade removed the autostart entry";
  Process dormix(exe);
  ASSERT_TRUE(WaitSettled(dormix));
  EXPECT_EQ(StoredText(operation, "EndTime"), "09:45") << "kept over the upgrade";
  const std::unique_ptr<app::RegistryKey> userRun = app::CurrentUser().Open(app::kRunKey, true);
  ASSERT_TRUE(userRun && userRun->WriteString(app::kRunValue, entry));
  ASSERT_EQ(Msiexec("/x", "", "DORMIX_NEXT_MSI"), 0u);
  EXPECT_TRUE(dormix.WaitExit(0)) << "the uninstall did not end Dormix";
  EXPECT_EQ(DormixEntries(), 0);
  EXPECT_FALSE(Exists(exe));
  EXPECT_EQ(StoredText(app::kRunKey, "Dormix"), "<missing>");
  EXPECT_EQ(StoredText(app::kRunKey, "Dormix", app::CurrentUser()), "<missing>");
  EXPECT_EQ(StoredText(operation, "Code"), "2") << "the settings were kept";
}

}  // namespace
