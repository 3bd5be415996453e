// The bar popup menu opened on the virtual desktop: the main window's menu
// with its gradient bar and vertical text read back from the screen, and a
// menu of its own for the picture and the Bitmap and Transparent rules.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "support/Dormix.h"
#include "support/Forms.h"
#include "support/Pump.h"

namespace {

using BarPopupMenuTest = testing_support::FormsTest;

// Pops the menu up and, once its bar stands, calls `look` every 50 ms with
// the menu's window until it answers true (Wine puts a painted frame on the
// screen a little later: a look that reads the screen waits for what it
// expects), for up to 10 s; then closes the menu with Esc.
void WhileOpen(menu::TBarPopupMenu& bar, std::function<bool(HWND)> look) {
  struct State {
    bool looked = false, finished = false;
    DWORD start = GetTickCount();
  };
  const auto state = std::make_shared<State>();
  const testing_support::Every watch(50, [&bar, look, state] {
    const HWND window = FindWindowA("#32768", nullptr);
    const bool open = window && IsWindowVisible(window);
    const bool done = open && bar.BarDrawn() && look(window);
    state->looked |= open && bar.BarDrawn();
    if (!done && GetTickCount() - state->start < 10000) return true;
    if (open) PostMessageA(window, WM_KEYDOWN, VK_ESCAPE, 0);
    state->finished = true;
    return false;
  });
  bar.Popup(200, 150);
  testing_support::PumpUntil([state] { return state->finished; });
  EXPECT_TRUE(state->looked) << "the menu never showed its whole bar";
}

// The screen rectangle of an item of the open menu.
RECT ItemRect(HWND window, int index) {
  const auto menu = reinterpret_cast<HMENU>(SendMessageA(window, MN_GETHMENU, 0, 0));
  RECT r{};
  GetMenuItemRect(nullptr, menu, index, &r);
  return r;
}

std::vector<COLORREF> Row(int left, int y, int width) {
  const ui::WindowDC screen(nullptr);
  std::vector<COLORREF> row;
  for (int x = left; x < left + width; ++x) row.push_back(GetPixel(screen.get(), x, y));
  return row;
}

COLORREF GradientRow(COLORREF start, COLORREF end, int y, int total) {
  COLORREF rgb = 0;
  for (int shift : {0, 8, 16}) {
    const int c1 = start >> shift & 0xFF, c2 = end >> shift & 0xFF;
    rgb |= static_cast<COLORREF>(c1 + (c2 - c1) * y / total) << shift;
  }
  return rgb;
}

// What is amiss in the bar's rows as read from the screen; "" when nothing.
std::string BarProblems(const std::vector<std::vector<COLORREF>>& rows, int total) {
  std::ostringstream problems;
  const COLORREF menuColour = GetSysColor(COLOR_MENU);
  const struct {
    int row;
    COLORREF colour;
  } bands[] = {{0, RGB(0, 0, 255)}, {total - 1, GradientRow(RGB(0, 0, 255), RGB(166, 202, 240), total - 1, total)}};
  for (const auto& band : bands) {
    const std::vector<COLORREF>& row = rows[band.row];
    if (std::vector<COLORREF>(row.begin(), row.end() - 2) != std::vector<COLORREF>(18, band.colour))
      problems << "row " << band.row << " is not " << std::hex << band.colour << std::dec << "; ";
    if (std::vector<COLORREF>(row.end() - 2, row.end()) != std::vector<COLORREF>(2, menuColour))
      problems << "no gap at row " << band.row << "; ";
  }
  // The white text stands up from 15 rows above the bottom.
  int white = 0, highest = total, lowest = 0;
  for (int y = 0; y < total; ++y)
    for (auto c = rows[y].begin(); c != rows[y].end() - 2; ++c)
      if (GetRValue(*c) > 0xE0 && GetGValue(*c) > 0xE0 && GetBValue(*c) > 0xE0) {
        ++white;
        highest = std::min(highest, y);
        lowest = std::max(lowest, y);
      }
  // "Dormix" in 16 pixels is shorter than 100 rows.
  if (white <= 100 || lowest > total - 15 || lowest < total - 15 - 4 || highest <= total - 15 - 100)
    problems << white << " white pixels in rows " << highest << " to " << lowest << " of " << total;
  return problems.str();
}

TEST_F(BarPopupMenuTest, TheMainWindowsMenuShowsABlueToSkyBlueBarWithItsTextUpTheLeftEdge) {
  menu::TBarPopupMenu& bar = *Form1->BarPopupMenu1;
  bool moved = false;
  std::string problems = "never read";
  std::vector<std::vector<COLORREF>> shown;
  WhileOpen(bar, [&](HWND window) {
    const RECT first = ItemRect(window, 0), last = ItemRect(window, 12);
    const int total = bar.TotalHeight();
    std::vector<std::vector<COLORREF>> rows;
    for (int y = first.top; y < last.bottom; ++y) rows.push_back(Row(first.left, y, bar.BarWidth));
    if (!moved) {
      EXPECT_EQ(GetMenuItemCount(reinterpret_cast<HMENU>(SendMessageA(window, MN_GETHMENU, 0, 0))), 13);
      EXPECT_EQ(last.bottom - first.top, total) << "Help is hidden and adds nothing";
      problems = BarProblems(rows, total);
      if (!problems.empty()) return false;
      testing_support::Screenshot("bar-popup-menu");
      shown = rows;
      // Moving the selection repaints items, and the bar stays as it was.
      for (int i = 0; i < 3; ++i) PostMessageA(window, WM_KEYDOWN, VK_DOWN, 0);
      moved = true;
      return false;
    }
    problems = rows == shown ? "" : "the bar changed with the selection";
    if (!problems.empty()) return false;
    testing_support::Screenshot("bar-popup-menu-selection");
    return true;
  });
  EXPECT_EQ(problems, "");
}

// A red square in a magenta frame, magenta being the corner colour.
ui::unique_hbitmap FramedSquare() {
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), 8, 8, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  ui::unique_hbitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  auto* pixels = static_cast<std::uint32_t*>(bits);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) pixels[y * 8 + x] = x >= 2 && x < 6 && y >= 2 && y < 6 ? 0xFF0000 : 0xFF00FF;
  return bitmap;
}

TEST_F(BarPopupMenuTest, TheMenuKeepsItsOwnPictureAndDrawsItWithoutItsTransparentColour) {
  menu::TBarPopupMenu bar(nullptr);
  EXPECT_EQ(bar.VerticalText, ui::Application().Title());
  EXPECT_FALSE(bar.Transparent());
  bar.SetTransparent(true);
  EXPECT_FALSE(bar.Transparent()) << "dropped while there is no picture";
  EXPECT_TRUE(bar.Bitmap().Empty());
  EXPECT_TRUE(bar.Transparent()) << "reading Bitmap made a transparent picture";

  menu::TBitmap source;
  source.SetHandle(FramedSquare());
  source.TransparentColor = RGB(1, 2, 3);
  bar.SetBitmap(&source);
  EXPECT_FALSE(bar.Transparent()) << "the flag is copied with the picture";
  EXPECT_EQ(bar.Bitmap().TransparentColor, RGB(1, 2, 3));
  EXPECT_NE(bar.Bitmap().Handle(), source.Handle());
  bar.SetBitmap(nullptr);
  EXPECT_TRUE(bar.Bitmap().Empty());
  source.Transparent = true;
  source.TransparentColor.reset();
  bar.SetBitmap(&source);
  source.Transparent = false;
  EXPECT_TRUE(bar.Transparent()) << "the menu keeps a copy of its own";

  // Equal colours, so every bar pixel not covered by the picture is green.
  bar.GradientStart = bar.GradientEnd = RGB(0, 128, 0);
  bar.BitmapVertAlignment = menu::bvaTop;
  bar.BitmapOffsetX = 2;
  bar.BitmapOffsetY = 4;
  bar.VerticalText.clear();
  ui::TMenuItem open(nullptr, bar), hidden(nullptr, bar), save(nullptr, bar);
  open.caption = "Open";
  hidden.caption = "Hidden";
  hidden.visible = false;
  save.caption = "Save";
  int othersDrawing = 0;
  save.OnAdvancedDrawItem = [&](ui::TMenuItem&, HDC, const RECT&, UINT) { ++othersDrawing; };
  std::string problems = "never read";
  WhileOpen(bar, [&](HWND window) {
    const RECT first = ItemRect(window, 0);
    const struct {
      int x, y;
      COLORREF colour;
    } pixels[] = {{2, 4, RGB(0, 128, 0)},
                  {4, 6, RGB(255, 0, 0)},
                  {7, 9, RGB(255, 0, 0)},
                  {9, 11, RGB(0, 128, 0)},
                  {1, 6, RGB(0, 128, 0)}};
    std::ostringstream seen;
    for (const auto& p : pixels)
      if (const COLORREF c = Row(first.left + p.x, first.top + p.y, 1)[0]; c != p.colour)
        seen << std::hex << c << " at " << std::dec << p.x << "," << p.y << "; ";
    problems = seen.str();
    if (!problems.empty()) return false;
    testing_support::Screenshot("bar-popup-menu-picture");
    return true;
  });
  EXPECT_EQ(problems, "");
  EXPECT_EQ(othersDrawing, 0) << "Popup replaces the handlers of other code";
  EXPECT_TRUE(hidden.OnMeasureItem && hidden.OnAdvancedDrawItem) << "hidden items are hooked too";
}

}  // namespace
