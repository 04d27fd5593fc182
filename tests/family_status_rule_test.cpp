// The family-status rule at its home: a single employee has no children
// counted, for every pairing of status and children counts, on a situation
// and on a form.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "paycalc/family_status_rule.h"
#include "paycalc/memory_form.h"
#include "paycalc/situation.h"

namespace {

using paycalc::Situation;

struct RuleCase {
    int status;   // Combo1(5): 0 single, 1 married
    int children; // Combo1(2)
    int overTen;  // Combo1(3)
    bool breaks;  // whether the situation breaks the rule
};

std::string Name(const RuleCase& c)
{
    return std::string(c.status == 0 ? "single" : "married") + "_children" + std::to_string(c.children) +
           "_overTen" + std::to_string(c.overTen);
}

void PrintTo(const RuleCase& c, std::ostream* out) { *out << Name(c); }

class FamilyStatusRule : public testing::TestWithParam<RuleCase> {
protected:
    static Situation Of(const RuleCase& c)
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
    const RuleCase& c = GetParam();
    const Situation s = Of(c);
    EXPECT_EQ(paycalc::BreaksFamilyStatusRule(s), c.breaks);
    EXPECT_EQ(paycalc::BreaksFamilyStatusRule(s, paycalc::kChildrenList), c.status == 0 && c.children != 0);
    EXPECT_EQ(paycalc::BreaksFamilyStatusRule(s, paycalc::kOverTenList), c.status == 0 && c.overTen != 0);
    EXPECT_FALSE(paycalc::BreaksFamilyStatusRule(s, paycalc::kCategoryList));
    EXPECT_EQ(s.Problem(), c.breaks ? std::string(paycalc::kFamilyStatusRuleProblem) : std::string());
}

TEST_P(FamilyStatusRule, ApplyingItHoldsASingleEmployeesCountsAtZero)
{
    const RuleCase& c = GetParam();
    Situation s = Of(c);
    EXPECT_EQ(paycalc::ApplyFamilyStatusRule(s), c.breaks);
    EXPECT_EQ(s.children, c.status == 0 ? 0 : c.children);
    EXPECT_EQ(s.overTen, c.status == 0 ? 0 : c.overTen);
    EXPECT_EQ(s.status, c.status);
    EXPECT_FALSE(paycalc::BreaksFamilyStatusRule(s));
    EXPECT_FALSE(paycalc::ApplyFamilyStatusRule(s)); // once applied, it holds
}

TEST_P(FamilyStatusRule, AFormHoldsTheSameLists)
{
    const RuleCase& c = GetParam();
    paycalc::MemoryForm form;
    paycalc::FillForm(form, Of(c));
    const auto holds = paycalc::FamilyStatusRuleHolds(form);
    if (c.status != 0) {
        EXPECT_TRUE(holds.empty());
        return;
    }
    ASSERT_EQ(holds.size(), 2u);
    EXPECT_EQ(holds[0].list, paycalc::kChildrenList);
    EXPECT_EQ(holds[1].list, paycalc::kOverTenList);
    for (const paycalc::HeldList& held : holds) EXPECT_EQ(held.position, 0);
}

INSTANTIATE_TEST_SUITE_P(StatusAndCounts, FamilyStatusRule,
                         testing::Values(RuleCase{0, 0, 0, false}, RuleCase{0, 1, 0, true}, RuleCase{0, 0, 2, true},
                                         RuleCase{0, 12, 12, true}, RuleCase{1, 0, 0, false},
                                         RuleCase{1, 1, 0, false}, RuleCase{1, 0, 2, false},
                                         RuleCase{1, 12, 12, false}),
                         [](const testing::TestParamInfo<RuleCase>& param) { return Name(param.param); });

} // namespace
