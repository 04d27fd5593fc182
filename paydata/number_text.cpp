#include "paydata/number_text.h"

#include <algorithm>
#include <array>
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

template <class T, class... Format>
std::string Written(T value, Format... format)
{
    std::array<char, 400> buf{};
    auto res = std::to_chars(buf.data(), buf.data() + buf.size(), value, format...);
    return std::string(buf.data(), res.ptr);
}

} // namespace

std::from_chars_result ReadDouble(const char *first, const char *last, double &value)
{
    return std::from_chars(first, last, value, std::chars_format::general);
}

std::string FixedText(double value) { return Written(value, std::chars_format::fixed); }
std::string ScientificText(double value, int digits) { return Written(value, std::chars_format::scientific, digits); }
std::string GeneralText(double value, int digits) { return Written(value, std::chars_format::general, digits); }
std::string GeneralText(float value, int digits) { return Written(value, std::chars_format::general, digits); }

#else

namespace {

// printf's conversion of one double with a precision ("%.*e", "%.*f", "%.*g").
std::string Printed(const char *format, int precision, double value)
{
    std::array<char, 64> small{};
    const int size = std::snprintf(small.data(), small.size(), format, precision, value);
    if (size < 0) return {};
    if (static_cast<std::size_t>(size) < small.size()) return std::string(small.data(), static_cast<std::size_t>(size));
    std::string text(static_cast<std::size_t>(size) + 1, '\0'); // the fixed text of a very large or very small value
    std::snprintf(text.data(), text.size(), format, precision, value);
    text.pop_back();
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

// to_chars' shortest fixed text: the fewest decimals that read back to the
// same double, and of the texts with that many the nearest. printf gives the
// nearest; at a power of two the doubles above are twice as far apart as
// those below, so the text one unit further out may read back where the
// nearest does not.
std::string FixedText(double value)
{
    if (!std::isfinite(value)) return Printed("%.*f", 0, value);
    // No text with fewer decimals than the place of the first digit reads back.
    const int first = value == 0 ? 0 : static_cast<int>(-std::floor(std::log10(std::fabs(value)))) - 1;
    for (int decimals = std::max(first, 0);; ++decimals) {
        for (std::string text = Printed("%.*f", decimals, value);;) {
            double back = 0;
            ReadDouble(text.data(), text.data() + text.size(), back);
            if (back == value) return text;
            if (std::fabs(back) > std::fabs(value)) break;
            text = Bumped(std::move(text));
        }
    }
}

std::string ScientificText(double value, int digits) { return Printed("%.*e", digits, value); }
std::string GeneralText(double value, int digits) { return Printed("%.*g", digits, value); }
std::string GeneralText(float value, int digits) { return Printed("%.*g", digits, static_cast<double>(value)); }

#endif

} // namespace paydata
