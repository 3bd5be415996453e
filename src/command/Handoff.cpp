// The answers of the running copy, by command and state.
#include "command/Handoff.h"

#include <exception>

namespace command {

Answer Handoff::NotStarted(const Verb& verb, const std::string& notice) const {
  return {1, std::string(verb.caption) + " was not started: the " + notice + " notice is shown."};
}

namespace {
const Answer kAnswered{1, "The notice has been answered."};
}  // namespace

// Answered already, the notice's action may be under way: nothing undoes it.
// The situation read first chooses the words; the call's own result, the answer.
Answer Handoff::Postpone(const Command& command, const Situation& now) {
  if (now.notice == NoticeState::Answered) return kAnswered;
  if (now.notice == NoticeState::Counting) {
    if (!now.pending.empty() && !now.pendingInItsNotice)
      return {1, "The notice cannot be postponed while " + now.pending + " is pending."};
    if (!host_.PostponeNotice(command.seconds)) return kAnswered;
  } else {
    if (now.pending.empty()) return {1, "Nothing to postpone."};
    if (!host_.Postpone(command.seconds)) return {1, "Nothing to postpone."};
  }
  return {0, host_.Caption() + "."};
}

std::optional<Answer> Handoff::Serve(const Command& command, Sender sender) {
  const Situation now = host_.Now();
  switch (command.kind) {
    case Command::Kind::Status:
      return Answer{0, "Countdown: " + (now.pending.empty() ? "none" : host_.CountdownStatus()) + "\n" +
                           host_.ClockStatus()};
    case Command::Kind::Cancel:
      if (now.pending.empty()) return Answer{1, "No countdown is pending."};
      if (!host_.Cancel()) return now.pendingInItsNotice ? kAnswered : Answer{1, "No countdown is pending."};
      return Answer{0, "Cancelled " + now.pending + "."};
    case Command::Kind::Postpone: return Postpone(command, now);
    case Command::Kind::Usage: return Answer{2, kUsage};
    case Command::Kind::Run: break;
  }
  // A switch is one more door to the setting: it does not pass the policy.
  if (command.force && now.forceByPolicy && *command.force != *now.forceByPolicy)
    return Answer{1, "Force is set by your administrator."};
  if (command.when != Command::When::Now) {
    if (!now.pending.empty()) return Answer{1, "A countdown is already pending: " + now.pending + "."};
    if (std::optional<Answer> refusal = host_.Start(command)) return *refusal;
    return Answer{0, host_.Caption() + "."};
  }
  const Verb& verb = verbs_[command.action];
  if (verb.shows == Verb::Shows::Notice) {
    // The notice would refuse it without a word.
    if (now.notice != NoticeState::None) return NotStarted(verb, now.noticeName);
    if (now.noticeChecked)
      for (const Held& held : held_)
        if (verbs_[held.command.action].shows == Verb::Shows::Notice)
          return NotStarted(verb, verbs_[held.command.action].caption);
  }
  // Run after the answer: a notice would keep the sender waiting. The
  // command stays here; the message that runs it carries nothing.
  held_.push_back({command, sender});
  host_.PostRun();
  if (verb.shows == Verb::Shows::Notice) return std::nullopt;
  return Answer{0, verb.caption + std::string(verb.shows == Verb::Shows::Panel ? ": the panel is shown." : ": requested.")};
}

void Handoff::RunHeld() {
  if (held_.empty()) return;
  const Held held = held_.front();
  held_.pop_front();
  const Verb& verb = verbs_[held.command.action];
  if (verb.shows != Verb::Shows::Notice) return host_.Run(held.command);
  // A notice opened since the answer, by the menu or a hotkey.
  if (const Situation now = host_.Now(); now.notice != NoticeState::None)
    return host_.Reply(held.sender, NotStarted(verb, now.noticeName));
  awaiting_ = held;
  try {
    host_.Run(held.command);
  } catch (const std::exception& error) {
    Reply({1, error.what()});
    throw;
  }
  Reply({0, verb.caption + std::string(": requested.")});
}

void Handoff::NoticeOpened() {
  if (awaiting_) Reply({0, verbs_[awaiting_->command.action].caption + std::string(": the notice is shown.")});
}

void Handoff::Reply(const Answer& answer) {
  if (!awaiting_) return;
  const Sender sender = awaiting_->sender;
  awaiting_.reset();
  host_.Reply(sender, answer);
}

}  // namespace command
