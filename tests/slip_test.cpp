// Whole slips and stretches of the slip against the worked examples, and how
// a recalculation stops when a line cannot be computed.
#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "cli/cli.h"
#include "tests/memory_form.h"
#include "paycalc/recalculate.h"
#include "worked_examples.h"

using paycalc::Field;
using paycalc::MemoryForm;

namespace {

const std::map<std::string, std::function<void(paycalc::PayForm &)>> kGroups{
    {"base-pay", [](paycalc::PayForm &f) { paycalc::ComputeBasePay(f); }},
    {"allowances", [](paycalc::PayForm &f) { paycalc::ComputeAllowances(f); }},
    {"social-security", [](paycalc::PayForm &f) { paycalc::ComputeSocialSecurity(f); }},
    {"net-pay", [](paycalc::PayForm &f) { paycalc::ComputeNetPay(f); }},
};

MemoryForm FormFor(const std::vector<std::string> &args)
{
    MemoryForm form;
    paycalc::FillForm(form, cli::ParseOptions(args).situation);
    return form;
}

TEST(WorkedExamples, EveryCaseMatchesToTheCent)
{
    const auto cases = testdata::ReadSlipCases(testdata::DataPath("worked.slips"));
    ASSERT_GE(cases.size(), 30u);
    for (const auto &c : cases) {
        SCOPED_TRACE(c.file + ":" + std::to_string(c.line) + ": " + c.title);
        ASSERT_FALSE(c.expect.empty());
        MemoryForm form = FormFor(c.args);
        for (const auto &[field, text] : c.preset) form.SetText(field, text);
        if (c.groups.empty()) {
            paycalc::RecalculateAll(form);
        } else {
            for (const auto &group : c.groups) {
                ASSERT_TRUE(kGroups.count(group)) << "unknown group " << group;
                kGroups.at(group)(form);
            }
        }
        for (const auto &[field, text] : c.expect) EXPECT_EQ(form.Text(field), text) << paycalc::FieldName(field);
    }
}

TEST(Recalculation, KeepsNoStateBetweenRuns)
{
    MemoryForm form;
    paycalc::RecalculateAll(form);
    const MemoryForm first = form;
    form.Select(paycalc::kCategoryList, 16);
    form.SetText(Field::Text10, "5000");
    paycalc::RecalculateAll(form);
    EXPECT_NE(form.Text(Field::Text21), first.Text(Field::Text21));
    form.Select(paycalc::kCategoryList, paycalc::kStartupSelection[0]);
    form.SetText(Field::Text10, "0");
    paycalc::RecalculateAll(form);
    for (Field f : paycalc::kComputedFields) EXPECT_EQ(form.Text(f), first.Text(f)) << paycalc::FieldName(f);
}

TEST(Recalculation, NothingSelectedYetCountsAsNone)
{
    // During start-up the toolkit may recalculate before every list has its
    // selection: an unselected echelon adds nothing and an unselected post
    // leaves the allowance line empty, without failing.
    MemoryForm form;
    form.Select(paycalc::kEchelonList, -1);
    form.Select(paycalc::kPostList, -1);
    form.Select(paycalc::kChildrenList, -1);
    form.Select(paycalc::kFamilyStatusList, -1);
    paycalc::RecalculateAll(form);
    EXPECT_EQ(form.Text(Field::Text2), "0.00");
    EXPECT_EQ(form.Text(Field::Text4), "0.00");
    EXPECT_EQ(form.Text(Field::Text3), form.Text(Field::Text1));
    EXPECT_EQ(form.Text(Field::Text9), "");
    EXPECT_EQ(form.Text(Field::Text2000), "0.00");
    EXPECT_EQ(form.Text(Field::Text18), "800.00"); // no status picked counts as married
}

TEST(Recalculation, GreyedMutualBoxCountsAsNotAMember)
{
    MemoryForm form;
    form.SetCheck(paycalc::CheckState::Grayed);
    paycalc::RecalculateAll(form);
    EXPECT_EQ(form.Text(Field::Text16), "0.00");
}

// A failing line stops the recalculation there: the lines before it carry
// their new texts, the ones after it keep what they had.
struct FailureCase {
    const char *title;
    std::vector<std::pair<Field, std::string>> typed;
    Field step;
    paydata::FailureKind kind;
    std::optional<Field> source;
};

void PrintTo(const FailureCase &c, std::ostream *os) { *os << c.title; }

class FailurePath : public testing::TestWithParam<FailureCase> {};

TEST_P(FailurePath, StopsAtTheFailingLine)
{
    const FailureCase &fc = GetParam();
    MemoryForm form;
    for (Field f : paycalc::kComputedFields) form.SetText(f, "stale");
    for (const auto &[field, text] : fc.typed) form.SetText(field, text);

    MemoryForm reference; // the same inputs with nothing absurd typed: lines before the failure agree
    paycalc::RecalculateAll(reference);

    try {
        paycalc::RecalculateAll(form);
        FAIL() << "no error";
    } catch (const paycalc::RecalcError &e) {
        EXPECT_EQ(e.step(), fc.step) << e.what();
        EXPECT_EQ(e.kind(), fc.kind) << e.what();
        EXPECT_EQ(e.source(), fc.source) << e.what();
    }
    // The order of computation: Text2000 comes before Text17, Text2001 before Text19.
    bool reached = false;
    const std::vector<Field> order{Field::Text1,  Field::Text2,  Field::Text3,    Field::Text4,  Field::Text5,
                                   Field::Text6,  Field::Text7,  Field::Text8,    Field::Text9,  Field::Text12,
                                   Field::Text13, Field::Text14, Field::Text15,   Field::Text16, Field::Text2000,
                                   Field::Text17, Field::Text18, Field::Text2001, Field::Text19, Field::Text21,
                                   Field::Text22};
    for (Field f : order) {
        if (f == fc.step) reached = true;
        if (reached) EXPECT_EQ(form.Text(f), "stale") << paycalc::FieldName(f);
        else if (f < Field::Text10) EXPECT_EQ(form.Text(f), reference.Text(f)) << paycalc::FieldName(f);
        else EXPECT_NE(form.Text(f), "stale") << paycalc::FieldName(f);
    }
}

using paydata::FailureKind;
// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Overflows, FailurePath,
    testing::Values(
        FailureCase{"zone beyond a double", {{Field::Text10, "1E400"}}, Field::Text12, FailureKind::Overflow, Field::Text10},
        FailureCase{"housing of 400 nines", {{Field::Text11, std::string(400, '9')}}, Field::Text12, FailureKind::Overflow, Field::Text11},
        FailureCase{"sum beyond a double", {{Field::Text10, "1E308"}, {Field::Text11, "1E308"}}, Field::Text12, FailureKind::Overflow, std::nullopt},
        FailureCase{"taxable amount beyond a single", {{Field::Text10, "1E300"}}, Field::Text15, FailureKind::Overflow, std::nullopt},
        FailureCase{"absence count beyond any pay", {{Field::Text20, "1E308"}}, Field::Text19, FailureKind::Overflow, std::nullopt},
        FailureCase{"absence count beyond a double", {{Field::Text20, "9E999"}}, Field::Text19, FailureKind::Overflow, Field::Text20},
        FailureCase{"performance mark beyond any pay", {{Field::Text23, "1E307"}}, Field::Text22, FailureKind::Overflow, std::nullopt}),
    // clang-format on
    [](const testing::TestParamInfo<FailureCase> &param) {
        std::string name;
        for (const char *p = param.param.title; *p; ++p)
            name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
        return name;
    });

TEST(FailurePath, ListTextOutsideItsEntriesNamesTheLine)
{
    MemoryForm form;
    form.SetListText(paycalc::kCategoryList, "18");
    try {
        paycalc::RecalculateAll(form);
        FAIL() << "no error";
    } catch (const paycalc::RecalcError &e) {
        EXPECT_EQ(e.step(), Field::Text1);
        EXPECT_EQ(e.kind(), FailureKind::NoSuchRow);
    }
    MemoryForm echelon;
    echelon.SetListText(paycalc::kEchelonList, "13");
    EXPECT_THROW(paycalc::RecalculateAll(echelon), paycalc::RecalcError);
    // Base pay and the experience allowance are written together, after both are known.
    EXPECT_EQ(echelon.Text(Field::Text1), "");
    EXPECT_EQ(echelon.Text(Field::Text2), "");
}

TEST(FailurePath, NextRunAfterAFailureIsWhole)
{
    MemoryForm form;
    form.SetText(Field::Text10, "1E400");
    EXPECT_THROW(paycalc::RecalculateAll(form), paycalc::RecalcError);
    form.SetText(Field::Text10, "0");
    paycalc::RecalculateAll(form);
    EXPECT_EQ(form.Text(Field::Text21), "43432.12");
}

} // namespace
