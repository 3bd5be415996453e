// TColor: red in the low byte, then green, then blue; a value whose high byte
// is 0xFF names a system colour by its index.
#pragma once
#include <cstdint>

namespace ui {

using TColor = std::uint32_t;

constexpr TColor SystemColor(int index) { return 0xFF000000u | static_cast<TColor>(index); }
constexpr bool IsSystemColor(TColor c) { return (c >> 24) == 0xFF; }

constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clSkyBlue = 0xF0CAA6;
constexpr TColor clBtnFace = SystemColor(15);
constexpr TColor clBtnHighlight = SystemColor(20);
constexpr TColor clHighlight = SystemColor(13);
constexpr TColor clHighlightText = SystemColor(14);
constexpr TColor clMenu = SystemColor(4);
constexpr TColor clMenuText = SystemColor(7);
constexpr TColor clGrayText = SystemColor(17);
constexpr TColor clBtnText = SystemColor(18);
constexpr TColor clWindow = SystemColor(5);
constexpr TColor clWindowText = SystemColor(8);

}  // namespace ui
