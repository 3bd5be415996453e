// The four windows as designed: sizes, captions, styles, controls, tab order
// and focus, and a screenshot of each shown on the virtual screen.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "resource.h"
#include "support/Dormix.h"
#include "support/Forms.h"
#include "support/Pump.h"
#include "ui/Application.h"
#include "ui/Picture.h"

namespace {

using testing_support::ClientSize;
using testing_support::ProcessUntil;

using WindowsTest = testing_support::FormsTest;

// Nothing left to paint in the form's window or any shown window inside it.
bool Painted(const ui::TForm& form) { return testing_support::Painted(form.Handle()); }

// Runs first in this suite's process: start-up, which made the four windows,
// the tray icon and the image lists, needed none of the libraries that only
// some paths use; showing the options window brings in the common controls.
TEST_F(WindowsTest, StartUpLoadsNoLibraryThatOnlySomePathsNeed) {
  for (const char* dll : {"comctl32.dll", "winmm.dll", "comdlg32.dll"}) EXPECT_FALSE(GetModuleHandleA(dll)) << dll;
  EXPECT_TRUE(Form1->TarvelTrayIcon1->Active());
  EXPECT_FALSE(Form1->PageControl1->Handle()) << "no control has a window before its form is first shown";
  Form1->HotKey1->HandleNeeded();
  EXPECT_TRUE(GetModuleHandleA("comctl32.dll"));
}

TEST_F(WindowsTest, EachWindowHasItsCaptionClientSizeAndStyleAndStartsHidden) {
  const struct {
    ui::TForm* form;
    const char* caption;
    SIZE client;
    DWORD styleOn, styleOff, exOn;
  } windows[] = {
      {Form1, "Dormix", {449, 311}, WS_CAPTION | WS_SYSMENU, WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME, 0},
      {Form2, "Operation form...", {348, 68}, WS_CAPTION | WS_SYSMENU, WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME,
       WS_EX_TOPMOST | WS_EX_DLGMODALFRAME},
      {Form3, "About...", {415, 160}, WS_CAPTION | WS_SYSMENU, WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME,
       WS_EX_TOPMOST | WS_EX_DLGMODALFRAME},
      {Form4, "", {1024, 721}, WS_POPUP, WS_CAPTION | WS_THICKFRAME, WS_EX_TOPMOST},
  };
  for (const auto& w : windows) {
    SCOPED_TRACE(w.caption);
    const HWND h = w.form->Handle();
    EXPECT_FALSE(IsWindowVisible(h));
    EXPECT_EQ(testing_support::WindowText(h), w.caption);
    const SIZE client = ClientSize(h);
    EXPECT_EQ(client.cx, w.client.cx);
    EXPECT_EQ(client.cy, w.client.cy);
    const DWORD style = GetWindowLongA(h, GWL_STYLE), ex = GetWindowLongA(h, GWL_EXSTYLE);
    EXPECT_EQ(style & w.styleOn, w.styleOn);
    EXPECT_EQ(style & w.styleOff, 0u);
    EXPECT_EQ(ex & w.exOn, w.exOn);
  }
  RECT r;
  GetWindowRect(Form1->Handle(), &r);
  EXPECT_EQ(r.left, 800) << "the stored position's default, remembered";
  EXPECT_EQ(r.top, 600);
  GetWindowRect(Form2->Handle(), &r);
  EXPECT_EQ(r.left, 483);
  EXPECT_EQ(r.top, 201);
}

// Control geometry relative to the control's parent window.
RECT RectInParent(HWND w) {
  RECT r;
  GetWindowRect(w, &r);
  MapWindowPoints(nullptr, GetParent(w), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

TEST_F(WindowsTest, ControlsHaveTheirDesignedNamesCaptionsAndPlaces) {
  const struct {
    ui::TForm* form;
    const char* name;
    const char* windowClass;
    const char* text;
    RECT rect;  // right/bottom of -1: not fixed by the design
  } controls[] = {
      {Form1, "Image1", "Static", "", {0, 0, 449, 73}},
      {Form1, "PageControl1", "SysTabControl32", "", {0, 72, 449, 273}},
      {Form1, "BitBtn1", "Button", "Ok", {272, 280, 353, 305}},
      {Form1, "BitBtn2", "Button", "Cancel", {360, 280, 443, 305}},
      {Form1, "Label1", "Static", "Label1", {-1, -1, -1, -1}},
      {Form1, "MaskEdit1", "Edit", "00:00", {-1, -1, -1, -1}},
      {Form1, "RadioButton1", "Button", "Shut Down", {-1, -1, -1, -1}},
      {Form1, "RadioButton7", "Button", "Protection Panel", {-1, -1, -1, -1}},
      {Form1, "CheckBox1", "Button", "Force Action", {-1, -1, -1, -1}},
      {Form1, "CheckBox2", "Button", "Remember Form Position", {-1, -1, -1, -1}},
      {Form1, "CheckBox3", "Button", "Autostart", {-1, -1, -1, -1}},
      {Form1, "CheckBox4", "Button", "Show message before operation:", {-1, -1, -1, -1}},
      {Form1, "CheckBox5", "Button", "Play Sound", {-1, -1, -1, -1}},
      {Form1, "Button1", "Button", "Browse", {-1, -1, -1, -1}},
      {Form1, "Label17", "Static", "Show message:", {-1, -1, -1, -1}},
      {Form1, "Label18", "Static", "sec", {-1, -1, -1, -1}},
      {Form1, "HotKey1", "msctls_hotkey32", "", {-1, -1, -1, -1}},
      {Form2, "Image1", "Static", "", {5, 3, 69, 67}},
      {Form2, "Label1", "Static", "Operation...", {72, 8, -1, -1}},
      {Form2, "Button2", "Button", "Ok", {144, 40, 219, 65}},
      {Form2, "Button1", "Button", "Cancel", {224, 40, 299, 65}},
      {Form3, "Image1", "Static", "", {8, 8, 409, 113}},
      {Form3, "StaticText1", "Static", "Dormix v.1.1", {8, 112, -1, -1}},
      {Form3, "BitBtn1", "Button", "Ok", {336, 128, 411, 153}},
      {Form4, "Image3", "Static", "", {296, 347, 746, 417}},
      {Form4, "MaskEdit1", "Edit", "", {496, 368, 617, 389}},
  };
  for (const auto& c : controls) {
    SCOPED_TRACE(c.name);
    auto* control = dynamic_cast<ui::TControl*>(c.form->FindComponent(c.name));
    ASSERT_NE(control, nullptr);
    const HWND h = control->HandleNeeded();
    ASSERT_TRUE(h);
    EXPECT_STRCASEEQ(testing_support::ClassOf(h).c_str(), c.windowClass);
    EXPECT_EQ(testing_support::WindowText(h), c.text);
    const RECT r = RectInParent(h);
    if (c.rect.left >= 0) { EXPECT_EQ(r.left, c.rect.left); }
    if (c.rect.top >= 0) { EXPECT_EQ(r.top, c.rect.top); }
    if (c.rect.right >= 0) { EXPECT_EQ(r.right, c.rect.right); }
    if (c.rect.bottom >= 0) { EXPECT_EQ(r.bottom, c.rect.bottom); }
  }
  EXPECT_FALSE(IsWindowVisible(Form1->ComboBox1->HandleNeeded()));
  EXPECT_EQ(Form1->ComboBox1->ItemIndex(), 0);
  EXPECT_TRUE(Form1->RadioButton1->Checked());
  for (ui::THotKey* key : {Form1->HotKey1, Form1->HotKey4, Form1->HotKey8}) EXPECT_EQ(key->HotKey(), 32833u);
  EXPECT_EQ(Form1->MaskEdit1->Text(), "00:00") << "the stored set time's default";
  EXPECT_EQ(Form1->Timer1->Enabled(), true);
  EXPECT_EQ(Form1->Timer3->Enabled(), false);
  EXPECT_EQ(Form2->Timer1->Enabled(), false);
  EXPECT_EQ(Form2->Timer1->Interval(), 1000u);
}

TEST_F(WindowsTest, PagesAreInDisplayOrderWithTheClockPageShown) {
  const char* pages[] = {"Operation Clock", "General", "Protection", "Shortcuts", "Messages"};
  ASSERT_EQ(Form1->PageControl1->Pages().size(), 5u);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(Form1->PageControl1->Pages()[i]->Caption(), pages[i]);
  EXPECT_EQ(Form1->PageControl1->ActivePage(), Form1->TabSheet4);
  Form1->Show();
  EXPECT_TRUE(ProcessUntil([] { return IsWindowVisible(Form1->TabSheet4->Handle()) != FALSE; }));
  EXPECT_FALSE(IsWindowVisible(Form1->TabSheet1->Handle()));
  Form1->Hide();
}

TEST_F(WindowsTest, MenuHasItsThirteenItemsInOrderAfterTheHiddenCountdownItems) {
  const struct {
    const char* caption;
    int image;
    unsigned shortCut;
    bool visible;
    unsigned command;
  } items[] = {
      // Shown, with a caption, only while a one-off countdown is pending.
      {"", 15, 0, false, 1006},             {"Postpone 10 min", 17, 0, false, 1007},
      // The clock is disabled by the stored default: the item offers to enable it.
      {"Main", 0, 0, true, 1001},           {"Enable ShutDown Clock", 17, 0, true, 1002},
      {"Exit", 5, 0, true, 1003},           {"Help", 21, 0, false, 1004},
      {"About ...", 3, 0, true, 1005},      {"Shut Down", 13, 49235, true, 2001},
      {"Log Off", 19, 49228, true, 2002},   {"Hibernate", 12, 49224, true, 2003},
      {"Stand By", 16, 49218, true, 2004},  {"Restart", 14, 49234, true, 2005},
      {"Shut Down Monitor", 6, 49229, true, 2006}, {"Screen Saver", 18, 49238, true, 2007},
      {"Protection Panel", 9, 49232, true, 2008},
      // One more than the design's thirteen, at the end, without a glyph.
      {"Countdown...", -1, 0, true, 1008},
  };
  const auto& menu = Form1->BarPopupMenu1->Items();
  ASSERT_EQ(menu.size(), 16u);
  for (std::size_t i = 0; i < menu.size(); ++i) {
    SCOPED_TRACE(items[i].caption);
    EXPECT_EQ(menu[i]->caption, items[i].caption);
    EXPECT_EQ(menu[i]->imageIndex, items[i].image);
    EXPECT_EQ(menu[i]->shortCut, items[i].shortCut);
    EXPECT_EQ(menu[i]->visible, items[i].visible);
    EXPECT_EQ(menu[i]->Command(), items[i].command);
  }
  EXPECT_EQ(Form1->ImageList1->Count(), 22);
  EXPECT_EQ(Form1->ImageList2->Count(), 2);
}

// A bitmap's pixels as 32-bit top-down rows, with its size in front.
std::vector<DWORD> PixelsOf(HBITMAP bitmap) {
  BITMAP bm{};
  if (!GetObjectA(bitmap, sizeof bm, &bm)) return {};
  BITMAPINFO info{};
  info.bmiHeader = {sizeof info.bmiHeader, bm.bmWidth, -bm.bmHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  std::vector<DWORD> pixels(2 + static_cast<std::size_t>(bm.bmWidth) * bm.bmHeight);
  pixels[0] = bm.bmWidth;
  pixels[1] = bm.bmHeight;
  const ui::WindowDC screen(nullptr);
  GetDIBits(screen.get(), bitmap, 0, bm.bmHeight, pixels.data() + 2, &info, DIB_RGB_COLORS);
  return pixels;
}

// The pictures are packed into the program and unpacked by the system: each
// must come out as exactly the drawing in res/art.
TEST_F(WindowsTest, EveryPictureIsItsDrawingPixelForPixel) {
  const char* art = std::getenv("DORMIX_ART");
  ASSERT_TRUE(art);
  const struct {
    int id;
    const char* file;
  } pictures[] = {
      {IDB_PAGE_CLOCK, "page-clock"},
      {IDB_PAGE_GENERAL, "page-general"},
      {IDB_PAGE_PROTECTION, "page-protection"},
      {IDB_PAGE_SHORTCUTS, "page-shortcuts"},
      {IDB_PAGE_MESSAGES, "page-messages"},
      {IDB_MENU_GLYPHS, "menu-glyphs"},
  };
  for (const auto& p : pictures) {
    SCOPED_TRACE(p.file);
    const std::string path = std::string(art) + "/" + p.file + ".bmp";
    const ui::unique_hbitmap drawing(static_cast<HBITMAP>(
        LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
    ASSERT_TRUE(drawing) << path;
    const ui::unique_hbitmap picture = ui::LoadPicture(p.id);
    ASSERT_TRUE(picture);
    EXPECT_TRUE(PixelsOf(picture.get()) == PixelsOf(drawing.get()));
  }
  EXPECT_FALSE(ui::LoadPicture(IDI_TRAY_ENABLED)) << "an id that is no picture";
}

TEST_F(WindowsTest, ScreenshotsOfTheFourWindows) {
  for (ui::TTabSheet* page : Form1->PageControl1->Pages()) {
    Form1->Show();
    Form1->PageControl1->SetActivePage(*page);
    EXPECT_TRUE(ProcessUntil([] { return Painted(*Form1); })) << page->Name();
    testing_support::Screenshot("main-" + std::to_string(page->Name().back() - '0'));
  }
  Form1->PageControl1->SetActivePage(*Form1->TabSheet4);
  Form1->Hide();
  for (ui::TForm* form : {static_cast<ui::TForm*>(Form2), static_cast<ui::TForm*>(Form3),
                          static_cast<ui::TForm*>(Form4)}) {
    form->Show();
    EXPECT_TRUE(ProcessUntil([&] { return Painted(*form); })) << testing_support::ClassOf(form->Handle());
    testing_support::Screenshot(std::string("window-") + testing_support::ClassOf(form->Handle()));
    form->Hide();
  }
}

}  // namespace
