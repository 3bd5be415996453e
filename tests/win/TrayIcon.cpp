// The main window's tray icon on Wine's taskbar: added, changed and removed
// as the user sees it, and its menu opened by a real right click and closed
// by a click elsewhere or by Esc.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "support/Dormix.h"
#include "support/Forms.h"
#include "support/Input.h"
#include "support/Pump.h"

namespace {

using testing_support::kFirstTrayIcon;
using testing_support::PumpUntil;
using testing_support::TrayIconPixels;

using TrayIconTest = testing_support::FormsTest;

tray::IconHandle Value(HICON icon) { return static_cast<tray::IconHandle>(reinterpret_cast<std::uintptr_t>(icon)); }

TEST_F(TrayIconTest, TheIconIsAddedChangedAndRemovedOnTheTaskbar) {
  tray::TTarvelTrayIcon& icon = *Form1->TarvelTrayIcon1;
  const HWND window = FindWindowExA(HWND_MESSAGE, nullptr, "TTarvelTrayIconWindow", nullptr);
  ASSERT_TRUE(window) << "a message-only window";

  // The program's start-up showed the icon: take it away first, once the
  // taskbar shows it (an empty place is one colour).
  EXPECT_TRUE(PumpUntil(testing_support::TrayIconShown)) << "shown at start";
  icon.SetActive(false);
  EXPECT_TRUE(PumpUntil([] { return !testing_support::TrayIconShown(); })) << "removed at first";
  const std::string empty = TrayIconPixels();
  icon.SetTip("A tip of more than sixty-three characters is cut where the shell's record ends");
  icon.SetActive(true);
  EXPECT_TRUE(PumpUntil([&] { return TrayIconPixels() != empty; })) << "added";
  const std::string stored = TrayIconPixels();
  EXPECT_TRUE(testing_support::MovePointer(kFirstTrayIcon));
  EXPECT_TRUE(PumpUntil([] {
    const HWND tip = FindWindowA("tooltips_class32", nullptr);
    return tip && IsWindowVisible(tip);
  }));
  testing_support::Screenshot("tray-icon");
  const ui::unique_hicon clock = Form1->ImageList2->Icon(0, GetSystemMetrics(SM_CXSMICON));
  icon.SetIcon(Value(clock.get()));
  EXPECT_TRUE(PumpUntil([&] { return TrayIconPixels() != stored && TrayIconPixels() != empty; })) << "changed";
  icon.SetActive(false);
  EXPECT_TRUE(PumpUntil([&] { return TrayIconPixels() == empty; })) << "removed";
}

// The menu's modal loop runs inside the click's handler on this thread: a
// timer watches it, closes it as the user would, and, should that not work
// within the deadline, closes it with a key posted to the menu itself.
TEST_F(TrayIconTest, ARightClickOpensTheMenuAndAClickElsewhereOrEscClosesIt) {
  tray::TTarvelTrayIcon& icon = *Form1->TarvelTrayIcon1;
  icon.SetActive(true);
  static const struct {
    const char* how;
    void (*close)();
  } closings[] = {
      {"a click elsewhere",
       [] {
         EXPECT_TRUE(testing_support::MovePointer({400, 300}));
         testing_support::MouseClick(1);
       }},
      {"Esc", [] { testing_support::PressKey(VK_ESCAPE); }},
  };
  for (const auto& closing : closings) {
    SCOPED_TRACE(closing.how);
    DWORD openedAt = 0;
    bool forced = false;
    bool released = false;
    icon.OnMouseUp = [&](ui::TComponent&, tray::TMouseButton button, int, int) { released = button == tray::mbRight; };
    const testing_support::Every watch(100, [&] {
      const HWND menu = FindWindowA("#32768", nullptr);
      const bool open = menu && IsWindowVisible(menu);
      if (open && !openedAt) {
        openedAt = GetTickCount();
        testing_support::Screenshot("tray-menu");
        closing.close();
      } else if (open && GetTickCount() - openedAt > 10000) {
        forced = true;
        PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
      }
      return !openedAt || open;
    });
    ASSERT_TRUE(testing_support::MovePointer(kFirstTrayIcon));
    const testing_support::Sent click = testing_support::MouseClick(3);
    EXPECT_TRUE(PumpUntil([&] { return released; }, 30000)) << click;
    EXPECT_TRUE(openedAt) << "no menu opened";
    EXPECT_FALSE(forced) << "the menu stayed open";
  }
  icon.OnMouseUp = nullptr;
  icon.SetActive(false);
}

}  // namespace
