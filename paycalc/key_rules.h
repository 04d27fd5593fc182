// What the typed fields let through, keystroke by keystroke: the rules of
// the window's keystroke filters, in plain code that any front end (the Qt
// window, the browser page) calls with the characters typed or pasted.
// Each filter takes the key code of one typed character and gives the code
// to let through, or 0 to discard the keystroke; the code passed is never
// changed. It looks at one keystroke at a time: it neither counts points nor
// limits the length.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "paycalc/fields.h"

namespace paycalc {

// Amounts: digits, backspace (8) and the point (46).
std::int16_t gWriteOnleNumber(std::int16_t &IntKeyAscii);
// Whole numbers: digits and backspace.
std::int16_t gWriteOnleNumber1(std::int16_t &IntKeyAscii);

using KeyFilter = std::int16_t (*)(std::int16_t &IntKeyAscii);

// The filter of a typed field: the performance mark (Text23) takes whole
// numbers, the zone, housing and absence fields amounts.
KeyFilter KeyFilterOf(Field typed);

// The characters of a keystroke's UTF-8 text that `filter` lets through, in
// order. A character's key code is its ASCII code; a character beyond ASCII
// (a letter or digit of another script) carries 0, which every filter discards.
std::string FilterTyped(KeyFilter filter, std::string_view typed);

// Whether `filter` lets every character of a pasted or dropped UTF-8 text
// through. A pasted backspace is no edit: like any control character, it is
// refused.
bool FilterAcceptsText(KeyFilter filter, std::string_view text);

} // namespace paycalc
