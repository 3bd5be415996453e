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
using unique_hkey = UniqueHandle<HKEY, &::RegCloseKey>;

}  // namespace ui
