// The pre-operation notice under Wine: the countdown window, its answers,
// the clock timer around it, and the sound through MCI.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "command/Handoff_win32.h"
#include "power/Notice.h"
#include "power/QuorinFunction.h"
#include "support/Dormix.h"
#include "support/PowerFakes.h"
#include "support/Forms.h"
#include "support/Pump.h"
#include "support/UnitHelpers.h"
#include "ui/Application.h"

namespace {

using testing_support::Every;

class NoticeTest : public testing_support::FormsTest {
 protected:
  void SetUp() override {
    Form1->CheckBox4->SetChecked(true);
    Form1->CheckBox5->SetChecked(false);
    Form1->Edit1->SetText("30");
    Form1->Edit2->SetText("");
    Form1->Timer1->SetEnabled(true);
  }
};

TEST_F(NoticeTest, CountsDownAndClosesItselfAtZeroWithTrueWhileTheClockIsOff) {
  Form1->Edit1->SetText("2");
  bool clockRanDuringNotice = false;
  const Every clockWatch(100, [&] {
    clockRanDuringNotice |= Form1->Timer1->Enabled();
    return Form2->Visible();
  });
  EXPECT_TRUE(power::ShowOperationNotice("Shut Down"));
  EXPECT_FALSE(clockRanDuringNotice);
  EXPECT_TRUE(Form1->Timer1->Enabled());
  EXPECT_FALSE(Form2->Visible());
  EXPECT_FALSE(Form2->Timer1->Enabled());
  EXPECT_EQ(power::NoticeCount, 0);
  EXPECT_EQ(Form2->Label1->Caption(), "The Shut Down operation will start in: 0 sec.");
  EXPECT_EQ(Form2->Caption(), "Shut Down Operation...");
}

// Over a counting notice About, the options window and "Countdown..." are
// refused and greyed in the menu, and a menu opened over it closes at zero:
// the answer is not held back.
TEST_F(NoticeTest, AtZeroItAnswersWhateverWasOpenedOverIt) {
  Form1->Edit1->SetText("2");
  bool refused = false, late = false;
  const Every overNotice(100, [&] {
    if (!Form2->Visible()) return true;
    Form1->About1Click(*Form1->About1);
    Form1->Main1Click(*Form1->Main1);
    refused = !Form3->Visible() && !Form1->Visible() && !Form1->Main1->enabled && !Form1->About1->enabled &&
              !Form1->Countdown1->enabled;
    Form1->BarPopupMenu1->Popup(100, 100);
    return false;
  });
  const Every guard(8000, [&] {
    late = true;
    EndMenu();
    for (ui::TForm* form : std::initializer_list<ui::TForm*>{Form1, Form3}) form->SetModalResult(ui::mrCancel);
    return false;
  });
  EXPECT_TRUE(power::ShowOperationNotice("Log Off"));
  EXPECT_TRUE(refused) << "and greyed in the menu";
  EXPECT_TRUE(Form1->Main1->enabled && Form1->About1->enabled && Form1->Countdown1->enabled);
  EXPECT_FALSE(late);
}

// Chosen once the notice has been answered, before its loop has ended, Main
// opens after the notice has closed, not inside its loop.
TEST_F(NoticeTest, MainChosenAsTheNoticeClosesOpensOnceItHas) {
  bool opened = false;
  const Every answer(100, [] {
    if (!Form2->Visible()) return true;
    Form2->SetModalResult(ui::mrCancel);
    Form1->Main1Click(*Form1->Main1);
    return false;
  });
  EXPECT_FALSE(power::ShowOperationNotice("Log Off"));
  const Every options(100, [&] {
    if (!Form1->Visible()) return true;
    opened = !Form2->Visible();
    PostMessageA(Form1->BitBtn2->Handle(), BM_CLICK, 0, 0);
    return false;
  });
  EXPECT_TRUE(testing_support::ProcessUntil([&] { return opened && !Form1->Visible(); }));
}

// The window is reused: each opening, however the one before was answered,
// has Cancel focused, and a key typed as it opens calls the action off.
TEST_F(NoticeTest, AnswersByTheWayTheWindowClosesAndOpensWithCancelFocused) {
  static const struct {
    const char* how;
    void (*answer)();
    bool expected;
  } ways[] = {
      {"Ok", [] { PostMessageA(Form2->Button2->Handle(), BM_CLICK, 0, 0); }, true},
      {"Space on open", [] { testing_support::PressKey(VK_SPACE); }, false},
      {"Postpone", [] { PostMessageA(Form2->Button3->Handle(), BM_CLICK, 0, 0); }, false},
      {"Cancel", [] { PostMessageA(Form2->Button1->Handle(), BM_CLICK, 0, 0); }, false},
      {"close box", [] { PostMessageA(Form2->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0); }, false},
      {"zero", [] { power::NoticeCount = 1; }, true},
      {"Enter on open", [] { testing_support::PressKey(VK_RETURN); }, false},
  };
  for (const auto& way : ways) {
    HWND focus = nullptr;
    // Keys go to the foreground window: answer once the notice takes them.
    const Every answerWhenActive(300, [&] {
      if (!testing_support::TakesKeys(Form2->Handle())) return true;
      focus = GetFocus();
      way.answer();
      return false;
    });
    EXPECT_EQ(power::ShowOperationNotice("Log Off"), way.expected) << way.how;
    EXPECT_EQ(focus, Form2->Button1->Handle()) << way.how << ", the answer before it notwithstanding";
    EXPECT_EQ(power::NoticeOperation, "Log Off");
    if (way.how != std::string("zero")) {
      EXPECT_GT(power::NoticeCount, 25) << way.how << ": the countdown stopped where it was";
    }
  }
  Form1->CancelCountdown1Click(*Form1->CancelCountdown1);  // the one Postpone set
}

TEST_F(NoticeTest, EscapeDoesNothingAndAMessageTimeOfZeroNeverEnds) {
  Form1->Edit1->SetText("0");
  // Esc once the countdown is below zero and the notice has the keyboard;
  // two ticks later, the notice is as it was.
  int escapedAt = 1;
  const Every escapeThenCancel(200, [&] {
    if (escapedAt > 0 && power::NoticeCount < 0 && testing_support::TakesKeys(Form2->Handle())) {
      escapedAt = power::NoticeCount;
      EXPECT_TRUE(testing_support::Press(VK_ESCAPE));
    }
    if (escapedAt > 0 || power::NoticeCount > escapedAt - 2) return true;
    EXPECT_TRUE(Form2->Visible());
    EXPECT_EQ(Form2->Label1->Caption(),
              "The Restart operation will start in: " + std::to_string(power::NoticeCount) + " sec.");
    PostMessageA(Form2->Button1->Handle(), BM_CLICK, 0, 0);
    return false;
  });
  EXPECT_FALSE(power::ShowOperationNotice("Restart"));
}

TEST_F(NoticeTest, ACountdownFromTheLowestIntHoldsThereInsteadOfWrapping) {
  Form1->Edit1->SetText("-2147483648");
  Form2->SetCaption("");
  const Every cancelAfterATick(100, [] {
    if (Form2->Caption().empty()) return true;
    PostMessageA(Form2->Button1->Handle(), BM_CLICK, 0, 0);
    return false;
  });
  EXPECT_FALSE(power::ShowOperationNotice("Log Off"));
  EXPECT_EQ(Form2->Label1->Caption(), "The Log Off operation will start in: -2147483648 sec.");
}

TEST_F(NoticeTest, PlaysAWaveFileAndStopsItWhenTheWindowCloses) {
  Form1->Edit2->SetText(testing_support::SuiteFile("tone.wav", testing_support::SilenceWav(1000)));
  Form1->CheckBox5->SetChecked(true);
  Form1->CheckBox4->SetChecked(false);
  EXPECT_TRUE(power::ShowOperationNotice("Shut Down")) << "sound only: true at once";
  EXPECT_TRUE(Form1->MediaPlayer1->IsOpen());

  Form1->CheckBox4->SetChecked(true);
  const Every answerOk(300, [] {
    if (!Form2->Visible()) return true;
    PostMessageA(Form2->Button2->Handle(), BM_CLICK, 0, 0);
    return false;
  });
  EXPECT_TRUE(power::ShowOperationNotice("Shut Down"));
  EXPECT_TRUE(Form1->MediaPlayer1->IsOpen()) << "stopped, still open";
  Form1->MediaPlayer1->Close();
  EXPECT_EQ(testing_support::ErrorOf([] { Form1->MediaPlayer1->Stop(); }), "No MCI device open");
}

TEST_F(NoticeTest, AMissingSoundFileFailsWithTheMciTextAndShowsNothing) {
  Form1->Edit2->SetText("C:\\no\\such\\sound.wav");
  Form1->CheckBox5->SetChecked(true);
  for (bool showMessage : {false, true}) {
    Form1->CheckBox4->SetChecked(showMessage);
    EXPECT_EQ(testing_support::ErrorOf([] { power::ShowOperationNotice("Log Off"); }),
              "Cannot find the specified file. Make sure the path and filename are correct.");
    EXPECT_FALSE(Form2->Visible());
    EXPECT_TRUE(Form1->Timer1->Enabled());
  }
}

TEST_F(NoticeTest, ActionsGoAheadOnlyWhenTheNoticeSaysSo) {
  power_fakes::InstalledPlatform fake(&power::SystemPowerPlatform());
  Form1->Edit1->SetText("1");
  power::LogOffUser(true);
  const Every answerCancel(300, [] {
    if (!Form2->Visible()) return true;
    PostMessageA(Form2->Button1->Handle(), BM_CLICK, 0, 0);
    return false;
  });
  power::ShutDownSystem(false);
  std::vector<std::string> exits;
  for (const std::string& call : fake.journal)
    if (call.rfind("ExitWindowsEx", 0) == 0) exits.push_back(call);
  EXPECT_EQ(exits, std::vector<std::string>{"ExitWindowsEx 4"});
}

// A countdown due while another notice counts, in the clock's pause after a
// firing, waits for that notice's answer; its own notice follows.
TEST_F(NoticeTest, ACountdownDueBehindANoticeInThePauseComesOnceThatIsAnswered) {
  power_fakes::InstalledPlatform fake(&power::SystemPowerPlatform());
  Form1->Timer1->SetEnabled(false);
  Form1->Timer3->SetEnabled(true);
  char logoff[] = "/logoff\0/in\0" "1s";
  COPYDATASTRUCT copy{command::kCommandMagic, sizeof logoff, logoff};
  ASSERT_EQ(SendMessageA(Form1->Handle(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&copy)), 0);
  std::vector<std::string> notices;
  std::size_t answered = 0;
  const DWORD start = GetTickCount();
  const Every answer(200, [&] {
    if (!Form2->Visible()) return true;
    if (notices.empty() || notices.back() != power::NoticeOperation) notices.push_back(power::NoticeOperation);
    // Each once: the first once the countdown has come due behind it.
    if (answered < notices.size() && (notices.size() == 2 || GetTickCount() - start > 2500)) {
      PostMessageA(Form2->Button1->Handle(), BM_CLICK, 0, 0);
      answered = notices.size();
    }
    return answered < 2;
  });
  EXPECT_FALSE(power::ShowOperationNotice("Hibernate"));
  EXPECT_TRUE(testing_support::ProcessUntil([] { return !Form1->CancelCountdown1->visible; }));
  EXPECT_EQ(notices, (std::vector<std::string>{"Hibernate", "Log Off"}));
  Form1->Timer3->SetEnabled(false);
}

// The pixels of a rectangle of a window's client area as they are on the
// screen, copied in one piece.
std::vector<COLORREF> ScreenPixels(HWND window, const RECT& r) {
  POINT origin{r.left, r.top};
  ClientToScreen(window, &origin);
  const ui::WindowDC screen(nullptr);
  const ui::unique_hdc memory(CreateCompatibleDC(screen.get()));
  const ui::unique_hbitmap bitmap(CreateCompatibleBitmap(screen.get(), r.right - r.left, r.bottom - r.top));
  ui::SelectedObject selected(memory.get(), bitmap.get());
  BitBlt(memory.get(), 0, 0, r.right - r.left, r.bottom - r.top, screen.get(), origin.x, origin.y, SRCCOPY);
  std::vector<COLORREF> pixels;
  for (int y = 0; y < r.bottom - r.top; ++y)
    for (int x = 0; x < r.right - r.left; ++x) pixels.push_back(GetPixel(memory.get(), x, y));
  return pixels;
}

// The same text drawn by hand, black on the notice's white, in the label's font.
std::vector<COLORREF> ExpectedPixels(HWND label, const std::string& text, const RECT& r) {
  const ui::WindowDC screen(nullptr);
  const ui::unique_hdc memory(CreateCompatibleDC(screen.get()));
  const ui::unique_hbitmap bitmap(CreateCompatibleBitmap(screen.get(), r.right, r.bottom));
  ui::SelectedObject selected(memory.get(), bitmap.get());
  ui::SelectedObject font(memory.get(), reinterpret_cast<HGDIOBJ>(SendMessageA(label, WM_GETFONT, 0, 0)));
  PatBlt(memory.get(), 0, 0, r.right, r.bottom, WHITENESS);
  SetBkMode(memory.get(), TRANSPARENT);
  TextOutA(memory.get(), 0, 0, text.c_str(), static_cast<int>(text.size()));
  std::vector<COLORREF> pixels;
  for (int y = 0; y < r.bottom; ++y)
    for (int x = 0; x < r.right; ++x) pixels.push_back(GetPixel(memory.get(), x, y));
  return pixels;
}

// What the user reads, not what the label holds: for every action name and
// counts up to four digits the label shows its whole line, pixel for pixel,
// inside the window's client area.
TEST_F(NoticeTest, TheCountdownLineIsShownWholeForEveryActionAndCount) {
  Form1->Edit1->SetText("16");
  const Every check(100, [] {
    if (!Form2->Visible() || power::NoticeCount > 15) return true;
    // Paints that are due, as the next turn of the message loop would.
    RedrawWindow(Form2->Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    testing_support::Screenshot("notice-15s");
    for (const char* action : {"Shut Down", "Log Off", "Hibernate", "Restart"})
      for (int count : {10000, 1000, 100, 16, 2}) {
        power::NoticeOperation = action;
        power::NoticeCount = count;
        Form2->Timer1Timer(*Form2->Timer1);
        RedrawWindow(Form2->Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        const HWND label = Form2->Label1->Handle();
        const std::string text = Form2->Label1->Caption();
        RECT shown, client;
        GetWindowRect(label, &shown);
        MapWindowPoints(nullptr, Form2->Handle(), reinterpret_cast<POINT*>(&shown), 2);
        GetClientRect(Form2->Handle(), &client);
        EXPECT_LE(shown.right, client.right) << text;
        RECT inLabel;
        GetClientRect(label, &inLabel);
        // Wine puts the painted line on the screen when this thread waits:
        // waited for without handling messages, which would tick the count.
        const std::vector<COLORREF> expected = ExpectedPixels(label, text, inLabel);
        std::size_t wrong = 0;
        EXPECT_TRUE(testing_support::PumpUntil([&] {
          const std::vector<COLORREF> shown = ScreenPixels(label, inLabel);
          wrong = 0;
          for (std::size_t i = 0; i < shown.size(); ++i) wrong += shown[i] != expected[i];
          return wrong == 0;
        }, 5000, [] {})) << text << ": " << wrong << " pixels differ on the screen";
        if (count == 10000 && action[0] == 'S') testing_support::Screenshot("notice-9999s");
      }
    PostMessageA(Form2->Button1->Handle(), BM_CLICK, 0, 0);
    return false;
  });
  EXPECT_FALSE(power::ShowOperationNotice("Shut Down"));
}

}  // namespace
