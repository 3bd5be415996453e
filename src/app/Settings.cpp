// The settings layout and its encodings. A field's type is its encoding:
// a bool is stored as "1" or "0" and read as an integer, any non-zero one
// true; an integer as decimal text; a text as it is. A value that is
// missing, not of a text type, or (for numbers) not an integer reads as its
// default; an existing empty text stays empty.
#include "app/Settings.h"

#include <algorithm>
#include <exception>
#include <iterator>
#include <string_view>
#include <variant>

#include "ui/Convert.h"
#include "ui/Error.h"

namespace app {

namespace {

using Field = std::variant<bool Settings::*, std::int32_t Settings::*, std::string Settings::*>;

struct Row {
  const char* section;
  const char* value;
  Field field;
  const char* defaultText;  // as it would be stored
  enum Kind { kPlain, kPosition, kScrambled } kind = kPlain;
};

// In the order LoadSettings reads them; the Shortcuts section follows, from
// the action table.
const Row kLayout[] = {
    {"Window", "RememberFormPosition", &Settings::RememberPosition, "1"},
    {"Window", "X", &Settings::Left, "800", Row::kPosition},
    {"Window", "Y", &Settings::Top, "600", Row::kPosition},
    {"Application", "AutoStart", &Settings::AutoStartChecked, "1"},
    {"Operation", "ForceAction", &Settings::ForceActionChecked, "1"},
    {"Operation", "Enabled", &Settings::ClockEnabled, "0"},
    {"Operation", "Code", &Settings::OperationCode, "1"},
    {"Operation", "EndTime", &Settings::EndTime, "00:00"},
    {"Operation", "Password", &Settings::CurrentPassword, "", Row::kScrambled},
    {"Operation", "ShowMessage", &Settings::ShowMessageChecked, "1"},
    {"Operation", "MessageTime", &Settings::MessageTime, "15"},
    {"Operation", "PlaySound", &Settings::PlaySoundChecked, "0"},
    {"Operation", "SoundFileName", &Settings::SoundFileName, ""},
};
constexpr const char* kShortcuts = "Shortcuts";

const Row& RowOf(std::string_view value) {
  return *std::find_if(std::begin(kLayout), std::end(kLayout),
                       [&](const Row& row) { return row.value == value; });
}
// SaveSettings writes this one first, the others in load order.
const Row& CodeRow() { return RowOf("Code"); }

template <typename... F>
struct Overloaded : F... {
  using F::operator()...;
};
// Spelled out for clang before 17, which deduces no aggregate's arguments.
template <typename... F>
Overloaded(F...) -> Overloaded<F...>;

// For what draws no starting value: unscrambling, and any value but the password.
struct : protection::RandomSource {
  void Seed() override {}
  int Next() override { return 0; }
} noRandom;

std::string Unscramble(const std::string& text) {
  return protection::ScramblePassword("D", text, protection::ScrambleKey, noRandom);
}

// The settings key's sections, each opened once for a run of rows of that
// section (every registry call is a round trip to the system).
class Sections {
 public:
  Sections(RegistryKey* settingsKey, bool create) : settingsKey_(settingsKey), create_(create) {}
  RegistryKey* Open(const char* section) {
    if (section != name_) {
      name_ = section;
      key_ = settingsKey_ ? settingsKey_->Open(section, create_) : nullptr;
    }
    return key_.get();
  }

 private:
  RegistryKey* settingsKey_;
  bool create_;
  std::string_view name_;
  std::unique_ptr<RegistryKey> key_;
};

std::optional<std::string> ReadText(Sections& sections, const char* section, const char* value) {
  RegistryKey* key = sections.Open(section);
  if (!key) return std::nullopt;
  std::optional<RegistryValue> stored = key->Read(value);
  if (!stored || (stored->type != kRegSz && stored->type != kRegExpandSz)) return std::nullopt;
  return stored->data.substr(0, stored->data.find('\0'));
}

std::int32_t ReadInteger(const std::optional<std::string>& stored, const char* defaultText) {
  if (stored) {
    try {
      return ui::StrToInt(*stored);
    } catch (const ui::Error&) {
    }
  }
  return ui::StrToInt(defaultText);
}

// A password that does not unscramble leaves its error in `failure`.
void Load(Sections& sections, const Row& row, Settings& settings, std::exception_ptr& failure) {
  const std::optional<std::string> stored = ReadText(sections, row.section, row.value);
  std::visit(
      Overloaded{
          [&](bool Settings::*flag) { settings.*flag = ReadInteger(stored, row.defaultText) != 0; },
          [&](std::int32_t Settings::*number) {
            settings.*number = ReadInteger(stored, row.defaultText);
          },
          [&](std::string Settings::*text) {
            std::string plain = stored.value_or(row.defaultText);
            if (row.kind == Row::kScrambled) {
              settings.DamagedPassword.clear();
              try {
                if (!plain.empty()) plain = Unscramble(plain);
              } catch (const ui::Error&) {
                failure = std::current_exception();
                settings.DamagedPassword = std::move(plain);
                plain.clear();
              }
            }
            settings.*text = std::move(plain);
          },
      },
      row.field);
}

std::string Encode(const Row& row, const Settings& settings, protection::RandomSource& random) {
  return std::visit(
      Overloaded{
          [&](bool Settings::*flag) -> std::string { return settings.*flag ? "1" : "0"; },
          [&](std::int32_t Settings::*number) { return std::to_string(settings.*number); },
          [&](std::string Settings::*text) {
            const std::string& plain = settings.*text;
            if (row.kind != Row::kScrambled) return plain;
            if (plain.empty()) return settings.DamagedPassword;
            return protection::ScramblePassword("E", plain, protection::ScrambleKey, random);
          },
      },
      row.field);
}

void WriteText(Sections& sections, const char* section, const char* value, const std::string& text) {
  if (RegistryKey* key = sections.Open(section)) key->WriteString(value, text);
}

// The machine's Run entry starts Dormix for everyone. A standard user may not
// write it (Windows keeps the Run key out of the per-user redirection that
// saves the settings), and then the user's own entry starts it for that user;
// one entry at a time, so Dormix is not started twice. The path is quoted: a
// path with blanks unquoted would first start "C:\Program.exe", if any.
void SaveAutostart(RegistryKey& machine, RegistryKey& user, bool on, const std::string& executablePath) {
  const std::string command = "\"" + executablePath + "\"";
  const std::unique_ptr<RegistryKey> machineRun = machine.Open(kRunKey, true);
  const bool machineWritten = on && machineRun && machineRun->WriteString(kRunValue, command);
  if (machineRun && !on) machineRun->DeleteValue(kRunValue);
  if (const std::unique_ptr<RegistryKey> userRun = user.Open(kRunKey, true)) {
    if (on && !machineWritten)
      userRun->WriteString(kRunValue, command);
    else
      userRun->DeleteValue(kRunValue);
  }
}

}  // namespace

void LoadSettings(RegistryKey& root, Settings& settings) {
  const std::unique_ptr<RegistryKey> key = root.Open(kSettingsKey, true);
  Sections sections(key.get(), false);
  std::exception_ptr failure;
  for (const Row& row : kLayout)
    if (row.kind != Row::kPosition || settings.RememberPosition) Load(sections, row, settings, failure);
  for (int i = 0; i < kActionCount; ++i)
    settings.ShortcutTexts[i] =
        ReadText(sections, kShortcuts, Actions[i].shortcutValue).value_or(Actions[i].defaultShortcut);
  if (failure) std::rethrow_exception(failure);
}

void SaveSettings(RegistryKey& root, const Settings& settings, const std::string& executablePath,
                  RegistryKey& user, protection::RandomSource& random) {
  SaveAutostart(root, user, settings.AutoStartChecked, executablePath);
  const std::unique_ptr<RegistryKey> key = root.Open(kSettingsKey, true);
  if (!key) return;
  Sections sections(key.get(), true);
  WriteText(sections, CodeRow().section, CodeRow().value, Encode(CodeRow(), settings, random));
  for (const Row& row : kLayout)
    if (&row != &CodeRow()) WriteText(sections, row.section, row.value, Encode(row, settings, random));
  for (int i = 0; i < kActionCount; ++i)
    WriteText(sections, kShortcuts, Actions[i].shortcutValue, settings.ShortcutTexts[i]);
}

void SaveClockEnabled(RegistryKey& root, const Settings& settings) {
  const std::unique_ptr<RegistryKey> key = root.Open(kSettingsKey, true);
  Sections sections(key.get(), true);
  const Row& row = RowOf("Enabled");
  WriteText(sections, row.section, row.value, Encode(row, settings, noRandom));
}

void SaveClosePosition(RegistryKey& root, const Settings& settings) {
  const std::unique_ptr<RegistryKey> key = root.Open(kSettingsKey, true);
  if (!key) return;
  if (settings.RememberPosition) {
    key->WriteDword("X", static_cast<std::uint32_t>(settings.Left));
    key->WriteDword("Y", static_cast<std::uint32_t>(settings.Top));
  }
  key->WriteString("EndTime", settings.EndTime);
}

}  // namespace app
