// The one-off countdown: an action once, in a span of real time ("/in 45m"),
// at a local clock time ("/at 23:30"), once nobody has used the keyboard or
// mouse for a span ("/idle 30m"), once programs have ended ("/after
// x.exe"), or once the processor and the network have been quiet for a span
// ("/quiet 10m"), and its postponement. A span counts on a tick that goes on
// through sleep and that no clock change or daylight saving moves; a clock
// time is the next instant at which the wall clock will read it, aimed again
// when the zone's rules change. A countdown that a sleep, or for a clock
// time a change of the clock or zone, carried more than a minute past its
// time is missed: dropped and reported, never carried out late.
//
// Its life is one transition table (kLifecycle in Countdown.cpp): every
// tick notes what it saw and is judged (not due, due, due behind another
// notice, missed), and that judgement, a cancel, a postponement or the end
// of its own notice moves it from one phase to the next. Nothing else
// decides.
#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "schedule/Load.h"
#include "schedule/TimeOfDay.h"

namespace schedule {

// Seconds since 1970-01-01 00:00, in UTC or on the local wall clock.
using Seconds = std::int64_t;

// Carried past its time by more than this, by a sleep or a change of the
// clock, an action is missed rather than carried out late.
constexpr Seconds kGraceSeconds = 60;
// The tick count and the awake count drift apart by their resolution alone
// below this: a longer gap between them is a sleep.
constexpr std::int64_t kSleepSlackMs = 2000;

class TimeBase {
 public:
  virtual ~TimeBase() = default;
  // Milliseconds on a count that goes on through sleep and that no clock
  // change moves.
  virtual std::int64_t Ticks() = 0;
  // Milliseconds the machine has been awake, sleep left out.
  virtual std::int64_t AwakeTicks() = 0;
  virtual Seconds UtcNow() = 0;
  // What the local wall clock reads at a UTC instant, under the rules in
  // force on that date.
  virtual Seconds LocalOf(Seconds utc) = 0;
  // Milliseconds since the last keyboard or mouse input.
  virtual std::int64_t IdleMs() = 0;
};
// The platform's clocks. Win32 only.
TimeBase& SystemTimeBase();

// The processes an "/after" countdown waits for, held from the moment it
// was set, so that a process id used again cannot stand in for them.
class Programs {
 public:
  virtual ~Programs() = default;
  // One of them still runs.
  virtual bool Running() = 0;
};
// An "/after" program given by its process id: all digits.
bool IsProcessId(const std::string& program);
// The processes running now with that id, or with any of those file names;
// null when none runs. Win32 only.
std::unique_ptr<Programs> WatchPrograms(const std::vector<std::string>& names);
// The file names of the processes running now, each once, in order. Win32
// only.
std::vector<std::string> RunningPrograms();

// A caption's characters at most, a program's name shortened to fit: what a
// tray tip of 63 holds beside "Dormix: ".
constexpr std::size_t kLongestCaption = 55;

// How a caption names a span: "90 s", "30 min", "1 h 30 min".
std::string SpanText(Seconds span);

// The first instant later than `after` at which the local wall clock reads
// `local`: in a repeated hour the first pass still to come, in a skipped one
// the end of the gap; none when all of them have gone.
std::optional<Seconds> NextUtcOfLocal(TimeBase& time, Seconds local, Seconds after);

// A program a job starts in place of an action ("/run").
struct Run {
  std::string program;    // its file
  std::string arguments;  // what follows its name on its command line
  bool console = false;   // a console program gets a console window
  bool notice = false;    // the notice asks first, naming it
  bool operator==(const Run&) const = default;
};

// What a countdown carries out. The module names it and hands it back.
struct Job {
  int action = 0;  // the caller's number for it; with a program, the one after its end or -1
  std::string name;  // "Shut Down"
  std::optional<bool> force;
  std::optional<Run> run{};
  std::string follows{};  // "then Shut Down": added to the caption where it fits
  // As it fires: how far a sleep or a change of the clock carried it past
  // its time. Its notice's count may be carried on by no more than the rest
  // of the minute.
  std::int64_t carriedMs = 0;
};

class CountdownHost {
 public:
  virtual ~CountdownHost() = default;
  // Carries the job out, through its notice where it has one. May raise.
  virtual void RunJob(const Job& job) = 0;
  // A notice is shown, whoever's, answered or not: a due countdown waits
  // for it to close.
  virtual bool NoticeShown() = 0;
  // Answers the countdown's own notice, still unanswered, with Cancel.
  virtual void AnswerNotice() = 0;
  // The pending countdown's caption, "" for none, each time it changes.
  virtual void ShowCaption(const std::string& caption) = 0;
  // Tells the user, once, of a countdown that was missed.
  virtual void ReportMissed(const std::string& text) = 0;
};

// Where a countdown stands. Done and missed are the moves back to kNone.
enum class Phase {
  kNone,
  kWaiting,   // set, not yet due
  kBehind,    // due, but another notice is shown: judged again each tick
  kNotice,    // its job runs, in its own notice, unanswered
  kAnswered,  // its notice answered: the job goes on, nothing calls it off
};

// What moves a countdown: a tick's judgement, or a call.
enum class Event {
  kNotDue,
  kDue,
  kDueBehindNotice,
  kMissed,         // also: its notice cut by a sleep past its zero
  kWaitAgain,      // an idle or quiet wait's notice cut so: the wait starts again
  kAnswered,       // its notice answered with Ok, or its count's end
  kCancel,         // the tray's item or the command line
  kPostpone,       // the same, for a span
  kNoticePostpone, // a notice's Postpone: its job becomes the countdown
  kJobDone,        // its own notice closed, the job carried out or not
  kChained,        // its job started a program that another job follows
};

class Countdown {
 public:
  Countdown(TimeBase& time, CountdownHost& host) : time_(time), host_(host) {}

  // Sets the countdown `seconds` from now, or to the next time the local
  // clock reads `minuteOfDay` (a minute that has begun counts as gone).
  // False, and nothing changes, while one is pending.
  bool StartIn(Job job, Seconds seconds);
  bool StartAt(Job job, int minuteOfDay);
  // The same on `day`: a date, or the next day of a weekday, today while
  // the minute is still to come. False too when DueOn refuses it.
  bool StartAt(Job job, int minuteOfDay, const Day& day);
  // When the local clock reads `minuteOfDay` on `day` (in a repeated hour,
  // its first pass), or why no countdown can be set to it: " has passed.",
  // " is more than 30 days away.".
  std::variant<Seconds, std::string> DueOn(int minuteOfDay, const Day& day);
  // Once no input has come for `span`; the wait starts again on resume.
  bool StartIdle(Job job, Seconds span);
  // Once every one of `programs` has ended; `what` names them ("x.exe",
  // "process 1234").
  bool StartAfter(Job job, std::unique_ptr<Programs> programs, const std::string& what);
  // Once every second for `span` has been quiet by `limits`, as `load`
  // reads them; a busy second or a resume starts the span again.
  bool StartQuiet(Job job, Seconds span, LoadLimits limits, std::unique_ptr<LoadSampler> load);
  // Moves the pending countdown on, never closer: a time becomes due `span`
  // after its due time or now, whichever is later; an idle or quiet wait
  // starts again with the longer of its span and `span`; the wait after a
  // program's end grows by `span`. In its own notice, that notice is
  // answered with Cancel and the job comes `span` from now. False when none
  // is pending, or its notice was answered.
  bool Postpone(Seconds span);
  // A notice's postponement: `job` becomes the pending countdown `span` from
  // now. False, and nothing changes, while another one is pending.
  bool PostponeJob(Job job, Seconds span);
  // From inside RunJob: its job started a program that `next` follows, and
  // the countdown waits for that program's end as "/after" does (`what`
  // names it). False, and nothing changes, when no job of it runs.
  bool Chain(Job next, std::unique_ptr<Programs> program, const std::string& what);
  // A notice may be postponed: nothing else is pending.
  bool MayPostpone() const { return phase_ == Phase::kNone || phase_ == Phase::kNotice; }
  // Drops the pending countdown; its own notice is answered with Cancel.
  // False when none is pending, or its notice was answered.
  bool Cancel();
  // Its own notice was answered with Ok, or its count reached zero: its job
  // may be under way, and nothing calls it off any more.
  void NoticeAnswered();
  // Its own notice was cut by a sleep that carried it past its zero by more
  // than a minute, and closes with nothing done: missed, and reported, or an
  // idle or quiet wait starts again from now. False when the notice is not
  // this countdown's.
  bool NoticeSlept();
  // Every second while one is pending, on resume from sleep, and when the
  // clock or the zone changes.
  void Tick();
  Phase State() const { return phase_; }
  // "Hibernate at 15:00", "Hibernate tomorrow at 15:00", "Hibernate on Wed
  // 9 Dec at 15:00", "Log Off 10 min after x.exe ends"; "" when none is
  // pending.
  const std::string& Caption() const { return caption_; }
  // The caption, and for a quiet wait its readings: "Shut Down when quiet
  // for 10 min: processor 43 % (limit 10 %), network 2.1 MB/s (limit 50
  // KB/s), quiet for 0 min."
  std::string Status() const;
  // Seconds until it is due as things stand, none while that is not known
  // (programs still running).
  std::optional<Seconds> Left() const;

 private:
  struct Reading {
    std::int64_t ticks = 0, awake = 0;
    Seconds utc = 0;
  };
  enum class Kind { In, At, Idle, After, Quiet };
  struct Pending {
    Job job;
    Kind kind = Kind::In;
    std::int64_t dueTicks = 0;  // In
    Seconds dueUtc = 0;         // In, At: the instant on the wall clock
    Seconds local = 0;          // At: the wall time it names
    Seconds span = 0;           // Idle, Quiet: the quiet it waits for
    std::int64_t since = 0;     // Idle, Quiet: ticks its wait counts from
    Seconds wait = 0;           // After: the wait after the end
    std::optional<std::int64_t> ended{};  // After: ticks when they were seen ended
    std::unique_ptr<Programs> programs{};
    std::string what{};  // After: the programs' name
    std::optional<LoadMeter> meter{};  // Quiet: its counters, the load of the last second
    LoadLimits limits{};
    Load load{};
    unsigned serial = 0;
  };
  // What a call carries into the table's effect.
  struct Call {
    Seconds span = 0;
    const Job* job = nullptr;
    const char* why = "";  // a miss: how it came about
    std::int64_t carriedMs = 0;  // a firing: how far it was carried past its time
    Pending* chained = nullptr;  // a chain: what waits for the program
  };
  // What a tick saw since the last one.
  struct Seen {
    std::int64_t sleptMs = 0;  // asleep, beyond the clocks' drift
    std::int64_t movedMs = 0;  // how far sleep, a clock or a zone change carried it on
    bool byClock = false;      // the clock or the zone, more than sleep
  };
  struct Judgement {
    Event event;
    const char* why = "";
    std::int64_t carriedMs = 0;
  };

  Reading Read();
  bool Start(Pending pending);
  // Records in `p` what the tick saw: the programs' end, a wait started
  // again, the load, the wall time a span names, a clock time aimed anew.
  Seen Note(Pending& p, const Reading& now, const Reading& last);
  // A tick's judgement of the pending countdown; changes nothing.
  Judgement Judge(const Pending& p, const Reading& now, const Seen& seen);
  // Due now: behind the notice shown, if any.
  Event Due();
  // The table's move for `event`; false when the table refuses it.
  bool Step(Event event, const Call& call);
  void Fire(std::int64_t carriedMs);
  void Move(Pending& p, Seconds span);
  void Show();

  TimeBase& time_;
  CountdownHost& host_;
  Phase phase_ = Phase::kNone;
  std::optional<Pending> pending_;
  Reading last_;
  std::string caption_;
  unsigned serial_ = 0;
};

}  // namespace schedule
