// The windows and the tray menu at the prefix's dpi (96, and 144 and 192 in
// suites of their own: tools/wine-suite sets LogPixels from DORMIX_DPI):
// sizes scaled, captions fitting, glyphs at the dpi's size, a move to
// another dpi, the items' names for screen readers, the tray's keyboard.
#include <gtest/gtest.h>
#include <oleacc.h>

#include <cstdlib>

#include "countdown/CountdownWindow.h"
#include "support/Dormix.h"
#include "support/Forms.h"
#include "tray/TarvelTrayIcon.h"
#include "ui/Dpi.h"
#include "ui/ImageList.h"

namespace {

using testing_support::ClientSize;
using testing_support::ProcessUntil;
using DpiTest = testing_support::FormsTest;
const int dpi = std::getenv("DORMIX_DPI") ? std::atoi(std::getenv("DORMIX_DPI")) : 96;

// What a control's text needs on one line in its own font.
SIZE TextNeeds(HWND control, const std::string& text) {
  const ui::WindowDC dc(control);
  const ui::SelectedObject font(dc.get(), reinterpret_cast<HGDIOBJ>(SendMessageA(control, WM_GETFONT, 0, 0)));
  SIZE size{};
  GetTextExtentPoint32A(dc.get(), text.c_str(), static_cast<int>(text.size()), &size);
  return size;
}

// Every shown control's caption fits it (after a check box's mark), and an
// edit's font its height. A screen reader names an edit or a box by the
// label before it in z-order; one of no size names it to readers only.
void ExpectEveryCaptionFits(ui::TForm& form, int at) {
  for (std::size_t i = 0; i < form.ComponentCount(); ++i) {
    auto* control = dynamic_cast<ui::TControl*>(&form.Component(i));
    if (!control || !control->Handle() || !IsWindowVisible(control->Handle())) continue;
    const HWND h = control->Handle();
    const SIZE box = ClientSize(h);
    const std::string cls = testing_support::ClassOf(h), text = testing_support::WindowText(h);
    SCOPED_TRACE(control->Name() + " \"" + text + "\"");
    if (cls == "Edit" || cls == "msctls_hotkey32") {
      EXPECT_GE(box.cy, TextNeeds(h, "Xg").cy);
    }
    if (cls == "Edit" || cls == "ComboBox") {
      const HWND label = GetWindow(h, GW_HWNDPREV);
      EXPECT_TRUE(testing_support::ClassOf(label) == "Static" && !testing_support::WindowText(label).empty());
    }
    if (text.empty() || (cls != "Static" && cls != "Button") || (box.cx == 0 && box.cy == 0)) continue;
    const DWORD kind = GetWindowLongA(h, GWL_STYLE) & BS_TYPEMASK;
    const int mark = cls == "Static" ? 0 : ui::Scaled(kind == BS_PUSHBUTTON ? 4 : 16, at);
    const SIZE needs = TextNeeds(h, text);
    EXPECT_LE(needs.cx + mark, box.cx);
    EXPECT_LE(needs.cy, box.cy);
  }
}

TEST_F(DpiTest, EveryWindowIsLaidOutAtTheDpiWithEveryCaptionFitting) {
  ASSERT_EQ(ui::SystemDpi(), dpi) << "the prefix's LogPixels";
  Form1->Countdown1Click(*Form1->Countdown1);
  const struct {
    ui::TForm* form;
    SIZE design;
  } windows[] = {{Form1, {449, 311}}, {Form2, {348, 68}}, {Form3, {415, 160}}, {Form4, {}},
                 {countdown::CountdownWindow, {340, 336}}};
  for (const auto& w : windows) {
    const std::string name = testing_support::ClassOf(w.form->Handle());
    EXPECT_EQ(w.form->Dpi(), dpi) << name;
    for (ui::TTabSheet* page : w.form == Form1 ? Form1->PageControl1->Pages() : std::vector<ui::TTabSheet*>{nullptr}) {
      SCOPED_TRACE(name + (page ? "-" + page->Name() : ""));
      w.form == Form4 ? Form4->ShowPanel() : w.form->Show();
      if (page) Form1->PageControl1->SetActivePage(*page);
      EXPECT_TRUE(ProcessUntil([&] { return testing_support::Painted(w.form->Handle()); }));
      if (w.design.cx) {
        EXPECT_NEAR(ClientSize(w.form->Handle()).cx, ui::Scaled(w.design.cx, dpi), 3);
        EXPECT_NEAR(ClientSize(w.form->Handle()).cy, ui::Scaled(w.design.cy, dpi), 3);
      }
      ExpectEveryCaptionFits(*w.form, dpi);
      testing_support::Screenshot("dpi" + std::to_string(dpi) + "-" + name + (page ? "-" + page->Name() : ""));
    }
    w.form == Form4 ? testing_support::ClosePanel() : w.form->Hide();
  }
  RECT banner;
  GetWindowRect(Form4->Image3->Handle(), &banner);
  EXPECT_EQ(banner.right - banner.left, ui::Scaled(450, dpi)) << "the panel's banner";
  EXPECT_LE(banner.right, GetSystemMetrics(SM_CXSCREEN)) << "on the screen";
}

// Wine sends no WM_DPICHANGED: sent as Windows does on a move to a monitor
// of another dpi, then back with an lParam no rectangle lives at.
TEST_F(DpiTest, AMoveToAnotherDpiTakesTheSuggestedRectangleAndScalesFontsAndControls) {
  const int other = dpi == 96 ? 144 : 96;
  Form3->Show();
  const HWND about = Form3->Handle();
  RECT suggested = ui::WindowRectForClient(ui::Scaled(415, other), ui::Scaled(160, other),
                                           GetWindowLongA(about, GWL_STYLE), GetWindowLongA(about, GWL_EXSTYLE), other);
  OffsetRect(&suggested, 20 - suggested.left, 30 - suggested.top);
  SendMessageA(about, WM_DPICHANGED, MAKEWPARAM(other, other), reinterpret_cast<LPARAM>(&suggested));
  RECT now, ok;
  GetWindowRect(about, &now);
  EXPECT_TRUE(EqualRect(&now, &suggested));
  GetWindowRect(Form3->BitBtn1->Handle(), &ok);
  EXPECT_EQ(ok.right - ok.left, ui::Scaled(75, other));
  LOGFONTA font{};
  GetObjectA(reinterpret_cast<HGDIOBJ>(SendMessageA(Form3->BitBtn1->Handle(), WM_GETFONT, 0, 0)), sizeof font, &font);
  EXPECT_EQ(font.lfHeight, ui::Scaled(-11, other));
  ExpectEveryCaptionFits(*Form3, other);
  testing_support::Screenshot("dpi" + std::to_string(dpi) + "-moved-to-" + std::to_string(other));
  for (LPARAM hostile : {LPARAM{0}, LPARAM{0x10}, LPARAM{-4}}) SendMessageA(about, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), hostile);
  SendMessageA(about, WM_DPICHANGED, 0, reinterpret_cast<LPARAM>(&suggested));  // no dpi: ignored
  EXPECT_EQ(Form3->Dpi(), dpi);
  EXPECT_NEAR(ClientSize(about).cx, ui::Scaled(415, dpi), 1);
  EXPECT_NEAR(ClientSize(about).cy, ui::Scaled(160, dpi), 1);
  Form3->Hide();
}

// Watches for a menu while `open` runs; at each showing reads it in this
// process as the accessibility layer does (each item's data starts with an
// MSAAMENUINFO), runs `whileOpen` and closes it with Esc.
struct OpenMenu {
  std::vector<std::wstring> names;
  std::vector<int> heights;
  int opened = 0;
};
OpenMenu WatchMenu(const std::function<void()>& open, const std::function<void()>& whileOpen = [] {}) {
  OpenMenu seen;
  bool showing = false;
  const testing_support::Every watch(50, [&] {
    const HWND window = FindWindowA("#32768", nullptr);
    const bool shown = window && IsWindowVisible(window);
    if (shown && !showing) {
      ++seen.opened;
      const HMENU menu = reinterpret_cast<HMENU>(SendMessageA(window, MN_GETHMENU, 0, 0));
      for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_DATA;
        GetMenuItemInfoW(menu, i, TRUE, &info);
        const auto* msaa = reinterpret_cast<const MSAAMENUINFO*>(info.dwItemData);
        const bool named = msaa && msaa->dwMSAASignature == DWORD(MSAA_MENU_SIG);
        seen.names.push_back(named ? std::wstring(msaa->pszWText, msaa->cchWText) : L"(none)");
        RECT item{};
        GetMenuItemRect(nullptr, menu, i, &item);
        seen.heights.push_back(item.bottom - item.top);
      }
      testing_support::Screenshot("dpi" + std::to_string(dpi) + "-tray-menu");
      whileOpen();
      PostMessageA(window, WM_KEYDOWN, VK_ESCAPE, 0);
    }
    showing = shown;
    return true;
  });
  open();
  EXPECT_TRUE(testing_support::ProcessPosted());
  return seen;
}

TEST_F(DpiTest, TheTrayMenuIsMeasuredAtTheDpiAndNamesEveryItemToScreenReaders) {
  std::vector<std::wstring> captions;
  for (const ui::TMenuItem* item : Form1->BarPopupMenu1->Items())
    if (item->visible) captions.push_back(item->AccessibleName());
  ASSERT_EQ(captions[4].substr(0, 12), L"Shut Down\tCo") << "the shortcut (Control+Alt+S here) after a tab";
  const OpenMenu seen = WatchMenu([] { Form1->BarPopupMenu1->Popup(500, 300); });
  EXPECT_EQ(seen.names, captions);
  for (int height : seen.heights) EXPECT_GE(height, ui::Scaled(20, dpi));
  // The shut-down glyph, a full disc, drawn on white: it spans the dpi's size.
  const SIZE glyph = Form1->ImageList1->Size(dpi);
  EXPECT_EQ(glyph.cx, ui::Scaled(16, dpi));
  const ui::WindowDC screen(nullptr);
  const ui::unique_hdc dc(CreateCompatibleDC(screen.get()));
  const ui::unique_hbitmap canvas(CreateCompatibleBitmap(screen.get(), 2 * glyph.cx, 2 * glyph.cy));
  const ui::SelectedObject selected(dc.get(), canvas.get());
  PatBlt(dc.get(), 0, 0, 2 * glyph.cx, 2 * glyph.cy, WHITENESS);
  Form1->ImageList1->Draw(dc.get(), 0, 0, 13, true, dpi);
  const int side = 2 * glyph.cx;
  int drawn = 0;  // past the last row and column touched
  for (int i = 0; i < side * side; ++i)
    if (GetPixel(dc.get(), i % side, i / side) != RGB(255, 255, 255)) drawn = std::max({drawn, i % side + 1, i / side + 1});
  EXPECT_NEAR(drawn, glyph.cx, 2);
}

// Wine's tray never has the keyboard focus: the callback messages are sent
// as the shell sends them. A context-menu message arriving while the right
// click's menu is open (a newer shell's), or Enter's second selection,
// opens none.
TEST_F(DpiTest, TheShellsKeyboardSelectionOpensTheTrayMenuOnce) {
  const HWND icon = FindWindowExA(HWND_MESSAGE, nullptr, "TTarvelTrayIconWindow", nullptr);
  ASSERT_TRUE(icon);
  const LPARAM gestures[][2] = {{NIN_KEYSELECT, 0}, {NIN_SELECT, 0}, {WM_CONTEXTMENU, 0},
                                {WM_RBUTTONUP, WM_CONTEXTMENU}, {NIN_KEYSELECT, NIN_KEYSELECT}};
  for (const auto& g : gestures) {
    const OpenMenu seen = WatchMenu([&] { SendMessageA(icon, tray::TrayCallbackMessage, 0, g[0]); },
                                    [&] { if (g[1]) PostMessageA(icon, tray::TrayCallbackMessage, 0, g[1]); });
    EXPECT_EQ(seen.opened, 1) << std::hex << g[0] << " then " << g[1];
  }
}

}  // namespace
