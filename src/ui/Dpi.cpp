// Display scale: the dpi functions of newer Windows, or the screen's.
#include "ui/Dpi.h"

#include "ui/Library.h"
#include "ui/Win32Handle.h"

namespace ui {

namespace {

int ScreenDpi() {
  const WindowDC screen(nullptr);
  return GetDeviceCaps(screen.get(), LOGPIXELSY);
}

int Plausible(int dpi) { return dpi >= 48 && dpi <= 960 ? dpi : 0; }

}  // namespace

int SystemDpi() {
  static const int dpi = [] {
    static const auto forSystem = LibraryFunction<UINT(WINAPI*)()>("user32.dll", "GetDpiForSystem");
    const int asked = forSystem ? Plausible(static_cast<int>(forSystem())) : 0;
    const int screen = asked ? asked : Plausible(ScreenDpi());
    return screen ? screen : kDesignDpi;
  }();
  return dpi;
}

int WindowDpi(HWND window) {
  static const auto forWindow = LibraryFunction<UINT(WINAPI*)(HWND)>("user32.dll", "GetDpiForWindow");
  const int asked = forWindow && window ? Plausible(static_cast<int>(forWindow(window))) : 0;
  return asked ? asked : SystemDpi();
}

int PointDpi(POINT at) {
  using ForMonitor = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
  static const auto forMonitor = LibraryFunction<ForMonitor>("shcore.dll", "GetDpiForMonitor");
  UINT x = 0, y = 0;
  if (forMonitor && SUCCEEDED(forMonitor(MonitorFromPoint(at, MONITOR_DEFAULTTONEAREST), 0, &x, &y)))
    if (const int dpi = Plausible(static_cast<int>(y))) return dpi;
  return SystemDpi();
}

RECT WindowRectForClient(int width, int height, DWORD style, DWORD exStyle, int dpi) {
  using Adjust = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
  static const auto forDpi = LibraryFunction<Adjust>("user32.dll", "AdjustWindowRectExForDpi");
  RECT r{0, 0, width, height};
  if (!forDpi || !forDpi(&r, style, FALSE, exStyle, dpi)) AdjustWindowRectEx(&r, style, FALSE, exStyle);
  return r;
}

bool SuggestedRect(LPARAM lParam, RECT& rect) {
  MEMORY_BASIC_INFORMATION memory{};
  const auto* at = reinterpret_cast<const BYTE*>(lParam);
  if (!at || !VirtualQuery(at, &memory, sizeof memory) || memory.State != MEM_COMMIT ||
      !(memory.Protect & (PAGE_READONLY | PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READ |
                          PAGE_EXECUTE_READWRITE)) ||
      (memory.Protect & PAGE_GUARD) ||
      at + sizeof rect > static_cast<const BYTE*>(memory.BaseAddress) + memory.RegionSize)
    return false;
  rect = *reinterpret_cast<const RECT*>(at);
  const LONG width = rect.right - rect.left, height = rect.bottom - rect.top;
  return width > 0 && height > 0 && width < 0x8000 && height < 0x8000 && rect.left > -0x8000 &&
         rect.left < 0x8000 && rect.top > -0x8000 && rect.top < 0x8000;
}

namespace {
bool AskHighContrast() {
  HIGHCONTRASTA contrast{};
  contrast.cbSize = sizeof contrast;
  return SystemParametersInfoA(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
         (contrast.dwFlags & HCF_HIGHCONTRASTON);
}
bool& HighContrastRead() {
  static bool on = AskHighContrast();
  return on;
}
}  // namespace

bool HighContrast() { return HighContrastRead(); }

void ReadHighContrast() { HighContrastRead() = AskHighContrast(); }

}  // namespace ui
