// The settings store: every setting as text in four sections of one key under
// HKEY_LOCAL_MACHINE, the autostart entry in the Run key, and the values the
// main window's close event writes. The main window copies its controls and
// state variables into a Settings, loads or saves it, and puts a loaded one
// back into its controls in the order of the fields below. The registry is
// reached through RegistryKey, so the layout and its encodings are checked
// against an in-memory registry.
#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "app/Actions.h"
#include "policy/Policy.h"
#include "protection/PasswordScrambler.h"
#include "ui/Title.h"

namespace app {

// Registry value types, numbered as the platform numbers them.
constexpr std::uint32_t kRegSz = 1, kRegExpandSz = 2, kRegDword = 4;

struct RegistryValue {
  std::uint32_t type = kRegSz;
  std::string data;  // the stored bytes, a text's terminating NUL included or not
};

// An open registry key; closed when destroyed. Paths are relative to it,
// their levels separated by "\".
class RegistryKey {
 public:
  virtual ~RegistryKey() = default;
  // The subkey at `path`, created when missing if `create`; null when it
  // cannot be opened. A key this user may read but not write opens for
  // reading, and the writes into it are lost.
  virtual std::unique_ptr<RegistryKey> Open(const std::string& path, bool create) = 0;
  // Nothing when the value is missing or cannot be read.
  virtual std::optional<RegistryValue> Read(const std::string& name) = 0;
  // REG_SZ and REG_DWORD values; a write that fails is lost (false for a
  // text).
  virtual bool WriteString(const std::string& name, const std::string& data) = 0;
  virtual void WriteDword(const std::string& name, std::uint32_t data) = 0;
  // False when the value stays: it is there and this user may not remove
  // it. A missing value is no error.
  virtual bool DeleteValue(const std::string& name) = 0;
  // False for a key that this user may only read.
  virtual bool Writable() = 0;
};

// HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER. Win32 only.
RegistryKey& LocalMachine();
RegistryKey& CurrentUser();
// The full path of the running executable, for the autostart entry.
using ui::ExecutablePath;

// A text in the system's default ANSI code page, as an earlier build (or
// Windows before it ran Dormix in UTF-8) stored it, converted to UTF-8.
// Nothing where Dormix does not run in UTF-8 (Windows before 1903 ignores the
// manifest, and what the user types there stays in the ANSI code page), or
// where the text is no text of that code page. Win32 only.
std::optional<std::string> AnsiToUtf8(const std::string& text);
using TextConversion = std::optional<std::string> (*)(const std::string& text);

// A stored value's text: a string's up to its NUL, or a DWORD's decimal
// digits where `dwordAsText` (administrators seed numbers so); nothing for
// any other type.
std::optional<std::string> TextOf(const std::optional<RegistryValue>& stored, bool dwordAsText = true);

inline const std::string kSettingsKey = "Software\\Velto Software\\Dormix";
inline const std::string kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline const std::string kRunValue = "Dormix";
// Beside the settings, Dormix's own: "1" once the first start's balloon has
// said where Dormix runs.
inline const std::string kIntroducedValue = "Introduced";

// What the store moves, in the order LoadSettings fills it: the main window's
// state variables and the contents of its controls.
struct Settings {
  bool RememberPosition = false;   // also "Remember Form Position"
  std::int32_t Left = 0, Top = 0;  // the main window's position
  bool AutoStartChecked = false;
  bool ForceActionChecked = false;  // ForceFlag follows it
  bool ClockEnabled = false;
  std::int32_t OperationCode = 0;
  std::string EndTime;          // the clock time edit MaskEdit1
  std::string CurrentPassword;  // plain text, empty for none
  // The stored text of a password that does not unscramble, written back as
  // it was while no password is held; empty when the password was read.
  std::string DamagedPassword;
  bool ShowMessageChecked = false;
  std::string MessageTime;  // seconds, as typed
  bool PlaySoundChecked = false;
  std::string SoundFileName;
  // The week of the daily clock in its stored form (schedule/WeekPlan.h);
  // empty while no day is set apart from Op. Time.
  std::string ClockDays;
  std::array<std::string, kActionCount> ShortcutTexts;  // in action order
  // The policies in force at the last load: they override the values of
  // their names, which no save writes.
  policy::Policies Policies;
};

// Reads the policies, then every value of the settings key (created when
// missing) into `settings`, a policy of its value's kind in place of its
// stored value (any other is set aside), a missing or unreadable one, or a
// time or a number of seconds that is none, as its default; Left and Top only when RememberPosition
// is read as true. A REG_DWORD is read as its decimal text (not for the
// password, which is no number). A text that is not valid UTF-8 is read
// through `fromAnsi`. AutoStartChecked is ticked also where the machine's
// Run entry is there and this user cannot remove it. A stored password that
// does not unscramble is kept in DamagedPassword, CurrentPassword keeps what
// it held, every other value is read all the same, and then the load fails
// with ScramblePassword's ui::Error.
void LoadSettings(RegistryKey& root, Settings& settings, TextConversion fromAnsi = AnsiToUtf8);

// Adds or removes the autostart entry with `executablePath` (in `user`'s
// Run key where the machine's cannot be written), then writes every value of
// the settings key that no policy sets, the password scrambled afresh (a damaged one, while no
// password is held, as it was stored). True when the box is unticked but the
// machine's entry stays: this user may not remove it.
bool SaveSettings(RegistryKey& root, const Settings& settings, const std::string& executablePath,
                  RegistryKey& user = CurrentUser(),
                  protection::RandomSource& random = protection::ProgramRandom());

// The Enabled value alone, as SaveSettings writes it (not under a policy).
void SaveClockEnabled(RegistryKey& root, const Settings& settings);

// The close event's values, typed and directly in the settings key: X and Y
// as REG_DWORD when RememberPosition, then EndTime unless a policy sets it.
// Never read.
void SaveClosePosition(RegistryKey& root, const Settings& settings);

}  // namespace app
