// A second process for the hotkey tests: takes one hotkey combination for
// itself so that the process under test finds it taken.
//   hotkey_holder MODIFIERS VK READY-EVENT RELEASE-EVENT
// Registers the combination (a thread hotkey), signals READY-EVENT, and keeps
// it until RELEASE-EVENT is signalled (at most a minute). Exit code 0, or 2
// when the registration was refused, 3 on bad arguments.
#include <windows.h>

#include <cstdlib>

#include "ui/Win32Handle.h"

int main(int argc, char** argv) {
  if (argc != 5) return 3;
  const UINT modifiers = std::strtoul(argv[1], nullptr, 0);
  const UINT key = std::strtoul(argv[2], nullptr, 0);
  const ui::unique_handle ready(OpenEventA(EVENT_MODIFY_STATE, FALSE, argv[3]));
  const ui::unique_handle release(OpenEventA(SYNCHRONIZE, FALSE, argv[4]));
  if (!ready || !release) return 3;
  if (!RegisterHotKey(nullptr, 1, modifiers, key)) return 2;
  SetEvent(ready.get());
  WaitForSingleObject(release.get(), 60000);
  UnregisterHotKey(nullptr, 1);
  return 0;
}
