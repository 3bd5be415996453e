// The countdown's life against the rules the README promises (R1 to R4 and
// the rules that hold besides). Random lives, one generator per kind of
// event (starts, awake seconds, late and doubled ticks, sleeps, clock steps
// and slews, zone changes, input, load, another action's notice, the
// countdown's own notice and its answers, a window held over a notice, a
// job that raises, a program as the job and the action after its end,
// cancels and postponements), run on the real Countdown and
// the real notice count over the fake machine. A notice stays open across
// the steps that follow, as the modal notice does: they run from inside
// RunJob. The reference model knows the events themselves (it is told of a
// sleep, a step, a zone change) and applies the README's rules with
// constants of its own. After every step both are compared: what ran (job,
// force, when), misses and their texts, the phase, the caption, the time
// left, MayPostpone, the programs started and what each start, cancel and
// postponement returned; and R1 to R4 are checked as properties of what the
// system did.
#include <gtest/gtest.h>
#include <rapidcheck.h>
#include <rapidcheck/state.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <tuple>

#include "power/Notice.h"
#include "support/FakeMachine.h"

namespace {

using namespace testing_support;
using schedule::Job;
using schedule::Phase;

// The README's constants: a minute of grace, sleeps and steps of two seconds
// or less told from nothing.
constexpr Seconds kMinute = 60, kDrift = 2;
// These lives' settings: the notice counts 15 s; its Postpone is 10 min.
constexpr Seconds kCount = 15, kNoticePostpone = 600;
const char* const kAsleep = " was missed while the computer was asleep.";
const char* const kClockPast = " was missed: the clock was set past it.";

// Log Off and Shut Down ask through the notice; Screen Saver runs at once.
const Job kLogOff{1, "Log Off", true}, kShutDown{0, "Shut Down", false}, kSaver{6, "Screen Saver", {}};
// A program shows no notice.
bool AtOnce(const Job& job) { return job.run || job.action == kSaver.action; }
// The action after a program's end, as the host names its actions.
Job Then(const Job& job) {
  return {job.action, job.action == kSaver.action ? kSaver.name : job.action == kLogOff.action ? kLogOff.name : kShutDown.name,
          job.force};
}
// A program's arguments here say how it goes: "fails" to start, or the
// seconds it runs.
bool Fails(const Job& job) { return job.run->arguments == "fails"; }
Seconds Lasts(const Job& job) { return std::stoll(job.run->arguments); }

enum class Reply { kNone, kOk, kCancel };

// What ran (its action, its force, when); what was missed (the balloon, when).
using Ran = std::tuple<int, std::optional<bool>, Seconds>;
using Miss = std::pair<std::string, Seconds>;

struct Notice {
  bool own = false;
  Job job;
  Reply answer = Reply::kNone;
  bool held = false;
  Seconds grace = kMinute;  // R1: how far a sleep may carry its count past zero
};

// ---- The reference: the README's rules ----

struct Model {
  enum Kind { kIn, kAt, kIdle, kAfter, kQuiet };
  struct Pending {
    Kind kind = kIn;
    Job job;
    Seconds due = 0;    // In: the real second; At: the wall instant (UTC)
    Seconds local = 0;  // At: the wall time it names
    Seconds named = 0;  // In: the wall instant its caption names
    Seconds span = 0, since = 0;  // Idle, Quiet
    Seconds wait = 0, end = 0;    // After: the wait after the end; when the programs end
    std::optional<Seconds> ended{};  // After: the tick that saw them ended
    Seconds notBefore = 0;   // R2: a postponement's t + s
    // R1: when it fell due; seconds it may run later by: behind a notice,
    // held answered under a window, ticks that came late.
    Seconds dueAt = -1, excused = 0;
  };
  Seconds t = 0, utc = 0, zone = 0, lastInput = 0;
  bool busy = false, busySeen = false, rezoned = false, failing = false;
  Seconds slewLeft = 0, slewBy = 0;  // a slew: the clock gains `slewBy` at the tick that ends slewLeft
  Seconds slept = 0, noticeSlept = 0, stepped = 0;  // since the last tick
  Phase phase = Phase::kNone;
  std::optional<Pending> pending;
  // The caption as the user last saw it (a miss's balloon names it so):
  // the countdown as it stood then, and the clock.
  Pending shown;
  Seconds shownUtc = 0, shownZone = 0;
  std::optional<Notice> notice;
  Seconds count = 0;
  // What it did, shared by its copies: those made as lives are generated
  // write into the generator's, the runner's model into its own.
  struct Log {
    std::vector<Ran> runs;
    std::vector<Miss> missed;
    std::vector<bool> returns;
    std::vector<Seconds> starts;  // programs started, or that failed to
    std::string broken;  // a rule R1 or R2 that did not hold
  };
  std::shared_ptr<Log> log = std::make_shared<Log>();

  Seconds Local(Seconds at) const { return ZoneLocal(at) + zone; }
  bool Waits() const { return phase == Phase::kWaiting || phase == Phase::kBehind; }

  // The first instant from `from` on at which the wall clock reads `local`,
  // or the end of a gap that skips it; none within three days.
  std::optional<Seconds> Reads(Seconds local, Seconds from) const {
    for (Seconds at = from; at < from + 3 * kDay; at += 60) {
      const Seconds before = Local(at), after = Local(at + 60);
      if (before == local) return at;
      if (before < local && local < after) {
        if (Local(at + (local - before)) == local) return at + (local - before);
        for (Seconds gap = at;; ++gap)
          if (Local(gap) >= local) return gap;
      }
    }
    return std::nullopt;
  }

  void Show() { shown = *pending, shownUtc = utc, shownZone = zone; }
  std::string Caption() const {
    const Pending& p = shown;
    switch (p.kind) {
      case kIdle: return p.job.name + " after " + schedule::SpanText(p.span) + " idle";
      case kQuiet: return p.job.name + " when quiet for " + schedule::SpanText(p.span);
      case kAfter: return p.job.name + (p.wait ? " " + schedule::SpanText(p.wait) + " after " : " when ") + "x.exe ends";
      default: {
        const Seconds wall = ZoneLocal(p.kind == kIn ? p.named : p.due) + shownZone;
        const Seconds days = wall / kDay - (ZoneLocal(shownUtc) + shownZone) / kDay;
        const Seconds s = wall % kDay;
        // "|" stands between what the model names and the date it leaves alone.
        return p.job.name + (days == 0 ? "" : days == 1 ? " tomorrow" : " on ") + "| at " +
               schedule::TimeText({int(s / 3600), int(s % 3600 / 60)}) + (p.job.follows.empty() ? "" : ", " + p.job.follows);
      }
    }
  }
  std::optional<Seconds> Left() const {
    const Pending& p = *pending;
    switch (p.kind) {
      case kIn: return std::max<Seconds>(0, p.due - t);
      case kAt: return std::max<Seconds>(0, p.due - utc);
      case kIdle: return std::max<Seconds>(0, p.span - std::min(t - lastInput, t - p.since));
      case kQuiet: return std::max<Seconds>(0, p.span - (t - p.since));
      case kAfter: if (!p.ended) return std::nullopt; return std::max<Seconds>(0, *p.ended + p.wait - t);
    }
    return std::nullopt;
  }

  bool Start(Pending p) {
    log->returns.push_back(phase == Phase::kNone);
    if (phase != Phase::kNone) return false;
    Set(p);
    return true;
  }
  // A countdown set: what happened before it is none of its business.
  void Set(Pending p) {
    pending = p, phase = Phase::kWaiting, Show();
    slept = stepped = 0, busySeen = rezoned = false;
  }
  Pending In(const Job& job, Seconds span) const { return {.kind = kIn, .job = job, .due = t + span, .named = utc + span}; }
  void Drop() { pending.reset(), phase = Phase::kNone; }
  void Missed(const std::string& why) { log->missed.push_back({Caption() + why, t}), Drop(); }

  // One second, or more without a tick between; then the notice's tick and
  // the countdown's.
  void Second(Seconds pass, bool asleep) {
    t += pass, utc += pass;
    if (asleep) slept += pass, noticeSlept += pass;
    else busySeen = busySeen || (busy && pass > 0);
    if (!asleep && slewLeft && --slewLeft == 0) utc += slewBy, stepped += slewBy;
    // Behind a notice until the first tick after it closed.
    if (pending && (phase == Phase::kBehind ||
                    (notice && notice->held && notice->answer != Reply::kNone)))
      pending->excused += pass;
    // A late tick, or a sleep too short to tell, counts the notice by one.
    if (pending && pass > 1 && !(asleep && pass > kDrift)) pending->excused += pass - 1;
    NoticeTick();
    CountdownTick();
  }

  // R1: the notice counts the real time; past its zero by more than a
  // minute through a sleep, it acts on nothing.
  void NoticeTick() {
    const Seconds s = std::exchange(noticeSlept, 0);
    if (!notice || notice->answer != Reply::kNone) return;
    const Seconds before = count;
    count -= 1 + (s > kDrift ? s : 0);
    if (before <= 0 || count > 0) return;
    if (count >= -notice->grace) {
      count = 0, notice->answer = Reply::kOk;
      if (notice->own) phase = Phase::kAnswered;
    } else {
      notice->answer = Reply::kCancel;
      if (!notice->own) log->missed.push_back({notice->job.name + kAsleep, t});
      else if (pending->kind == kIdle || pending->kind == kQuiet) phase = Phase::kWaiting, pending->since = t;
      else Missed(kAsleep);
    }
    if (!notice->held) Close();
  }
  void Close() {
    if (notice->own && notice->answer == Reply::kOk && pending) Properties();
    if (notice->answer == Reply::kOk) log->runs.push_back({notice->job.action, notice->job.force, t});
    if (notice->own && (phase == Phase::kNotice || phase == Phase::kAnswered)) Drop();
    notice.reset();
  }

  void CountdownTick() {
    const Seconds s = std::exchange(slept, 0), step = std::exchange(stepped, 0);
    const bool busyNow = std::exchange(busySeen, false), zoned = std::exchange(rezoned, false);
    if (!Waits()) return;
    Pending& p = *pending;
    const bool asleep = s > kDrift;
    Seconds moved = asleep ? s : 0, byClock = 0, late = 0;
    bool due = false;
    switch (p.kind) {
      case kIdle:
        if (asleep) p.since = t;
        due = std::min(t - lastInput, t - p.since) >= p.span;
        break;
      case kQuiet:
        if (asleep || busyNow) p.since = t;
        due = t - p.since >= p.span;
        break;
      case kAfter:
        if (!p.ended && t >= p.end) p.ended = t;
        due = p.ended && t >= *p.ended + p.wait, late = p.ended ? t - *p.ended - p.wait : 0;
        break;
      case kIn:
        if (std::abs(utc + (p.due - t) - p.named) > kDrift) p.named = utc + (p.due - t);
        due = t >= p.due, late = t - p.due;
        break;
      case kAt: {
        byClock = std::max<Seconds>(0, step);
        // R4: the wall time on the new clock, or missed if the change
        // carried the clock past it by more than a minute.
        if (zoned) {
          const Seconds again = Reads(p.local, utc - kMinute).value_or(*Reads(p.local, utc - 2 * kDay));
          byClock += std::max<Seconds>(0, p.due - again);
          p.due = again;
        }
        // R2 holds on the wall clock it names: a change of the clock moves it too.
        moved += byClock, p.notBefore -= byClock;
        due = utc >= p.due, late = utc - p.due;
        break;
      }
    }
    if (!due) return phase = Phase::kWaiting, p.dueAt = -1, Show(), void();
    if (p.dueAt < 0) p.dueAt = t - std::max<Seconds>(0, late);
    if (std::min(late, moved) > kMinute) return Missed(byClock > (asleep ? s : 0) ? kClockPast : kAsleep);
    if (notice) return phase = Phase::kBehind, Show(), void();
    Fire();
  }
  void Fire() {
    Properties();
    // A program starts at once; the action after it waits for its end as
    // "/after" does, one countdown still.
    if (const Job job = pending->job; job.run) {
      log->starts.push_back(t);
      if (Fails(job) || job.action < 0) return Drop();
      return Set({.kind = kAfter, .job = Then(job), .end = t + Lasts(job)});
    }
    if (std::exchange(failing, false)) return Drop();
    if (AtOnce(pending->job)) return log->runs.push_back({pending->job.action, pending->job.force, t}), Drop();
    phase = Phase::kNotice, count = kCount;
    // R1 counts the notice's sleep with any that carried it past its time.
    const Seconds carried = std::clamp<Seconds>(t - pending->dueAt - pending->excused, 0, kMinute);
    notice = Notice{.own = true, .job = pending->job, .grace = kMinute - carried};
  }
  // R1 and R2 as they stand when the countdown acts (checked beside the
  // comparison: the model runs while the lives are generated too).
  void Properties() {
    const Pending& p = *pending;
    if (t < p.notBefore) log->broken = "R2: at " + std::to_string(t) + ", postponed to " + std::to_string(p.notBefore);
    // Its notice's count comes after its due time.
    if (t > p.dueAt + (AtOnce(p.job) ? 0 : kCount) + kMinute + p.excused)
      log->broken = "R1: at " + std::to_string(t) + ", due at " + std::to_string(p.dueAt) + " +" + std::to_string(p.excused);
  }

  // R2: never closer.
  void Postpone(Seconds s) {
    if (phase == Phase::kNotice) {
      log->returns.push_back(true);
      notice->answer = Reply::kCancel;
      Set(In(pending->job, s)), pending->notBefore = t + s;
      if (!notice->held) notice.reset();
      return;
    }
    log->returns.push_back(Waits());
    if (!Waits()) return;
    Pending& p = *pending;
    switch (p.kind) {
      case kIn: p.named = (p.due > t ? p.named : utc) + s, p.due = std::max(p.due, t) + s; break;
      case kAt: p.due = std::max(p.due, utc) + s, p.local = Local(p.due); break;
      case kIdle:
      case kQuiet: p.since = t, p.span = std::max(p.span, s); break;
      case kAfter: p.wait = (p.ended ? std::max(*p.ended + p.wait, t) - *p.ended : p.wait) + s; break;
    }
    p.notBefore = t + s, p.dueAt = -1, p.excused = 0;
    phase = Phase::kWaiting, Show();
  }
  void Cancel() {
    log->returns.push_back(Waits() || phase == Phase::kNotice);
    if (phase == Phase::kNotice) {
      notice->answer = Reply::kCancel;
      if (!notice->held) notice.reset();
    }
    if (log->returns.back()) Drop();
  }
  // The Postpone button of the notice shown: its job, by its force.
  void NoticePostpone() {
    if (!notice || notice->answer != Reply::kNone) return;
    if (phase != Phase::kNone && phase != Phase::kNotice) return;
    Set(In(notice->job, kNoticePostpone)), pending->notBefore = t + kNoticePostpone;
    notice->answer = Reply::kCancel;
    if (!notice->held) notice.reset();
  }
};

// ---- The system: the real Countdown and notice count on the fake machine ----

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
  std::optional<Notice> notice;  // its count is the notice's own, power::NoticeCount
  bool failing = false;
  Seconds ticksLeft = 0;
  std::int64_t noticeSlept = 0;
  std::vector<Ran> runs;
  std::vector<Miss> missed;
  std::vector<bool> returns;
  std::vector<Seconds> starts;
  std::shared_ptr<FakeLoad::Counters> load = std::make_shared<FakeLoad::Counters>();

  Seconds T() const { return ticks / 1000; }
  void RunJob(const Job& job) override {
    if (job.run) {
      starts.push_back(T());
      if (!Fails(job) && job.action >= 0)
        real.Chain(Then(job), std::make_unique<FakePrograms>(*this, ticks + Lasts(job) * 1000), "x.exe");
      return;
    }
    if (std::exchange(failing, false)) throw std::runtime_error("The sound does not open.");
    if (AtOnce(job)) return runs.push_back({job.action, job.force, T()});
    notice = Notice{.own = true, .job = job};
    power::NoticeCount = kCount;
    const power::NoticeAfterCarry carried(job.carriedMs);
    // The seconds of a Pass that opened it tick on inside it, then whatever comes.
    while (notice->answer == Reply::kNone || notice->held)
      if (!(ticksLeft ? (--ticksLeft, Second(1, false), true) : runner.Pump())) break;
    if (notice->answer == Reply::kOk) runs.push_back({job.action, job.force, T()});
    notice.reset();
  }
  bool NoticeShown() override { return notice.has_value(); }
  void AnswerNotice() override { notice->answer = Reply::kCancel; }
  void ReportMissed(const std::string& text) override { missed.push_back({text, T()}); }
  void ShowCaption(const std::string&) override {}

  Seconds slewLeft = 0, slewBy = 0;
  void Second(Seconds pass, bool asleep) {
    Pass(pass, asleep);
    if (asleep) noticeSlept += pass * 1000;
    else load->Pass(pass);
    if (!asleep && slewLeft && --slewLeft == 0) utc += slewBy;
    CountNotice();
    TickCountdown();
  }
  // The program's top level takes what the job raised.
  void TickCountdown() try { real.Tick(); } catch (const std::runtime_error&) {
  }
  // The notice's timer, and what the program does with its end.
  void CountNotice() {
    const std::int64_t s = std::exchange(noticeSlept, 0);
    if (!notice || notice->answer != Reply::kNone) return;
    const power::NoticeTick tick = power::CountNotice(s);
    if (tick == power::NoticeTick::kCounting) return;
    notice->answer = tick == power::NoticeTick::kZero ? Reply::kOk : Reply::kCancel;
    if (tick == power::NoticeTick::kZero && notice->own) real.NoticeAnswered();
    if (tick == power::NoticeTick::kMissed && !real.NoticeSlept()) missed.push_back({notice->job.name + kAsleep, T()});
    if (!notice->own && !notice->held) CloseOther();
  }
  void CloseOther() {
    if (notice->answer == Reply::kOk) runs.push_back({notice->job.action, notice->job.force, T()});
    notice.reset();
  }
  // Inside its own notice the notice's loop takes the seconds one by one,
  // and sees its answer after each.
  void Passing(Seconds seconds) {
    ticksLeft = seconds;
    if (!notice || !notice->own) Drain();
  }
  // The seconds left when a notice that opened inside a step has closed.
  void Drain() {
    while (ticksLeft > 0) --ticksLeft, Second(1, false);
  }
};

// A step: its name, what it does to the model and to the system.
struct Step : Command {
  std::string name;
  std::function<void(Model&)> model;
  std::function<void(Sut&)> system;
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
  sut_->Drain();
  Compare();
  if (next_++ == commands_.size()) return false;
  const Step& step = static_cast<const Step&>(*commands_[next_ - 1]);
  step.apply(model_);
  step.system(*sut_);
  return true;
}

// The model's text, "|" standing for the day ("... on |", a date the model
// leaves alone) or for nothing.
bool Matches(const std::string& model, const std::string& real) {
  const std::size_t bar = model.find('|');
  if (bar == std::string::npos) return real == model;
  const std::string head = model.substr(0, bar), tail = model.substr(bar + 1);
  if (!head.ends_with(" on ")) return real == head + tail;
  return real.starts_with(head) && real.ends_with(tail) && real.size() > model.size();
}

void Runner::Compare() const {
  const Sut& s = *sut_;
  const Model& m = model_;
  const Model::Log& log = *m.log;
  RC_ASSERT(log.broken == "");
  RC_ASSERT(s.runs == log.runs);
  RC_ASSERT(s.missed.size() == log.missed.size());
  for (std::size_t i = 0; i < s.missed.size(); ++i)
    RC_ASSERT(s.missed[i].second == log.missed[i].second && Matches(log.missed[i].first, s.missed[i].first));
  RC_ASSERT(s.returns == log.returns);
  RC_ASSERT(s.starts == log.starts);
  RC_ASSERT(s.real.State() == m.phase);
  RC_ASSERT(s.real.MayPostpone() == (m.phase == Phase::kNone || m.phase == Phase::kNotice));
  RC_ASSERT(s.notice.has_value() == m.notice.has_value());
  if (s.notice && !s.notice->held && s.notice->answer == Reply::kNone) RC_ASSERT(power::NoticeCount == m.count);
  if (!m.Waits()) return RC_ASSERT(s.real.Caption().empty() == !m.pending);
  const std::string real = s.real.Caption();
  RC_ASSERT(Matches(m.Caption(), real));
  // R4: an /at keeps the wall time it names, across zone changes too,
  // unless the new clock skips it.
  if (m.pending->kind == Model::kAt && m.Local(m.pending->due) == m.pending->local) {
    const Seconds local = m.pending->local % kDay;
    RC_ASSERT(real.ends_with(schedule::TimeText({int(local / 3600), int(local % 3600 / 60)})));
  }
  RC_ASSERT(s.real.Left() == m.Left());
}

std::shared_ptr<const Command> Do(std::string name, std::function<void(Model&)> model, std::function<void(Sut&)> system) {
  auto step = std::make_shared<Step>();
  step->name = std::move(name), step->model = std::move(model), step->system = std::move(system);
  return step;
}

// One of `n` kinds, evenly: inRange leans to its low end in small lives.
int OneOf(int n) {
  std::vector<int> kinds(n);
  for (int i = 0; i < n; ++i) kinds[i] = i;
  return *rc::gen::elementOf(kinds);
}
std::string Named(const std::string& what, Seconds amount) { return what + "(" + std::to_string(amount) + ")"; }

// ---- One generator per kind of event ----

rc::Gen<Job> AJob() { return rc::gen::element(kLogOff, kShutDown, kSaver); }
// Spans at their limits now and then: a second, thirty days.
rc::Gen<Seconds> ASpan() {
  return rc::gen::weightedOneOf<Seconds>({{6, rc::gen::inRange<Seconds>(1, 900)}, {1, rc::gen::element<Seconds>(1, 30 * kDay)}});
}

// A countdown set: `amount` its span, or when its programs end; the minute
// of an /at.
auto StartOf(Model::Kind kind, Job job, Seconds amount) {
  static const char* const kNames[] = {"StartIn ", "StartAt ", "StartIdle ", "StartAfter ", "StartQuiet "};
  return Do(Named(kNames[kind] + job.name, amount),
            [=](Model& m) {
              if (kind == Model::kIn) return void(m.Start(m.In(job, amount)));
              std::optional<Seconds> at;  // the first instant to come at which the wall clock reads it
              for (Seconds day = m.Local(m.utc) / kDay; kind == Model::kAt && !at; ++day)
                at = m.Reads(day * kDay + amount * 60, m.utc + 1);
              m.Start({.kind = kind, .job = job, .due = at.value_or(0), .local = at ? m.Local(*at) : 0,
                       .span = amount, .since = m.t, .end = m.t + amount});
            },
            [=](Sut& s) {
              s.returns.push_back(kind == Model::kIn     ? s.real.StartIn(job, amount)
                                  : kind == Model::kAt   ? s.real.StartAt(job, int(amount))
                                  : kind == Model::kIdle ? s.real.StartIdle(job, amount)
                                  : kind == Model::kQuiet
                                      ? s.real.StartQuiet(job, amount, {}, std::make_unique<FakeLoad>(s.load))
                                      : s.real.StartAfter(job, std::make_unique<FakePrograms>(s, s.ticks + amount * 1000), "x.exe"));
            });
}
// `minute`: the wall clock's minute of the day now.
rc::Gen<std::shared_ptr<const Command>> Starts(Seconds minute) {
  return rc::gen::exec([minute] {
    const auto kind = static_cast<Model::Kind>(OneOf(5));
    // An /at mostly within the next hours, so that the life can reach it.
    return StartOf(kind, *AJob(), kind == Model::kAt ? (minute + *rc::gen::inRange(-10, 180) + 1440) % 1440 : *ASpan());
  });
}

// A program as the job `in` seconds from now: `how` it goes (Fails, Lasts),
// and the action after its end, if any.
auto StartRun(Seconds in, const std::string& how, std::optional<Job> then) {
  const Job job{then ? then->action : -1, "Run x.exe", then ? then->force : std::nullopt, schedule::Run{"x.exe", how},
                then ? "then " + then->name : ""};
  return Do(Named("StartRun " + how + (then ? " then " + then->name : ""), in),
            [=](Model& m) { m.Start(m.In(job, in)); }, [=](Sut& s) { s.returns.push_back(s.real.StartIn(job, in)); });
}
// Its start fails, it ends at once, runs a while, or for hours, across the
// sleeps aimed at its end.
rc::Gen<std::shared_ptr<const Command>> Runs() {
  return rc::gen::exec([] {
    const std::string how = *rc::gen::element<std::string>("fails", "0", "1", "30", "600", "10800");
    return StartRun(*ASpan(), how, *rc::gen::arbitrary<bool>() ? std::optional(*AJob()) : std::nullopt);
  });
}

// Seconds from now to the pending countdown's due time, where it has one.
std::optional<Seconds> ToDue(const Model& m) {
  if (!m.Waits()) return std::nullopt;
  const Model::Pending& p = *m.pending;
  switch (p.kind) {
    case Model::kAfter: return p.ended ? *p.ended + p.wait - m.t : p.end - m.t;
    default: return m.Left();
  }
}
// Half the time aimed at its due time and the edges of the minute's grace.
rc::Gen<Seconds> Aimed(std::optional<Seconds> due, Seconds least, Seconds most) {
  return rc::gen::exec([due, least, most] {
    const Seconds beside = *rc::gen::element<Seconds>(-1, 0, 1, kMinute - 1, kMinute, kMinute + 1, 600);
    if (due && *rc::gen::arbitrary<bool>()) return std::clamp(*due + beside, least, most);
    return *rc::gen::inRange<Seconds>(least, most + 1);
  });
}

// Awake: the timer ticks every second.
auto Pass(Seconds n) {
  return Do(Named("Pass", n), [=](Model& m) { for (Seconds i = 0; i < n; ++i) m.Second(1, false); },
            [=](Sut& s) { s.Passing(n); });
}
// A tick late by `n` seconds, or a second one at once.
// Asleep `n` seconds, then the resume's tick.
auto Tick(Seconds n, bool asleep) {
  return Do(Named(asleep ? "Sleep" : "LateTick", n), [=](Model& m) { m.Second(n, asleep); },
            [=](Sut& s) { s.Second(n, asleep); });
}
auto SetClock(Seconds by) {
  return Do(Named("SetClock", by), [=](Model& m) { m.utc += by, m.stepped += by; }, [=](Sut& s) { s.utc += by; });
}
// The clock slewed: ten awake seconds in which it gains or loses one.
auto Slew(Seconds by) {
  return Do(Named("Slew", by),
            [=](Model& m) {
              m.slewLeft = 5, m.slewBy = by;
              for (int i = 0; i < 10; ++i) m.Second(1, false);
            },
            [=](Sut& s) { s.slewLeft = 5, s.slewBy = by, s.Passing(10); });
}
// The zone or its rules changed, by whole minutes: a tick follows at once.
auto Zone(Seconds by) {
  return Do(Named("Zone", by), [=](Model& m) { m.zone += by, m.rezoned = true, m.CountdownTick(); },
            [=](Sut& s) { s.zone += by, s.TickCountdown(); });
}
// `due`: seconds to the pending countdown's due time, where it has one.
rc::Gen<std::shared_ptr<const Command>> Times(std::optional<Seconds> due) {
  return rc::gen::exec([due]() -> std::shared_ptr<const Command> {
    switch (*rc::gen::weightedElement<int>({{8, 0}, {1, 1}, {3, 2}, {1, 3}, {1, 4}, {1, 5}})) {
      case 0: return Pass(*Aimed(due, 1, 120));
      case 1: return Tick(*rc::gen::inRange<Seconds>(0, 4), false);
      // Sleeps of a few seconds as well as of days.
      case 2: return Tick(*rc::gen::oneOf(Aimed(due, 1, 2 * kDay), rc::gen::inRange<Seconds>(1, 5)), true);
      case 3: return SetClock(*rc::gen::element<Seconds>(-1, 1) *
                              *rc::gen::oneOf(rc::gen::inRange<Seconds>(1, 5), rc::gen::inRange<Seconds>(5, 3 * kHour)));
      case 4: return Slew(*rc::gen::element<Seconds>(-1, 1));
      default: return Zone(*rc::gen::element<Seconds>(-1, 1) * 60 * *rc::gen::element<Seconds>(1, 15, 30, 60, 180));
    }
  });
}

auto Input() { return Do("Input", [](Model& m) { m.lastInput = m.t; }, [](Sut& s) { s.lastInput = s.ticks; }); }
// The seconds from now on are busy, or quiet.
auto Load(bool busy) {
  return Do(busy ? "Busy" : "Calm", [=](Model& m) { m.busy = busy; }, [=](Sut& s) { s.load->busy = busy; });
}

// Another action's notice, from a shortcut or the menu, counting `count`
// seconds (0: until answered): none while one is shown.
auto OtherNotice(Job job, Seconds count) {
  return Do(Named("OtherNotice " + job.name + (job.force ? " force" : ""), count),
            [=](Model& m) { m.notice ? void() : (m.notice = Notice{.job = job}, m.count = count, void()); },
            [=](Sut& s) { s.notice ? void() : (s.notice = Notice{.job = job}, power::NoticeCount = std::int32_t(count), void()); });
}
// The notice shown answered: Ok, Cancel, or its Postpone.
auto Answer(Reply reply) {
  return Do(reply == Reply::kOk ? "AnswerOk" : "AnswerCancel",
            [=](Model& m) {
              if (!m.notice || m.notice->answer != Reply::kNone) return;
              m.notice->answer = reply;
              if (reply == Reply::kOk && m.notice->own) m.phase = Phase::kAnswered;
              if (!m.notice->held) m.Close();
            },
            [=](Sut& s) {
              if (!s.notice || s.notice->answer != Reply::kNone) return;
              s.notice->answer = reply;
              if (reply == Reply::kOk && s.notice->own) s.real.NoticeAnswered();
              if (!s.notice->own && !s.notice->held) s.CloseOther();
            });
}
auto AnswerPostpone() {
  return Do("AnswerPostpone", [](Model& m) { m.NoticePostpone(); },
            [](Sut& s) {
              if (!s.notice || s.notice->answer != Reply::kNone || !s.real.PostponeJob(s.notice->job, kNoticePostpone)) return;
              s.notice->answer = Reply::kCancel;
              if (!s.notice->own && !s.notice->held) s.notice.reset();
            });
}
// A window opened over the notice holds its modal loop: an answer takes
// effect when it closes.
auto Hold(bool on) {
  return Do(on ? "Hold" : "Release",
            [=](Model& m) {
              if (m.notice && !(m.notice->held = on) && m.notice->answer != Reply::kNone) m.Close();
            },
            [=](Sut& s) {
              if (s.notice && !(s.notice->held = on) && !s.notice->own && s.notice->answer != Reply::kNone) s.CloseOther();
            });
}
rc::Gen<std::shared_ptr<const Command>> Notices() {
  return rc::gen::exec([]() -> std::shared_ptr<const Command> {
    switch (OneOf(6)) {
      case 0: return OtherNotice(*rc::gen::element(kLogOff, kShutDown, Job{0, "Shut Down", true}),
                                 *rc::gen::element<Seconds>(0, 5, 15, 120));
      case 1: return Answer(Reply::kOk);
      case 2: return Answer(Reply::kCancel);
      case 3: return AnswerPostpone();
      case 4: return Hold(*rc::gen::arbitrary<bool>());
      default: return Input();
    }
  });
}

// The tray's items and the command line; a job whose notice fails.
auto Cancel() { return Do("Cancel", [](Model& m) { m.Cancel(); }, [](Sut& s) { s.returns.push_back(s.real.Cancel()); }); }
auto Postpone(Seconds span) {
  return Do(Named("Postpone", span), [=](Model& m) { m.Postpone(span); },
            [=](Sut& s) { s.returns.push_back(s.real.Postpone(span)); });
}
auto Failing() { return Do("Failing", [](Model& m) { m.failing = true; }, [](Sut& s) { s.failing = true; }); }
rc::Gen<std::shared_ptr<const Command>> Calls() {
  return rc::gen::exec([]() -> std::shared_ptr<const Command> {
    switch (OneOf(5)) {
      case 0: return Cancel();
      case 1: return Failing();
      case 2: return Load(*rc::gen::arbitrary<bool>());
      default: return Postpone(*rc::gen::element<Seconds>(1, 60, 600, 3600));
    }
  });
}

rc::Gen<std::shared_ptr<const Command>> NextStep(const Model& m) {
  return rc::gen::weightedOneOf<std::shared_ptr<const Command>>(
      {{3, Starts(m.Local(m.utc) % kDay / 60)}, {1, Runs()}, {8, Times(ToDue(m))}, {3, Notices()}, {2, Calls()}});
}

// Where lives begin: a plain day, or hours before either change of
// daylight saving.
Seconds Start(int which) { return which == 0 ? kDay : (which == 1 ? kSpring : kAutumn) - 3 * kHour; }

TEST(CountdownModel, RandomLivesKeepTheRules) {
  EXPECT_TRUE(rc::check("the countdown against the README's rules", [] {
    const Seconds start = Start(OneOf(3));
    Model m;
    m.utc = start;
    const Steps steps = *rc::state::gen::commands(m, NextStep);
    for (Runner runner(start, steps); runner.Pump();) {
    }
  }));
}

}  // namespace
