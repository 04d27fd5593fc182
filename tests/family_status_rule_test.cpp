// The family-status rule at its home: a single employee has no children
// counted, for every pairing of status and children counts, on a situation,
// in a window's lists and when read from text.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "paycalc/situation.h"
#include "paycalc/situation_inputs.h"

namespace {

using paycalc::Situation;

struct RuleCase {
    int status;   // Combo1(5): 0 single, 1 married
    int children; // Combo1(2)
    int overTen;  // Combo1(3)
    bool breaks;  // whether the situation breaks the rule
};

std::string Name(const RuleCase &c)
{
    return std::string(c.status == 0 ? "single" : "married") + "_children" + std::to_string(c.children) + "_overTen" +
           std::to_string(c.overTen);
}

void PrintTo(const RuleCase &c, std::ostream *out) { *out << Name(c); }

class FamilyStatusRule : public testing::TestWithParam<RuleCase> {
protected:
    static Situation Of(const RuleCase &c)
    {
        Situation s;
        s.status = c.status;
        s.children = c.children;
        s.overTen = c.overTen;
        return s;
    }
};

TEST_P(FamilyStatusRule, BreaksWhenSingleWithAChildrenCount)
{
    const RuleCase &c = GetParam();
    const Situation s = Of(c);
    EXPECT_EQ(paycalc::BreaksFamilyStatusRule(s), c.breaks);
    EXPECT_EQ(s.Problem(), c.breaks ? std::string("a single employee has no children counted") : std::string());
}

TEST_P(FamilyStatusRule, ApplyingItHoldsASingleEmployeesCountsAtZero)
{
    const RuleCase &c = GetParam();
    Situation s = Of(c);
    EXPECT_EQ(paycalc::ApplyFamilyStatusRule(s), c.breaks);
    EXPECT_EQ(s.children, c.status == 0 ? 0 : c.children);
    EXPECT_EQ(s.overTen, c.status == 0 ? 0 : c.overTen);
    EXPECT_EQ(s.status, c.status);
    EXPECT_FALSE(paycalc::BreaksFamilyStatusRule(s));
    EXPECT_FALSE(paycalc::ApplyFamilyStatusRule(s)); // once applied, it holds
}

// The lists a window holds at 0 are the children lists, while single only.
TEST_P(FamilyStatusRule, AWindowHoldsTheSameLists)
{
    const RuleCase &c = GetParam();
    const auto held = paycalc::ListsHeldAtZero(c.status);
    if (c.status != 0) {
        EXPECT_TRUE(held.empty());
        return;
    }
    ASSERT_EQ(held.size(), 2u);
    EXPECT_EQ(held[0], paycalc::kChildrenList);
    EXPECT_EQ(held[1], paycalc::kOverTenList);
}

// Read from text as the command line, the batch and a link read it: a count
// given against the rule is a problem, one not given is held at 0.
TEST_P(FamilyStatusRule, ReadingHoldsOrRefusesTheCounts)
{
    const RuleCase &c = GetParam();
    const std::string status = c.status == 0 ? "single" : "married";
    const std::string children = std::to_string(c.children);
    const std::string overTen = std::to_string(c.overTen);
    const paycalc::GivenValue given[] = {{&paycalc::InputOf(paycalc::Input::Status), status},
                                         {&paycalc::InputOf(paycalc::Input::Children), children},
                                         {&paycalc::InputOf(paycalc::Input::OverTen), overTen}};
    Situation s;
    const auto problems = paycalc::ReadValues(given, s, true);
    EXPECT_EQ(problems.size(), static_cast<std::size_t>((c.status == 0 && c.children) + (c.status == 0 && c.overTen)));
    for (const paycalc::ValueProblem &p : problems) EXPECT_TRUE(p.familyRule);
    EXPECT_FALSE(paycalc::BreaksFamilyStatusRule(s));
    Situation statusOnly;
    statusOnly.children = 3; // a count not given
    EXPECT_TRUE(paycalc::ReadValues({given, 1}, statusOnly, true).empty());
    EXPECT_EQ(statusOnly.children, c.status == 0 ? 0 : 3);
}

INSTANTIATE_TEST_SUITE_P(StatusAndCounts, FamilyStatusRule,
                         testing::Values(RuleCase{0, 0, 0, false}, RuleCase{0, 1, 0, true}, RuleCase{0, 0, 2, true},
                                         RuleCase{0, 12, 12, true}, RuleCase{1, 0, 0, false}, RuleCase{1, 1, 0, false},
                                         RuleCase{1, 0, 2, false}, RuleCase{1, 12, 12, false}),
                         [](const testing::TestParamInfo<RuleCase> &param) { return Name(param.param); });

} // namespace
