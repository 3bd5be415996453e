// The pre-operation notice's decisions.
#include "power/Notice.h"

#include <algorithm>

#include "schedule/Countdown.h"
#include "ui/Convert.h"
#include "ui/Keys.h"

namespace power {

std::string NoticeOperation;
std::int32_t NoticeCount = 0;
std::int32_t NoticeGrace = schedule::kGraceSeconds;

namespace {

NoticeHost* installed = nullptr;

bool Ask(NoticeHost& host, const std::string& name) {
  if (host.PlaySoundChecked()) {
    host.OpenPlayer(host.SoundFileName());
    host.StartPlaying();
  }
  if (!host.ShowMessageChecked()) return true;
  NoticeOperation = name;
  NoticeCount = ui::StrToInt(host.MessageTime());
  host.StartCountdown();
  return host.ShowNoticeModal() == ui::mrOk;
}

}  // namespace

NoticeTick CountNotice(std::int64_t sleptMs) {
  const std::int64_t before = NoticeCount;
  const std::int64_t slept = sleptMs > schedule::kSleepSlackMs ? sleptMs / 1000 : 0;
  NoticeCount = static_cast<std::int32_t>(std::max<std::int64_t>(INT32_MIN, before - 1 - slept));
  if (before <= 0 || NoticeCount > 0) return NoticeTick::kCounting;
  if (NoticeCount < -NoticeGrace) return NoticeTick::kMissed;
  NoticeCount = 0;
  return NoticeTick::kZero;
}

NoticeAfterCarry::NoticeAfterCarry(std::int64_t carriedMs) {
  NoticeGrace = static_cast<std::int32_t>(schedule::kGraceSeconds -
                                          std::clamp<std::int64_t>(carriedMs / 1000, 0, schedule::kGraceSeconds));
}

NoticeAfterCarry::~NoticeAfterCarry() { NoticeGrace = schedule::kGraceSeconds; }

void SetNoticeHost(NoticeHost* host) { installed = host; }

bool ShowOperationNotice(const std::string& name) {
  NoticeHost& host = *installed;
  // Reachable by a hotkey or the tray menu during the countdown; going on
  // would restart the sound and rename the running notice.
  if (host.NoticeShown()) return false;
  host.SetClockTimer(false);
  bool answer;
  try {
    answer = Ask(host, name);
  } catch (...) {
    // Left off, the clock would never fire again after a bad message time.
    host.SetClockTimer(true);
    throw;
  }
  host.SetClockTimer(true);
  return answer;
}

}  // namespace power
