// The named fields and lists of the pay slip, as the computation, the window,
// the printed slip and the command line all call them: one table of lines
// with each field's caption in the window, its readable name, its kind on a
// printed slip and its labels there in Arabic and French.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace paycalc {

// Text boxes of the slip. Text10, Text11, Text20 and Text23 are typed by the
// user; Text2000 and Text2001 are hidden working fields; the rest are written
// only by the recalculation.
// clang-format off
enum class Field : std::uint8_t {
    Text1, Text2, Text3, Text4, Text5, Text6, Text7, Text8, Text9,
    Text10, Text11, Text12, Text13, Text14, Text15, Text16, Text17, Text18,
    Text19, Text20, Text21, Text22, Text23, Text2000, Text2001,
};
// clang-format on
inline constexpr int kFieldCount = 25;

// Positions of the drop-down lists in the control array Combo1.
enum Combo : int {
    kCategoryList = 0,     // "1".."17"
    kEchelonList = 1,      // "0".."12"
    kChildrenList = 2,     // "0".."12"
    kOverTenList = 3,      // "0".."12"
    kPostList = 4,         // empty entry, then the ten specific posts
    kFamilyStatusList = 5, // single, married
    kSpouseList = 6,       // at home, working
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
// clang-format off
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
// clang-format on

inline constexpr int Index(Field f) { return static_cast<int>(f); }

// What a line is on a printed slip.
enum class LineKind : std::uint8_t {
    Earning,     // added to the earnings column
    Deduction,   // added to the deductions column
    Subtotal,    // a base of the lines after it, not added again
    Information, // beside the pay, not part of the net (the quarterly bonus)
    None,        // not a line of its own: the net pay (the slip's total), the
                 // typed absence and mark, the hidden working fields
};

// A text of the printed slip in Arabic, and in the French that Algerian pay
// slips commonly carry.
struct Label {
    std::string_view arabic;
    std::string_view french;
};

std::string_view FieldName(Field f); // "Text12"
bool ParseFieldName(std::string_view name, Field &out);
std::string_view FieldCaption(Field f); // the label beside it, exactly as shown; empty for hidden fields
const std::string &FieldTitle(Field f); // the caption trimmed, lines joined, without a trailing ':' or '/'
std::string_view FieldTerm(Field f);    // plain English term, for messages ("pay subject to social security")
std::string_view InitialText(Field f);  // the text before the first recalculation
bool IsTypedField(Field f);             // Text10, Text11, Text20, Text23
// The line a user sees for a field: the hidden working fields show through
// the line they lead to (Text2000 through Text17, Text2001 through Text21).
Field ShownLine(Field f);

// A computed line's readable name, as the command line's tables and options,
// the batch's columns and JSON show it: "net_pay" for Text21; empty for a
// typed field.
std::string_view LineName(Field f);
// Accepts a field name ("Text21") or a line's readable name ("net_pay").
bool ParseLineName(std::string_view name, Field &out);

LineKind KindOf(Field f);
// The line's label on a printed slip: its title, with the French beside it.
Label LineLabel(Field f);
// The lines of a printed slip in their order: every field whose kind is not None.
std::span<const Field> PrintedLines();

// The entries of Combo1(list), in list order; none for a list it lacks.
const std::vector<std::string> &ComboEntries(int list);

} // namespace paycalc
