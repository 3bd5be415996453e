// Pictures are stored as the DIB's length followed by the DIB packed in
// LZNT1, which ntdll unpacks: the artwork takes a quarter of its plain size
// in dormix.exe, and no unpacker of our own ships with it.
#include "ui/Picture.h"

#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

#include "ui/Library.h"

namespace ui {

namespace {

using Unpack = LONG(NTAPI*)(USHORT format, PUCHAR out, ULONG outSize, PUCHAR in, ULONG inSize, PULONG unpacked);

// The packed bytes of a resource; empty when it is missing.
std::pair<const BYTE*, DWORD> ResourceBytes(int resourceId) {
  const HMODULE module = GetModuleHandleA(nullptr);
  const HRSRC info = FindResourceA(module, MAKEINTRESOURCEA(resourceId), RT_RCDATA);
  const HGLOBAL loaded = info ? LoadResource(module, info) : nullptr;
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  return {static_cast<const BYTE*>(bytes), bytes ? SizeofResource(module, info) : 0};
}

// Where the pixels of an uncompressed DIB lie; none when its header does
// not describe pixels that fit in the DIB's `size` bytes.
struct PixelSpan {
  std::size_t offset = 0, bytes = 0;
};
PixelSpan PixelsOf(const BITMAPINFOHEADER& h, std::size_t size) {
  if (h.biSize < sizeof h || h.biSize > size || h.biCompression != BI_RGB || h.biWidth <= 0 ||
      h.biHeight == 0 || h.biWidth > 0x4000 || std::abs(h.biHeight) > 0x4000)
    return {};
  const int bits = h.biBitCount;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) return {};
  const std::size_t colors = h.biClrUsed ? h.biClrUsed : bits <= 8 ? 1u << bits : 0;
  const std::size_t stride = (static_cast<std::size_t>(h.biWidth) * bits + 31) / 32 * 4;
  const PixelSpan pixels{h.biSize + colors * sizeof(RGBQUAD), stride * std::abs(h.biHeight)};
  return colors <= 256 && pixels.offset + pixels.bytes <= size ? pixels : PixelSpan{};
}

}  // namespace

unique_hbitmap LoadPicture(int resourceId) {
  static const Unpack unpack = LibraryFunction<Unpack>("ntdll.dll", "RtlDecompressBuffer");
  const auto [packed, packedSize] = ResourceBytes(resourceId);
  DWORD size = 0;
  if (!unpack || packedSize < sizeof size) return {};
  std::memcpy(&size, packed, sizeof size);
  if (size < sizeof(BITMAPINFOHEADER) || size > 0x1000000) return {};
  std::vector<BYTE> dib(size);
  ULONG unpacked = 0;
  if (unpack(COMPRESSION_FORMAT_LZNT1, dib.data(), size, const_cast<BYTE*>(packed + sizeof size),
             packedSize - sizeof size, &unpacked) < 0 ||
      unpacked != size)
    return {};
  const auto* info = reinterpret_cast<const BITMAPINFO*>(dib.data());
  const PixelSpan pixels = PixelsOf(info->bmiHeader, size);
  if (!pixels.bytes) return {};
  void* bits = nullptr;
  unique_hbitmap picture(CreateDIBSection(nullptr, info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (picture) std::memcpy(bits, dib.data() + pixels.offset, pixels.bytes);
  return picture;
}

namespace {
BITMAPINFO TopDown32(int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}
}  // namespace

Pixels BitmapPixels(HBITMAP bitmap) {
  BITMAP bm{};
  if (!bitmap || !GetObjectA(bitmap, sizeof bm, &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0) return {};
  Pixels pixels{bm.bmWidth, bm.bmHeight, std::vector<std::uint32_t>(static_cast<std::size_t>(bm.bmWidth) * bm.bmHeight)};
  BITMAPINFO info = TopDown32(bm.bmWidth, bm.bmHeight);
  const WindowDC screen(nullptr);
  if (!GetDIBits(screen.get(), bitmap, 0, bm.bmHeight, pixels.bgra.data(), &info, DIB_RGB_COLORS)) return {};
  // GDI leaves the alpha byte of what it draws at 0: every pixel is opaque.
  for (std::uint32_t& pixel : pixels.bgra) pixel |= 0xFF000000u;
  return pixels;
}

unique_hbitmap PixelsBitmap(const Pixels& pixels) {
  if (pixels.width <= 0 || pixels.height <= 0) return {};
  BITMAPINFO info = TopDown32(pixels.width, pixels.height);
  void* bits = nullptr;
  unique_hbitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (bitmap) std::memcpy(bits, pixels.bgra.data(), pixels.bgra.size() * sizeof pixels.bgra[0]);
  return bitmap;
}

unique_hbitmap ScaledPicture(HBITMAP master, int width, int height) {
  return PixelsBitmap(AreaScaled(BitmapPixels(master), width, height));
}

unique_hbitmap PaintedPicture(void (*painter)(HDC, int, int), int width, int height) {
  BITMAPINFO info = TopDown32(width, height);
  void* bits = nullptr;
  unique_hbitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap) return bitmap;
  {
    const unique_hdc dc(CreateCompatibleDC(nullptr));
    const SelectedObject selected(dc.get(), bitmap.get());
    painter(dc.get(), width, height);
    GdiFlush();
  }
  auto* pixel = static_cast<std::uint32_t*>(bits);
  for (std::size_t i = 0, n = static_cast<std::size_t>(width) * height; i < n; ++i) pixel[i] |= 0xFF000000u;
  return bitmap;
}

void DrawPicture(HDC dc, int x, int y, HBITMAP picture) {
  BITMAP bm{};
  if (!GetObjectA(picture, sizeof bm, &bm)) return;
  const unique_hdc memory(CreateCompatibleDC(dc));
  const SelectedObject selected(memory.get(), picture);
  const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  if (bm.bmBitsPixel == 32)
    GdiAlphaBlend(dc, x, y, bm.bmWidth, bm.bmHeight, memory.get(), 0, 0, bm.bmWidth, bm.bmHeight, blend);
  else
    BitBlt(dc, x, y, bm.bmWidth, bm.bmHeight, memory.get(), 0, 0, SRCCOPY);
}

}  // namespace ui
