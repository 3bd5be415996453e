// QuorinFunction: the routines that belong to no window: the single-instance
// guard of start-up, and the power actions with the shutdown privilege they
// need. The actions reach the platform through PowerPlatform, so their exact
// requests can be checked without ending anyone's session.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

namespace power {

// True once CheckSingleInstance has run to its end, on either of its paths.
extern bool MutexCreated;

// Creates the mutex named after the application title. When another copy
// holds it, brings that copy's window forward and asks this copy to end.
void CheckSingleInstance();
// Closes the mutex, only when CheckSingleInstance ran to its end.
void ReleaseSingleInstance();

// The platform requests behind the actions, one method per Win32 call.
class PowerPlatform {
 public:
  using Token = void*;
  struct Luid {
    std::uint32_t low = 0;
    std::int32_t high = 0;
  };

  virtual ~PowerPlatform() = default;
  // OpenProcessToken on the current process; null when refused.
  virtual Token OpenProcessToken(std::uint32_t access) = 0;
  // LookupPrivilegeValueA on the local system; nothing when it fails.
  virtual std::optional<Luid> LookupPrivilege(const std::string& name) = 0;
  // AdjustTokenPrivileges with a record of this one privilege, no previous
  // state asked for.
  virtual void AdjustTokenPrivileges(Token token, Luid privilege, std::uint32_t attributes) = 0;
  virtual void CloseHandle(Token token) = 0;
  // ExitWindowsEx(flags, 0); true when the request was accepted.
  virtual bool ExitWindowsEx(std::uint32_t flags) = 0;
  // The BOOL arguments as passed: -1 for true, 0 for false.
  virtual void SetSystemPowerState(std::int32_t suspend, std::int32_t force) = 0;
  // PostMessageA and SendMessageA to the application window.
  virtual void PostToApplication(std::uint32_t msg, std::uintptr_t wParam,
                                 std::intptr_t lParam) = 0;
  virtual void SendToApplication(std::uint32_t msg, std::uintptr_t wParam,
                                 std::intptr_t lParam) = 0;
};

// The program's platform: the Win32 calls, the application window being
// ui::Application()'s. Win32 only.
PowerPlatform& SystemPowerPlatform();
// The platform the routines below call. The program installs
// SystemPowerPlatform() at start-up; tests install fakes.
void SetPowerPlatform(PowerPlatform* platform);

// Enables or disables the shutdown privilege of this process. Always true,
// also when the token cannot be opened or the privilege not set.
bool EnableShutdownPrivilege(bool enable);
// ExitWindowsEx with `flags` while the privilege is enabled; whether the
// platform accepted the request.
bool ExitSession(std::uint32_t flags);

// The session routines ask ShowOperationNotice first and do nothing when it
// answers false; an error of the notice passes through before any request.
void ShutDownSystem(bool force);
void LogOffUser(bool force);
void RestartSystem(bool force);
void HibernateSystem(bool force);
void StandBySystem(bool force);

// No notice and no privilege: the display's low-power state (posted, so it
// returns at once) and the screen saver (sent).
void MonitorOff();
void StartScreenSaver();

}  // namespace power
