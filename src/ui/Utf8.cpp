// Counting and cutting UTF-8 by characters.
#include "ui/Utf8.h"

namespace ui {

namespace {
bool Continues(char byte) { return (static_cast<unsigned char>(byte) & 0xC0) == 0x80; }
}  // namespace

std::size_t CharacterCount(std::string_view text) {
  std::size_t count = 0;
  for (const char byte : text) count += !Continues(byte);
  return count;
}

std::string_view FirstCharacters(std::string_view text, std::size_t characters, std::size_t bytes) {
  std::size_t end = 0;
  for (std::size_t seen = 0; end < text.size() && end < bytes; ++end)
    if (!Continues(text[end]) && seen++ == characters) break;
  // Cut by the bytes inside a character: back to its first byte.
  if (end < text.size())
    while (end > 0 && Continues(text[end])) --end;
  return text.substr(0, end);
}

std::string Shortened(std::string_view text, std::size_t characters) {
  if (CharacterCount(text) <= characters) return std::string(text);
  return std::string(FirstCharacters(text, characters - 3)) + "...";
}

}  // namespace ui
