// The one window-procedure thunk of the toolkit: the object pointer travels in
// lpCreateParams, is kept in GWLP_USERDATA and cleared on WM_NCDESTROY; every
// message goes to the object's WndProc. No C++ exception leaves the thunk: an
// error goes to the application's error handler and the message answers 0
// (not the default processing, which for WM_CLOSE would destroy the window).
#pragma once
#include <windows.h>

#include <string>
#include <string_view>

namespace ui {

// A UTF-8 text for the wide ("W") functions, which draw and pass on every
// character whatever the code pages.
std::wstring Wide(std::string_view utf8);

// Raises ui::Error with the system's text for GetLastError().
[[noreturn]] void RaiseLastOSError();
// The system's text for an error code, without its line end.
std::string OSErrorText(DWORD code);

// The program's icon at a size, loaded once and shared: never destroy it.
HICON ProgramIcon(int size);

class Window {
 public:
  Window() = default;
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  virtual ~Window();

  HWND Handle() const { return handle_; }

 protected:
  // Registers the class on first use (one class per name, sharing the thunk).
  // A window that cannot be created raises an error. The text goes in with
  // the creation: set afterwards, it would update a top-level window twice.
  HWND CreateHandle(const char* className, const char* text, DWORD exStyle, DWORD style, int x, int y,
                    int width, int height, HWND parent, HBRUSH background = nullptr);
  void DestroyHandle();
  virtual LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam);

 private:
  static LRESULT CALLBACK Thunk(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  HWND handle_ = nullptr;
};

}  // namespace ui
