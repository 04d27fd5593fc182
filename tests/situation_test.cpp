// Situations and the questions asked of several slips: comparisons, back
// pay, the career ladder and checking an official slip, against independent
// recalculations and cent arithmetic.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <set>

#include "tests/memory_form.h"
#include "paycalc/compare.h"
#include "paycalc/recalculate.h"
#include "paydata/amount.h"
#include "situation_gen.h"

namespace {

using paycalc::Field;
using paycalc::Situation;

// An amount as whole cents, read from its shown text ("-12.30" is -1230).
long long Cents(const std::string &text)
{
    EXPECT_FALSE(text.empty());
    const bool negative = !text.empty() && text[0] == '-';
    const std::string digits = negative ? text.substr(1) : text;
    const auto point = digits.find('.');
    EXPECT_NE(point, std::string::npos) << text;
    EXPECT_EQ(digits.size() - point, 3u) << text;
    const long long value = std::stoll(digits.substr(0, point)) * 100 + std::stoll(digits.substr(point + 1));
    return negative ? -value : value;
}

// The slip of a situation the long way: every list picked, the box ticked
// and every text typed on a fresh form, then one recalculation.
paycalc::MemoryForm Recalculated(const Situation &s)
{
    paycalc::MemoryForm form;
    form.Select(paycalc::kCategoryList, s.category - 1);
    form.Select(paycalc::kEchelonList, s.echelon);
    form.Select(paycalc::kPostList, s.post);
    form.Select(paycalc::kChildrenList, s.children);
    form.Select(paycalc::kOverTenList, s.overTen);
    form.Select(paycalc::kFamilyStatusList, s.status);
    form.Select(paycalc::kSpouseList, s.spouse);
    form.SetCheck(s.mutual ? paycalc::CheckState::Checked : paycalc::CheckState::Unchecked);
    form.SetText(Field::Text10, s.zone);
    form.SetText(Field::Text11, s.housing);
    form.SetText(Field::Text20, s.absence);
    form.SetText(Field::Text23, s.mark);
    paycalc::RecalculateAll(form);
    return form;
}

std::string Describe(const Situation &s)
{
    return "category " + std::to_string(s.category) + " echelon " + std::to_string(s.echelon) + " post " +
           std::to_string(s.post) + " status " + std::to_string(s.status) + " children " + std::to_string(s.children) +
           "/" + std::to_string(s.overTen) + " spouse " + std::to_string(s.spouse) + " mutual " +
           std::to_string(s.mutual) + " zone " + s.zone + " housing " + s.housing + " absence " + s.absence + " mark " +
           s.mark;
}

// --- Differences: worked examples ---

struct DifferenceCase {
    const char *before;
    const char *after;
    const char *expected;
};

class DifferenceExamples : public testing::TestWithParam<DifferenceCase> {};

TEST_P(DifferenceExamples, AfterMinusBeforeAsShown)
{
    EXPECT_EQ(paycalc::Difference(GetParam().before, GetParam().after), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Amounts, DifferenceExamples,
                         testing::Values(DifferenceCase{"43432.12", "45088.25", "1656.13"},
                                         DifferenceCase{"45088.25", "43432.12", "-1656.13"},
                                         DifferenceCase{"0.10", "0.30", "0.20"}, DifferenceCase{"0.30", "0.10", "-0.20"},
                                         DifferenceCase{"9100.00", "9100.00", "0.00"},
                                         DifferenceCase{"-120.50", "10.00", "130.50"},
                                         DifferenceCase{"0", "12abc", "12.00"}));

TEST(Difference, RefusesWhatCannotBeShown)
{
    EXPECT_THROW(paycalc::Difference("0", "1E400"), paydata::ConversionError);
    EXPECT_THROW(paycalc::Difference("-1.7E308", "1.7E308"), paydata::ConversionError);
}

// --- Comparisons ---

TEST(ComparisonProperties, EqualsTwoIndependentRecalculationsLineByLine)
{
    std::mt19937 random(1001);
    for (int i = 0; i < 3000; ++i) {
        const Situation before = testdata::RandomSituation(random);
        const Situation after = testdata::RandomChange(random, before);
        SCOPED_TRACE(Describe(before) + " -> " + Describe(after));
        const paycalc::Comparison c = paycalc::Compare(before, after);
        ASSERT_TRUE(c.ok());
        const paycalc::MemoryForm b = Recalculated(before), a = Recalculated(after);
        ASSERT_EQ(c.lines.size(), paycalc::kComputedFields.size());
        for (std::size_t k = 0; k < c.lines.size(); ++k) {
            const paycalc::LineDifference &line = c.lines[k];
            const Field f = paycalc::kComputedFields[k];
            ASSERT_EQ(line.field, f);
            ASSERT_EQ(line.before, b.Text(f)) << paycalc::FieldName(f);
            ASSERT_EQ(line.after, a.Text(f)) << paycalc::FieldName(f);
            ASSERT_EQ(c.before.Text(f), b.Text(f));
            ASSERT_EQ(c.after.Text(f), a.Text(f));
            ASSERT_EQ(Cents(line.difference), Cents(a.Text(f)) - Cents(b.Text(f))) << paycalc::FieldName(f);
            ASSERT_EQ(line.difference[0] == '-', Cents(a.Text(f)) < Cents(b.Text(f)));
        }
    }
}

TEST(ComparisonProperties, ASituationAgainstItselfDiffersNowhere)
{
    std::mt19937 random(3);
    for (int i = 0; i < 300; ++i) {
        const Situation s = testdata::RandomSituation(random);
        for (const paycalc::LineDifference &line : paycalc::Compare(s, s).lines)
            ASSERT_EQ(line.difference, "0.00") << paycalc::FieldName(line.field);
    }
}

TEST(Comparison, AFailedSlipLeavesItsDifferencesEmpty)
{
    Situation big;
    big.zone = "1E400";
    const paycalc::Comparison c = paycalc::Compare(Situation{}, big);
    EXPECT_TRUE(c.before.ok());
    EXPECT_FALSE(c.after.ok());
    EXPECT_FALSE(c.ok());
    EXPECT_EQ(c.Line(Field::Text1).difference, "0.00"); // computed before the failing line
    EXPECT_EQ(c.Line(Field::Text12).difference, "");
    EXPECT_EQ(c.Line(Field::Text21).difference, "");
    EXPECT_THROW(paycalc::ComputeBackPay(c, 1), std::invalid_argument);
}

// --- Back pay ---

TEST(BackPayProperties, EqualsTheMonthlyDifferencesAddedOneByOnePlusTheBonusQuarters)
{
    std::mt19937 random(2024);
    for (int i = 0; i < 600; ++i) {
        const Situation before = testdata::RandomSituation(random);
        const Situation after = testdata::RandomChange(random, before);
        const int months = std::uniform_int_distribution<int>(1, paycalc::kMaxBackPayMonths)(random);
        SCOPED_TRACE(Describe(before) + " -> " + Describe(after) + ", " + std::to_string(months) + " months");
        const paycalc::Comparison c = paycalc::Compare(before, after);
        const paycalc::BackPay pay = paycalc::ComputeBackPay(c, months);

        const std::string net = c.Line(Field::Text21).difference;
        const std::string bonus = c.Line(Field::Text22).difference;
        // Month after month: each month's net difference added to the sum shown so far.
        std::string monthly = "0.00";
        for (int m = 0; m < months; ++m)
            monthly = paydata::ShowAmount(paydata::Add(paydata::ReadAmount(monthly), paydata::ReadAmount(net)));
        // One bonus difference for each whole quarter.
        std::string quarters = "0.00";
        int quarterCount = 0;
        for (int m = 3; m <= months; m += 3, ++quarterCount)
            quarters = paydata::ShowAmount(paydata::Add(paydata::ReadAmount(quarters), paydata::ReadAmount(bonus)));
        const std::string total = paydata::ShowAmount(
            paydata::Add(paydata::ReadAmount(monthly), paydata::ReadAmount(quarters)));

        ASSERT_EQ(pay.months, months);
        ASSERT_EQ(pay.quarters, quarterCount);
        ASSERT_EQ(pay.netDifference, net);
        ASSERT_EQ(pay.bonusDifference, bonus);
        ASSERT_EQ(pay.monthly, monthly);
        ASSERT_EQ(pay.bonus, quarters);
        ASSERT_EQ(pay.total, total);
        ASSERT_EQ(Cents(pay.total), Cents(net) * months + Cents(bonus) * quarterCount);
    }
}

struct QuarterCase {
    int months;
    int quarters;
};

class WholeQuarters : public testing::TestWithParam<QuarterCase> {};

TEST_P(WholeQuarters, CountOnlyCompleteQuarters)
{
    Situation after;
    after.echelon = 8;
    const paycalc::BackPay pay = paycalc::ComputeBackPay(paycalc::Compare(Situation{}, after), GetParam().months);
    EXPECT_EQ(pay.quarters, GetParam().quarters);
    // Echelon 7 to 8 of category 11: net pay 43432.12 to 45088.25, bonus
    // 29719.87 to 30825.52 (the table of category 11).
    EXPECT_EQ(pay.netDifference, "1656.13");
    EXPECT_EQ(pay.bonusDifference, "1105.65");
    EXPECT_EQ(Cents(pay.bonus), 110565LL * GetParam().quarters);
}

INSTANTIATE_TEST_SUITE_P(Months, WholeQuarters,
                         testing::Values(QuarterCase{1, 0}, QuarterCase{2, 0}, QuarterCase{3, 1}, QuarterCase{5, 1},
                                         QuarterCase{6, 2}, QuarterCase{11, 3}, QuarterCase{12, 4}, QuarterCase{120, 40}));

TEST(BackPay, MonthsOutsideOneToOneHundredTwentyAreRefused)
{
    const paycalc::Comparison c = paycalc::Compare(Situation{}, Situation{});
    for (int months : {0, -1, 121, 1000}) EXPECT_THROW(paycalc::ComputeBackPay(c, months), std::invalid_argument);
    EXPECT_NO_THROW(paycalc::ComputeBackPay(c, 120));
}

// --- The career ladder ---

TEST(LadderProperties, NetPayNeverFallsFromOneEchelonToTheNext)
{
    // Every category, post and absence from 0 to 30 days; family, insurance
    // and typed amounts drawn for each.
    std::mt19937 random(77);
    for (int category = 1; category <= 17; ++category) {
        for (int post = 0; post <= 10; ++post) {
            for (int absence = 0; absence <= 30; ++absence) {
                Situation s = testdata::RandomSituation(random);
                s.category = category;
                s.post = post;
                s.absence = std::to_string(absence);
                const paycalc::Ladder ladder = paycalc::ComputeLadder(s, false);
                ASSERT_EQ(ladder.steps.size(), 13u);
                for (int e = 1; e < 13; ++e) {
                    const auto &low = ladder.steps[static_cast<std::size_t>(e - 1)].slip;
                    const auto &high = ladder.steps[static_cast<std::size_t>(e)].slip;
                    ASSERT_TRUE(high.ok());
                    ASSERT_GE(Cents(high.Text(Field::Text21)), Cents(low.Text(Field::Text21)))
                        << Describe(s) << ", echelon " << e;
                }
            }
        }
    }
}

TEST(LadderProperties, EveryRungIsTheSlipOfThatEchelon)
{
    std::mt19937 random(8);
    for (int i = 0; i < 150; ++i) {
        const Situation s = testdata::RandomSituation(random);
        SCOPED_TRACE(Describe(s));
        const paycalc::Ladder ladder = paycalc::ComputeLadder(s);
        EXPECT_EQ(ladder.situation, s);
        for (int e = 0; e < 13; ++e) {
            const paycalc::LadderStep &step = ladder.steps[static_cast<std::size_t>(e)];
            Situation rung = s;
            rung.echelon = e;
            const paycalc::MemoryForm form = Recalculated(rung);
            ASSERT_EQ(step.echelon, e);
            EXPECT_EQ(step.slip.situation, rung);
            for (Field f : paycalc::kComputedFields) ASSERT_EQ(step.slip.Text(f), form.Text(f));
            if (e == 0) {
                EXPECT_EQ(step.netStep, "");
            } else {
                EXPECT_EQ(Cents(step.netStep),
                          Cents(form.Text(Field::Text21)) -
                              Cents(ladder.steps[static_cast<std::size_t>(e - 1)].slip.Text(Field::Text21)));
            }
        }
        ASSERT_EQ(ladder.categoryAbove.has_value(), s.category < 17);
        if (ladder.categoryAbove) {
            Situation above = s;
            ++above.category;
            EXPECT_EQ(ladder.categoryAbove->situation, above);
            const paycalc::MemoryForm form = Recalculated(above);
            for (Field f : paycalc::kComputedFields) ASSERT_EQ(ladder.categoryAbove->Text(f), form.Text(f));
        }
    }
}

// --- Checking an official slip ---

TEST(CheckOfficialProperties, OurOwnSlipAgreesAndOneCentOffIsFoundAndNamed)
{
    std::mt19937 random(404);
    for (int i = 0; i < 200; ++i) {
        const Situation s = testdata::RandomSituation(random);
        const paycalc::MemoryForm form = Recalculated(s);
        std::vector<paycalc::OfficialAmount> official;
        for (Field f : paycalc::kComputedFields) official.push_back({f, form.Text(f)});
        const paycalc::CheckReport agreeing = paycalc::CheckOfficial(s, official);
        ASSERT_TRUE(agreeing.allAgree()) << Describe(s);
        for (const paycalc::CheckedLine &line : agreeing.lines) EXPECT_EQ(line.difference, "0.00");

        const std::size_t wrong = std::uniform_int_distribution<std::size_t>(0, official.size() - 1)(random);
        const bool up = random() % 2 == 0;
        official[wrong].amount = paydata::ShowAmount(
            paydata::Add(paydata::ReadAmount(official[wrong].amount), up ? 0.01 : -0.01));
        const paycalc::CheckReport report = paycalc::CheckOfficial(s, official);
        ASSERT_FALSE(report.allAgree());
        for (std::size_t k = 0; k < report.lines.size(); ++k) {
            const paycalc::CheckedLine &line = report.lines[k];
            ASSERT_EQ(line.field, official[k].field);
            ASSERT_EQ(line.theirs, official[k].amount);
            ASSERT_EQ(line.ours, form.Text(line.field));
            ASSERT_EQ(line.agrees, k != wrong) << paycalc::FieldName(line.field);
            if (k == wrong) {
                EXPECT_EQ(line.difference, up ? "0.01" : "-0.01");
                const paycalc::Explanation *e = report.slip.trace.Find(line.field);
                ASSERT_NE(e, nullptr);
                EXPECT_EQ(line.explanation, paycalc::ExplanationText(*e));
                EXPECT_NE(line.explanation.find(line.ours), std::string::npos) << line.explanation;
            }
        }
    }
}

struct AgreementCase {
    const char *theirs;
    bool agrees;
    const char *difference;
};

class OfficialNetPay : public testing::TestWithParam<AgreementCase> {};

// The start-up slip's net pay is 43432.12.
TEST_P(OfficialNetPay, AgreesWhenBothReadToTheSameCents)
{
    const paycalc::CheckReport report = paycalc::CheckOfficial(Situation{}, {{Field::Text21, GetParam().theirs}});
    ASSERT_EQ(report.lines.size(), 1u);
    EXPECT_EQ(report.lines[0].agrees, GetParam().agrees);
    EXPECT_EQ(report.lines[0].difference, GetParam().difference);
    EXPECT_EQ(report.lines[0].ours, "43432.12");
}

INSTANTIATE_TEST_SUITE_P(Amounts, OfficialNetPay,
                         testing::Values(AgreementCase{"43432.12", true, "0.00"}, AgreementCase{"43432.120", true, "0.00"},
                                         AgreementCase{"43432.124", true, "0.00"},
                                         AgreementCase{"43432.125", false, "0.01"},
                                         AgreementCase{"43432.11", false, "-0.01"},
                                         AgreementCase{"43432", false, "-0.12"}, AgreementCase{"0", false, "-43432.12"}));

TEST(CheckOfficial, OnlyComputedLinesCanBeChecked)
{
    for (Field f : paycalc::kTypedFields)
        EXPECT_THROW(paycalc::CheckOfficial(Situation{}, {{f, "0"}}), std::invalid_argument);
}

// The reader of an official LINE=AMOUNT that the command line's --official
// and the page's official.LINE keys share: every computed line by either of
// its names, amounts only as a printed slip writes them, no line twice.
TEST(ReadOfficialAmount, TakesEachComputedLineByEitherNameAndRefusesTheRest)
{
    using paycalc::OfficialProblem;
    for (Field f : paycalc::kComputedFields) {
        for (std::string_view name : {paycalc::FieldName(f), paycalc::LineName(f)}) {
            std::vector<paycalc::OfficialAmount> official;
            ASSERT_EQ(paycalc::ReadOfficialAmount(name, "12.5", official), OfficialProblem::None) << name;
            ASSERT_EQ(official.size(), 1u);
            EXPECT_EQ(official[0].field, f);
            EXPECT_EQ(official[0].amount, "12.5");
            EXPECT_EQ(paycalc::ReadOfficialAmount(paycalc::FieldName(f), "1", official), OfficialProblem::Twice);
            EXPECT_EQ(official.size(), 1u);
        }
    }
    std::vector<paycalc::OfficialAmount> official;
    for (Field f : paycalc::kTypedFields)
        EXPECT_EQ(paycalc::ReadOfficialAmount(paycalc::FieldName(f), "1", official), OfficialProblem::NotALine);
    EXPECT_EQ(paycalc::ReadOfficialAmount("bonus", "1", official), OfficialProblem::NotALine);
    // The last: beyond any double.
    for (const std::string &amount : std::vector<std::string>{"43,432.12", "1 000", "abc", "", "-", ".5", "1.", "1e5",
                                                              "+1", "1.2.3", "0x10", std::string(400, '9')})
        EXPECT_EQ(paycalc::ReadOfficialAmount("net_pay", amount, official), OfficialProblem::NotAnAmount) << amount;
    EXPECT_TRUE(official.empty());
    for (const char *amount : {"0", "-1.5", "43432.12", "007.1"})
        EXPECT_EQ(paycalc::ReadOfficialAmount("net_pay", amount, official = {}), OfficialProblem::None) << amount;
    for (auto problem : {OfficialProblem::NotALine, OfficialProblem::NotAnAmount, OfficialProblem::Twice}) {
        const paycalc::Wording said = paycalc::OfficialRefusal(problem, "x");
        EXPECT_FALSE(said.english.empty() || said.arabic.empty() || said.french.empty());
    }
}

TEST(ReadBackPayMonths, AWholeNumberFromOneToTheMostMonths)
{
    for (int months = 1; months <= paycalc::kMaxBackPayMonths; ++months)
        EXPECT_EQ(paycalc::ReadBackPayMonths(std::to_string(months)), months);
    for (const std::string &text :
         std::vector<std::string>{"0", "-1", "+1", "", " 1", "1 ", "1.0", "12a", "1e2",
                                  std::to_string(paycalc::kMaxBackPayMonths + 1), "99999999999"})
        EXPECT_EQ(paycalc::ReadBackPayMonths(text), std::nullopt) << text;
    EXPECT_NE(paycalc::MonthsRefusal("0").arabic.find(std::to_string(paycalc::kMaxBackPayMonths)), std::string::npos);
}

// --- Situations and readable names ---

TEST(Situation, AWindowCannotShowSingleWithChildrenOrAPositionOutOfItsList)
{
    const std::vector<std::pair<std::function<void(Situation &)>, bool>> cases{
        {[](Situation &) {}, true},
        {[](Situation &s) { s.category = 0; }, false},
        {[](Situation &s) { s.category = 18; }, false},
        {[](Situation &s) { s.echelon = 13; }, false},
        {[](Situation &s) { s.post = 11; }, false},
        {[](Situation &s) { s.children = 13; }, false},
        {[](Situation &s) { s.overTen = -1; }, false},
        {[](Situation &s) { s.spouse = 2; }, false},
        {[](Situation &s) { s.status = 0; }, false}, // single, one child
        {[](Situation &s) {
             s.status = 0;
             s.children = 0;
         },
         true},
    };
    for (const auto &[change, shown] : cases) {
        Situation s;
        change(s);
        EXPECT_EQ(s.Problem().empty(), shown) << s.Problem();
        if (!shown) {
            EXPECT_THROW(paycalc::ComputeSlip(s), std::invalid_argument);
        }
    }
}

TEST(Situation, ListPositionsRoundTrip)
{
    for (int list = 0; list < paycalc::kComboCount; ++list) {
        Situation s;
        s.SetListPosition(list, 1);
        EXPECT_EQ(s.ListPosition(list), 1);
        paycalc::MemoryForm form;
        paycalc::FillForm(form, s);
        EXPECT_EQ(form.ListIndex(list), 1);
    }
    EXPECT_EQ(Situation{}.ListPosition(paycalc::kCategoryList), 10); // category 11
}

TEST(LineNames, EveryComputedLineHasOneReadableNameBothFormsParse)
{
    std::set<std::string> names;
    for (Field f : paycalc::kComputedFields) {
        const std::string name(paycalc::LineName(f));
        ASSERT_FALSE(name.empty()) << paycalc::FieldName(f);
        EXPECT_TRUE(names.insert(name).second) << name;
        EXPECT_EQ(name.find_first_not_of("abcdefghijklmnopqrstuvwxyz_"), std::string::npos) << name;
        Field parsed{};
        ASSERT_TRUE(paycalc::ParseLineName(name, parsed));
        EXPECT_EQ(parsed, f);
        ASSERT_TRUE(paycalc::ParseLineName(paycalc::FieldName(f), parsed));
        EXPECT_EQ(parsed, f);
    }
    Field f{};
    EXPECT_FALSE(paycalc::ParseLineName("net pay", f));
    EXPECT_FALSE(paycalc::ParseLineName("NET_PAY", f));
    EXPECT_FALSE(paycalc::ParseLineName("", f));
    EXPECT_EQ(paycalc::LineName(Field::Text21), "net_pay");
    EXPECT_EQ(paycalc::LineName(Field::Text10), "");
}

TEST(ComputeSlip, AReusedSlipGivesWhatAFreshOneGives)
{
    std::mt19937 random(99);
    paycalc::Slip reused;
    for (int i = 0; i < 500; ++i) {
        Situation s = testdata::RandomSituation(random);
        if (i % 7 == 0) s.housing = "1E300"; // a failed slip in between
        paycalc::ComputeSlip(s, reused, i % 2 == 0);
        const paycalc::Slip fresh = paycalc::ComputeSlip(s, i % 2 == 0);
        ASSERT_EQ(reused.ok(), fresh.ok());
        ASSERT_EQ(reused.texts, fresh.texts) << Describe(s);
        for (Field f : paycalc::kComputedFields) {
            const paycalc::Explanation *a = reused.trace.Find(f);
            const paycalc::Explanation *b = fresh.trace.Find(f);
            ASSERT_EQ(a == nullptr, b == nullptr);
            if (a) {
                ASSERT_EQ(paycalc::ExplanationText(*a), paycalc::ExplanationText(*b));
            }
        }
    }
}

} // namespace
