// Amounts in Arabic words, as a pay slip writes its net pay under the figures:
// "ثلاثة وأربعون ألفا وأربعمائة واثنان وثلاثون دينار جزائري واثنا عشر سنتيم".
//
// The numbers count masculine things (the dinar and the centime), so one and
// two agree with them (واحد، اثنان) and three to ten take the opposite form
// (ثلاثة ... عشرة). Thousands, millions and the larger scales follow the
// counted-noun rules: 1 ألف, 2 ألفان, 3 to 10 آلاف, 11 to 99 ألفا, and from 100
// ألف again. The conjunction و is written joined to the word after it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace paydata {

// The largest whole number NumberInArabicWords writes (below 10^18).
inline constexpr std::uint64_t kLargestNumberInWords = 999'999'999'999'999'999ULL;

// A whole number in words, in the masculine: 0 is "صفر". Throws
// std::out_of_range above kLargestNumberInWords.
std::string NumberInArabicWords(std::uint64_t number);

// An amount as ShowAmount writes it ("43432.12", "-5.00") in words:
// "<dinars> دينار جزائري و<centimes> سنتيم"; the centimes are left out when
// there are none ("صفر دينار جزائري" for 0.00). A negative amount starts with
// "ناقص". Throws std::invalid_argument for a text not of that form and
// std::out_of_range for an amount too large to write in words.
std::string AmountInArabicWords(std::string_view shown);

} // namespace paydata
