// The running copy's answers: each command in each state of the countdown
// and the notice gives one exit code and text, and makes at most one call.
#include "command/Handoff.h"

#include <gtest/gtest.h>

#include "app/Actions.h"
#include <stdexcept>
#include <tuple>

namespace {

using command::NoticeState;

struct FakeHost : command::HandoffHost {
  command::Situation now;
  bool refuses = false;  // the countdown refuses a cancel or postponement
  std::string calls;
  std::optional<command::Answer> refusal;
  command::Handoff* handoff = nullptr;  // told, in a Shut Down, that its notice opened
  command::Situation Now() override { return now; }
  bool Cancel() override { return calls += "cancel ", !refuses; }
  bool Postpone(std::int64_t s) override { return calls += "postpone " + std::to_string(s) + " ", !refuses; }
  bool PostponeNotice(std::int64_t s) override { return calls += "postpone notice " + std::to_string(s) + " ", !refuses; }
  std::optional<command::Answer> Start(const command::Command&) override {
    calls += "start ";
    return refusal;
  }
  std::string Caption() override { return "Log Off at 23:51"; }
  std::string CountdownStatus() override { return now.pending + ", as read now"; }
  std::string ClockStatus() override { return "Daily clock: off"; }
  void PostRun() override { calls += "post "; }
  void Run(const command::Command& c) override {
    calls += "run " + std::to_string(c.action) + " ";
    if (handoff && c.action == 0) handoff->NoticeOpened();
    if (c.action == 2) throw std::runtime_error("Cannot open the sound.");
  }
  void Reply(command::Sender sender, const command::Answer& a) override {
    calls += "reply " + std::to_string(sender) + ": " + std::to_string(a.code) + " " + a.text + " ";
  }
};

command::Command Parsed(const std::string& line) {
  std::vector<std::string> words;
  for (std::size_t start = 0, end; start < line.size(); start = end + 1)
    words.push_back(line.substr(start, (end = std::min(line.find(' ', start), line.size())) - start));
  return std::get<command::Command>(command::ParseCommandLine(words, app::CommandVerbs()));
}

// The answer now, or "later", and the host's calls.
std::string Served(FakeHost& host, command::Handoff& handoff, const std::string& line) {
  const auto answer = handoff.Serve(Parsed(line), 7);
  return (answer ? std::to_string(answer->code) + " " + answer->text : "later") + " | " + host.calls;
}

TEST(Handoff, AnswersEachCommandInEachState) {
  const std::string pending = "Log Off at 23:41";
  const struct {
    const char* state;
    command::Situation now;
    bool refuses = false;
  } states[] = {
      {"idle", {"", false, NoticeState::None, "", true, {}}},
      {"pending", {pending, false, NoticeState::None, "", true, {}}},
      {"in its counting notice", {pending, true, NoticeState::Counting, "Log Off", true, {}}},
      {"in its answered notice", {pending, true, NoticeState::Answered, "Log Off", true, {}}, true},
      // Read as counting, answered by the time the countdown is asked.
      {"answered as it came", {pending, true, NoticeState::Counting, "Log Off", true, {}}, true},
      {"a notice counts", {"", false, NoticeState::Counting, "Hibernate", true, {}}},
      {"a notice counts beside it", {pending, false, NoticeState::Counting, "Hibernate", true, {}}},
      {"a notice answered", {"", false, NoticeState::Answered, "Hibernate", true, {}}},
      {"a notice answered beside it", {pending, false, NoticeState::Answered, "Hibernate", true, {}}},
      {"pending, the notice off", {pending, false, NoticeState::None, "", false, {}}},
  };
  const std::string none = "1 No countdown is pending. | ", cancelled = "0 Cancelled Log Off at 23:41. | cancel ",
                    answered = "1 The notice has been answered. | ", moved = "0 Log Off at 23:51. | postpone ",
                    busy = "1 A countdown is already pending: Log Off at 23:41. | ", set = "0 Log Off at 23:51. | start ",
                    panel = "0 Protection Panel: the panel is shown. | post ",
                    notStarted = "1 Restart was not started: the ", shown = " notice is shown. | ",
                    noStatus = "0 Countdown: none\nDaily clock: off | ",
                    status = "0 Countdown: Log Off at 23:41, as read now\nDaily clock: off | ";
  const struct {
    const char* line;
    std::string expected[std::size(states)];
  } rows[] = {
      {"/cancel",
       {none, cancelled, cancelled, answered + "cancel ", answered + "cancel ", none, cancelled, none, cancelled,
        cancelled}},
      {"/postpone 5m",
       {"1 Nothing to postpone. | ", moved + "300 ", moved + "notice 300 ", answered,
        answered + "postpone notice 300 ", moved + "notice 300 ",
        "1 The notice cannot be postponed while Log Off at 23:41 is pending. | ", answered, answered, moved + "300 "}},
      {"/shutdown /in 10m", {set, busy, busy, busy, busy, set, busy, set, busy, busy}},
      {"/restart",
       {"later | post ", "later | post ", notStarted + "Log Off" + shown, notStarted + "Log Off" + shown,
        notStarted + "Log Off" + shown, notStarted + "Hibernate" + shown, notStarted + "Hibernate" + shown,
        notStarted + "Hibernate" + shown, notStarted + "Hibernate" + shown, "later | post "}},
      {"/lock", {panel, panel, panel, panel, panel, panel, panel, panel, panel, panel}},
      {"/status", {noStatus, status, status, status, status, noStatus, status, noStatus, status, status}},
  };
  for (const auto& row : rows)
    for (std::size_t i = 0; i < std::size(states); ++i) {
      FakeHost host;
      host.now = states[i].now;
      host.refuses = states[i].refuses;
      command::Handoff handoff(host, app::CommandVerbs());
      EXPECT_EQ(Served(host, handoff, row.line), row.expected[i]) << row.line << ", " << states[i].state;
    }
}

// Where a policy sets force, a switch against it is refused, a countdown's too.
TEST(Handoff, RefusesAForceSwitchAgainstThePolicy) {
  const std::string refused = "1 Force is set by your administrator. | ", held = "later | post ";
  const std::tuple<std::optional<bool>, const char*, std::string> rows[] = {
      {false, "/standby /force", refused}, {true, "/standby /noforce", refused},
      {false, "/logoff /in 10m /force", refused}, {true, "/standby /force", held},
      {std::nullopt, "/standby /noforce", held}};
  for (const auto& [policy, line, expected] : rows) {
    FakeHost host;
    host.now.forceByPolicy = policy;
    command::Handoff handoff(host, app::CommandVerbs());
    EXPECT_EQ(Served(host, handoff, line), expected) << line;
  }
}

// A held action is answered once its notice has opened, or with its error;
// while one is held, another that would show a notice is refused.
TEST(Handoff, AnswersAHeldActionOnceItsNoticeOpensOrFails) {
  FakeHost host;
  host.now.noticeChecked = true;
  command::Handoff handoff(host, app::CommandVerbs());
  host.handoff = &handoff;
  EXPECT_EQ(Served(host, handoff, "/shutdown"), "later | post ");
  EXPECT_EQ(Served(host, handoff, "/logoff"), "1 Log Off was not started: the Shut Down notice is shown. | post ");
  host.calls.clear();
  handoff.RunHeld();
  handoff.NoticeOpened();
  EXPECT_EQ(host.calls, "run 0 reply 7: 0 Shut Down: the notice is shown. ");

  host.calls.clear();
  EXPECT_EQ(Served(host, handoff, "/hibernate"), "later | post ");
  EXPECT_THROW(handoff.RunHeld(), std::runtime_error);
  EXPECT_EQ(host.calls, "post run 2 reply 7: 1 Cannot open the sound. ");
}

}  // namespace
