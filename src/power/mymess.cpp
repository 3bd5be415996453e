// mymess: the countdown of the pre-operation notice.
#include "power/mymess.h"

#include <cstdint>
#include <string>
#include <utility>

#include "power/Notice.h"
#include "art/Artwork.h"
#include "schedule/Countdown.h"

TForm2* Form2 = nullptr;

void TForm2::Design() {
  SetCaption("Operation form...");
  SetBorderStyle(ui::TBorderStyle::bsDialog);
  SetStayOnTop(true);
  SetColor(ui::clWhite);
  // 348, not 303: the longest countdown line ("The Shut Down operation will
  // start in: 9999 sec.", the longest count the options take) ends at 344 in
  // the font "MS Sans Serif" renders in.
  SetBounds(483, 201, 348, 68);
  OnClose = ui::Bind(this, &TForm2::FormClose);

  Image1 = &Make<ui::TImage>("Image1", *this);
  Image1->SetBounds(5, 3, 64, 64);
  Image1->SetFit(ui::TImageFit::Stretch);
  Image1->SetPainter(&art::PowerSymbol);
  Label1 = &Make<ui::TLabel>("Label1", *this);
  Label1->SetBounds(72, 8, 0, 0);
  Label1->SetAutoSize(true);
  Label1->SetCaption("Operation...");
  // Cancel first in the tab order, so it holds the focus when the window opens.
  Button1 = &Make<ui::TButton>("Button1", *this);
  Button1->SetBounds(224, 40, 75, 25);
  Button1->SetCaption("Cancel");
  Button1->SetModalResult(ui::mrCancel);
  Button2 = &Make<ui::TButton>("Button2", *this);
  Button2->SetBounds(144, 40, 75, 25);
  Button2->SetCaption("Ok");
  Button2->SetModalResult(ui::mrOk);
  Button2->OnClick = [this](ui::TComponent&) {
    if (answered) answered();
  };
  // Answers as Cancel does, through the program, which also sets the
  // countdown: to every caller of the notice it is a Cancel.
  Button3 = &Make<ui::TButton>("Button3", *this);
  Button3->SetBounds(72, 40, 68, 25);
  Button3->SetCaption("Postpone");
  Button3->OnClick = [this](ui::TComponent&) {
    if (postpone) postpone();
  };
  Timer1 = &Make<ui::TTimer>("Timer1");
  Timer1->SetEnabled(false);
  Timer1->OnTimer = ui::Bind(this, &TForm2::Timer1Timer);
}

void TForm2::StartCount() {
  schedule::TimeBase& clocks = schedule::SystemTimeBase();
  lastTicks_ = clocks.Ticks(), lastAwake_ = clocks.AwakeTicks();
  Timer1->SetEnabled(true);
}

// A count below zero runs on until the user answers; at the lowest int it
// stays there rather than overflow. A sleep counts: the notice shows the
// real time left, and one that slept well past its zero acts on nothing.
void TForm2::Timer1Timer(ui::TComponent&) {
  // Answered while a window opened above it held its modal loop: the
  // answer stands, and the count goes no further.
  if (ModalResult() != ui::mrNone) return;
  schedule::TimeBase& clocks = schedule::SystemTimeBase();
  const std::int64_t ticks = clocks.Ticks(), awake = clocks.AwakeTicks();
  const std::int64_t slept = (ticks - std::exchange(lastTicks_, ticks)) - (awake - std::exchange(lastAwake_, awake));
  const power::NoticeTick tick = power::CountNotice(slept);
  Label1->SetCaption("The " + power::NoticeOperation + " operation will start in: " +
                     std::to_string(power::NoticeCount) + " sec.");
  SetCaption(power::NoticeOperation + " Operation...");
  if (tick == power::NoticeTick::kCounting) return;
  // A menu opened over the notice holds the modal loop that would see the
  // answer: the end of the count ends it.
  EndMenu();
  Close();
  if (tick == power::NoticeTick::kZero) {
    if (answered) answered();
    return SetModalResult(ui::mrOk);
  }
  if (missed) missed();
}

void TForm2::FormClose(ui::TComponent&, ui::TCloseAction&) {
  Timer1->SetEnabled(false);
  if (stopSound) stopSound();
}
