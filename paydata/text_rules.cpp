#include "paydata/text_rules.h"

#include <cstdint>
#include <cstring>

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

bool IsUtf8(std::string_view text)
{
    const auto *s = reinterpret_cast<const unsigned char *>(text.data());
    const std::size_t n = text.size();
    std::size_t i = 0;
    // Plain ASCII, eight bytes at a time: most cells are.
    for (; i + 8 <= n; i += 8) {
        std::uint64_t word;
        std::memcpy(&word, s + i, 8);
        if (word & 0x8080808080808080ull) break;
    }
    while (i < n) {
        const unsigned char c = s[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        std::size_t length;
        unsigned min;
        unsigned code;
        // clang-format off
        if ((c & 0xE0) == 0xC0) { length = 2; min = 0x80; code = c & 0x1Fu; }
        else if ((c & 0xF0) == 0xE0) { length = 3; min = 0x800; code = c & 0x0Fu; }
        else if ((c & 0xF8) == 0xF0) { length = 4; min = 0x10000; code = c & 0x07u; }
        else return false;
        // clang-format on
        if (i + length > n) return false;
        for (std::size_t k = 1; k < length; ++k) {
            if ((s[i + k] & 0xC0) != 0x80) return false;
            code = (code << 6) | (s[i + k] & 0x3Fu);
        }
        if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
        i += length;
    }
    return true;
}

std::string_view Trim(std::string_view text, std::string_view edges)
{
    const std::size_t first = text.find_first_not_of(edges);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(edges) - first + 1);
}

bool IsDecimal(std::string_view text, bool whole)
{
    std::size_t digits = 0, points = 0;
    for (char c : text) {
        if (c >= '0' && c <= '9') ++digits;
        else if (c == '.' && !whole) ++points;
        else return false;
    }
    return digits > 0 && points <= 1;
}

} // namespace paydata
