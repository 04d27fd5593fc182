#include "paycalc/key_rules.h"

#include "paydata/text_rules.h"

namespace paycalc {

namespace {

constexpr std::int16_t kBackspace = 8;
constexpr std::int16_t kPoint = 46;
constexpr std::int16_t kDigitZero = 48;
constexpr std::int16_t kDigitNine = 57;

// Bytes of a UTF-8 text: ASCII is a byte of its own, every byte of a longer
// sequence is 0x80 or above and carries the key code 0.
std::int16_t KeyCode(char byte)
{
    const auto b = static_cast<unsigned char>(byte);
    return b < 0x80 ? static_cast<std::int16_t>(b) : std::int16_t{0};
}

} // namespace

std::int16_t gWriteOnleNumber(std::int16_t &IntKeyAscii)
{
    return IntKeyAscii == kPoint ? kPoint : gWriteOnleNumber1(IntKeyAscii);
}

std::int16_t gWriteOnleNumber1(std::int16_t &IntKeyAscii)
{
    const bool digit = IntKeyAscii >= kDigitZero && IntKeyAscii <= kDigitNine;
    return digit || IntKeyAscii == kBackspace ? IntKeyAscii : std::int16_t{0};
}

KeyFilter KeyFilterOf(Field typed) { return typed == Field::Text23 ? &gWriteOnleNumber1 : &gWriteOnleNumber; }

std::string FilterTyped(KeyFilter filter, std::string_view typed)
{
    std::string passed;
    for (char c : typed) {
        std::int16_t code = KeyCode(c);
        if (const std::int16_t result = filter(code); result != 0) passed += static_cast<char>(result);
    }
    return passed;
}

bool FilterAcceptsText(KeyFilter filter, std::string_view text)
{
    // The rule of every text read from outside: no control character.
    if (paydata::FindControlCharacter(text, paydata::LineBreaks::Refused)) return false;
    for (char c : text) {
        std::int16_t code = KeyCode(c);
        if (code == 0 || filter(code) != code) return false;
    }
    return true;
}

} // namespace paycalc
