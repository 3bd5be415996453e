// Driving dormix.exe from outside, as a user's other programs would: start
// it, watch its windows and the taskbar, and take screenshots.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/Settings.h"
#include "ui/Win32Handle.h"

namespace testing_support {

// A Unix path from the test's environment as a Windows path (drive Z:).
std::string WindowsPath(const std::string& unixPath);
// dormix.exe of this build, as a Windows path.
std::string DormixExe();
// The suite's own scratch folder (the Wine prefix's parent), as a Windows path.
std::string SuiteDir();
// Writes a file of that name and content into the suite's folder; its path.
std::string SuiteFile(const char* name, const std::string& content);

class Process {
 public:
  // kLimited: with the limited token of this administrator, as UAC gives a
  // program not run as administrator (Wine runs every program elevated).
  enum class Start { kNow, kSuspended, kLimited };
  // With an `output` path, the process's standard output and error go to
  // that file, made anew.
  explicit Process(const std::string& exe, const std::string& arguments = {}, Start start = Start::kNow,
                   const std::string& output = {});
  // A process already running, by its id.
  explicit Process(DWORD id);
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;
  // A process still running at the end of a test is killed.
  ~Process();

  DWORD Id() const { return id_; }
  HANDLE Handle() const { return process_.get(); }
  // Waits (dispatching messages) until the process has ended; its exit code,
  // or nothing when it still runs after `timeoutMs`.
  std::optional<DWORD> WaitExit(DWORD timeoutMs = 20000);
  bool Running() const;
  // Lets a process started suspended run.
  void Resume();

 private:
  ui::unique_handle process_, thread_;
  DWORD id_ = 0;
};

// Top-level windows of a process, optionally only the visible ones.
std::vector<HWND> WindowsOf(DWORD pid, bool visibleOnly);
// The top-level window of the process with that class, waiting for it.
HWND WaitForWindow(DWORD pid, const char* className, DWORD timeoutMs = 20000);
std::string WindowText(HWND w);
std::string ClassOf(HWND w);
// The child windows (at any depth) of that class, in the order of the
// windows' list; the first of them with that text.
std::vector<HWND> ControlsOf(HWND top, const char* className);
HWND FindControl(HWND top, const char* className, const std::string& text);
// The control that follows a label of the options window, as designed.
HWND ControlAfter(HWND form, const char* label);
// Nothing is left to paint in the window or any shown window inside it (of
// any process).
bool Painted(HWND window);
// Waits until dormix.exe's four windows exist and its message loop waits for
// input; false when that has not come within 20 s.
bool WaitSettled(Process& dormix);
// Dormix's menu items by their command identifiers, fixed whatever the order
// in which the items are made.
enum MenuCommand : UINT {
  kMain = 1001,
  kClockSwitch = 1002,  // "Disable ShutDown Clock" / "Enable ShutDown Clock"
  kExit = 1003,
  kAbout = 1005,
  kCancelCountdown = 1006,  // shown, with the next, while a countdown is pending
  kPostponeCountdown = 1007,
  kShutDown = 2001,
  kLogOff = 2002,
  kHibernate = 2003,
  kStandBy = 2004,
  kRestart = 2005,
  kShutDownMonitor = 2006,
  kScreenSaver = 2007,
  kProtectionPanel = 2008,
};
// Chooses an item of Dormix's tray menu as a user does: opens the menu with
// a right click and, once Dormix has the keyboard, presses Down as often as
// the item's place among the visible items says, then Enter. The countdown's
// two items come first while `countdownPending`.
testing::AssertionResult ChooseFromTrayMenu(MenuCommand command, bool countdownPending = false);
// Ends a running Dormix through its Exit item, as the user would, and
// waits for its tray icon to go; false when either does not happen. (The
// icon of a killed Dormix stays on the taskbar until the pointer passes it.)
bool ExitThroughMenu(Process& dormix);
// Opens Dormix's options window with "Main" (its controls get their windows
// then), runs `edit` on it, and closes it with "Ok": what was changed is
// stored and stays in effect.
void WithOptions(Process& dormix, const std::function<void(HWND options)>& edit);
// The minute now running as time text, once twenty seconds of it are left
// at least (a later minute is let go first): room for the round trips of a
// loaded machine before the minute ends.
std::string MinuteWithRoom();
// Types "hh:nn" into the time field of the open options window.
void TypeClockTime(HWND options, const std::string& time);
// Sets the clock's time in the options window to MinuteWithRoom() and arms
// the clock, disabled before, from the menu: it fires at its next tick. The
// set time.
std::string ArmClockForThisMinute(Process& dormix);
// Window buttons on Wine's taskbar (Start not counted); -1 when no taskbar
// came.
int TaskbarButtons();
// Pointer input from the X side, as a user gives it: starts xdotool (a Unix
// program, which Wine runs as one) with these arguments. Wine cannot wait for
// a Unix process, so the caller waits for the input's effect.
void XDoTool(const std::string& arguments);
// For the cases that force the end of the session, which ends this program
// too: says on stdout that the request was made, then waits. Returns only
// when this program is still running 30 s later, which is a failure.
void AwaitForcedSessionEnd();
// Where Wine's taskbar shows the first tray icon, in the suite's 1024x768
// desktop; each further icon sits 20 px to its left.
constexpr POINT kFirstTrayIcon{1014, 758};
constexpr POINT kSecondTrayIcon{kFirstTrayIcon.x - 20, kFirstTrayIcon.y};
// The pixels of the first tray icon's place on the screen, to compare.
std::string TrayIconPixels();
// An icon shows at that place of the taskbar: an empty place is one colour.
bool TrayIconAt(POINT at);
// An icon shows at the first tray icon's place.
bool TrayIconShown();
// The tip the shell holds for the first tray icon: the text of the tool of
// the shell's tooltip that lies over the icon (the tooltip of a removed icon
// keeps its text, with no place); "<no tip>" when there is none.
std::string TrayTip();
// The shell holds `expected` as the tip, or does within `timeoutMs`.
testing::AssertionResult TrayTipReads(const std::string& expected, DWORD timeoutMs = 10000);
// Once the shell holds `expected` as the first tray icon's tip, moves the
// pointer onto the icon from elsewhere, and returns what the shown tooltip
// reads once it reads `expected`, or what it last read.
std::string ShownTrayTip(const std::string& expected);
// Opens Dormix's tray menu with one right click on the first tray icon, the
// pointer moved there first; the menu's window, or null with the failure
// reported.
HWND OpenTrayMenu();
// Closes an open menu of Dormix with one Esc, once Dormix has the keyboard.
testing::AssertionResult CloseWithEsc(HWND menu);

// A value under HKEY_LOCAL_MACHINE, or `root`; nothing when it is missing.
std::optional<app::RegistryValue> Stored(const std::string& key, const char* name,
                                         app::RegistryKey& root = app::LocalMachine());
// A REG_SZ value's text; "<missing>", or "<type N>" for a value of another type.
std::string StoredText(const std::string& key, const char* name, app::RegistryKey& root = app::LocalMachine());
std::optional<DWORD> StoredDword(const std::string& key, const char* name);
// A REG_SZ value in a section of Dormix's settings key, created when missing.
void Store(const std::string& section, const char* name, const std::string& text);
// The stored password unscrambled; "<missing>", or "<the error>" when it
// does not unscramble.
std::string StoredPassword();
// Every value of Dormix's settings key and its sections, and the autostart
// entry, as "key\\name=type:data".
std::vector<std::string> StoredValues();
// The bytes of a WAV file: that many milliseconds of silence, 8 kHz 8-bit mono.
std::string SilenceWav(int milliseconds);

// What a window of another process says it shows: GetWindowText would give
// the caption its process last set, and a tooltip shows another text.
std::string ShownText(HWND w);
// The window of Dormix of that class once it is shown; null when it is not
// within 10 s.
HWND Shown(Process& dormix, const char* className);
// The window is hidden, or is within 10 s.
bool Hidden(HWND window);
// A screenshot once the window (for the desktop window: every shown window)
// has painted itself and its process has put that on the screen.
void ShotOf(HWND window, const std::string& name);
// The text of the message box Dormix shows within `timeoutMs`, taken in a
// screenshot of that name and then answered with OK; "" when none came.
std::string AnswerMessageBox(Process& dormix, const std::string& shot, DWORD timeoutMs = 10000);

// A minute of the day as time text, "hh:nn"; the local time now as one.
std::string TimeText(int minuteOfDay);
std::string Now();

// A window of this program that answers the end-of-session query (refusing
// it or not) and records what it was told.
class SessionProbe {
 public:
  explicit SessionProbe(bool refuse);
  static inline bool queried_, ended_, endedTrue_, refuse_;

 private:
  static LRESULT CALLBACK Proc(HWND w, UINT msg, WPARAM wParam, LPARAM lParam);
  ui::unique_hwnd window_;
};

// Saves the whole virtual screen as <name>.bmp in the suite's shots folder.
void Screenshot(const std::string& name);

}  // namespace testing_support
