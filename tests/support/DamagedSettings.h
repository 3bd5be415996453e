// Dormix's stored settings, each with a value other than its default, and
// the kinds of damage a stored value can come with: the table that the unit
// tier runs in full against the settings store and the e2e tier samples
// with real starts (a first start stores the defaults).
#pragma once
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace testing_support {

// A setting of Dormix, a value other than its default, and its default.
struct Setting {
  const char* section;
  const char* value;
  const char* stored;
  const char* defaultText;
};

// The password is stored scrambled: `stored` holds it in plain text.
inline const Setting kSettings[] = {
    {"Window", "RememberFormPosition", "1", "1"},  // so that X and Y are applied and written back
    {"Window", "X", "123", "800"},
    {"Window", "Y", "45", "600"},
    {"Application", "AutoStart", "0", "1"},
    {"Operation", "ForceAction", "0", "1"},
    {"Operation", "Enabled", "1", "0"},
    {"Operation", "Code", "6", "1"},  // Shut Down Monitor: nothing to fear if it fired
    {"Operation", "EndTime", "25:61", "00:00"},  // never the time
    {"Operation", "Password", "secret", ""},
    {"Operation", "ShowMessage", "0", "1"},
    {"Operation", "MessageTime", "7", "15"},
    {"Operation", "PlaySound", "1", "0"},
    {"Operation", "SoundFileName", "C:\\sounds\\bell.wav", ""},
    {"Shortcuts", "ShutDown", "Ctrl+Shift+F1", "Ctrl+Alt+S"},
    {"Shortcuts", "LogOff", "Ctrl+Shift+F2", "Ctrl+Alt+L"},
    {"Shortcuts", "Hibernate", "Ctrl+Shift+F3", "Ctrl+Alt+H"},
    {"Shortcuts", "StandBy", "Ctrl+Shift+F4", "Ctrl+Alt+B"},
    {"Shortcuts", "Restart", "Ctrl+Shift+F5", "Ctrl+Alt+R"},
    {"Shortcuts", "ShutDownMon", "Ctrl+Shift+F6", "Ctrl+Alt+M"},
    {"Shortcuts", "ScreenSaver", "Ctrl+Shift+F7", "Ctrl+Alt+V"},
    {"Shortcuts", "ProtectionPanel", "Ctrl+Shift+F8", "Ctrl+Alt+P"},
};

inline bool IsPassword(const Setting& s) { return std::string(s.value) == "Password"; }

// The setting stored under that value name.
inline const Setting& SettingNamed(const std::string& value) {
  for (const Setting& s : kSettings)
    if (value == s.value) return s;
  throw std::invalid_argument(value);
}

struct Damage {
  const char* name;
  std::uint32_t type;  // numbered as the platform numbers registry types
  std::string data;    // as stored, a text with its terminating NUL
  const char* passwordError;  // the load's error for the password so damaged, or null
  const char* readAs = nullptr;  // the text any other setting reads it as, if not as missing
};

inline std::vector<Damage> Damages() {
  std::string text64k;
  while (text64k.size() < 65536) text64k += "1234567890";
  text64k.resize(65536);
  const std::string junk = "%s%n%%\x01\x7f\xff\"'\\ \t\r\n;=[end";
  return {
      {"REG_DWORD", 4, std::string("\x01\x00\x00\x00", 4), nullptr, "1"},
      {"REG_BINARY", 3, std::string("\x00\xFF\x31\x00\x32", 5), nullptr},
      {"junk text", 1, junk + '\0', "'$%s' is not a valid integer value"},
      {"64 KB text", 1, text64k + '\0', nullptr},
  };
}

}  // namespace testing_support
