// What Ok in the options window accepts: a set time that the clock can reach,
// a password change that can be made (or none), a shortcut for one action at
// most, a countdown the notice can count, and,
// when a sound is to play, a sound file that exists. Values stored before
// these rules load as they are; they are refused only when the user presses
// Ok.
#pragma once
#include <array>
#include <functional>
#include <optional>
#include <string>

#include "app/Actions.h"

namespace app {

struct OptionsEntry {
  std::string EndTime;      // the clock time edit's text
  bool EndTimeHeld = false;  // by a policy: the user cannot change it
  std::string CurrentPassword;
  std::string OldPassword, NewPassword, RepeatedPassword;  // as typed; all empty for no change
  std::string MessageTime;  // the countdown edit's text
  bool MessageTimeHeld = false;
  bool PlaySoundChecked = false;
  std::string SoundFileName;
  std::array<unsigned, kActionCount> Shortcuts{};  // Shortcut words, 0 for none
};

struct Refusal {
  enum Field { kEndTime, kOldPassword, kRepeatedPassword, kShortcut, kMessageTime, kSoundFileName } field;
  std::string message;  // names the field and what it accepts
  int action = 0;       // for kShortcut: whose shortcut field
};

// A clock time as Op. Time and the days' own times take it: nothing when the
// clock's display can equal it, else the message that names `field`.
std::optional<std::string> CheckClockTime(const std::string& field, const std::string& text);

// The first field Ok must refuse, in page order; nothing when all are valid.
// A field held by a policy is never refused: the user cannot change it.
// `fileExists` answers for the sound file.
std::optional<Refusal> CheckOptions(const OptionsEntry& entry,
                                    const std::function<bool(const std::string&)>& fileExists);

}  // namespace app
