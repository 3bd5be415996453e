// The program's font cache.
#include "ui/Font.h"

#include <cstring>
#include <utility>
#include <vector>

#include "ui/Scale.h"
#include "ui/Win32Handle.h"

namespace ui {

namespace {
int CALLBACK FaceFound(const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM present) {
  *reinterpret_cast<bool*>(present) = true;
  return 0;
}

bool Installed(const std::string& face) {
  const WindowDC screen(nullptr);
  LOGFONTA lf{};
  lf.lfCharSet = DEFAULT_CHARSET;
  std::strncpy(lf.lfFaceName, face.c_str(), LF_FACESIZE - 1);
  bool present = false;
  EnumFontFamiliesExA(screen.get(), &lf, &FaceFound, reinterpret_cast<LPARAM>(&present), 0);
  return present;
}
}  // namespace

HFONT FontHandle(const TFont& design, int dpi) {
  static std::vector<std::pair<TFont, unique_hfont>> cache;
  TFont font = design;
  font.height = Scaled(design.height, dpi);
  for (auto& [f, handle] : cache)
    if (f.name == font.name && f.fallback == font.fallback && f.height == font.height && f.style == font.style)
      return handle.get();
  LOGFONTA lf{};
  lf.lfHeight = font.height;
  lf.lfWeight = font.style & fsBold ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = (font.style & fsItalic) != 0;
  lf.lfUnderline = (font.style & fsUnderline) != 0;
  lf.lfStrikeOut = (font.style & fsStrikeOut) != 0;
  lf.lfCharSet = DEFAULT_CHARSET;
  const std::string& face = font.fallback.empty() || Installed(font.name) ? font.name : font.fallback;
  std::strncpy(lf.lfFaceName, face.c_str(), LF_FACESIZE - 1);
  cache.emplace_back(font, unique_hfont(CreateFontIndirectA(&lf)));
  return cache.back().second.get();
}

}  // namespace ui
