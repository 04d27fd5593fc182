#include "paydata/text_rules.h"

namespace paydata {

std::optional<ControlCharacter> FindControlCharacter(std::string_view text, LineBreaks lineBreaks)
{
    // The control characters are single bytes in UTF-8, and no byte of a
    // longer sequence is below 0x80: a byte at a time finds them.
    std::size_t position = 0;
    for (char ch : text) {
        const auto byte = static_cast<unsigned char>(ch);
        if ((byte & 0xC0) != 0x80) ++position; // a byte that starts a character
        if (byte >= 0x20 && byte != 0x7F) continue;
        if (byte == '\t') continue;
        if ((byte == '\n' || byte == '\r') && lineBreaks == LineBreaks::Allowed) continue;
        return ControlCharacter{static_cast<char32_t>(byte), position};
    }
    return std::nullopt;
}

std::string CodeName(char32_t code)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string digits;
    for (int shift = 12; shift >= 0; shift -= 4) digits += kHex[(code >> shift) & 0xFu];
    if (code > 0xFFFF) digits.insert(0, 1, kHex[(code >> 16) & 0xFu]);
    return "U+" + digits;
}

} // namespace paydata
