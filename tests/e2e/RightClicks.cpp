// Real right clicks (xdotool, through the X server) on every window the
// running dormix.exe shows: the options window, About, the notice and the
// lock panel. Dormix keeps running, and the panel stays locked.
#include <gtest/gtest.h>

#include <string>

#include "support/Dormix.h"
#include "support/Pump.h"

namespace {

using namespace testing_support;

// Everything queued for Dormix before this call has been handled.
void RoundTrip(Process& dormix, HWND window) {
  DWORD_PTR answer = 0;
  SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &answer);
  WaitForInputIdle(dormix.Handle(), 10000);
}

// Right-clicks the middle of a shown window of Dormix. A popup menu it opens
// is closed again with Esc.
void RightClick(Process& dormix, const char* className) {
  const HWND window = WaitForWindow(dormix.Id(), className);
  ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(window) != FALSE; })) << className;
  RECT r;
  GetWindowRect(window, &r);
  const POINT at{(r.left + r.right) / 2, r.top + 40};
  XDoTool("mousemove " + std::to_string(at.x) + " " + std::to_string(at.y) + " click 3");
  // Only the options window has a menu to show; for the others nothing must
  // happen, so the click is given a bounded second to arrive.
  const bool hasMenu = std::string(className) == "TForm1";
  HWND menu = nullptr;
  PumpUntil([&] { return (menu = FindWindowA("#32768", nullptr)) && IsWindowVisible(menu); }, hasMenu ? 10000 : 1000);
  EXPECT_EQ(menu && IsWindowVisible(menu), hasMenu) << className;
  if (menu && IsWindowVisible(menu)) {
    Screenshot(std::string("right-click-") + className);
    EXPECT_TRUE(PumpUntil([&] {
      PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
      return PumpUntil([&] { return !IsWindowVisible(menu); }, 300);
    }));
  }
  RoundTrip(dormix, window);
  EXPECT_TRUE(dormix.Running()) << "after a right click on " << className;
  EXPECT_TRUE(IsWindowVisible(window)) << className;
}

void ClickButton(Process& dormix, const char* className, const char* caption) {
  const HWND button = FindControl(WaitForWindow(dormix.Id(), className), "Button", caption);
  ASSERT_TRUE(button) << caption;
  PostMessageA(button, BM_CLICK, 0, 0);
  const HWND window = WaitForWindow(dormix.Id(), className);
  EXPECT_TRUE(PumpUntil([&] { return !IsWindowVisible(window); })) << className;
}

TEST(RightClicks, EveryShownWindowSurvivesThemAndTheLockedPanelStaysLocked) {
  Process dormix(DormixExe());
  WaitSettled(dormix);

  ChooseMenuCommand(dormix, 1001);  // Main: the options window, modal
  RightClick(dormix, "TForm1");
  ClickButton(dormix, "TForm1", "Cancel");

  ChooseMenuCommand(dormix, 1005);  // About ...
  RightClick(dormix, "TForm3");
  ClickButton(dormix, "TForm3", "Ok");

  // The notice, counting down from its stored default of 15 seconds.
  ChooseMenuCommand(dormix, 2005);  // Restart
  RightClick(dormix, "TForm2");
  ClickButton(dormix, "TForm2", "Cancel");

  ChooseMenuCommand(dormix, 2008);  // Protection Panel
  RightClick(dormix, "TForm4");
  Screenshot("right-click-panel");
  EXPECT_EQ(SendMessageA(WaitForWindow(dormix.Id(), "TForm4"), WM_QUERYENDSESSION, 0, 0), FALSE)
      << "the panel is still locked";
}

// A close request from another program (as a polite task kill sends it) to
// the hidden main window or the application window ends Dormix cleanly.
TEST(RightClicks, ACloseRequestToTheHiddenWindowsEndsDormixWithCodeZero) {
  for (const char* className : {"TForm1", "TApplication"}) {
    Process dormix(DormixExe());
    WaitSettled(dormix);
    PostMessageA(WaitForWindow(dormix.Id(), className), WM_CLOSE, 0, 0);
    EXPECT_EQ(dormix.WaitExit(), 0u) << className;
  }
}

}  // namespace
