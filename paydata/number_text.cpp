#include "paydata/number_text.h"

#include <array>

namespace paydata {

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

} // namespace paydata
