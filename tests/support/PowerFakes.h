// Recording fakes of the power actions' platform and of the notice's host.
// Both write into one journal, so a test sees the notice and the requests
// in the order they happened.
#pragma once
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "power/Notice.h"
#include "power/QuorinFunction.h"
#include "ui/Error.h"

namespace power_fakes {

using Journal = std::vector<std::string>;

class FakePlatform : public power::PowerPlatform {
 public:
  explicit FakePlatform(Journal& journal) : journal_(journal) {}
  bool tokenOpens = true;
  bool privilegeKnown = true;
  bool exitAccepted = true;

  Token OpenProcessToken(std::uint32_t access) override {
    Log("OpenProcessToken " + Hex(access));
    return tokenOpens ? kToken : nullptr;
  }
  std::optional<Luid> LookupPrivilege(const std::string& name) override {
    Log("LookupPrivilegeValueA " + name);
    if (!privilegeKnown) return std::nullopt;
    return Luid{0x13, 0x2};
  }
  void AdjustTokenPrivileges(Token token, Luid privilege, std::uint32_t attributes) override {
    Log("AdjustTokenPrivileges " + TokenName(token) + " luid " + Hex(privilege.low) + ":" +
        Hex(privilege.high) + " attributes " + std::to_string(attributes));
  }
  void CloseHandle(Token token) override { Log("CloseHandle " + TokenName(token)); }
  bool ExitWindowsEx(std::uint32_t flags) override {
    Log("ExitWindowsEx " + std::to_string(flags));
    return exitAccepted;
  }
  void SetSystemPowerState(std::int32_t suspend, std::int32_t force) override {
    Log("SetSystemPowerState " + std::to_string(suspend) + " " + std::to_string(force));
  }
  void PostToApplication(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam) override {
    Log("PostMessageA " + Hex(msg) + " " + Hex(wParam) + " " + std::to_string(lParam));
  }
  void SendToApplication(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam) override {
    Log("SendMessageA " + Hex(msg) + " " + Hex(wParam) + " " + std::to_string(lParam));
  }

 private:
  static inline int tokenObject;
  static inline const Token kToken = &tokenObject;
  static std::string TokenName(Token token) { return token == kToken ? "token" : "a stranger"; }
  static std::string Hex(std::uintmax_t value) {
    char text[24];
    std::snprintf(text, sizeof text, "0x%jX", value);
    return text;
  }
  void Log(std::string line) { journal_.push_back(std::move(line)); }
  Journal& journal_;
};

// A FakePlatform in effect while this lives, and `after` in effect after it.
struct InstalledPlatform {
  explicit InstalledPlatform(power::PowerPlatform* after) : after(after) { power::SetPowerPlatform(&platform); }
  ~InstalledPlatform() { power::SetPowerPlatform(after); }
  Journal journal;
  FakePlatform platform{journal};
  power::PowerPlatform* after;
};

class FakeNoticeHost : public power::NoticeHost {
 public:
  explicit FakeNoticeHost(Journal& journal) : journal_(journal) {}
  bool playSound = false;
  std::string soundFile = "C:\\sounds\\bye.wav";
  std::string openError;  // when set, opening fails with this text
  bool showMessage = true;
  std::string messageTime = "15";
  bool shown = false;
  int modalResult = 1;
  // Runs while the notice is shown, as a hotkey or menu command could.
  std::function<void()> duringNotice;

  void SetClockTimer(bool enabled) override { Log(enabled ? "clock on" : "clock off"); }
  bool PlaySoundChecked() override { return playSound; }
  std::string SoundFileName() override { return soundFile; }
  void OpenPlayer(const std::string& fileName) override {
    Log("open " + fileName);
    if (!openError.empty()) throw ui::Error(openError);
  }
  void StartPlaying() override { Log("play"); }
  bool ShowMessageChecked() override { return showMessage; }
  std::string MessageTime() override { return messageTime; }
  bool NoticeShown() override { return shown; }
  void StartCountdown() override { Log("countdown on"); }
  int ShowNoticeModal() override {
    if (shown) throw ui::Error("Cannot make a visible window modal");
    Log("show " + power::NoticeOperation + " " + std::to_string(power::NoticeCount));
    shown = true;
    if (duringNotice) duringNotice();
    Log("closed " + power::NoticeOperation + " " + std::to_string(power::NoticeCount));
    shown = false;
    return modalResult;
  }

 private:
  void Log(std::string line) { journal_.push_back(std::move(line)); }
  Journal& journal_;
};

// The journal of a notice for `operation` shown and closed with the host's
// defaults, the sound started first when `sound`.
inline Journal ShownNotice(const std::string& operation, bool sound = false) {
  Journal calls = {"clock off"};
  if (sound) calls.insert(calls.end(), {"open C:\\sounds\\bye.wav", "play"});
  calls.insert(calls.end(), {"countdown on", "show " + operation + " 15", "closed " + operation + " 15", "clock on"});
  return calls;
}

}  // namespace power_fakes
