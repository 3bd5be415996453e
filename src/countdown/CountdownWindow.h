// The "Countdown..." window: sets the one-off countdown as the command line
// does (an action, and when: in a span, at a time, when idle, after a
// program, when quiet), by handing the same arguments to the same parser and
// the same serving routine, so that its entries are checked, and refused
// with the same one-line messages, as a console's are. While a countdown is
// pending it shows that one instead, with the time left, and cancels or
// postpones it the same way. It is made at its first opening.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "schedule/Countdown.h"
#include "ui/Controls.h"
#include "ui/Dialogs.h"
#include "ui/Form.h"
#include "ui/Timer.h"

namespace countdown {

// A command's answer: 0 done, else refused; and the one line that says so.
struct Reply {
  int code = 0;
  std::string text;
};

// What the window works with, given at each opening.
struct Links {
  const schedule::Countdown* countdown = nullptr;
  // The actions by their menu names, and their switches ("shutdown").
  std::vector<std::string> actions, switches;
  // Parses arguments as the command line's and serves the command.
  std::function<Reply(const std::vector<std::string>&)> command;
  // The last choices, kept between openings (and runs) by the caller.
  std::function<std::string()> loadChoices;
  std::function<void(const std::string&)> saveChoices;
};

// The choices of "when", in the order of the window's rows.
enum When { kIn, kAt, kIdle, kAfter, kQuiet, kWhenCount };

class TCountdownWindow : public ui::TForm {
 public:
  using TForm::TForm;
  // Shows the window on the tray's monitor, on the pending countdown if any.
  void Open(Links links);

  ui::TLabel* ActionLabel;
  ui::TComboBox* ActionBox;
  ui::TRadioButton* WhenButtons[kWhenCount];
  ui::TEdit* WhenEdits[kWhenCount];
  ui::TLabel* WhenHints[kWhenCount];
  ui::TComboBox* ProgramBox;  // running programs: a pick goes into the "after" entry
  // "At"'s day: the next time (today or tomorrow), a weekday, or one of the next 31 dates.
  ui::TComboBox* DayBox;
  // The action "Run a program...", the last of ActionBox: its file (with a
  // picker), arguments and the action after its end.
  ui::TLabel *ProgramLabel, *ArgumentsLabel, *ThenLabel;
  ui::TEdit *ProgramEdit, *ArgumentsEdit;
  ui::TButton* BrowseButton;
  ui::TComboBox* ThenBox;
  ui::TOpenDialog* ProgramDialog;
  ui::TLabel* Message;        // what is wrong with the entries
  ui::TLabel *PendingLabel, *LeftLabel;
  ui::TButton *StartButton, *CancelButton, *PostponeButton, *CloseButton;
  ui::TTimer* RefreshTimer;

  void StartClick(ui::TComponent& sender);

 protected:
  const char* ClassName() const override { return "TCountdownWindow"; }
  void Design() override;
  LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  // The entries, or the pending countdown, as things stand now.
  void Refresh();
  void Send(const std::vector<std::string>& arguments);
  // What is wrong with the entries, or "" for nothing.
  void SetMessage(const std::string& text);
  std::string Choices() const;
  void TakeChoices(const std::string& choices);
  When Chosen() const;
  void KeyPress(ui::TComponent& sender, char& key);
  // The program's rows, in use while "Run a program..." is the action.
  bool RunChosen() const;
  void ShowRunRows();
  void DesignRunRows();
  // The day's choices from today on, and the "/on" argument of each ("" for none).
  void FillDays();
  std::string DayArgument() const;
  void ChooseDay(const std::string& argument);
  std::vector<std::string> dayArguments_;

  Links links_;
  std::vector<std::string> programs_;
  bool showingPending_ = false;
};

extern TCountdownWindow* CountdownWindow;

}  // namespace countdown
