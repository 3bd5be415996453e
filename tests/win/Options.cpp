// The options window under Wine, opened by "Main" as the program opens it:
// Ok with the password rule and the shortcut texts, Cancel restoring what is
// stored, and the tray icon brought back when the notification area returns.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "hotkeys/HotKeyManager.h"
#include "support/Forms.h"
#include "support/Pump.h"

namespace {

using testing_support::Every;

// The settings key's value as text; "(missing)" when there is none.
std::string Stored(const char* section, const char* name) {
  char data[512] = {};
  DWORD size = sizeof data;
  const std::string key = std::string("Software\\Velto Software\\Dormix\\") + section;
  if (RegGetValueA(HKEY_LOCAL_MACHINE, key.c_str(), name, RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS)
    return "(missing)";
  return data;
}

class OptionsTest : public testing_support::FormsTest {
 protected:
  // Opens the options window with "Main", runs `edit` in it, then clicks
  // the button as the user would; returns when the window has closed.
  static void WithOptions(std::function<void()> edit, ui::TButton* button) {
    static std::function<void()> pending;
    static ui::TButton* clicked;
    pending = std::move(edit);
    clicked = button;
    const Every inside(50, [] {
      if (!Form1->Visible()) return true;
      pending();
      PostMessageA(clicked->Handle(), BM_CLICK, 0, 0);
      return false;
    });
    Form1->Main1Click(*Form1->Main1);
    EXPECT_FALSE(Form1->Visible());
    EXPECT_FALSE(Form1->OptionsOpen);
  }
};

TEST_F(OptionsTest, OkChangesThePasswordOnlyWhenTheOldOneIsRightAndTheNewOneRepeated) {
  const struct {
    const char* stored;
    const char* old;
    const char* typed;
    const char* repeated;
    const char* after;
  } cases[] = {
      {"abc", "xyz", "new", "new", "abc"},  // wrong old password
      {"abc", "abc", "new1", "new2", "abc"},  // the new one mistyped
      {"", "", "pw", "pw", "pw"},             // none set: the old field empty
      {"", "x", "pw", "pw", ""},              // none set, something typed as old
      {"abc", "abc", "", "", ""},             // removed
      {"abc", "abc", "Abc", "Abc", "Abc"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.stored) + " -> " + c.after);
    CurrentPassword = c.stored;
    WithOptions(
        [&c] {
          Form1->MaskEdit2->SetText(c.old);
          Form1->MaskEdit3->SetText(c.typed);
          Form1->MaskEdit4->SetText(c.repeated);
        },
        Form1->BitBtn1);
    EXPECT_EQ(CurrentPassword, c.after);
    // Stored scrambled: hexadecimal text, empty for no password.
    EXPECT_EQ(Stored("Operation", "Password").empty(), std::string(c.after).empty());
  }
}

TEST_F(OptionsTest, OkWritesTheShortcutsAsTheirTextsAndCancelRestoresTheStoredOnes) {
  WithOptions(
      [] {
        Form1->RadioButton2->SetChecked(true);
        Form1->CheckBox1->SetChecked(true);
        Form1->HotKey1->SetHotKey(0xC051);  // Ctrl+Alt+Q
      },
      Form1->BitBtn1);
  EXPECT_EQ(Stored("Shortcuts", "ShutDown"), hotkeys::HotKeyToText(0xC051, true));
  EXPECT_EQ(Stored("Shortcuts", "LogOff"), hotkeys::HotKeyToText(hotkeys::TextToHotKey("Ctrl+Alt+L", true), true))
      << "an unchanged shortcut is written back as it renders";
  EXPECT_EQ(Stored("Operation", "Code"), "2");
  EXPECT_EQ(Form1->State.ShortcutTexts[0], Stored("Shortcuts", "ShutDown"));

  WithOptions(
      [] {
        Form1->RadioButton5->SetChecked(true);
        Form1->CheckBox1->SetChecked(false);
        EXPECT_EQ(Form1->State.OperationCode, 5) << "effective at once";
        EXPECT_FALSE(ForceFlag);
      },
      Form1->BitBtn2);
  EXPECT_EQ(Form1->State.OperationCode, 2);
  EXPECT_TRUE(Form1->RadioButton2->Checked());
  EXPECT_TRUE(ForceFlag);
  EXPECT_TRUE(Form1->CheckBox1->Checked());
}

// Explorer restarted: the icons it held are gone until their programs add
// them again, on the registered "TaskbarCreated" broadcast.
TEST_F(OptionsTest, TheTrayIconComesBackWhenTheNotificationAreaIsMadeAnew) {
  NOTIFYICONDATAA data{};
  data.cbSize = NOTIFYICONDATAA_V1_SIZE;
  data.hWnd = FindWindowExA(HWND_MESSAGE, nullptr, "TTarvelTrayIconWindow", nullptr);
  data.uID = static_cast<UINT>(reinterpret_cast<UINT_PTR>(
      static_cast<tray::TCustomTarvelTrayIcon*>(Form1->TarvelTrayIcon1)));
  ASSERT_TRUE(Shell_NotifyIconA(NIM_DELETE, &data));
  ASSERT_FALSE(Shell_NotifyIconA(NIM_MODIFY, &data)) << "gone";
  DWORD_PTR answer = 0;
  SendMessageTimeoutA(HWND_BROADCAST, RegisterWindowMessageA("TaskbarCreated"), 0, 0, SMTO_NORMAL, 5000, &answer);
  EXPECT_TRUE(Shell_NotifyIconA(NIM_MODIFY, &data)) << "added again";
  EXPECT_EQ(Form1->TarvelTrayIcon1->IconIndex(), 1) << "with the clock's image";
}

}  // namespace
