// Down: the main window's creation sequence, its options and commands, the
// settings it loads and saves, the clock it hosts, and hiding and ending.
#include "app/Down.h"

#include <exception>

#include "app/DaysWindow.h"
#include "app/about.h"
#include "command/Handoff_win32.h"
#include "hotkeys/HotKeyManager.h"
#include "power/QuorinFunction.h"
#include "power/mymess.h"
#include "protection/Protection.h"
#include "ui/Application.h"

TForm1* Form1 = nullptr;
std::string CurrentPassword;
bool ForceFlag = false;

namespace {
// Broadcast when the notification area is made anew (Explorer restarted).
const UINT kTaskbarCreated = RegisterWindowMessageA("TaskbarCreated");

bool FileExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The settings a change of the time zone or its daylight-saving rules is
// broadcast under, beside WM_TIMECHANGE.
bool IsZoneChange(const char* area) { return lstrcmpiA(area, "intl") == 0 || lstrcmpiA(area, "TimeZone") == 0; }
}  // namespace

void TForm1::FormCreate(ui::TComponent&) {
  CurrentPassword.clear();
  TarvelTrayIcon1->SetActive(true);
  power::CheckSingleInstance();
  std::exception_ptr failure;
  try {
    LoadSettings();
  } catch (...) {
    failure = std::current_exception();
  }
  clock_.ServeCurrentMinute();
  if (failure) {
    // Nothing is written back and no hotkey registered; the error is shown.
    // What could be read is in the controls, and the window opens as "Main"
    // opens it once start-up is done, so Ok stores what it shows and
    // closing it leaves Dormix in the tray.
    MyHide();
    openOptionsAtStart_ = true;
    std::rethrow_exception(failure);
  }
  SaveSettings();
  MyHide();
  RegisterShortcuts();
  OptionsOpen = false;
  IntroduceOnce();
}

// A program hidden in the tray shows nothing when started, and a new icon
// may start in the overflow: the balloon says where it went. Once for the
// first start, recorded in a value of its own; again at each later start
// while it runs.
void TForm1::ShowWhereItRuns() {
  TarvelTrayIcon1->ShowBalloon("Dormix is running",
                               "Its icon is here in the notification area (or behind the arrow beside it). "
                               "Right-click it for the menu: Main opens the options.");
}

void TForm1::IntroduceOnce() {
  const std::unique_ptr<app::RegistryKey> key = app::LocalMachine().Open(app::kSettingsKey, true);
  if (!key || key->Read(app::kIntroducedValue)) return;
  ShowWhereItRuns();
  key->WriteString(app::kIntroducedValue, "1");
}

void TForm1::RegisterShortcuts() {
  HotKeyManager1->ClearHotKeys();
  for (const std::string& text : State.ShortcutTexts)
    HotKeyManager1->AddHotKey(hotkeys::TextToHotKey(text, true));
  ShowShortcutsInMenu();
}

void TForm1::ShowShortcutsInMenu() {
  for (int i = 0; i < app::kActionCount; ++i)
    ActionItems[i]->shortCut = hotkeys::TextToHotKey(State.ShortcutTexts[i], true) & 0xFFFF;
}

void TForm1::FormDestroy(ui::TComponent&) { power::ReleaseSingleInstance(); }

void TForm1::FormHide(ui::TComponent&) { MyHide(); }

void TForm1::FormClose(ui::TComponent&, ui::TCloseAction&) {
  OptionsOpen = false;
  app::SaveClosePosition(app::LocalMachine(), Gather());
}

void TForm1::MyHide() {
  ui::TApplication& app = ui::Application();
  app.SetShowMainForm(false);
  app.Minimize();
  ShowWindow(app.Handle(), SW_HIDE);
}

LRESULT TForm1::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  // The icon is Dormix's only presence on screen: put it back, as it is.
  if (msg == kTaskbarCreated && kTaskbarCreated) TarvelTrayIcon1->SetActive(true);
  // A countdown that fell due in sleep is missed at once, before the user is back.
  if (msg == WM_POWERBROADCAST && (wParam == PBT_APMRESUMEAUTOMATIC || wParam == PBT_APMRESUMESUSPEND))
    countdown_.Tick();
  // A clock time is aimed again at once when the clock or the zone changes.
  if (msg == WM_TIMECHANGE || (msg == WM_SETTINGCHANGE && lParam && IsZoneChange(reinterpret_cast<const char*>(lParam)))) {
    schedule::TimeChanged();
    countdown_.Tick();
  }
  if (msg == command::kStartedAgainMessage) ShowWhereItRuns();
  if (msg == WM_COPYDATA || msg == command::kRunActionMessage || msg == command::kNoticeOpenedMessage)
    return CommandMessage(msg, wParam, lParam);
  if (msg == WM_SETTINGCHANGE && lParam && lstrcmpiA(reinterpret_cast<const char*>(lParam), "Policy") == 0)
    PolicyChanged();
  return TForm::WndProc(msg, wParam, lParam);
}

// ---- Settings -------------------------------------------------------------

app::Settings TForm1::Gather() const {
  app::Settings s = State;
  const POINT at = Position();
  s.Left = at.x;
  s.Top = at.y;
  s.AutoStartChecked = CheckBox3->Checked();
  s.ForceActionChecked = CheckBox1->Checked();
  s.EndTime = MaskEdit1->Text();
  s.CurrentPassword = CurrentPassword;
  s.ShowMessageChecked = CheckBox4->Checked();
  s.MessageTime = Edit1->Text();
  s.PlaySoundChecked = CheckBox5->Checked();
  s.SoundFileName = Edit2->Text();
  return s;
}

// Fields a failed load left alone hold what was gathered, so putting them
// back changes nothing and runs no handler.
void TForm1::Apply(const app::Settings& s) {
  CheckBox2->SetChecked(s.RememberPosition);
  State.RememberPosition = s.RememberPosition;
  if (State.RememberPosition) SetPosition(s.Left, s.Top);
  CheckBox3->SetChecked(s.AutoStartChecked);
  CheckBox1->SetChecked(s.ForceActionChecked);
  State.ClockEnabled = s.ClockEnabled;
  clock_.ShowClockState();
  State.OperationCode = s.OperationCode;
  if (const app::Action* action = app::ActionOfCode(s.OperationCode))
    RadioButtons[action->code - 1]->SetChecked(true);
  MaskEdit1->SetText(s.EndTime);
  CurrentPassword = s.CurrentPassword;
  State.DamagedPassword = s.DamagedPassword;
  CheckBox4->SetChecked(s.ShowMessageChecked);
  Edit1->SetText(s.MessageTime);
  CheckBox5->SetChecked(s.PlaySoundChecked);
  Edit2->SetText(s.SoundFileName);
  State.ClockDays = s.ClockDays;
  State.ShortcutTexts = s.ShortcutTexts;
  State.Policies = s.Policies;
  ShowPolicies();
}

// A setting under a policy shows its value greyed, and so does the clock command.
void TForm1::ShowPolicies() {
  const auto free = [this](const char* name) { return !policy::PolicyFor(State.Policies, name); };
  MaskEdit1->SetEnabled(free("EndTime"));
  DaysButton->SetEnabled(free("Days"));
  for (ui::TRadioButton* radio : RadioButtons) radio->SetEnabled(free("Code"));
  CheckBox4->SetEnabled(free("ShowMessage"));
  Edit1->SetEnabled(free("MessageTime"));
  CheckBox1->SetEnabled(free("ForceAction"));
  CheckBox3->SetEnabled(free("AutoStart"));
  StopSystem1->enabled = free("Enabled");
  Label19->SetVisible(!State.Policies.empty());
}

// Read as a start reads them; over the options window, once it has closed.
void TForm1::PolicyChanged() {
  if (OptionsOpen) {
    policyChanged_ = true;
    return;
  }
  policyChanged_ = false;
  LoadSettings();
  SaveSettings();
}

void TForm1::LoadSettings() {
  app::Settings s = Gather();
  try {
    app::LoadSettings(app::LocalMachine(), s);
  } catch (...) {
    Apply(s);
    throw;
  }
  Apply(s);
  ShowShortcutsInMenu();
}

void TForm1::SaveSettings() {
  if (!app::SaveSettings(app::LocalMachine(), Gather(), app::ExecutablePath())) return;
  // Unticked, but the machine's entry stays: the box shows that it does.
  CheckBox3->SetChecked(true);
  ui::Application().ShowMessageBox(
      "Dormix still starts with Windows for every user of this computer. Only an administrator can switch that off.",
      {}, MB_OK | MB_ICONWARNING, Handle());
}

// The options window's fields may hold edits that its Ok has not checked and
// its Cancel must be able to undo.
void TForm1::SaveClockState() {
  if (OptionsOpen)
    app::SaveClockEnabled(app::LocalMachine(), State);
  else
    SaveSettings();
}

// ---- Options --------------------------------------------------------------

void TForm1::RadioButtonClick(ui::TComponent& sender) {
  for (std::size_t i = 0; i < RadioButtons.size(); ++i)
    if (RadioButtons[i] == &sender && RadioButtons[i]->Checked()) State.OperationCode = static_cast<int>(i) + 1;
}

void TForm1::CheckBox1Click(ui::TComponent&) { ForceFlag = CheckBox1->Checked(); }

void TForm1::CheckBox2Click(ui::TComponent&) { State.RememberPosition = CheckBox2->Checked(); }

void TForm1::Main1Click(ui::TComponent&) {
  // Chosen again from the tray while open: bring it forward, change nothing.
  if (Visible()) return Show();
  if (HeldByNotice(*Main1)) return;
  for (int i = 0; i < app::kActionCount; ++i) HotKeys[i]->SetHotKey(hotkeys::TextToHotKey(State.ShortcutTexts[i], true));
  for (ui::TMaskEdit* password : {MaskEdit2, MaskEdit3, MaskEdit4}) password->SetText("");
  // Global hotkeys do nothing while the window is open. Released, any
  // combination can be typed into a shortcut field, and two can be swapped;
  // the set in effect when the window closes is registered again.
  HotKeyManager1->ClearHotKeys();
  OptionsOpen = true;
  EnableWindowItems();
  clock_.ShowTime();
  Timer2->SetEnabled(true);
  try {
    ShowModal();
  } catch (...) {
    EndOptions();
    throw;
  }
  EndOptions();
}

void TForm1::EndOptions() {
  OptionsOpen = false;
  EnableWindowItems();
  Timer2->SetEnabled(false);
  RegisterShortcuts();
  if (policyChanged_) PolicyChanged();
}

void TForm1::OpenOptionsAfterFailedStart() {
  if (!openOptionsAtStart_) return;
  openOptionsAtStart_ = false;
  Main1->PostClick();
}

void TForm1::BitBtn1Click(ui::TComponent&) {
  std::array<unsigned, app::kActionCount> shortcuts;
  for (int i = 0; i < app::kActionCount; ++i) shortcuts[i] = HotKeys[i]->HotKey();
  const auto held = [this](const char* name) { return policy::PolicyFor(State.Policies, name) != nullptr; };
  if (const auto refusal = app::CheckOptions({MaskEdit1->Text(), held("EndTime"), CurrentPassword, MaskEdit2->Text(),
                                              MaskEdit3->Text(), MaskEdit4->Text(), Edit1->Text(), held("MessageTime"),
                                              CheckBox5->Checked(), Edit2->Text(), shortcuts},
                                             FileExists))
    return Refuse(*refusal);
  for (int i = 0; i < app::kActionCount; ++i) State.ShortcutTexts[i] = hotkeys::HotKeyToText(shortcuts[i], true);
  if (MaskEdit2->Text() == CurrentPassword && MaskEdit3->Text() == MaskEdit4->Text()) {
    CurrentPassword = MaskEdit3->Text();
    if (!CurrentPassword.empty()) State.DamagedPassword.clear();
  }
  SaveSettings();
  OptionsOpen = false;
  Close();
}

// One message box, then the field on its page with the focus: nothing is stored.
void TForm1::Refuse(const app::Refusal& refusal) {
  const struct {
    ui::TTabSheet* page;
    ui::TControl* field;
  } places[] = {{TabSheet4, MaskEdit1}, {TabSheet2, MaskEdit2},    {TabSheet2, MaskEdit4},
                {TabSheet3, HotKeys[refusal.action]}, {TabSheet5, Edit1}, {TabSheet5, Edit2}};
  const auto& place = places[refusal.field];
  PageControl1->SetActivePage(*place.page);
  ui::Application().ShowMessageBox(refusal.message, {}, MB_OK | MB_ICONWARNING, Handle());
  place.field->SetFocus();
  SendMessageA(place.field->Handle(), EM_SETSEL, 0, -1);
}

// The window closes also when the reload fails (a damaged stored password):
// closing a modal window only ends its loop, so it comes first, and the
// error then shows over the values that could be read.
void TForm1::BitBtn2Click(ui::TComponent&) {
  OptionsOpen = false;
  Close();
  LoadSettings();
}

void TForm1::Button1Click(ui::TComponent&) {
  if (OpenDialog1->Execute()) Edit2->SetText(OpenDialog1->fileName);
}

void TForm1::DaysButtonClick(ui::TComponent&) {
  if (!DaysWindow) ui::Application().CreateForm(DaysWindow);
  if (!DaysWindow) return;
  if (const std::optional<std::string> week = DaysWindow->Edit(State.ClockDays)) State.ClockDays = *week;
}

// ---- Commands -------------------------------------------------------------

void TForm1::Exit1Click(ui::TComponent&) { ui::Application().Terminate(); }

// Opened over the notice, a modal window would hold the notice's answer back
// until it closed: refused while the notice counts, and put off until the
// notice has closed once it has been answered.
bool TForm1::HeldByNotice(ui::TMenuItem& item) {
  if (!NoticeShown()) return false;
  if (Form2->ModalResult() == ui::mrNone)
    Form2->Show();
  else
    item.PostClick();
  return true;
}

void TForm1::EnableWindowItems() {
  Main1->enabled = About1->enabled = !noticeCounting_;
  Countdown1->enabled = !noticeCounting_ && !OptionsOpen;
}

void TForm1::About1Click(ui::TComponent&) {
  if (HeldByNotice(*About1)) return;
  if (!Form3->Visible()) Form3->ShowModal();
}

void TForm1::ActionClick(int action) { Run(app::Actions[action].routine, std::nullopt); }

void TForm1::Run(app::Routine routine, std::optional<bool> force) {
  const bool byForce = force.value_or(ForceFlag);
  RememberNoticeJob(routine, byForce);
  switch (routine) {
    case app::Routine::ShutDownSystem: return power::ShutDownSystem(byForce);
    case app::Routine::LogOffUser: return power::LogOffUser(byForce);
    case app::Routine::HibernateSystem: return power::HibernateSystem(byForce);
    case app::Routine::StandBySystem: return power::StandBySystem(byForce);
    case app::Routine::RestartSystem: return power::RestartSystem(byForce);
    case app::Routine::MonitorOff: return power::MonitorOff();
    case app::Routine::StartScreenSaver: return power::StartScreenSaver();
    case app::Routine::ShowProtectionPanel: return Form4->ShowPanel();
  }
}

void TForm1::HotKeyManager1HotKeyPressed(std::uint32_t hotKey, std::uint16_t) {
  if (OptionsOpen) return;
  for (int i : app::kHotKeyOrder) {
    if (hotKey != hotkeys::TextToHotKey(State.ShortcutTexts[i], true)) continue;
    Run(app::Actions[i].routine, std::nullopt);
    // The monitor's request is posted: held back about a second, it is
    // handled after the key that asked for it has been let go.
    if (app::Actions[i].routine == app::Routine::MonitorOff) Sleep(1000);
  }
}

// ---- The operation clock --------------------------------------------------

void TForm1::Timer1Timer(ui::TComponent&) {
  if (!countdown_.Caption().empty()) countdown_.Tick();
  clock_.Timer1Timer();
}
void TForm1::Timer2Timer(ui::TComponent&) { clock_.ShowTime(); }
void TForm1::Timer3Timer(ui::TComponent&) { clock_.Timer3Timer(); }
void TForm1::StopSystem1Click(ui::TComponent&) {
  if (StopSystem1->enabled) clock_.StopSystem1Click();
}

app::LocalMinute TForm1::Now() { return schedule::LocalTimeNow(); }

void TForm1::SetClockText(const std::string& text) { Label1->SetCaption(text); }
void TForm1::SetEnabledText(const std::string& text) { Label2->SetCaption(text); }
void TForm1::SetSideBarText(const std::string& text) { BarPopupMenu1->VerticalText = text; }
// Set on every tick, the tip changes once a minute at most: each change is a
// message to the shell's process and back, so an equal text is not sent.
void TForm1::SetTrayTip(const std::string& tip) {
  if (tip != TarvelTrayIcon1->Tip()) TarvelTrayIcon1->SetTip(tip);
}
void TForm1::SetTrayIconIndex(int index) { TarvelTrayIcon1->SetIconIndex(index); }
void TForm1::ActivateTrayIcon() { TarvelTrayIcon1->SetActive(true); }
bool TForm1::ClockItemChecked() { return StopSystem1->checked; }

void TForm1::SetClockItem(bool checked, const std::string& caption) {
  StopSystem1->checked = checked;
  StopSystem1->caption = caption;
}

std::string TForm1::SetTime() { return MaskEdit1->Text(); }
void TForm1::SetTimer1(bool enabled) { SetClockTimer(enabled); }
void TForm1::SetTimer3(bool enabled) { Timer3->SetEnabled(enabled); }
