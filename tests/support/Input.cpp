// Real input, sent once, and what a low-level hook saw of it.
#include "support/Input.h"

#include <algorithm>
#include <cstdio>
#include <mutex>
#include <utility>

#include "support/Dormix.h"
#include "support/Pump.h"

namespace testing_support {

namespace {

// The inputs the hooks have seen, as text.
std::mutex seenLock;
std::vector<std::string> seen;

// Called from the hooks: nothing may leave it.
void Record(const char* format, unsigned long a, long b = 0, long c = 0) noexcept {
  char text[48];
  std::snprintf(text, sizeof text, format, a, b, c);
  try {
    const std::lock_guard<std::mutex> hold(seenLock);
    seen.emplace_back(text);
  } catch (...) {
  }
}

LRESULT CALLBACK KeyHook(int code, WPARAM, LPARAM lParam) {
  const auto* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
  if (code == HC_ACTION) Record(key->flags & LLKHF_UP ? "key 0x%lX up" : "key 0x%lX down", key->vkCode);
  return CallNextHookEx(nullptr, code, 0, lParam);
}

LRESULT CALLBACK MouseHook(int code, WPARAM wParam, LPARAM lParam) {
  const auto* mouse = reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam);
  if (code == HC_ACTION && wParam != WM_MOUSEMOVE) Record("mouse 0x%lX at %ld,%ld", wParam, mouse->pt.x, mouse->pt.y);
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Wine holds each input until the hooks have answered, for two seconds at
// most: they live on a thread that does nothing but answer them.
DWORD WINAPI HookThread(void* ready) {
  SetWindowsHookExA(WH_KEYBOARD_LL, &KeyHook, GetModuleHandleA(nullptr), 0);
  SetWindowsHookExA(WH_MOUSE_LL, &MouseHook, GetModuleHandleA(nullptr), 0);
  SetEvent(ready);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
  return 0;
}

INPUT Key(WORD vk, bool up) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, 0));
  in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  return in;
}

Sent Send(std::vector<INPUT> inputs) {
  const Sent sent;
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
  return sent;
}

// Handles the messages sent to this thread's windows and leaves the rest
// queued for the loop outside (a menu's, a modal window's), whose input a
// wait here must not take.
void DispatchSent() {
  MSG msg;
  PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
}

}  // namespace

// The hooks are installed with the first input.
Sent::Sent() {
  static const bool hooked = [] {
    const ui::unique_handle ready(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    CloseHandle(CreateThread(nullptr, 0, &HookThread, ready.get(), 0, nullptr));
    return WaitForSingleObject(ready.get(), 10000) == WAIT_OBJECT_0;
  }();
  const std::lock_guard<std::mutex> hold(seenLock);
  since_ = hooked ? seen.size() : 0;
}

std::ostream& operator<<(std::ostream& out, const Sent& sent) {
  if (!sent.notSent_.empty()) return out << "(nothing sent: " << sent.notSent_ << ")";
  const std::lock_guard<std::mutex> hold(seenLock);
  out << "(the hook saw";
  if (seen.size() == sent.since_) out << " nothing";
  for (std::size_t i = sent.since_; i < seen.size(); ++i) out << " [" << seen[i] << "]";
  return out << ")";
}

bool Sent::SawKeyDown(WORD vk) const {
  char text[48];
  std::snprintf(text, sizeof text, "key 0x%lX down", static_cast<unsigned long>(vk));
  const std::lock_guard<std::mutex> hold(seenLock);
  return notSent_.empty() && std::find(seen.begin() + static_cast<std::ptrdiff_t>(since_), seen.end(), text) != seen.end();
}

Sent PressKey(WORD vk, std::initializer_list<WORD> modifiers) {
  std::vector<INPUT> inputs;
  for (WORD m : modifiers) inputs.push_back(Key(m, false));
  inputs.push_back(Key(vk, false));
  inputs.push_back(Key(vk, true));
  for (auto it = std::rbegin(modifiers); it != std::rend(modifiers); ++it) inputs.push_back(Key(*it, true));
  return Send(std::move(inputs));
}

Sent PressInX(const std::string& keys) {
  const Sent sent;
  XDoTool("key " + keys);
  return sent;
}

Sent TypeKeys(const std::string& keys) {
  std::vector<INPUT> inputs;
  for (const char c : keys)
    for (const bool up : {false, true}) inputs.push_back(Key(c == '\r' ? VK_RETURN : static_cast<WORD>(c), up));
  return Send(std::move(inputs));
}

testing::AssertionResult MovePointer(POINT at) {
  XDoTool("mousemove " + std::to_string(at.x) + " " + std::to_string(at.y));
  POINT now{};
  if (!PumpUntil([&] { return GetCursorPos(&now) && now.x == at.x && now.y == at.y; }, 20000, &DispatchSent))
    return testing::AssertionFailure() << "the pointer is at " << now.x << "," << now.y << ", not at " << at.x
                                       << "," << at.y;
  SetCursorPos(at.x, at.y);
  return testing::AssertionSuccess();
}

Sent MouseClick(int button) {
  std::vector<INPUT> inputs(2);
  for (INPUT& in : inputs) in.type = INPUT_MOUSE;
  inputs[0].mi.dwFlags = button == 3 ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN;
  inputs[1].mi.dwFlags = inputs[0].mi.dwFlags << 1;  // the button's UP flag
  return Send(std::move(inputs));
}

Sent ClickWithMouse(HWND control) {
  RECT r{};
  POINT middle{};
  const bool ready = PumpUntil([&] {
    GetWindowRect(control, &r);
    middle = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    return IsWindowVisible(control) && IsWindowEnabled(control) && IsWindowEnabled(GetAncestor(control, GA_ROOT)) &&
           WindowFromPoint(middle) == control;
  }, 10000, &DispatchSent);
  if (!ready)
    return Sent("\"" + WindowText(control) + "\" is hidden, disabled or under " + ClassOf(WindowFromPoint(middle)));
  if (testing::AssertionResult moved = MovePointer(middle); !moved) return Sent(moved.message());
  return MouseClick(1);
}

bool TakesKeys(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  return GetForegroundWindow() == GetAncestor(window, GA_ROOT) &&
         GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) &&
         (info.hwndFocus == window || IsChild(window, info.hwndFocus));
}

}  // namespace testing_support
