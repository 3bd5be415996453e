// The running copy's side of the command line: what it answers to each
// command in each state of the countdown and of the notice, in one place,
// and the actions it holds until their answer is on its way. An action that
// may show the notice is answered once the notice has opened, or has failed
// to: never with a success the user does not get.
#pragma once
#include <cstdint>
#include <deque>
#include <optional>
#include <string>

#include "command/CommandLine.h"

namespace command {

enum class NoticeState { None, Counting, Answered };

// What the running copy reports of itself when a command comes.
struct Situation {
  std::string pending;  // the pending countdown's caption; "" for none
  bool pendingInItsNotice = false;  // the notice shown is that countdown's own
  NoticeState notice = NoticeState::None;
  std::string noticeName;  // the shown notice's operation: "Log Off"
  bool noticeChecked = false;  // an action that asks first shows the notice
  std::optional<bool> forceByPolicy;  // whether actions are forced, where a policy says
};

// The window of the second process that waits for a held command's answer.
using Sender = std::uintptr_t;

// What commands act on: the countdown, the actions and the way back to
// their senders.
class HandoffHost {
 public:
  virtual ~HandoffHost() = default;
  virtual Situation Now() = 0;
  // Each false when refused (its notice answered meanwhile, none pending):
  // the answer says so.
  virtual bool Cancel() = 0;
  virtual bool Postpone(std::int64_t seconds) = 0;
  virtual bool PostponeNotice(std::int64_t seconds) = 0;
  // Sets the countdown of a Run command with a When; a refusal (no such
  // program: 1; a day out of reach: 2) or nothing.
  virtual std::optional<Answer> Start(const Command& command) = 0;
  // The pending countdown's caption, after a change.
  virtual std::string Caption() = 0;
  // What /status says of the pending countdown: its caption, and for a
  // quiet wait the readings.
  virtual std::string CountdownStatus() = 0;
  virtual std::string ClockStatus() = 0;
  // Asks for one call of Handoff::RunHeld, after this command's answer.
  virtual void PostRun() = 0;
  // Runs the action of a Run command at once. May raise.
  virtual void Run(const Command& command) = 0;
  virtual void Reply(Sender sender, const Answer& answer) = 0;
};

class Handoff {
 public:
  Handoff(HandoffHost& host, Verbs verbs) : host_(host), verbs_(verbs) {}

  // The answer now; nothing when it comes later, through Reply.
  std::optional<Answer> Serve(const Command& command, Sender sender);
  // Runs the oldest held action; an error is answered, then raised again.
  void RunHeld();
  // The notice of the held action that runs has opened.
  void NoticeOpened();

 private:
  struct Held {
    Command command;
    Sender sender;
  };
  Answer NotStarted(const Verb& verb, const std::string& notice) const;
  Answer Postpone(const Command& command, const Situation& now);
  void Reply(const Answer& answer);

  HandoffHost& host_;
  Verbs verbs_;
  std::deque<Held> held_;
  // The held action running that may still show its notice.
  std::optional<Held> awaiting_;
};

}  // namespace command
