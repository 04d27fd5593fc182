// The command line: options, output forms and failures.
#include <gtest/gtest.h>

#include <sstream>

#include "cli/cli.h"
#include "cli/command.h"
#include "paycalc/situation.h"

namespace {

struct Result {
    int code;
    std::string out, err;
};

Result RunCli(std::vector<std::string> args)
{
    std::ostringstream out, err;
    int code = cli::Run(args, out, err);
    return {code, out.str(), err.str()};
}

TEST(CommandLine, JsonHoldsEveryComputedFieldAsShown)
{
    Result r = RunCli({"--json", "--mutual"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_TRUE(r.err.empty());
    for (paycalc::Field f : paycalc::kComputedFields)
        EXPECT_NE(r.out.find("\"" + std::string(paycalc::FieldName(f)) + "\": \""), std::string::npos)
            << paycalc::FieldName(f);
    EXPECT_EQ(r.out.rfind("{\"Text1\": \"22410.00\", \"Text2\": \"7830.00\"", 0), 0u) << r.out;
    EXPECT_NE(r.out.find("\"Text21\": \"43432.12\""), std::string::npos);
    EXPECT_EQ(r.out.back(), '\n');
}

TEST(CommandLine, TableHasALinePerAmountWithItsLabel)
{
    Result r = RunCli({});
    ASSERT_EQ(r.code, 0);
    std::istringstream lines(r.out);
    std::string line;
    int count = 0;
    while (std::getline(lines, line)) ++count;
    EXPECT_EQ(count, 21);
    EXPECT_NE(r.out.find("43432.12  الراتب الصافي\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("22410.00  الاجر الأساسي\n"), std::string::npos);
    EXPECT_LT(r.out.find("الاجر الأساسي"), r.out.find("الراتب الصافي"));
}

TEST(CommandLine, DefaultsAreTheWindowsStartUpSelections)
{
    EXPECT_EQ(RunCli({"--json"}).out,
              RunCli({"--json", "--category", "11",        "--echelon", "7",         "--post",   "0",      "--children",
                      "1",      "--over-ten", "0",         "--status",  "married",   "--spouse", "home",   "--mutual",
                      "--zone", "0",          "--housing", "0",         "--absence", "0",        "--mark", "40"})
                  .out);
    EXPECT_EQ(RunCli({"--json", "--category=17"}).out, RunCli({"--json", "--category", "17"}).out);
}

TEST(CommandLine, UsageErrorsExitTwoWithAMessageAndTheUsage)
{
    // clang-format off
    const std::vector<std::vector<std::string>> bad{
        {"--category", "18"}, {"--category", "0"}, {"--echelon", "-1"}, {"--echelon", "13"},
        {"--post", "11"}, {"--children", "13"}, {"--over-ten", "x"}, {"--category", "5x"},
        {"--status", "widowed"}, {"--spouse", "away"}, {"--zone"}, {"--bogus"}, {"--json=yes"},
        {"--status", "single", "--children", "2"}, {"--status", "single", "--children", "0", "--over-ten", "2"},
        {"--pdf="}, {"--pdf"}, {"--mutual=no"}, {"--name", "x"}};
    // clang-format on
    for (const auto &args : bad) {
        Result r = RunCli(args);
        SCOPED_TRACE(args[0]);
        EXPECT_EQ(r.code, 2);
        EXPECT_TRUE(r.out.empty());
        EXPECT_EQ(r.err.rfind("payslip-cli: ", 0), 0u) << r.err;
        EXPECT_NE(r.err.find("\nusage: payslip-cli"), std::string::npos);
    }
    EXPECT_EQ(RunCli({"--status", "single", "--children", "0"}).code, 0);
}

// Picking "single" in the window holds both children counts at 0; the
// command line does the same when no count is given.
TEST(CommandLine, SingleAloneMeansNoChildren)
{
    Result alone = RunCli({"--json", "--status", "single"});
    ASSERT_EQ(alone.code, 0) << alone.err;
    EXPECT_EQ(alone.out, RunCli({"--json", "--status", "single", "--children", "0", "--over-ten", "0"}).out);
    EXPECT_NE(alone.out.find("\"Text17\": \"0.00\""), std::string::npos) << alone.out;
    EXPECT_NE(alone.out, RunCli({"--json"}).out);
    EXPECT_EQ(cli::ParseOptions({"--children", "3", "--status", "single", "--children", "0"}).situation.children, 0);
}

// The situation options against the family-status rule: what the rule's
// home makes of the situation the options give, or refused when a count
// given with "single" breaks it; "--to" changes of a comparison alike.
TEST(CommandLine, SituationOptionsKeepTheFamilyStatusRule)
{
    struct Case {
        std::vector<std::string> args;
        int children, overTen;
        int status;
        bool refused;
    };
    const std::vector<Case> cases{
        {{"--status", "single"}, 1, 0, 0, false},
        {{"--status", "single", "--children", "0"}, 0, 0, 0, false},
        {{"--status", "single", "--over-ten", "3"}, 1, 3, 0, true},
        {{"--status", "single", "--children", "4"}, 4, 0, 0, true},
        {{"--status", "married", "--children", "4", "--over-ten", "2"}, 4, 2, 1, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.args[0] + " " + c.args[1] + " ...");
        paycalc::Situation expected;
        expected.status = c.status;
        expected.children = c.children;
        expected.overTen = c.overTen;
        if (c.refused) {
            ASSERT_TRUE(paycalc::BreaksFamilyStatusRule(expected));
            EXPECT_THROW(cli::ParseOptions(c.args), cli::UsageError);
            EXPECT_NE(RunCli(c.args).err.find("--status single goes with"), std::string::npos);
            continue;
        }
        paycalc::ApplyFamilyStatusRule(expected);
        EXPECT_TRUE(cli::ParseOptions(c.args).situation == expected);
    }
    // A change to "single" in a comparison takes the rule too.
    const paycalc::Situation single = cli::ApplyChanges(paycalc::Situation{}, {{"status", "single"}}, "--to ");
    EXPECT_FALSE(paycalc::BreaksFamilyStatusRule(single));
    EXPECT_EQ(single.children, 0);
    EXPECT_THROW(cli::ApplyChanges(paycalc::Situation{}, {{"status", "single"}, {"over-ten", "1"}}, "--to "),
                 cli::UsageError);
}

// The slip command word may be given or left out: same output, same codes.
TEST(CommandLine, TheSlipWordChangesNothing)
{
    const std::vector<std::vector<std::string>> lines{
        {}, {"--json"}, {"--explain", "--no-mutual"}, {"--category", "18"}, {"--zone", "1E400"}, {"--bogus"}};
    for (const auto &args : lines) {
        std::vector<std::string> withWord{"slip"};
        withWord.insert(withWord.end(), args.begin(), args.end());
        Result a = RunCli(args), b = RunCli(withWord);
        EXPECT_EQ(a.code, b.code);
        EXPECT_EQ(a.out, b.out);
        EXPECT_EQ(a.err, b.err);
    }
    Result unknown = RunCli({"frobnicate"});
    EXPECT_EQ(unknown.code, 2);
    EXPECT_NE(unknown.err.find("'frobnicate'"), std::string::npos) << unknown.err;
}

// Typed texts keep every character, and "--zone=" is an empty text, not the
// next word.
TEST(CommandLine, TypedTextsArriveAsTyped)
{
    const cli::Options o = cli::ParseOptions({"--zone", "  1 2\t", "--housing=", "--json", "--mark", "-3"});
    EXPECT_EQ(o.situation.zone, "  1 2\t");
    EXPECT_EQ(o.situation.housing, "");
    EXPECT_TRUE(o.json);
    EXPECT_EQ(o.situation.mark, "-3");
    EXPECT_FALSE(cli::ParseOptions({"--mutual", "--no-mutual"}).situation.mutual);
    EXPECT_TRUE(cli::ParseOptions({"--no-mutual", "--mutual"}).situation.mutual);
    EXPECT_EQ(cli::ParseOptions({"--category", "5", "--category=6"}).situation.category, 6);
}

TEST(CommandLine, AFailedSlipPrintsNothingAndNamesTheLine)
{
    Result r = RunCli({"--zone", "1E400", "--json"});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.out.empty());
    EXPECT_NE(r.err.find("Text12"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("zone allowance"), std::string::npos) << r.err;

    r = RunCli({"--housing", "1E300"});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.out.empty());
    EXPECT_NE(r.err.find("income tax (IRG) (Text15)"), std::string::npos) << r.err;
}

TEST(CommandLine, HelpGoesToStandardOutput)
{
    Result r = RunCli({"--help"});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, cli::Usage());
}

} // namespace
