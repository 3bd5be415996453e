// Area-averaged scaling of premultiplied pixels, and the key and grey passes.
#include "ui/Scale.h"

#include <algorithm>

namespace ui {

namespace {

// For each target column (or row), the source cells it covers and their
// weights, in 1/65536ths of a target pixel's span.
struct Span {
  int first = 0;
  std::vector<std::uint32_t> weights;
};

std::vector<Span> Spans(int from, int to) {
  std::vector<Span> spans(to);
  // Target pixel i covers source [i * from / to, (i + 1) * from / to), in
  // units of 1/to of a source pixel.
  for (int i = 0; i < to; ++i) {
    const long long begin = static_cast<long long>(i) * from, end = begin + from;
    Span& span = spans[i];
    span.first = static_cast<int>(begin / to);
    for (long long cell = span.first; cell * to < end; ++cell) {
      const long long covered = std::min(end, (cell + 1) * to) - std::max(begin, cell * to);
      span.weights.push_back(static_cast<std::uint32_t>((covered << 16) / from));
    }
  }
  return spans;
}

}  // namespace

Pixels AreaScaled(const Pixels& source, int width, int height) {
  Pixels target{width, height, std::vector<std::uint32_t>(static_cast<std::size_t>(width) * height)};
  if (source.width <= 0 || source.height <= 0 || width <= 0 || height <= 0) return target;
  const std::vector<Span> columns = Spans(source.width, width), rows = Spans(source.height, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      std::uint64_t sum[4] = {};
      for (std::size_t r = 0; r < rows[y].weights.size(); ++r)
        for (std::size_t c = 0; c < columns[x].weights.size(); ++c) {
          const std::uint64_t weight = static_cast<std::uint64_t>(rows[y].weights[r]) * columns[x].weights[c];
          const std::uint32_t pixel =
              source.bgra[static_cast<std::size_t>(rows[y].first + r) * source.width + columns[x].first + c];
          for (int channel = 0; channel < 4; ++channel) sum[channel] += weight * (pixel >> (8 * channel) & 0xFF);
        }
      std::uint32_t pixel = 0;
      for (int channel = 0; channel < 4; ++channel)
        pixel |= static_cast<std::uint32_t>(std::min<std::uint64_t>(255, (sum[channel] + (1ull << 31)) >> 32))
                 << (8 * channel);
      target.bgra[static_cast<std::size_t>(y) * width + x] = pixel;
    }
  return target;
}

void KeyToAlpha(Pixels& pixels, std::uint32_t keyRgb) {
  for (std::uint32_t& pixel : pixels.bgra)
    pixel = (pixel & 0xFFFFFF) == (keyRgb & 0xFFFFFF) ? 0 : (pixel | 0xFF000000u);
}

Pixels Greyed(const Pixels& pixels) {
  Pixels grey = pixels;
  for (std::uint32_t& pixel : grey.bgra) {
    const std::uint32_t b = pixel & 0xFF, g = pixel >> 8 & 0xFF, r = pixel >> 16 & 0xFF, a = pixel >> 24;
    // Premultiplied: the lightening adds in proportion to the coverage.
    const std::uint32_t luma = (r * 77 + g * 150 + b * 29) >> 8;
    const std::uint32_t light = (luma + a) / 2 / 2, alpha = a / 2;
    pixel = alpha << 24 | light << 16 | light << 8 | light;
  }
  return grey;
}

}  // namespace ui
