// The lock panel under Wine: typed passwords, the close gate, and the answer
// to the end-of-session query.
#include <gtest/gtest.h>

#include <string>

#include "support/Forms.h"
#include "support/Keys.h"

namespace {

using testing_support::PressKey;
using testing_support::Settle;

class ProtectionTest : public testing_support::FormsTest {
 protected:
  void SetUp() override {
    protection::CloseAllowed = false;
    Form4->MaskEdit1->SetText("");
  }
  void TearDown() override {
    protection::CloseAllowed = true;
    Form4->Close();
  }
  // Shows the panel and types the keys: letters (lower case unless Shift is
  // asked for with '^' before one), digits and '\r' for Enter.
  static void Type(const char* keys) {
    for (const char* k = keys; *k; ++k) {
      if (*k == '^') PressKey(static_cast<WORD>(*++k), {VK_SHIFT});
      else PressKey(*k == '\r' ? VK_RETURN : static_cast<WORD>(*k));
      Settle(60);
    }
    Settle();
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
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.password) + " typed " + c.keys);
    CurrentPassword = c.password;
    protection::CloseAllowed = false;
    Form4->MaskEdit1->SetText("");
    Form4->ShowPanel();
    Settle();
    Type(c.keys);
    EXPECT_EQ(Form4->Visible(), c.visibleAfter);
    EXPECT_EQ(protection::CloseAllowed, !c.visibleAfter);
    protection::CloseAllowed = true;
    Form4->Close();
  }
}

TEST_F(ProtectionTest, ALockedPanelRefusesCloseRequestsAndTheEndOfTheSession) {
  CurrentPassword = "secret";
  Form4->ShowPanel();
  Settle();
  Type("SEC");
  PostMessageA(Form4->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
  PostMessageA(Form4->Handle(), WM_CLOSE, 0, 0);
  Settle();
  EXPECT_TRUE(Form4->Visible());
  EXPECT_FALSE(SessionMayEnd());
  Type("RET\r");
  EXPECT_FALSE(Form4->Visible());
  EXPECT_TRUE(SessionMayEnd());
}

TEST_F(ProtectionTest, ShownAgainAfterAnUnlockByEnterTheFirstKeyOrACloseRequestClosesIt) {
  CurrentPassword = "pw";
  Form4->ShowPanel();
  Settle();
  Type("PW\r");
  ASSERT_FALSE(Form4->Visible());
  EXPECT_EQ(Form4->MaskEdit1->Text(), "pw") << "the field keeps its text";

  Form4->ShowPanel();
  Settle();
  Type("Z");
  EXPECT_FALSE(Form4->Visible());

  Form4->MaskEdit1->SetText("pw");
  Form4->ShowPanel();
  Settle();
  PostMessageA(Form4->Handle(), WM_CLOSE, 0, 0);
  Settle();
  EXPECT_FALSE(Form4->Visible()) << "still closable before any key";
}

}  // namespace
