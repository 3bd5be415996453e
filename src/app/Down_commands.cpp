// Down: the main window's side of the command line and the host of the
// one-off countdown. A command from a second process runs an action as the
// tray menu does, or sets, cancels, postpones or reports the countdown; the
// menu's first items cancel and postpone it while one is pending, and the
// notice's Postpone makes its action the countdown.
#include "app/CommandLine_win32.h"
#include "app/Down.h"
#include "power/Notice.h"
#include "power/mymess.h"

namespace {
schedule::Job JobOf(int action, std::optional<bool> force) { return {action, app::Actions[action].caption, force}; }
}  // namespace

app::Answer TForm1::Serve(const app::Command& command) {
  const std::string pending = countdown_.Caption();
  switch (command.kind) {
    case app::Command::Kind::Cancel:
      if (!countdown_.Cancel()) return {1, "No countdown is pending."};
      return {0, "Cancelled " + pending + "."};
    case app::Command::Kind::Postpone: return Postpone(command.seconds);
    case app::Command::Kind::Status:
      return {0, "Countdown: " + (pending.empty() ? "none" : countdown_.Status()) + "\n" + clock_.Status()};
    case app::Command::Kind::Usage: return {2, app::kUsage};
    case app::Command::Kind::Run: break;
  }
  const app::Action& action = app::Actions[command.action];
  const schedule::Job job = JobOf(command.action, command.force);
  bool started = false;
  switch (command.when) {
    case app::Command::When::In: started = countdown_.StartIn(job, command.seconds); break;
    case app::Command::When::At: started = countdown_.StartAt(job, command.minuteOfDay); break;
    case app::Command::When::Idle: started = countdown_.StartIdle(job, command.seconds); break;
    case app::Command::When::Quiet:
      started = pending.empty() && countdown_.StartQuiet(job, command.seconds, command.limits, LoadSource());
      break;
    case app::Command::When::After: {
      if (!pending.empty()) break;
      std::unique_ptr<schedule::Programs> programs = schedule::WatchPrograms(command.program);
      const bool byId = schedule::IsProcessId(command.program);
      if (!programs)
        return {1, byId ? "No process " + command.program + " is running." : "No program " + app::Quoted(command.program) + " is running."};
      started = countdown_.StartAfter(job, std::move(programs), byId ? "process " + command.program : command.program);
      break;
    }
    case app::Command::When::Now: {
      // The notice would refuse it without a word.
      if (app::AsksFirst(action.routine) && NoticeShown())
        return {1, std::string(action.caption) + " was not started: the " + power::NoticeOperation + " notice is shown."};
      // Run after the answer: a notice would keep the sender waiting. The
      // command stays here; any process can post the message that runs it.
      heldCommands_.push_back(command);
      PostMessageA(Handle(), app::kRunActionMessage, 0, 0);
      const char* what = app::AsksFirst(action.routine) && CheckBox4->Checked() ? ": the notice is shown."
                         : action.routine == app::Routine::ShowProtectionPanel ? ": the panel is shown."
                                                                                : ": requested.";
      return {0, action.caption + std::string(what)};
    }
  }
  if (!started) return {1, "A countdown is already pending: " + pending + "."};
  return {0, countdown_.Caption() + "."};
}

app::Answer TForm1::Postpone(schedule::Seconds span) {
  if (NoticeShown()) return PostponeNotice(span);
  if (!countdown_.Postpone(span)) return {1, "Nothing to postpone."};
  return {0, countdown_.Caption() + "."};
}

app::Answer TForm1::PostponeNotice(schedule::Seconds span) {
  // Answered already, the notice's action may be under way.
  if (Form2->ModalResult() != ui::mrNone) return {1, "The notice has been answered."};
  const std::string pending = countdown_.Caption();
  if (!countdown_.PostponeJob(noticeJob_, span))
    return {1, "The notice cannot be postponed while " + pending + " is pending."};
  AnswerNoticeWithCancel();
  return {0, countdown_.Caption() + "."};
}

LRESULT TForm1::CommandMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_COPYDATA) return app::ReceiveCommand(wParam, lParam, [this](const app::Command& c) { return Serve(c); });
  if (heldCommands_.empty()) return 0;
  const app::Command command = heldCommands_.front();
  heldCommands_.erase(heldCommands_.begin());
  Run(app::Actions[command.action].routine, command.force);
  return 0;
}

void TForm1::CancelCountdown1Click(ui::TComponent&) { countdown_.Cancel(); }
void TForm1::PostponeCountdown1Click(ui::TComponent&) { countdown_.Postpone(app::kDefaultPostpone); }
void TForm1::CountdownTimerTimer(ui::TComponent&) { countdown_.Tick(); }

void TForm1::RunJob(const schedule::Job& job) { Run(app::Actions[job.action].routine, job.force); }

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
  CountdownTimer->SetEnabled(!caption.empty());
  clock_.ShowTip();
}

void TForm1::ReportMissed(const std::string& text) { TarvelTrayIcon1->ShowBalloon("Dormix", text); }
