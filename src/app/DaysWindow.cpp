// The "Days..." window: its design, and the week in and out of its rows.
#include "app/DaysWindow.h"

#include "app/OptionChecks.h"
#include "ui/Application.h"

TDaysWindow* DaysWindow = nullptr;

namespace {

// The time edits' text with nothing typed.
const std::string kBlankTime = "  :  ";

bool Blank(const std::string& text) { return text.find_first_not_of(" :") == std::string::npos; }

}  // namespace

void TDaysWindow::Design() {
  SetCaption("Days");
  SetBorderStyle(ui::TBorderStyle::bsDialog);
  SetBounds(CW_USEDEFAULT, CW_USEDEFAULT, 236, 292);
  // Two lines, wrapped by the label.
  Hint = &Make<ui::TLabel>("Hint", *this);
  Hint->SetBounds(12, 10, 212, 30);
  Hint->SetCaption("Untick a day to skip it. A day with no time of its own comes at Op. Time.");
  for (int day = 0; day < schedule::kWeekDays; ++day) {
    const int y = 48 + day * 28;
    const std::string n = std::to_string(day + 1);
    DayBoxes[day] = &Make<ui::TCheckBox>("DayBox" + n, *this);
    DayBoxes[day]->SetBounds(12, y + 2, 110, 18);
    DayBoxes[day]->SetCaption(schedule::kDayNames[day]);
    ui::ReaderLabel(*this, *this, "DayName" + n, 130, y, std::string(schedule::kDayNames[day]) + " time");
    DayTimes[day] = &Make<ui::TMaskEdit>("DayTime" + n, *this);
    DayTimes[day]->SetBounds(130, y, 50, 22);
    DayTimes[day]->SetEditMask("!90:00;1;_");
    DayTimes[day]->SetText(kBlankTime);
    DayBoxes[day]->OnClick = [this, day](ui::TComponent&) { DayTimes[day]->SetEnabled(DayBoxes[day]->Checked()); };
    // Enter is Ok, Esc Cancel, from any time.
    DayTimes[day]->OnKeyPress = [this](ui::TComponent&, char& key) {
      if (key == '\r') OkButtonClick(*this);
      if (key == '\x1b') SetModalResult(ui::mrCancel);
      if (key == '\r' || key == '\x1b') key = 0;
    };
  }
  OkButton = &Make<ui::TButton>("OkButton", *this);
  OkButton->SetBounds(68, 255, 75, 25);
  OkButton->SetCaption("Ok");
  OkButton->OnClick = ui::Bind(this, &TDaysWindow::OkButtonClick);
  CancelButton = &Make<ui::TButton>("CancelButton", *this);
  CancelButton->SetBounds(149, 255, 75, 25);
  CancelButton->SetCaption("Cancel");
  CancelButton->SetModalResult(ui::mrCancel);
}

std::optional<std::string> TDaysWindow::Edit(const std::string& week) {
  const schedule::Week days = schedule::ParseWeek(week).value_or(schedule::Week{});
  for (int day = 0; day < schedule::kWeekDays; ++day) {
    DayBoxes[day]->SetChecked(days[day].kind != schedule::WeekDay::kOff);
    DayTimes[day]->SetEnabled(days[day].kind != schedule::WeekDay::kOff);
    DayTimes[day]->SetText(days[day].kind == schedule::WeekDay::kOwn
                               ? schedule::TimeText({days[day].minute / 60, days[day].minute % 60})
                               : kBlankTime);
  }
  if (ShowModal() != ui::mrOk) return std::nullopt;
  return week_;
}

// The first ticked day whose time cannot fire is refused as Op. Time is,
// with the focus on it.
void TDaysWindow::OkButtonClick(ui::TComponent&) {
  schedule::Week days;
  for (int day = 0; day < schedule::kWeekDays; ++day) {
    const std::string text = DayTimes[day]->Text();
    if (!DayBoxes[day]->Checked()) {
      days[day].kind = schedule::WeekDay::kOff;
    } else if (const std::optional<int> minute = schedule::SetTimeMinute(text)) {
      days[day] = {schedule::WeekDay::kOwn, *minute};
    } else if (!Blank(text)) {
      ui::Application().ShowMessageBox(*app::CheckClockTime(schedule::kDayNames[day], text), {},
                                       MB_OK | MB_ICONWARNING, Handle());
      DayTimes[day]->SetFocus();
      SendMessageA(DayTimes[day]->Handle(), EM_SETSEL, 0, -1);
      return;
    }
  }
  week_ = schedule::WeekText(days);
  SetModalResult(ui::mrOk);
}
