// Damaged and locked settings as a real start meets them: one stored value
// of each kind of damage (a value of the wrong type, junk text, a 64 KB
// text), and a settings key this user may read but not write. Dormix starts
// and runs each time, and keeps every other setting as it was; a damaged
// password is reported, and the options window then keeps what is stored.
// Every value with every damage is the unit tier's table (Settings_test).
#include <gtest/gtest.h>

#include <windows.h>
#include <aclapi.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "protection/PasswordScrambler.h"
#include "support/DamagedSettings.h"
#include "support/Dormix.h"
#include "support/DormixTest.h"
#include "support/Pump.h"

namespace {

using namespace testing_support;

std::string SectionKey(const Setting& s) { return app::kSettingsKey + "\\" + s.section; }

void StoreEvery() {
  for (const Setting& s : kSettings)
    Store(s.section, s.value,
          IsPassword(s) ? protection::ScramblePassword("E", s.stored, protection::ScrambleKey) : s.stored);
}

// The stored setting as Dormix means it: the password unscrambled.
std::string Meant(const Setting& s) { return IsPassword(s) ? StoredPassword() : StoredText(SectionKey(s), s.value); }

void StoreRaw(const Setting& s, DWORD type, const std::string& data) {
  ASSERT_EQ(RegSetKeyValueA(HKEY_LOCAL_MACHINE, SectionKey(s).c_str(), s.value, type, data.data(),
                            static_cast<DWORD>(data.size())),
            ERROR_SUCCESS);
}

// The text of the message box Dormix shows at start, or "" once it has
// settled without one.
std::string BoxAtStart(Process& dormix, const std::string& shot) {
  PumpUntil([&] {
    return WaitForWindow(dormix.Id(), "#32770", 0) || WaitForWindow(dormix.Id(), "TForm2", 0) || !dormix.Running();
  }, 20000);
  return AnswerMessageBox(dormix, shot, 0);
}

class BadSettings : public DormixTest {};

TEST_F(BadSettings, EachKindOfDamageLeavesDormixRunningAndTheOthersAsTheyWere) {
  // For each kind, a value whose reader only a real start has: the window's
  // place, the hotkeys, the armed clock's tray tip. Junk text is the
  // password's, in the next case.
  const char* damagedBy[] = {"X", "ShutDown", "EndTime"};
  const char** next = damagedBy;
  for (const Damage& damage : Damages()) {
    if (damage.passwordError) continue;
    const Setting& damaged = SettingNamed(*next++);
    SCOPED_TRACE(std::string(damaged.value) + " as " + damage.name);
    ForgetSettings();
    StoreEvery();
    StoreRaw(damaged, damage.type, damage.data);
    Process& dormix = Start();
    EXPECT_EQ(BoxAtStart(dormix, std::string("bad-") + damaged.value), "");
    ASSERT_TRUE(WaitSettled(dormix));
    EXPECT_TRUE(PumpUntil(TrayIconShown));
    for (const Setting& s : kSettings) {
      if (&s == &damaged) continue;
      EXPECT_EQ(Meant(s), s.stored) << s.value;
    }
    // Read as its default (a REG_DWORD as its number), a value of the wrong type is stored as text.
    if (damage.type != REG_SZ)
      EXPECT_EQ(Meant(damaged), damage.readAs ? damage.readAs : damaged.defaultText);
    else
      EXPECT_NE(StoredText(SectionKey(damaged), damaged.value).rfind("<", 0), 0u) << "a text again";
    EXPECT_TRUE(dormix.Running());
    Exit();
    if (HasFailure()) return;
  }
  EXPECT_EQ(next, std::end(damagedBy));
}

// The error is shown and nothing written back; then the options window shows
// what was stored, Ok writes exactly that, and Dormix goes on in the tray.
TEST_F(BadSettings, ADamagedStoredPasswordIsReportedAndOkThenKeepsEveryStoredValue) {
  Process& first = Start();
  ASSERT_TRUE(WaitSettled(first));
  WithOptions(first, [](HWND options) { Click(options, "Force Action"); });
  Exit();
  const std::vector<Damage> damages = Damages();
  const Damage& junk = *std::find_if(damages.begin(), damages.end(), [](const Damage& d) { return d.passwordError; });
  StoreRaw(SettingNamed("Password"), junk.type, junk.data);
  Store("Shortcuts", "ShutDown", "Control+Shift+F12");  // as the shortcut field renders it
  const std::vector<std::string> stored = StoredValues();

  Process& dormix = Start();
  EXPECT_EQ(AnswerMessageBox(dormix, "damaged-password", 20000), junk.passwordError);
  const HWND form = Shown(dormix, "TForm1");
  ASSERT_TRUE(form);
  ShotOf(form, "damaged-password-options");
  EXPECT_EQ(StoredValues(), stored) << "written back at start";
  Click(form, "Ok");
  EXPECT_TRUE(Hidden(form));
  EXPECT_EQ(StoredValues(), stored);
  // Dormix goes on: its menu still opens the About window.
  EXPECT_TRUE(ChooseFromTrayMenu(kAbout));
  const HWND about = Shown(dormix, "TForm3");
  ASSERT_TRUE(about) << "Ok ended Dormix";
  Click(about, "Ok");
}

// Write access to the key and its sections denied to everyone; the test's
// owner rights put it back.
class WriteDenied {
 public:
  WriteDenied() { SetDacl(true); }
  ~WriteDenied() { SetDacl(false); }
  WriteDenied(const WriteDenied&) = delete;
  WriteDenied& operator=(const WriteDenied&) = delete;

 private:
  static void SetDacl(bool deny) {
    SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
    PSID everyone = nullptr;
    AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone);
    alignas(DWORD) BYTE buffer[256];
    ACL* acl = reinterpret_cast<ACL*>(buffer);
    InitializeAcl(acl, sizeof buffer, ACL_REVISION);
    if (deny) AddAccessDeniedAce(acl, ACL_REVISION, KEY_SET_VALUE | KEY_CREATE_SUB_KEY, everyone);
    AddAccessAllowedAce(acl, ACL_REVISION, KEY_ALL_ACCESS, everyone);
    SECURITY_DESCRIPTOR sd;
    InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION);
    SetSecurityDescriptorDacl(&sd, TRUE, acl, FALSE);
    for (const char* section : {"", "\\Window", "\\Application", "\\Operation", "\\Shortcuts"}) {
      HKEY key = nullptr;
      if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, (app::kSettingsKey + section).c_str(), 0, WRITE_DAC, &key) != ERROR_SUCCESS)
        continue;
      RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &sd);
      RegCloseKey(key);
    }
    FreeSid(everyone);
  }
};

TEST_F(BadSettings, AKeyThatCannotBeWrittenLeavesDormixRunningOnTheSettingsItHolds) {
  StoreEvery();
  const Setting& enabled = SettingNamed("Enabled");
  Store(enabled.section, enabled.value, "0");
  const WriteDenied denied;
  // The lock holds for Dormix's own way of writing.
  app::LocalMachine().Open(SectionKey(enabled), true)->WriteString(enabled.value, "1");
  ASSERT_EQ(StoredText(SectionKey(enabled), enabled.value), "0") << "the key can still be written";
  std::vector<std::string> before;
  for (const Setting& s : kSettings) before.push_back(StoredText(SectionKey(s), s.value));

  Process& dormix = Start();
  EXPECT_EQ(BoxAtStart(dormix, "locked-key"), "");
  ASSERT_TRUE(WaitSettled(dormix));
  EXPECT_TRUE(PumpUntil(TrayIconShown));
  EXPECT_TRUE(TrayTipReads("Dormix is Disabled..."));

  // Armed from the menu: the tip shows it, the key keeps what it held.
  EXPECT_TRUE(ChooseFromTrayMenu(kClockSwitch));
  EXPECT_TRUE(TrayTipReads("Dormix is Active at 25:61"));
  // The options window's OK saves everything, and its closing the position;
  // it takes only a time the clock can reach and a sound file that exists.
  CreateDirectoryA("C:\\sounds", nullptr);
  if (std::FILE* f = std::fopen("C:\\sounds\\bell.wav", "wb")) std::fclose(f);
  WithOptions(dormix, [](HWND options) { TypeClockTime(options, "23:59"); });
  EXPECT_TRUE(TrayTipReads("Dormix is Active at 23:59"));
  // Hiding the options window hides the application window right after it.
  EXPECT_TRUE(PumpUntil([&] { return WindowsOf(dormix.Id(), true).empty(); }))
      << "a message box or a window left open";
  for (std::size_t i = 0; i < std::size(kSettings); ++i)
    EXPECT_EQ(StoredText(SectionKey(kSettings[i]), kSettings[i].value), before[i]) << kSettings[i].value;
  EXPECT_FALSE(StoredDword(app::kSettingsKey, "X"));
  EXPECT_EQ(StoredText(app::kSettingsKey, "EndTime"), "<missing>");
  EXPECT_TRUE(dormix.Running());
}

}  // namespace
