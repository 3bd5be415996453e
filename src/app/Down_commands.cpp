// Down: the main window's side of the command line. A command from this
// process or a second one runs an action as the tray menu does, or sets,
// cancels or reports the one-off countdown that the clock keeps; the menu's
// first item cancels that countdown while one is pending.
#include "app/CommandLine_win32.h"
#include "app/Down.h"

app::Answer TForm1::Serve(const app::Command& command) {
  switch (command.kind) {
    case app::Command::Kind::Cancel: return clock_.Cancel();
    case app::Command::Kind::Status: return {0, clock_.Status()};
    case app::Command::Kind::Usage: return {2, app::kUsage};
    case app::Command::Kind::Run: break;
  }
  if (command.when != app::Command::When::Now) return clock_.Schedule(command);
  // Run after the answer: a notice would keep the sender waiting. The
  // command stays here; any process can post the message that runs it.
  heldCommands_.push_back(command);
  PostMessageA(Handle(), app::kRunActionMessage, 0, 0);
  return {};
}

LRESULT TForm1::CommandMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_COPYDATA) return app::ReceiveCommand(wParam, lParam, [this](const app::Command& c) { return Serve(c); });
  if (heldCommands_.empty()) return 0;
  const app::Command command = heldCommands_.front();
  heldCommands_.erase(heldCommands_.begin());
  Run(app::Actions[command.action].routine, command.force);
  return 0;
}

void TForm1::CancelCountdown1Click(ui::TComponent&) { clock_.Cancel(); }

void TForm1::SetCancelItem(const std::string& caption) {
  CancelCountdown1->caption = caption;
  CancelCountdown1->visible = !caption.empty();
}

std::int64_t TForm1::LocalSeconds() {
  SYSTEMTIME now;
  FILETIME time;
  GetLocalTime(&now);
  SystemTimeToFileTime(&now, &time);
  return ((static_cast<std::int64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime) / 10000000;
}
