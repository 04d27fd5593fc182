// Doubles to text and back, the one place the engine converts them: every
// amount's ReadAmount and ShowAmount and every number an explanation quotes
// goes through here. It is std::from_chars and std::to_chars where the
// standard library has them for floating point; a library without them (the
// browser's, libc++ 13) gets the same texts another way, here and nowhere
// else.
#pragma once

#include <charconv>
#include <string>
#include <string_view>

namespace paydata {

// Reads the whole of a decimal number ([digits][.digits][e[-]digits], no
// sign) as std::from_chars(general) does, correctly rounded.
std::from_chars_result ReadDouble(const char *first, const char *last, double &value);

// The shortest fixed-notation text that reads back to the same double:
// "45", "0.819", "22410".
std::string FixedText(double value);

// Scientific notation with `digits` digits after the point, as
// std::to_chars(scientific, digits): "4.34321200000000e+04".
std::string ScientificText(double value, int digits);

// General notation with `digits` significant digits, as
// std::to_chars(general, digits): "45", "1e+16".
std::string GeneralText(double value, int digits);
std::string GeneralText(float value, int digits);

} // namespace paydata
