// The situation's inputs as one table: for each, its name on the command
// line, the list or typed field of the window it fills, the values it takes,
// its caption in the window, and its default, which is always that of
// paycalc::Situation{}.
// Data only: no reading of a value, no wording of a message, no Qt.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "paycalc/fields.h"
#include "paydata/tables.h"

namespace paycalc {

struct Situation;

// The inputs, in the order the batch's outputs write them.
enum class Input : std::uint8_t {
    Category, Echelon, Post, Children, OverTen, Status, Spouse, Mutual, Zone, Housing, Absence, Mark,
};
inline constexpr std::size_t kInputCount = 12;

struct SituationInput {
    Input input;
    std::string_view name; // on the command line, without the dashes: "over-ten"
    int list;              // the Combo1 list it selects in, or -1
    Field field;           // the typed field it fills (Text10, Text11, Text20, Text23); Text1 when none
    int low, high;         // a list input's values (the category 1..17, the others list positions)
    // The label beside the list or the box in the window, exactly as shown,
    // blanks and ':' included; empty for a typed input, whose label is its
    // field's caption (see CaptionOf).
    std::string_view caption;
};

inline constexpr std::array<SituationInput, kInputCount> kSituationInputs{{
    {Input::Category, "category", kCategoryList, Field::Text1, 1, paydata::kCategoryCount, "الصنف :"},
    {Input::Echelon, "echelon", kEchelonList, Field::Text1, 0, paydata::kEchelonCount - 1, "إختر الدرجة :"},
    {Input::Post, "post", kPostList, Field::Text1, 0, paydata::kPostCount - 1, "المنصب النوعي :"},
    {Input::Children, "children", kChildrenList, Field::Text1, 0, 12, "عدد الأولاد  :"},
    {Input::OverTen, "over-ten", kOverTenList, Field::Text1, 0, 12, "الأكبر من 10  :"},
    {Input::Status, "status", kFamilyStatusList, Field::Text1, 0, 1, " الحالة العائلية :"},
    {Input::Spouse, "spouse", kSpouseList, Field::Text1, 0, 1, "مهنة الزوجة  :"},
    {Input::Mutual, "mutual", -1, Field::Text1, 0, 1, "التعاضدية :"},
    {Input::Zone, "zone", -1, Field::Text10, 0, 0, {}},
    {Input::Housing, "housing", -1, Field::Text11, 0, 0, {}},
    {Input::Absence, "absence", -1, Field::Text20, 0, 0, {}},
    {Input::Mark, "mark", -1, Field::Text23, 0, 0, {}},
}};

constexpr const SituationInput& InputOf(Input input) { return kSituationInputs[static_cast<std::size_t>(input)]; }

// The label beside the input in the window, exactly as shown: the table's
// caption, or for a typed input its field's caption.
std::string_view CaptionOf(const SituationInput& input);

// The input that selects in Combo1(list).
const SituationInput& InputOfList(int list);

// A list input's value in the situation: the category's number, the other
// lists' positions.
int ListValue(const Situation& situation, const SituationInput& input);
// The same for a fresh situation: the input's default.
int DefaultListValue(const SituationInput& input);

} // namespace paycalc
