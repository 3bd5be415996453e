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

Countdown::Reading Countdown::Read() { return {time_.Ticks(), time_.AwakeTicks(), time_.UtcNow()}; }

bool Countdown::StartIn(Job job, Seconds seconds) {
  if (pending_) return false;
  const Reading now = Read();
  Start(std::move(job), now.ticks + seconds * 1000, now.utc + seconds);
  return true;
}

bool Countdown::StartAt(Job job, int minuteOfDay) {
  if (pending_) return false;
  const Seconds local = time_.LocalOf(Read().utc);
  Seconds due = DayOf(local) * kDay + minuteOfDay * 60;
  if (due <= local) due += kDay;
  Start(std::move(job), std::nullopt, UtcOfLocal(time_, due));
  return true;
}

void Countdown::Start(Job job, std::optional<std::int64_t> dueTicks, Seconds dueUtc) {
  pending_ = Pending{std::move(job), dueTicks, dueUtc, false, ++serial_};
  last_ = Read();
  Show();
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

void Countdown::Tick() {
  const Reading now = Read(), last = std::exchange(last_, now);
  if (!pending_ || firing_) return;
  Pending& p = *pending_;
  if (p.dueTicks) {
    // The wall time a span names follows a change of the clock.
    const Seconds named = now.utc + (*p.dueTicks - now.ticks) / 1000;
    if (named > p.dueUtc + 2 || named < p.dueUtc - 2) p.dueUtc = named;
  }
  if (!p.reached) {
    const std::int64_t lateMs = p.dueTicks ? now.ticks - *p.dueTicks : (now.utc - p.dueUtc) * 1000;
    if (lateMs < 0) return Show();
    const bool slept = (now.ticks - last.ticks) - (now.awake - last.awake) > kSlackMs;
    const bool jumped = !p.dueTicks && (now.utc - last.utc) * 1000 - (now.ticks - last.ticks) > kSlackMs;
    if (lateMs > kGraceSeconds * 1000 && (slept || jumped)) {
      const std::string text = caption_ + (slept ? " was missed while the computer was asleep."
                                                 : " was missed: the clock was set past it.");
      Drop();
      return host_.ReportMissed(text);
    }
    p.reached = true;
  }
  if (host_.NoticeShown()) return Show();
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
    const Seconds due = time_.LocalOf(pending_->dueUtc);
    const Seconds days = DayOf(due) - DayOf(time_.LocalOf(time_.UtcNow()));
    const Seconds second = due - DayOf(due) * kDay;
    caption = pending_->job.name + (days == 0 ? "" : days == 1 ? " tomorrow" : " on " + DateText(DayOf(due))) +
              " at " + TimeText({static_cast<int>(second / 3600), static_cast<int>(second % 3600 / 60)});
  }
  if (caption == caption_) return;
  caption_ = std::move(caption);
  host_.ShowCaption(caption_);
}

}  // namespace schedule
