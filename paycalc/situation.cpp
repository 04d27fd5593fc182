#include "paycalc/situation.h"

#include <stdexcept>

#include "paycalc/family_status_rule.h"
#include "paycalc/situation_inputs.h"
#include "paydata/tables.h"

namespace paycalc {

namespace {

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
        const SituationInput& range = InputOfList(list);
        const int value = ListValue(*this, range);
        if (value < range.low || value > range.high)
            return std::string(range.name) + " must be from " + std::to_string(range.low) + " to " +
                   std::to_string(range.high) + ", not " + std::to_string(value);
    }
    if (BreaksFamilyStatusRule(*this)) return std::string(kFamilyStatusRuleProblem);
    return {};
}

void FillForm(MemoryForm& form, const Situation& situation)
{
    for (int list = 0; list < kComboCount; ++list) form.Select(list, situation.ListPosition(list));
    form.SetCheck(situation.mutual ? CheckState::Checked : CheckState::Unchecked);
    for (Field typed : kTypedFields)
        form.SetText(typed, situation.Typed(typed));
}

namespace {

// The form of one slip: its text boxes are the slip's own texts, so the
// recalculation writes every line straight into the slip, and its lists and
// box are the situation's. It reads as a MemoryForm filled by FillForm does.
class SlipForm final : public PayForm {
public:
    SlipForm(std::array<std::string, kFieldCount>& texts,
             const std::array<std::vector<std::string>, kComboCount>& entries, const Situation& situation)
        : texts_(texts), entries_(entries), situation_(situation)
    {
    }
    std::string Text(Field field) const override { return texts_[static_cast<std::size_t>(field)]; }
    void SetText(Field field, const std::string& text) override { texts_[static_cast<std::size_t>(field)] = text; }
    std::string ListText(int list) const override
    {
        return entries_[static_cast<std::size_t>(list)][static_cast<std::size_t>(situation_.ListPosition(list))];
    }
    int ListIndex(int list) const override { return situation_.ListPosition(list); }
    CheckState Check() const override { return situation_.mutual ? CheckState::Checked : CheckState::Unchecked; }

private:
    std::array<std::string, kFieldCount>& texts_;
    const std::array<std::vector<std::string>, kComboCount>& entries_;
    const Situation& situation_;
};

} // namespace

SlipComputer::SlipComputer()
{
    for (int list = 0; list < kComboCount; ++list) entries_[static_cast<std::size_t>(list)] = ComboEntries(list);
}

void SlipComputer::Compute(const Situation& situation, Slip& out, bool explain)
{
    if (std::string problem = situation.Problem(); !problem.empty()) throw std::invalid_argument(problem);
    out.situation = situation;
    out.error.reset();
    // A slip computed without explanations has none to clear; clearing an
    // empty trace anyway costs a tenth of a recalculation.
    bool traced = false;
    for (int f = 0; f < kFieldCount && !traced; ++f) traced = out.trace.Find(static_cast<Field>(f)) != nullptr;
    if (traced) out.trace.Clear();
    // Every computed line starts empty: a run that stops leaves the lines it
    // did not reach empty, with nothing of the slip computed before. (Each
    // line is written before any later line reads it.)
    for (Field f : kComputedFields) out.texts[static_cast<std::size_t>(Index(f))].clear();
    for (Field typed : kTypedFields)
        out.texts[static_cast<std::size_t>(Index(typed))] = situation.Typed(typed);
    SlipForm form(out.texts, entries_, out.situation);
    try {
        RecalculateAll(form, explain ? &out.trace : nullptr);
    } catch (const RecalcError& e) {
        out.error = e;
    }
}

Slip SlipComputer::Compute(const Situation& situation, bool explain)
{
    Slip slip;
    Compute(situation, slip, explain);
    return slip;
}

SlipComputer& SlipComputer::ForThisThread()
{
    thread_local SlipComputer computer;
    return computer;
}

Slip ComputeSlip(const Situation& situation, bool explain)
{
    return SlipComputer::ForThisThread().Compute(situation, explain);
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
