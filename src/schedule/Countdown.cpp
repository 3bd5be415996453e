// The one-off countdown's time base, due and missed checks, and caption.
#include "schedule/Countdown.h"

#include <algorithm>
#include <limits>
#include <utility>

#include "schedule/TimeOfDay.h"

namespace schedule {

namespace {

constexpr Seconds kDay = 24 * 60 * 60;
// Found due later than this after a sleep or a clock jump: missed.
constexpr Seconds kGraceSeconds = 60;
// The two counts drift apart by their resolution alone below this.
constexpr std::int64_t kSlackMs = 2000;

Seconds DayOf(Seconds local) { return local >= 0 ? local / kDay : (local - kDay + 1) / kDay; }

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

Seconds UtcOfLocal(TimeBase& time, Seconds local) {
  // The offsets in force a day either side; no zone changes twice in a day.
  const Seconds offsets[] = {time.LocalOf(local - kDay) - (local - kDay), time.LocalOf(local + kDay) - (local + kDay)};
  Seconds first = std::numeric_limits<Seconds>::max();
  for (const Seconds offset : offsets)
    if (time.LocalOf(local - offset) == local) first = std::min(first, local - offset);
  if (first != std::numeric_limits<Seconds>::max()) return first;
  // Skipped: the clock reads less than `local` at `before` and more at
  // `after`, with the one jump between them.
  Seconds before = local - std::max(offsets[0], offsets[1]), after = local - std::min(offsets[0], offsets[1]);
  while (after - before > 1) {
    const Seconds middle = before + (after - before) / 2;
    (time.LocalOf(middle) >= local ? after : before) = middle;
  }
  return after;
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

Countdown::Reading Countdown::Read() { return {time_.Ticks(), time_.AwakeTicks(), time_.UtcNow()}; }

bool Countdown::StartIn(Job job, Seconds seconds) {
  const Reading now = Read();
  return Start({.job = std::move(job), .kind = Kind::In, .dueTicks = now.ticks + seconds * 1000, .dueUtc = now.utc + seconds});
}

bool Countdown::StartAt(Job job, int minuteOfDay) {
  const Seconds local = time_.LocalOf(time_.UtcNow());
  Seconds due = DayOf(local) * kDay + minuteOfDay * 60;
  if (due <= local) due += kDay;
  return Start({.job = std::move(job), .kind = Kind::At, .dueUtc = UtcOfLocal(time_, due)});
}

bool Countdown::StartIdle(Job job, Seconds span) {
  return Start({.job = std::move(job), .kind = Kind::Idle, .span = span, .since = time_.Ticks()});
}

bool Countdown::StartAfter(Job job, std::unique_ptr<Programs> programs, const std::string& what) {
  return Start({.job = std::move(job), .kind = Kind::After, .programs = std::move(programs), .what = what});
}

bool Countdown::Start(Pending pending) {
  if (pending_) return false;
  pending.serial = ++serial_;
  pending_ = std::move(pending);
  last_ = Read();
  Show();
  return true;
}

bool Countdown::Postpone(Seconds span) {
  if (!pending_) return false;
  Pending& p = *pending_;
  p.reached = false;
  if (p.kind == Kind::In) p.dueTicks += span * 1000;
  if (p.kind == Kind::In || p.kind == Kind::At) p.dueUtc += span;
  if (p.kind == Kind::Idle) p.since = time_.Ticks();
  if (p.kind == Kind::Idle || p.kind == Kind::After) p.span = span;
  Show();
  return true;
}

bool Countdown::PostponeJob(Job job, Seconds span) {
  if (!MayPostpone()) return false;
  pending_.reset();
  return StartIn(std::move(job), span);
}

bool Countdown::Cancel() {
  if (!pending_) return false;
  if (firing_) host_.CancelNotice();
  Drop();
  return true;
}

void Countdown::Drop() {
  pending_.reset();
  Show();
}

bool Countdown::Due(Pending& p, const Reading& now, const Reading& last) {
  const bool slept = (now.ticks - last.ticks) - (now.awake - last.awake) > kSlackMs;
  switch (p.kind) {
    case Kind::Idle:
      // Input from before a sleep is no reason to act as the user comes back.
      if (slept) p.since = now.ticks;
      return std::min(time_.IdleMs(), now.ticks - p.since) >= p.span * 1000;
    case Kind::After:
      if (!p.since && !p.programs->Running()) p.since = now.ticks;
      return p.since && now.ticks - p.since >= p.span * 1000;
    case Kind::In: {
      // The wall time a span names follows a change of the clock.
      const Seconds named = now.utc + (p.dueTicks - now.ticks) / 1000;
      if (named > p.dueUtc + 2 || named < p.dueUtc - 2) p.dueUtc = named;
      break;
    }
    case Kind::At: break;
  }
  const std::int64_t lateMs = p.kind == Kind::In ? now.ticks - p.dueTicks : (now.utc - p.dueUtc) * 1000;
  if (lateMs < 0) return false;
  const bool jumped = p.kind == Kind::At && (now.utc - last.utc) * 1000 - (now.ticks - last.ticks) > kSlackMs;
  if (lateMs <= kGraceSeconds * 1000 || !(slept || jumped)) return true;
  const std::string text = caption_ + (slept ? " was missed while the computer was asleep."
                                             : " was missed: the clock was set past it.");
  Drop();
  host_.ReportMissed(text);
  return false;
}

void Countdown::Tick() {
  const Reading now = Read(), last = std::exchange(last_, now);
  if (!pending_ || firing_) return;
  if (!pending_->reached) {
    const bool due = Due(*pending_, now, last);
    if (!pending_) return;
    pending_->reached = due;
  }
  if (!pending_->reached || host_.NoticeShown()) return Show();
  Fire();
}

// Pending while it runs, so that its notice can be cancelled like the
// countdown; dropped afterwards unless that happened or another took its place.
void Countdown::Fire() {
  const unsigned serial = pending_->serial;
  struct Done {
    Countdown& countdown;
    unsigned serial;
    ~Done() {
      countdown.firing_ = false;
      if (countdown.pending_ && countdown.pending_->serial == serial) countdown.Drop();
    }
  } done{*this, serial};
  firing_ = true;
  const Job job = pending_->job;
  host_.RunJob(job);
}

void Countdown::Show() {
  std::string caption;
  if (pending_) {
    const Pending& p = *pending_;
    caption = p.job.name;
    if (p.kind == Kind::Idle) {
      caption += " after " + SpanText(p.span) + " idle";
    } else if (p.kind == Kind::After) {
      const std::size_t room = kLongestCaption - caption.size() - std::string(" when  ends").size();
      caption += " when " + (p.what.size() <= room ? p.what : p.what.substr(0, room - 3) + "...") + " ends";
    } else {
      const Seconds due = time_.LocalOf(p.dueUtc);
      const Seconds days = DayOf(due) - DayOf(time_.LocalOf(time_.UtcNow()));
      const Seconds second = due - DayOf(due) * kDay;
      caption += (days == 0 ? "" : days == 1 ? " tomorrow" : " on " + DateText(DayOf(due))) + " at " +
                 TimeText({static_cast<int>(second / 3600), static_cast<int>(second % 3600 / 60)});
    }
  }
  if (caption == caption_) return;
  caption_ = std::move(caption);
  host_.ShowCaption(caption_);
}

}  // namespace schedule
