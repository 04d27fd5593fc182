#include "paycalc/compare.h"

#include <algorithm>
#include <stdexcept>

#include "paydata/amount.h"
#include "paydata/tables.h"
#include "paycalc/rules_2016.h"

namespace paycalc {

using paydata::ReadAmount;
using paydata::ShowAmount;

std::string Difference(const std::string &before, const std::string &after)
{
    return ShowAmount(paydata::Sub(ReadAmount(after), ReadAmount(before)));
}

std::string LineDifferenceOf(const std::string &before, const std::string &after)
{
    if (before.empty() || after.empty()) return {};
    try {
        return Difference(before, after);
    } catch (const paydata::ConversionError &) {
        return {};
    }
}

const LineDifference &Comparison::Line(Field f) const
{
    auto it = std::find_if(lines.begin(), lines.end(), [f](const LineDifference &d) { return d.field == f; });
    if (it == lines.end()) throw std::out_of_range("not a computed line");
    return *it;
}

Comparison Compare(const Situation &before, const Situation &after, bool explain)
{
    Comparison c;
    c.before = ComputeSlip(before, explain);
    c.after = ComputeSlip(after, explain);
    c.lines.reserve(kComputedFields.size());
    for (Field f : kComputedFields)
        c.lines.push_back({f, c.before.Text(f), c.after.Text(f), LineDifferenceOf(c.before.Text(f), c.after.Text(f))});
    return c;
}

BackPay ComputeBackPay(const Comparison &comparison, int months)
{
    if (months < 1 || months > kMaxBackPayMonths)
        throw std::invalid_argument("months must be from 1 to " + std::to_string(kMaxBackPayMonths));
    if (!comparison.ok()) throw std::invalid_argument("a slip of the comparison could not be computed");
    BackPay pay;
    pay.months = months;
    // A bonus covers a quarter's months: each whole one of them is owed one.
    pay.quarters = months / static_cast<int>(kJanuary2016.bonusMonths);
    pay.netDifference = Difference(comparison.before.Text(Field::Text21), comparison.after.Text(Field::Text21));
    pay.bonusDifference = Difference(comparison.before.Text(Field::Text22), comparison.after.Text(Field::Text22));
    pay.monthly = ShowAmount(paydata::Mul(ReadAmount(pay.netDifference), months));
    pay.bonus = ShowAmount(paydata::Mul(ReadAmount(pay.bonusDifference), pay.quarters));
    pay.total = ShowAmount(paydata::Add(ReadAmount(pay.monthly), ReadAmount(pay.bonus)));
    return pay;
}

Ladder ComputeLadder(const Situation &situation, bool withCategoryAbove)
{
    Ladder ladder;
    ladder.situation = situation;
    ladder.steps.resize(paydata::kEchelonCount);
    Situation rung = situation;
    for (int e = 0; e < paydata::kEchelonCount; ++e) {
        LadderStep &step = ladder.steps[static_cast<std::size_t>(e)];
        step.echelon = e;
        rung.echelon = e;
        ComputeSlip(rung, step.slip);
        if (e > 0)
            step.netStep = LineDifferenceOf(ladder.steps[static_cast<std::size_t>(e - 1)].slip.Text(Field::Text21),
                                            step.slip.Text(Field::Text21));
    }
    if (withCategoryAbove && situation.category < paydata::kCategoryCount) {
        Situation above = situation;
        ++above.category;
        ladder.categoryAbove = ComputeSlip(above);
    }
    return ladder;
}

bool CheckReport::allAgree() const
{
    return std::all_of(lines.begin(), lines.end(), [](const CheckedLine &l) { return l.agrees; });
}

CheckReport CheckOfficial(const Situation &situation, const std::vector<OfficialAmount> &official)
{
    for (const OfficialAmount &o : official)
        if (std::find(kComputedFields.begin(), kComputedFields.end(), o.field) == kComputedFields.end())
            throw std::invalid_argument(std::string(FieldName(o.field)) + " is not a computed line");
    CheckReport report;
    report.slip = ComputeSlip(situation, true);
    for (const OfficialAmount &o : official) {
        CheckedLine line;
        line.field = o.field;
        line.ours = report.slip.Text(o.field);
        line.theirs = o.amount;
        if (const Explanation *e = report.slip.trace.Find(o.field)) line.explanation = ExplanationText(*e);
        try {
            const std::string theirs = ShowAmount(ReadAmount(o.amount));
            line.agrees = !line.ours.empty() && theirs == line.ours;
            if (!line.ours.empty()) line.difference = Difference(line.ours, theirs);
        } catch (const paydata::ConversionError &) {
            line.agrees = false; // an amount beyond any pay agrees with nothing
        }
        report.lines.push_back(std::move(line));
    }
    return report;
}

} // namespace paycalc
