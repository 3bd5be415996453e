// Window thunk and class registration.
#include "ui/Window.h"

#include "ui/Application.h"
#include "ui/Error.h"

namespace ui {

std::string OSErrorText(DWORD code) {
  char text[512] = {};
  const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                      code, 0, text, sizeof text, nullptr);
  std::string message(text, length);
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == ' '))
    message.pop_back();
  return message.empty() ? "System error " + std::to_string(code) : message;
}

std::wstring Wide(std::string_view utf8) {
  const int size = static_cast<int>(utf8.size());
  std::wstring wide(size ? MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0) : 0, L'\0');
  if (!wide.empty()) MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), static_cast<int>(wide.size()));
  return wide;
}
void RaiseLastOSError() { throw Error(OSErrorText(GetLastError())); }

// A class given no small icon gets a copy of the large one scaled down,
// about 3 ms per class under Wine: every class shares these two.
HICON ProgramIcon(int size) {
  return static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), "MAINICON", IMAGE_ICON, size, size, LR_SHARED));
}

namespace {
// Looked up once: each lookup of a shared image or cursor is a round trip
// to the display driver under Wine, three per class for seven classes.
struct ClassImages {
  HCURSOR cursor = LoadCursorA(nullptr, IDC_ARROW);
  HICON icon = ProgramIcon(GetSystemMetrics(SM_CXICON));
  HICON small = ProgramIcon(GetSystemMetrics(SM_CXSMICON));
};
}  // namespace

Window::~Window() { DestroyHandle(); }

HWND Window::CreateHandle(const char* className, const char* text, DWORD exStyle, DWORD style, int x,
                          int y, int width, int height, HWND parent, HBRUSH background) {
  const HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  if (!GetClassInfoExA(instance, className, &wc)) {
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = &Window::Thunk;
    wc.hInstance = instance;
    static const ClassImages images;
    wc.hCursor = images.cursor;
    wc.hIcon = images.icon;
    wc.hIconSm = images.small;
    wc.hbrBackground = background;
    wc.lpszClassName = className;
    RegisterClassExA(&wc);
  }
  if (!CreateWindowExA(exStyle, className, text, style, x, y, width, height, parent, nullptr, instance,
                       this))
    RaiseLastOSError();
  return handle_;
}

void Window::DestroyHandle() {
  if (handle_) DestroyWindow(handle_);
}

LRESULT Window::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(handle_, msg, wParam, lParam);
}

LRESULT CALLBACK Window::Thunk(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    auto* self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    self->handle_ = hwnd;
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<Window*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcA(hwnd, msg, wParam, lParam);
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    self->handle_ = nullptr;
    return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
  return Guarded(LRESULT{0}, [&] { return self->WndProc(msg, wParam, lParam); });
}

}  // namespace ui
