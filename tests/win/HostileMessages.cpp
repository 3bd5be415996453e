// Every message that a user, another program or the system can deliver, sent
// to each of the program's four windows, hidden and shown as the program
// shows them, and to the application window: the process survives every row,
// and each window does what the row says (or nothing). Owner-draw messages
// with another program's itemData, sent to the menus' window.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <stdexcept>
#include <string>
#include <thread>
#include <utility>

#include "app/DaysWindow.h"
#include "command/Handoff_win32.h"
#include "countdown/CountdownWindow.h"
#include "power/Notice.h"
#include "support/Dormix.h"
#include "support/Forms.h"
#include "support/Pump.h"

namespace {

using testing_support::FormsTest;

// What a row did to a window.
constexpr char kNothing = '-', kClosed = 'c', kMenu = 'm';

// Menus opened by a row (the form's popup menu, the system menu) are closed
// again from a thread timer, which the menu's own loop still dispatches.
bool menuSeen = false;
void CALLBACK EndAnyMenu(HWND, UINT, UINT_PTR, DWORD) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  const HWND popup = FindWindowA("#32768", nullptr);
  if ((GetGUIThreadInfo(GetCurrentThreadId(), &info) && (info.flags & (GUI_INMENUMODE | GUI_POPUPMENUMODE))) ||
      (popup && IsWindowVisible(popup))) {
    menuSeen = true;
    EndMenu();
  }
}

struct Row {
  const char* name;
  UINT msg;
  WPARAM wParam;
  LPARAM lParam;
  // Posted as input (through the message loop's key handling) rather than sent.
  bool posted;
  // The effect on Form1, Form3, Form4, Form2 shown as the program shows them
  // (the options, About and notice windows modally, the lock panel locked).
  const char* shownEffect;
};

// "/lock" without its terminator.
const COPYDATASTRUCT unterminatedLock{command::kCommandMagic, 5, const_cast<char*>("/lock")};

const Row kRows[] = {
    {"WM_CONTEXTMENU at a point", WM_CONTEXTMENU, 0, MAKELPARAM(300, 300), false, "m---"},
    {"WM_CONTEXTMENU from the keyboard", WM_CONTEXTMENU, 0, -1, false, "m---"},
    {"WM_ACTIVATE inactive", WM_ACTIVATE, WA_INACTIVE, 0, false, "----"},
    {"WM_ACTIVATE minimised, no focus", WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, 1), 0, false, "----"},
    {"WM_SYSCOMMAND SC_MINIMIZE", WM_SYSCOMMAND, SC_MINIMIZE, 0, false, "----"},
    {"WM_SYSCOMMAND SC_MAXIMIZE", WM_SYSCOMMAND, SC_MAXIMIZE, 0, false, "----"},
    {"WM_SYSCOMMAND SC_RESTORE", WM_SYSCOMMAND, SC_RESTORE, 0, false, "----"},
    {"WM_SYSCOMMAND SC_KEYMENU", WM_SYSCOMMAND, SC_KEYMENU, 0, false, "mm-m"},
    {"WM_SYSCOMMAND SC_CLOSE", WM_SYSCOMMAND, SC_CLOSE, 0, false, "cc-c"},
    {"WM_CLOSE", WM_CLOSE, 0, 0, false, "cc-c"},
    {"WM_QUERYENDSESSION", WM_QUERYENDSESSION, 0, 0, false, "----"},
    {"WM_ENDSESSION refused", WM_ENDSESSION, FALSE, 0, false, "----"},
    {"Esc", WM_KEYDOWN, VK_ESCAPE, 0x00010001, true, "----"},
    {"Tab", WM_KEYDOWN, VK_TAB, 0x000F0001, true, "----"},
    // Enter clicks the focused button; the options window opens with its page tabs focused.
    {"Enter", WM_KEYDOWN, VK_RETURN, 0x001C0001, true, "-c-c"},
    {"F10", WM_SYSKEYDOWN, VK_F10, 0x00440001, true, "mm-m"},
    {"WM_SETTINGCHANGE", WM_SETTINGCHANGE, 0, 0, false, "----"},
    {"WM_DISPLAYCHANGE", WM_DISPLAYCHANGE, 32, MAKELPARAM(1024, 768), false, "----"},
    {"WM_DPICHANGED, no rectangle at lParam", WM_DPICHANGED, MAKEWPARAM(96, 96), 0x10, false, "----"},
    {"WM_TIMECHANGE", WM_TIMECHANGE, 0, 0, false, "----"},
    {"WM_POWERBROADCAST suspend", WM_POWERBROADCAST, PBT_APMSUSPEND, 0, false, "----"},
    {"WM_POWERBROADCAST resume", WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0, false, "----"},
    // Windows passes this one's pointer between programs as it is.
    {"WM_NOTIFY from another program", WM_NOTIFY, 0x7FFF, 0x10, false, "----"},
    {"WM_COPYDATA, a command with no terminator", WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&unterminatedLock),
     false, "----"},
    // The main window's own message runs only a checked command, and none is held.
    {"WM_APP naming the lock, forced", command::kRunActionMessage, 7, 1, false, "----"},
    // A menu's item is chosen only in a menu Dormix tracks, or by Dormix.
    {"WM_COMMAND naming Exit", WM_COMMAND, testing_support::kExit, 0, false, "----"},
};

// Delivers a row to a window: sent, or posted as key input (down and up) to
// the focused control, and handled through the application's message loop.
void Deliver(const Row& row, HWND window) {
  if (!row.posted) {
    SendMessageA(window, row.msg, row.wParam, row.lParam);
  } else {
    const HWND target = GetFocus() && GetAncestor(GetFocus(), GA_ROOT) == window ? GetFocus() : window;
    PostMessageA(target, row.msg, row.wParam, row.lParam);
    PostMessageA(target, row.msg + 1, row.wParam, row.lParam | 0xC0000000);
  }
  ui::Application().ProcessMessages();
}

class HostileMessagesTest : public FormsTest {
 protected:
  void SetUp() override {
    CurrentPassword = "secret";
    Form4->MaskEdit1->SetText("");
    protection::CloseAllowed = false;
    Form1->CheckBox4->SetChecked(true);
    Form1->Edit1->SetText("100");
    // Ok refuses the design's Alt+A for all eight actions; "None" it takes.
    for (ui::THotKey* key : Form1->HotKeys) key->SetHotKey(0);
    menuSeen = false;
    menuTimer_ = SetTimer(nullptr, 0, 50, &EndAnyMenu);
  }
  void TearDown() override {
    KillTimer(nullptr, menuTimer_);
    testing_support::ClosePanel();
  }

  // Shows a form as the program does, delivers the row while it is shown and
  // answers what happened to it.
  static char WhileShown(ui::TForm& form, const Row& row) {
    menuSeen = false;
    if (&form == Form4) {
      Form4->ShowPanel();
      Deliver(row, form.Handle());
      return menuSeen ? kMenu : Form4->Visible() ? kNothing : kClosed;
    }
    static const Row* current;
    static ui::TForm* shown;
    static bool closedByRow;
    current = &row;
    shown = &form;
    closedByRow = false;
    if (&form == Form2) power::NoticeCount = 100;
    // Inside the modal loop: deliver the row, then end the loop if the row
    // did not.
    struct InsideTheLoop {
      static void CALLBACK Proc(HWND, UINT, UINT_PTR id, DWORD) {
        KillTimer(nullptr, id);
        Deliver(*current, shown->Handle());
        closedByRow = shown->ModalResult() != ui::mrNone || !shown->Visible();
        if (!closedByRow) shown->SetModalResult(ui::mrCancel);
      }
    };
    const UINT_PTR timer = SetTimer(nullptr, 0, 10, &InsideTheLoop::Proc);
    form.ShowModal();
    KillTimer(nullptr, timer);
    return menuSeen ? kMenu : closedByRow ? kClosed : kNothing;
  }

  UINT_PTR menuTimer_ = 0;
};

TEST_F(HostileMessagesTest, EveryWindowSurvivesEveryRowHiddenAndShown) {
  ui::TForm* forms[] = {Form1, Form3, Form4, Form2};
  const char* names[] = {"Form1", "Form3", "Form4", "Form2"};
  for (const Row& row : kRows) {
    SCOPED_TRACE(row.name);
    std::string shownEffect;
    for (int i = 0; i < 4; ++i) {
      ui::TForm& form = *forms[i];
      SCOPED_TRACE(names[i]);
      // Hidden: nothing shows, nothing closes. A close request to the hidden
      // main window ends the program; the e2e tier covers that one.
      const bool endsProgram = &form == Form1 && (row.msg == WM_CLOSE || row.wParam == SC_CLOSE);
      if (!endsProgram) {
        menuSeen = false;
        Deliver(row, form.Handle());
        for (ui::TForm* any : forms) EXPECT_FALSE(any->Visible());
        EXPECT_FALSE(IsIconic(form.Handle()));
        EXPECT_EQ(menuSeen, &form == Form1 && row.msg == WM_CONTEXTMENU);
      }
      shownEffect += WhileShown(form, row);
      EXPECT_FALSE(IsIconic(form.Handle()));
      testing_support::ClosePanel();
      EXPECT_FALSE(ui::Application().Terminated());
    }
    EXPECT_EQ(shownEffect, row.shownEffect);
    // The application window: hidden, never shown by any of them.
    if (row.msg == WM_CLOSE || row.wParam == SC_CLOSE) continue;
    Deliver(row, ui::Application().Handle());
    EXPECT_FALSE(IsWindowVisible(ui::Application().Handle()));
    EXPECT_FALSE(ui::Application().Terminated());
  }
}

// The countdown window (no modal loop): only a close request or Esc closes it.
TEST_F(HostileMessagesTest, TheCountdownWindowSurvivesEveryRowHiddenAndShown) {
  for (const Row& row : kRows) {
    SCOPED_TRACE(row.name);
    Form1->Countdown1Click(*Form1->Countdown1);
    ui::TForm& form = *countdown::CountdownWindow;
    Deliver(row, form.Handle());
    EXPECT_EQ(!form.Visible(), row.msg == WM_CLOSE || row.wParam == SC_CLOSE || (row.posted && row.wParam == VK_ESCAPE));
    form.Close();
    Deliver(row, form.Handle());
    EXPECT_FALSE(form.Visible() || IsIconic(form.Handle()) || ui::Application().Terminated());
  }
}

// The week's window, shown modally as the options window shows it: a close
// request closes it, and nothing else hides it for good or ends the program.
TEST_F(HostileMessagesTest, TheDaysWindowSurvivesEveryRowHiddenAndShown) {
  if (!DaysWindow) ui::Application().CreateForm(DaysWindow);
  ASSERT_TRUE(DaysWindow);
  for (const Row& row : kRows) {
    SCOPED_TRACE(row.name);
    Deliver(row, DaysWindow->Handle());
    EXPECT_FALSE(DaysWindow->Visible());
    const char effect = WhileShown(*DaysWindow, row);
    EXPECT_TRUE(effect == kClosed || (row.msg != WM_CLOSE && row.wParam != SC_CLOSE)) << effect;
    EXPECT_FALSE(DaysWindow->Visible() || IsIconic(DaysWindow->Handle()) || ui::Application().Terminated());
  }
}

TEST_F(HostileMessagesTest, TheLockedPanelRefusesTheEndOfTheSessionAndTheOthersAllowIt) {
  Form4->ShowPanel();
  EXPECT_EQ(SendMessageA(Form4->Handle(), WM_QUERYENDSESSION, 0, 0), FALSE);
  for (ui::TForm* form : std::initializer_list<ui::TForm*>{Form1, Form2, Form3})
    EXPECT_NE(SendMessageA(form->Handle(), WM_QUERYENDSESSION, 0, 0), FALSE);
}

// Another program's owner-draw messages to the menus' window carry its own
// itemData: the item is the one their id names, an unknown id is none.
TEST_F(HostileMessagesTest, OwnerDrawMessagesFindTheItemByItsId) {
  const ui::unique_hdc dc(CreateCompatibleDC(nullptr));
  const ui::unique_hbitmap bitmap(CreateBitmap(60, 20, 1, 32, nullptr));
  const ui::SelectedObject selected(dc.get(), bitmap.get());
  for (const UINT id : {UINT{testing_support::kExit}, 0xFFFFu}) {
    MEASUREITEMSTRUCT measure{ODT_MENU, 0, id, 0, 0, 0xDEADBEEF};
    SendMessageA(ui::TPopupMenu::OwnerWindow(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure));
    SetPixel(dc.get(), 40, 10, RGB(255, 0, 255));
    DRAWITEMSTRUCT draw{ODT_MENU, 0, id, ODA_DRAWENTIRE, 0, nullptr, dc.get(), {0, 0, 60, 20}, 0xDEADBEEF};
    SendMessageA(ui::TPopupMenu::OwnerWindow(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw));
    EXPECT_EQ(measure.itemHeight != 0, id != 0xFFFF) << id;
    EXPECT_EQ(GetPixel(dc.get(), 40, 10) != RGB(255, 0, 255), id != 0xFFFF) << id;
  }
}

// A command from another program is served only when it is well formed:
// anything else answers 2 and runs nothing. The last row is the control.
TEST_F(HostileMessagesTest, TheMainWindowRefusesAMalformedCommand) {
  char lock[] = "/lock\0/lock", reboot[] = "/reboot";
  char tooLong[command::kLongestCommand + 1] = "/lock";
  const struct {
    const char* name;
    COPYDATASTRUCT copy;
    LRESULT answer;
  } cases[] = {
      {"no terminator", unterminatedLock, 2},
      {"a NUL before the end", {command::kCommandMagic, sizeof lock, lock}, 2},
      {"longer than a command", {command::kCommandMagic, sizeof tooLong, tooLong}, 2},
      {"an unknown switch", {command::kCommandMagic, sizeof reboot, reboot}, 2},
      {"the lock", {command::kCommandMagic, 6, lock}, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SendMessageA(Form1->Handle(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&c.copy)), c.answer) << c.name;
    testing_support::ProcessPosted();
    EXPECT_EQ(Form4->Visible(), c.answer == 0) << c.name;
  }
}

// A button's click is one its own window procedure sends: a WM_COMMAND in its
// name, posted or sent (by this thread or another), clicks nothing; its own
// BM_CLICK, the control, does. An IDOK posted to the countdown window neither.
TEST_F(HostileMessagesTest, OnlyAButtonItselfClicksIt) {
  Form1->Countdown1Click(*Form1->Countdown1);
  for (ui::TButton* button : {Form1->BitBtn1, Form1->BitBtn2, Form2->Button2, countdown::CountdownWindow->StartButton}) {
    const HWND b = button->HandleNeeded(), parent = GetParent(b);
    const WPARAM forged = MAKEWPARAM(GetDlgCtrlID(b), BN_CLICKED);
    int clicks = 0;
    const auto click = std::exchange(button->OnClick, [&](ui::TComponent&) { ++clicks; });
    PostMessageA(parent, WM_COMMAND, forged, reinterpret_cast<LPARAM>(b));
    SendMessageA(parent, WM_COMMAND, forged, reinterpret_cast<LPARAM>(b));
    std::atomic<bool> answered = false;
    std::thread other([&] { answered = SendMessageA(parent, WM_COMMAND, forged, reinterpret_cast<LPARAM>(b)) || true; });
    EXPECT_TRUE(testing_support::ProcessUntil([&] { return answered.load(); }));
    other.join();
    testing_support::ProcessPosted();
    EXPECT_EQ(clicks, 0) << button->Name() << ": forged";
    SendMessageA(b, BM_CLICK, 0, 0);
    EXPECT_EQ(clicks, 1) << button->Name() << ": its own";
    button->OnClick = click;
    button->Form().SetModalResult(ui::mrNone);
  }
  PostMessageA(countdown::CountdownWindow->Handle(), WM_COMMAND, IDOK, 0);
  testing_support::ProcessPosted();
  EXPECT_FALSE(Form1->CancelCountdown1->visible) << "a posted IDOK started a countdown";
  countdown::CountdownWindow->Close();
}

// An error handler that fails itself must not take the program with it: the
// message that raised the first error is answered and the program goes on.
TEST_F(HostileMessagesTest, AnErrorHandlerThatThrowsIsContained) {
  int handled = 0;
  app->OnException = [&handled](const std::exception&) {
    ++handled;
    throw std::runtime_error("the handler fails too");
  };
  Form3->BitBtn1->OnClick = [](ui::TComponent&) { throw std::runtime_error("click fails"); };
  SendMessageA(Form3->BitBtn1->Handle(), BM_CLICK, 0, 0);
  SendMessageA(Form3->BitBtn1->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(handled, 2);
  Form3->BitBtn1->OnClick = ui::Bind(Form3, &TForm3::BitBtn1Click);
  app->OnException = nullptr;
}

}  // namespace
