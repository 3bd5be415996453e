// QuorinFunction on Windows. The single-instance guard, the second of two:
// the program entry's file mapping ends a second copy before anything exists;
// this mutex, keyed by the application title, catches a copy that got past it
// and raises the running copy's window. Then the power actions' platform.
#include <windows.h>

#include <cstring>

#include "power/QuorinFunction.h"
#include "ui/Application.h"
#include "ui/Win32Handle.h"

namespace power {

bool MutexCreated = false;

namespace {
ui::unique_handle SingleInstanceMutex;
}

void CheckSingleInstance() {
  char name[257] = {};
  std::strncpy(name, ui::Application().Title().c_str(), sizeof name - 1);
  MutexCreated = false;
  const HANDLE mutex = CreateMutexA(nullptr, FALSE, name);
  const DWORD error = GetLastError();
  SingleInstanceMutex.reset(mutex);
  // Only "already exists" means another copy. A mutex that cannot be made
  // for another reason (named "Dormix", the title of a Dormix.exe, it clashes
  // with the file mapping of that name) must not end the only copy.
  if (error == ERROR_ALREADY_EXISTS) {
    // Our own windows carry the same text; blanking the first one found lets
    // the second search reach another window of that text.
    SetWindowTextA(FindWindowA(nullptr, name), "");
    if (HWND w = FindWindowA(nullptr, name)) {
      if (IsIconic(w))
        ShowWindow(w, SW_RESTORE);
      else
        BringWindowToTop(w);
    }
    ui::Application().Terminate();
  }
  MutexCreated = true;
}

void ReleaseSingleInstance() {
  if (MutexCreated) SingleInstanceMutex.reset();
}

namespace {

class Win32PowerPlatform : public PowerPlatform {
 public:
  Token OpenProcessToken(std::uint32_t access) override {
    HANDLE token = nullptr;
    return ::OpenProcessToken(GetCurrentProcess(), access, &token) ? token : nullptr;
  }
  std::optional<Luid> LookupPrivilege(const std::string& name) override {
    LUID luid;
    if (!LookupPrivilegeValueA(nullptr, name.c_str(), &luid)) return std::nullopt;
    return Luid{luid.LowPart, luid.HighPart};
  }
  void AdjustTokenPrivileges(Token token, Luid privilege, std::uint32_t attributes) override {
    TOKEN_PRIVILEGES record{};
    record.PrivilegeCount = 1;
    record.Privileges[0].Luid.LowPart = privilege.low;
    record.Privileges[0].Luid.HighPart = privilege.high;
    record.Privileges[0].Attributes = attributes;
    DWORD returnLength = 0;
    ::AdjustTokenPrivileges(token, FALSE, &record, 0, nullptr, &returnLength);
  }
  void CloseHandle(Token token) override { ::CloseHandle(token); }
  bool ExitWindowsEx(std::uint32_t flags) override { return ::ExitWindowsEx(flags, 0); }
  void SetSystemPowerState(std::int32_t suspend, std::int32_t force) override {
    ::SetSystemPowerState(suspend, force);
  }
  void PostToApplication(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam) override {
    PostMessageA(ui::Application().Handle(), msg, wParam, lParam);
  }
  void SendToApplication(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam) override {
    SendMessageA(ui::Application().Handle(), msg, wParam, lParam);
  }
};

}  // namespace

PowerPlatform& SystemPowerPlatform() {
  static Win32PowerPlatform platform;
  return platform;
}

}  // namespace power
