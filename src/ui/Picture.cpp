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
struct Pixels {
  std::size_t offset = 0, bytes = 0;
};
Pixels PixelsOf(const BITMAPINFOHEADER& h, std::size_t size) {
  if (h.biSize < sizeof h || h.biSize > size || h.biCompression != BI_RGB || h.biWidth <= 0 ||
      h.biHeight == 0 || h.biWidth > 0x4000 || std::abs(h.biHeight) > 0x4000)
    return {};
  const int bits = h.biBitCount;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) return {};
  const std::size_t colors = h.biClrUsed ? h.biClrUsed : bits <= 8 ? 1u << bits : 0;
  const std::size_t stride = (static_cast<std::size_t>(h.biWidth) * bits + 31) / 32 * 4;
  const Pixels pixels{h.biSize + colors * sizeof(RGBQUAD), stride * std::abs(h.biHeight)};
  return colors <= 256 && pixels.offset + pixels.bytes <= size ? pixels : Pixels{};
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
  const Pixels pixels = PixelsOf(info->bmiHeader, size);
  if (!pixels.bytes) return {};
  void* bits = nullptr;
  unique_hbitmap picture(CreateDIBSection(nullptr, info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (picture) std::memcpy(bits, dib.data() + pixels.offset, pixels.bytes);
  return picture;
}

}  // namespace ui
