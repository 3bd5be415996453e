// Down: the main window's side of the command line and the host of the
// one-off countdown. A command from a second process runs an action as the
// tray menu does, or sets, cancels or reports the countdown; the menu's
// first item cancels that countdown while one is pending.
#include "app/CommandLine_win32.h"
#include "app/Down.h"
#include "power/Notice.h"
#include "power/mymess.h"

app::Answer TForm1::Serve(const app::Command& command) {
  const std::string pending = countdown_.Caption();
  switch (command.kind) {
    case app::Command::Kind::Cancel:
      if (!countdown_.Cancel()) return {1, "No countdown is pending."};
      return {0, "Cancelled " + pending + "."};
    case app::Command::Kind::Status:
      return {0, "Countdown: " + (pending.empty() ? "none" : pending) + "\n" + clock_.Status()};
    case app::Command::Kind::Usage: return {2, app::kUsage};
    case app::Command::Kind::Run: break;
  }
  const app::Action& action = app::Actions[command.action];
  if (command.when != app::Command::When::Now) {
    const schedule::Job job{command.action, action.caption, command.force};
    if (!(command.when == app::Command::When::In ? countdown_.StartIn(job, command.seconds)
                                                  : countdown_.StartAt(job, command.minuteOfDay)))
      return {1, "A countdown is already pending: " + pending + "."};
    return {0, countdown_.Caption() + "."};
  }
  // The notice would refuse it without a word.
  if (app::AsksFirst(action.routine) && NoticeShown())
    return {1, std::string(action.caption) + " was not started: the " + power::NoticeOperation + " notice is shown."};
  // Run after the answer: a notice would keep the sender waiting.
  PostMessageA(Handle(), app::kRunActionMessage, command.action, command.force ? (*command.force ? 1 : 2) : 0);
  return {};
}

LRESULT TForm1::CommandMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_COPYDATA) return app::ReceiveCommand(wParam, lParam, [this](const app::Command& c) { return Serve(c); });
  if (wParam < app::kActionCount && lParam >= 0 && lParam <= 2)
    Run(app::Actions[wParam].routine, lParam ? std::optional<bool>(lParam == 1) : std::nullopt);
  return 0;
}

void TForm1::CancelCountdown1Click(ui::TComponent&) { countdown_.Cancel(); }
void TForm1::CountdownTimerTimer(ui::TComponent&) { countdown_.Tick(); }

void TForm1::RunJob(const schedule::Job& job) { Run(app::Actions[job.action].routine, job.force); }
bool TForm1::NoticeShown() { return Form2->Visible(); }

// As its Cancel button answers it; the modal loop looks at the answer once
// a message has come.
void TForm1::CancelNotice() {
  if (Form2->ModalResult() != ui::mrNone) return;
  Form2->SetModalResult(ui::mrCancel);
  PostMessageA(Form2->Handle(), WM_NULL, 0, 0);
}

void TForm1::ShowCaption(const std::string& caption) {
  CancelCountdown1->caption = caption.empty() ? caption : "Cancel " + caption;
  CancelCountdown1->visible = !caption.empty();
  CountdownTimer->SetEnabled(!caption.empty());
  clock_.ShowTip();
}

void TForm1::ReportMissed(const std::string& text) { TarvelTrayIcon1->ShowBalloon("Dormix", text); }
