// The "Countdown..." window: its design, its entries turned into command-line
// arguments, and its view of the pending countdown.
#include "countdown/CountdownWindow.h"

#include <algorithm>


namespace countdown {

TCountdownWindow* CountdownWindow = nullptr;

namespace {

const struct {
  const char* caption;
  const char* argument;  // its switch on the command line
  const char* hint;
} kWhen[kWhenCount] = {
    {"In", "/in", "like 45m or 1h30m"},
    {"At", "/at", "like 23:30"},
    {"When idle for", "/idle", "like 30m"},
    {"After program", "/after", ""},
    {"When quiet for", "/quiet", "like 10m"},
};

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
  SetBounds(CW_USEDEFAULT, CW_USEDEFAULT, 340, 252);
  auto label = [this](const char* name, int x, int y, const std::string& caption) {
    ui::TLabel& made = Make<ui::TLabel>(name, *this);
    made.SetBounds(x, y, 0, 0);
    made.SetAutoSize(true);
    made.SetCaption(caption);
    return &made;
  };
  // A field's name for screen readers, where the design shows none: a label
  // of no size just before it in z-order, where a reader looks.
  auto readerLabel = [this](const std::string& name, int x, int y, const std::string& caption) {
    ui::TLabel& made = Make<ui::TLabel>(name, *this);
    made.SetBounds(x, y, 0, 0);
    made.SetCaption(caption);
  };
  auto button = [this](const char* name, int x, int y, int width, const char* caption, int height = 25) {
    ui::TButton& made = Make<ui::TButton>(name, *this);
    made.SetBounds(x, y, width, height);
    made.SetCaption(caption);
    return &made;
  };
  ActionLabel = label("ActionLabel", 12, 15, "Action:");
  ActionBox = &Make<ui::TComboBox>("ActionBox", *this);
  ActionBox->SetBounds(130, 12, 150, 200);
  for (int i = 0; i < kWhenCount; ++i) {
    const int y = 44 + i * 28;
    const std::string n = std::to_string(i + 1);
    WhenButtons[i] = &Make<ui::TRadioButton>("WhenButton" + n, *this);
    WhenButtons[i]->SetBounds(12, y + 2, 114, 20);
    WhenButtons[i]->SetCaption(kWhen[i].caption);
    readerLabel("WhenName" + n, 130, y, kWhen[i].caption);
    WhenEdits[i] = &Make<ui::TEdit>("WhenEdit" + n, *this);
    WhenEdits[i]->SetBounds(130, y, 90, 22);
    WhenEdits[i]->SetMaxLength(260);
    WhenEdits[i]->OnKeyPress = [this](ui::TComponent& sender, char& key) { KeyPress(sender, key); };
    WhenHints[i] = label(("WhenHint" + n).c_str(), 228, y + 3, kWhen[i].hint);
  }
  WhenButtons[kIn]->SetChecked(true);
  readerLabel("ProgramName", 228, 44 + kAfter * 28, "Running programs");
  ProgramBox = &Make<ui::TComboBox>("ProgramBox", *this);
  ProgramBox->SetBounds(228, 44 + kAfter * 28, 100, 200);
  ProgramBox->OnChange = [this](ui::TComponent&) {
    const int picked = ProgramBox->ItemIndex();
    if (picked < 0 || picked >= static_cast<int>(programs_.size())) return;
    WhenEdits[kAfter]->SetText(programs_[picked]);
    WhenButtons[kAfter]->SetChecked(true);
  };
  Message = &Make<ui::TLabel>("Message", *this);
  Message->SetBounds(12, 184, 316, 30);
  PendingLabel = &Make<ui::TLabel>("PendingLabel", *this);
  PendingLabel->SetBounds(12, 12, 316, 64);
  LeftLabel = label("LeftLabel", 12, 96, "");
  StartButton = button("StartButton", 172, 218, 75, "Start");
  StartButton->OnClick = ui::Bind(this, &TCountdownWindow::StartClick);
  // A countdown's way out is the window's largest target.
  CancelButton = button("CancelButton", 12, 130, 154, "Cancel Countdown", 44);
  CancelButton->OnClick = [this](ui::TComponent&) { Send({"/cancel"}); };
  PostponeButton = button("PostponeButton", 174, 130, 154, "Postpone 10 min", 44);
  PostponeButton->OnClick = [this](ui::TComponent&) { Send({"/postpone"}); };
  CloseButton = button("CloseButton", 253, 218, 75, "Close");
  CloseButton->OnClick = [this](ui::TComponent&) { Close(); };
  RefreshTimer = &Make<ui::TTimer>("RefreshTimer");
  RefreshTimer->SetInterval(1000);
  RefreshTimer->SetEnabled(false);
  RefreshTimer->OnTimer = [this](ui::TComponent&) { Refresh(); };
  OnHide = [this](ui::TComponent&) { RefreshTimer->SetEnabled(false); };
}

void TCountdownWindow::Open(Links links) {
  links_ = std::move(links);
  const bool firstOpening = ActionBox->ItemIndex() < 0;
  ActionBox->SetItems(links_.actions, std::max(0, ActionBox->ItemIndex()));
  if (firstOpening && links_.loadChoices) TakeChoices(links_.loadChoices());
  programs_ = schedule::RunningPrograms();
  ProgramBox->SetItems(programs_, -1);
  Message->SetCaption("");
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
  for (ui::TControl* control : {static_cast<ui::TControl*>(ActionLabel), static_cast<ui::TControl*>(ActionBox),
                                static_cast<ui::TControl*>(ProgramBox), static_cast<ui::TControl*>(StartButton)})
    control->SetVisible(!pending);
  for (int i = 0; i < kWhenCount; ++i)
    for (ui::TControl* control : {static_cast<ui::TControl*>(WhenButtons[i]), static_cast<ui::TControl*>(WhenEdits[i]),
                                  static_cast<ui::TControl*>(WhenHints[i])})
      control->SetVisible(!pending);
  for (ui::TControl* control : {static_cast<ui::TControl*>(PendingLabel), static_cast<ui::TControl*>(LeftLabel),
                                static_cast<ui::TControl*>(CancelButton), static_cast<ui::TControl*>(PostponeButton)})
    control->SetVisible(pending);
}

When TCountdownWindow::Chosen() const {
  for (int i = 0; i < kWhenCount; ++i)
    if (WhenButtons[i]->Checked()) return static_cast<When>(i);
  return kIn;
}

void TCountdownWindow::StartClick(ui::TComponent&) {
  const int action = ActionBox->ItemIndex();
  if (action < 0 || action >= static_cast<int>(links_.switches.size())) return;
  const When when = Chosen();
  Send({"/" + links_.switches[action], kWhen[when].argument, WhenEdits[when]->Text()});
  if (Message->Caption().empty() && links_.saveChoices) links_.saveChoices(Choices());
}

void TCountdownWindow::Send(const std::vector<std::string>& arguments) {
  if (!links_.command) return;
  const Reply reply = links_.command(arguments);
  Message->SetCaption(reply.code ? reply.text : "");
  Refresh();
}

std::string TCountdownWindow::Choices() const {
  std::string choices = std::to_string(ActionBox->ItemIndex()) + "\n" + std::to_string(Chosen());
  for (const ui::TEdit* edit : WhenEdits) choices += "\n" + edit->Text();
  return choices;
}

// Anything that does not read as choices is left alone.
void TCountdownWindow::TakeChoices(const std::string& choices) {
  const std::vector<std::string> lines = Lines(choices);
  if (lines.size() != 2 + kWhenCount || lines[0].size() != 1 || lines[1].size() != 1) return;
  const int action = lines[0][0] - '0', when = lines[1][0] - '0';
  if (action < 0 || action >= static_cast<int>(links_.actions.size()) || when < 0 || when >= kWhenCount) return;
  ActionBox->SetItems(links_.actions, action);
  WhenButtons[when]->SetChecked(true);
  for (int i = 0; i < kWhenCount; ++i) WhenEdits[i]->SetText(lines[2 + i]);
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
    if (LOWORD(wParam) == IDCANCEL) Close();
    else if (!showingPending_) StartClick(*this);
    return 0;
  }
  return TForm::WndProc(msg, wParam, lParam);
}

}  // namespace countdown
