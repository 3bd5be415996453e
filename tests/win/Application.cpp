// The application object under Wine: form creation, the error handler, the
// message loop, modal showing and the end-of-session query.
#include "ui/Application.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/Pump.h"
#include "ui/Error.h"
#include "ui/Form.h"

namespace {

using testing_support::Every;

std::vector<std::string> journal;

template <char Letter>
class TestForm : public ui::TForm {
 public:
  using TForm::TForm;
  static inline bool failDesign = false;
  static inline bool failCreate = false;

 protected:
  const char* ClassName() const override {
    static const char name[] = {'T', 'T', 'e', 's', 't', Letter, 0};
    return name;
  }
  void Design() override {
    SetCaption(std::string("Form ") + Letter);
    if (failDesign) throw ui::Error(std::string("design ") + Letter);
    OnCreate = [this](ui::TComponent&) {
      journal.push_back(std::string("create ") + Letter);
      if (failCreate) throw ui::Error(std::string("create failed ") + Letter);
      journal.push_back(std::string("created ") + Letter);
    };
  }
};
using FormA = TestForm<'A'>;
using FormB = TestForm<'B'>;
using FormC = TestForm<'C'>;

class ApplicationTest : public testing::Test {
 protected:
  void SetUp() override {
    journal.clear();
    app.Initialize();
    app.OnException = [](const std::exception& e) { journal.push_back(std::string("error: ") + e.what()); };
  }
  void TearDown() override {
    // A terminate request leaves WM_QUIT behind for the next test's loops.
    MSG msg;
    while (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    FormA::failDesign = FormA::failCreate = false;
    FormB::failDesign = FormB::failCreate = false;
  }
  void CreateAll() {
    app.CreateForm(a);
    app.CreateForm(b);
    app.CreateForm(c);
  }
  ui::TApplication app;
  FormA* a = nullptr;
  FormB* b = nullptr;
  FormC* c = nullptr;
};

TEST_F(ApplicationTest, CreatesFormsInOrderHiddenAndTheFirstIsTheMainForm) {
  CreateAll();
  EXPECT_EQ(journal, (std::vector<std::string>{"create A", "created A", "create B", "created B",
                                               "create C", "created C"}));
  EXPECT_EQ(app.MainForm(), a);
  for (ui::TForm* f : {static_cast<ui::TForm*>(a), static_cast<ui::TForm*>(b), static_cast<ui::TForm*>(c)}) {
    ASSERT_TRUE(f->Handle());
    EXPECT_FALSE(IsWindowVisible(f->Handle()));
    EXPECT_EQ(GetWindow(f->Handle(), GW_OWNER), app.Handle()) << "owned: no taskbar button of its own";
  }
  char text[64];
  GetWindowTextA(b->Handle(), text, sizeof text);
  EXPECT_STREQ(text, "Form B");
  GetClassNameA(b->Handle(), text, sizeof text);
  EXPECT_STREQ(text, "TTestB");
}

TEST_F(ApplicationTest, AnErrorInACreationHandlerIsShownAndCreationGoesOn) {
  FormB::failCreate = true;
  CreateAll();
  EXPECT_EQ(journal, (std::vector<std::string>{"create A", "created A", "create B",
                                               "error: create failed B", "create C", "created C"}));
  ASSERT_NE(b, nullptr);
  EXPECT_TRUE(b->Handle());
}

TEST_F(ApplicationTest, AnErrorWhileAWindowIsDesignedIsShownAndTheNextFormIsCreated) {
  FormA::failDesign = true;
  app.CreateForm(a);
  app.CreateForm(b);
  EXPECT_EQ(journal, (std::vector<std::string>{"error: design A", "create B", "created B"}));
  EXPECT_EQ(app.MainForm(), a);
}

TEST_F(ApplicationTest, TheDefaultErrorHandlerShowsTheTextInAMessageBoxAndCarriesOn) {
  app.OnException = nullptr;
  FormB::failCreate = true;
  std::string seenText, seenCaption;
  // The message box runs its own modal loop; a thread timer reads and closes it.
  const Every readAndClose(100, [&] {
    HWND box = FindWindowA("#32770", nullptr);
    if (!box || !IsWindowVisible(box)) return true;
    char text[256] = {};
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
    seenText = text;
    GetWindowTextA(box, text, sizeof text);
    seenCaption = text;
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    return false;
  });
  app.CreateForm(b);
  app.CreateForm(c);
  EXPECT_EQ(seenText, "create failed B");
  EXPECT_EQ(seenCaption, app.Title());
  EXPECT_EQ(journal.back(), "created C");
}

TEST_F(ApplicationTest, TerminateRequestEndsTheLoop) {
  app.CreateForm(a);
  app.SetShowMainForm(false);
  const Every terminate(50, [] {
    ui::Application().Terminate();
    return false;
  });
  app.Run();
  EXPECT_TRUE(app.Terminated());
  EXPECT_FALSE(a->Visible());
}

// The messages waiting at start come first; a queue that empties again later
// runs nothing.
TEST_F(ApplicationTest, OnFirstIdleRunsOnceWhenTheMessagesWaitingAtStartAreHandled) {
  CreateAll();
  journal.clear();
  app.SetShowMainForm(false);
  b->OnClose = [](ui::TComponent&, ui::TCloseAction&) { journal.push_back("close B"); };
  app.OnFirstIdle = [this] {
    journal.push_back("idle");
    PostMessageA(b->Handle(), WM_CLOSE, 0, 0);
  };
  PostMessageA(b->Handle(), WM_CLOSE, 0, 0);
  const Every terminate(50, [] {
    if (journal.size() < 3) return true;
    ui::Application().Terminate();
    return false;
  });
  app.Run();
  EXPECT_EQ(journal, (std::vector<std::string>{"close B", "idle", "close B"}));
}

TEST_F(ApplicationTest, TerminateBeforeTheLoopEndsItAtOnceWithoutShowingTheMainForm) {
  app.CreateForm(a);
  app.Terminate();
  app.Run();
  EXPECT_FALSE(a->Visible());
  EXPECT_FALSE(IsWindowVisible(app.Handle()));
}

TEST_F(ApplicationTest, ShowModalAnswersTheResultAndTheCloseGateCanKeepTheForm) {
  app.CreateForm(a);
  app.CreateForm(b);
  static int attempts;
  attempts = 0;
  b->OnCloseQuery = [](ui::TComponent&, bool& canClose) { canClose = ++attempts > 1; };
  b->OnClose = [](ui::TComponent&, ui::TCloseAction&) { journal.push_back("close B"); };
  // First request refused by the gate, second one passes.
  const Every askToClose(50, [&] {
    if (attempts >= 2) return false;
    EXPECT_TRUE(b->Visible());
    b->SetModalResult(ui::mrOk);
    return true;
  });
  EXPECT_EQ(b->ShowModal(), ui::mrOk);
  EXPECT_EQ(attempts, 2);
  EXPECT_FALSE(b->Visible());
  EXPECT_TRUE(IsWindowEnabled(a->Handle()));
  EXPECT_EQ(journal.back(), "close B");
}

TEST_F(ApplicationTest, ClosingAModalFormByItsCloseBoxAnswersCancel) {
  app.CreateForm(a);
  const Every closeBox(50, [this] {
    PostMessageA(a->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
    return false;
  });
  EXPECT_EQ(a->ShowModal(), ui::mrCancel);
  EXPECT_THROW(
      {
        a->Show();
        a->ShowModal();
      },
      ui::Error);
  a->Hide();
}

TEST_F(ApplicationTest, AnErrorInTheCloseHandlerOfAModalFormLeavesItHiddenAndReusable) {
  app.CreateForm(a);
  app.CreateForm(b);
  b->OnClose = [](ui::TComponent&, ui::TCloseAction&) { throw ui::Error("No MCI device open"); };
  const auto answerOk = [this] {
    b->SetModalResult(ui::mrOk);
    return false;
  };
  const Every firstAnswer(50, answerOk);
  EXPECT_THROW(b->ShowModal(), ui::Error);
  EXPECT_FALSE(b->Visible());
  EXPECT_TRUE(IsWindowEnabled(a->Handle()));
  b->OnClose = nullptr;
  const Every secondAnswer(50, answerOk);
  EXPECT_EQ(b->ShowModal(), ui::mrOk);
}

TEST_F(ApplicationTest, OnlyAShownFormAnswersTheEndOfSessionQueryWithItsGate) {
  app.CreateForm(a);
  app.CreateForm(b);
  b->OnCloseQuery = [](ui::TComponent&, bool& canClose) { canClose = false; };
  EXPECT_EQ(SendMessageA(b->Handle(), WM_QUERYENDSESSION, 0, 0), TRUE);
  b->Show();
  EXPECT_EQ(SendMessageA(b->Handle(), WM_QUERYENDSESSION, 0, 0), FALSE);
  b->Hide();
  EXPECT_EQ(SendMessageA(b->Handle(), WM_QUERYENDSESSION, 0, 0), FALSE);
  b->OnCloseQuery = nullptr;
  EXPECT_EQ(SendMessageA(b->Handle(), WM_QUERYENDSESSION, 0, 0), TRUE);
}

TEST_F(ApplicationTest, ShowingAFormBringsTheTaskbarButtonBackAndClosingTheMainFormEndsTheLoop) {
  app.CreateForm(a);
  EXPECT_FALSE(IsWindowVisible(app.Handle()));
  a->Show();
  EXPECT_TRUE(IsWindowVisible(app.Handle()));
  a->Close();
  EXPECT_TRUE(app.Terminated());
}

// Minimising the hidden application (start-up's MyHide) must not show it
// for a moment: that maps a window and adds and removes a taskbar button.
HWND watched = nullptr;
std::vector<UINT> shows;
LRESULT CALLBACK RecordShows(int code, WPARAM wParam, LPARAM lParam) {
  const auto* m = reinterpret_cast<const CWPSTRUCT*>(lParam);
  if (code == HC_ACTION && m->hwnd == watched &&
      (m->message == WM_SHOWWINDOW ||
       (m->message == WM_WINDOWPOSCHANGING && reinterpret_cast<WINDOWPOS*>(m->lParam)->flags & SWP_SHOWWINDOW)))
    shows.push_back(m->message);
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(ApplicationTest, MinimisingTheHiddenApplicationNeverShowsItAndShowingAFormRestoresIt) {
  app.CreateForm(a);
  watched = app.Handle();
  shows.clear();
  const HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, &RecordShows, nullptr, GetCurrentThreadId());
  app.Minimize();
  UnhookWindowsHookEx(hook);
  EXPECT_TRUE(IsIconic(app.Handle()));
  EXPECT_FALSE(IsWindowVisible(app.Handle()));
  EXPECT_TRUE(shows.empty()) << shows.size() << " show messages";
  a->Show();
  EXPECT_TRUE(IsWindowVisible(app.Handle()));
  EXPECT_FALSE(IsIconic(app.Handle()));
  a->Hide();
  app.Minimize();
  EXPECT_TRUE(IsIconic(app.Handle()));
}

}  // namespace
