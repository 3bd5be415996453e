// The command line on Windows: a second process hands its command to the
// running copy's main window in a WM_COPYDATA and ends with its answer, which
// comes back in a WM_COPYDATA to a window of its own, at once or once the
// action's notice has opened; the answer's text goes to a redirected
// standard output, else to the console that started the process, else
// (usage and errors) into a message box.
#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "command/Handoff.h"
#include "ui/Win32Handle.h"

namespace command {

// The main window's own messages, posted to itself: run the oldest command
// it holds; the notice of the action running has opened. They carry
// nothing, so another process that posts them runs nothing that was not
// asked for.
constexpr UINT kRunActionMessage = WM_APP;
constexpr UINT kNoticeOpenedMessage = WM_APP + 1;
// Posted by a start without arguments while a copy runs: the running copy
// says where it is.
constexpr UINT kStartedAgainMessage = WM_APP + 2;
// dwData of a command's WM_COPYDATA (the answer's has another): anything
// else is no message of ours.
constexpr ULONG_PTR kCommandMagic = 0x444D5843;  // "DMXC"

// Marks the main window as the one that takes commands from other processes.
void TakeCommands(HWND mainWindow);
// The running copy's side of a command's WM_COPYDATA: a well-formed command
// is served and its answer sent back to the sender's answer window; the
// result is the exit code, or kAnswerFollows for an answer sent later
// with Reply. Anything else is refused with 2, unserved, and its reason sent.
constexpr LRESULT kAnswerFollows = 0x100;
LRESULT ReceiveCommand(WPARAM sender, LPARAM data, Handoff& handoff, Verbs verbs);
void Reply(Sender sender, const Answer& answer);
// An /after program that is this process: its id, or a name its file
// answers to ("dormix", "DORMIX.EXE").
bool NamesThisProgram(const std::string& program);
// Starts Dormix as a process of its own, to take the tray and the commands:
// no handle of this one inherited, out of this one's job where the job lets
// it go, in the program's folder; its process handle, null when it cannot.
ui::unique_handle StartCopy();
// The second process's side: the running copy's answer, or a refusal when
// none answers. The copy is awaited a few seconds, and as long as
// `starting`, the process of a copy this one started, runs.
Answer HandOff(const Command& command, Verbs verbs, HANDLE starting = nullptr);
// Every start's first step. With arguments, the command is handed to the
// running copy, or to one this process starts, and its answer is the exit
// code (0 done, 1 refused, 2 bad usage); without, a second copy asks the
// running one to say where it is, and ends with 0.
// Nothing when this process is to be the running copy: `guard` then holds
// the name that tells later starts so.
std::optional<int> Launch(const std::vector<std::string>& arguments, Verbs verbs, ui::unique_handle& guard);
// Shows the answer's text to the user; in a message box only when there is
// no console to print to and `boxed` is set.
void Print(const Answer& answer, bool boxed);

}  // namespace command
