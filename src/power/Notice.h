// The pre-operation notice: before a session routine acts, the clock stops,
// the sound may start, and the countdown window may ask the user. The
// decisions are here; the windows that carry them out implement NoticeHost.
#pragma once
#include <cstdint>
#include <string>

namespace power {

// The state of the notice window (mymess): the operation it names and the
// seconds left, which its countdown tick decrements.
extern std::string NoticeOperation;
extern std::int32_t NoticeCount;
// Seconds a sleep may carry the count past its zero with the action still
// carried out: a minute, less what a sleep already carried a countdown past
// its time as it fired (NoticeAfterCarry).
extern std::int32_t NoticeGrace;

// While it lives, a notice has what is left of the minute after a countdown
// was carried `carriedMs` past its time: never more than a minute late in all.
class NoticeAfterCarry {
 public:
  explicit NoticeAfterCarry(std::int64_t carriedMs);
  ~NoticeAfterCarry();
  NoticeAfterCarry(const NoticeAfterCarry&) = delete;
  NoticeAfterCarry& operator=(const NoticeAfterCarry&) = delete;
};

// What the notice reads and drives. The main window's live controls, its
// media player and its clock timer, and the notice window Form2.
class NoticeHost {
 public:
  virtual ~NoticeHost() = default;
  // The operation clock's timer (the main window's Timer1).
  virtual void SetClockTimer(bool enabled) = 0;
  // "Play Sound" checked.
  virtual bool PlaySoundChecked() = 0;
  // The sound-file edit's text.
  virtual std::string SoundFileName() = 0;
  // Sets the player's file name and opens it, closing a device already
  // open; fails with ui::Error carrying the MCI error text.
  virtual void OpenPlayer(const std::string& fileName) = 0;
  // Starts playing and returns at once; a failure is not reported.
  virtual void StartPlaying() = 0;
  // "Show message before operation:" checked.
  virtual bool ShowMessageChecked() = 0;
  // The message-time edit's text.
  virtual std::string MessageTime() = 0;
  // Form2 is shown.
  virtual bool NoticeShown() = 0;
  // Form2's countdown timer on; its close handler switches it off.
  virtual void StartCountdown() = 0;
  // Shows Form2 modally; its modal result (1 Ok or the countdown's end, 2 otherwise).
  virtual int ShowNoticeModal() = 0;
};

// What a tick of the notice's count came to.
enum class NoticeTick { kCounting, kZero, kMissed };
// One tick of the notice's count, `sleptMs` of sleep since the last: the
// count goes down by one, and by the seconds of a sleep longer than the
// clocks' drift, so that it shows the real time left. kZero when it reaches
// zero, or when a sleep carried it past zero by a minute at most (it then
// reads 0); kMissed when a sleep carried it further: the notice closes with
// nothing done. A count already at zero or below runs on by one a tick.
NoticeTick CountNotice(std::int64_t sleptMs);

// The host ShowOperationNotice uses; the program installs its own at start-up.
void SetNoticeHost(NoticeHost* host);

// Asks before the action `name`: true lets it go ahead. The clock's timer is
// off while it runs and on again afterwards, also when it ends with an error
// (a message time that is not an integer, a sound file that cannot be
// opened), which passes on to the caller. A call while the notice is already
// shown is refused with false and leaves that notice as it was.
bool ShowOperationNotice(const std::string& name);

}  // namespace power
