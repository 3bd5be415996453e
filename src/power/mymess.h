// mymess: the pre-operation notice TForm2, a countdown window that asks
// before a session-ending action; beside Ok and Cancel, Postpone.
#pragma once
#include <cstdint>
#include <functional>

#include "ui/Controls.h"
#include "ui/Form.h"
#include "ui/Timer.h"

class TForm2 : public ui::TForm {
 public:
  using TForm::TForm;

  // Switches the countdown on, its clocks read from now.
  void StartCount();
  void Timer1Timer(ui::TComponent& sender);
  void FormClose(ui::TComponent& sender, ui::TCloseAction& action);

  ui::TImage* Image1;
  ui::TLabel* Label1;
  ui::TButton *Button1, *Button2, *Button3;
  ui::TTimer* Timer1;
  // Stops the notice's sound when "Play Sound" is ticked; set by the program.
  std::function<void()> stopSound;
  // Button3, Postpone: the program closes the notice with no action now and
  // makes its action a countdown. Set by the program.
  std::function<void()> postpone;
  // The count was cut by a sleep that carried it past its zero by more than
  // a minute: the notice has closed with Cancel. Set by the program.
  std::function<void()> missed;
  // Answered with Ok, or the count reached zero. Set by the program.
  std::function<void()> answered;

 private:
  std::int64_t lastTicks_ = 0, lastAwake_ = 0;

 protected:
  const char* ClassName() const override { return "TForm2"; }
  void Design() override;
};

extern TForm2* Form2;
