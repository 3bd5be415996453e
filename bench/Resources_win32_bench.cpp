// GDI objects stay flat over hundreds of popups of the bar menu and notices:
// the live entries of this process's GDI handle table are counted before and
// after.
// (Wine's GetGuiResources is a stub; the table is reached through the PEB.)
#include <windows.h>

#include <cstdio>

#include "app/Down.h"
#include "app/Startup.h"
#include "power/Notice.h"
#include "power/mymess.h"
#include "support/Pump.h"
#include "ui/Application.h"

namespace {

// PEB+0x94 points to 65,536 entries of 24 bytes; a live entry has a
// non-zero type byte at offset 14.
int LiveGdiObjects() {
  const unsigned char* peb;
  asm("movl %%fs:0x30, %0" : "=r"(peb));  // the PEB (the header's __readfsdword trips -Warray-bounds)
  const auto* table = *reinterpret_cast<const unsigned char* const*>(peb + 0x94);
  if (!table) return -1;
  int live = 0;
  for (int i = 0; i < 65536; ++i) live += table[i * 24 + 14] != 0;
  return live;
}

// Closes the menu once it has painted its whole bar, so that every popup
// makes and releases the bar's brushes and rotated fonts.
testing_support::Every CloseMenuSoon() {
  return testing_support::Every(1, [] {
    const HWND menu = FindWindowA("#32768", nullptr);
    if (!menu || !IsWindowVisible(menu) || !Form1->BarPopupMenu1->BarDrawn()) return true;
    PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    return false;
  });
}

}  // namespace

int main() {
  const hotkeys::Module hotKeyModule(hotkeys::Win32KeyboardLayout());
  ui::TApplication app;
  app.Initialize();
  CreateWindows(app);

  Form1->CheckBox4->SetChecked(true);
  Form1->Edit1->SetText("30");
  // Whether the popup painted its whole bar.
  const auto popup = [] {
    const auto closer = CloseMenuSoon();
    Form1->BarPopupMenu1->Popup(100, 100);
    return Form1->BarPopupMenu1->BarDrawn();
  };
  const auto notice = [] {
    const testing_support::Every answer(1, [] {
      if (!Form2->Visible()) return true;
      PostMessageA(Form2->Button2->Handle(), BM_CLICK, 0, 0);
      return false;
    });
    power::ShowOperationNotice("Shut Down");
  };
  // One of each first, so that caches (fonts, themes, the menu's window) are filled.
  popup();
  notice();
  const int atStart = LiveGdiObjects();
  int barsDrawn = 0;
  for (int i = 0; i < 300; ++i) barsDrawn += popup();
  const int afterMenus = LiveGdiObjects();
  for (int i = 0; i < 200; ++i) notice();
  const int afterNotices = LiveGdiObjects();
  std::printf("baseline GDI objects at start: %d objects\n", atStart);
  std::printf("GDI objects after 300 menu popups: %d objects\n", afterMenus);
  std::printf("GDI objects after 200 notices: %d objects\n", afterNotices);
  std::printf("menu popups that painted their whole bar: %d of 300\n", barsDrawn);
  return afterMenus == atStart && afterNotices == atStart && barsDrawn == 300 ? 0 : 1;
}
