// The settings layout and its encodings. A field's type is its encoding:
// a bool is stored as "1" or "0" and read as an integer, any non-zero one
// true; an integer as decimal text; a text as it is, in UTF-8 (one stored
// in the ANSI code page is converted when read). Administrators seed values
// as REG_DWORD: one is read as its decimal text, and written back as text.
// A value that is missing, of another type, or (for numbers) not an integer
// reads as its default; an existing empty text stays empty. A text of a
// kind (a time, a number) is read as the layout's kind accepts it. A policy
// of the same name, if of its value's kind, is read in place of the stored
// value, and not written.
#include "app/Settings.h"

#include <algorithm>
#include <exception>
#include <string_view>
#include <variant>

#include "app/SettingsLayout.h"
#include "ui/Convert.h"
#include "ui/Error.h"

namespace app {

namespace {

constexpr const char* kShortcuts = "Shortcuts";

// SaveSettings writes this one first, the others in load order.
const Row& CodeRow() { return *RowOf("Code"); }

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

std::optional<std::string> ReadText(Sections& sections, const char* section, const char* value,
                                    bool dwordAsText = true) {
  RegistryKey* key = sections.Open(section);
  return key ? TextOf(key->Read(value), dwordAsText) : std::nullopt;
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

// RFC 3629: no overlong form, no surrogate, nothing past U+10FFFF.
bool IsUtf8(const std::string& text) {
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i++]);
    if (lead < 0x80) continue;
    const std::size_t more = lead < 0xC2 ? 0 : lead < 0xE0 ? 1 : lead < 0xF0 ? 2 : lead < 0xF5 ? 3 : 0;
    if (!more || text.size() - i < more) return false;
    // The lead byte narrows the range of the byte after it.
    const unsigned low = lead == 0xE0 ? 0xA0 : lead == 0xF0 ? 0x90 : 0x80;
    const unsigned high = lead == 0xED ? 0x9F : lead == 0xF4 ? 0x8F : 0xBF;
    for (std::size_t k = 0; k < more; ++k) {
      const auto next = static_cast<unsigned char>(text[i++]);
      if (next < (k ? 0x80 : low) || next > (k ? 0xBF : high)) return false;
    }
  }
  return true;
}

// Texts written before Dormix ran in UTF-8 are in the ANSI code page, and
// seldom valid UTF-8 unless ASCII: those are converted, the others kept.
std::string InUtf8(std::string text, TextConversion fromAnsi) {
  if (IsUtf8(text)) return text;
  return fromAnsi(text).value_or(std::move(text));
}

// The clock time edit's own text: five characters, digits or blanks around
// the colon. It shows as it is stored, and Ok asks for a time it can reach.
bool ClockEditsOwn(const std::string& text) {
  if (text.empty()) return true;
  if (text.size() != 5 || text[2] != ':') return false;
  return std::all_of(text.begin(), text.end(), [](char c) { return c == ':' || c == ' ' || (c >= '0' && c <= '9'); });
}

// A seeded text of its kind in the form it is stored in ("9:45" is "09:45"),
// one the clock edit holds as it is, and any other as its default: the edit
// would show it garbled, and the notice could not count it.
std::string Seeded(const Row& row, std::string text) {
  if (row.accepts.form == ValueKind::kText) return text;
  if (std::optional<std::string> accepted = Accept(row.accepts, text)) return *accepted;
  if (row.accepts.form == ValueKind::kTime && ClockEditsOwn(text)) return text;
  return row.defaultText;
}

// Policies that are not what their template allows are set aside: the user's
// own setting stays in force, and its control stays live. The others are
// held in the form the settings store them.
void SetAsideBadPolicies(policy::Policies& policies) {
  for (auto at = policies.begin(); at != policies.end();) {
    const Row* row = RowOf(at->first);
    std::optional<std::string> accepted = row ? Accept(row->accepts, at->second) : std::nullopt;
    if (!accepted) {
      at = policies.erase(at);
      continue;
    }
    at->second = std::move(*accepted);
    ++at;
  }
}

// A password that does not unscramble leaves its error in `failure`, and
// the password held in `settings` as it was.
void Load(Sections& sections, const Row& row, Settings& settings, TextConversion fromAnsi,
          std::exception_ptr& failure) {
  const std::string* policy = policy::PolicyFor(settings.Policies, row.value);
  const std::optional<std::string> stored =
      policy ? *policy : ReadText(sections, row.section, row.value, row.kind != Row::kScrambled);
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
                return;
              }
            }
            settings.*text = policy ? plain : Seeded(row, InUtf8(std::move(plain), fromAnsi));
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

void Write(Sections& sections, const Row& row, const Settings& settings, protection::RandomSource& random) {
  if (policy::PolicyFor(settings.Policies, row.value)) return;
  if (RegistryKey* key = sections.Open(row.section)) key->WriteString(row.value, Encode(row, settings, random));
}

// The machine's Run entry starts Dormix for everyone. A standard user may not
// write it (Windows keeps the Run key out of the per-user redirection that
// saves the settings), nor remove one that an administrator's run wrote; the
// user's own entry then starts it for that user, but only where the
// machine's does not: one entry at a time, so Dormix is not started twice.
// The path is quoted: a path with blanks unquoted would first start
// "C:\Program.exe", if any. True when `on` is false but the machine's entry
// stays.
bool SaveAutostart(RegistryKey& machine, RegistryKey& user, bool on, const std::string& executablePath) {
  const std::string command = "\"" + executablePath + "\"";
  const std::unique_ptr<RegistryKey> machineRun = machine.Open(kRunKey, true);
  const bool machineStarts =
      machineRun && (on ? machineRun->WriteString(kRunValue, command) || machineRun->Read(kRunValue)
                        : !machineRun->DeleteValue(kRunValue));
  if (const std::unique_ptr<RegistryKey> userRun = user.Open(kRunKey, true)) {
    if (on && !machineStarts)
      userRun->WriteString(kRunValue, command);
    else
      userRun->DeleteValue(kRunValue);
  }
  return !on && machineStarts;
}

// The machine's entry that this user can neither write nor remove.
bool MachineEntryKept(RegistryKey& root) {
  const std::unique_ptr<RegistryKey> run = root.Open(kRunKey, true);
  return run && !run->Writable() && run->Read(kRunValue);
}

}  // namespace

std::optional<std::string> TextOf(const std::optional<RegistryValue>& stored, bool dwordAsText) {
  if (!stored) return std::nullopt;
  if (stored->type == kRegSz || stored->type == kRegExpandSz) return stored->data.substr(0, stored->data.find('\0'));
  if (stored->type != kRegDword || !dwordAsText || stored->data.size() != 4) return std::nullopt;
  std::uint32_t number = 0;
  for (int i = 3; i >= 0; --i) number = number << 8 | static_cast<unsigned char>(stored->data[i]);
  return std::to_string(number);
}

void LoadSettings(RegistryKey& root, Settings& settings, TextConversion fromAnsi) {
  {
    const std::unique_ptr<RegistryKey> policies = root.Open(policy::kPolicyKey, false);
    settings.Policies = policy::ReadPolicies([&](const char* name) {
      return policies ? TextOf(policies->Read(name)) : std::nullopt;
    });
    SetAsideBadPolicies(settings.Policies);
  }
  const std::unique_ptr<RegistryKey> key = root.Open(kSettingsKey, true);
  Sections sections(key.get(), false);
  std::exception_ptr failure;
  for (const Row& row : Layout())
    if (row.kind != Row::kPosition || settings.RememberPosition) Load(sections, row, settings, fromAnsi, failure);
  // The save carries out what was stored, but cannot remove this entry: the
  // box shows it as it is.
  settings.AutoStartChecked = settings.AutoStartChecked || MachineEntryKept(root);
  for (int i = 0; i < kActionCount; ++i)
    settings.ShortcutTexts[i] = InUtf8(
        ReadText(sections, kShortcuts, Actions[i].shortcutValue).value_or(Actions[i].defaultShortcut), fromAnsi);
  if (failure) std::rethrow_exception(failure);
}

bool SaveSettings(RegistryKey& root, const Settings& settings, const std::string& executablePath,
                  RegistryKey& user, protection::RandomSource& random) {
  const bool machineKept = SaveAutostart(root, user, settings.AutoStartChecked, executablePath);
  const std::unique_ptr<RegistryKey> key = root.Open(kSettingsKey, true);
  if (!key) return machineKept;
  Sections sections(key.get(), true);
  Write(sections, CodeRow(), settings, random);
  for (const Row& row : Layout())
    if (&row != &CodeRow()) Write(sections, row, settings, random);
  for (int i = 0; i < kActionCount; ++i)
    if (RegistryKey* shortcuts = sections.Open(kShortcuts))
      shortcuts->WriteString(Actions[i].shortcutValue, settings.ShortcutTexts[i]);
  return machineKept;
}

void SaveClockEnabled(RegistryKey& root, const Settings& settings) {
  const std::unique_ptr<RegistryKey> key = root.Open(kSettingsKey, true);
  Sections sections(key.get(), true);
  Write(sections, *RowOf("Enabled"), settings, noRandom);
}

void SaveClosePosition(RegistryKey& root, const Settings& settings) {
  const std::unique_ptr<RegistryKey> key = root.Open(kSettingsKey, true);
  if (!key) return;
  if (settings.RememberPosition) {
    key->WriteDword("X", static_cast<std::uint32_t>(settings.Left));
    key->WriteDword("Y", static_cast<std::uint32_t>(settings.Top));
  }
  if (!policy::PolicyFor(settings.Policies, "EndTime")) key->WriteString("EndTime", settings.EndTime);
}

}  // namespace app
