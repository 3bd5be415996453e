// Real input, sent once, and what a low-level hook saw of it.
#include "support/Input.h"

#include <cstdio>
#include <mutex>
#include <utility>

#include "support/Dormix.h"
#include "support/Pump.h"

namespace testing_support {

namespace {

std::mutex seenLock;
std::vector<Sent::Event> seen;

void Record(const Sent::Event& input) {
  const std::lock_guard<std::mutex> hold(seenLock);
  seen.push_back(input);
}

LRESULT CALLBACK KeyHook(int code, WPARAM, LPARAM lParam) {
  const auto* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
  if (code == HC_ACTION) Record({key->vkCode, (key->flags & LLKHF_UP) != 0, 0, {}});
  return CallNextHookEx(nullptr, code, 0, lParam);
}

LRESULT CALLBACK MouseHook(int code, WPARAM wParam, LPARAM lParam) {
  const auto* mouse = reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam);
  if (code == HC_ACTION && wParam != WM_MOUSEMOVE) Record({0, false, static_cast<UINT>(wParam), mouse->pt});
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

// The number of inputs seen so far, the hooks installed first.
std::size_t SeenSoFar() {
  static const bool hooked = [] {
    const ui::unique_handle ready(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    CloseHandle(CreateThread(nullptr, 0, &HookThread, ready.get(), 0, nullptr));
    return WaitForSingleObject(ready.get(), 10000) == WAIT_OBJECT_0;
  }();
  const std::lock_guard<std::mutex> hold(seenLock);
  return hooked ? seen.size() : 0;
}

std::ostream& operator<<(std::ostream& out, const Sent::Event& e) {
  char text[48];
  if (e.button)
    std::snprintf(text, sizeof text, "[mouse 0x%X at %ld,%ld]", e.button, e.at.x, e.at.y);
  else
    std::snprintf(text, sizeof text, "[key 0x%lX %s]", e.vk, e.up ? "up" : "down");
  return out << text;
}

bool Same(const Sent::Event& a, const Sent::Event& b) {
  return a.button ? a.button == b.button && a.at.x == b.at.x && a.at.y == b.at.y : a.vk == b.vk && a.up == b.up;
}

INPUT Key(WORD vk, bool up) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, 0));
  in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  return in;
}

// Sends the inputs in one piece; the hook is to see `expected`.
Sent Send(std::vector<INPUT> inputs, std::string what, std::vector<Sent::Event> expected) {
  Sent sent(std::move(what), std::move(expected));
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

Sent::Sent(std::string what, std::vector<Event> expected)
    : what_(std::move(what)), expected_(std::move(expected)), since_(SeenSoFar()) {}

std::ostream& operator<<(std::ostream& out, const Sent& sent) {
  if (!sent.sent_) return out << "(not sent: " << sent.what_ << ")";
  std::vector<Sent::Event> since;
  {
    const std::lock_guard<std::mutex> hold(seenLock);
    since.assign(seen.begin() + static_cast<std::ptrdiff_t>(sent.since_), seen.end());
  }
  std::size_t found = 0;
  for (const Sent::Event& e : since)
    if (found < sent.expected_.size() && Same(sent.expected_[found], e)) ++found;
  if (found == sent.expected_.size()) return out << "(" << sent.what_ << " arrived)";
  out << "(" << sent.what_ << " did not arrive; the hook saw";
  if (since.empty()) out << " nothing";
  for (const Sent::Event& e : since) out << " " << e;
  return out << ")";
}

Sent PressKey(WORD vk, std::initializer_list<WORD> modifiers) {
  std::vector<INPUT> inputs;
  std::vector<Sent::Event> expected;
  const auto add = [&](WORD code, bool up) {
    inputs.push_back(Key(code, up));
    expected.push_back({code, up, 0, {}});
  };
  for (WORD m : modifiers) add(m, false);
  add(vk, false);
  add(vk, true);
  for (auto it = std::rbegin(modifiers); it != std::rend(modifiers); ++it) add(*it, true);
  char what[32];
  std::snprintf(what, sizeof what, "the press of key 0x%X", vk);
  return Send(std::move(inputs), what, std::move(expected));
}

Sent TypeKeys(const std::string& keys) {
  std::vector<INPUT> inputs;
  std::vector<Sent::Event> expected;
  for (const char c : keys)
    for (const bool up : {false, true}) {
      const WORD vk = c == '\r' ? VK_RETURN : static_cast<WORD>(c);
      inputs.push_back(Key(vk, up));
      expected.push_back({vk, up, 0, {}});
    }
  return Send(std::move(inputs), "the keys " + keys, std::move(expected));
}

std::function<bool()> ReadByThisThread(WORD vk, std::initializer_list<WORD> modifiers) {
  std::vector<std::pair<WORD, SHORT>> toggles{{vk, GetKeyState(vk) & 1}};
  for (WORD m : modifiers) toggles.emplace_back(m, GetKeyState(m) & 1);
  return [toggles] {
    for (const auto& [code, toggle] : toggles) {
      const SHORT state = GetKeyState(code);
      if ((state & 1) == toggle || (state & 0x8000)) return false;
    }
    return true;
  };
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

Sent Click(int button) {
  POINT at{};
  GetCursorPos(&at);
  const DWORD down = button == 3 ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN;
  const UINT message = button == 3 ? WM_RBUTTONDOWN : WM_LBUTTONDOWN;
  std::vector<INPUT> inputs(2);
  for (INPUT& in : inputs) in.type = INPUT_MOUSE;
  inputs[0].mi.dwFlags = down;
  inputs[1].mi.dwFlags = down << 1;  // the button's UP flag
  return Send(std::move(inputs), "the click", {{0, false, message, at}, {0, false, message + 1, at}});
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
    return Sent(ClassOf(control) + " \"" + WindowText(control) + "\" cannot take a click: visible " +
                std::to_string(IsWindowVisible(control)) + ", enabled " + std::to_string(IsWindowEnabled(control)) +
                ", under the pointer " + ClassOf(WindowFromPoint(middle)));
  if (testing::AssertionResult moved = MovePointer(middle); !moved) return Sent(moved.message());
  return Click(1);
}

bool TakesKeys(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  return GetForegroundWindow() == GetAncestor(window, GA_ROOT) &&
         GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) &&
         (info.hwndFocus == window || IsChild(window, info.hwndFocus));
}

}  // namespace testing_support
