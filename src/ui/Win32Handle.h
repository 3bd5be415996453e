// Owners of the Win32 handles Dormix holds.
#pragma once
#include <windows.h>

#include "ui/Handle.h"

namespace ui {

using unique_handle = UniqueHandle<HANDLE, &::CloseHandle>;
using unique_hwnd = UniqueHandle<HWND, &::DestroyWindow>;
using unique_hmenu = UniqueHandle<HMENU, &::DestroyMenu>;
using unique_hicon = UniqueHandle<HICON, &::DestroyIcon>;
using unique_hgdiobj = UniqueHandle<HGDIOBJ, &::DeleteObject>;
using unique_hfont = UniqueHandle<HFONT, &::DeleteObject>;
using unique_hbrush = UniqueHandle<HBRUSH, &::DeleteObject>;
using unique_hbitmap = UniqueHandle<HBITMAP, &::DeleteObject>;
using unique_atom = UniqueHandle<ATOM, &::GlobalDeleteAtom>;
using unique_hdc = UniqueHandle<HDC, &::DeleteDC>;
using unique_hkey = UniqueHandle<HKEY, &::RegCloseKey>;

// Owns a handle whose failure value is INVALID_HANDLE_VALUE (files, snapshots).
inline unique_handle Owned(HANDLE handle) { return unique_handle(handle == INVALID_HANDLE_VALUE ? nullptr : handle); }

// A window's device context from GetDC (the screen's for no window),
// released at the end of the scope.
class WindowDC {
 public:
  explicit WindowDC(HWND window) : window_(window), dc_(GetDC(window)) {}
  ~WindowDC() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  WindowDC(const WindowDC&) = delete;
  WindowDC& operator=(const WindowDC&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// Keeps a GDI object selected into a DC for a scope.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
  ~SelectedObject() { SelectObject(dc_, old_); }
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

}  // namespace ui
