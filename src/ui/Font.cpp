// The program's font cache.
#include "ui/Font.h"

#include <cstring>
#include <utility>
#include <vector>

#include "ui/Win32Handle.h"

namespace ui {

HFONT FontHandle(const TFont& font) {
  static std::vector<std::pair<TFont, unique_hfont>> cache;
  for (auto& [f, handle] : cache)
    if (f.name == font.name && f.height == font.height && f.style == font.style) return handle.get();
  LOGFONTA lf{};
  lf.lfHeight = font.height;
  lf.lfWeight = font.style & fsBold ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = (font.style & fsItalic) != 0;
  lf.lfUnderline = (font.style & fsUnderline) != 0;
  lf.lfStrikeOut = (font.style & fsStrikeOut) != 0;
  lf.lfCharSet = DEFAULT_CHARSET;
  std::strncpy(lf.lfFaceName, font.name.c_str(), LF_FACESIZE - 1);
  cache.emplace_back(font, unique_hfont(CreateFontIndirectA(&lf)));
  return cache.back().second.get();
}

namespace {
int CALLBACK FaceFound(const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM present) {
  *reinterpret_cast<bool*>(present) = true;
  return 0;
}
}  // namespace

std::string InstalledFace(std::initializer_list<const char*> faces) {
  const WindowDC screen(nullptr);
  std::string found;
  for (const char* face : faces) {
    LOGFONTA lf{};
    lf.lfCharSet = DEFAULT_CHARSET;
    std::strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
    bool present = false;
    EnumFontFamiliesExA(screen.get(), &lf, &FaceFound, reinterpret_cast<LPARAM>(&present), 0);
    found = face;
    if (present) break;
  }
  return found;
}

}  // namespace ui
