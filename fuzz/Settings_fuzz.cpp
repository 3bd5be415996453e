// Loading the settings over arbitrary registry contents: each value the load
// reads (and the close event's typed ones) missing, a text of either text
// type with any bytes, empty or 64 KB long, a number, or a value of another
// type; any of the keys refusing to open.
//
// The load either succeeds or fails, after reading every other value, with
// the conversion error of a stored password, leaving the password held and no
// key open. A loaded Settings holds texts without NUL, in UTF-8 (those that
// are not are read as Latin-1), a week in its stored form, and saving it to an empty registry and
// loading that gives it back whole: a damaged password as it was stored
// where none was held, else the one held.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <optional>
#include <string>
#include <tuple>

#include "Check.h"
#include "app/Settings.h"
#include "schedule/WeekPlan.h"
#include "support/FakeRegistry.h"
#include "ui/Error.h"

namespace {

using fake_registry::FakeKey;
using fake_registry::Store;

struct Value {
  const char* section;  // "" for the settings key itself
  const char* name;
};

constexpr Value kValues[] = {
    {"Window", "RememberFormPosition"}, {"Window", "X"},
    {"Window", "Y"},                    {"Application", "AutoStart"},
    {"Operation", "ForceAction"},       {"Operation", "Enabled"},
    {"Operation", "Code"},              {"Operation", "EndTime"},
    {"Operation", "Password"},          {"Operation", "ShowMessage"},
    {"Operation", "MessageTime"},       {"Operation", "PlaySound"},
    {"Operation", "SoundFileName"},     {"", "X"},
    {"", "Y"},                          {"", "EndTime"},
    {"Operation", "Days"},
};
constexpr const char* kSections[] = {"", "Window", "Application", "Operation", "Shortcuts"};

std::string PathOf(const char* section) {
  return *section ? app::kSettingsKey + "\\" + section : app::kSettingsKey;
}

class FixedRandom : public protection::RandomSource {
 public:
  void Seed() override {}
  int Next() override { return 0x5A; }
};

void StoreValue(FuzzedDataProvider& input, Store& store, const char* section, const char* name) {
  app::RegistryValue value;
  switch (input.ConsumeIntegralInRange(0, 6)) {
    case 0: return;
    case 1: value = {app::kRegSz, input.ConsumeRandomLengthString(64)}; break;
    case 2: value = {app::kRegExpandSz, input.ConsumeRandomLengthString(64)}; break;
    case 3: value = {app::kRegDword, input.ConsumeBytesAsString(4)}; break;
    case 4: {
      const auto type = input.ConsumeIntegral<std::uint32_t>();
      value = {type, input.ConsumeRandomLengthString(64)};
      break;
    }
    case 5: value = {app::kRegSz, std::string(65536, input.ConsumeIntegral<char>())}; break;
    default: value = {app::kRegSz, std::to_string(input.ConsumeIntegral<std::int32_t>())};
  }
  store.keys[PathOf(section)][name] = value;
}

auto Fields(const app::Settings& s) {
  return std::tie(s.RememberPosition, s.Left, s.Top, s.AutoStartChecked, s.ForceActionChecked,
                  s.ClockEnabled, s.OperationCode, s.EndTime, s.CurrentPassword,
                  s.DamagedPassword, s.ShowMessageChecked, s.MessageTime, s.PlaySoundChecked, s.SoundFileName,
                  s.ClockDays, s.ShortcutTexts);
}

bool HasNul(const std::string& text) { return text.find('\0') != std::string::npos; }

std::optional<std::string> Latin1ToUtf8(const std::string& text) {
  std::string utf8;
  for (const unsigned char c : text)
    utf8 += c < 0x80 ? std::string(1, static_cast<char>(c))
                     : std::string{static_cast<char>(0xC0 | c >> 6), static_cast<char>(0x80 | (c & 0x3F))};
  return utf8;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  Store store;
  for (const Value& v : kValues) StoreValue(input, store, v.section, v.name);
  for (const app::Action& action : app::Actions)
    StoreValue(input, store, "Shortcuts", action.shortcutValue);
  const auto denied = input.ConsumeIntegral<std::uint8_t>();
  for (unsigned i = 0; i < std::size(kSections); ++i)
    if (denied & (1u << i)) store.denied.insert(PathOf(kSections[i]));

  app::Settings settings;
  settings.RememberPosition = input.ConsumeBool();
  settings.Left = input.ConsumeIntegral<std::int32_t>();
  settings.Top = input.ConsumeIntegral<std::int32_t>();
  const std::string held = input.ConsumeBool() ? "held" : "";
  settings.CurrentPassword = held;
  Store user;
  FakeKey root(store, ""), userRoot(user, "");
  bool damaged = false;
  try {
    app::LoadSettings(root, settings, Latin1ToUtf8);
  } catch (const ui::Error&) {
    damaged = true;
    const auto& operation = store.keys[PathOf("Operation")];
    const auto password = operation.find("Password");
    FUZZ_CHECK(password != operation.end() && !password->second.data.empty());
    FUZZ_CHECK(password->second.type == app::kRegSz || password->second.type == app::kRegExpandSz);
    FUZZ_CHECK(settings.CurrentPassword == held);
    FUZZ_CHECK(password->second.data.substr(0, password->second.data.find('\0')) ==
               settings.DamagedPassword);
    FUZZ_CHECK(store.openKeys == 1);
  }
  FUZZ_CHECK(store.openKeys == 1);
  for (const std::string* text : {&settings.EndTime, &settings.CurrentPassword,
                                  &settings.MessageTime, &settings.SoundFileName})
    FUZZ_CHECK(!HasNul(*text));
  for (const std::string& text : settings.ShortcutTexts) FUZZ_CHECK(!HasNul(text));
  FUZZ_CHECK(schedule::CheckedWeekText(settings.ClockDays) == settings.ClockDays);

  Store saved;
  FakeKey savedRoot(saved, "");
  FixedRandom random;
  app::SaveSettings(savedRoot, settings, "C:\\dormix.exe", userRoot, random);
  app::Settings reloaded;
  reloaded.Left = settings.Left;
  reloaded.Top = settings.Top;
  try {
    app::LoadSettings(savedRoot, reloaded, Latin1ToUtf8);
    FUZZ_CHECK(!damaged || !held.empty());
    settings.DamagedPassword.clear();
  } catch (const ui::Error&) {
    FUZZ_CHECK(damaged && held.empty());
  }
  FUZZ_CHECK(Fields(reloaded) == Fields(settings));
  return 0;
}
