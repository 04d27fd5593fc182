// The rules table is the one place a rule's number is written: each line of a
// slip is computed from the table's value, and its explanation states that
// same value. The expectations below are built from kJanuary2016 itself, so a
// change of a value in the table moves the slip and the explanations together
// (the golden files are what pin the January 2016 values).
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>

#include "tests/memory_form.h"
#include "paycalc/recalculate.h"
#include "paycalc/rules_2016.h"
#include "paycalc/slip.h"
#include "paydata/amount.h"
#include "paydata/arabic_words.h"
#include "paydata/number_text.h"
#include "paydata/tables.h"

using paycalc::Field;
using paycalc::kJanuary2016;
using paydata::ReadAmount;
using paydata::ShowAmount;

namespace {

constexpr const paycalc::Rules &R = kJanuary2016;

// A number as an explanation writes it: plain decimal, the shortest that reads back.
std::string N(double value) { return paydata::FixedText(value); }

bool Contains(const std::string &text, const std::string &part) { return text.find(part) != std::string::npos; }

struct Computed {
    paycalc::Situation in;
    paycalc::Slip slip;
    double Read(Field f) const { return ReadAmount(slip.Text(f)); }
    const paycalc::Explanation &E(Field f) const { return *slip.trace.Find(f); }
};

// One line's check: the line as the table's rule gives it, and the parts of
// its explanation that must state the table's values.
struct LineRule {
    const char *name;
    Field field;
    std::function<bool(const paycalc::Situation &)> applies;
    std::function<double(const Computed &)> expected;
    std::function<std::string(const Computed &)> formula;   // the whole computation as explained
    std::function<std::string(const Computed &)> ruleStart; // how the rule in words begins ("" to skip)
};

double Rate(double percent) { return percent / 100; }

const std::vector<LineRule> &LineRules()
{
    static const std::vector<LineRule> rules{
        {"base pay", Field::Text1, [](auto &) { return true; },
         [](const Computed &c) { return R.pointValue * paydata::BasePoints(c.in.category - 1); },
         [](const Computed &c) {
             return std::to_string(paydata::BasePoints(c.in.category - 1)) + " × " + N(R.pointValue);
         },
         [](const Computed &) { return std::string(); }},
        {"pedagogical experience", Field::Text4, [](auto &) { return true; },
         [](const Computed &c) { return c.in.echelon * c.Read(Field::Text1) * R.pedagogicalPercentPerEchelon / 100; },
         [](const Computed &c) {
             return std::to_string(c.in.echelon) + " × " + c.slip.Text(Field::Text1) + " × " +
                    N(R.pedagogicalPercentPerEchelon) + " ÷ 100";
         },
         [](const Computed &) { return N(R.pedagogicalPercentPerEchelon) + " % "; }},
        {"new allowance", Field::Text6, [](auto &) { return true; },
         [](const Computed &c) { return c.Read(Field::Text3) * Rate(R.newAllowancePercent); },
         [](const Computed &c) { return c.slip.Text(Field::Text3) + " × " + N(Rate(R.newAllowancePercent)); },
         [](const Computed &) { return N(R.newAllowancePercent) + " % "; }},
        {"qualification, lower categories", Field::Text7,
         [](auto &s) { return s.category <= R.qualificationLowLastCategory; },
         [](const Computed &c) { return c.Read(Field::Text3) * Rate(R.qualificationLowPercent); },
         [](const Computed &c) { return c.slip.Text(Field::Text3) + " × " + N(Rate(R.qualificationLowPercent)); },
         [](const Computed &) { return N(R.qualificationLowPercent) + " % "; }},
        {"qualification, higher categories", Field::Text7,
         [](auto &s) { return s.category > R.qualificationLowLastCategory; },
         [](const Computed &c) { return c.Read(Field::Text3) * Rate(R.qualificationHighPercent); },
         [](const Computed &c) { return c.slip.Text(Field::Text3) + " × " + N(Rate(R.qualificationHighPercent)); },
         [](const Computed &) { return N(R.qualificationLowPercent) + " % "; }},
        {"social security", Field::Text13, [](auto &) { return true; },
         [](const Computed &c) { return c.Read(Field::Text12) * Rate(R.socialSecurityPercent); },
         [](const Computed &c) { return c.slip.Text(Field::Text12) + " × " + N(R.socialSecurityPercent) + " %"; },
         [](const Computed &) { return N(R.socialSecurityPercent) + " % "; }},
        {"mutual insurance", Field::Text16, [](auto &s) { return s.mutual; },
         [](const Computed &c) { return c.Read(Field::Text12) * Rate(R.mutualPercent); },
         [](const Computed &c) { return c.slip.Text(Field::Text12) + " × " + N(R.mutualPercent) + " %"; },
         [](const Computed &) { return N(R.mutualPercent) + " % "; }},
        {"children up to the full-rate count", Field::Text2000, [](auto &s) { return s.children <= R.fullRateChildren; },
         [](const Computed &c) { return c.in.children * R.childAllowance; },
         [](const Computed &c) { return std::to_string(c.in.children) + " × " + N(R.childAllowance); },
         [](const Computed &) { return N(R.childAllowance) + " "; }},
        {"children beyond the full-rate count", Field::Text2000, [](auto &s) { return s.children > R.fullRateChildren; },
         [](const Computed &c) {
             return (c.in.children - R.fullRateChildren) * R.childAllowanceBeyond + R.fullRateChildren * R.childAllowance;
         },
         [](const Computed &c) {
             return "(" + std::to_string(c.in.children) + " − " + N(R.fullRateChildren) + ") × " +
                    N(R.childAllowanceBeyond) + " + " + N(R.fullRateChildren * R.childAllowance);
         },
         [](const Computed &) { return N(R.fullRateChildren * R.childAllowance) + " "; }},
        {"older children", Field::Text17, [](auto &) { return true; },
         [](const Computed &c) { return c.in.overTen * R.olderChildAllowance + c.Read(Field::Text2000); },
         [](const Computed &c) {
             return std::to_string(c.in.overTen) + " × " + N(R.olderChildAllowance) + " + " +
                    c.slip.Text(Field::Text2000);
         },
         [](const Computed &) { return N(R.olderChildAllowance) + " "; }},
        {"single wage", Field::Text18, [](auto &s) { return s.married() && !s.spouseWorking(); },
         [](const Computed &) { return R.singleWage; }, [](const Computed &) { return std::string(); },
         [](const Computed &) { return std::string(); }},
        {"absences", Field::Text19, [](auto &) { return true; },
         [](const Computed &c) { return c.Read(Field::Text2001) / R.daysInMonth * ReadAmount(c.in.absence); },
         [](const Computed &c) {
             return c.slip.Text(Field::Text2001) + " ÷ " + N(R.daysInMonth) + " × " + N(ReadAmount(c.in.absence));
         },
         [](const Computed &) { return "جزء من " + std::string(R.daysInMonthWords) + " "; }},
        {"performance bonus", Field::Text22, [](auto &) { return true; },
         [](const Computed &c) {
             return ReadAmount(c.in.mark) / R.bonusFullMark * c.Read(Field::Text3) * R.bonusMonths *
                    Rate(R.bonusPercent) * R.bonusFinalFactor;
         },
         [](const Computed &c) {
             return N(ReadAmount(c.in.mark)) + " ÷ " + N(R.bonusFullMark) + " × " + c.slip.Text(Field::Text3) + " × " +
                    N(R.bonusMonths) + " × " + N(Rate(R.bonusPercent)) + " × " + N(R.bonusFinalFactor);
         },
         [](const Computed &) { return "مردودية " + std::string(R.bonusMonthsWords) + " أشهر"; }},
    };
    return rules;
}

std::vector<paycalc::Situation> Situations()
{
    std::vector<paycalc::Situation> all;
    for (int category : {1, 10, 11, 12, 13, 17})
        for (int children : {0, 3, 5, 6, 9}) {
            paycalc::Situation s;
            s.category = category;
            s.echelon = (category + children) % 13;
            s.children = children;
            s.overTen = children / 2;
            s.spouse = children % 2;
            s.mutual = children % 3 != 0;
            s.absence = std::to_string(children % 4);
            s.mark = std::to_string(40 - children);
            s.zone = std::to_string(category * 317);
            all.push_back(s);
        }
    return all;
}

TEST(RulesTable, EachLineIsTheTablesRuleAndItsExplanationStatesTheTablesValues)
{
    int checked = 0;
    for (const paycalc::Situation &in : Situations()) {
        Computed c{in, paycalc::ComputeSlip(in, true)};
        ASSERT_TRUE(c.slip.ok());
        for (const LineRule &rule : LineRules()) {
            if (!rule.applies(in)) continue;
            SCOPED_TRACE(std::string(rule.name) + ", category " + std::to_string(in.category) + ", children " +
                         std::to_string(in.children));
            const paycalc::Explanation &e = c.E(rule.field);
            EXPECT_EQ(c.slip.Text(rule.field), ShowAmount(rule.expected(c)));
            EXPECT_EQ(e.formula, rule.formula(c));
            EXPECT_EQ(e.rule.rfind(rule.ruleStart(c), 0), 0u) << e.rule;
            ++checked;
        }
    }
    EXPECT_GE(checked, 280); // 30 situations, nine to eleven lines each
}

TEST(RulesTable, ExplanationsInWordsStateTheTablesNumbers)
{
    paycalc::Situation in;
    in.category = 11; // the middle band of the documentation allowance
    in.children = 7;
    Computed c{in, paycalc::ComputeSlip(in, true)};
    ASSERT_TRUE(c.slip.ok());
    const std::string point = "قيمة النقطة " + N(R.pointValue);
    EXPECT_TRUE(Contains(c.E(Field::Text1).rule, point)) << c.E(Field::Text1).rule;
    EXPECT_TRUE(Contains(c.E(Field::Text2).rule, point)) << c.E(Field::Text2).rule;

    const std::string &documentation = c.E(Field::Text5).rule;
    for (double amount : {R.documentationLow, R.documentationMiddle, R.documentationHigh})
        EXPECT_TRUE(Contains(documentation, N(amount) + " ")) << documentation;
    EXPECT_TRUE(Contains(documentation, "إلى " + std::to_string(R.documentationLowLastCategory) + "،")) << documentation;
    EXPECT_TRUE(Contains(documentation, "الصنف " + std::to_string(R.documentationHighFirstCategory) + "؛"))
        << documentation;
    EXPECT_EQ(c.slip.Text(Field::Text5), ShowAmount(R.documentationMiddle));

    const std::string &qualification = c.E(Field::Text7).rule;
    EXPECT_TRUE(Contains(qualification, "و" + N(R.qualificationHighPercent) + " %")) << qualification;
    EXPECT_TRUE(Contains(qualification, "الصنف " + std::to_string(R.qualificationLowLastCategory) + "،"))
        << qualification;

    const std::string &children = c.E(Field::Text2000).rule;
    EXPECT_TRUE(Contains(children, std::string(R.fullRateChildrenWords))) << children;
    EXPECT_TRUE(Contains(children, N(R.childAllowanceBeyond) + " عن كل ولد بعد " + std::string(R.fullRateChildOrdinal)))
        << children;
    EXPECT_TRUE(Contains(c.E(Field::Text17).rule, "أكبر من " + N(R.olderChildAge) + " ")) << c.E(Field::Text17).rule;
    EXPECT_TRUE(Contains(c.E(Field::Text18).rule, "منحة الأجر الوحيد " + N(R.singleWage))) << c.E(Field::Text18).rule;

    const std::string &bonus = c.E(Field::Text22).rule;
    for (const std::string &part : {"العلامة من " + N(R.bonusFullMark) + "،", "في " + N(R.bonusMonths) + " أشهر",
                                    "بنسبة " + N(R.bonusPercent) + " %", "في " + N(R.bonusFinalFactor)})
        EXPECT_TRUE(Contains(bonus, part)) << part << " in " << bonus;
}

TEST(RulesTable, IncomeTaxIsTheTablesScale)
{
    const auto &scale = R.incomeTax;
    for (std::size_t i = 0; i < scale.brackets.size(); ++i) {
        const paycalc::IrgBracket &b = scale.brackets[i];
        SCOPED_TRACE(b.lower);
        // A scale base a few steps above the lower bound falls in this bracket.
        const double base = b.lower + 3 * scale.step;
        EXPECT_EQ(&paycalc::IrgBracketOf(base), &b);
        const double tax = b.exempt ? 0 : (base - b.lower) * b.factor / scale.step + b.fixed;
        EXPECT_EQ(ShowAmount(static_cast<double>(paycalc::ComputeIrg(static_cast<float>(base + scale.step / 2)))),
                  ShowAmount(tax));
        if (i + 1 < scale.brackets.size()) {
            EXPECT_EQ(b.upTo, scale.brackets[i + 1].lower);
        }
    }

    // A slip's explanation divides by the step and states the bracket's bound and rate.
    paycalc::Situation in;
    Computed c{in, paycalc::ComputeSlip(in, true)};
    const paycalc::Explanation &e = c.E(Field::Text15);
    const paycalc::IrgBracket &b = paycalc::IrgBracketOf(paycalc::IrgScaleBase(static_cast<float>(c.Read(Field::Text14))));
    ASSERT_FALSE(b.exempt);
    EXPECT_TRUE(Contains(e.formula, " × " + N(b.factor) + " ÷ " + N(scale.step))) << e.formula;
    EXPECT_TRUE(Contains(e.rule, "مضاعف " + N(scale.step) + " ")) << e.rule;
    EXPECT_TRUE(Contains(e.rule, "فوق " + N(b.lower) + " بنسبة " + N(b.factor * 100 / scale.step) + " %")) << e.rule;
}

TEST(RulesTable, TheWordsOfTheTableSayItsNumbers)
{
    auto whole = [](double n) { return static_cast<std::uint64_t>(n); };
    EXPECT_EQ(std::string(R.bonusMonthsWords), paydata::NumberInArabicWords(whole(R.bonusMonths)));
    EXPECT_EQ(std::string(R.fullRateChildrenWords), "ال" + paydata::NumberInArabicWords(whole(R.fullRateChildren)));
    // "one part of thirty": a ten in the genitive ends in -ين where the count says -ون.
    std::string tens = paydata::NumberInArabicWords(whole(R.daysInMonth));
    ASSERT_EQ(tens.substr(tens.size() - 4), "ون");
    EXPECT_EQ(std::string(R.daysInMonthWords), tens.substr(0, tens.size() - 4) + "ين");
}

TEST(RulesTable, EveryRateIsTheDecimalOfItsPercentage)
{
    // A rate is kept as its percentage and divided by 100: for each whole
    // percentage that is the double of the decimal rate written out.
    for (int percent = 0; percent <= 100; ++percent) {
        const std::string decimal = percent == 100 ? "1" : (percent < 10 ? "0.0" : "0.") + std::to_string(percent);
        EXPECT_EQ(paycalc::Rate(percent), ReadAmount(decimal)) << percent;
    }
    // Every number an explanation quotes reads back as the one computed with.
    for (double value : {R.pointValue, paycalc::Rate(R.newAllowancePercent), paycalc::Rate(R.qualificationLowPercent),
                         paycalc::Rate(R.qualificationHighPercent), R.olderChildAllowance,
                         paycalc::Rate(R.bonusPercent), R.bonusFinalFactor})
        EXPECT_EQ(ReadAmount(N(value)), value) << N(value);
}

} // namespace
