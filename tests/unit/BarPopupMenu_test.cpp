// The bar popup menu's side bar on a recording canvas: the colour of every
// bar row, the text and picture positions, the rotated font's record. The
// items start at (3, 3), as Wine places them.
#include "menu/BarPopupMenu.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace {

using menu::TRect;

struct Fill {
  TRect r;
  ui::TColor rgb;
};
struct Text {
  int x, y;
  TRect clip;
  std::string text;
};

class RecordingCanvas : public menu::BarCanvas {
 public:
  static constexpr ui::TColor kHighlight = 0x00C08040;  // what clHighlight resolves to here
  int textHeight = 19;
  std::vector<Fill> fills;
  std::vector<Text> texts;
  std::vector<std::pair<int, int>> pictures;
  std::vector<int> angles;
  std::vector<int> fontHeights;

  ui::TColor ColorToRGB(ui::TColor color) override {
    return color == ui::clHighlight ? kHighlight : color & 0xFFFFFF;
  }
  void FillRect(const TRect& r, ui::TColor rgb) override { fills.push_back({r, rgb}); }
  void WithRotatedFont(const menu::TBarFont& font, int angle, const std::function<void(int)>& draw) override {
    angles.push_back(angle);
    fontHeights.push_back(font.Height);
    draw(textHeight);
  }
  void ClippedText(int x, int y, const TRect& clip, std::string_view text) override {
    texts.push_back({x, y, clip, std::string(text)});
  }
  void DrawPicture(int x, int y) override { pictures.emplace_back(x, y); }
};

struct Item {
  int height;
  bool visible = true;
};

// Measures the items as a popup does, then draws the visible ones top to
// bottom; returns their rectangles.
std::vector<TRect> Popup(menu::TSideBar& bar, menu::BarCanvas& canvas, const std::vector<Item>& items,
                         const std::optional<menu::TSize>& picture = std::nullopt) {
  bar.StartPopup();
  std::vector<TRect> rects;
  int top = 3;
  for (const Item& item : items) {
    int width = 100;
    bar.MeasureBar(item.visible, width, item.height);
    EXPECT_EQ(width, 100 + bar.ScaledBarWidth()) << "hidden items are widened too";
    if (!item.visible) continue;
    rects.push_back({3, top, 3 + width, top + item.height});
    top += item.height;
  }
  for (const TRect& r : rects) bar.DrawBar(canvas, r, picture);
  return rects;
}

// At a higher dpi the bar's width, text offset and font are the design's
// scaled (halves away from zero); the rows stay the items' own.
TEST(SideBarTest, TheBarsWidthTextOffsetAndFontScaleWithThePopupsDpi) {
  // The defaults: BarWidth 31, text offset -6, font height -19.
  const int cases[][5] = {{96, 31, 32, -19, 37}, {144, 47, 47, -29, 34}, {192, 62, 61, -38, 31}};
  for (const auto& [dpi, width, fillRight, fontHeight, textY] : cases) {
    menu::TSideBar bar;
    bar.GradientEnd = bar.GradientStart;
    bar.PopupDpi = dpi;
    RecordingCanvas canvas;
    Popup(bar, canvas, {{20}, {20}});  // rows 3 to 43
    EXPECT_EQ(bar.ScaledBarWidth(), width);
    EXPECT_EQ(canvas.fills.at(1).r, (TRect{3, 23, fillRight, 43})) << dpi;
    EXPECT_EQ(canvas.fontHeights.front(), fontHeight) << dpi;
    EXPECT_EQ(canvas.texts.front().y, textY) << dpi;
  }
}

TEST(SideBarTest, EveryRowOfTheGradientRunsFromStartToEndAcrossItemsOfDifferentHeights) {
  const std::vector<Item> items = {{20}, {8}, {20, false}, {23}, {21}};  // 72 visible rows
  const struct {
    ui::TColor start, end;
    std::map<int, ui::TColor> anchors;  // rows with their colour worked out by hand
  } cases[] = {
      // Blue falls by 15: at row 5, -75 / 72 truncates to -1 (254), not down to 253.
      {ui::clBlue, ui::clSkyBlue, {{0, 0xFF0000}, {5, 0xFE0E0B}, {20, 0xFB382E}, {72, 0xF0CAA6}}},
      {ui::clHighlight, ui::clWhite, {{0, RecordingCanvas::kHighlight}, {36, 0xDFBF9F}, {72, 0xFFFFFF}}},
  };
  for (const auto& c : cases) {
    menu::TSideBar bar;
    bar.BarWidth = 20;
    bar.GradientStart = c.start;
    bar.GradientEnd = c.end;
    RecordingCanvas canvas;
    Popup(bar, canvas, items);
    EXPECT_EQ(bar.TotalHeight(), 72);
    EXPECT_TRUE(bar.BarDrawn());
    // One fill per row, each item's bottom row painted again by the next one.
    ASSERT_EQ(canvas.fills.size(), 72u + 4u);
    std::map<int, ui::TColor> rows;
    for (const Fill& f : canvas.fills) {
      ASSERT_EQ(f.r.Bottom - f.r.Top, 1);
      EXPECT_EQ(f.r.Left, 3);
      EXPECT_EQ(f.r.Right, 3 + 18) << "the last two bar columns are a gap";
      const int y = f.r.Top - 3;
      const auto [row, added] = rows.emplace(y, f.rgb);
      EXPECT_EQ(row->second, f.rgb) << "row " << y << " painted twice alike";
    }
    EXPECT_EQ(rows.size(), 73u);
    for (const auto& [row, rgb] : c.anchors) EXPECT_EQ(rows[row], rgb) << "row " << row;
  }
}

TEST(SideBarTest, EqualColoursFillEachItemWithoutItsBottomRowAndLaterPassesPaintNothing) {
  menu::TSideBar bar;
  bar.GradientStart = bar.GradientEnd = ui::clHighlight;
  RecordingCanvas canvas;
  const auto rects = Popup(bar, canvas, {{20}, {8}, {21, false}, {23}});
  ASSERT_EQ(canvas.fills.size(), 3u);
  for (std::size_t i = 0; i < rects.size(); ++i) {
    EXPECT_EQ(canvas.fills[i].r, (TRect{3, rects[i].Top, 3 + 29, rects[i].Bottom}));
    EXPECT_EQ(canvas.fills[i].rgb, RecordingCanvas::kHighlight);
  }
  // A selection moving over the items: the bar stays as painted.
  canvas = {};
  bar.DrawBar(canvas, rects[1], std::nullopt);
  EXPECT_TRUE(canvas.fills.empty() && canvas.texts.empty() && canvas.angles.empty());
  // Nothing measured: no gradient to divide.
  bar.GradientEnd = ui::clBlack;
  bar.StartPopup();
  bar.DrawBar(canvas, rects[0], std::nullopt);
  EXPECT_TRUE(canvas.fills.empty());
}

TEST(SideBarTest, TextAndPicturePositionsForEachAlignment) {
  using menu::TSize;
  const struct {
    std::optional<TSize> picture;
    menu::TBitmapVertAlignment vert;
    menu::TBitmapHorzAlignment horz;
    int offsetX, offsetY, textHeight;
    int textX, textY;                       // relative to the first item's top-left
    std::optional<std::pair<int, int>> at;  // the picture, likewise
  } cases[] = {
      // Text x: (20 - h) / 2 - 0.5, ties to even, then one to the left.
      {std::nullopt, menu::bvaBottom, menu::bhaLeft, 5, 5, 19, -1, 41 - 15, std::nullopt},
      {std::nullopt, menu::bvaBottom, menu::bhaLeft, 0, 0, 18, -1, 26, std::nullopt},  // 0.5 -> 0
      {std::nullopt, menu::bvaBottom, menu::bhaLeft, 0, 0, 16, 1, 26, std::nullopt},   // 1.5 -> 2
      {std::nullopt, menu::bvaBottom, menu::bhaLeft, 0, 0, 14, 1, 26, std::nullopt},   // 2.5 -> 2
      {std::nullopt, menu::bvaBottom, menu::bhaLeft, 0, 0, 22, -3, 26, std::nullopt},  // -1.5 -> -2
      // Only a bottom-aligned picture lifts the text; its offset does not.
      {TSize{16, 10}, menu::bvaBottom, menu::bhaLeft, 1, 2, 19, -1, 16, std::pair{1, 41 + 2 - 10}},
      {TSize{16, 10}, menu::bvaTop, menu::bhaRight, 1, 2, 19, -1, 26, std::pair{20 - 2 + 1 - 16, 2}},
      {TSize{15, 11}, menu::bvaMiddle, menu::bhaCenter, 0, -1, 19, -1, 26, std::pair{1, 15 - 1}},
      // The halvings truncate toward zero: -3.5 and -4.5.
      {TSize{25, 50}, menu::bvaMiddle, menu::bhaCenter, 0, 0, 19, -1, 26, std::pair{-3, -4}},
      // An empty picture is still drawn, at its size of nothing.
      {TSize{0, 0}, menu::bvaBottom, menu::bhaLeft, 0, 0, 19, -1, 26, std::pair{0, 41}},
  };
  for (const auto& c : cases) {
    menu::TSideBar bar;
    bar.BarWidth = 20;
    bar.VerticalTextOffsetY = -15;
    bar.VerticalText = "Dormix";
    bar.BitmapVertAlignment = c.vert;
    bar.BitmapHorzAlignment = c.horz;
    bar.BitmapOffsetX = c.offsetX;
    bar.BitmapOffsetY = c.offsetY;
    RecordingCanvas canvas;
    canvas.textHeight = c.textHeight;
    const auto rects = Popup(bar, canvas, {{20}, {21}}, c.picture);
    const std::string at =
        "text height " + std::to_string(c.textHeight) + ", picture " +
        (c.picture ? std::to_string(c.picture->Width) + "x" + std::to_string(c.picture->Height) : "none");
    ASSERT_EQ(canvas.texts.size(), 2u) << at;
    for (std::size_t i = 0; i < 2; ++i) {
      const Text& t = canvas.texts[i];
      EXPECT_EQ(t.x, 3 + c.textX) << at;
      EXPECT_EQ(t.y, 3 + c.textY) << at;
      EXPECT_EQ(t.text, "Dormix");
      EXPECT_EQ(t.clip, (TRect{rects[i].Left, rects[i].Top, rects[i].Right, rects[i].Bottom + 1}));
    }
    EXPECT_EQ(canvas.angles, (std::vector<int>{90, 90}));
    if (c.at) {
      EXPECT_EQ(canvas.pictures, (std::vector<std::pair<int, int>>{{3 + c.at->first, 3 + c.at->second}}))
          << at;
    } else {
      EXPECT_TRUE(canvas.pictures.empty());
    }
  }
}

TEST(RotatedFontTest, TheRecordFollowsTheFontAndTheAngle) {
  const std::string longName(40, 'a');
  const struct {
    menu::TBarFont font;
    int angle;
    menu::RotatedFontFields expected;
  } cases[] = {
      {{.Name = "Tahoma", .Height = -16, .Bold = true, .Italic = true, .Pitch = menu::fpVariable},
       90,
       {-16, 0, 900, 0, 700, 1, 0, 0, 1, 0, 0, 0, 2, "Tahoma"}},
      {{.Name = "Courier New",
        .Height = 13,
        .Bold = false,
        .Italic = false,
        .Underline = true,
        .StrikeOut = true,
        .Pitch = menu::fpFixed},
       -45,
       {13, 0, -450, 0, 400, 0, 1, 1, 1, 0, 0, 0, 1, "Courier New"}},
      {{.Name = longName, .Bold = false, .Italic = false},
       0,
       {-19, 0, 0, 0, 400, 0, 0, 0, 1, 0, 0, 0, 0, "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa"}},
  };
  for (const auto& c : cases) EXPECT_EQ(menu::RotatedFont(c.font, c.angle), c.expected) << c.font.Name;
}

}  // namespace
