#include "paydata/number_text.h"

#include <algorithm>
#include <cmath>

#if !defined(__cpp_lib_to_chars)
// A standard library without floating-point from_chars and to_chars (libc++
// 13, the browser's): fast_float reads as from_chars does, correctly
// rounded, and snprintf writes with a given precision as to_chars does (the
// standard defines to_chars with a precision as printf's conversion).
#include <cstdio>
#include <fast_float/fast_float.h>
#endif

namespace paydata {

#if defined(__cpp_lib_to_chars)

namespace {

template <class T>
ShortText Short(T value, std::chars_format format, int digits)
{
    ShortText text;
    auto res = std::to_chars(text.chars.data(), text.chars.data() + text.chars.size(), value, format, digits);
    text.size = static_cast<std::size_t>(res.ptr - text.chars.data());
    return text;
}

} // namespace

std::from_chars_result ReadDouble(const char *first, const char *last, double &value)
{
    return std::from_chars(first, last, value, std::chars_format::general);
}

std::string FixedText(double value)
{
    std::array<char, 400> buf; // the fixed text of the largest double is 309 digits
    auto res = std::to_chars(buf.data(), buf.data() + buf.size(), value, std::chars_format::fixed);
    return std::string(buf.data(), res.ptr);
}

ShortText ScientificText(double value, int digits) { return Short(value, std::chars_format::scientific, digits); }
ShortText GeneralText(double value, int digits) { return Short(value, std::chars_format::general, digits); }
ShortText GeneralText(float value, int digits) { return Short(value, std::chars_format::general, digits); }

#else

namespace {

// printf's conversion of one double with a precision ("%.*e", "%.*g").
ShortText Printed(const char *format, int precision, double value)
{
    ShortText text;
    const int size = std::snprintf(text.chars.data(), text.chars.size(), format, precision, value);
    text.size = static_cast<std::size_t>(std::clamp(size, 0, static_cast<int>(text.chars.size()) - 1));
    return text;
}

// printf's fixed text of a double with `decimals` decimals, however long.
std::string Fixed(int decimals, double value)
{
    std::string text(static_cast<std::size_t>(std::snprintf(nullptr, 0, "%.*f", decimals, value)) + 1, '\0');
    std::snprintf(text.data(), text.size(), "%.*f", decimals, value);
    text.pop_back();
    return text;
}

// One unit more in the last decimal of a fixed text: "0.19" gives "0.20".
std::string Bumped(std::string text)
{
    for (auto digit = text.rbegin(); digit != text.rend() && *digit != '-'; ++digit) {
        if (*digit == '.') continue;
        if (*digit != '9') {
            ++*digit;
            return text;
        }
        *digit = '0';
    }
    text.insert(text[0] == '-' ? 1 : 0, 1, '1');
    return text;
}

} // namespace

std::from_chars_result ReadDouble(const char *first, const char *last, double &value)
{
    double read = 0;
    const fast_float::from_chars_result res = fast_float::from_chars(first, last, read,
                                                                     fast_float::chars_format::general);
    if (res.ec != std::errc()) return {res.ptr, res.ec};
    // fast_float gives infinity or zero where from_chars reports the number
    // out of range and leaves the value as it was.
    bool nonZeroDigit = false;
    for (const char *p = first; p != res.ptr && *p != 'e' && *p != 'E'; ++p) nonZeroDigit |= *p >= '1' && *p <= '9';
    if (std::isinf(read) || (read == 0 && nonZeroDigit)) return {res.ptr, std::errc::result_out_of_range};
    value = read;
    return {res.ptr, std::errc()};
}

// to_chars' shortest fixed text: the fewest decimals that read back to the
// same double, and of the texts with that many the nearest. printf gives the
// nearest; at a power of two the doubles above are twice as far apart as
// those below, so the text one unit further out may read back where the
// nearest does not.
std::string FixedText(double value)
{
    if (!std::isfinite(value)) return Fixed(0, value);
    // No text with fewer decimals than the place of the first digit reads back.
    const int first = value == 0 ? 0 : static_cast<int>(-std::floor(std::log10(std::fabs(value)))) - 1;
    for (int decimals = std::max(first, 0);; ++decimals) {
        for (std::string text = Fixed(decimals, value);;) {
            double back = 0;
            ReadDouble(text.data(), text.data() + text.size(), back);
            if (back == value) return text;
            if (std::fabs(back) > std::fabs(value)) break;
            text = Bumped(std::move(text));
        }
    }
}

ShortText ScientificText(double value, int digits) { return Printed("%.*e", digits, value); }
ShortText GeneralText(double value, int digits) { return Printed("%.*g", digits, value); }
ShortText GeneralText(float value, int digits) { return Printed("%.*g", digits, static_cast<double>(value)); }

#endif

} // namespace paydata
