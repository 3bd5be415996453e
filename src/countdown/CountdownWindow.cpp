// The "Countdown..." window: its design, its entries turned into command-line
// arguments, and its view of the pending countdown.
#include "countdown/CountdownWindow.h"

#include <algorithm>

#include "command/Handoff_win32.h"
#include "ui/Application.h"
#include "ui/Font.h"
#include "ui/Scale.h"
#include "ui/Win32Handle.h"
#include "ui/Window.h"


namespace countdown {

TCountdownWindow* CountdownWindow = nullptr;

namespace {

const struct {
  const char* caption;
  const char* argument;  // its switch on the command line
  const char* hint;
} kWhen[kWhenCount] = {
    {"In", "/in", "like 45m or 1h30m"},
    {"At", "/at", ""},  // its day's box in place of a hint
    {"When idle for", "/idle", "like 30m"},
    {"After program", "/after", ""},
    {"When quiet for", "/quiet", "like 10m"},
};

// The rows of a program as the action, between the action's row and the
// rows of "when": the window is that much taller.
constexpr int kRunRows = 84;
const char* const kRunItem = "Run a program...";

int RowTop(int row) { return 44 + kRunRows + row * 28; }
// The error's label, its least height and the buttons below it, as designed.
constexpr int kMessageTop = 184 + kRunRows, kMessageWidth = 316, kMessageHeight = 30, kButtonsTop = 218 + kRunRows;
constexpr int kBottomMargin = 9;

// "1:05:09": the time left, hours not bounded.
std::string Clock(schedule::Seconds seconds) {
  auto two = [](schedule::Seconds n) { return std::string(n < 10 ? "0" : "") + std::to_string(n); };
  return std::to_string(seconds / 3600) + ":" + two(seconds % 3600 / 60) + ":" + two(seconds % 60);
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  for (std::size_t start = 0, end = 0; end != std::string::npos; start = end + 1)
    lines.push_back(text.substr(start, (end = text.find('\n', start)) - start));
  return lines;
}

}  // namespace

void TCountdownWindow::Design() {
  SetCaption("Countdown");
  SetBorderStyle(ui::TBorderStyle::bsDialog);
  SetBounds(CW_USEDEFAULT, CW_USEDEFAULT, 340, 252 + kRunRows);
  auto label = [this](const char* name, int x, int y, const std::string& caption) {
    ui::TLabel& made = Make<ui::TLabel>(name, *this);
    made.SetBounds(x, y, 0, 0);
    made.SetAutoSize(true);
    made.SetCaption(caption);
    return &made;
  };
  auto button = [this](const char* name, int x, int y, int width, const char* caption, int height = 25) {
    ui::TButton& made = Make<ui::TButton>(name, *this);
    made.SetBounds(x, y, width, height);
    made.SetCaption(caption);
    return &made;
  };
  // Made in tab order, which follows the screen: the action, the rows'
  // choices as one group the arrow keys move through, then their entries
  // from the top (the program list in its row), then the buttons.
  ActionLabel = label("ActionLabel", 12, 15, "Action:");
  ActionBox = &Make<ui::TComboBox>("ActionBox", *this);
  ActionBox->SetBounds(130, 12, 150, 200);
  ActionBox->OnChange = [this](ui::TComponent&) {
    SetMessage("");
    ShowRunRows();
    if (RunChosen() && ProgramEdit->Text().empty()) BrowseButton->Click();
  };
  DesignRunRows();
  for (int i = 0; i < kWhenCount; ++i) {
    WhenButtons[i] = &Make<ui::TRadioButton>("WhenButton" + std::to_string(i + 1), *this);
    WhenButtons[i]->SetBounds(12, RowTop(i) + 2, 114, 20);
    WhenButtons[i]->SetCaption(kWhen[i].caption);
    WhenButtons[i]->OnClick = [this](ui::TComponent&) { SetMessage(""); };
  }
  WhenButtons[0]->SetGroup(true);
  WhenButtons[kIn]->SetChecked(true);
  for (int i = 0; i < kWhenCount; ++i) {
    const std::string n = std::to_string(i + 1);
    // The first ends the choices' group, which the arrow keys go round.
    ui::ReaderLabel(*this, *this, "WhenName" + n, 130, RowTop(i), kWhen[i].caption).SetGroup(i == 0);
    WhenEdits[i] = &Make<ui::TEdit>("WhenEdit" + n, *this);
    WhenEdits[i]->SetBounds(130, RowTop(i), 90, 22);
    WhenEdits[i]->SetMaxLength(static_cast<int>(command::kLongestProgram));
    WhenEdits[i]->OnKeyPress = [this](ui::TComponent& sender, char& key) { KeyPress(sender, key); };
    WhenEdits[i]->OnChange = [this, i](ui::TComponent&) {
      if (Chosen() == i) SetMessage("");
    };
    WhenHints[i] = label(("WhenHint" + n).c_str(), 228, RowTop(i) + 3, kWhen[i].hint);
    if (i == kAt) {
      ui::ReaderLabel(*this, *this, "DayName", 228, RowTop(kAt), "Day");
      DayBox = &Make<ui::TComboBox>("DayBox", *this);
      DayBox->SetBounds(228, RowTop(kAt), 100, 300);
      DayBox->OnChange = [this](ui::TComponent&) { WhenButtons[kAt]->SetChecked(true); };
    }
    if (i == kAfter) {
      ui::ReaderLabel(*this, *this, "ProgramName", 228, RowTop(kAfter), "Running programs");
      ProgramBox = &Make<ui::TComboBox>("ProgramBox", *this);
      ProgramBox->SetBounds(228, RowTop(kAfter), 100, 200);
    }
  }
  ProgramBox->OnChange = [this](ui::TComponent&) {
    const int picked = ProgramBox->ItemIndex();
    if (picked < 0 || picked >= static_cast<int>(programs_.size())) return;
    WhenEdits[kAfter]->SetText(programs_[picked]);
    WhenButtons[kAfter]->SetChecked(true);
  };
  Message = &Make<ui::TLabel>("Message", *this);
  Message->SetBounds(12, kMessageTop, kMessageWidth, kMessageHeight);
  Message->SetBreakWords(true);  // a long program's name
  PendingLabel = &Make<ui::TLabel>("PendingLabel", *this);
  PendingLabel->SetBounds(12, 12, 316, 64);
  LeftLabel = label("LeftLabel", 12, 96, "");
  // A countdown's way out is the window's largest target.
  CancelButton = button("CancelButton", 12, 130, 154, "Cancel Countdown", 44);
  CancelButton->OnClick = [this](ui::TComponent&) { Send({"/cancel"}); };
  PostponeButton = button("PostponeButton", 174, 130, 154, "Postpone 10 min", 44);
  PostponeButton->OnClick = [this](ui::TComponent&) { Send({"/postpone"}); };
  StartButton = button("StartButton", 172, kButtonsTop, 75, "Start");
  StartButton->OnClick = ui::Bind(this, &TCountdownWindow::StartClick);
  CloseButton = button("CloseButton", 253, kButtonsTop, 75, "Close");
  CloseButton->OnClick = [this](ui::TComponent&) { Close(); };
  RefreshTimer = &Make<ui::TTimer>("RefreshTimer");
  RefreshTimer->SetInterval(1000);
  RefreshTimer->SetEnabled(false);
  RefreshTimer->OnTimer = [this](ui::TComponent&) { Refresh(); };
  OnHide = [this](ui::TComponent&) { RefreshTimer->SetEnabled(false); };
}

// The program's file, with a picker, its arguments, and the action after it.
void TCountdownWindow::DesignRunRows() {
  // Each field follows its label, which names it to screen readers.
  auto label = [this](const char* name, int row, const char* caption) {
    ui::TLabel& made = Make<ui::TLabel>(name, *this);
    made.SetBounds(12, 47 + row * 28, 0, 0);
    made.SetAutoSize(true);
    made.SetCaption(caption);
    return &made;
  };
  ProgramLabel = label("ProgramLabel", 0, "Program:");
  ProgramEdit = &Make<ui::TEdit>("ProgramEdit", *this);
  ProgramEdit->SetBounds(130, 44, 128, 22);
  ProgramEdit->SetMaxLength(static_cast<int>(command::kLongestProgram));
  BrowseButton = &Make<ui::TButton>("BrowseButton", *this);
  BrowseButton->SetBounds(264, 43, 64, 24);
  BrowseButton->SetCaption("Browse...");
  ProgramDialog = &Make<ui::TOpenDialog>("ProgramDialog");
  ProgramDialog->filter = "Programs and scripts|*.exe;*.com;*.bat;*.cmd;*.ps1;*.vbs;*.js|All files|*.*";
  BrowseButton->OnClick = [this](ui::TComponent&) {
    ProgramDialog->fileName = ProgramEdit->Text();
    if (ProgramDialog->Execute()) ProgramEdit->SetText(ProgramDialog->fileName);
  };
  ArgumentsLabel = label("ArgumentsLabel", 1, "Arguments:");
  ArgumentsEdit = &Make<ui::TEdit>("ArgumentsEdit", *this);
  ArgumentsEdit->SetBounds(130, 72, 198, 22);
  ArgumentsEdit->SetMaxLength(static_cast<int>(command::kLongestArguments));
  ThenLabel = label("ThenLabel", 2, "Then, once it ends:");
  ThenBox = &Make<ui::TComboBox>("ThenBox", *this);
  ThenBox->SetBounds(130, 100, 150, 200);
  for (ui::TEdit* edit : {ProgramEdit, ArgumentsEdit})
    edit->OnKeyPress = [this](ui::TComponent& sender, char& key) { KeyPress(sender, key); };
}

bool TCountdownWindow::RunChosen() const { return ActionBox->ItemIndex() == static_cast<int>(links_.actions.size()); }

void TCountdownWindow::ShowRunRows() {
  for (ui::TControl* control : {static_cast<ui::TControl*>(ProgramEdit), static_cast<ui::TControl*>(ArgumentsEdit),
                                static_cast<ui::TControl*>(BrowseButton), static_cast<ui::TControl*>(ThenBox)})
    control->SetEnabled(RunChosen());
}

// Weekdays and dates by the invariant locale: the names the captions use.
void TCountdownWindow::FillDays() {
  const std::string chosen = DayArgument();
  std::vector<std::string> items{"next time"};
  dayArguments_ = {""};
  SYSTEMTIME today;
  GetLocalTime(&today);
  FILETIME base;
  SystemTimeToFileTime(&today, &base);
  std::vector<SYSTEMTIME> days;
  for (ULONGLONG i = 0; i <= 30; ++i) {
    const ULONGLONG units = (ULONGLONG{base.dwHighDateTime} << 32 | base.dwLowDateTime) + i * 864000000000ULL;
    const FILETIME at{static_cast<DWORD>(units), static_cast<DWORD>(units >> 32)};
    SYSTEMTIME day;
    if (FileTimeToSystemTime(&at, &day)) days.push_back(day);
  }
  auto text = [](const SYSTEMTIME& day, const char* format) {
    char made[64] = {};
    GetDateFormatA(LOCALE_INVARIANT, 0, &day, format, made, sizeof made);
    return std::string(made);
  };
  // Monday first; a week of dates holds each weekday once.
  for (int weekday : {1, 2, 3, 4, 5, 6, 0})
    for (std::size_t i = 0; i < 7 && i < days.size(); ++i)
      if (days[i].wDayOfWeek == weekday) {
        items.push_back(text(days[i], "dddd"));
        dayArguments_.push_back(schedule::DayText({.weekday = weekday}));
      }
  for (const SYSTEMTIME& day : days) {
    items.push_back(text(day, "ddd d MMM"));
    dayArguments_.push_back(schedule::DayText({day.wYear, day.wMonth, day.wDay}));
  }
  DayBox->SetItems(items, 0);
  ChooseDay(chosen);
}

std::string TCountdownWindow::DayArgument() const {
  const int chosen = DayBox->ItemIndex();
  return chosen > 0 && chosen < static_cast<int>(dayArguments_.size()) ? dayArguments_[chosen] : "";
}

// A date gone by the time of this opening is today or tomorrow again.
void TCountdownWindow::ChooseDay(const std::string& argument) {
  const auto at = std::find(dayArguments_.begin(), dayArguments_.end(), argument);
  DayBox->SetItemIndex(at == dayArguments_.end() ? 0 : static_cast<int>(at - dayArguments_.begin()));
}

void TCountdownWindow::Open(Links links) {
  links_ = std::move(links);
  const bool firstOpening = ActionBox->ItemIndex() < 0;
  std::vector<std::string> items = links_.actions;
  items.push_back(kRunItem);
  ActionBox->SetItems(items, std::max(0, ActionBox->ItemIndex()));
  std::vector<std::string> then{"nothing more"};
  then.insert(then.end(), links_.actions.begin(), links_.actions.end());
  ThenBox->SetItems(then, std::max(0, ThenBox->ItemIndex()));
  FillDays();
  if (firstOpening && links_.loadChoices) TakeChoices(links_.loadChoices());
  // Dormix waits for no copy of itself: /after refuses it.
  ShowRunRows();
  programs_ = schedule::RunningPrograms();
  std::erase_if(programs_, command::NamesThisProgram);
  ProgramBox->SetItems(programs_, -1);
  SetMessage("");
  showingPending_ = !(links_.countdown && links_.countdown->State() != schedule::Phase::kNone);
  Refresh();
  // Centred on the monitor of the notification area, where it was asked for.
  const HWND tray = FindWindowA("Shell_TrayWnd", nullptr);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  RECT r;
  if (GetMonitorInfoA(tray ? MonitorFromWindow(tray, MONITOR_DEFAULTTOPRIMARY)
                           : MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY),
                      &monitor) &&
      GetWindowRect(Handle(), &r)) {
    const RECT& area = monitor.rcWork;
    SetPosition((area.left + area.right - (r.right - r.left)) / 2, (area.top + area.bottom - (r.bottom - r.top)) / 2);
  }
  RefreshTimer->SetEnabled(true);
  Show();
}

void TCountdownWindow::Refresh() {
  const schedule::Countdown* countdown = links_.countdown;
  const bool pending = countdown && countdown->State() != schedule::Phase::kNone;
  if (pending) {
    PendingLabel->SetCaption(countdown->Status());
    const std::optional<schedule::Seconds> left = countdown->Left();
    LeftLabel->SetCaption(left ? "Time left: " + Clock(*left) : "Waiting for the program to end.");
  }
  if (pending == showingPending_) return;
  showingPending_ = pending;
  // The focus on a control that hides goes to the view's first choice: the
  // way out of a pending countdown's view, or the action of a new one.
  const HWND focus = GetFocus();
  const bool focusHides = focus && IsChild(Handle(), focus);
  for (ui::TControl* control :
       {static_cast<ui::TControl*>(ActionLabel), static_cast<ui::TControl*>(ActionBox),
        static_cast<ui::TControl*>(ProgramBox), static_cast<ui::TControl*>(StartButton),
        static_cast<ui::TControl*>(DayBox), static_cast<ui::TControl*>(ProgramLabel),
        static_cast<ui::TControl*>(ArgumentsLabel), static_cast<ui::TControl*>(ThenLabel),
        static_cast<ui::TControl*>(ProgramEdit), static_cast<ui::TControl*>(ArgumentsEdit),
        static_cast<ui::TControl*>(BrowseButton), static_cast<ui::TControl*>(ThenBox)})
    control->SetVisible(!pending);
  for (int i = 0; i < kWhenCount; ++i)
    for (ui::TControl* control : {static_cast<ui::TControl*>(WhenButtons[i]), static_cast<ui::TControl*>(WhenEdits[i]),
                                  static_cast<ui::TControl*>(WhenHints[i])})
      control->SetVisible(!pending);
  for (ui::TControl* control : {static_cast<ui::TControl*>(PendingLabel), static_cast<ui::TControl*>(LeftLabel),
                                static_cast<ui::TControl*>(CancelButton), static_cast<ui::TControl*>(PostponeButton)})
    control->SetVisible(pending);
  if (focusHides && focus != CloseButton->Handle())
    (pending ? CloseButton : static_cast<ui::TControl*>(ActionBox))->SetFocus();
}

// Wrapped at the label's width, as tall as its lines; the buttons below it,
// and the window, follow.
void TCountdownWindow::SetMessage(const std::string& text) {
  if (text == Message->Caption()) return;
  Message->SetCaption(text);
  // Measured in pixels at the window's dpi, laid out in the design's units.
  const int dpi = Dpi();
  RECT box{0, 0, ui::Scaled(kMessageWidth, dpi), 0};
  if (!text.empty()) {
    const ui::WindowDC screen(nullptr);
    const ui::SelectedObject font(screen.get(), ui::FontHandle(Message->Font(), dpi));
    const std::wstring wide = ui::Wide(text);
    DrawTextW(screen.get(), wide.c_str(), static_cast<int>(wide.size()), &box,
              DT_CALCRECT | DT_WORDBREAK | DT_EDITCONTROL | DT_EXPANDTABS | DT_NOPREFIX);
  }
  const int height = std::max<int>(kMessageHeight, MulDiv(box.bottom, ui::kDesignDpi, dpi) + 1);
  const int buttonsTop = kButtonsTop + height - kMessageHeight;
  Message->SetBounds(12, kMessageTop, kMessageWidth, height);
  StartButton->SetBounds(172, buttonsTop, 75, 25);
  CloseButton->SetBounds(253, buttonsTop, 75, 25);
  SetClientHeight(buttonsTop + 25 + kBottomMargin);
}

When TCountdownWindow::Chosen() const {
  for (int i = 0; i < kWhenCount; ++i)
    if (WhenButtons[i]->Checked()) return static_cast<When>(i);
  return kIn;
}

void TCountdownWindow::StartClick(ui::TComponent&) {
  const int action = ActionBox->ItemIndex(), then = ThenBox->ItemIndex();
  if (action < 0 || action > static_cast<int>(links_.switches.size())) return;
  const When when = Chosen();
  std::vector<std::string> arguments;
  if (RunChosen()) {
    arguments = {"/run", ProgramEdit->Text()};
    if (!ArgumentsEdit->Text().empty()) arguments.insert(arguments.end(), {"/args", ArgumentsEdit->Text()});
    if (then > 0 && then <= static_cast<int>(links_.switches.size()))
      arguments.insert(arguments.end(), {"/then", links_.switches[then - 1]});
  } else {
    arguments = {"/" + links_.switches[action]};
  }
  arguments.insert(arguments.end(), {kWhen[when].argument, WhenEdits[when]->Text()});
  if (when == kAt && !DayArgument().empty()) arguments.insert(arguments.end(), {"/on", DayArgument()});
  Send(arguments);
  if (Message->Caption().empty()) {
    if (links_.saveChoices) links_.saveChoices(Choices());
    return;
  }
  // The entry the error is about, ready to be typed over.
  WhenEdits[when]->SetFocus();
  SendMessageA(WhenEdits[when]->Handle(), EM_SETSEL, 0, -1);
}

void TCountdownWindow::Send(const std::vector<std::string>& arguments) {
  if (!links_.command) return;
  const Reply reply = links_.command(arguments);
  SetMessage(reply.code ? reply.text : "");
  Refresh();
}

std::string TCountdownWindow::Choices() const {
  std::string choices = std::to_string(ActionBox->ItemIndex()) + "\n" + std::to_string(Chosen());
  for (const ui::TEdit* edit : WhenEdits) choices += "\n" + edit->Text();
  return choices + "\n" + DayArgument() + "\n" + ProgramEdit->Text() + "\n" + ArgumentsEdit->Text() + "\n" +
         std::to_string(std::max(0, ThenBox->ItemIndex()));
}

// Anything that does not read as choices is left alone.
void TCountdownWindow::TakeChoices(const std::string& choices) {
  // Those of a version without the day and the program, or with them.
  const std::vector<std::string> lines = Lines(choices);
  const std::size_t whens = 2 + kWhenCount, all = whens + 4;
  if ((lines.size() != whens && lines.size() != all) || lines[0].size() != 1 || lines[1].size() != 1) return;
  const int action = lines[0][0] - '0', when = lines[1][0] - '0';
  if (action < 0 || action > static_cast<int>(links_.actions.size()) || when < 0 || when >= kWhenCount) return;
  ActionBox->SetItemIndex(action);
  WhenButtons[when]->SetChecked(true);
  for (int i = 0; i < kWhenCount; ++i) WhenEdits[i]->SetText(lines[2 + i]);
  if (lines.size() != all) return;
  ChooseDay(lines[whens]);
  ProgramEdit->SetText(lines[whens + 1]);
  ArgumentsEdit->SetText(lines[whens + 2]);
  const int then = lines[whens + 3].size() == 1 ? lines[whens + 3][0] - '0' : 0;
  ThenBox->SetItemIndex(then >= 0 && then <= static_cast<int>(links_.actions.size()) ? then : 0);
}

// Enter starts, Esc closes, from any entry.
void TCountdownWindow::KeyPress(ui::TComponent& sender, char& key) {
  if (key != '\r' && key != '\x1b') {
    for (int i = 0; i < kWhenCount; ++i)
      if (&sender == WhenEdits[i]) WhenButtons[i]->SetChecked(true);
    return;
  }
  if (key == '\r') StartClick(*this);
  else Close();
  key = 0;
}

// The dialog keys from a box or a radio button: Enter starts, Esc closes.
LRESULT TCountdownWindow::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_COMMAND && lParam == 0 && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
    if (!ui::Application().TakeDialogKey()) return 0;
    if (LOWORD(wParam) == IDCANCEL) Close();
    else if (!showingPending_) StartClick(*this);
    return 0;
  }
  return TForm::WndProc(msg, wParam, lParam);
}

}  // namespace countdown
