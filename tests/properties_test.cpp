// Properties of whole slips over many generated inputs: the lines add up to
// the cent as shown, and the bonus depends on nothing but the mark and main pay.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "cli/cli.h"
#include "tests/memory_form.h"
#include "paycalc/recalculate.h"
#include "situation_gen.h"

using paycalc::Field;

namespace {

// A shown amount in whole cents, read from its digits.
long long Cents(const std::string &shown)
{
    bool negative = !shown.empty() && shown[0] == '-';
    long long cents = 0;
    for (char c : shown)
        if (c >= '0' && c <= '9') cents = cents * 10 + (c - '0');
    return negative ? -cents : cents;
}

paycalc::MemoryForm Slip(const paycalc::Situation &in)
{
    paycalc::MemoryForm form;
    paycalc::FillForm(form, in);
    paycalc::RecalculateAll(form);
    return form;
}

TEST(SlipProperties, LinesAddUpToTheCentAsShown)
{
    std::mt19937 random(2016);
    for (int i = 0; i < 20000; ++i) {
        paycalc::Situation in = testdata::RandomSituation(random);
        paycalc::MemoryForm s = Slip(in);
        auto c = [&](Field f) { return Cents(s.Text(f)); };
        SCOPED_TRACE("category " + std::to_string(in.category) + " echelon " + std::to_string(in.echelon) + " zone " +
                     in.zone + " housing " + in.housing + " absence " + in.absence);
        ASSERT_EQ(c(Field::Text3), c(Field::Text1) + c(Field::Text2));
        long long subject = 0;
        for (Field f : {Field::Text3, Field::Text4, Field::Text5, Field::Text6, Field::Text7, Field::Text8,
                        Field::Text9, Field::Text10, Field::Text11})
            subject += f == Field::Text10 || f == Field::Text11 ? Cents(s.Text(f)) : c(f);
        ASSERT_EQ(c(Field::Text12), subject);
        ASSERT_EQ(c(Field::Text14), c(Field::Text12) - c(Field::Text13));
        ASSERT_EQ(c(Field::Text2001), c(Field::Text12) - c(Field::Text13) - c(Field::Text15) - c(Field::Text16));
        ASSERT_EQ(c(Field::Text21), c(Field::Text17) + c(Field::Text2001) + c(Field::Text18) - c(Field::Text19));
        // The contribution and the mutual insurance are their rates of the
        // subject pay, to the nearest cent.
        ASSERT_LE(std::llabs(c(Field::Text13) * 100 - 9 * c(Field::Text12)), 50);
        if (in.mutual) {
            ASSERT_LE(std::llabs(c(Field::Text16) * 100 - c(Field::Text12)), 50);
        } else {
            ASSERT_EQ(c(Field::Text16), 0);
        }
        ASSERT_GE(c(Field::Text15), 0);
    }
}

TEST(SlipProperties, BonusDependsOnlyOnTheMarkAndMainPay)
{
    std::mt19937 random(7);
    for (int i = 0; i < 5000; ++i) {
        paycalc::Situation a = testdata::RandomSituation(random);
        paycalc::Situation b = testdata::RandomSituation(random);
        // Same grade and mark, everything else drawn afresh.
        b.category = a.category;
        b.echelon = a.echelon;
        b.mark = a.mark;
        paycalc::MemoryForm sa = Slip(a), sb = Slip(b);
        ASSERT_EQ(sa.Text(Field::Text3), sb.Text(Field::Text3));
        ASSERT_EQ(sa.Text(Field::Text22), sb.Text(Field::Text22));
        // At the full mark the bonus is main pay x 0.9828, to the cent.
        if (a.mark == "40") {
            ASSERT_LE(std::llabs(Cents(sa.Text(Field::Text22)) * 10000 - 9828 * Cents(sa.Text(Field::Text3))), 5000);
        }
    }
}

TEST(SlipProperties, TaxNeverFallsAsTheZoneAllowanceRises)
{
    std::mt19937 random(11);
    for (int i = 0; i < 200; ++i) {
        paycalc::Situation in = testdata::RandomSituation(random);
        long long previousTax = -1, previousSubject = -1;
        for (int zone = 0; zone <= 60000; zone += 370) {
            in.zone = std::to_string(zone);
            paycalc::MemoryForm s = Slip(in);
            long long tax = Cents(s.Text(Field::Text15)), subject = Cents(s.Text(Field::Text12));
            ASSERT_GT(subject, previousSubject);
            ASSERT_GE(tax, previousTax) << "zone " << zone;
            previousTax = tax;
            previousSubject = subject;
        }
    }
}

} // namespace
