#include "paycalc/slip_table.h"

#include <array>
#include <charconv>
#include <stdexcept>

#include "paycalc/memory_form.h"
#include "paycalc/recalculate.h"
#include "paydata/amount.h"
#include "paydata/number_text.h"
#include "paydata/tables.h"

namespace paycalc {

using namespace paydata;

std::string RuleNumber(double value)
{
    return paydata::GeneralText(value, 15);
}

const SlipLine& SlipTable::Line(Field field) const
{
    for (const SlipLine& line : lines)
        if (line.field == field) return line;
    throw std::out_of_range("not a line of the slip");
}

namespace {

// A line's amount as the slip shows it: a typed allowance is the leading
// number of its text as ReadAmount reads it, shown to the cent.
std::string ShownAmount(const PayForm& form, Field f)
{
    if (!IsTypedField(f)) return form.Text(f);
    try {
        return ShowAmount(ReadAmount(form.Text(f)));
    } catch (const ConversionError&) {
        return form.Text(f); // a recalculation that succeeded never gets here
    }
}

SlipTotals TotalsOf(const PayForm& form, const std::vector<SlipLine>& lines)
{
    SlipTotals totals;
    totals.netPay = form.Text(Field::Text21);
    try {
        double earnings = 0;
        double deductions = 0;
        for (const SlipLine& line : lines) {
            if (line.kind == LineKind::Earning) earnings = Add(earnings, ReadAmount(line.amount));
            if (line.kind == LineKind::Deduction) deductions = Add(deductions, ReadAmount(line.amount));
        }
        totals.earnings = ShowAmount(earnings);
        totals.deductions = ShowAmount(deductions);
        totals.difference = ShowAmount(Sub(ReadAmount(totals.earnings), ReadAmount(totals.deductions)));
        if (totals.difference != totals.netPay)
            totals.rounding = ShowAmount(Sub(ReadAmount(totals.netPay), ReadAmount(totals.difference)));
        totals.computed = true;
    } catch (const ConversionError&) {
        totals = SlipTotals{};
        totals.netPay = form.Text(Field::Text21);
    }
    return totals;
}

GridPoints PointsOf(const PayForm& form)
{
    GridPoints points;
    const int row = form.ListIndex(kCategoryList);
    const int echelon = form.ListIndex(kEchelonList);
    try {
        points.base = BasePoints(row);
        points.echelon = echelon > 0 ? EchelonPoints(echelon, row) : 0;
        points.known = true;
    } catch (const ConversionError&) {
        points = {};
    }
    return points;
}

} // namespace

SlipTable TableOf(const PayForm& form)
{
    Trace trace;
    MemoryForm copy = MemoryForm::InputsOf(form);
    try {
        RecalculateAll(copy, &trace);
    } catch (const RecalcError&) {
        // The lines computed before the failure keep their explanations.
    }
    SlipTable slip;
    for (const auto& [field, kind] : kLineKinds) {
        SlipLine line{field, kind, ShownAmount(form, field), {}, {}};
        if (const Explanation* e = trace.Find(field)) line.base = e->base, line.rate = e->rate;
        slip.lines.push_back(std::move(line));
    }
    slip.totals = TotalsOf(form, slip.lines);
    slip.points = PointsOf(form);
    return slip;
}

} // namespace paycalc
