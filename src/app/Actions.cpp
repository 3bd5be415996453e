// The action table. The command numbers sit apart from the ones the menu
// gives out by creation order, so that they stay the same for every build.
#include "app/Actions.h"

namespace app {

const std::array<Action, kActionCount> Actions = {{
    {"Shut Down", "ShutDown1", "Shut Down:", 13, "Ctrl+Alt+S", "ShutDown", 1, 2001,
     Routine::ShutDownSystem, "shutdown"},
    {"Log Off", "LogOff1", "Log Off:", 19, "Ctrl+Alt+L", "LogOff", 2, 2002, Routine::LogOffUser, "logoff"},
    {"Hibernate", "Hibernate1", "Hibernate:", 12, "Ctrl+Alt+H", "Hibernate", 3, 2003,
     Routine::HibernateSystem, "hibernate"},
    {"Stand By", "StandBy1", "Stand by:", 16, "Ctrl+Alt+B", "StandBy", 0, 2004,
     Routine::StandBySystem, "standby"},
    {"Restart", "Restart1", "Restart:", 14, "Ctrl+Alt+R", "Restart", 5, 2005,
     Routine::RestartSystem, "restart"},
    {"Shut Down Monitor", "ShutDownMonitor1", "Shut Down Monitor:", 6, "Ctrl+Alt+M", "ShutDownMon",
     6, 2006, Routine::MonitorOff, "monitoroff"},
    {"Screen Saver", "ScreenSaver1", "Screen Saver:", 18, "Ctrl+Alt+V", "ScreenSaver", 4, 2007,
     Routine::StartScreenSaver, "screensaver"},
    {"Protection Panel", "ProtectionPanel1", "Protection Panel:", 9, "Ctrl+Alt+P",
     "ProtectionPanel", 7, 2008, Routine::ShowProtectionPanel, "lock"},
}};

command::Verbs CommandVerbs() {
  static const auto verbs = [] {
    std::array<command::Verb, kActionCount> made{};
    for (int i = 0; i < kActionCount; ++i)
      made[i] = {Actions[i].commandSwitch, Actions[i].caption,
                 AsksFirst(Actions[i].routine)                         ? command::Verb::Shows::Notice
                 : Actions[i].routine == Routine::ShowProtectionPanel ? command::Verb::Shows::Panel
                                                                      : command::Verb::Shows::Nothing};
    return made;
  }();
  return verbs;
}

const Action* ActionOfCode(std::int32_t code) {
  for (const Action& action : Actions)
    if (action.code != 0 && action.code == code) return &action;
  return nullptr;
}

}  // namespace app
