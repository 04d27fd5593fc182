#include "paycalc/situation.h"

#include <stdexcept>

#include "paydata/tables.h"

namespace paycalc {

namespace {

struct ListRange {
    const char* name;
    int low;
    int high;
};

// Each list's name as the command line spells it, and the values it offers.
constexpr std::array<ListRange, kComboCount> kRanges{{
    {"category", 1, paydata::kCategoryCount},
    {"echelon", 0, paydata::kEchelonCount - 1},
    {"children", 0, 12},
    {"over-ten", 0, 12},
    {"post", 0, paydata::kPostCount - 1},
    {"status", 0, 1},
    {"spouse", 0, 1},
}};

struct LineInfo {
    Field field;
    std::string_view name;
};

constexpr std::array<LineInfo, kComputedFields.size()> kLineNames{{
    {Field::Text1, "base_pay"},
    {Field::Text2, "experience_allowance"},
    {Field::Text3, "main_pay"},
    {Field::Text4, "pedagogical_allowance"},
    {Field::Text5, "documentation_allowance"},
    {Field::Text6, "new_allowance"},
    {Field::Text7, "qualification_allowance"},
    {Field::Text8, "flat_allowance"},
    {Field::Text9, "post_allowance"},
    {Field::Text12, "subject_pay"},
    {Field::Text13, "social_security"},
    {Field::Text14, "taxable_amount"},
    {Field::Text15, "income_tax"},
    {Field::Text16, "mutual_insurance"},
    {Field::Text17, "family_allowances"},
    {Field::Text18, "single_wage"},
    {Field::Text19, "absences"},
    {Field::Text21, "net_pay"},
    {Field::Text22, "performance_bonus"},
    {Field::Text2000, "children_allowance"},
    {Field::Text2001, "pay_after_deductions"},
}};

} // namespace

int Situation::ListPosition(int list) const
{
    switch (list) {
    case kCategoryList: return category - 1;
    case kEchelonList: return echelon;
    case kChildrenList: return children;
    case kOverTenList: return overTen;
    case kPostList: return post;
    case kFamilyStatusList: return status;
    case kSpouseList: return spouse;
    default: throw std::out_of_range("no such list");
    }
}

void Situation::SetListPosition(int list, int position)
{
    switch (list) {
    case kCategoryList: category = position + 1; break;
    case kEchelonList: echelon = position; break;
    case kChildrenList: children = position; break;
    case kOverTenList: overTen = position; break;
    case kPostList: post = position; break;
    case kFamilyStatusList: status = position; break;
    case kSpouseList: spouse = position; break;
    default: throw std::out_of_range("no such list");
    }
}

const std::string& Situation::Typed(Field f) const
{
    switch (f) {
    case Field::Text10: return zone;
    case Field::Text11: return housing;
    case Field::Text20: return absence;
    case Field::Text23: return mark;
    default: throw std::out_of_range("not a typed field");
    }
}

std::string& Situation::Typed(Field f)
{
    return const_cast<std::string&>(static_cast<const Situation&>(*this).Typed(f));
}

std::string Situation::Problem() const
{
    for (int list = 0; list < kComboCount; ++list) {
        const ListRange& range = kRanges[static_cast<std::size_t>(list)];
        const int value = list == kCategoryList ? category : ListPosition(list);
        if (value < range.low || value > range.high)
            return std::string(range.name) + " must be from " + std::to_string(range.low) + " to " +
                   std::to_string(range.high) + ", not " + std::to_string(value);
    }
    // Picking "single" in the window resets both children counts to 0.
    if (status == 0 && (children != 0 || overTen != 0)) return "a single employee has no children counted";
    return {};
}

void FillForm(MemoryForm& form, const Situation& situation)
{
    for (int list = 0; list < kComboCount; ++list) form.Select(list, situation.ListPosition(list));
    form.SetCheck(situation.mutual ? CheckState::Checked : CheckState::Unchecked);
    for (Field typed : {Field::Text10, Field::Text11, Field::Text20, Field::Text23})
        form.SetText(typed, situation.Typed(typed));
}

void SlipComputer::Compute(const Situation& situation, Slip& out, bool explain)
{
    if (std::string problem = situation.Problem(); !problem.empty()) throw std::invalid_argument(problem);
    // Every computed line starts empty: a run that stops leaves the lines it
    // did not reach empty, with nothing of the slip computed before. (Each
    // line is written before any later line reads it.)
    for (Field f : kComputedFields) form_.SetText(f, std::string());
    FillForm(form_, situation);
    out.situation = situation;
    out.error.reset();
    out.trace.Clear();
    try {
        RecalculateAll(form_, explain ? &out.trace : nullptr);
    } catch (const RecalcError& e) {
        out.error = e;
    }
    for (int f = 0; f < kFieldCount; ++f) out.texts[static_cast<std::size_t>(f)] = form_.Text(static_cast<Field>(f));
}

Slip SlipComputer::Compute(const Situation& situation, bool explain)
{
    Slip slip;
    Compute(situation, slip, explain);
    return slip;
}

Slip ComputeSlip(const Situation& situation, bool explain)
{
    SlipComputer computer;
    return computer.Compute(situation, explain);
}

std::string_view LineName(Field f)
{
    for (const LineInfo& line : kLineNames)
        if (line.field == f) return line.name;
    return {};
}

bool ParseLineName(std::string_view name, Field& out)
{
    for (const LineInfo& line : kLineNames) {
        if (line.name == name) {
            out = line.field;
            return true;
        }
    }
    return ParseFieldName(name, out);
}

} // namespace paycalc
