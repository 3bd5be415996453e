// The masked edit's editing rules with the set-time mask "!90:00;1;_".
#include "ui/EditMask.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Replays keys on a fresh editor: digits and characters are typed, '<' is
// Backspace, '#' is Delete, '^' puts the caret at the start.
struct Session {
  const char* keys;
  const char* text;
  const char* display;
};

std::string Replay(ui::EditMask& mask, const char* keys) {
  for (const char* k = keys; *k; ++k) {
    switch (*k) {
      case '<': mask.Backspace(); break;
      case '#': mask.Delete(); break;
      case '^': mask.Select(0, 0); break;
      default: mask.Type(*k);
    }
  }
  return mask.Text();
}

TEST(EditMask, TimeMaskTypingOverwritingAndDeleting) {
  const Session sessions[] = {
      {"", "  :  ", "__:__"},
      {"0730", "07:30", "07:30"},
      {" 730", " 7:30", "_7:30"},
      {"7", "7 :  ", "7_:__"},
      {"07:30", "07:30", "07:30"},    // a typed colon is refused; the literal is skipped anyway
      {"0730123", "07:30", "07:30"},  // nothing after the last position
      {"0730^2", "27:30", "27:30"},   // overwrite, never insert
      {"0730<", "07:3 ", "07:3_"},
      {"0730<<<", "0 :  ", "0_:__"},  // Backspace steps back over the colon
      {"0730^#", " 7:30", "_7:30"},   // Delete blanks the position, nothing shifts
      {"a7b3", "73:  ", "73:__"},     // letters are refused
      {"1 ", "1 :  ", "1_:__"},       // a blank is refused at a required digit
      {"^<", "  :  ", "__:__"},
  };
  for (const auto& s : sessions) {
    ui::EditMask mask("!90:00;1;_");
    EXPECT_EQ(Replay(mask, s.keys), s.text) << s.keys;
    EXPECT_EQ(mask.DisplayText(), s.display) << s.keys;
  }
}

TEST(EditMask, SelectionIsBlankedByTheNextKey) {
  ui::EditMask mask("!90:00;1;_");
  mask.SetText("12:45");
  mask.Select(1, 4);
  EXPECT_TRUE(mask.Type('9'));
  EXPECT_EQ(mask.Text(), "19: 5");
  EXPECT_EQ(mask.Caret(), 3u);
  mask.Select(0, 5);
  mask.Backspace();
  EXPECT_EQ(mask.Text(), "  :  ");
  EXPECT_FALSE(mask.Type('x'));
}

TEST(EditMask, SetTextTakesEachPositionOrABlank) {
  const struct {
    const char* in;
    const char* text;
  } cases[] = {
      {"07:30", "07:30"}, {" 7:30", " 7:30"}, {"", "  :  "}, {"7", "7 :  "},
      {"ab:cd", "  :  "}, {"0730", "07:0 "}, {"12:345", "12:34"},
  };
  for (const auto& c : cases) {
    ui::EditMask mask("!90:00;1;_");
    mask.SetText(c.in);
    EXPECT_EQ(mask.Text(), c.text) << c.in;
  }
}

TEST(EditMask, OtherMaskCharactersAndEscapes) {
  ui::EditMask mask("LL\\-00;1;*");
  EXPECT_EQ(mask.DisplayText(), "**-**");
  EXPECT_EQ(Replay(mask, "a1b-23"), "ab-23");
  ui::EditMask any("cc;1;_");
  EXPECT_EQ(Replay(any, "%"), "% ");
}

}  // namespace
