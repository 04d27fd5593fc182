// The monthly income-tax scale.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "paycalc/recalculate.h"
#include "paydata/amount.h"
#include "worked_examples.h"

using paydata::ReadAmount;
using paydata::ShowAmount;

namespace {

float Tax(double taxable) { return paycalc::ComputeIrg(paydata::ToSingle(taxable)); }

TEST(IncomeTax, WorkedValuesOfTheScale)
{
    std::ifstream in(testdata::DataPath("irg_scale.txt"));
    ASSERT_TRUE(in);
    std::string line;
    int checked = 0;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream row(line);
        std::string amount, base, tax;
        row >> amount >> base >> tax;
        SCOPED_TRACE(line);
        float taxable = paydata::ToSingle(ReadAmount(amount));
        EXPECT_EQ(paycalc::IrgScaleBase(taxable), ReadAmount(base));
        EXPECT_EQ(ShowAmount(static_cast<double>(paycalc::ComputeIrg(taxable))), tax);
        ++checked;
    }
    EXPECT_GE(checked, 24);
}

TEST(IncomeTax, ThresholdsBelongToTheLowerBracketAndTheScaleIsContinuous)
{
    for (double bound : {15000.0, 22500.0, 28750.0, 30000.0}) {
        // Just above the bound by one step of 10 the tax grows by at most one step.
        float at = Tax(bound), above = Tax(bound + 10);
        EXPECT_GT(above, at) << bound;
        EXPECT_LE(above - at, 3.0f) << bound;
    }
}

TEST(IncomeTax, EachStepOfTenRaisesTheTaxByItsBracketsStep)
{
    struct Bracket {
        double from, to, step;
    };
    for (Bracket b : {Bracket{15000, 22500, 2.0}, Bracket{22500, 28750, 1.2}, Bracket{28750, 30000, 2.0},
                      Bracket{30000, 99990, 3.0}}) {
        for (double a = b.from; a < b.to; a += 10) {
            double rise = ReadAmount(ShowAmount(static_cast<double>(Tax(a + 10)))) -
                          ReadAmount(ShowAmount(static_cast<double>(Tax(a))));
            ASSERT_NEAR(rise, b.step, 1e-6) << a;
        }
    }
}

TEST(IncomeTax, NeverFallsAsTheAmountRises)
{
    float previous = Tax(-100);
    for (double cents = -10000; cents <= 20000000; cents += 7) { // up to 200000.00, every 0.07
        float tax = Tax(cents / 100);
        ASSERT_GE(tax, previous) << cents / 100;
        previous = tax;
    }
}

TEST(IncomeTax, CentsNeverChangeTheTaxBelowOneHundredThousand)
{
    for (double a = 15000; a < 100000; a += 990) {
        float whole = Tax(a);
        for (double c : {0.01, 0.5, 9.99}) ASSERT_EQ(Tax(a + c), whole) << a + c;
    }
}

} // namespace
