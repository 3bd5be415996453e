// The power actions: which notice each one asks, and the requests it makes.
#include "power/QuorinFunction.h"

#include <memory>

#include "power/Notice.h"

namespace power {

namespace {

PowerPlatform* installed = nullptr;
PowerPlatform& Platform() { return *installed; }

constexpr std::uint32_t TOKEN_ADJUST_PRIVILEGES = 0x0020;
constexpr std::uint32_t SE_PRIVILEGE_ENABLED = 2;
constexpr std::uint32_t EWX_LOGOFF = 0, EWX_SHUTDOWN = 1, EWX_REBOOT = 2, EWX_FORCE = 4,
                        EWX_POWEROFF = 8;
constexpr std::uint32_t WM_SYSCOMMAND = 0x0112;
constexpr std::uintptr_t SC_MONITORPOWER = 0xF170, SC_SCREENSAVE = 0xF140;
// A BOOL the way the platform's suspend request is passed it.
constexpr std::int32_t Bool(bool value) { return value ? -1 : 0; }

struct TokenCloser {
  PowerPlatform* platform;
  void operator()(PowerPlatform::Token token) const { platform->CloseHandle(token); }
};

void EndSession(const char* notice, std::uint32_t flags, bool force) {
  if (ShowOperationNotice(notice)) ExitSession(force ? flags | EWX_FORCE : flags);
}

void Suspend(const char* notice, bool force) {
  if (!ShowOperationNotice(notice)) return;
  EnableShutdownPrivilege(true);
  Platform().SetSystemPowerState(Bool(true), Bool(force));
  EnableShutdownPrivilege(false);
}

}  // namespace

void SetPowerPlatform(PowerPlatform* platform) { installed = platform; }

bool EnableShutdownPrivilege(bool enable) {
  PowerPlatform& platform = Platform();
  const std::unique_ptr<void, TokenCloser> token(platform.OpenProcessToken(TOKEN_ADJUST_PRIVILEGES),
                                                 TokenCloser{&platform});
  if (!token) return true;
  if (const auto privilege = platform.LookupPrivilege("SeShutdownPrivilege"))
    platform.AdjustTokenPrivileges(token.get(), *privilege, enable ? SE_PRIVILEGE_ENABLED : 0);
  return true;
}

bool ExitSession(std::uint32_t flags) {
  EnableShutdownPrivilege(true);
  // ExitWindowsEx only starts the end of the session, so the privilege can
  // go again at once.
  const bool accepted = Platform().ExitWindowsEx(flags);
  EnableShutdownPrivilege(false);
  return accepted;
}

void ShutDownSystem(bool force) { EndSession("Shut Down", EWX_SHUTDOWN | EWX_POWEROFF, force); }
void LogOffUser(bool force) { EndSession("Log Off", EWX_LOGOFF, force); }
void RestartSystem(bool force) { EndSession("Restart", EWX_REBOOT, force); }
void HibernateSystem(bool force) { Suspend("Hibernate", force); }
void StandBySystem(bool force) { Suspend("Stand By", force); }

void MonitorOff() { Platform().PostToApplication(WM_SYSCOMMAND, SC_MONITORPOWER, 1); }
void StartScreenSaver() { Platform().SendToApplication(WM_SYSCOMMAND, SC_SCREENSAVE, 0); }

}  // namespace power
