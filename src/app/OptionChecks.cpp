// The options window's Ok rules.
#include "app/OptionChecks.h"

#include "app/SettingsLayout.h"

namespace app {

namespace {

// As every door takes the value. The clock edit's five characters are then
// "hh:nn" with all four digits: the only texts the clock's display equals.
bool Accepts(const char* value, const std::string& text) { return Accept(RowOf(value)->accepts, text).has_value(); }

}  // namespace

std::optional<std::string> CheckClockTime(const std::string& field, const std::string& text) {
  if (Accepts("EndTime", text)) return std::nullopt;
  return field + ": enter a time of day from 00:00 to 23:59, all four digits.";
}

std::optional<Refusal> CheckOptions(const OptionsEntry& entry,
                                    const std::function<bool(const std::string&)>& fileExists) {
  if (!entry.EndTimeHeld)
    if (const std::optional<std::string> refused = CheckClockTime("Op. Time", entry.EndTime))
      return Refusal{Refusal::kEndTime, *refused};
  // Closing as if it had worked would leave the user trusting a lock password
  // that was never set.
  if (!(entry.OldPassword + entry.NewPassword + entry.RepeatedPassword).empty()) {
    if (entry.OldPassword != entry.CurrentPassword)
      return Refusal{Refusal::kOldPassword, "The old password is not right."};
    if (entry.NewPassword != entry.RepeatedPassword)
      return Refusal{Refusal::kRepeatedPassword, "The new password and its repetition differ."};
  }
  // One key would run both actions.
  for (int second = 1; second < kActionCount; ++second)
    for (int first = 0; first < second; ++first)
      if (entry.Shortcuts[second] && entry.Shortcuts[second] == entry.Shortcuts[first])
        return Refusal{Refusal::kShortcut,
                       std::string("Shortcuts: ") + Actions[first].caption + " and " + Actions[second].caption +
                           " have the same shortcut. Give each action its own, or none.",
                       second};
  if (!entry.MessageTimeHeld && !Accepts("MessageTime", entry.MessageTime))
    return Refusal{Refusal::kMessageTime, "Show message: enter a whole number of seconds from 0 to " +
                                              std::to_string(kMaxMessageTime) + "."};
  if (entry.PlaySoundChecked && entry.SoundFileName.empty())
    return Refusal{Refusal::kSoundFileName, "Play Sound: choose a sound file, or untick Play Sound."};
  if (entry.PlaySoundChecked && !fileExists(entry.SoundFileName))
    return Refusal{Refusal::kSoundFileName, "Play Sound: the sound file \"" + entry.SoundFileName +
                                                "\" does not exist. Choose a file that exists, or untick "
                                                "Play Sound."};
  return std::nullopt;
}

}  // namespace app
