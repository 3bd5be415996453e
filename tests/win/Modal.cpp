// Windows that meet: one window shown, through the program's own path,
// while another is modal. The second takes real mouse input, and once both
// have closed every window is enabled or disabled as before.
#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <string>

#include "power/Notice.h"
#include "support/Forms.h"
#include "support/Pump.h"

namespace {

using testing_support::Every;
using testing_support::Sent;

// A window as the program opens it (modal ones return when they close), and
// what a user clicks to answer it.
struct Opening {
  const char* name;
  std::function<ui::TForm*()> form;
  std::function<void()> open;
  std::function<HWND()> answer;
};

const Opening kOptions{"options", [] { return Form1; }, [] { Form1->Main1Click(*Form1->Main1); },
                       [] { return Form1->BitBtn2->Handle(); }};
const Opening kAbout{"About", [] { return Form3; }, [] { Form1->About1Click(*Form1->About1); },
                     [] { return Form3->BitBtn1->Handle(); }};
const Opening kNotice{"notice", [] { return Form2; }, [] { power::ShowOperationNotice("Log Off"); },
                      [] { return Form2->Button1->Handle(); }};
// No password: the click puts the focus in the field, and any key opens it.
const Opening kPanel{"panel", [] { return Form4; }, [] { Form4->ShowPanel(); },
                     [] { return Form4->MaskEdit1->Handle(); }};

std::array<BOOL, 5> EnabledStates() {
  return {IsWindowEnabled(ui::Application().Handle()), IsWindowEnabled(Form1->Handle()),
          IsWindowEnabled(Form2->Handle()), IsWindowEnabled(Form3->Handle()), IsWindowEnabled(Form4->Handle())};
}

class ModalTest : public testing_support::FormsTest {
 protected:
  void SetUp() override {
    CurrentPassword.clear();
    Form1->CheckBox4->SetChecked(true);  // the notice counts 30 s
    Form1->CheckBox5->SetChecked(false);
    Form1->Edit1->SetText("30");
  }
};

// What one pair showed: the second window enabled when it came, closed by
// the user's click, and the first closed by its own afterwards.
struct Seen {
  bool secondEnabled = false, secondAnswered = false, firstAnswered = false;
  bool operator==(const Seen&) const = default;
};

// Answers `window` as a user does, with one click (and, for the panel, one
// key); true when its form then hides or ends its modal loop (the loop of a
// window shown below another modal one ends when that one's does).
bool Answer(const Opening& window) {
  ui::TForm* form = window.form();
  const Sent click = testing_support::ClickWithMouse(window.answer());
  if (form == Form4) {
    EXPECT_TRUE(testing_support::TakesKeys(*Form4->MaskEdit1)) << click;
    testing_support::PressKey('X');
  }
  const bool answered =
      testing_support::ProcessUntil([&] { return !form->Visible() || form->ModalResult() != ui::mrNone; });
  EXPECT_TRUE(answered) << window.name << " " << click;
  return answered;
}

TEST_F(ModalTest, AWindowShownWhileAnotherIsModalTakesTheClickAndAllAreAsBeforeAfterwards) {
  for (const Opening* first : {&kOptions, &kAbout, &kNotice}) {
    for (const Opening* second : {&kNotice, &kPanel, &kAbout, &kOptions}) {
      SCOPED_TRACE(std::string(second->name) + " while " + first->name + " is modal");
      const auto before = EnabledStates();
      Seen seen;
      // Refused over a counting notice (they show nothing, and the notice
      // takes the click): their modal loops would hold its answer back.
      const bool refused = first == &kNotice && (second == &kAbout || second == &kOptions);
      // Runs inside the first window's modal loop, the second one's included.
      bool secondDone = false, shownThoughRefused = false;
      const Every driver(50, [&] {
        if (!first->form()->Visible()) return true;
        const Every answer(50, [&] {
          if (!second->form()->Visible()) return true;
          if (refused) {
            shownThoughRefused = true;
            second->form()->SetModalResult(ui::mrCancel);
            return false;
          }
          seen.secondEnabled = IsWindowEnabled(second->form()->Handle()) != FALSE;
          seen.secondAnswered = Answer(*second);
          secondDone = true;
          return false;
        });
        second->open();
        if (refused) {
          seen.secondEnabled = seen.secondAnswered = !shownThoughRefused && !second->form()->Visible();
          seen.firstAnswered = Answer(*first);
          return false;
        }
        testing_support::PumpUntil([&] { return secondDone && (second == first || !second->form()->Visible()); },
                                   20000, [] { ui::Application().ProcessMessages(); });
        seen.firstAnswered = second == first ? seen.secondAnswered : Answer(*first);
        // A failed click must not hold the suite: whatever is still open closes.
        for (ui::TForm* form : std::initializer_list<ui::TForm*>{Form1, Form2, Form3})
          form->SetModalResult(ui::mrCancel);
        return false;
      });
      first->open();
      EXPECT_EQ(seen, (Seen{true, true, true}))
          << "enabled " << seen.secondEnabled << ", answered " << seen.secondAnswered << ", first answered "
          << seen.firstAnswered;
      EXPECT_EQ(EnabledStates(), before);
      testing_support::ClosePanel();
    }
  }
}

}  // namespace
