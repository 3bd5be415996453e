// The editing rules of a masked edit, apart from any window.
//
// A mask "!90:00;1;_" has three fields: the mask characters, whether literals
// are kept in the text ("1"), and the character shown for an unfilled
// position ("_"). Mask characters: 0 digit required, 9 digit optional,
// L letter required, l letter optional, A letter or digit required, a letter
// or digit optional, C any character required, c any optional; "\" makes the
// next character a literal; "!" is accepted (an optional character left out
// stays a leading blank, which is how this editor always keeps blanks);
// everything else is a literal. Every position holds one character, so typing
// overwrites and deleting leaves a blank: the text never shifts.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

namespace ui {

class EditMask {
 public:
  explicit EditMask(const std::string& mask);

  std::size_t Length() const { return cells_.size(); }
  // The text with blanks as spaces, literals included: "07:30", " 7:30", "  :  ".
  std::string Text() const;
  // What the edit shows: blanks as the blank character: "__:__".
  std::string DisplayText() const;
  // Takes the text position by position; a character the position refuses
  // becomes a blank.
  void SetText(const std::string& text);

  std::size_t Caret() const { return caret_; }
  // Places the caret (and clears the selection) or selects [start, end).
  void Select(std::size_t start, std::size_t end);
  // A typed character: clears the selection, then overwrites the next
  // editable position from the caret if the mask allows the character there.
  // A blank is accepted at an optional position. Returns false when refused.
  bool Type(char c);
  // Blanks the selection, or else the editable position before the caret.
  void Backspace();
  // Blanks the selection, or else the editable position at the caret.
  void Delete();

 private:
  struct Cell {
    char mask;  // 0 for a literal
    char value;
  };
  bool Editable(std::size_t i) const { return cells_[i].mask != 0; }
  bool Accepts(char mask, char c) const;
  bool ClearSelection();

  std::vector<Cell> cells_;
  char blank_ = '_';
  std::size_t caret_ = 0, selEnd_ = 0;
};

}  // namespace ui
