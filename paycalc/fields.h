// The named fields and lists of the pay slip, as the computation, the window
// and the command line all call them, with their captions and initial texts.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace paycalc {

// Text boxes of the slip. Text10, Text11, Text20 and Text23 are typed by the
// user; Text2000 and Text2001 are hidden working fields; the rest are written
// only by the recalculation.
enum class Field : std::uint8_t {
    Text1, Text2, Text3, Text4, Text5, Text6, Text7, Text8, Text9,
    Text10, Text11, Text12, Text13, Text14, Text15, Text16, Text17, Text18,
    Text19, Text20, Text21, Text22, Text23, Text2000, Text2001,
};
inline constexpr int kFieldCount = 25;

// Positions of the drop-down lists in the control array Combo1.
enum Combo : int {
    kCategoryList = 0,    // "1".."17"
    kEchelonList = 1,     // "0".."12"
    kChildrenList = 2,    // "0".."12"
    kOverTenList = 3,     // "0".."12"
    kPostList = 4,        // empty entry, then the ten specific posts
    kFamilyStatusList = 5,// single, married
    kSpouseList = 6,      // at home, working
};
inline constexpr int kComboCount = 7;

// Mutual-insurance box states, as the window reports them.
enum class CheckState : std::uint8_t { Unchecked = 0, Checked = 1, Grayed = 2 };

// The selection each list gets at start-up, by list index.
inline constexpr std::array<int, kComboCount> kStartupSelection{10, 7, 1, 0, 0, 1, 0};

// Whether the mutual-insurance box starts ticked, in the window and on the
// command line alike. Most employees of the sector are members, so it does.
inline constexpr bool kMutualTickedAtStartup = true;

// The fields the user types in: zone and housing allowances, days of absence,
// the performance mark.
inline constexpr std::array<Field, 4> kTypedFields{Field::Text10, Field::Text11, Field::Text20, Field::Text23};

// The fields the recalculation writes, in the order of the slip.
inline constexpr std::array<Field, 21> kComputedFields{
    Field::Text1, Field::Text2, Field::Text3, Field::Text4, Field::Text5,
    Field::Text6, Field::Text7, Field::Text8, Field::Text9, Field::Text12,
    Field::Text13, Field::Text14, Field::Text15, Field::Text16, Field::Text17,
    Field::Text18, Field::Text19, Field::Text21, Field::Text22,
    Field::Text2000, Field::Text2001};

// The amount lines of the slip in the window's reading order: the right-hand
// column top to bottom, then the middle one (typed allowances included).
inline constexpr std::array<Field, 21> kSlipLines{
    Field::Text1, Field::Text2, Field::Text3, Field::Text4, Field::Text5, Field::Text6,
    Field::Text7, Field::Text8, Field::Text9, Field::Text10, Field::Text11, Field::Text12,
    Field::Text13, Field::Text14, Field::Text15, Field::Text16, Field::Text17, Field::Text18,
    Field::Text19, Field::Text21, Field::Text22};

inline constexpr int Index(Field f) { return static_cast<int>(f); }

std::string_view FieldName(Field f);       // "Text12"
bool ParseFieldName(std::string_view name, Field& out);
std::string_view FieldCaption(Field f);    // the label beside it, exactly as shown; empty for hidden fields
std::string FieldTitle(Field f);           // the caption trimmed, lines joined, without a trailing ':' or '/'
std::string_view FieldTerm(Field f);       // plain English term, for messages ("pay subject to social security")
std::string_view InitialText(Field f);     // the text before the first recalculation
bool IsTypedField(Field f);                // Text10, Text11, Text20, Text23

// The entries of Combo1(list), in list order.
std::vector<std::string> ComboEntries(int list);

} // namespace paycalc
