// Pictures averaged down from their 200 % masters, the key colour, the
// greyed look, and the high-contrast colour by role.
#include "ui/Scale.h"

#include <gtest/gtest.h>

#include "ui/Palette.h"

namespace {

ui::Pixels Picture(int width, int height, std::vector<std::uint32_t> bgra) { return {width, height, std::move(bgra)}; }

TEST(Scale, AreaScaledAveragesWhatEachTargetPixelCoversWeightedByItsShare) {
  const struct {
    const char* what;
    ui::Pixels from;
    int width, height;
    std::vector<std::uint32_t> to;
  } cases[] = {
      {"halved: four pixels become their mean", Picture(2, 2, {0xFF000000, 0xFFFFFFFF, 0xFFFFFFFF, 0xFF000000}), 1,
       1, {0xFF808080}},
      {"the same size: unchanged", Picture(2, 1, {0xFF102030, 0x80402010}), 2, 1, {0xFF102030, 0x80402010}},
      {"3 to 2: the middle pixel split between both", Picture(3, 1, {0xFF0000FF, 0xFF00FF00, 0xFFFF0000}), 2, 1,
       {0xFF0055AA, 0xFFAA5500}},
      {"a transparent pixel keeps no colour in the edge (premultiplied)", Picture(2, 1, {0x00000000, 0xFFFF0000}),
       1, 1, {0x80800000}},
  };
  for (const auto& c : cases) {
    const ui::Pixels scaled = ui::AreaScaled(c.from, c.width, c.height);
    EXPECT_EQ(scaled.width, c.width) << c.what;
    EXPECT_EQ(scaled.bgra, c.to) << c.what;
  }
}

TEST(Scale, TheKeyColourBecomesTransparentAndTheGreyedLookIsHalfOpaqueLuminance) {
  ui::Pixels glyph = Picture(3, 1, {0x00FF00FF, 0x00123456, 0x7FFF00FF});
  ui::KeyToAlpha(glyph, 0xFF00FF);
  EXPECT_EQ(glyph.bgra, (std::vector<std::uint32_t>{0, 0xFF123456, 0})) << "the alpha byte is not part of the key";
  const ui::Pixels grey = ui::Greyed(Picture(2, 1, {0xFFFFFFFF, 0}));
  EXPECT_EQ(grey.bgra, (std::vector<std::uint32_t>{0x7F7F7F7F, 0})) << "white stays white, at half opacity";
}

TEST(Palette, HighContrastPaintsEachRoleInItsSystemColourAndOtherwiseTheDesigns) {
  using ui::PaintRole;
  const struct {
    ui::TColor designed;
    PaintRole role;
    ui::TColor contrast;
  } cases[] = {
      {ui::clWhite, PaintRole::Face, ui::clBtnFace},
      {ui::clBtnHighlight, PaintRole::Face, ui::clBtnFace},  // a system colour too
      {ui::clWindowText, PaintRole::Text, ui::clBtnText},
      {ui::clSkyBlue, PaintRole::BarFace, ui::clHighlight},  // both ends alike: no gradient
      {ui::clWhite, PaintRole::BarText, ui::clHighlightText},
      {0x502510, PaintRole::Banner, ui::clWindow},
      {ui::clWhite, PaintRole::BannerText, ui::clWindowText},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ui::ThemeColor(c.designed, c.role, false), c.designed) << static_cast<int>(c.role);
    EXPECT_EQ(ui::ThemeColor(c.designed, c.role, true), c.contrast) << static_cast<int>(c.role);
  }
}

}  // namespace
