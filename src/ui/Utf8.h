// Text as characters: Dormix holds its texts in UTF-8, and every limit a
// user meets (a name's length, a caption, a tip, a quote) is counted in
// characters and cut between them, never inside one.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace ui {

// The characters of a UTF-8 text: its bytes that do not continue another.
std::size_t CharacterCount(std::string_view text);
// The longest start of the text that ends between two characters and holds
// at most `characters` characters and `bytes` bytes.
std::string_view FirstCharacters(std::string_view text, std::size_t characters,
                                 std::size_t bytes = std::string_view::npos);
// The text, or its first characters and "..." when it holds more than
// `characters`: at most `characters` in all.
std::string Shortened(std::string_view text, std::size_t characters);

}  // namespace ui
