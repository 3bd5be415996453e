// The main window's popup menu and the file-open dialog, driven as a user
// would under Wine.
#include <gtest/gtest.h>

#include <cstdio>

#include "support/Dormix.h"
#include "support/Forms.h"
#include "support/Pump.h"

namespace {

using testing_support::Every;

using MenusTest = testing_support::FormsTest;

HWND VisibleWindow(const char* className) {
  const HWND w = FindWindowA(className, nullptr);
  return w && IsWindowVisible(w) ? w : nullptr;
}

TEST_F(MenusTest, KeysChooseAnItemOfThePopupMenuAndItsCommandRuns) {
  const bool disabled = Form1->StopSystem1->checked;
  // Down selects "Main", a second Down the clock switch.
  const Every chooseClockSwitch(300, [] {
    const HWND menu = VisibleWindow("#32768");
    if (!menu) return true;
    testing_support::Screenshot("popup-menu");
    for (WPARAM key : {VK_DOWN, VK_DOWN, VK_RETURN}) PostMessageA(menu, WM_KEYDOWN, key, 0);
    return false;
  });
  Form1->BarPopupMenu1->Popup(200, 150);
  EXPECT_TRUE(testing_support::ProcessUntil([&] { return Form1->StopSystem1->checked != disabled; }))
      << "the clock switch toggles its own check mark";
}

TEST_F(MenusTest, ACancelledMenuRunsNothing) {
  const bool disabled = Form1->StopSystem1->checked;
  const Every cancelMenu(300, [] {
    const HWND menu = VisibleWindow("#32768");
    if (!menu) return true;
    PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    return false;
  });
  Form1->BarPopupMenu1->Popup(200, 150);
  ASSERT_TRUE(testing_support::ProcessPosted());
  EXPECT_EQ(Form1->StopSystem1->checked, disabled);
  EXPECT_FALSE(VisibleWindow("#32768"));
}

// The dialog's file-type list holds the filter's descriptions; choosing a
// file sets the name, cancelling keeps the old one.
TEST_F(MenusTest, TheOpenDialogOffersTheFilterAndReturnsTheChosenFile) {
  std::fclose(std::fopen("chime.wav", "wb"));
  static bool offersWave, offersMp3;
  offersWave = offersMp3 = false;
  static const char* answer;
  for (const char* a : {"chime.wav", ""}) {
    answer = a;
    const Every answerDialog(300, [] {
      const HWND dialog = VisibleWindow("#32770");
      if (!dialog) return true;
      for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if (testing_support::ClassOf(c) == "ComboBox") {
          offersWave |= SendMessageA(c, CB_FINDSTRINGEXACT, -1, reinterpret_cast<LPARAM>("Wave File")) >= 0;
          offersMp3 |= SendMessageA(c, CB_FINDSTRINGEXACT, -1, reinterpret_cast<LPARAM>("Mp3 File")) >= 0;
        }
      }
      testing_support::Screenshot("open-dialog");
      if (*answer) {
        SetDlgItemTextA(dialog, 0x47C, answer);  // the file-name box (cmb13)
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
      } else {
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
      }
      return false;
    });
    const bool chosen = Form1->OpenDialog1->Execute();
    EXPECT_EQ(chosen, *answer != 0);
    EXPECT_NE(Form1->OpenDialog1->fileName.find("chime.wav"), std::string::npos);
  }
  EXPECT_TRUE(offersWave);
  EXPECT_TRUE(offersMp3);
}

}  // namespace
