// The one-off countdown's time base, due and missed checks, and caption.
#include "schedule/Countdown.h"

#include <algorithm>
#include <limits>
#include <utility>
#include <variant>

#include "schedule/TimeOfDay.h"
#include "ui/Utf8.h"

namespace schedule {

namespace {

constexpr Seconds kDay = 24 * 60 * 60;
// A clock time on a day ("/on") is at most this far off, as a span is.
constexpr Seconds kLongestCountdownDays = 30;

// "Wed 9 Dec" for a day counted from 1970-01-01, a Thursday.
std::string DateText(Seconds day) {
  static const char* const kWeekdays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                        "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  // The civil date of a day number, with years that begin on 1 March.
  const Seconds z = day + 719468, era = (z >= 0 ? z : z - 146096) / 146097;
  const Seconds dayOfEra = z - era * 146097;
  const Seconds yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const Seconds dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const Seconds shiftedMonth = (5 * dayOfYear + 2) / 153;
  const Seconds dayOfMonth = dayOfYear - (153 * shiftedMonth + 2) / 5 + 1;
  const Seconds month = shiftedMonth < 10 ? shiftedMonth + 2 : shiftedMonth - 10;
  return std::string(kWeekdays[((day + 4) % 7 + 7) % 7]) + " " + std::to_string(dayOfMonth) + " " + kMonths[month];
}

}  // namespace

std::optional<Seconds> NextUtcOfLocal(TimeBase& time, Seconds local, Seconds after) {
  // The offsets in force a day either side; no zone changes twice in a day.
  const Seconds offsets[] = {time.LocalOf(local - kDay) - (local - kDay), time.LocalOf(local + kDay) - (local + kDay)};
  std::optional<Seconds> first;
  bool read = false;
  for (const Seconds offset : offsets)
    if (time.LocalOf(local - offset) == local) {
      read = true;
      if (local - offset > after && (!first || local - offset < *first)) first = local - offset;
    }
  if (read) return first;
  // Skipped: the clock reads less than `local` at `before` and more at
  // `after`, with the one jump between them.
  Seconds before = local - std::max(offsets[0], offsets[1]), end = local - std::min(offsets[0], offsets[1]);
  while (end - before > 1) {
    const Seconds middle = before + (end - before) / 2;
    (time.LocalOf(middle) >= local ? end : before) = middle;
  }
  if (end > after) return end;
  return std::nullopt;
}

bool IsProcessId(const std::string& program) {
  return program.find_first_not_of("0123456789") == std::string::npos;
}

std::string SpanText(Seconds span) {
  if (span % 60) return std::to_string(span) + " s";
  const Seconds hours = span / 3600, minutes = span % 3600 / 60;
  const std::string h = hours ? std::to_string(hours) + " h" : "", m = minutes ? std::to_string(minutes) + " min" : "";
  return h + (hours && minutes ? " " : "") + m;
}

namespace {

enum class Effect {
  kShow,             // the caption, which names the day anew at midnight
  kFire,             // its job runs, through its notice
  kMiss,             // dropped, and the user told once
  kDrop,             // dropped
  kMove,             // the pending countdown moved on by the call's span
  kWaitAgain,        // an idle or quiet wait starts again from now
  kAnswerAndDrop,    // its notice answered with Cancel, then dropped
  kAnswerAndDelay,   // its notice answered with Cancel, its job `span` from now
  kStartIn,          // the call's job `span` from now, in place of any other
  kChain,            // the call's job once the call's program has ended
};

struct Transition {
  Phase from;
  Event event;
  Phase to;
  Effect effect;
};

using P = Phase;
using E = Event;
// Every move a countdown makes, and the phase it leaves in. A pair that is
// not here is refused and changes nothing; ticks are judged only while it
// waits or stands behind.
constexpr Transition kLifecycle[] = {
    {P::kWaiting, E::kNotDue, P::kWaiting, Effect::kShow},
    {P::kWaiting, E::kDue, P::kNotice, Effect::kFire},
    {P::kWaiting, E::kDueBehindNotice, P::kBehind, Effect::kShow},
    {P::kWaiting, E::kMissed, P::kNone, Effect::kMiss},
    {P::kWaiting, E::kCancel, P::kNone, Effect::kDrop},
    {P::kWaiting, E::kPostpone, P::kWaiting, Effect::kMove},
    // Behind a notice it is judged again each tick: a sleep may make it
    // missed, input may end an idle wait, a clock set back may make it early.
    {P::kBehind, E::kNotDue, P::kWaiting, Effect::kShow},
    {P::kBehind, E::kDue, P::kNotice, Effect::kFire},
    {P::kBehind, E::kDueBehindNotice, P::kBehind, Effect::kShow},
    {P::kBehind, E::kMissed, P::kNone, Effect::kMiss},
    {P::kBehind, E::kCancel, P::kNone, Effect::kDrop},
    {P::kBehind, E::kPostpone, P::kWaiting, Effect::kMove},
    // In its notice, a cancel or postponement from anywhere answers that
    // notice, so the job cannot run behind the user's back; once the notice
    // is answered (Ok, its count's end) both are refused. A notice that a
    // sleep cut closes with nothing done.
    {P::kNotice, E::kCancel, P::kNone, Effect::kAnswerAndDrop},
    {P::kNotice, E::kPostpone, P::kWaiting, Effect::kAnswerAndDelay},
    {P::kNotice, E::kNoticePostpone, P::kWaiting, Effect::kStartIn},
    {P::kNotice, E::kMissed, P::kNone, Effect::kMiss},
    {P::kNotice, E::kWaitAgain, P::kWaiting, Effect::kWaitAgain},
    {P::kNotice, E::kAnswered, P::kAnswered, Effect::kShow},
    {P::kNotice, E::kJobDone, P::kNone, Effect::kDrop},
    {P::kAnswered, E::kJobDone, P::kNone, Effect::kDrop},
    {P::kNone, E::kNoticePostpone, P::kWaiting, Effect::kStartIn},
    // A program started as its job, with an action to follow its end: one
    // countdown still, now waiting for that end.
    {P::kNotice, E::kChained, P::kWaiting, Effect::kChain},
    {P::kAnswered, E::kChained, P::kWaiting, Effect::kChain},
};

const char* const kAsleep = " was missed while the computer was asleep.";

}  // namespace

Countdown::Reading Countdown::Read() { return {time_.Ticks(), time_.AwakeTicks(), time_.UtcNow()}; }

bool Countdown::StartIn(Job job, Seconds seconds) {
  const Reading now = Read();
  return Start({.job = std::move(job), .kind = Kind::In, .dueTicks = now.ticks + seconds * 1000, .dueUtc = now.utc + seconds});
}

bool Countdown::StartAt(Job job, int minuteOfDay) {
  const Seconds now = time_.UtcNow();
  // Today's, or in a repeated hour its second pass, or tomorrow's: a zone
  // skips or repeats at most an hour of one day.
  const Seconds today = DayOfLocal(time_.LocalOf(now));
  for (Seconds day = today; day <= today + 2; ++day) {
    const Seconds local = day * kDay + minuteOfDay * 60;
    if (const std::optional<Seconds> due = NextUtcOfLocal(time_, local, now))
      return Start({.job = std::move(job), .kind = Kind::At, .dueUtc = *due, .local = time_.LocalOf(*due)});
  }
  return false;
}

bool Countdown::StartAt(Job job, int minuteOfDay, const Day& day) {
  const auto due = DueOn(minuteOfDay, day);
  if (!std::holds_alternative<Seconds>(due)) return false;
  const Seconds utc = std::get<Seconds>(due);
  return Start({.job = std::move(job), .kind = Kind::At, .dueUtc = utc, .local = time_.LocalOf(utc)});
}

std::variant<Seconds, std::string> Countdown::DueOn(int minuteOfDay, const Day& day) {
  const Seconds now = time_.UtcNow(), today = DayOfLocal(time_.LocalOf(now));
  if (day.weekday >= 0) {
    // A week on, the same weekday is there again: a skipped minute ends its gap.
    for (Seconds d = today; d <= today + 7; ++d)
      if (WeekdayOf(d) == day.weekday)
        if (const std::optional<Seconds> due = NextUtcOfLocal(time_, d * kDay + minuteOfDay * 60, now)) return *due;
    return " has passed.";
  }
  const Seconds date = DayNumber(day);
  if (date > today + kLongestCountdownDays) return " is more than 30 days away.";
  const std::optional<Seconds> due = date < today ? std::nullopt : NextUtcOfLocal(time_, date * kDay + minuteOfDay * 60, now);
  if (!due) return " has passed.";
  if (*due - now > kLongestCountdownDays * kDay) return " is more than 30 days away.";
  return *due;
}

bool Countdown::Chain(Job next, std::unique_ptr<Programs> program, const std::string& what) {
  Pending chained{.job = std::move(next), .kind = Kind::After, .programs = std::move(program), .what = what};
  return Step(Event::kChained, {.chained = &chained});
}

bool Countdown::StartIdle(Job job, Seconds span) {
  return Start({.job = std::move(job), .kind = Kind::Idle, .span = span, .since = time_.Ticks()});
}

bool Countdown::StartAfter(Job job, std::unique_ptr<Programs> programs, const std::string& what) {
  return Start({.job = std::move(job), .kind = Kind::After, .programs = std::move(programs), .what = what});
}

bool Countdown::StartQuiet(Job job, Seconds span, LoadLimits limits, std::unique_ptr<LoadSampler> load) {
  return Start({.job = std::move(job), .kind = Kind::Quiet, .span = span, .since = time_.Ticks(),
                .meter = LoadMeter(std::move(load)), .limits = limits});
}

bool Countdown::Start(Pending pending) {
  if (phase_ != Phase::kNone) return false;
  pending.serial = ++serial_;
  pending_ = std::move(pending);
  phase_ = Phase::kWaiting;
  last_ = Read();
  Show();
  return true;
}

bool Countdown::Postpone(Seconds span) { return Step(Event::kPostpone, {.span = span}); }
bool Countdown::PostponeJob(Job job, Seconds span) { return Step(Event::kNoticePostpone, {.span = span, .job = &job}); }
bool Countdown::Cancel() { return Step(Event::kCancel, {}); }
void Countdown::NoticeAnswered() { Step(Event::kAnswered, {}); }

bool Countdown::NoticeSlept() {
  if (phase_ != Phase::kNotice) return false;
  const Kind kind = pending_->kind;
  Step(kind == Kind::Idle || kind == Kind::Quiet ? Event::kWaitAgain : Event::kMissed, {.why = kAsleep});
  return true;
}

bool Countdown::Step(Event event, const Call& call) {
  const Transition* move = nullptr;
  for (const Transition& t : kLifecycle)
    if (t.from == phase_ && t.event == event) move = &t;
  if (!move) return false;
  // Set first: a job's notice runs its modal loop inside the effect.
  phase_ = move->to;
  switch (move->effect) {
    case Effect::kShow: break;
    case Effect::kFire: Fire(call.carriedMs); return true;
    case Effect::kMiss: {
      const std::string text = caption_ + call.why;
      pending_.reset();
      Show();
      host_.ReportMissed(text);
      return true;
    }
    case Effect::kAnswerAndDrop: host_.AnswerNotice(); [[fallthrough]];
    case Effect::kDrop: pending_.reset(); break;
    case Effect::kMove: Move(*pending_, call.span); break;
    case Effect::kWaitAgain:
      pending_->since = time_.Ticks();
      pending_->serial = ++serial_;
      break;
    case Effect::kChain:
      last_ = Read();
      call.chained->serial = ++serial_;
      pending_ = std::move(*call.chained);
      break;
    case Effect::kAnswerAndDelay: host_.AnswerNotice(); [[fallthrough]];
    case Effect::kStartIn: {
      const Reading now = last_ = Read();
      pending_ = Pending{.job = call.job ? *call.job : pending_->job, .kind = Kind::In,
                         .dueTicks = now.ticks + call.span * 1000, .dueUtc = now.utc + call.span, .serial = ++serial_};
      break;
    }
  }
  Show();
  return true;
}

// Never closer: a due time already gone counts from now.
void Countdown::Move(Pending& p, Seconds span) {
  const Reading now = Read();
  switch (p.kind) {
    case Kind::In:
      p.dueUtc = (p.dueTicks > now.ticks ? p.dueUtc : now.utc) + span;
      p.dueTicks = std::max(p.dueTicks, now.ticks) + span * 1000;
      break;
    case Kind::At:
      p.dueUtc = std::max(p.dueUtc, now.utc) + span;
      p.local = time_.LocalOf(p.dueUtc);
      break;
    case Kind::Idle:
    case Kind::Quiet:
      p.since = now.ticks;
      p.span = std::max(p.span, span);
      break;
    case Kind::After:
      if (p.ended) p.wait = (std::max(*p.ended + p.wait * 1000, now.ticks) - *p.ended + 999) / 1000;
      p.wait += span;
      break;
  }
}

Countdown::Seen Countdown::Note(Pending& p, const Reading& now, const Reading& last) {
  Seen seen;
  const std::int64_t gone = now.ticks - last.ticks;
  if (gone - (now.awake - last.awake) > kSleepSlackMs) seen.sleptMs = gone - (now.awake - last.awake);
  seen.movedMs = seen.sleptMs;
  switch (p.kind) {
    case Kind::Idle:
      // Input from before a sleep is no reason to act as the user comes back.
      if (seen.sleptMs) p.since = now.ticks;
      break;
    case Kind::Quiet: {
      p.load = p.meter->Next(gone, p.limits);
      if (seen.sleptMs || !Quiet(p.load, p.limits)) p.since = now.ticks;
      break;
    }
    case Kind::After:
      if (!p.ended && !p.programs->Running()) p.ended = now.ticks;
      break;
    case Kind::In: {
      // The wall time a span names follows a change of the clock.
      const Seconds named = now.utc + (p.dueTicks - now.ticks) / 1000;
      if (named > p.dueUtc + kSleepSlackMs / 1000 || named < p.dueUtc - kSleepSlackMs / 1000) p.dueUtc = named;
      break;
    }
    case Kind::At: {
      std::int64_t byClock = std::max<std::int64_t>(0, (now.utc - last.utc) * 1000 - gone);
      // The zone's rules changed: the wall time is read on the new clock.
      if (time_.LocalOf(p.dueUtc) != p.local) {
        const std::optional<Seconds> next = NextUtcOfLocal(time_, p.local, now.utc - kGraceSeconds - 1);
        const Seconds due = next ? *next : NextUtcOfLocal(time_, p.local, p.local - 2 * kDay).value_or(now.utc);
        byClock += std::max<Seconds>(0, p.dueUtc - due) * 1000;
        p.dueUtc = due;
      }
      if (byClock > kSleepSlackMs) seen.movedMs += byClock, seen.byClock = byClock > seen.sleptMs;
      break;
    }
  }
  return seen;
}

Countdown::Judgement Countdown::Judge(const Pending& p, const Reading& now, const Seen& seen) {
  std::int64_t lateMs = 0;
  switch (p.kind) {
    case Kind::Idle: return {std::min(time_.IdleMs(), now.ticks - p.since) >= p.span * 1000 ? Due() : Event::kNotDue};
    case Kind::Quiet: return {now.ticks - p.since >= p.span * 1000 ? Due() : Event::kNotDue};
    case Kind::After:
      if (!p.ended) return {Event::kNotDue};
      lateMs = now.ticks - (*p.ended + p.wait * 1000);
      break;
    case Kind::In: lateMs = now.ticks - p.dueTicks; break;
    case Kind::At: lateMs = (now.utc - p.dueUtc) * 1000; break;
  }
  if (lateMs < 0) return {Event::kNotDue};
  // Missed only when what the tick saw carried it past its time by more
  // than the grace: a late tick, or a short sleep or step, is not a miss.
  if (const std::int64_t carried = std::min(lateMs, seen.movedMs); carried <= kGraceSeconds * 1000)
    return {Due(), "", carried};
  return {Event::kMissed, seen.byClock ? " was missed: the clock was set past it." : kAsleep};
}

Event Countdown::Due() { return host_.NoticeShown() ? Event::kDueBehindNotice : Event::kDue; }

void Countdown::Tick() {
  const Reading now = Read(), last = std::exchange(last_, now);
  if (phase_ != Phase::kWaiting && phase_ != Phase::kBehind) return;
  const Seen seen = Note(*pending_, now, last);
  const Judgement judged = Judge(*pending_, now, seen);
  Step(judged.event, {.why = judged.why, .carriedMs = judged.carriedMs});
}

// Its job's end, however it ends (an error included), closes its notice
// phase, unless a cancel, a postponement or a sleep has moved the countdown
// on.
void Countdown::Fire(std::int64_t carriedMs) {
  struct Done {
    Countdown& countdown;
    unsigned serial;
    ~Done() {
      if (countdown.pending_ && countdown.pending_->serial == serial) countdown.Step(Event::kJobDone, {});
    }
  } done{*this, pending_->serial};
  Job job = pending_->job;
  job.carriedMs = carriedMs;
  host_.RunJob(job);
}

void Countdown::Show() {
  std::string caption;
  if (pending_) {
    const Pending& p = *pending_;
    caption = p.job.name;
    if (p.kind == Kind::Idle) {
      caption += " after " + SpanText(p.span) + " idle";
    } else if (p.kind == Kind::Quiet) {
      caption += " when quiet for " + SpanText(p.span);
    } else if (p.kind == Kind::After) {
      const std::string after = p.wait ? " " + SpanText(p.wait) + " after " : " when ";
      const std::size_t room = kLongestCaption - ui::CharacterCount(caption) - (after + " ends").size();
      caption += after + ui::Shortened(p.what, room) + " ends";
    } else {
      const Seconds due = time_.LocalOf(p.dueUtc);
      const Seconds days = DayOfLocal(due) - DayOfLocal(time_.LocalOf(time_.UtcNow()));
      const Seconds second = due - DayOfLocal(due) * kDay;
      caption += (days == 0 ? "" : days == 1 ? " tomorrow" : " on " + DateText(DayOfLocal(due))) + " at " +
                 TimeText({static_cast<int>(second / 3600), static_cast<int>(second % 3600 / 60)});
    }
    const std::string& follows = p.job.follows;
    if (!follows.empty() && ui::CharacterCount(caption) + 2 + ui::CharacterCount(follows) <= kLongestCaption)
      caption += ", " + follows;
  }
  if (caption == caption_) return;
  caption_ = std::move(caption);
  host_.ShowCaption(caption_);
}

}  // namespace schedule

namespace schedule {

std::string Countdown::Status() const {
  if (!pending_ || pending_->kind != Kind::Quiet) return caption_;
  const Pending& p = *pending_;
  return caption_ + ": processor " + std::to_string(p.load.percent) + " % (limit " + std::to_string(p.limits.percent) +
         " %), network " + RateText(p.load.bytesPerSecond) + " (limit " + RateText(p.limits.bytesPerSecond) +
         "), quiet for " + std::to_string((time_.Ticks() - p.since) / 60000) + " min.";
}

std::optional<Seconds> Countdown::Left() const {
  if (!pending_) return std::nullopt;
  const Pending& p = *pending_;
  const std::int64_t ticks = time_.Ticks();
  std::int64_t ms = 0;
  switch (p.kind) {
    case Kind::In: ms = p.dueTicks - ticks; break;
    case Kind::At: ms = (p.dueUtc - time_.UtcNow()) * 1000; break;
    case Kind::Idle: ms = p.span * 1000 - std::min(time_.IdleMs(), ticks - p.since); break;
    case Kind::Quiet: ms = p.span * 1000 - (ticks - p.since); break;
    case Kind::After:
      if (!p.ended) return std::nullopt;
      ms = *p.ended + p.wait * 1000 - ticks;
      break;
  }
  return std::max<std::int64_t>(0, (ms + 999) / 1000);
}

}  // namespace schedule
