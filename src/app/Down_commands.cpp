// Down: the main window as the host of the command line and of the one-off
// countdown. What a command answers is decided in command/Handoff; here are
// the countdown's and the notice's calls it makes, the menu's items that
// cancel and postpone the countdown, and the notice's Postpone, which makes
// its action the countdown.
#include "app/Down.h"
#include "command/Handoff_win32.h"
#include "command/RunTrust.h"
#include "power/Notice.h"
#include "power/mymess.h"
#include "program/Program.h"
#include "ui/Error.h"

namespace {
schedule::Job JobOf(int action, std::optional<bool> force) { return {action, app::Actions[action].caption, force}; }

// A program as the job, found where the command names it, and the action after it.
schedule::Job JobOf(const command::Command& c, const std::string& program) {
  schedule::Job job{c.action, program::RunName(program), c.force};
  job.run = *c.run;
  job.run->program = program;
  if (c.action >= 0) job.follows = "then " + std::string(app::Actions[c.action].caption);
  return job;
}

// The notice's name for a program: its file's, short enough for the notice's line.
std::string NoticeName(const std::string& program) {
  std::string name = program::FileName(program);
  name = name.substr(0, name.rfind('.'));
  return name.size() <= 9 ? name : name.substr(0, 8) + "...";
}
}  // namespace

command::Situation TForm1::CommandHost::Now() {
  const bool shown = form_.NoticeShown();
  const std::string* force = policy::PolicyFor(form_.State.Policies, "ForceAction");
  return {form_.countdown_.Caption(), form_.countdown_.State() == schedule::Phase::kNotice,
          !shown                                  ? command::NoticeState::None
          : Form2->ModalResult() == ui::mrNone ? command::NoticeState::Counting
                                                  : command::NoticeState::Answered,
          power::NoticeOperation, form_.CheckBox4->Checked(),
          force ? std::optional<bool>(*force != "0") : std::nullopt};
}

bool TForm1::CommandHost::Cancel() { return form_.countdown_.Cancel(); }
bool TForm1::CommandHost::Postpone(std::int64_t seconds) { return form_.countdown_.Postpone(seconds); }
bool TForm1::CommandHost::PostponeNotice(std::int64_t seconds) { return form_.PostponeNotice(seconds); }
std::string TForm1::CommandHost::Caption() { return form_.countdown_.Caption(); }
std::string TForm1::CommandHost::CountdownStatus() { return form_.countdown_.Status(); }
std::string TForm1::CommandHost::ClockStatus() {
  return form_.clock_.Status() + (form_.runFailure_.empty() ? "" : "\nLast run: " + form_.runFailure_);
}
void TForm1::CommandHost::PostRun() { PostMessageA(form_.Handle(), command::kRunActionMessage, 0, 0); }
void TForm1::CommandHost::Run(const command::Command& c) { form_.Run(app::Actions[c.action].routine, c.force); }
void TForm1::CommandHost::Reply(command::Sender sender, const command::Answer& answer) {
  command::Reply(sender, answer);
}

std::optional<command::Answer> TForm1::CommandHost::Start(const command::Command& c) {
  schedule::Countdown& countdown = form_.countdown_;
  schedule::Job job;
  if (c.run) {
    if (const std::optional<std::string> refusal = command::RunRefusalFor(GetCurrentProcessId()))
      return command::Answer{1, *refusal};
    const std::optional<std::string> found = program::Locate(c.run->program);
    if (!found) return command::Answer{1, "No program " + command::Quoted(c.run->program) + " was found."};
    job = JobOf(c, *found);
  } else {
    job = JobOf(c.action, c.force);
  }
  switch (c.when) {
    case command::Command::When::In: countdown.StartIn(job, c.seconds); break;
    case command::Command::When::At:
      if (!c.day) {
        countdown.StartAt(job, c.minuteOfDay);
      } else if (const auto due = countdown.DueOn(c.minuteOfDay, *c.day); std::holds_alternative<std::string>(due)) {
        return command::Answer{2, schedule::DayText(*c.day) + " at " +
                                      schedule::TimeText({c.minuteOfDay / 60, c.minuteOfDay % 60}) +
                                      std::get<std::string>(due)};
      } else {
        countdown.StartAt(job, c.minuteOfDay, *c.day);
      }
      break;
    case command::Command::When::Idle: countdown.StartIdle(job, c.seconds); break;
    case command::Command::When::Quiet: countdown.StartQuiet(job, c.seconds, c.limits, form_.LoadSource()); break;
    case command::Command::When::After: {
      const bool byId = schedule::IsProcessId(c.program);
      // A wait that could end only after Dormix has.
      if (command::NamesThisProgram(c.program)) return command::Answer{1, "Dormix cannot wait for itself to end."};
      std::unique_ptr<schedule::Programs> programs = schedule::WatchPrograms(command::ProgramNames(c.program));
      if (!programs)
        return command::Answer{1, byId ? "No process " + c.program + " is running."
                                       : "No program " + command::Quoted(c.program) + " is running."};
      countdown.StartAfter(job, std::move(programs), byId ? "process " + c.program : c.program);
      break;
    }
    case command::Command::When::Now: break;
  }
  return std::nullopt;
}

bool TForm1::PostponeNotice(schedule::Seconds span) {
  if (Form2->ModalResult() != ui::mrNone || !countdown_.PostponeJob(noticeJob_, span)) return false;
  AnswerNoticeWithCancel();
  return true;
}

void TForm1::NoticeOpening() {
  PostMessageA(Handle(), command::kNoticeOpenedMessage, 0, 0);
  noticeCounting_ = true;
  EnableWindowItems();
}

void TForm1::NoticeClosed() {
  noticeCounting_ = false;
  EnableWindowItems();
}

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
  const power::NoticeAfterCarry carried(job.carriedMs);
  try {
    if (job.run)
      StartProgram(job, caption);
    else
      Run(app::Actions[job.action].routine, job.force);
  } catch (const std::exception& error) {
    TarvelTrayIcon1->ShowBalloon("Dormix", caption + " was not carried out: " + error.what());
    throw;
  }
}

// Through the notice when asked for. A start that fails is told by a
// balloon and kept for /status; unattended, it needs no box to answer.
void TForm1::StartProgram(const schedule::Job& job, const std::string& caption) {
  if (job.run->notice) {
    noticeJob_ = job;
    Form2->Button3->SetEnabled(countdown_.MayPostpone());
    if (!power::ShowOperationNotice(NoticeName(job.run->program))) return;
  }
  auto started = program::Start(*job.run);
  if (const std::string* error = std::get_if<std::string>(&started)) {
    runFailure_ = caption + " was not carried out: " + *error;
    TarvelTrayIcon1->ShowBalloon("Dormix", runFailure_);
    return;
  }
  runFailure_.clear();
  if (job.action >= 0)
    countdown_.Chain(JobOf(job.action, job.force), std::move(std::get<0>(started)), program::FileName(job.run->program));
}

void TForm1::RememberNoticeJob(app::Routine routine, bool byForce) {
  if (!app::AsksFirst(routine) || NoticeShown()) return;
  for (int i = 0; i < app::kActionCount; ++i)
    if (app::Actions[i].routine == routine) noticeJob_ = JobOf(i, byForce);
  Form2->Button3->SetEnabled(countdown_.MayPostpone());
}
bool TForm1::NoticeShown() { return Form2->Visible(); }

void TForm1::NoticeAnswered() { countdown_.NoticeAnswered(); }
// Never over an answer already given.
void TForm1::AnswerNotice() {
  if (Form2->ModalResult() == ui::mrNone) AnswerNoticeWithCancel();
}

void TForm1::NoticeSlept() {
  if (!countdown_.NoticeSlept())
    TarvelTrayIcon1->ShowBalloon("Dormix", power::NoticeOperation + " was missed while the computer was asleep.");
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
