// The reference data of the January 2016 pay rules: the index-point grid, the
// flat compensatory allowance by category and the specific-post allowances.
// The stored entries are the data; nothing derives them from a rule.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace paydata {

inline constexpr int kCategoryCount = 17; // grade categories 1..17, row = category - 1
inline constexpr int kEchelonCount = 13;  // echelons 0..12
inline constexpr int kPostCount = 11;     // row 0 = no specific post

// Index-point grid. Row r belongs to category r + 1; column 0 holds the
// category's base points, column e (1..12) the points that echelon e adds.
inline constexpr std::array<std::array<std::int16_t, kEchelonCount>, kCategoryCount> kIndexPointGrid{{
    {200, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120},
    {219, 11, 22, 33, 44, 55, 66, 77, 88, 99, 110, 120, 131},
    {240, 12, 24, 36, 48, 60, 72, 84, 96, 108, 120, 132, 144},
    {263, 13, 26, 39, 53, 66, 79, 92, 105, 118, 132, 145, 158},
    {288, 14, 29, 43, 58, 72, 86, 101, 115, 130, 144, 158, 173},
    {315, 16, 32, 47, 63, 79, 95, 110, 126, 142, 158, 173, 189},
    {348, 17, 35, 52, 70, 87, 104, 122, 139, 157, 174, 191, 209},
    {379, 19, 38, 57, 76, 95, 114, 133, 152, 171, 190, 208, 225},
    {418, 21, 42, 63, 84, 105, 125, 146, 167, 188, 209, 230, 251},
    {453, 23, 45, 68, 91, 113, 136, 159, 181, 204, 227, 249, 272},
    {498, 25, 50, 75, 100, 125, 149, 174, 199, 224, 249, 274, 299},
    {537, 27, 54, 81, 107, 134, 161, 188, 215, 242, 269, 295, 322},
    {578, 29, 58, 87, 116, 145, 173, 202, 231, 260, 289, 318, 347},
    {621, 31, 62, 93, 124, 155, 186, 217, 248, 279, 311, 342, 373},
    {666, 33, 67, 100, 133, 167, 200, 233, 266, 300, 333, 366, 400},
    {713, 36, 71, 107, 143, 178, 214, 250, 285, 321, 357, 392, 428},
    {762, 38, 76, 114, 152, 191, 229, 267, 305, 343, 381, 419, 457},
}};

// Monthly flat compensatory allowance; row r belongs to category r + 1.
// clang-format off
inline constexpr std::array<std::int16_t, kCategoryCount> kFlatAllowance{
    7700, 7400, 6900, 6400, 5700, 5000, 3800, 3800, 3100, 3100,
    1500, 1500, 1500, 1500, 1500, 1500, 1500};
// clang-format on

struct SpecificPost {
    std::string_view title; // Arabic, UTF-8; empty for row 0
    std::int16_t amount;    // the monthly allowance, as stored (not points x 45)
    std::int16_t points;    // the post's index points, kept for reference only
};

inline constexpr std::array<SpecificPost, kPostCount> kSpecificPosts{{
    {"", 0, 0},
    {"أستاذ منسق متوسط", 1575, 35},
    {"أستاذ منسق ثانوي", 1575, 35},
    {"مساعد مدير مدرسة إبتدائية", 1125, 25},
    {"مدير مدرسة أبتدائية", 3000, 75},
    {"مدير متوسطة", 4000, 105},
    {"مدير ثانوية", 5000, 195},
    {"مفتش التغدية", 3375, 75},
    {"مفتش التعليم الإبتدائي", 4725, 105},
    {"مفتش التعليم المتوسط", 6525, 145},
    {"مفتش التربية الوطنية", 11475, 255},
}};

// Entries of the two family lists, in list order.
inline constexpr std::array<std::string_view, 2> kFamilyStatusEntries{"عازب", "متزوج"};
inline constexpr std::array<std::string_view, 2> kSpouseEntries{"ماكثة", "عاملة"};

// Checked lookups: a row or column the table does not have throws
// ConversionError(NoSuchRow).
int BasePoints(int row);
int EchelonPoints(int echelon, int row); // echelon 1..12
int FlatAllowance(int row);
int PostAmount(int row);

} // namespace paydata
