// Driving dormix.exe from outside.
#include "support/Dormix.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <cstdlib>
#include <memory>

#include "protection/PasswordScrambler.h"
#include "support/Input.h"
#include "support/Pump.h"

namespace testing_support {

std::string WindowsPath(const std::string& unixPath) {
  std::string path = "Z:" + unixPath;
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

std::string DormixExe() {
  const char* exe = std::getenv("DORMIX_EXE");
  return exe ? WindowsPath(exe) : std::string();
}

std::string SuiteDir() {
  const char* shots = std::getenv("DORMIX_SHOTS");
  std::string dir = shots ? WindowsPath(shots) : std::string(".");
  return dir.substr(0, dir.find_last_of('\\'));
}

std::string SuiteFile(const char* name, const std::string& content) {
  const std::string path = SuiteDir() + "\\" + name;
  if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
    std::fwrite(content.data(), 1, content.size(), f);
    std::fclose(f);
  }
  return path;
}

Process::Process(const std::string& exe, const std::string& arguments, Start start, const std::string& output) {
  STARTUPINFOA si{};
  si.cb = sizeof si;
  SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
  // A file that cannot be made reaches the process as an invalid handle.
  const ui::unique_handle file(output.empty() ? nullptr
                                              : CreateFileA(output.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherited,
                                                            CREATE_ALWAYS, 0, nullptr));
  si.dwFlags = file ? STARTF_USESTDHANDLES : 0;
  si.hStdOutput = si.hStdError = file.get();
  PROCESS_INFORMATION pi{};
  std::string commandLine = "\"" + exe + "\"" + (arguments.empty() ? "" : " " + arguments);
  HANDLE token = nullptr, self = nullptr;
  TOKEN_LINKED_TOKEN linked{};
  DWORD size = 0;
  if (start == Start::kLimited && OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &self) &&
      GetTokenInformation(self, TokenLinkedToken, &linked, sizeof linked, &size))
    token = linked.LinkedToken;
  const ui::unique_handle selfToken(self), limited(token);
  if (start == Start::kLimited && !token) return;
  // No token: this process's own, as CreateProcessA gives.
  if (CreateProcessAsUserA(token, exe.c_str(), commandLine.data(), nullptr, nullptr, file ? TRUE : FALSE,
                           start == Start::kSuspended ? CREATE_SUSPENDED : 0, nullptr, nullptr, &si, &pi)) {
    thread_.reset(pi.hThread);
    process_.reset(pi.hProcess);
    id_ = pi.dwProcessId;
  }
}

Process::Process(DWORD id) : process_(OpenProcess(PROCESS_ALL_ACCESS, FALSE, id)), id_(id) {}

Process::~Process() {
  if (Running()) {
    TerminateProcess(process_.get(), 1);
    WaitForSingleObject(process_.get(), 5000);
  }
}

bool Process::Running() const {
  return process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT;
}

void Process::Resume() { ResumeThread(thread_.get()); }

std::optional<DWORD> Process::WaitExit(DWORD timeoutMs) {
  if (!process_ || !PumpUntil([this] { return !Running(); }, timeoutMs)) return std::nullopt;
  DWORD code = 0;
  GetExitCodeProcess(process_.get(), &code);
  return code;
}

namespace {
struct WindowSearch {
  DWORD pid;
  bool visibleOnly;
  std::vector<HWND> found;
};
BOOL CALLBACK CollectWindow(HWND w, LPARAM p) {
  auto* s = reinterpret_cast<WindowSearch*>(p);
  DWORD owner = 0;
  GetWindowThreadProcessId(w, &owner);
  if (owner == s->pid && (!s->visibleOnly || IsWindowVisible(w))) s->found.push_back(w);
  return TRUE;
}
}  // namespace

std::vector<HWND> WindowsOf(DWORD pid, bool visibleOnly) {
  WindowSearch search{pid, visibleOnly, {}};
  EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND WaitForWindow(DWORD pid, const char* className, DWORD timeoutMs) {
  HWND found = nullptr;
  PumpUntil(
      [&] {
        for (HWND w : WindowsOf(pid, false))
          if (ClassOf(w) == className) found = w;
        return found != nullptr;
      },
      timeoutMs);
  return found;
}

namespace {
struct ControlSearch {
  const char* className;
  std::vector<HWND> found;
};
BOOL CALLBACK CollectControl(HWND w, LPARAM p) {
  auto* s = reinterpret_cast<ControlSearch*>(p);
  if (ClassOf(w) == s->className) s->found.push_back(w);
  return TRUE;
}
}  // namespace

std::vector<HWND> ControlsOf(HWND top, const char* className) {
  ControlSearch search{className, {}};
  EnumChildWindows(top, &CollectControl, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND FindControl(HWND top, const char* className, const std::string& text) {
  for (HWND w : ControlsOf(top, className))
    if (WindowText(w) == text) return w;
  return nullptr;
}

HWND ControlAfter(HWND form, const char* label) {
  const HWND found = FindControl(form, "Static", label);
  return found ? GetWindow(found, GW_HWNDNEXT) : nullptr;
}

namespace {
BOOL CALLBACK FindUnpainted(HWND w, LPARAM unpainted) {
  if (!IsWindowVisible(w) || !GetUpdateRect(w, nullptr, FALSE)) return TRUE;
  *reinterpret_cast<bool*>(unpainted) = true;
  return FALSE;
}
}  // namespace

bool Painted(HWND window) {
  bool unpainted = false;
  if (FindUnpainted(window, reinterpret_cast<LPARAM>(&unpainted)))
    EnumChildWindows(window, &FindUnpainted, reinterpret_cast<LPARAM>(&unpainted));
  return !unpainted;
}

bool WaitSettled(Process& dormix) {
  return WaitForWindow(dormix.Id(), "TForm2") && WaitForInputIdle(dormix.Handle(), 20000) == 0;
}

namespace {
// Once the menu's program has the keyboard, as a menu opened by a click in
// another program's taskbar gets it only then.
testing::AssertionResult MenuTakesKeys(HWND menu) {
  DWORD owner = 0, foreground = 0;
  GetWindowThreadProcessId(menu, &owner);
  if (PumpUntil([&] { return GetWindowThreadProcessId(GetForegroundWindow(), &foreground) && foreground == owner; }))
    return testing::AssertionSuccess();
  return testing::AssertionFailure() << "the menu's program never had the keyboard";
}
}  // namespace

testing::AssertionResult ChooseFromTrayMenu(MenuCommand command, bool countdownPending) {
  static const MenuCommand kVisible[] = {kCancelCountdown, kPostponeCountdown, kMain, kClockSwitch, kExit,
                                         kAbout, kShutDown, kLogOff, kHibernate, kStandBy, kRestart,
                                         kShutDownMonitor, kScreenSaver, kProtectionPanel};
  const MenuCommand* first = countdownPending ? kVisible : kVisible + 2;
  const MenuCommand* at = std::find(first, std::end(kVisible), command);
  if (at == std::end(kVisible)) return testing::AssertionFailure() << "no item " << command << " shown";
  const HWND menu = OpenTrayMenu();
  if (!menu) return testing::AssertionFailure() << "no menu";
  if (auto keys = MenuTakesKeys(menu); !keys) return keys;
  for (auto downs = at - first + 1; downs > 0; --downs) PressKey(VK_DOWN);
  const Sent enter = PressKey(VK_RETURN);
  if (Hidden(menu)) return testing::AssertionSuccess();
  return testing::AssertionFailure() << "the menu stayed " << enter;
}

bool ExitThroughMenu(Process& dormix) {
  EXPECT_TRUE(ChooseFromTrayMenu(kExit));
  return dormix.WaitExit() == 0 && PumpUntil([] { return !TrayIconShown(); });
}

std::string WindowText(HWND w) {
  char text[512] = {};
  GetWindowTextA(w, text, sizeof text);
  return text;
}

std::string ClassOf(HWND w) {
  char name[256] = {};
  GetClassNameA(w, name, sizeof name);
  return name;
}

void WithOptions(Process& dormix, const std::function<void(HWND options)>& edit) {
  EXPECT_TRUE(ChooseFromTrayMenu(kMain));
  const HWND options = WaitForWindow(dormix.Id(), "TForm1");
  if (!PumpUntil([&] { return IsWindowVisible(options) != FALSE; })) {
    ADD_FAILURE() << "the options window never showed";
    return;
  }
  edit(options);
  PostMessageA(FindControl(options, "Button", "Ok"), BM_CLICK, 0, 0);
  PumpUntil([&] { return !IsWindowVisible(options); });
}

std::string MinuteWithRoom() {
  PumpUntil([] {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return now.wSecond < 40;
  }, 30000);
  return Now();
}

// The time field is a masked edit: it takes the digits as typed, over its
// whole text selected.
void TypeClockTime(HWND options, const std::string& time) {
  const HWND field = ControlAfter(options, "Op. Time:");
  SendMessageA(field, EM_SETSEL, 0, -1);
  for (const char c : time)
    if (c != ':') SendMessageA(field, WM_CHAR, static_cast<BYTE>(c), 0);
}

std::string ArmClockForThisMinute(Process& dormix) {
  const std::string time = MinuteWithRoom();
  WithOptions(dormix, [&](HWND options) { TypeClockTime(options, time); });
  EXPECT_TRUE(ChooseFromTrayMenu(kClockSwitch));
  return time;
}

int TaskbarButtons() {
  // The suite's desktop, and its taskbar with it, comes up when a process
  // first asks for the desktop window. The taskbar's first child is the
  // Start button, shown only once some window has been.
  GetDesktopWindow();
  HWND tray = nullptr;
  if (!PumpUntil([&] { return (tray = FindWindowA("Shell_TrayWnd", nullptr)) != nullptr; })) return -1;
  int count = 0;
  for (HWND child = GetWindow(GetWindow(tray, GW_CHILD), GW_HWNDNEXT); child;
       child = GetWindow(child, GW_HWNDNEXT))
    if (IsWindowVisible(child) && ClassOf(child) == "Button") ++count;
  return count;
}

void XDoTool(const std::string& arguments) {
  std::string commandLine = "Z:\\usr\\bin\\xdotool " + arguments;
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
  }
}

void AwaitForcedSessionEnd() {
  std::printf("session end requested\n");
  std::fflush(stdout);
  PumpUntil([] { return false; }, 30000);
}

std::string TrayIconPixels() {
  const ui::WindowDC screen(nullptr);
  std::string pixels;
  for (int y = kFirstTrayIcon.y - 6; y <= kFirstTrayIcon.y + 6; ++y)
    for (int x = kFirstTrayIcon.x - 6; x <= kFirstTrayIcon.x + 6; ++x)
      pixels += std::to_string(GetPixel(screen.get(), x, y)) + " ";
  return pixels;
}

bool TrayIconShown() { return TrayIconAt(kFirstTrayIcon); }

bool TrayIconAt(POINT at) {
  const ui::WindowDC screen(nullptr);
  const COLORREF first = GetPixel(screen.get(), at.x - 6, at.y - 6);
  for (int y = at.y - 6; y <= at.y + 6; ++y)
    for (int x = at.x - 6; x <= at.x + 6; ++x)
      if (GetPixel(screen.get(), x, y) != first) return true;
  return false;
}

std::string TrayTip() {
  DWORD shell = 0;
  GetWindowThreadProcessId(FindWindowA("Shell_TrayWnd", nullptr), &shell);
  const ui::unique_handle process(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, shell));
  // A tooltip takes records by address in its own process: a page of the shell's.
  static char* const page =
      static_cast<char*>(VirtualAllocEx(process.get(), nullptr, 4096, MEM_COMMIT, PAGE_READWRITE));
  for (HWND tip = FindWindowA("tooltips_class32", nullptr); tip;
       tip = FindWindowExA(nullptr, tip, "tooltips_class32", nullptr)) {
    DWORD owner = 0;
    GetWindowThreadProcessId(tip, &owner);
    TTTOOLINFOA tool{};
    tool.cbSize = sizeof tool;
    if (owner != shell || !WriteProcessMemory(process.get(), page, &tool, sizeof tool, nullptr) ||
        !SendMessageA(tip, TTM_ENUMTOOLSA, 0, reinterpret_cast<LPARAM>(page)) ||
        !ReadProcessMemory(process.get(), page, &tool, sizeof tool, nullptr))
      continue;
    POINT icon = kFirstTrayIcon;
    ScreenToClient(tool.hwnd, &icon);
    if (!PtInRect(&tool.rect, icon)) continue;
    tool.lpszText = page + sizeof tool;
    char text[128] = {};
    WriteProcessMemory(process.get(), page, &tool, sizeof tool, nullptr);
    SendMessageA(tip, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(page));
    ReadProcessMemory(process.get(), tool.lpszText, text, sizeof text - 1, nullptr);
    return text;
  }
  return "<no tip>";
}

testing::AssertionResult TrayTipReads(const std::string& expected, DWORD timeoutMs) {
  if (PumpUntil([&] { return TrayTip() == expected; }, timeoutMs)) return testing::AssertionSuccess();
  return testing::AssertionFailure() << "the tip reads \"" << TrayTip() << "\", not \"" << expected << "\"";
}

std::string ShownTrayTip(const std::string& expected) {
  if (!TrayTipReads(expected)) return "<the shell holds " + TrayTip() + ">";
  if (!MovePointer({0, 0}) || !MovePointer(kFirstTrayIcon)) return "<the pointer did not arrive>";
  std::string text = "<no tip shown>";
  PumpUntil([&] {
    for (HWND tip = FindWindowA("tooltips_class32", nullptr); tip;
         tip = FindWindowExA(nullptr, tip, "tooltips_class32", nullptr))
      if (IsWindowVisible(tip)) text = ShownText(tip);
    return text == expected;
  });
  return text;
}

HWND OpenTrayMenu() {
  HWND menu = nullptr;
  EXPECT_TRUE(PumpUntil(TrayIconShown)) << "no tray icon to click";
  EXPECT_TRUE(MovePointer(kFirstTrayIcon));
  const Sent click = MouseClick(3);
  EXPECT_TRUE(PumpUntil([&] { return (menu = FindWindowA("#32768", nullptr)) && IsWindowVisible(menu); }))
      << "no menu " << click;
  return menu && IsWindowVisible(menu) ? menu : nullptr;
}

testing::AssertionResult CloseWithEsc(HWND menu) {
  if (auto keys = MenuTakesKeys(menu); !keys) return keys;
  const Sent esc = PressKey(VK_ESCAPE);
  if (Hidden(menu)) return testing::AssertionSuccess();
  return testing::AssertionFailure() << "the menu stayed " << esc;
}

std::optional<app::RegistryValue> Stored(const std::string& key, const char* name, app::RegistryKey& root) {
  const std::unique_ptr<app::RegistryKey> open = root.Open(key, false);
  return open ? open->Read(name) : std::nullopt;
}

std::string StoredText(const std::string& key, const char* name, app::RegistryKey& root) {
  const std::optional<app::RegistryValue> value = Stored(key, name, root);
  if (!value) return "<missing>";
  if (value->type != REG_SZ) return "<type " + std::to_string(value->type) + ">";
  return value->data.substr(0, value->data.find('\0'));
}

std::optional<DWORD> StoredDword(const std::string& key, const char* name) {
  const std::optional<app::RegistryValue> value = Stored(key, name);
  if (!value || value->type != REG_DWORD || value->data.size() != sizeof(DWORD)) return std::nullopt;
  DWORD data;
  value->data.copy(reinterpret_cast<char*>(&data), sizeof data);
  return data;
}

void Store(const std::string& section, const char* name, const std::string& text) {
  app::LocalMachine().Open(app::kSettingsKey + "\\" + section, true)->WriteString(name, text);
}

std::string StoredPassword() {
  const std::string text = StoredText(app::kSettingsKey + "\\Operation", "Password");
  if (text.empty() || text[0] == '<') return text;
  try {
    return protection::ScramblePassword("D", text, protection::ScrambleKey);
  } catch (const std::exception& e) {
    return std::string("<") + e.what() + ">";
  }
}

std::vector<std::string> StoredValues() {
  std::vector<std::string> values{StoredText(app::kRunKey, app::kRunValue.c_str())};
  for (const char* section : {"", "\\Window", "\\Application", "\\Operation", "\\Shortcuts"}) {
    HKEY opened = nullptr;
    RegOpenKeyExA(HKEY_LOCAL_MACHINE, (app::kSettingsKey + section).c_str(), 0, KEY_READ, &opened);
    const ui::unique_hkey key(opened);
    char name[256];
    BYTE data[1024];
    for (DWORD i = 0, nameSize = sizeof name, dataSize = sizeof data, type = 0;
         RegEnumValueA(key.get(), i, name, &nameSize, nullptr, &type, data, &dataSize) == ERROR_SUCCESS;
         ++i, nameSize = sizeof name, dataSize = sizeof data)
      values.push_back(section + ("\\" + std::string(name)) + "=" + std::to_string(type) + ":" +
                       std::string(reinterpret_cast<char*>(data), dataSize));
  }
  return values;
}

// "RIFF", its size, "WAVE", "fmt " of 16 bytes: PCM, mono, 8000 Hz, 8000
// bytes a second, one-byte 8-bit samples; "data" and its size.
std::string SilenceWav(int milliseconds) {
  const DWORD samples = 8 * milliseconds, header[] = {0x46464952, 36 + samples, 0x45564157, 0x20746D66, 16,
                                                       0x00010001, 8000, 8000, 0x00080001, 0x61746164, samples};
  return std::string(reinterpret_cast<const char*>(header), sizeof header) + std::string(samples, '\x80');
}

std::string ShownText(HWND w) {
  char text[256] = {};
  DWORD_PTR length = 0;
  SendMessageTimeoutA(w, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 5000, &length);
  return text;
}

HWND Shown(Process& dormix, const char* className) {
  const HWND window = WaitForWindow(dormix.Id(), className);
  return PumpUntil([&] { return IsWindowVisible(window) != FALSE; }) ? window : nullptr;
}

bool Hidden(HWND window) {
  return PumpUntil([&] { return !IsWindowVisible(window); });
}

// Wine puts what a thread has painted on the screen when the thread waits
// for messages: the second of two round trips is answered only after such a
// wait.
void ShotOf(HWND window, const std::string& name) {
  PumpUntil([&] { return Painted(window); });
  for (int trip = 0; trip < 2; ++trip) {
    DWORD_PTR answer = 0;
    SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &answer);
  }
  Screenshot(name);
}

std::string AnswerMessageBox(Process& dormix, const std::string& shot, DWORD timeoutMs) {
  const HWND box = WaitForWindow(dormix.Id(), "#32770", timeoutMs);
  if (!box) return "";
  // The box exists before its text and buttons do, and shows them after.
  HWND ok = nullptr;
  PumpUntil([&] { return (ok = FindControl(box, "Button", "OK")) && IsWindowVisible(ok) && Painted(box); });
  ShotOf(box, shot);
  std::string text;
  for (HWND line : ControlsOf(box, "Static")) text += WindowText(line);
  SendMessageA(ok, BM_CLICK, 0, 0);
  return text;
}

std::string TimeText(int minuteOfDay) {
  char text[6];
  std::snprintf(text, sizeof text, "%02d:%02d", minuteOfDay / 60 % 24, minuteOfDay % 60);
  return text;
}

std::string Now() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return TimeText(now.wHour * 60 + now.wMinute);
}

SessionProbe::SessionProbe(bool refuse) {
  refuse_ = refuse;
  queried_ = ended_ = endedTrue_ = false;
  WNDCLASSA wc{};
  wc.lpfnWndProc = &Proc;
  wc.lpszClassName = "SessionProbe";
  RegisterClassA(&wc);
  window_.reset(CreateWindowExA(0, "SessionProbe", "probe", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                nullptr, nullptr));
}

LRESULT CALLBACK SessionProbe::Proc(HWND w, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_QUERYENDSESSION) {
    queried_ = true;
    return refuse_ ? FALSE : TRUE;
  }
  if (msg == WM_ENDSESSION) {
    ended_ = true;
    endedTrue_ = wParam != FALSE;
    return 0;
  }
  return DefWindowProcA(w, msg, wParam, lParam);
}

void Screenshot(const std::string& name) {
  // Wine copies what this thread has painted to the X screen only when the
  // thread waits for messages: a wait that returns at once puts it there.
  MsgWaitForMultipleObjects(0, nullptr, FALSE, 0, QS_ALLINPUT);
  const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  void* bits = nullptr;
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  const ui::WindowDC screen(nullptr);
  const ui::unique_hbitmap bitmap(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  {
    const ui::unique_hdc memory(CreateCompatibleDC(screen.get()));
    ui::SelectedObject selected(memory.get(), bitmap.get());
    BitBlt(memory.get(), 0, 0, width, height, screen.get(), 0, 0, SRCCOPY);
  }

  const DWORD rowBytes = (width * 3 + 3) & ~3u, imageBytes = rowBytes * height;
  BITMAPFILEHEADER file{0x4D42, sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) + imageBytes, 0, 0,
                        sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)};
  const char* shots = std::getenv("DORMIX_SHOTS");
  const std::string path = (shots ? WindowsPath(shots) : std::string(".")) + "\\" + name + ".bmp";
  if (FILE* f = std::fopen(path.c_str(), "wb")) {
    std::fwrite(&file, sizeof file, 1, f);
    std::fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, f);
    std::fwrite(bits, imageBytes, 1, f);
    std::fclose(f);
  }
}

}  // namespace testing_support
