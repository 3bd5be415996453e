// The one-off countdown: an action once, in a span of real time ("/in 45m"),
// at a local clock time ("/at 23:30"), once nobody has used the keyboard or
// mouse for a span ("/idle 30m"), or once programs have ended ("/after
// x.exe"), and its postponement. A span counts on a tick that goes
// on through sleep and that no clock change or daylight saving moves; a
// clock time is converted once to UTC, as the wall clock will read it on
// that day. A countdown that fell due while the machine slept, or that the
// wall clock jumped past, by more than a minute is missed: dropped and
// reported, never carried out late. One that falls due while a notice is
// shown waits for that notice's answer. It stays pending until its action
// has run or it is cancelled, its own notice's count included.
#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace schedule {

// Seconds since 1970-01-01 00:00, in UTC or on the local wall clock.
using Seconds = std::int64_t;

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
// The processes running now with that id or that file name; null when none
// runs. Win32 only.
std::unique_ptr<Programs> WatchPrograms(const std::string& program);

// A caption's characters at most, a program's name shortened to fit: what a
// tray tip of 63 holds beside "Dormix: ".
constexpr std::size_t kLongestCaption = 55;

// How a caption names a span: "90 s", "30 min", "1 h 30 min".
std::string SpanText(Seconds span);

// The first instant at which the local wall clock reads `local`: in a
// repeated hour its first pass, in a skipped one the end of the gap.
Seconds UtcOfLocal(TimeBase& time, Seconds local);

// What a countdown carries out. The module names it and hands it back.
struct Job {
  int action = 0;  // the caller's number for it
  std::string name;  // "Shut Down"
  std::optional<bool> force;
};

class CountdownHost {
 public:
  virtual ~CountdownHost() = default;
  // Carries the job out, through its notice where it has one. May raise.
  virtual void RunJob(const Job& job) = 0;
  // A notice is shown, whoever's: a due countdown waits for its answer.
  virtual bool NoticeShown() = 0;
  // Answers the shown notice with Cancel.
  virtual void CancelNotice() = 0;
  // The pending countdown's caption, "" for none, each time it changes.
  virtual void ShowCaption(const std::string& caption) = 0;
  // Tells the user, once, of a countdown that was missed.
  virtual void ReportMissed(const std::string& text) = 0;
};

class Countdown {
 public:
  Countdown(TimeBase& time, CountdownHost& host) : time_(time), host_(host) {}

  // Sets the countdown `seconds` from now, or to the next time the local
  // clock reads `minuteOfDay` (today, or tomorrow once that minute has
  // begun). False, and nothing changes, while one is pending.
  bool StartIn(Job job, Seconds seconds);
  bool StartAt(Job job, int minuteOfDay);
  // Once no input has come for `span`; the wait starts again on resume.
  bool StartIdle(Job job, Seconds span);
  // Once every one of `programs` has ended; `what` names them ("x.exe",
  // "process 1234").
  bool StartAfter(Job job, std::unique_ptr<Programs> programs, const std::string& what);
  // The pending countdown `span` later: a time moves, an idle wait starts
  // again with `span`, a program's end is followed by `span`. False when
  // none is pending.
  bool Postpone(Seconds span);
  // A notice's postponement: `job` becomes the pending countdown `span` from
  // now. False, and nothing changes, while another one is pending.
  bool PostponeJob(Job job, Seconds span);
  // A notice may be postponed: nothing else is pending.
  bool MayPostpone() const { return !pending_ || firing_; }
  // Drops the pending countdown; a notice of its own that counts is answered
  // with Cancel. False when none is pending.
  bool Cancel();
  // Every second while one is pending, and on resume from sleep.
  void Tick();
  // "Hibernate at 15:00", "Hibernate tomorrow at 15:00", "Hibernate on Wed
  // 9 Dec at 15:00"; "" when none is pending.
  const std::string& Caption() const { return caption_; }

 private:
  struct Reading {
    std::int64_t ticks = 0, awake = 0;
    Seconds utc = 0;
  };
  enum class Kind { In, At, Idle, After };
  struct Pending {
    Job job;
    Kind kind = Kind::In;
    std::int64_t dueTicks = 0;  // In
    Seconds dueUtc = 0;         // In, At: the wall time it names
    Seconds span = 0;           // Idle: the quiet it waits for; After: the wait after the end
    std::int64_t since = 0;     // Idle: ticks its wait counts from; After: the end, 0 before
    std::unique_ptr<Programs> programs{};
    std::string what{};  // After: the programs' name
    bool reached = false;  // found due in time; waits for a notice
    unsigned serial = 0;
  };

  Reading Read();
  bool Start(Pending pending);
  // Found due now, after the missed check; false when it was missed.
  bool Due(Pending& p, const Reading& now, const Reading& last);
  void Fire();
  void Drop();
  void Show();

  TimeBase& time_;
  CountdownHost& host_;
  std::optional<Pending> pending_;
  Reading last_;
  std::string caption_;
  unsigned serial_ = 0;
  bool firing_ = false;
};

}  // namespace schedule
