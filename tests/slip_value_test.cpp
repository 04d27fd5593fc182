// The slip value of one run: which lines a printed slip has, their kinds,
// the bases and rates the run states beside them, and the totals earnings -
// deductions; and the window's slip read off its form after its own run.
#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>

#include "tests/memory_form.h"
#include "paycalc/recalculate.h"
#include "paycalc/slip.h"
#include "paydata/amount.h"
#include "situation_gen.h"

using paycalc::Field;
using paycalc::LineKind;
using paydata::ReadAmount;
using paydata::ShowAmount;

namespace {

constexpr const paycalc::Rules &R = paycalc::kJanuary2016;

} // namespace

// Every amount line the window shows is on the printed slip once, but the
// net pay, which the totals end with; the hidden working fields are not.
TEST(SlipValue, PrintsEveryShownLineOnceAndTheNetPayAsItsTotal)
{
    std::set<Field> printed;
    for (Field f : paycalc::PrintedLines()) EXPECT_TRUE(printed.insert(f).second) << paycalc::FieldName(f);
    for (Field f : paycalc::kSlipLines)
        EXPECT_EQ(printed.count(f), f == Field::Text21 ? 0u : 1u) << paycalc::FieldName(f);
    EXPECT_EQ(printed.size(), paycalc::kSlipLines.size() - 1);
}

// Earnings less deductions is the net pay for any situation whose typed
// allowances have cents at most, and each line's amount is the run's.
TEST(SlipValue, EarningsLessDeductionsIsTheNetPay)
{
    std::mt19937 random(20160131);
    for (int i = 0; i < 500; ++i) {
        const paycalc::Slip slip = paycalc::ComputeSlip(testdata::RandomSituation(random));
        const paycalc::SlipTotals totals = slip.Totals();
        ASSERT_TRUE(totals.computed);
        EXPECT_EQ(totals.difference, slip.Text(Field::Text21));
        EXPECT_TRUE(totals.rounding.empty());
        double earnings = 0, deductions = 0;
        for (Field f : paycalc::PrintedLines()) {
            const paycalc::SlipLine line = slip.Line(f);
            EXPECT_EQ(ReadAmount(line.amount), ReadAmount(slip.Text(f))) << paycalc::FieldName(f);
            if (line.kind == LineKind::Earning) earnings += ReadAmount(line.amount);
            if (line.kind == LineKind::Deduction) deductions += ReadAmount(line.amount);
        }
        EXPECT_EQ(ShowAmount(earnings), totals.earnings);
        EXPECT_EQ(ShowAmount(deductions), totals.deductions);
    }
}

// A typed allowance of more than two decimals counts as typed in the pay but
// shows rounded on its line: the totals say the difference.
TEST(SlipValue, RoundingLineOfThirdDecimals)
{
    paycalc::Situation s;
    s.zone = "1.005";
    s.housing = "1.005";
    const paycalc::Slip slip = paycalc::ComputeSlip(s);
    EXPECT_EQ(slip.Line(Field::Text10).amount, "1.01");
    const paycalc::SlipTotals totals = slip.Totals();
    ASSERT_FALSE(totals.rounding.empty());
    EXPECT_EQ(ShowAmount(ReadAmount(totals.difference) + ReadAmount(totals.rounding)), slip.Text(Field::Text21));
}

// The base and rate beside a line are the rules' own numbers and give the
// line's amount; the grid points are those the run looked up.
TEST(SlipValue, StatedRatesAreTheRulesAndGiveTheAmounts)
{
    paycalc::Situation s;
    s.absence = "2";
    const paycalc::Slip slip = paycalc::ComputeSlip(s, true);
    const std::string perPoint = "× " + paycalc::RuleNumber(R.pointValue);
    const int points[] = {slip.trace.points.base, slip.trace.points.echelon};
    for (Field f : {Field::Text1, Field::Text2}) {
        const paycalc::SlipLine line = slip.Line(f);
        EXPECT_EQ(line.rate, perPoint);
        const int stated = std::stoi(std::string(line.base.substr(0, line.base.find(' '))));
        EXPECT_EQ(stated, points[f == Field::Text1 ? 0 : 1]);
        EXPECT_EQ(ShowAmount(stated * R.pointValue), line.amount);
    }
    const paycalc::SlipLine security = slip.Line(Field::Text13);
    EXPECT_EQ(security.rate, paycalc::RuleNumber(R.socialSecurityPercent) + "%");
    EXPECT_EQ(security.base, slip.Text(Field::Text12));
    EXPECT_EQ(ShowAmount(ReadAmount(security.base) * paycalc::Rate(R.socialSecurityPercent)), security.amount);
    EXPECT_EQ(slip.Line(Field::Text16).rate, paycalc::RuleNumber(R.mutualPercent) + "%");
    EXPECT_EQ(slip.Line(Field::Text19).base, "2 يوم");
    EXPECT_EQ(slip.Line(Field::Text19).rate,
              "1/" + paycalc::RuleNumber(R.daysInMonth) + " × " + slip.Text(Field::Text2001));
    EXPECT_EQ(slip.Line(Field::Text15).base, slip.Text(Field::Text14));
    EXPECT_TRUE(slip.Line(Field::Text5).rate.empty()); // a flat amount states nothing

    s.mutual = false;
    const paycalc::Slip notMember = paycalc::ComputeSlip(s, true);
    EXPECT_TRUE(notMember.Line(Field::Text16).base.empty());
    EXPECT_EQ(notMember.Line(Field::Text16).rate, "غير مشترك");
    // Without explanations a slip states no base or rate.
    EXPECT_EQ(paycalc::ComputeSlip(s).Line(Field::Text13).explanation, nullptr);
}

// The window's slip is its form as its own run left it: the same texts and
// situation as a computed slip, and a run that stopped says where and
// explains only the lines it reached.
TEST(SlipValue, ReadOffAFormAfterItsRun)
{
    std::mt19937 random(7);
    for (int i = 0; i < 50; ++i) {
        const paycalc::Situation s = testdata::RandomSituation(random);
        paycalc::MemoryForm form;
        paycalc::FillForm(form, s);
        paycalc::Slip slip;
        paycalc::RecalculateAll(form, &slip.trace);
        paycalc::ReadForm(form, slip);
        const paycalc::Slip computed = paycalc::ComputeSlip(s, true);
        EXPECT_EQ(slip.situation, computed.situation);
        EXPECT_EQ(slip.texts, computed.texts);
        EXPECT_EQ(slip.Line(Field::Text13).rate, computed.Line(Field::Text13).rate);
    }
    paycalc::Situation s;
    s.zone = "1e400";
    const paycalc::Slip stopped = paycalc::ComputeSlip(s, true);
    ASSERT_FALSE(stopped.ok());
    EXPECT_EQ(stopped.error->step(), Field::Text12);
    EXPECT_FALSE(stopped.Line(Field::Text1).base.empty()); // base pay was reached
    EXPECT_EQ(stopped.Line(Field::Text13).explanation, nullptr);
    EXPECT_FALSE(stopped.Totals().computed);
}
