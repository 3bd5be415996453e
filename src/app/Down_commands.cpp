// Down: the main window as the host of the command line and of the one-off
// countdown. What a command answers is decided in command/Handoff; here are
// the countdown's and the notice's calls it makes, the menu's items that
// cancel and postpone the countdown, and the notice's Postpone, which makes
// its action the countdown.
#include "app/Down.h"
#include "command/Handoff_win32.h"
#include "power/Notice.h"
#include "power/mymess.h"
#include "ui/Error.h"

namespace {
schedule::Job JobOf(int action, std::optional<bool> force) { return {action, app::Actions[action].caption, force}; }
}  // namespace

command::Situation TForm1::CommandHost::Now() {
  const bool shown = form_.NoticeShown();
  return {form_.countdown_.Caption(), form_.countdown_.State() == schedule::Phase::kNotice,
          !shown                                  ? command::NoticeState::None
          : Form2->ModalResult() == ui::mrNone ? command::NoticeState::Counting
                                                  : command::NoticeState::Answered,
          power::NoticeOperation, form_.CheckBox4->Checked()};
}

void TForm1::CommandHost::Cancel() { form_.countdown_.Cancel(); }
void TForm1::CommandHost::Postpone(std::int64_t seconds) { form_.countdown_.Postpone(seconds); }
void TForm1::CommandHost::PostponeNotice(std::int64_t seconds) { form_.PostponeNotice(seconds); }
std::string TForm1::CommandHost::Caption() { return form_.countdown_.Caption(); }
std::string TForm1::CommandHost::CountdownStatus() { return form_.countdown_.Status(); }
std::string TForm1::CommandHost::ClockStatus() { return form_.clock_.Status(); }
void TForm1::CommandHost::PostRun() { PostMessageA(form_.Handle(), command::kRunActionMessage, 0, 0); }
void TForm1::CommandHost::Run(const command::Command& c) { form_.Run(app::Actions[c.action].routine, c.force); }
void TForm1::CommandHost::Reply(command::Sender sender, const command::Answer& answer) {
  command::Reply(sender, answer);
}

std::optional<std::string> TForm1::CommandHost::Start(const command::Command& c) {
  schedule::Countdown& countdown = form_.countdown_;
  const schedule::Job job = JobOf(c.action, c.force);
  switch (c.when) {
    case command::Command::When::In: countdown.StartIn(job, c.seconds); break;
    case command::Command::When::At: countdown.StartAt(job, c.minuteOfDay); break;
    case command::Command::When::Idle: countdown.StartIdle(job, c.seconds); break;
    case command::Command::When::Quiet: countdown.StartQuiet(job, c.seconds, c.limits, form_.LoadSource()); break;
    case command::Command::When::After: {
      const bool byId = schedule::IsProcessId(c.program);
      std::unique_ptr<schedule::Programs> programs = schedule::WatchPrograms(command::ProgramNames(c.program));
      if (!programs)
        return byId ? "No process " + c.program + " is running." : "No program " + command::Quoted(c.program) + " is running.";
      countdown.StartAfter(job, std::move(programs), byId ? "process " + c.program : c.program);
      break;
    }
    case command::Command::When::Now: break;
  }
  return std::nullopt;
}

void TForm1::PostponeNotice(schedule::Seconds span) {
  if (Form2->ModalResult() == ui::mrNone && countdown_.PostponeJob(noticeJob_, span)) AnswerNoticeWithCancel();
}

void TForm1::NoticeOpening() { PostMessageA(Handle(), command::kNoticeOpenedMessage, 0, 0); }

LRESULT TForm1::CommandMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_COPYDATA) return command::ReceiveCommand(wParam, lParam, handoff_, app::CommandVerbs());
  if (msg == command::kNoticeOpenedMessage)
    handoff_.NoticeOpened();
  else
    handoff_.RunHeld();
  return 0;
}

void TForm1::CancelCountdown1Click(ui::TComponent&) { countdown_.Cancel(); }
void TForm1::PostponeCountdown1Click(ui::TComponent&) { countdown_.Postpone(command::kDefaultPostpone); }
void TForm1::CountdownTimerTimer(ui::TComponent&) { countdown_.Tick(); }
void TForm1::SetClockTimer(bool enabled) {
  Timer1->SetEnabled(enabled);
  CountdownTimer->SetEnabled(!enabled && !countdown_.Caption().empty());
}

// The error box that follows does not say what was called off: the balloon does.
void TForm1::RunJob(const schedule::Job& job) {
  const std::string caption = countdown_.Caption();
  try {
    Run(app::Actions[job.action].routine, job.force);
  } catch (const std::exception& error) {
    TarvelTrayIcon1->ShowBalloon("Dormix", caption + " was not carried out: " + error.what());
    throw;
  }
}

void TForm1::RememberNoticeJob(app::Routine routine, bool byForce) {
  if (!app::AsksFirst(routine) || NoticeShown()) return;
  for (int i = 0; i < app::kActionCount; ++i)
    if (app::Actions[i].routine == routine) noticeJob_ = JobOf(i, byForce);
  Form2->Button3->SetEnabled(countdown_.MayPostpone());
}
bool TForm1::NoticeShown() { return Form2->Visible(); }

bool TForm1::CancelNotice() {
  if (Form2->ModalResult() != ui::mrNone) return false;
  AnswerNoticeWithCancel();
  return true;
}

// The modal loop looks at the answer once a message has come.
void TForm1::AnswerNoticeWithCancel() {
  Form2->SetModalResult(ui::mrCancel);
  PostMessageA(Form2->Handle(), WM_NULL, 0, 0);
}

void TForm1::ShowCaption(const std::string& caption) {
  CancelCountdown1->caption = caption.empty() ? caption : "Cancel " + caption;
  CancelCountdown1->visible = PostponeCountdown1->visible = !caption.empty();
  Form2->Button3->SetEnabled(countdown_.MayPostpone());
  CountdownTimer->SetEnabled(!caption.empty() && !Timer1->Enabled());
  clock_.ShowTip();
}

void TForm1::ReportMissed(const std::string& text) { TarvelTrayIcon1->ShowBalloon("Dormix", text); }
