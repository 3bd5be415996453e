// The options window under Wine, opened by "Main" as the program opens it:
// Ok with the password rule and the shortcut texts, Cancel restoring what is
// stored, the hotkeys that act only while it is closed, the tray icon
// brought back when the notification area returns, and the week's window and
// the clock firing on a day's own time.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "app/DaysWindow.h"
#include "policy/Policy.h"
#include "power/QuorinFunction.h"
#include "support/Dormix.h"
#include "support/Forms.h"
#include "support/PowerFakes.h"
#include "support/Pump.h"
#include "ui/Error.h"

namespace {

using testing_support::Every;

std::string Stored(const char* section, const char* name) {
  return testing_support::StoredText(app::kSettingsKey + "\\" + section, name);
}

// The message box this thread shows, if any.
HWND MessageBoxShown() {
  for (HWND w = FindWindowA("#32770", nullptr); w; w = FindWindowExA(nullptr, w, "#32770", nullptr))
    if (GetWindowThreadProcessId(w, nullptr) == GetCurrentThreadId() && IsWindowVisible(w)) return w;
  return nullptr;
}

// For an Every: answers the message box once it shows, its text kept in `box`.
bool AnswerBox(std::string& box) {
  const HWND shown = MessageBoxShown();
  if (!shown) return true;
  box = testing_support::WindowText(GetDlgItem(shown, 0xFFFF));
  PostMessageA(shown, WM_COMMAND, IDOK, 0);
  return false;
}

// What a click on Ok or Cancel left: the text of the message box it showed,
// if any, and the page and focus the window showed after it.
struct Answer {
  std::string box;
  ui::TTabSheet* page = nullptr;
  HWND focus = nullptr;
};

class OptionsTest : public testing_support::FormsTest {
 protected:
  // Opens the options window with "Main", runs `edit` in it, then clicks
  // the button as the user would and answers a message box; Cancel closes
  // a window that Ok left open. Returns when the window has closed.
  static Answer WithOptions(const std::function<void()>& edit, ui::TButton* button) {
    Answer answer;
    const Every inside(50, [&] {
      if (!Form1->Visible()) return true;
      EXPECT_FALSE(Form1->Countdown1->enabled) << "greyed while the options window is open";
      edit();
      const Every box(50, [&] { return AnswerBox(answer.box); });
      SendMessageA(button->Handle(), BM_CLICK, 0, 0);
      answer.page = Form1->PageControl1->ActivePage();
      answer.focus = GetFocus();
      if (Form1->ModalResult() == ui::mrNone) SendMessageA(Form1->BitBtn2->Handle(), BM_CLICK, 0, 0);
      return false;
    });
    Form1->Main1Click(*Form1->Main1);
    EXPECT_FALSE(Form1->Visible());
    EXPECT_FALSE(Form1->OptionsOpen);
    EXPECT_TRUE(Form1->Countdown1->enabled);
    return answer;
  }
};

TEST_F(OptionsTest, OkChangesThePasswordOnlyWhenTheOldOneIsRightAndTheNewOneRepeated) {
  const struct {
    const char *stored, *old, *typed, *repeated, *after, *message = "";
    ui::TMaskEdit* focus = nullptr;  // refused: the field shown with the focus
  } cases[] = {
      {"abc", "xyz", "new", "new", "abc", "The old password is not right.", Form1->MaskEdit2},
      {"abc", "abc", "new1", "new2", "abc", "The new password and its repetition differ.", Form1->MaskEdit4},
      {"", "", "pw", "pw", "pw"},             // none set: the old field empty
      {"", "x", "pw", "pw", "", "The old password is not right.", Form1->MaskEdit2},
      {"abc", "", "", "", "abc"},             // nothing typed: no change
      {"abc", "abc", "", "", ""},             // removed
      {"abc", "abc", "Abc", "Abc", "Abc"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.stored) + " -> " + c.after);
    CurrentPassword = c.stored;
    Form1->SaveSettings();
    const Answer answer = WithOptions(
        [&c] {
          Form1->MaskEdit2->SetText(c.old);
          Form1->MaskEdit3->SetText(c.typed);
          Form1->MaskEdit4->SetText(c.repeated);
        },
        Form1->BitBtn1);
    EXPECT_EQ(CurrentPassword, c.after);
    EXPECT_EQ(testing_support::StoredPassword(), c.after);
    EXPECT_EQ(answer.box, c.message);
    if (c.focus) {
      EXPECT_EQ(answer.page, Form1->TabSheet2);
      EXPECT_EQ(answer.focus, c.focus->Handle());
    }
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
  // Written as Wine names the keys.
  EXPECT_EQ(Stored("Shortcuts", "ShutDown"), "Control+Alt+Q");
  EXPECT_EQ(Stored("Shortcuts", "LogOff"), "Control+Alt+L") << "an unchanged shortcut is written back as it renders";
  EXPECT_EQ(Stored("Operation", "Code"), "2");
  EXPECT_EQ(Form1->State.ShortcutTexts[0], Stored("Shortcuts", "ShutDown"));
  // In effect at once: registered, and shown in the menu.
  EXPECT_EQ(Form1->ShutDown1->shortCut, 0xC051u);
  EXPECT_FALSE(RegisterHotKey(nullptr, 99, MOD_CONTROL | MOD_ALT, 'Q'));
  EXPECT_TRUE(RegisterHotKey(nullptr, 99, MOD_CONTROL | MOD_ALT, 'S')) << "the old one is free";
  UnregisterHotKey(nullptr, 99);

  WithOptions(
      [] {
        Form1->RadioButton5->SetChecked(true);
        Form1->CheckBox1->SetChecked(false);
        EXPECT_EQ(Form1->State.OperationCode, 5) << "effective at once";
        EXPECT_FALSE(ForceFlag);
        EXPECT_EQ(Form1->HotKeyManager1->Count(), 0u) << "released while the window is open";
      },
      Form1->BitBtn2);
  EXPECT_EQ(Form1->State.OperationCode, 2);
  EXPECT_TRUE(Form1->RadioButton2->Checked());
  EXPECT_TRUE(ForceFlag);
  EXPECT_TRUE(Form1->CheckBox1->Checked());
  EXPECT_EQ(Form1->HotKeyManager1->Count(), 8u);
}

// Typed with real keys into the emptied field: digits, capital letters, '-'.
void Type(ui::TTabSheet& page, ui::TEdit& field, const std::string& keys) {
  Form1->PageControl1->SetActivePage(page);
  field.SetText("");
  field.SetFocus();
  SendMessageA(field.Handle(), EM_SETSEL, 0, -1);
  ASSERT_TRUE(testing_support::TakesKeys(field));
  for (char k : keys) ASSERT_TRUE(testing_support::Press(k == '-' ? VK_OEM_MINUS : static_cast<WORD>(k)));
}

TEST_F(OptionsTest, OkStoresOnlyATimeOfDayACountdownOfUpTo9999SecondsAndASoundFileThatExists) {
  const std::string sound = testing_support::SuiteFile("tone.wav", "RIFF");
  const std::string time = "Op. Time: enter a time of day from 00:00 to 23:59, all four digits.";
  const std::string count = "Show message: enter a whole number of seconds from 0 to 9999.";
  const struct Row {
    const char* typed;
    ui::TEdit* field;   // typed into; none for the sound rows
    std::string sound;  // with Play Sound ticked, this file
    const char* value;  // in the Operation section
    std::string stored, message;
  } rows[] = {
      {"2359", Form1->MaskEdit1, "", "EndTime", "23:59", ""},
      {"2561", Form1->MaskEdit1, "", "EndTime", "", time},
      {"7", Form1->MaskEdit1, "", "EndTime", "", time},
      {"-5", Form1->Edit1, "", "MessageTime", "5", ""},
      {"ABC", Form1->Edit1, "", "MessageTime", "", count},
      {"10000", Form1->Edit1, "", "MessageTime", "", count},
      {"0", Form1->Edit1, "", "MessageTime", "0", ""},
      {"", nullptr, "Z:\\no\\such.wav", "SoundFileName", "",
       "Play Sound: the sound file \"Z:\\no\\such.wav\" does not exist. Choose a file that exists, or untick Play Sound."},
      {"", nullptr, "", "SoundFileName", "", "Play Sound: choose a sound file, or untick Play Sound."},
      {"", nullptr, sound, "SoundFileName", sound, ""},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(std::string(r.value) + " typed " + r.typed + r.sound);
    const Answer answer = WithOptions(
        [&r] {
          Form1->MaskEdit1->SetText("00:00");
          Form1->Edit1->SetText("15");
          Form1->CheckBox5->SetChecked(r.value == std::string("SoundFileName"));
          Form1->Edit2->SetText(r.sound);
          if (r.field) Type(r.field == Form1->MaskEdit1 ? *Form1->TabSheet4 : *Form1->TabSheet5, *r.field, r.typed);
        },
        Form1->BitBtn1);
    EXPECT_EQ(answer.box, r.message);
    if (r.message.empty()) {
      EXPECT_EQ(Stored("Operation", r.value), r.stored);
    } else {
      EXPECT_EQ(answer.page, r.field == Form1->MaskEdit1 ? Form1->TabSheet4 : Form1->TabSheet5);
      EXPECT_EQ(answer.focus, (r.field ? r.field : Form1->Edit2)->Handle());
    }
  }
  EXPECT_EQ(Stored("Operation", "PlaySound"), "1") << "the last row stored its file";
}

// Ctrl+PageDown typed into a shortcut field is recorded there; Ok refuses it
// for a second action as it refuses its other fields, and lets "None" repeat.
TEST_F(OptionsTest, AShortcutFieldRecordsCtrlPageDownAndOkRefusesItForASecondAction) {
  const std::string stored = Stored("Shortcuts", "Restart");
  const Answer answer = WithOptions(
      [] {
        Form1->PageControl1->SetActivePage(*Form1->TabSheet3);
        Form1->HotKey1->SetHotKey(0);
        Form1->HotKey2->SetHotKey(0);
        Form1->HotKey3->SetFocus();
        EXPECT_TRUE(testing_support::TakesKeys(*Form1->HotKey3) && testing_support::Press(VK_NEXT, {VK_CONTROL}));
        Form1->HotKey5->SetHotKey(Form1->HotKey3->HotKey());
      },
      Form1->BitBtn1);
  EXPECT_EQ(answer.box, "Shortcuts: Hibernate and Restart have the same shortcut. Give each action its own, or none.");
  EXPECT_EQ(answer.page, Form1->TabSheet3);
  EXPECT_EQ(answer.focus, Form1->HotKey5->Handle());
  EXPECT_EQ(Stored("Shortcuts", "Restart"), stored);
}

// The clock's menu command while the window holds edits Ok has not checked
// stores the clock's state alone; Cancel then takes the edits back.
TEST_F(OptionsTest, TheClockCommandWhileTheWindowIsOpenStoresOnlyEnabled) {
  Form1->SaveSettings();
  const std::string enabled = Stored("Operation", "Enabled"), time = Stored("Operation", "EndTime"),
                    message = Stored("Operation", "MessageTime");
  WithOptions(
      [] {
        Form1->MaskEdit1->SetText("99:99");
        Form1->Edit1->SetText("abc");
        Form1->StopSystem1->checked = !Form1->StopSystem1->checked;  // as choosing it does
        Form1->StopSystem1Click(*Form1->StopSystem1);
      },
      Form1->BitBtn2);
  EXPECT_EQ(Stored("Operation", "Enabled"), enabled == "1" ? "0" : "1");
  EXPECT_EQ(Stored("Operation", "EndTime"), time);
  EXPECT_EQ(Stored("Operation", "MessageTime"), message);
  EXPECT_EQ(Form1->MaskEdit1->Text(), time);
  Form1->StopSystem1->checked = !Form1->StopSystem1->checked;
  Form1->StopSystem1Click(*Form1->StopSystem1);
}

// However the modal run ends, a failure in it included, the window counts
// as closed and the hotkeys are registered again.
TEST_F(OptionsTest, AFailureInsideTheModalRunLeavesTheHotkeysRegistered) {
  Form1->OnShow = [](ui::TComponent&) { throw ui::Error("Error creating window"); };
  EXPECT_THROW(Form1->Main1Click(*Form1->Main1), ui::Error);
  Form1->OnShow = nullptr;
  EXPECT_FALSE(Form1->OptionsOpen);
  EXPECT_FALSE(Form1->Timer2->Enabled());
  EXPECT_EQ(Form1->HotKeyManager1->Count(), 8u);
}

// The keys of every tabbed dialog, whichever control holds the focus.
TEST_F(OptionsTest, CtrlTabAndCtrlPageKeysSwitchPagesAndTabWalksOnlyThePageShown) {
  std::vector<std::string> pages, strays;
  std::vector<std::size_t> reached;
  WithOptions(
      [&] {
        using testing_support::Press;
        Form1->PageControl1->SetActivePage(*Form1->TabSheet4);
        Form1->MaskEdit1->SetFocus();
        for (const int key : {VK_TAB, VK_TAB, 0, VK_NEXT, VK_PRIOR, VK_PRIOR, VK_PRIOR}) {
          EXPECT_TRUE(key ? Press(static_cast<WORD>(key), {VK_CONTROL}) : Press(VK_TAB, {VK_CONTROL, VK_SHIFT}));
          pages.push_back(Form1->PageControl1->ActivePage()->Caption());
        }
        for (ui::TTabSheet* sheet : Form1->PageControl1->Pages()) {
          Form1->PageControl1->SetActivePage(*sheet);
          Form1->BitBtn1->SetFocus();
          std::set<HWND> onPage;
          for (int i = 0; i < 14; ++i) {
            EXPECT_TRUE(Press(VK_TAB));
            const HWND focus = GetFocus();
            if (IsChild(sheet->Handle(), focus)) onPage.insert(focus);
            else if (focus != Form1->PageControl1->Handle() &&
                focus != Form1->BitBtn1->Handle() && focus != Form1->BitBtn2->Handle())
              strays.push_back(sheet->Caption() + ": " + testing_support::ClassOf(focus));
          }
          reached.push_back(onPage.size());
        }
      },
      Form1->BitBtn2);
  EXPECT_EQ(pages, (std::vector<std::string>{"General", "Protection", "General", "Protection", "General",
                                             "Operation Clock", "Messages"}));
  EXPECT_EQ(strays, std::vector<std::string>{});
  EXPECT_EQ(reached, (std::vector<std::size_t>{2, 4, 3, 8, 5})) << "the tab stops of each page";
}

// What the user reads: the whole set time fits its field (the first digit
// scrolled out of it before), and the page with it, a screenshot to look at.
TEST_F(OptionsTest, TheTimeFieldShowsAllOf2359) {
  RECT inside{};
  SIZE text{};
  WithOptions(
      [&] {
        Form1->PageControl1->SetActivePage(*Form1->TabSheet4);
        Form1->MaskEdit1->SetText("23:59");
        const HWND edit = Form1->MaskEdit1->Handle();
        SendMessageA(edit, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&inside));
        const ui::WindowDC dc(edit);
        const ui::SelectedObject font(dc.get(), reinterpret_cast<HFONT>(SendMessageA(edit, WM_GETFONT, 0, 0)));
        GetTextExtentPoint32A(dc.get(), "23:59", 5, &text);
        RedrawWindow(Form1->Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        testing_support::Screenshot("options-clock-23-59");
      },
      Form1->BitBtn2);
  EXPECT_LT(text.cx, inside.right - inside.left) << "and the caret after it";
}

// The main window's hotkey handler: one WM_HOTKEY of a default shortcut runs
// its action once (without the notice, not forced), and none while the
// options window is open.
TEST_F(OptionsTest, AHotKeyRunsItsActionOnceAndNoneWhileTheOptionsWindowIsOpen) {
  power_fakes::InstalledPlatform fake(&power::SystemPowerPlatform());
  const std::pair<char, const char*> rows[] = {  // in action order
      {'S', "ExitWindowsEx 9;"},           {'L', "ExitWindowsEx 0;"},
      {'H', "SetSystemPowerState -1 0;"},  {'B', "SetSystemPowerState -1 0;"},
      {'R', "ExitWindowsEx 2;"},           {'M', "PostMessageA 0x112 0xF170 1;"},
      {'V', "SendMessageA 0x112 0xF140 0;"}, {'P', "the panel;"},
  };
  // In effect: Ctrl+Alt with the rows' keys; no notice, no sound, no force.
  WithOptions([&] {
    for (std::size_t i = 0; i < std::size(rows); ++i) Form1->HotKeys[i]->SetHotKey(0xC000 | rows[i].first);
    for (ui::TCheckBox* box : {Form1->CheckBox1, Form1->CheckBox4, Form1->CheckBox5}) box->SetChecked(false);
  }, Form1->BitBtn1);
  // The requests that one WM_HOTKEY of Ctrl+Alt+`key` makes (not the
  // privilege's calls around them), the panel shown among them.
  const auto press = [&](char key) {
    fake.journal.clear();
    SendMessageA(Form1->HotKeyManager1->Handle(), WM_HOTKEY, 1, MAKELPARAM(MOD_CONTROL | MOD_ALT, key));
    std::string requests;
    for (const std::string& call : fake.journal)
      if (call.find_first_of("ESP") == 0) requests += call + ";";
    if (Form4->Visible()) requests += "the panel;";
    testing_support::ClosePanel();
    return requests;
  };
  for (const auto& [key, request] : rows) EXPECT_EQ(press(key), request) << key;
  WithOptions([&] {
    for (const auto& [key, request] : rows) EXPECT_EQ(press(key), "") << key << " while the window is open";
  }, Form1->BitBtn2);
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

// Each policy, set as the policy editor sets it and announced as Windows
// announces it, overrides its setting for the run, in the form the setting
// is stored in (7:30 shows in the clock edit as 07:30): its control (or the
// clock command) greyed, the note shown, Ok accepted, and no save, clock
// command, Ok or close writes it. Removed, all is as stored again.
TEST_F(OptionsTest, APolicyOverridesItsSettingGreysItsControlAndIsNeverWritten) {
  const auto announce = [] { SendMessageA(Form1->Handle(), WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>("Policy")); };
  const struct {
    const char *section, *name, *stored, *data;  // the policy's data, a REG_DWORD's as its number
    std::function<std::string()> shown;
    ui::TControl* control;  // none: the clock command
    const char* shownAs = nullptr;  // as the setting stores it, if not as given
  } cases[] = {
      {"Operation", "Enabled", "0", "1", [] { return std::to_string(Form1->State.ClockEnabled); }, nullptr},
      {"Operation", "EndTime", "21:00", "7:30", [] { return Form1->MaskEdit1->Text(); }, Form1->MaskEdit1, "07:30"},
      {"Operation", "Code", "3", "2", [] { return std::to_string(Form1->State.OperationCode); }, Form1->RadioButton2},
      {"Operation", "ShowMessage", "1", "0", [] { return std::to_string(Form1->CheckBox4->Checked()); }, Form1->CheckBox4},
      {"Operation", "MessageTime", "15", "30", [] { return Form1->Edit1->Text(); }, Form1->Edit1},
      {"Operation", "ForceAction", "1", "0", [] { return std::to_string(ForceFlag); }, Form1->CheckBox1},
      {"Application", "AutoStart", "1", "0", [] { return std::to_string(Form1->CheckBox3->Checked()); }, Form1->CheckBox3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto enabled = [&] { return c.control ? c.control->Enabled() : Form1->StopSystem1->enabled; };
    testing_support::Store(c.section, c.name, c.stored);
    announce();
    ASSERT_EQ(c.shown(), c.stored);
    const std::string closed = testing_support::StoredText(app::kSettingsKey, "EndTime");
    HKEY key = nullptr;
    ASSERT_FALSE(RegCreateKeyExA(HKEY_LOCAL_MACHINE, policy::kPolicyKey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                 nullptr, &key, nullptr));
    const ui::unique_hkey policies(key);
    const DWORD number = std::atoi(c.data);
    if (std::string(c.name) == "EndTime")
      RegSetValueExA(key, c.name, 0, REG_SZ, reinterpret_cast<const BYTE*>(c.data), std::strlen(c.data) + 1);
    else
      RegSetValueExA(key, c.name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
    announce();
    EXPECT_EQ(c.shown(), c.shownAs ? c.shownAs : c.data);
    EXPECT_FALSE(enabled());
    EXPECT_TRUE(Form1->Label19->Visible());
    EXPECT_EQ(WithOptions([&] { testing_support::Screenshot(std::string("policy-") + c.name); }, Form1->BitBtn1).box,
              "");
    for (int i = 0; i < 2; ++i) {
      Form1->StopSystem1->checked = !Form1->StopSystem1->checked;  // as choosing it does
      Form1->StopSystem1Click(*Form1->StopSystem1);
    }
    EXPECT_EQ(Stored(c.section, c.name), c.stored);
    EXPECT_EQ(testing_support::StoredText(app::kSettingsKey, "EndTime"),
              c.control == Form1->MaskEdit1 ? closed : Form1->MaskEdit1->Text());
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, policy::kPolicyKey.c_str());
    announce();
    EXPECT_EQ(c.shown(), c.stored);
    EXPECT_TRUE(enabled());
    EXPECT_FALSE(Form1->Label19->Visible());
  }
}

// Over the options window: a row for each day, its box, then its time; a
// ticked day's time that cannot fire refused as Op. Time is, with the focus
// on it; Ok there puts the week in effect at once, the options window's Ok
// stores it and its Cancel drops it.
TEST_F(OptionsTest, TheDaysWindowRefusesABadTimeAsOpTimeIsAndTheOptionsOkStoresTheWeek) {
  const std::string week = "22:00;22:00;22:00;22:00;22:00;23:30;23:30";
  for (ui::TButton* close : {Form1->BitBtn2, Form1->BitBtn1}) {
    std::string box;
    HWND focus = nullptr;
    WithOptions([&] {
      const Every days(50, [&] {
        if (!DaysWindow || !DaysWindow->Visible()) return true;
        for (int day = 0; day < schedule::kWeekDays; ++day) {
          const HWND check = DaysWindow->DayBoxes[day]->Handle();
          EXPECT_EQ(testing_support::WindowText(check), schedule::kDayNames[day]);
          // The time named to readers by the label of no size just before it.
          const HWND name = GetWindow(check, GW_HWNDNEXT);
          EXPECT_EQ(testing_support::WindowText(name), std::string(schedule::kDayNames[day]) + " time");
          EXPECT_EQ(GetWindow(name, GW_HWNDNEXT), DaysWindow->DayTimes[day]->Handle());
          EXPECT_TRUE(DaysWindow->DayBoxes[day]->Checked()) << "no week: every day at Op. Time";
          DaysWindow->DayTimes[day]->SetText(day == 4 ? "25:61" : day < 5 ? "22:00" : "23:30");
        }
        testing_support::ShotOf(DaysWindow->Handle(), "days-window");
        const Every answer(50, [&] { return AnswerBox(box); });
        SendMessageA(DaysWindow->OkButton->Handle(), BM_CLICK, 0, 0);
        focus = GetFocus();
        DaysWindow->DayTimes[4]->SetText("22:00");
        SendMessageA(DaysWindow->OkButton->Handle(), BM_CLICK, 0, 0);
        return false;
      });
      SendMessageA(Form1->DaysButton->Handle(), BM_CLICK, 0, 0);
      EXPECT_EQ(Form1->State.ClockDays + Stored("Operation", "Days"), week) << "in effect, not stored";
    }, close);
    EXPECT_EQ(box, "Friday: enter a time of day from 00:00 to 23:59, all four digits.");
    EXPECT_EQ(focus, DaysWindow->DayTimes[4]->Handle());
    const std::string kept = close == Form1->BitBtn1 ? week : "";
    EXPECT_EQ(Stored("Operation", "Days") + "|" + Form1->State.ClockDays, kept + "|" + kept);
  }
  Form1->State.ClockDays.clear();
  Form1->SaveSettings();
}

// Armed at this minute: a day off keeps the clock from firing at Op. Time,
// today's own time fires it, and the tip then names today a week on.
TEST_F(OptionsTest, TheClockFiresOnTodaysOwnTimeAndNotOnADayOff) {
  const std::string now = testing_support::MinuteWithRoom();
  const int today = schedule::WeekIndexOf(schedule::LocalTimeNow().day);
  Form1->State.OperationCode = 7;
  Form1->State.ClockEnabled = true;
  for (const std::string& field : {std::string("-"), now}) {
    Form1->State.ClockDays.clear();
    for (int day = 0; day < schedule::kWeekDays; ++day) Form1->State.ClockDays += (day ? ";" : "") + (day == today ? field : "-");
    Form1->MaskEdit1->SetText(field == now ? (now == "00:00" ? "00:01" : "00:00") : now);
    Form1->Timer1Timer(*Form1->Timer1);
    EXPECT_TRUE(testing_support::ProcessPosted());
    EXPECT_EQ(Form4->Visible(), field == now) << Form1->State.ClockDays;
  }
  EXPECT_EQ(Form1->TarvelTrayIcon1->Tip(), "Dormix is Active on " + std::string(schedule::kDayShortNames[today]) + " at " + now);
  testing_support::ClosePanel();
  Form1->State.ClockEnabled = false;
  Form1->State.ClockDays.clear();
  Form1->MaskEdit1->SetText("00:00");
}

}  // namespace
