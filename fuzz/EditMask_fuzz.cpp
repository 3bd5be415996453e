// The masked edit's rules: a mask, a text set, then typing, Backspace,
// Delete, selections and texts set, in any order.
//
// After every step the text keeps its length and its literals; an editable
// position holds a blank or a character its mask character allows; the caret
// stays within the text; a refused key changes nothing; Backspace and Delete
// only blank; setting the text it already has changes nothing.
#include <fuzzer/FuzzedDataProvider.h>

#include <cctype>
#include <cstdint>
#include <string>
#include <vector>

#include "Check.h"
#include "ui/EditMask.h"

namespace {

// The mask characters of the positions, 0 for a literal, read from the rules.
struct Position {
  char mask;
  char literal;
};

std::vector<Position> Positions(const std::string& mask) {
  const std::string chars = mask.substr(0, mask.find(';'));
  std::vector<Position> positions;
  for (std::size_t i = 0; i < chars.size(); ++i) {
    if (chars[i] == '!') continue;
    if (chars[i] == '\\' && i + 1 < chars.size())
      positions.push_back({0, chars[++i]});
    else if (std::string("09LlAaCc").find(chars[i]) != std::string::npos)
      positions.push_back({chars[i], 0});
    else
      positions.push_back({0, chars[i]});
  }
  return positions;
}

bool Allows(char mask, char c) {
  const auto u = static_cast<unsigned char>(c);
  switch (mask) {
    case '0': case '9': return std::isdigit(u);
    case 'L': case 'l': return std::isalpha(u);
    case 'A': case 'a': return std::isalnum(u);
    default: return u >= 32;
  }
}

void CheckState(const ui::EditMask& edit, const std::vector<Position>& positions) {
  const std::string text = edit.Text();
  FUZZ_CHECK(text.size() == positions.size());
  FUZZ_CHECK(edit.DisplayText().size() == positions.size());
  FUZZ_CHECK(edit.Caret() <= positions.size());
  for (std::size_t i = 0; i < positions.size(); ++i) {
    if (positions[i].mask == 0)
      FUZZ_CHECK(text[i] == positions[i].literal);
    else
      FUZZ_CHECK(text[i] == ' ' || Allows(positions[i].mask, text[i]));
  }
}

bool OnlyBlanked(const std::string& before, const std::string& after) {
  for (std::size_t i = 0; i < before.size(); ++i)
    if (after[i] != before[i] && after[i] != ' ') return false;
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const std::string mask = input.ConsumeRandomLengthString(32);
  const std::vector<Position> positions = Positions(mask);
  ui::EditMask edit(mask);
  CheckState(edit, positions);
  edit.SetText(input.ConsumeRandomLengthString(40));
  CheckState(edit, positions);

  while (input.remaining_bytes() > 0) {
    const std::string before = edit.Text();
    const std::size_t caret = edit.Caret();
    switch (input.ConsumeIntegralInRange(0, 4)) {
      case 0:
        if (!edit.Type(input.ConsumeIntegral<char>())) {
          FUZZ_CHECK(edit.Text() == before);
          FUZZ_CHECK(edit.Caret() == caret);
        }
        break;
      case 1:
        edit.Backspace();
        FUZZ_CHECK(OnlyBlanked(before, edit.Text()));
        break;
      case 2:
        edit.Delete();
        FUZZ_CHECK(OnlyBlanked(before, edit.Text()));
        break;
      case 3: {
        const std::size_t start = input.ConsumeIntegralInRange<std::size_t>(0, positions.size() + 2);
        edit.Select(start, input.ConsumeIntegralInRange<std::size_t>(0, positions.size() + 2));
        FUZZ_CHECK(edit.Text() == before);
        break;
      }
      default: {
        edit.SetText(input.ConsumeRandomLengthString(40));
        ui::EditMask again = edit;
        again.SetText(edit.Text());
        FUZZ_CHECK(again.Text() == edit.Text());
        break;
      }
    }
    CheckState(edit, positions);
  }
  return 0;
}
