// Down: the "Countdown..." item. Its window is made at the first opening,
// and sets the countdown by the command line's arguments, parsed and served
// as a console's are. Its last choices are a value of their own in the
// settings key.
#include "app/Down.h"
#include "countdown/CountdownWindow.h"
#include "ui/Application.h"

namespace {
const char* const kChoicesValue = "Countdown";
}  // namespace

void TForm1::Countdown1Click(ui::TComponent&) {
  if (HeldByNotice(*Countdown1)) return;
  if (!countdown::CountdownWindow) ui::Application().CreateForm(countdown::CountdownWindow);
  if (!countdown::CountdownWindow) return;
  countdown::Links links;
  links.countdown = &countdown_;
  for (const app::Action& action : app::Actions) {
    links.actions.push_back(action.caption);
    links.switches.push_back(action.commandSwitch);
  }
  // Countdowns only: their answer comes at once, never to another process.
  links.command = [this](const std::vector<std::string>& arguments) -> countdown::Reply {
    const auto parsed = command::ParseCommandLine(arguments, app::CommandVerbs());
    if (const auto* error = std::get_if<std::string>(&parsed)) return {2, *error};
    const std::optional<command::Answer> answer = handoff_.Serve(std::get<command::Command>(parsed), 0);
    return answer ? countdown::Reply{answer->code, answer->text} : countdown::Reply{0, ""};
  };
  links.loadChoices = [] {
    const std::unique_ptr<app::RegistryKey> key = app::LocalMachine().Open(app::kSettingsKey, false);
    return key ? app::TextOf(key->Read(kChoicesValue), false).value_or("") : std::string();
  };
  links.saveChoices = [](const std::string& choices) {
    if (const std::unique_ptr<app::RegistryKey> key = app::LocalMachine().Open(app::kSettingsKey, true))
      key->WriteString(kChoicesValue, choices);
  };
  countdown::CountdownWindow->Open(std::move(links));
}
