// The rule every text read from outside obeys, wherever it comes from (a
// staff list's cell, a command-line option, a paste into a field): no
// control character. U+0000 to U+001F and U+007F are refused, the tab
// excepted; line breaks (LF, CR) only where the caller allows them. The
// bidirectional controls (U+202A to U+202E, U+2066 to U+2069) are formatting
// characters, not control characters: they are kept.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace paydata {

struct ControlCharacter {
    char32_t code = 0;        // U+0000 .. U+001F or U+007F
    std::size_t position = 0; // which character of the text, from 1 (UTF-8 sequences count one)
};

enum class LineBreaks : bool { Refused, Allowed };

// The first control character of the UTF-8 text, if any.
std::optional<ControlCharacter> FindControlCharacter(std::string_view text, LineBreaks lineBreaks);

// "U+0000": the code as the messages name it.
std::string CodeName(char32_t code);

// Whether the bytes are whole, shortest UTF-8 sequences of Unicode scalar
// values (no surrogate, nothing beyond U+10FFFF).
bool IsUtf8(std::string_view text);

// The text without the characters of `edges` at its ends: blanks, unless told.
std::string_view Trim(std::string_view text, std::string_view edges = " \t");

// Digits with at most one point ("1500.50", "12", ".5"); digits only for a whole number.
bool IsDecimal(std::string_view text, bool whole = false);

} // namespace paydata
