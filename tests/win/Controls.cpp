// The main window's controls driven with real key input under Wine: the
// hotkey controls' refusal rules, the masked set-time edit, tab order and
// initial focus of the windows.
#include <gtest/gtest.h>

#include "support/Forms.h"
#include "ui/Application.h"

namespace {

using testing_support::Press;
using testing_support::ProcessUntil;
using testing_support::TakesKeys;

class ControlsTest : public testing_support::FormsTest {
 protected:
  void TearDown() override {
    for (ui::TForm* f : {static_cast<ui::TForm*>(Form1), static_cast<ui::TForm*>(Form2),
                         static_cast<ui::TForm*>(Form3), static_cast<ui::TForm*>(Form4)})
      f->Hide();
  }
};

TEST_F(ControlsTest, HotKeyControlsRecordKeysWithoutModifierOrWithShiftAloneWithAlt) {
  Form1->Show();
  Form1->PageControl1->SetActivePage(*Form1->TabSheet3);
  const struct {
    WORD vk;
    std::initializer_list<WORD> modifiers;
    unsigned word;
  } presses[] = {
      {'F', {}, 0x8046},
      {'F', {VK_SHIFT}, 0x8046},
      {'F', {VK_CONTROL}, 0x4046},
      {'F', {VK_CONTROL, VK_SHIFT}, 0x6046},
      {'Q', {VK_CONTROL, VK_MENU}, 0xC051},  // Ctrl+Alt+S is the program's own hotkey
      {VK_F5, {VK_MENU}, 0x8074},
      {VK_F5, {}, 0x8074},
  };
  for (const auto& p : presses) {
    Form1->HotKey1->SetHotKey(0);
    Form1->HotKey1->SetFocus();
    ASSERT_TRUE(TakesKeys(*Form1->HotKey1));
    ASSERT_TRUE(Press(p.vk, p.modifiers));
    EXPECT_EQ(Form1->HotKey1->HotKey(), p.word) << std::hex << p.vk << " with " << p.modifiers.size();
  }
}

TEST_F(ControlsTest, HotKeyControlsCannotHoldWin) {
  const unsigned words[][2] = {{0x1C053, 0xC053}, {0x12041, 0x2041}, {0x8041, 0x8041}, {0, 0}};
  for (const auto& w : words) {
    Form1->HotKey2->SetHotKey(w[0]);
    EXPECT_EQ(Form1->HotKey2->HotKey(), w[1]);
  }
}

TEST_F(ControlsTest, TypingIntoTheSetTimeEditFollowsItsMask) {
  Form1->Show();
  Form1->PageControl1->SetActivePage(*Form1->TabSheet4);
  const struct {
    const char* keys;
    const char* text;
  } cases[] = {{"0730", "07:30"}, {" 730", " 7:30"}, {"2", "2 :  "}, {"12A34", "12:34"}};
  for (const auto& c : cases) {
    Form1->MaskEdit1->SetText("  :  ");
    Form1->MaskEdit1->SetFocus();
    ASSERT_TRUE(TakesKeys(*Form1->MaskEdit1));
    for (const char* k = c.keys; *k; ++k) ASSERT_TRUE(Press(*k == ' ' ? VK_SPACE : static_cast<WORD>(*k)));
    EXPECT_EQ(Form1->MaskEdit1->Text(), c.text) << c.keys;
  }
}

TEST_F(ControlsTest, EachWindowOpensWithItsDesignedFocusAndTabOrder) {
  Form2->Show();
  ASSERT_TRUE(TakesKeys(*Form2->Button1)) << "Cancel holds the focus";
  for (const ui::TButton* next : {Form2->Button2, Form2->Button3, Form2->Button1}) {
    ASSERT_TRUE(Press(VK_TAB));
    EXPECT_EQ(GetFocus(), next->Handle()) << next->Caption();
  }
  Form2->Hide();

  Form4->Show();
  EXPECT_TRUE(ProcessUntil([] { return GetFocus() == Form4->MaskEdit1->Handle(); }));
  Form4->Hide();

  Form3->Show();
  EXPECT_TRUE(ProcessUntil([] { return GetFocus() == Form3->BitBtn1->Handle(); }));
}

}  // namespace
