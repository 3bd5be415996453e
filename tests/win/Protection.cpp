// The lock panel under Wine: typed passwords, the close gate, and the answer
// to the end-of-session query.
#include <gtest/gtest.h>

#include <string>

#include "support/Forms.h"

namespace {

using testing_support::Press;
using testing_support::ProcessPosted;

class ProtectionTest : public testing_support::FormsTest {
 protected:
  void SetUp() override {
    protection::CloseAllowed = false;
    Form4->MaskEdit1->SetText("");
  }
  void TearDown() override { testing_support::ClosePanel(); }
  // Shows the panel and waits until typed keys reach its field.
  static void OpenPanel() {
    Form4->ShowPanel();
    EXPECT_TRUE(testing_support::TakesKeys(*Form4->MaskEdit1));
  }
  // Types the keys, each handled before the next: letters (lower case unless
  // Shift is asked for with '^' before one), digits, '\r' for Enter, '\x1b'
  // for Esc and '\t' for Tab.
  static void Type(const char* keys) {
    for (const char* k = keys; *k; ++k) {
      const WORD vk = *k == '\r' ? VK_RETURN : *k == '\x1b' ? VK_ESCAPE : *k == '\t' ? VK_TAB : static_cast<WORD>(*k);
      ASSERT_TRUE(*k == '^' ? Press(static_cast<WORD>(*++k), {VK_SHIFT}) : Press(vk)) << "key " << *k;
    }
  }
  static bool SessionMayEnd() {
    return SendMessageA(Form4->Handle(), WM_QUERYENDSESSION, 0, 0) != FALSE;
  }
};

TEST_F(ProtectionTest, ClosesAtTheFirstKeyAfterTheFieldHoldsThePassword) {
  const struct {
    const char* password;
    const char* keys;
    bool visibleAfter;
  } cases[] = {
      {"abc", "ABC", true},        // the comparisons see "", "a", "ab"
      {"abc", "ABC\r", false},     // Enter after the password
      {"abc", "ABCX", false},      // any character key after it
      {"Abc", "ABC\r", true},      // case counts
      {"Abc", "^ABC\r", false},
      {"abc", "ABD\r", true},      // a wrong password
      {"abc", "ABDC\r", true},     // more than the password
      {"", "X", false},            // empty password: the first key
      {"42", "42\r", false},
      {"abc", "ABC\x1b", false},  // Esc delivers a character like any other key
      {"abc", "ABC\t", true},     // Tab is a dialog key: it moves the focus, no character
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.password) + " typed " + c.keys);
    CurrentPassword = c.password;
    Form4->MaskEdit1->SetText("");
    OpenPanel();
    Type(c.keys);
    EXPECT_EQ(Form4->Visible(), c.visibleAfter);
    EXPECT_EQ(protection::CloseAllowed, !c.visibleAfter);
    testing_support::ClosePanel();
  }
}

TEST_F(ProtectionTest, ALockedPanelRefusesCloseRequestsAndTheEndOfTheSession) {
  CurrentPassword = "secret";
  OpenPanel();
  Type("SEC");
  PostMessageA(Form4->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
  PostMessageA(Form4->Handle(), WM_CLOSE, 0, 0);
  ASSERT_TRUE(ProcessPosted());
  EXPECT_TRUE(Form4->Visible());
  EXPECT_FALSE(SessionMayEnd());
  Type("RET\r");
  EXPECT_FALSE(Form4->Visible());
  EXPECT_TRUE(SessionMayEnd());
}

// Every showing locks anew: neither the open gate nor the password left in
// the field by the last unlock opens the panel again.
TEST_F(ProtectionTest, ShownAgainAfterAnUnlockItIsLockedWithItsFieldEmpty) {
  CurrentPassword = "pw";
  OpenPanel();
  Type("PW\r");
  ASSERT_FALSE(Form4->Visible());

  OpenPanel();
  EXPECT_EQ(Form4->MaskEdit1->Text(), "");
  PostMessageA(Form4->Handle(), WM_CLOSE, 0, 0);
  ASSERT_TRUE(ProcessPosted());
  Type("Z");
  EXPECT_TRUE(Form4->Visible()) << "opened without the password";
  EXPECT_FALSE(SessionMayEnd());
  Form4->MaskEdit1->SetText("");
  Type("PW\r");
  EXPECT_FALSE(Form4->Visible());
}

}  // namespace
