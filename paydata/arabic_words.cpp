#include "paydata/arabic_words.h"

#include <array>
#include <stdexcept>

namespace paydata {

namespace {

// One to nine, agreeing with a masculine counted noun.
constexpr std::array<std::string_view, 10> kUnits{"",     "واحد", "اثنان", "ثلاثة",  "أربعة",
                                                  "خمسة", "ستة",  "سبعة",  "ثمانية", "تسعة"};
constexpr std::array<std::string_view, 10> kTens{"",      "عشرة", "عشرون", "ثلاثون", "أربعون",
                                                 "خمسون", "ستون", "سبعون", "ثمانون", "تسعون"};
constexpr std::array<std::string_view, 10> kHundreds{"",        "مائة",   "مائتان",  "ثلاثمائة", "أربعمائة",
                                                     "خمسمائة", "ستمائة", "سبعمائة", "ثمانمائة", "تسعمائة"};

// A scale word in its four forms after a count: one, two, three to ten,
// eleven to ninety-nine (accusative singular); a round hundred takes `one`.
struct Scale {
    std::uint64_t size;
    std::string_view one;
    std::string_view two;
    std::string_view few;
    std::string_view many;
};
constexpr std::array<Scale, 5> kScales{{
    {1'000'000'000'000'000ULL, "كوادريليون", "كوادريليونان", "كوادريليونات", "كوادريليونا"},
    {1'000'000'000'000ULL, "تريليون", "تريليونان", "تريليونات", "تريليونا"},
    {1'000'000'000ULL, "مليار", "ملياران", "مليارات", "مليارا"},
    {1'000'000ULL, "مليون", "مليونان", "ملايين", "مليونا"},
    {1'000ULL, "ألف", "ألفان", "آلاف", "ألفا"},
}};

constexpr std::string_view kAnd = " و";

// 1..99
std::string BelowHundred(unsigned n)
{
    if (n < 10) return std::string(kUnits[n]);
    if (n == 10) return std::string(kTens[1]);
    if (n == 11) return "أحد عشر";
    if (n == 12) return "اثنا عشر";
    if (n < 20) return std::string(kUnits[n - 10]) + " عشر";
    if (n % 10 == 0) return std::string(kTens[n / 10]);
    return std::string(kUnits[n % 10]) + std::string(kAnd) + std::string(kTens[n / 10]);
}

// 1..999
std::string BelowThousand(unsigned n)
{
    std::string words(kHundreds[n / 100]);
    if (const unsigned rest = n % 100; rest != 0) {
        if (!words.empty()) words += kAnd;
        words += BelowHundred(rest);
    }
    return words;
}

// A count 1..999 of a scale word: "ألف", "ألفان", "ثلاثة آلاف", "أحد عشر ألفا",
// "مائة ألف", "مائة وألف", "مائة وثلاثة آلاف".
std::string Counted(unsigned count, const Scale &scale)
{
    const unsigned hundreds = count / 100 * 100;
    const unsigned rest = count % 100;
    std::string words = hundreds != 0 ? BelowThousand(hundreds) : std::string();
    if (rest == 0) return words + " " + std::string(scale.one);
    if (!words.empty()) words += kAnd;
    if (rest <= 2) return words + std::string(rest == 1 ? scale.one : scale.two);
    words += BelowHundred(rest);
    return words + " " + std::string(rest <= 10 ? scale.few : scale.many);
}

} // namespace

std::string NumberInArabicWords(std::uint64_t number)
{
    if (number > kLargestNumberInWords) throw std::out_of_range("number too large to write in words");
    if (number == 0) return "صفر";
    std::string words;
    auto append = [&words](const std::string &part) {
        if (!words.empty()) words += kAnd;
        words += part;
    };
    for (const Scale &scale : kScales) {
        const auto count = static_cast<unsigned>(number / scale.size);
        number %= scale.size;
        if (count != 0) append(Counted(count, scale));
    }
    if (number != 0) append(BelowThousand(static_cast<unsigned>(number)));
    return words;
}

std::string AmountInArabicWords(std::string_view shown)
{
    std::string_view text = shown;
    const bool negative = !text.empty() && text.front() == '-';
    if (negative) text.remove_prefix(1);
    const std::size_t point = text.find('.');
    auto digits = [](std::string_view part) {
        if (part.empty()) return false;
        for (char c : part)
            if (c < '0' || c > '9') return false;
        return true;
    };
    if (point == std::string_view::npos || !digits(text.substr(0, point)) || text.size() != point + 3 ||
        !digits(text.substr(point + 1)))
        throw std::invalid_argument("not an amount written with two decimals: " + std::string(shown));

    std::string_view whole = text.substr(0, point);
    while (whole.size() > 1 && whole.front() == '0') whole.remove_prefix(1);
    if (whole.size() > 18) throw std::out_of_range("amount too large to write in words: " + std::string(shown));
    std::uint64_t dinars = 0;
    for (char c : whole) dinars = dinars * 10 + static_cast<std::uint64_t>(c - '0');
    const auto centimes = static_cast<unsigned>((text[point + 1] - '0') * 10 + (text[point + 2] - '0'));

    std::string words = negative && (dinars != 0 || centimes != 0) ? "ناقص " : "";
    words += NumberInArabicWords(dinars) + " دينار جزائري";
    if (centimes != 0) words += std::string(kAnd) + BelowHundred(centimes) + " سنتيم";
    return words;
}

} // namespace paydata
