// The countdown's life against a model. Random sequences of what can happen
// while a countdown is pending (time passing second by second, sleep, a
// change of the clock, input, another action's notice, the countdown's own
// notice and each of its answers, a window held over that notice, cancels and
// postponements from the tray or the command line) run on the real Countdown
// over the fake machine. Its own notice stays open across them as the modal
// notice does: the commands that follow run from inside it, while RunJob is
// still on the stack. The model beside it
// knows the rules alone, in terms of the events rather than of clock
// readings, and each step compares what was carried out, and when:
//
// - an action runs at the first tick at or after its due time while awake,
//   at the first tick after another notice closes if it was due behind it,
//   or when its own notice is answered with Ok or reaches zero; never after
//   a sleep (or, for a clock time, a clock set forward) that passed its due
//   time by more than a minute: then it is reported once instead;
// - never after a cancel or a postponement from any source, never twice, an
//   idle wait only while nobody has touched the machine for its whole span,
//   a quiet wait only after its span of quiet seconds with no resume;
// - a countdown leaves only by its action, a cancel or a miss;
// - "/at" is the next time the wall clock will read that minute, across both
//   changes of daylight saving.
#include <gtest/gtest.h>
#include <rapidcheck.h>
#include <rapidcheck/state.h>

#include <algorithm>
#include <optional>
#include <memory>

#include "support/FakeMachine.h"

namespace {

using namespace testing_support;
using schedule::Job;

// Log Off asks through its notice; Screen Saver runs at once.
const Job kNoticed{1, "Log Off", true}, kAtOnce{6, "Screen Saver", {}}, kOther{0, "Shut Down", {}};
constexpr Seconds kGrace = 60, kNoticePostpone = 600;

enum class Reply { kNone, kOk, kCancel };

// ---- The reference ----

struct Model {
  enum Kind { kIn, kAt, kIdle, kAfter, kQuiet };
  struct Pending {
    Kind kind = kIn;
    bool noticed = true;
    Seconds due = 0;    // In: real seconds; At: UTC
    Seconds span = 0;   // Idle: the quiet needed; After: the wait after the end
    Seconds since = 0;  // Idle, Quiet: real second its wait counts from
    Seconds end = 0;    // After: the real second the programs end
    std::optional<Seconds> seen{};  // After: the tick that saw them ended
    bool firing = false;
  };
  Seconds t = 0, utc = 0, lastInput = 0, shifted = 0;
  bool other = false, held = false, ownOpen = false, busy = false;
  Reply answer = Reply::kNone;
  std::optional<Pending> pending;
  std::vector<Seconds> runs, missed;

  bool NoticeShown() const { return other || ownOpen; }
  static Seconds Local(Seconds at) { return ZoneLocal(at); }

  // The next whole minute after now at which the wall clock reads the
  // minute, or jumps over it.
  Seconds NextReading(int minute) const {
    for (Seconds at = utc / 60 * 60 + 60;; at += 60) {
      const Seconds before = Local(at - 60), now = Local(at), wanted = minute * 60;
      if (now % kDay == wanted) return at;
      for (Seconds day = before / kDay; day <= now / kDay; ++day)
        if (before < day * kDay + wanted && day * kDay + wanted < now) return at;
    }
  }

  void Tick(bool slept) {
    const bool jumped = shifted > 2;
    shifted = 0;
    if (!pending || pending->firing) return;
    Pending& p = *pending;
    Seconds late = -1;
    bool due = false;
    switch (p.kind) {
      case kIn: due = t >= p.due, late = t - p.due; break;
      case kAt: due = utc >= p.due, late = utc - p.due; break;
      case kIdle:
        if (slept) p.since = t;
        due = std::min(t - lastInput, t - p.since) >= p.span;
        break;
      case kQuiet:
        if (slept || busy) p.since = t;
        due = t - p.since >= p.span;
        break;
      case kAfter:
        if (!p.seen && t >= p.end) p.seen = t;
        due = p.seen && t >= *p.seen + p.span, late = p.seen ? t - (*p.seen + p.span) : -1;
        break;
    }
    if (!due) return;
    if (late > kGrace && (slept || (p.kind == kAt && jumped))) {
      missed.push_back(t);
      pending.reset();
    } else if (!NoticeShown()) {
      Fire();
    }
  }
  void Fire() {
    if (!pending->noticed) {
      runs.push_back(t);
      pending.reset();
      return;
    }
    pending->firing = true;
    ownOpen = true;
    answer = Reply::kNone;
  }
  void AnswerOwn(Reply a) {
    answer = a;
    if (!held) Close();
  }
  void Close() {
    if (answer == Reply::kOk) runs.push_back(t);
    ownOpen = false;
    answer = Reply::kNone;
    if (pending && pending->firing) pending.reset();
  }
  bool Firing() const { return pending && pending->firing; }
  void Replace(bool noticed, Seconds span) { pending = Pending{.kind = kIn, .noticed = noticed, .due = t + span}; }
};

// ---- The system: the real Countdown on the fake machine ----

struct Sut;
struct Step;
using Command = rc::state::Command<Model, Sut>;

// Runs a sequence as the GUI thread meets it: each command when the system
// waits for input, at its top or inside the countdown's own notice, after
// the last command's outcome has been compared with the model's.
// (rc::state::runAll cannot: it runs a command only once the last has
// returned, and the notice's command has not.)
class Runner {
 public:
  Runner(Seconds start, const rc::state::Commands<Command>& commands);
  // Runs the next command; false once none is left.
  bool Pump();

 private:
  void Compare() const;
  const rc::state::Commands<Command>& commands_;
  std::size_t next_ = 0;
  Model model_;
  std::unique_ptr<Sut> sut_;
};

struct Sut : FakeMachine {
  Sut(Seconds start, Runner& runner) : runner(runner) { utc = start; }
  Runner& runner;
  schedule::Countdown real{*this, *this};
  bool other = false, held = false, ownOpen = false;
  Reply answer = Reply::kNone;
  Seconds ticksLeft = 0;
  std::vector<Seconds> runs, missed;
  std::shared_ptr<FakeLoad::Counters> load = std::make_shared<FakeLoad::Counters>();

  Seconds T() const { return ticks / 1000; }
  void RunJob(const Job& job) override {
    if (job.action != kNoticed.action) return runs.push_back(T());
    ownOpen = true;
    answer = Reply::kNone;
    // The timer ticks on inside the notice: the seconds of a Pass that
    // opened it, then whatever comes.
    while (answer == Reply::kNone || held)
      if (!(ticksLeft ? RunTicks() : runner.Pump())) break;
    if (answer == Reply::kOk) runs.push_back(T());
    ownOpen = false;
  }
  bool NoticeShown() override { return other || ownOpen; }
  bool CancelNotice() override {
    if (answer != Reply::kNone) return false;
    answer = Reply::kCancel;
    return true;
  }
  void ReportMissed(const std::string&) override { missed.push_back(T()); }
  void ShowCaption(const std::string&) override {}
  void Tick(Seconds pass, bool asleep) {
    Pass(pass, asleep);
    if (!asleep) load->Pass(pass);
    real.Tick();
  }
  bool RunTicks() {
    while (ticksLeft > 0) --ticksLeft, Tick(1, false);
    return true;
  }
};

// A command: what it does to the model, and to the system.
struct Step : Command {
  virtual void On(Sut& sut) const = 0;
};

Runner::Runner(Seconds start, const rc::state::Commands<Command>& commands)
    : commands_(commands), sut_(std::make_unique<Sut>(start, *this)) {
  model_.utc = start;
}

// Once none is left, a notice still open closes unanswered as the test
// ends, with nothing more to compare.
bool Runner::Pump() {
  if (next_ > commands_.size()) return false;
  Compare();
  if (next_++ == commands_.size()) return false;
  const Step& step = static_cast<const Step&>(*commands_[next_ - 1]);
  step.apply(model_);
  step.On(*sut_);
  return true;
}

void Runner::Compare() const {
  RC_ASSERT(sut_->runs == model_.runs);
  RC_ASSERT(sut_->missed == model_.missed);
  RC_ASSERT(sut_->real.Caption().empty() == !model_.pending);
  RC_ASSERT((sut_->real.State() == schedule::Phase::kNotice) == model_.Firing());
  RC_ASSERT(sut_->ownOpen == model_.ownOpen);
}

Job JobOf(bool noticed) { return noticed ? kNoticed : kAtOnce; }

struct StartIn : Step {
  Seconds span = *rc::gen::inRange<Seconds>(1, 900);
  bool noticed = *rc::gen::arbitrary<bool>();
  StartIn() = default;
  StartIn(Seconds s, bool n) : span(s), noticed(n) {}
  void checkPreconditions(const Model& m) const override { RC_PRE(!m.pending); }
  void apply(Model& m) const override { m.Replace(noticed, span); }
  void On(Sut& sut) const override { sut.real.StartIn(JobOf(noticed), span); }
  void show(std::ostream& os) const override { os << "StartIn(" << span << (noticed ? "" : ", at once") << ")"; }
};

struct StartAt : Step {
  int minute;
  bool noticed = *rc::gen::arbitrary<bool>();
  // Mostly within the next hours, so that the sequence can reach it.
  explicit StartAt(const Model& m)
      : minute(static_cast<int>((m.Local(m.utc) % kDay / 60 + *rc::gen::inRange(-10, 180) + 1440) % 1440)) {}
  StartAt(int m, bool n) : minute(m), noticed(n) {}
  void checkPreconditions(const Model& m) const override { RC_PRE(!m.pending); }
  void apply(Model& m) const override {
    m.pending = Model::Pending{.kind = Model::kAt, .noticed = noticed, .due = m.NextReading(minute)};
  }
  void On(Sut& sut) const override { sut.real.StartAt(JobOf(noticed), minute); }
  void show(std::ostream& os) const override {
    os << "StartAt(" << schedule::TimeText({minute / 60, minute % 60}) << (noticed ? "" : ", at once") << ")";
  }
};

struct StartIdle : Step {
  Seconds span = *rc::gen::inRange<Seconds>(1, 600);
  StartIdle() = default;
  explicit StartIdle(Seconds s) : span(s) {}
  void checkPreconditions(const Model& m) const override { RC_PRE(!m.pending); }
  void apply(Model& m) const override { m.pending = Model::Pending{.kind = Model::kIdle, .span = span, .since = m.t}; }
  void On(Sut& sut) const override { sut.real.StartIdle(kNoticed, span); }
  void show(std::ostream& os) const override { os << "StartIdle(" << span << ")"; }
};

struct StartAfter : Step {
  Seconds ends = *rc::gen::inRange<Seconds>(1, 600);
  StartAfter() = default;
  explicit StartAfter(Seconds s) : ends(s) {}
  void checkPreconditions(const Model& m) const override { RC_PRE(!m.pending); }
  void apply(Model& m) const override { m.pending = Model::Pending{.kind = Model::kAfter, .end = m.t + ends}; }
  void On(Sut& sut) const override {
    sut.real.StartAfter(kNoticed, std::make_unique<FakePrograms>(sut, sut.ticks + ends * 1000), "x.exe");
  }
  void show(std::ostream& os) const override { os << "StartAfter(ends in " << ends << ")"; }
};

struct StartQuiet : Step {
  Seconds span = *rc::gen::inRange<Seconds>(1, 600);
  void checkPreconditions(const Model& m) const override { RC_PRE(!m.pending); }
  void apply(Model& m) const override { m.pending = Model::Pending{.kind = Model::kQuiet, .span = span, .since = m.t}; }
  void On(Sut& sut) const override { sut.real.StartQuiet(kNoticed, span, {}, std::make_unique<FakeLoad>(sut.load)); }
  void show(std::ostream& os) const override { os << "StartQuiet(" << span << ")"; }
};

// The seconds from now on are busy, or quiet.
struct Load : Step {
  bool busy = *rc::gen::arbitrary<bool>();
  void apply(Model& m) const override { m.busy = busy; }
  void On(Sut& sut) const override { sut.load->busy = busy; }
  void show(std::ostream& os) const override { os << (busy ? "Busy" : "Calm"); }
};

// Seconds from now to the pending countdown's due time, where it has one:
// the steps below aim at it and at the edges of its minute's grace.
std::optional<Seconds> ToDue(const Model& m) {
  if (!m.pending || m.pending->firing) return std::nullopt;
  const Model::Pending& p = *m.pending;
  switch (p.kind) {
    case Model::kIn: return p.due - m.t;
    case Model::kAt: return p.due - m.utc;
    case Model::kIdle: return p.span - std::min(m.t - m.lastInput, m.t - p.since);
    case Model::kQuiet: return p.span - (m.t - p.since);
    case Model::kAfter: return p.seen ? *p.seen + p.span - m.t : p.end - m.t;
  }
  return std::nullopt;
}

Seconds Aimed(const Model& m, Seconds least, Seconds most) {
  const std::optional<Seconds> due = ToDue(m);
  const Seconds beside = *rc::gen::element<Seconds>(-1, 0, 1, kGrace - 1, kGrace, kGrace + 1, 600);
  if (due && *rc::gen::arbitrary<bool>()) return std::clamp(*due + beside, least, most);
  return *rc::gen::inRange<Seconds>(least, most + 1);
}

// Awake: the timer ticks every second.
struct Pass : Step {
  Seconds seconds;
  explicit Pass(const Model& m) : seconds(Aimed(m, 1, 120)) {}
  explicit Pass(Seconds s) : seconds(s) {}
  void apply(Model& m) const override {
    for (Seconds i = 0; i < seconds; ++i) {
      ++m.t, ++m.utc;
      m.Tick(false);
    }
  }
  void On(Sut& sut) const override {
    sut.ticksLeft = seconds;
    sut.RunTicks();
  }
  void show(std::ostream& os) const override { os << "Pass(" << seconds << ")"; }
};

// Asleep, then the resume's tick.
struct Sleep : Step {
  Seconds seconds;
  explicit Sleep(const Model& m) : seconds(Aimed(m, 5, 2 * kDay)) {}
  explicit Sleep(Seconds s) : seconds(s) {}
  void apply(Model& m) const override {
    m.t += seconds, m.utc += seconds;
    m.Tick(true);
  }
  void On(Sut& sut) const override { sut.Tick(seconds, true); }
  void show(std::ostream& os) const override { os << "Sleep(" << seconds << ")"; }
};

struct SetClock : Step {
  Seconds by = *rc::gen::element<Seconds>(-1, 1) * *rc::gen::inRange<Seconds>(5, 3 * kHour);
  void apply(Model& m) const override { m.utc += by, m.shifted += by; }
  void On(Sut& sut) const override { sut.utc += by; }
  void show(std::ostream& os) const override { os << "SetClock(" << by << ")"; }
};

struct Input : Step {
  void apply(Model& m) const override { m.lastInput = m.t; }
  void On(Sut& sut) const override { sut.lastInput = sut.ticks; }
  void show(std::ostream& os) const override { os << "Input"; }
};

// Another action's notice, from a hotkey or the menu: refused while one is shown.
struct OtherNotice : Step {
  enum What { kOpen, kClose, kPostpone } what = *rc::gen::element(kOpen, kClose, kPostpone);
  explicit OtherNotice(What w) : what(w) {}
  OtherNotice() = default;
  void apply(Model& m) const override {
    if (what == kOpen && !m.NoticeShown()) m.other = true;
    if (what == kClose) m.other = false;
    if (what == kPostpone && m.other && !m.pending) m.other = false, m.Replace(false, kNoticePostpone);
  }
  void On(Sut& sut) const override {
    if (what == kOpen && !sut.NoticeShown()) sut.other = true;
    if (what == kClose) sut.other = false;
    if (what == kPostpone && sut.other && sut.real.PostponeJob(kAtOnce, kNoticePostpone)) sut.other = false;
  }
  void show(std::ostream& os) const override {
    os << (what == kOpen ? "OtherNotice" : what == kClose ? "OtherNoticeClosed" : "OtherNoticePostponed");
  }
};

// The countdown's own notice: Ok, its count's zero, Cancel, the close box,
// Postpone; each only while it is open and unanswered.
struct Own : Step {
  enum What { kOk, kZero, kCancel, kCloseBox, kPostpone } what =
      *rc::gen::element(kOk, kZero, kCancel, kCloseBox, kPostpone);
  explicit Own(What w) : what(w) {}
  Own() = default;
  void apply(Model& m) const override {
    if (!m.ownOpen || m.answer != Reply::kNone) return;
    if (what == kPostpone) m.Replace(true, kNoticePostpone);
    m.AnswerOwn(what == kOk || what == kZero ? Reply::kOk : Reply::kCancel);
  }
  void On(Sut& sut) const override {
    if (!sut.ownOpen || sut.answer != Reply::kNone) return;
    if (what == kPostpone && !sut.real.PostponeJob(kNoticed, kNoticePostpone)) return;
    sut.answer = what == kOk || what == kZero ? Reply::kOk : Reply::kCancel;
  }
  void show(std::ostream& os) const override {
    static const char* const names[] = {"Ok", "Zero", "Cancel", "CloseBox", "Postpone"};
    os << "Own" << names[what];
  }
};

// A window opened over the notice holds its modal loop: an answer takes
// effect when it closes.
struct Hold : Step {
  bool on = *rc::gen::arbitrary<bool>();
  explicit Hold(bool o) : on(o) {}
  Hold() = default;
  void apply(Model& m) const override {
    m.held = on && m.ownOpen;
    if (!m.held && m.ownOpen && m.answer != Reply::kNone) m.Close();
  }
  void On(Sut& sut) const override { sut.held = on && sut.ownOpen; }
  void show(std::ostream& os) const override { os << (on ? "Hold" : "Release"); }
};

// The tray's items and the command line.
struct Cancel : Step {
  void apply(Model& m) const override {
    if (!m.Firing()) return m.pending.reset();
    if (m.answer != Reply::kNone) return;
    m.pending.reset();
    m.AnswerOwn(Reply::kCancel);
  }
  void On(Sut& sut) const override { sut.real.Cancel(); }
  void show(std::ostream& os) const override { os << "Cancel"; }
};

struct Postpone : Step {
  Seconds span = *rc::gen::element<Seconds>(1, 60, 600, 3600);
  explicit Postpone(Seconds s) : span(s) {}
  Postpone() = default;
  void apply(Model& m) const override {
    if (!m.pending) return;
    Model::Pending& p = *m.pending;
    if (p.firing) {
      if (m.answer != Reply::kNone) return;
      m.Replace(p.noticed, span);
      return m.AnswerOwn(Reply::kCancel);
    }
    if (p.kind == Model::kIn || p.kind == Model::kAt) p.due += span;
    if (p.kind == Model::kIdle || p.kind == Model::kQuiet) p.since = m.t;
    if (p.kind != Model::kIn && p.kind != Model::kAt) p.span = span;
  }
  void On(Sut& sut) const override { sut.real.Postpone(span); }
  void show(std::ostream& os) const override { os << "Postpone(" << span << ")"; }
};

// Where sequences begin: a plain day, or hours before either change of
// daylight saving.
Seconds Start(int which) { return which == 0 ? kDay : (which == 1 ? kSpring : kAutumn) - 3 * kHour; }

auto Commands(const Model& m) {
  return rc::gen::weightedOneOf<std::shared_ptr<const Command>>(
      {{2, rc::state::gen::execOneOfWithArgs<StartIn, StartIdle, StartAfter, StartQuiet>()(m)},
       {2, rc::state::gen::execOneOfWithArgs<Load>()(m)},
       {1, rc::state::gen::execOneOfWithArgs<StartAt>()(m)},
       {6, rc::state::gen::execOneOfWithArgs<Pass>()(m)},
       {1, rc::state::gen::execOneOfWithArgs<Sleep, SetClock, Input, Cancel, Postpone>()(m)},
       {3, rc::state::gen::execOneOfWithArgs<OtherNotice, Own, Hold>()(m)}});
}

void Check(Seconds start, const rc::state::Commands<Command>& commands) {
  Runner runner(start, commands);
  while (runner.Pump()) {
  }
}

TEST(CountdownModel, RandomLivesKeepTheRules) {
  const bool passed = rc::check("the countdown against its model", [] {
    const Seconds start = Start(*rc::gen::inRange(0, 3));
    Model m;
    m.utc = start;
    Check(start, *rc::state::gen::commands(m, Commands));
  });
  EXPECT_TRUE(passed);
}

// Faults once found, as fixed sequences.
TEST(CountdownModel, KnownFaultsStayMended) {
  using std::make_shared;
  const struct {
    const char* fault;
    Seconds start;
    rc::state::Commands<Command> commands;
  } cases[] = {
      // The tray's Postpone during the countdown's own notice answers it.
      {"postpone in its own notice", kDay,
       {make_shared<StartIn>(900, true), make_shared<Pass>(901), make_shared<Postpone>(600), make_shared<Pass>(700)}},
      // Due behind another notice, then asleep an hour: missed, not late.
      {"late at wake", kDay,
       {make_shared<StartIn>(900, true), make_shared<OtherNotice>(OtherNotice::kOpen), make_shared<Pass>(901),
        make_shared<Sleep>(3600), make_shared<OtherNotice>(OtherNotice::kClose), make_shared<Pass>(5)}},
      // An idle wait due behind a notice that the user answers.
      {"idle as the user comes back", kDay,
       {make_shared<StartIdle>(600), make_shared<OtherNotice>(OtherNotice::kOpen), make_shared<Pass>(601),
        make_shared<Input>(), make_shared<OtherNotice>(OtherNotice::kClose), make_shared<Pass>(3)}},
      // A postponed wait after a program, due during sleep.
      {"after, postponed, asleep", kDay,
       {make_shared<StartAfter>(1), make_shared<Postpone>(600), make_shared<Pass>(10), make_shared<Sleep>(3600),
        make_shared<Pass>(5)}},
      // Set at 02:10 in the repeated hour's second pass: 02:55 of that pass.
      {"at, in the repeated hour", kAutumn + 600,
       {make_shared<StartAt>(175, true), make_shared<Pass>(180), make_shared<Sleep>(2400), make_shared<Pass>(120)}},
  };
  for (const auto& c : cases) {
    try {
      Check(c.start, c.commands);
    } catch (const rc::detail::CaseResult& result) {
      ADD_FAILURE() << c.fault << ": " << result.description;
    }
  }
}

}  // namespace
