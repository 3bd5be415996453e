// The "Days..." window of the options window's Operation Clock page: a row
// for each day from Monday to Sunday, a check box (the clock fires that day)
// and a time edit (the day's own time; left blank, Op. Time's). Ok checks
// each ticked day's time as Op. Time is checked and hands the week back:
// nothing is stored here, the options window's Ok stores it. Made at its
// first opening.
#pragma once
#include <array>
#include <optional>
#include <string>

#include "schedule/WeekPlan.h"
#include "ui/Controls.h"
#include "ui/Form.h"

class TDaysWindow : public ui::TForm {
 public:
  using TForm::TForm;
  // Shows `week` (a stored form; one that is no week as Op. Time every day)
  // modally; the week's stored form when closed with Ok, else nothing.
  std::optional<std::string> Edit(const std::string& week);

  ui::TLabel* Hint;
  std::array<ui::TCheckBox*, schedule::kWeekDays> DayBoxes;
  std::array<ui::TMaskEdit*, schedule::kWeekDays> DayTimes;
  ui::TButton *OkButton, *CancelButton;

  void OkButtonClick(ui::TComponent& sender);

 protected:
  const char* ClassName() const override { return "TDaysWindow"; }
  void Design() override;

 private:
  std::string week_;  // what Ok took
};

extern TDaysWindow* DaysWindow;
