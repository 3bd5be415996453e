// The eight actions in one table, in the action order (Shut Down, Log Off,
// Hibernate, Stand By, Restart, Shut Down Monitor, Screen Saver, Protection
// Panel): the index of an action is its index in ShortcutTexts, among the
// hotkey controls and among the action items of the menu. Everything that
// lists the actions (menu, radio buttons, hotkeys, clock, settings) reads
// this table in the order it needs.
#pragma once
#include <array>
#include <cstdint>

#include "command/CommandLine.h"

namespace app {

// The routine an action runs; the main window maps each to its call, with
// ForceFlag for the four session routines and Stand By.
enum class Routine {
  ShutDownSystem,
  LogOffUser,
  HibernateSystem,
  StandBySystem,
  RestartSystem,
  MonitorOff,
  StartScreenSaver,
  ShowProtectionPanel,  // make the panel the active window, then show it
};

// The routines that show the notice first: Shut Down, Log Off, Hibernate,
// Stand By and Restart.
constexpr bool AsksFirst(Routine routine) { return routine <= Routine::RestartSystem; }

struct Action {
  const char* caption;          // as the user sees it: menu item, radio button
  const char* menuItem;         // the menu item's component name
  const char* shortcutLabel;    // the label beside its hotkey control
  int glyph;                    // image index in the menu's image list
  const char* defaultShortcut;  // shortcut text when none is stored
  const char* shortcutValue;    // its value name in the Shortcuts section
  std::int32_t code;            // operation code; 0 for none (Stand By)
  unsigned command;             // the menu item's command number
  Routine routine;
  const char* commandSwitch;    // its switch on the command line, without the "/"
};

constexpr int kActionCount = 8;
// The fixed command numbers of the menu's other items.
constexpr unsigned kMainCommand = 1001, kClockCommand = 1002, kExitCommand = 1003, kHelpCommand = 1004,
                   kAboutCommand = 1005, kCancelCountdownCommand = 1006, kPostponeCountdownCommand = 1007,
                   kCountdownCommand = 1008;
extern const std::array<Action, kActionCount> Actions;

// The actions as the command line knows them, in the same order.
command::Verbs CommandVerbs();

// The action of an operation code 1 to 7 (RadioButtonN selects code N); null
// for any other code.
const Action* ActionOfCode(std::int32_t code);

// The order in which a pressed hotkey is compared with the shortcut texts:
// the operation codes' order, then Stand By after Protection Panel.
constexpr std::array<int, kActionCount> kHotKeyOrder = {0, 1, 2, 6, 4, 5, 7, 3};

}  // namespace app
