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
#include <functional>
#include <memory>

#include "support/FakeMachine.h"

namespace {

using namespace testing_support;
using schedule::Job;

// Log Off asks through its notice; Screen Saver runs at once.
const Job kNoticed{1, "Log Off", true}, kAtOnce{6, "Screen Saver", {}}, kOther{0, "Shut Down", {}};
constexpr Seconds kGrace = 60, kNoticePostpone = 600;
Job JobOf(bool noticed) { return noticed ? kNoticed : kAtOnce; }

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
    // A program as its job: its start fails, or it runs `lasts` seconds;
    // `then`: an action (noticed or not) follows its end.
    bool program = false, fails = false, then = false, thenNoticed = false;
    Seconds lasts = 0;
  };
  Seconds t = 0, utc = 0, lastInput = 0, shifted = 0;
  bool other = false, held = false, ownOpen = false, busy = false;
  Reply answer = Reply::kNone;
  std::optional<Pending> pending;
  std::vector<Seconds> runs, missed, starts;

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
    // A program starts at once, or fails to; its action waits for its end
    // as "/after" does, one countdown still.
    if (pending->program) {
      const Pending p = *pending;
      starts.push_back(t);
      pending.reset();
      if (!p.fails && p.then) pending = Pending{.kind = kAfter, .noticed = p.thenNoticed, .end = t + p.lasts};
      return;
    }
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
  // A countdown set: a change of the clock before it is none of its business.
  void Begin(const Pending& p) { pending = p, shifted = 0; }
  void Replace(bool noticed, Seconds span) { Begin({.kind = kIn, .noticed = noticed, .due = t + span}); }
};

// ---- The system: the real Countdown on the fake machine ----

struct Sut;
using Command = rc::state::Command<Model, Sut>;

// Runs a sequence as the GUI thread meets it: each command when the system
// waits for input, at its top or inside the countdown's own notice, after
// the last command's outcome has been compared with the model's.
// (rc::state::runAll cannot: it runs a command only once the last has
// returned, and the notice's command has not.)
class Runner {
 public:
  Runner(Seconds start, const rc::state::Commands<Command>& steps);
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
  std::vector<Seconds> runs, missed, starts;
  std::shared_ptr<FakeLoad::Counters> load = std::make_shared<FakeLoad::Counters>();

  Seconds T() const { return ticks / 1000; }
  void RunJob(const Job& job) override {
    // A program's arguments here say how it goes: "fails", or its seconds.
    if (job.run) {
      starts.push_back(T());
      if (job.run->arguments != "fails" && job.action >= 0)
        real.Chain(JobOf(job.action == kNoticed.action),
                   std::make_unique<FakePrograms>(*this, ticks + std::stoll(job.run->arguments) * 1000), "x.exe");
      return;
    }
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

// A step: its name, what it does to the model and to the system; one that
// sets a countdown only while none is pending.
struct Step : Command {
  std::string name;
  std::function<void(Model&)> model;
  std::function<void(Sut&)> system;
  bool starts = false;
  void checkPreconditions(const Model& m) const override { RC_PRE(!starts || !m.pending); }
  void apply(Model& m) const override { model(m); }
  void show(std::ostream& os) const override { os << name; }
};
using Steps = rc::state::Commands<Command>;

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
  step.system(*sut_);
  return true;
}

void Runner::Compare() const {
  RC_ASSERT(sut_->runs == model_.runs);
  RC_ASSERT(sut_->starts == model_.starts);
  RC_ASSERT(sut_->missed == model_.missed);
  RC_ASSERT(sut_->real.Caption().empty() == !model_.pending);
  RC_ASSERT((sut_->real.State() == schedule::Phase::kNotice) == model_.Firing());
  RC_ASSERT(sut_->ownOpen == model_.ownOpen);
}

std::shared_ptr<const Command> Do(std::string name, std::function<void(Model&)> model,
                                  std::function<void(Sut&)> system, bool starts = false) {
  auto step = std::make_shared<Step>();
  step->name = std::move(name), step->model = std::move(model), step->system = std::move(system);
  step->starts = starts;
  return step;
}

std::string Named(const char* what, Seconds amount, bool noticed = true) {
  return std::string(what) + "(" + std::to_string(amount) + (noticed ? ")" : ", at once)");
}

auto StartIn(Seconds span, bool noticed) {
  return Do(Named("StartIn", span, noticed), [=](Model& m) { m.Replace(noticed, span); },
            [=](Sut& s) { s.real.StartIn(JobOf(noticed), span); }, true);
}

auto StartAt(int minute, bool noticed) {
  return Do("StartAt(" + schedule::TimeText({minute / 60, minute % 60}) + (noticed ? ")" : ", at once)"),
            [=](Model& m) { m.Begin({.kind = Model::kAt, .noticed = noticed, .due = m.NextReading(minute)}); },
            [=](Sut& s) { s.real.StartAt(JobOf(noticed), minute); }, true);
}

auto StartIdle(Seconds span) {
  return Do(Named("StartIdle", span), [=](Model& m) { m.Begin({.kind = Model::kIdle, .span = span, .since = m.t}); },
            [=](Sut& s) { s.real.StartIdle(kNoticed, span); }, true);
}

// The programs end `ends` seconds from now.
auto StartAfter(Seconds ends) {
  return Do(Named("StartAfter", ends), [=](Model& m) { m.Begin({.kind = Model::kAfter, .end = m.t + ends}); },
            [=](Sut& s) { s.real.StartAfter(kNoticed, std::make_unique<FakePrograms>(s, s.ticks + ends * 1000), "x.exe"); },
            true);
}

auto StartQuiet(Seconds span) {
  return Do(Named("StartQuiet", span), [=](Model& m) { m.Begin({.kind = Model::kQuiet, .span = span, .since = m.t}); },
            [=](Sut& s) { s.real.StartQuiet(kNoticed, span, {}, std::make_unique<FakeLoad>(s.load)); }, true);
}

// A program as the action `in` seconds from now: its start fails, or it
// runs `lasts` seconds (0: ends at once); an action may follow its end.
auto StartRun(Seconds in, bool fails, Seconds lasts, bool then, bool thenNoticed) {
  const std::string how = fails ? "fails" : std::to_string(lasts);
  return Do(Named("StartRun", in) + " " + how + (then ? thenNoticed ? ", then noticed" : ", then at once" : ""),
            [=](Model& m) {
              m.Begin({.kind = Model::kIn, .noticed = false, .due = m.t + in, .program = true, .fails = fails,
                       .then = then, .thenNoticed = thenNoticed, .lasts = lasts});
            },
            [=](Sut& s) {
              Job job{then ? JobOf(thenNoticed).action : -1, "Run x.exe", {}, schedule::Run{"x.exe", how}};
              s.real.StartIn(job, in);
            },
            true);
}

// The seconds from now on are busy, or quiet.
auto Load(bool busy) {
  return Do(busy ? "Busy" : "Calm", [=](Model& m) { m.busy = busy; }, [=](Sut& s) { s.load->busy = busy; });
}

// Awake: the timer ticks every second.
auto Pass(Seconds seconds) {
  return Do(Named("Pass", seconds), [=](Model& m) { for (Seconds i = 0; i < seconds; ++i) ++m.t, ++m.utc, m.Tick(false); },
            [=](Sut& s) { s.ticksLeft = seconds, s.RunTicks(); });
}

// Asleep, then the resume's tick.
auto Sleep(Seconds seconds) {
  return Do(Named("Sleep", seconds), [=](Model& m) { m.t += seconds, m.utc += seconds, m.Tick(true); },
            [=](Sut& s) { s.Tick(seconds, true); });
}

auto SetClock(Seconds by) {
  return Do(Named("SetClock", by), [=](Model& m) { m.utc += by, m.shifted += by; }, [=](Sut& s) { s.utc += by; });
}

auto Input() { return Do("Input", [](Model& m) { m.lastInput = m.t; }, [](Sut& s) { s.lastInput = s.ticks; }); }

// Another action's notice, from a hotkey or the menu: none while one is
// shown; its Postpone only while no countdown is pending.
auto OtherNotice() {
  return Do("OtherNotice", [](Model& m) { m.other = m.other || !m.NoticeShown(); },
            [](Sut& s) { s.other = s.other || !s.NoticeShown(); });
}
auto OtherNoticeClosed() { return Do("OtherNoticeClosed", [](Model& m) { m.other = false; }, [](Sut& s) { s.other = false; }); }
auto OtherNoticePostponed() {
  return Do("OtherNoticePostponed", [](Model& m) { if (m.other && !m.pending) m.other = false, m.Replace(false, kNoticePostpone); },
            [](Sut& s) { if (s.other && s.real.PostponeJob(kAtOnce, kNoticePostpone)) s.other = false; });
}

// The countdown's own notice answered (Ok, its count's zero, Cancel, the
// close box, Postpone), only while it is open and unanswered.
auto Own(const char* name, Reply reply, bool postpone = false) {
  return Do(
      name,
      [=](Model& m) {
        if (!m.ownOpen || m.answer != Reply::kNone) return;
        if (postpone) m.Replace(true, kNoticePostpone);
        m.AnswerOwn(reply);
      },
      [=](Sut& s) {
        if (!s.ownOpen || s.answer != Reply::kNone) return;
        if (!postpone || s.real.PostponeJob(kNoticed, kNoticePostpone)) s.answer = reply;
      });
}

// A window opened over the notice holds its modal loop: an answer takes
// effect when it closes.
auto Hold(bool on) {
  return Do(on ? "Hold" : "Release",
            [=](Model& m) {
              m.held = on && m.ownOpen;
              if (!m.held && m.ownOpen && m.answer != Reply::kNone) m.Close();
            },
            [=](Sut& s) { s.held = on && s.ownOpen; });
}

// The tray's items and the command line.
auto Cancel() {
  return Do(
      "Cancel",
      [](Model& m) {
        if (!m.Firing()) return m.pending.reset();
        if (m.answer != Reply::kNone) return;
        m.pending.reset();
        m.AnswerOwn(Reply::kCancel);
      },
      [](Sut& s) { s.real.Cancel(); });
}

auto Postpone(Seconds span) {
  return Do(
      Named("Postpone", span),
      [=](Model& m) {
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
      },
      [=](Sut& s) { s.real.Postpone(span); });
}

// Seconds from now to the pending countdown's due time, where it has one:
// time passes to it, and to the edges of its minute's grace, half the time.
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

rc::Gen<std::shared_ptr<const Command>> NextStep(const Model& m) {
  return rc::gen::exec([m] {
    const auto noticed = [] { return *rc::gen::arbitrary<bool>(); };
    switch (*rc::gen::weightedElement<int>({{2, 0}, {1, 1}, {2, 2}, {1, 3}, {6, 4}, {1, 5}, {1, 6}, {1, 7}, {3, 8},
                                            {1, 9}, {2, 10}, {2, 11}})) {
      case 0: return StartIn(*rc::gen::inRange<Seconds>(1, 900), noticed());
      // Mostly within the next hours, so that the sequence can reach it.
      case 1: return StartAt(static_cast<int>((m.Local(m.utc) % kDay / 60 + *rc::gen::inRange(-10, 180) + 1440) % 1440), noticed());
      case 2: {
        const Seconds span = *rc::gen::inRange<Seconds>(1, 600);
        return *rc::gen::element(StartIdle(span), StartAfter(span), StartQuiet(span));
      }
      case 3: return Sleep(Aimed(m, 5, 2 * kDay));
      case 4: return Pass(Aimed(m, 1, 120));
      case 5: return SetClock(*rc::gen::element<Seconds>(-1, 1) * *rc::gen::inRange<Seconds>(5, 3 * kHour));
      case 6: return *rc::gen::element(Input(), Cancel(), Postpone(*rc::gen::element<Seconds>(1, 60, 600, 3600)));
      case 7: return *rc::gen::element(OtherNotice(), OtherNoticeClosed(), OtherNoticePostponed());
      case 8: return *rc::gen::element(Own("OwnOk", Reply::kOk), Own("OwnZero", Reply::kOk), Own("OwnCancel", Reply::kCancel),
                                       Own("OwnCloseBox", Reply::kCancel), Own("OwnPostpone", Reply::kCancel, true));
      case 9: return Hold(*rc::gen::arbitrary<bool>());
      case 11: {
        const bool fails = *rc::gen::weightedElement<bool>({{1, true}, {3, false}});
        const Seconds lasts = *rc::gen::element<Seconds>(0, 0, 1, 30, 600, 3 * kHour);
        return StartRun(*rc::gen::inRange<Seconds>(1, 900), fails, lasts, *rc::gen::arbitrary<bool>(), noticed());
      }
      default: return Load(*rc::gen::arbitrary<bool>());
    }
  });
}

// Where sequences begin: a plain day, or hours before either change of
// daylight saving.
Seconds Start(int which) { return which == 0 ? kDay : (which == 1 ? kSpring : kAutumn) - 3 * kHour; }

void Check(Seconds start, const Steps& steps) {
  Runner runner(start, steps);
  while (runner.Pump()) {
  }
}

TEST(CountdownModel, RandomLivesKeepTheRules) {
  EXPECT_TRUE(rc::check("the countdown against its model", [] {
    const Seconds start = Start(*rc::gen::inRange(0, 3));
    Model m;
    m.utc = start;
    Check(start, *rc::state::gen::commands(m, NextStep));
  }));
}

// Faults once found, as fixed sequences.
TEST(CountdownModel, KnownFaultsStayMended) {
  const struct {
    const char* fault;
    Seconds start;
    Steps steps;
  } cases[] = {
      // The tray's Postpone during the countdown's own notice answers it.
      {"postpone in its own notice", kDay, {StartIn(900, true), Pass(901), Postpone(600), Pass(700)}},
      // Due behind another notice, then asleep an hour: missed, not late.
      {"late at wake", kDay,
       {StartIn(900, true), OtherNotice(), Pass(901), Sleep(3600), OtherNoticeClosed(), Pass(5)}},
      // An idle wait due behind a notice that the user answers.
      {"idle as the user comes back", kDay,
       {StartIdle(600), OtherNotice(), Pass(601), Input(), OtherNoticeClosed(), Pass(3)}},
      // A postponed wait after a program, due during sleep.
      {"after, postponed, asleep", kDay, {StartAfter(1), Postpone(600), Pass(10), Sleep(3600), Pass(5)}},
      // Set at 02:10 in the repeated hour's second pass: 02:55 of that pass.
      {"at, in the repeated hour", kAutumn + 600, {StartAt(175, true), Pass(180), Sleep(2400), Pass(120)}},
  };
  for (const auto& c : cases) {
    try {
      Check(c.start, c.steps);
    } catch (const rc::detail::CaseResult& result) {
      ADD_FAILURE() << c.fault << ": " << result.description;
    }
  }
}

}  // namespace
