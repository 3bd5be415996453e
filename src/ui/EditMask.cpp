// Masked-edit rules.
#include "ui/EditMask.h"

#include <cctype>
#include <string_view>

namespace ui {

EditMask::EditMask(const std::string& mask) {
  const auto semi = mask.find(';');
  const std::string chars = mask.substr(0, semi);
  if (semi != std::string::npos) {
    const auto second = mask.find(';', semi + 1);
    if (second != std::string::npos && second + 1 < mask.size()) blank_ = mask[second + 1];
  }
  for (std::size_t i = 0; i < chars.size(); ++i) {
    const char c = chars[i];
    if (c == '!') continue;
    if (c == '\\' && i + 1 < chars.size()) {
      cells_.push_back({0, chars[++i]});
    } else if (std::string_view("09LlAaCc").find(c) != std::string_view::npos) {
      cells_.push_back({c, ' '});
    } else {
      cells_.push_back({0, c});
    }
  }
}

std::string EditMask::Text() const {
  std::string text;
  for (const Cell& cell : cells_) text += cell.value;
  return text;
}

std::string EditMask::DisplayText() const {
  std::string text;
  for (const Cell& cell : cells_) text += cell.mask && cell.value == ' ' ? blank_ : cell.value;
  return text;
}

bool EditMask::Accepts(char mask, char c) const {
  const auto u = static_cast<unsigned char>(c);
  if (c == ' ') return std::islower(static_cast<unsigned char>(mask)) || mask == '9';
  switch (mask) {
    case '0': case '9': return std::isdigit(u) != 0;
    case 'L': case 'l': return std::isalpha(u) != 0;
    case 'A': case 'a': return std::isalnum(u) != 0;
    default: return u >= 32;
  }
}

void EditMask::SetText(const std::string& text) {
  for (std::size_t i = 0; i < cells_.size(); ++i) {
    if (!Editable(i)) continue;
    const char c = i < text.size() ? text[i] : ' ';
    cells_[i].value = c != ' ' && Accepts(cells_[i].mask, c) ? c : ' ';
  }
  Select(0, 0);
}

void EditMask::Select(std::size_t start, std::size_t end) {
  caret_ = start < cells_.size() ? start : cells_.size();
  selEnd_ = end > caret_ ? (end < cells_.size() ? end : cells_.size()) : caret_;
}

bool EditMask::ClearSelection() {
  if (selEnd_ == caret_) return false;
  for (std::size_t i = caret_; i < selEnd_; ++i)
    if (Editable(i)) cells_[i].value = ' ';
  selEnd_ = caret_;
  return true;
}

bool EditMask::Type(char c) {
  std::size_t p = caret_;
  while (p < cells_.size() && !Editable(p)) ++p;
  if (p >= cells_.size() || !Accepts(cells_[p].mask, c)) return false;
  ClearSelection();
  cells_[p].value = c;
  ++p;
  while (p < cells_.size() && !Editable(p)) ++p;
  caret_ = selEnd_ = p;
  return true;
}

void EditMask::Backspace() {
  if (ClearSelection()) return;
  std::size_t p = caret_;
  while (p > 0 && !Editable(p - 1)) --p;
  if (p == 0) return;
  cells_[p - 1].value = ' ';
  caret_ = selEnd_ = p - 1;
}

void EditMask::Delete() {
  if (ClearSelection()) return;
  if (caret_ < cells_.size() && Editable(caret_)) cells_[caret_].value = ' ';
}

}  // namespace ui
