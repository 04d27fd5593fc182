// The slip's table: which lines it has, their kinds, the bases and rates the
// recalculation states beside them, and the totals earnings - deductions.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <string>

#include "paycalc/memory_form.h"
#include "paycalc/recalculate.h"
#include "paycalc/slip_table.h"
#include "paycalc/situation.h"
#include "paydata/amount.h"
#include "situation_gen.h"

using paycalc::Field;
using paycalc::LineKind;
using paydata::ReadAmount;
using paydata::ShowAmount;

namespace {

constexpr const paycalc::Rules& R = paycalc::kJanuary2016;

paycalc::MemoryForm Recalculated(const paycalc::Situation& s)
{
    paycalc::MemoryForm form;
    paycalc::FillForm(form, s);
    paycalc::RecalculateAll(form);
    return form;
}

} // namespace

// Every amount line the window shows is on the slip once, but the net pay,
// which the totals end with; the hidden working fields are not.
TEST(SlipTable, HasEveryShownLineOnceAndTheNetPayAsItsTotal)
{
    std::set<Field> printed;
    for (const auto& [field, kind] : paycalc::kLineKinds) EXPECT_TRUE(printed.insert(field).second) << paycalc::FieldName(field);
    for (Field f : paycalc::kSlipLines) EXPECT_EQ(printed.count(f), f == Field::Text21 ? 0u : 1u) << paycalc::FieldName(f);
    EXPECT_EQ(printed.size(), paycalc::kSlipLines.size() - 1);
}

// Earnings less deductions is the net pay for any situation whose typed
// allowances have cents at most, and the lines' amounts are the form's.
TEST(SlipTable, EarningsLessDeductionsIsTheNetPay)
{
    std::mt19937 random(20160131);
    for (int i = 0; i < 500; ++i) {
        const paycalc::Situation s = testdata::RandomSituation(random);
        const paycalc::MemoryForm form = Recalculated(s);
        const paycalc::SlipTable table = paycalc::TableOf(form);
        ASSERT_TRUE(table.totals.computed);
        EXPECT_EQ(table.totals.difference, form.Text(Field::Text21)) << s.Problem();
        EXPECT_TRUE(table.totals.rounding.empty());
        double earnings = 0, deductions = 0;
        for (const paycalc::SlipLine& line : table.lines) {
            EXPECT_EQ(ReadAmount(line.amount), ReadAmount(form.Text(line.field))) << paycalc::FieldName(line.field);
            if (line.kind == LineKind::Earning) earnings += ReadAmount(line.amount);
            if (line.kind == LineKind::Deduction) deductions += ReadAmount(line.amount);
        }
        EXPECT_EQ(ShowAmount(earnings), table.totals.earnings);
        EXPECT_EQ(ShowAmount(deductions), table.totals.deductions);
        // The subtotals are what the later lines are computed from.
        EXPECT_EQ(table.Line(Field::Text12).kind, LineKind::Subtotal);
        EXPECT_EQ(table.Line(Field::Text22).kind, LineKind::Information);
    }
}

// A typed allowance of more than two decimals counts as typed in the pay but
// shows rounded on its line: the totals say the difference.
TEST(SlipTable, RoundingLineOfThirdDecimals)
{
    paycalc::Situation s;
    s.zone = "1.005";
    s.housing = "1.005";
    const paycalc::MemoryForm form = Recalculated(s);
    const paycalc::SlipTable table = paycalc::TableOf(form);
    EXPECT_EQ(table.Line(Field::Text10).amount, "1.01");
    ASSERT_FALSE(table.totals.rounding.empty());
    EXPECT_EQ(ShowAmount(ReadAmount(table.totals.difference) + ReadAmount(table.totals.rounding)), form.Text(Field::Text21));
}

// The base and rate beside a line are the rules' own numbers and give the
// line's amount; the explanation of the line states the same number.
TEST(SlipTable, StatedRatesAreTheRulesAndGiveTheAmounts)
{
    paycalc::Situation s;
    s.absence = "2";
    const paycalc::MemoryForm form = Recalculated(s);
    const paycalc::SlipTable table = paycalc::TableOf(form);
    paycalc::Trace trace;
    paycalc::MemoryForm traced = paycalc::MemoryForm::InputsOf(form);
    paycalc::RecalculateAll(traced, &trace);

    const std::string perPoint = "× " + paycalc::RuleNumber(R.pointValue);
    for (Field f : {Field::Text1, Field::Text2}) {
        const paycalc::SlipLine& line = table.Line(f);
        EXPECT_EQ(line.rate, perPoint);
        const double points = std::stod(line.base.substr(0, line.base.find(' ')));
        EXPECT_EQ(ShowAmount(points * R.pointValue), line.amount);
        EXPECT_NE(trace.Find(f)->rule.find(paycalc::RuleNumber(R.pointValue)), std::string::npos);
    }
    const paycalc::SlipLine& security = table.Line(Field::Text13);
    EXPECT_EQ(security.rate, paycalc::RuleNumber(R.socialSecurityPercent) + "%");
    EXPECT_EQ(security.base, form.Text(Field::Text12));
    EXPECT_EQ(ShowAmount(ReadAmount(security.base) * paycalc::Rate(R.socialSecurityPercent)), security.amount);
    EXPECT_EQ(table.Line(Field::Text16).rate, paycalc::RuleNumber(R.mutualPercent) + "%");
    EXPECT_EQ(table.Line(Field::Text19).base, "2 يوم");
    EXPECT_EQ(table.Line(Field::Text19).rate, "1/" + paycalc::RuleNumber(R.daysInMonth) + " × " + form.Text(Field::Text2001));
    EXPECT_EQ(table.Line(Field::Text15).base, form.Text(Field::Text14));
    // Lines computed by a table or a flat amount state nothing.
    EXPECT_TRUE(table.Line(Field::Text5).rate.empty());

    s.mutual = false;
    const paycalc::SlipTable notMember = paycalc::TableOf(Recalculated(s));
    EXPECT_TRUE(notMember.Line(Field::Text16).base.empty());
    EXPECT_EQ(notMember.Line(Field::Text16).rate, "غير مشترك");
}

// The table reads the form without changing it; when the inputs cannot be
// recalculated, the lines before the failure keep what they state and the
// totals are still those of the amounts shown.
TEST(SlipTable, LeavesTheFormAsItIsAndStatesWhatARunReached)
{
    paycalc::MemoryForm form = Recalculated(paycalc::Situation{});
    form.SetText(Field::Text10, "1e400"); // typed after the last recalculation
    const paycalc::MemoryForm before = form;
    const paycalc::SlipTable table = paycalc::TableOf(form);
    for (int f = 0; f < paycalc::kFieldCount; ++f)
        EXPECT_EQ(form.Text(static_cast<Field>(f)), before.Text(static_cast<Field>(f)));
    EXPECT_FALSE(table.Line(Field::Text1).base.empty());   // base pay was reached
    EXPECT_TRUE(table.Line(Field::Text13).rate.empty());   // the contribution was not
    EXPECT_FALSE(table.totals.computed);                  // the zone allowance reads as an overflow
    EXPECT_EQ(table.totals.netPay, form.Text(Field::Text21));
    EXPECT_TRUE(table.points.known);
}
