// Real right clicks (through the X server) on every window the running
// dormix.exe shows: the options window, About, the notice and the lock
// panel. Only the options window opens a menu. The input after each click,
// a click on the window's button or a key typed into the panel, shows that
// Dormix has read it: a menu opened by the right click would take that
// input instead. Dormix keeps running, and the panel stays locked.
#include <gtest/gtest.h>

#include <string>

#include "protection/PasswordScrambler.h"
#include "support/Dormix.h"
#include "support/Input.h"
#include "support/Pump.h"

namespace {

using namespace testing_support;

// Right-clicks a shown window of Dormix below its caption; the menu it
// opens, if `opensMenu`, is closed with Esc.
void RightClick(Process& dormix, const char* className, bool opensMenu) {
  const HWND window = Shown(dormix, className);
  ASSERT_TRUE(window) << className;
  RECT r;
  GetWindowRect(window, &r);
  ASSERT_TRUE(MovePointer({(r.left + r.right) / 2, r.top + 40}));
  const Sent click = MouseClick(3);
  if (!opensMenu) return;
  HWND menu = nullptr;
  ASSERT_TRUE(PumpUntil([&] { return (menu = FindWindowA("#32768", nullptr)) && IsWindowVisible(menu); }))
      << "no menu " << click;
  Screenshot(std::string("right-click-") + className);
  EXPECT_TRUE(CloseWithEsc(menu));
}

// Clicks the button of that caption with the mouse; its window hides.
void ClickToClose(Process& dormix, const char* className, const char* caption) {
  const HWND window = WaitForWindow(dormix.Id(), className);
  const Sent click = ClickWithMouse(FindControl(window, "Button", caption));
  EXPECT_TRUE(Hidden(window)) << className << " stayed " << click;
}

TEST(RightClicks, EveryShownWindowSurvivesThemAndTheLockedPanelStaysLocked) {
  Store("Operation", "Password", protection::ScramblePassword("E", "z", protection::ScrambleKey));
  Store("Operation", "ForceAction", "0");
  const SessionProbe refusing(true);  // should the notice count down to its end
  Process dormix(DormixExe());
  ASSERT_TRUE(WaitSettled(dormix));

  EXPECT_TRUE(ChooseFromTrayMenu(kMain));  // the options window, modal
  RightClick(dormix, "TForm1", true);
  ClickToClose(dormix, "TForm1", "Cancel");

  EXPECT_TRUE(ChooseFromTrayMenu(kAbout));
  RightClick(dormix, "TForm3", false);
  ClickToClose(dormix, "TForm3", "Ok");

  // The notice, counting down from its stored default of 15 seconds.
  EXPECT_TRUE(ChooseFromTrayMenu(kRestart));
  RightClick(dormix, "TForm2", false);
  ClickToClose(dormix, "TForm2", "Cancel");

  EXPECT_TRUE(ChooseFromTrayMenu(kProtectionPanel));
  RightClick(dormix, "TForm4", false);
  Screenshot("right-click-panel");
  const HWND panel = WaitForWindow(dormix.Id(), "TForm4"), field = FindControl(panel, "Edit", "");
  ASSERT_TRUE(PumpUntil([&] { return TakesKeys(field); })) << "the panel has no keyboard";
  const Sent z = PressKey('Z');
  EXPECT_TRUE(PumpUntil([&] { return ShownText(field) == "z"; })) << ShownText(field) << " " << z;
  EXPECT_TRUE(IsWindowVisible(panel));
  EXPECT_EQ(SendMessageA(panel, WM_QUERYENDSESSION, 0, 0), FALSE) << "the panel is still locked";
  const Sent enter = PressKey(VK_RETURN);
  EXPECT_TRUE(Hidden(panel)) << "the panel stayed " << enter;
  EXPECT_TRUE(dormix.Running());
}

// A close request from another program (as a polite task kill sends it) to
// the hidden main window or the application window ends Dormix cleanly.
TEST(RightClicks, ACloseRequestToTheHiddenWindowsEndsDormixWithCodeZero) {
  for (const char* className : {"TForm1", "TApplication"}) {
    Process dormix(DormixExe());
    ASSERT_TRUE(WaitSettled(dormix));
    PostMessageA(WaitForWindow(dormix.Id(), className), WM_CLOSE, 0, 0);
    EXPECT_EQ(dormix.WaitExit(), 0u) << className;
  }
}

}  // namespace
