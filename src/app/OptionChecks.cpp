// The options window's Ok rules.
#include "app/OptionChecks.h"

namespace app {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// "hh:nn" with all four digits, 00:00 to 23:59: the only texts the clock's
// display ever equals.
bool IsTimeOfDay(const std::string& text) {
  if (text.size() != 5 || text[2] != ':') return false;
  for (int i : {0, 1, 3, 4})
    if (!IsDigit(text[i])) return false;
  return (text[0] - '0') * 10 + (text[1] - '0') <= 23 && text[3] <= '5';
}

bool IsCountdown(const std::string& text) {
  int seconds = 0;
  for (char c : text) {
    if (!IsDigit(c)) return false;
    seconds = seconds * 10 + (c - '0');
    if (seconds > kMaxMessageTime) return false;
  }
  return !text.empty();
}

}  // namespace

std::optional<Refusal> CheckOptions(const OptionsEntry& entry,
                                    const std::function<bool(const std::string&)>& fileExists) {
  if (!IsTimeOfDay(entry.EndTime))
    return Refusal{Refusal::kEndTime, "Op. Time: enter a time of day from 00:00 to 23:59, all four digits."};
  if (!IsCountdown(entry.MessageTime))
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
