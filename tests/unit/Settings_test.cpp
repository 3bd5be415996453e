// The settings store against an in-memory registry: the exact writes of the
// save that follows the load at every start, for stored values of every
// kind, texts in the ANSI code page among them; every setting damaged in
// turn in every way; a damaged password; the close event's typed values.
#include "app/Settings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/DamagedSettings.h"
#include "support/FakeRegistry.h"
#include "support/UnitHelpers.h"

namespace {

using fake_registry::FakeKey;
using fake_registry::Journal;
using fake_registry::Store;
using testing_support::ErrorOf;
using testing_support::FixedRandom;

const Journal kDefaultWrites = {
    "Run\\Dormix=\"C:\\Program Files\\Dormix\\dormix.exe\"",
    "Dormix\\Operation\\Code=1",
    "Dormix\\Window\\RememberFormPosition=1",
    "Dormix\\Window\\X=800",
    "Dormix\\Window\\Y=600",
    "Dormix\\Application\\AutoStart=1",
    "Dormix\\Operation\\ForceAction=1",
    "Dormix\\Operation\\Enabled=0",
    "Dormix\\Operation\\EndTime=00:00",
    "Dormix\\Operation\\Password=",
    "Dormix\\Operation\\ShowMessage=1",
    "Dormix\\Operation\\MessageTime=15",
    "Dormix\\Operation\\PlaySound=0",
    "Dormix\\Operation\\SoundFileName=",
    "Dormix\\Operation\\Days=",
    "Dormix\\Shortcuts\\ShutDown=Ctrl+Alt+S",
    "Dormix\\Shortcuts\\LogOff=Ctrl+Alt+L",
    "Dormix\\Shortcuts\\Hibernate=Ctrl+Alt+H",
    "Dormix\\Shortcuts\\StandBy=Ctrl+Alt+B",
    "Dormix\\Shortcuts\\Restart=Ctrl+Alt+R",
    "Dormix\\Shortcuts\\ShutDownMon=Ctrl+Alt+M",
    "Dormix\\Shortcuts\\ScreenSaver=Ctrl+Alt+V",
    "Dormix\\Shortcuts\\ProtectionPanel=Ctrl+Alt+P",
};

// A fake lookup of the ANSI code page, 0 where Dormix does not run in UTF-8; it knows "Käse".
int ansiCodePage = 0;
std::optional<std::string> FakeAnsiToUtf8(const std::string& text) {
  if (!ansiCodePage || text != "K\xE4se") return std::nullopt;
  return ansiCodePage == 1252 ? "K\xC3\xA4se" : "K\xD0\xB4se";
}

struct Stored {
  std::string section, name, data;
  std::uint32_t type = app::kRegSz;
};

// A store holding `values` in sections of the settings key.
Store With(const std::vector<Stored>& values) {
  Store store;
  for (const Stored& v : values)
    store.keys[app::kSettingsKey + "\\" + v.section][v.name] = {v.type, v.data};
  return store;
}

// The window's own position stands where the stored one is not applied.
TEST(Settings, EveryStartWritesBackWhatItLoaded) {
  const struct {
    std::vector<Stored> stored;
    Journal changed;  // lines of kDefaultWrites that differ
    int codePage = 0;
    // A standard user: the machine's Run key read-only, with an entry.
    bool machineEntryKept = false;
  } cases[] = {
      {{}, {}},
      {{{"Operation", "Code", "0"}}, {"Dormix\\Operation\\Code=0"}},
      {{{"Operation", "Code", "9"}}, {"Dormix\\Operation\\Code=9"}},
      {{{"Operation", "Code", "7a"}}, {}},
      {{{"Operation", "Enabled", "2"}}, {"Dormix\\Operation\\Enabled=1"}},
      {{{"Operation", "Enabled", "yes"}}, {}},
      {{{"Operation", "EndTime", ""}}, {"Dormix\\Operation\\EndTime="}},
      // Seeded times and seconds read as meant, or as their defaults; the
      // clock edit's own texts as they are.
      {{{"Operation", "EndTime", "9:45"}, {"Operation", "MessageTime", "0030"}},
       {"Dormix\\Operation\\EndTime=09:45", "Dormix\\Operation\\MessageTime=30"}},
      {{{"Operation", "EndTime", "9 :5 "}}, {"Dormix\\Operation\\EndTime=9 :5 "}},
      {{{"Operation", "EndTime", "abc"}, {"Operation", "MessageTime", "-1"}}, {}},
      {{{"Operation", "EndTime", "09:451"}, {"Operation", "MessageTime", "10000"}}, {}},
      {{{"Operation", "Password", ""}}, {}},
      // A week in its stored form; one that is no week reads as none.
      {{{"Operation", "Days", "9:45;-;;;;;23:30"}}, {"Dormix\\Operation\\Days=09:45;-;;;;;23:30"}},
      {{{"Operation", "Days", "22:00"}}, {}},
      {{{"Operation", "Password", "C756D25AA87A8BD924E835C458B343D5"}},
       {"Dormix\\Operation\\Password=001EEA22F022F366B877839A769161B7"}},
      // The stored value says what the Run entry becomes, a seeded one too;
      // an entry this user cannot remove is shown as it is.
      {{{"Application", "AutoStart", "0"}},
       {"Run\\Dormix deleted", "Dormix\\Application\\AutoStart=0"}},
      {{{"Application", "AutoStart", "1"}}, {}},
      {{{"Application", "AutoStart", "0"}}, {}, 0, true},
      // Seeded as REG_DWORD, read as decimal text and written back as text.
      {{{"Operation", "Code", std::string("\x02\0\0\0", 4), app::kRegDword},
        {"Operation", "Enabled", std::string("\x01\0\0\0", 4), app::kRegDword},
        {"Application", "AutoStart", std::string(4, '\0'), app::kRegDword}},
       {"Dormix\\Operation\\Code=2", "Dormix\\Operation\\Enabled=1", "Run\\Dormix deleted",
        "Dormix\\Application\\AutoStart=0"}},
      // "Käse" stored in cp1252 read, and written back, in UTF-8 where Dormix runs in it.
      {{{"Operation", "Password", "002662B97B"}, {"Operation", "SoundFileName", "K\xE4se"},
        {"Shortcuts", "ShutDown", "K\xE4se"}},
       {"Dormix\\Operation\\Password=00268049D84A", "Dormix\\Operation\\SoundFileName=K\xC3\xA4se",
        "Dormix\\Shortcuts\\ShutDown=K\xC3\xA4se"},
       1252},
      {{{"Operation", "Password", "002662B97B"}}, {"Dormix\\Operation\\Password=00269F38CF41"}, 1251},
      {{{"Operation", "Password", "002662B97B"}}, {"Dormix\\Operation\\Password=002662B97B"}},
      {{{"Operation", "Password", "00268049D84A"}}, {"Dormix\\Operation\\Password=00268049D84A"}, 1252},
      {{{"Window", "X", "$20"}, {"Window", "Y", "-7"}},
       {"Dormix\\Window\\X=32", "Dormix\\Window\\Y=-7"}},
      {{{"Window", "RememberFormPosition", "0"}, {"Window", "X", "300"}, {"Window", "Y", "200"}},
       {"Dormix\\Window\\RememberFormPosition=0", "Dormix\\Window\\X=10", "Dormix\\Window\\Y=20"}},
      // Texts of the expandable type count, and end at a NUL.
      {{{"Operation", "SoundFileName", "C:\\a.wav", app::kRegExpandSz},
        {"Shortcuts", "LogOff", std::string("Ctrl+L\0junk", 11)}},
       {"Dormix\\Operation\\SoundFileName=C:\\a.wav", "Dormix\\Shortcuts\\LogOff=Ctrl+L"}},
      // Values of other types read as missing, a password as REG_DWORD too.
      {{{"Operation", "MessageTime", std::string("\x1e\0\0\0", 4), app::kRegDword},
        {"Operation", "Password", std::string("\x1e\0\0\0", 4), app::kRegDword},
        {"Operation", "Code", "3", 3},
        {"Shortcuts", "ShutDown", "Win+S", 7}},
       {"Dormix\\Operation\\MessageTime=30"}},
  };
  for (const auto& c : cases) {
    Store store = With(c.stored);
    FakeKey root(store, "");
    app::Settings settings;
    settings.Left = 10;
    settings.Top = 20;
    Store userStore;
    FakeKey user(userStore, "");
    ansiCodePage = c.codePage;
    if (c.machineEntryKept) {
      store.keys[app::kRunKey][app::kRunValue] = {app::kRegSz, "\"C:\\Dormix\\dormix.exe\""};
      store.readOnly.insert(app::kRunKey);
    }
    app::LoadSettings(root, settings, FakeAnsiToUtf8);
    FixedRandom random;
    app::SaveSettings(root, settings, "C:\\Program Files\\Dormix\\dormix.exe", user, random);

    Journal expected = kDefaultWrites;
    const auto value = [](const std::string& line) {
      return line.substr(0, line.find_first_of("= "));
    };
    for (const std::string& change : c.changed)
      for (std::string& line : expected)
        if (value(line) == value(change)) line = change;
    if (c.machineEntryKept) expected.erase(expected.begin());
    EXPECT_EQ(store.writes, expected) << testing::PrintToString(c.changed);
    EXPECT_EQ(store.openKeys, 1) << "only the root left open";
  }
}

// A start's load and save over every setting, each damaged in turn in every
// way: the others are written back as they were, the damaged one as its
// default when of another type and as a text when a text; junk in the
// password stops the load with its error, and nothing is written.
TEST(Settings, EverySettingDamagedInTurnLeavesTheOthersAsTheyWere) {
  using testing_support::IsPassword;
  using testing_support::kSettings;
  const auto scramble = [](const char* mode, const std::string& text) {
    FixedRandom random;
    return protection::ScramblePassword(mode, text, protection::ScrambleKey, random);
  };
  for (const testing_support::Damage& damage : testing_support::Damages()) {
    for (const testing_support::Setting& damaged : kSettings) {
      SCOPED_TRACE(std::string(damaged.value) + " as " + damage.name);
      Store store;
      for (const testing_support::Setting& s : kSettings)
        store.keys[app::kSettingsKey + "\\" + s.section][s.value] = {
            app::kRegSz, IsPassword(s) ? scramble("E", s.stored) : s.stored};
      store.keys[app::kSettingsKey + "\\" + damaged.section][damaged.value] = {damage.type, damage.data};
      FakeKey root(store, "");
      app::Settings settings;
      Store userStore;
      FakeKey user(userStore, "");
      const char* error = IsPassword(damaged) ? damage.passwordError : nullptr;
      EXPECT_EQ(ErrorOf([&] {
                  app::LoadSettings(root, settings, FakeAnsiToUtf8);
                  FixedRandom random;
                  app::SaveSettings(root, settings, "C:\\dormix.exe", user, random);
                }),
                error ? error : "no error");
      EXPECT_TRUE(!error || store.writes.empty());
      for (const testing_support::Setting& s : kSettings) {
        const app::RegistryValue& value = store.keys[app::kSettingsKey + "\\" + s.section][s.value];
        if (&s != &damaged)
          EXPECT_EQ(IsPassword(s) ? scramble("D", value.data) : value.data, s.stored) << s.value;
        else if (damage.type != app::kRegSz)
          EXPECT_EQ(value.data, damage.readAs && !IsPassword(damaged) && damaged.value != std::string("EndTime")
                                    ? damage.readAs
                                    : damaged.defaultText);
        else
          EXPECT_EQ(value.type, app::kRegSz);
      }
    }
  }
}

// The load reads on past a damaged password and then fails with its error,
// the password held kept; a save made at start, where none is held, writes
// the damaged text back as it was.
TEST(Settings, ADamagedPasswordFailsTheLoadAfterEveryOtherValueAndIsWrittenBackAsStored) {
  const struct {
    const char* damaged;
    const char* error;
  } cases[] = {
      {"ZZ", "'$ZZ' is not a valid integer value"},
      {"C7", "'$' is not a valid integer value"},
      {"C756G2", "'$G2' is not a valid integer value"},
  };
  for (const auto& c : cases) {
    Store store = With({{"Operation", "Code", "7"},
                        {"Operation", "Password", c.damaged},
                        {"Operation", "MessageTime", "30"},
                        {"Shortcuts", "ShutDown", "Alt+F4"}});
    FakeKey root(store, "");
    Store userStore;
    FakeKey user(userStore, "");
    app::Settings settings;
    settings.CurrentPassword = "held";
    EXPECT_EQ(ErrorOf([&] { app::LoadSettings(root, settings, FakeAnsiToUtf8); }), c.error);
    EXPECT_EQ(settings.OperationCode, 7) << c.damaged;
    EXPECT_EQ(settings.CurrentPassword, "held") << c.damaged;
    EXPECT_EQ(settings.MessageTime, "30") << c.damaged;
    EXPECT_TRUE(settings.ShowMessageChecked) << c.damaged;
    EXPECT_EQ(settings.ShortcutTexts[0], "Alt+F4") << c.damaged;
    EXPECT_EQ(settings.ShortcutTexts[7], "Ctrl+Alt+P") << c.damaged;
    EXPECT_EQ(store.openKeys, 1) << c.damaged;

    settings.CurrentPassword.clear();
    FixedRandom random;
    app::SaveSettings(root, settings, "C:\\Program Files\\Dormix\\dormix.exe", user, random);
    EXPECT_EQ(store.keys[app::kSettingsKey + "\\Operation"]["Password"].data, c.damaged);
  }
}

std::string Dword(std::uint32_t n) {
  return {static_cast<char>(n), static_cast<char>(n >> 8), static_cast<char>(n >> 16), static_cast<char>(n >> 24)};
}

// A policy is held in the form its setting is stored in, or, when it is not
// what its template allows, set aside: the stored setting stays in force and
// is saved as ever.
TEST(Settings, APolicyNotOfItsKindIsSetAside) {
  const std::string megabyte(1 << 20, '1');
  const struct {
    const char* name;
    std::uint32_t type;
    std::string data;
    const char* held;  // null: set aside
  } rows[] = {
      {"Enabled", app::kRegDword, Dword(1), "1"},        {"Enabled", app::kRegSz, "0", "0"},
      {"Enabled", app::kRegSz, "true", nullptr},         {"Enabled", app::kRegDword, Dword(2), nullptr},
      {"ForceAction", 3, "\x01", nullptr},               {"AutoStart", app::kRegSz, "", nullptr},
      {"EndTime", app::kRegSz, "7:30", "07:30"},         {"EndTime", app::kRegSz, "24:00", nullptr},
      {"EndTime", app::kRegSz, "07:300", nullptr},       {"EndTime", app::kRegSz, megabyte, nullptr},
      {"EndTime", app::kRegDword, Dword(730), nullptr},  {"Code", app::kRegDword, Dword(7), "7"},
      {"Code", app::kRegSz, "0", nullptr},               {"Code", app::kRegDword, Dword(8), nullptr},
      {"MessageTime", app::kRegSz, "0", "0"},            {"MessageTime", app::kRegDword, Dword(9999), "9999"},
      {"MessageTime", app::kRegDword, Dword(10000), nullptr}, {"MessageTime", app::kRegDword, Dword(~0u), nullptr},
      {"MessageTime", app::kRegSz, "abc", nullptr},      {"MessageTime", app::kRegSz, "-1", nullptr},
      {"MessageTime", app::kRegSz, megabyte, nullptr},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(std::string(row.name) + " = " + row.data.substr(0, 8));
    Store store;
    store.keys[policy::kPolicyKey][row.name] = {row.type, row.data};
    FakeKey root(store, "");
    Store userStore;
    FakeKey user(userStore, "");
    app::Settings settings;
    app::LoadSettings(root, settings, FakeAnsiToUtf8);
    const std::string* held = policy::PolicyFor(settings.Policies, row.name);
    EXPECT_EQ(held ? *held : "set aside", row.held ? row.held : "set aside");
    FixedRandom random;
    app::SaveSettings(root, settings, "C:\\dormix.exe", user, random);
    const std::string written = "\\" + std::string(row.name) + "=";
    EXPECT_EQ(std::any_of(store.writes.begin(), store.writes.end(),
                          [&](const std::string& line) { return line.find(written) != std::string::npos; }),
              !row.held);
  }
}

TEST(Settings, TheCloseEventWritesTheTypedPositionOnlyWhenRemembering) {
  for (const bool remember : {true, false}) {
    Store store;
    FakeKey root(store, "");
    app::Settings settings;
    settings.RememberPosition = remember;
    settings.Left = -8;
    settings.Top = 600;
    settings.EndTime = " 7:3 ";
    app::SaveClosePosition(root, settings);
    Journal expected = {"Dormix\\X=dword:4294967288", "Dormix\\Y=dword:600",
                        "Dormix\\EndTime= 7:3 "};
    if (!remember) expected.erase(expected.begin(), expected.begin() + 2);
    EXPECT_EQ(store.writes, expected) << remember;
  }
}

}  // namespace
