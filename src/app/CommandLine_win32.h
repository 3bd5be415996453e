// The command line on Windows: a second process hands its command to the
// running copy's main window in a WM_COPYDATA and ends with its answer; the
// answer's text goes to a redirected standard output, else to the console
// that started the process, else (usage and errors) into a message box.
#pragma once
#include <windows.h>

#include <functional>

#include "app/CommandLine.h"
#include "ui/Win32Handle.h"

namespace app {

// The main window's own message, posted to itself once it has answered an
// action: run the oldest command it holds. It carries nothing, so another
// process that posts it runs nothing that was not asked for.
constexpr UINT kRunActionMessage = WM_APP;
// dwData of a command's WM_COPYDATA (the answer's has another): anything
// else is no message of ours.
constexpr ULONG_PTR kCommandMagic = 0x444D5843;  // "DMXC"

// Marks the main window as the one that takes commands from other processes.
void TakeCommands(HWND mainWindow);
// The running copy's side of a command's WM_COPYDATA: a well-formed command
// is served and its answer's text sent back to the sender's answer window;
// the result is the exit code. Anything else is refused with 2, unserved.
LRESULT ReceiveCommand(WPARAM sender, LPARAM data, const std::function<Answer(const Command&)>& serve);
// Starts Dormix as a process of its own, to take the tray and the commands:
// no handle of this one inherited, out of this one's job where the job lets
// it go, in the program's folder; its process handle, null when it cannot.
ui::unique_handle StartCopy();
// The second process's side: the running copy's answer, or a refusal when
// none answers. The copy is awaited a few seconds, and as long as
// `starting`, the process of a copy this one started, runs.
Answer HandOff(const Command& command, HANDLE starting = nullptr);
// Shows the answer's text to the user; in a message box only when there is
// no console to print to and `boxed` is set.
void Print(const Answer& answer, bool boxed);

}  // namespace app
