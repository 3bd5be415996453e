// Display scale, the portable half: windows are designed at 96 dpi and laid
// out at their monitor's; pictures are kept at twice their design size and
// scaled down, area-averaged, to the size the dpi asks for.
#pragma once
#include <cstdint>
#include <vector>

namespace ui {

constexpr int kDesignDpi = 96;

// A design length at `dpi`, rounded half away from zero (as MulDiv rounds).
constexpr int Scaled(int value, int dpi) {
  const long long product = static_cast<long long>(value) * dpi;
  return static_cast<int>((product + (product < 0 ? -kDesignDpi / 2 : kDesignDpi / 2)) / kDesignDpi);
}

// Premultiplied BGRA pixels, top row first.
struct Pixels {
  int width = 0, height = 0;
  std::vector<std::uint32_t> bgra;
};

// `source` at `width` x `height`: each target pixel the average of the
// source area it covers, fractions of pixels weighted by their share.
Pixels AreaScaled(const Pixels& source, int width, int height);

// Opaque pixels, those of `key` colour (0xBBGGRR... read as 0x00RRGGBB)
// turned fully transparent, so that averaging leaves no fringe of it.
void KeyToAlpha(Pixels& pixels, std::uint32_t keyRgb);

// The greyed look of a disabled image: luminance, lightened, half opaque.
Pixels Greyed(const Pixels& pixels);

}  // namespace ui
