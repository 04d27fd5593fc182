// payslip-cli compare, ladder and check, against the slips that payslip-cli
// prints for the same situations.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <random>
#include <sstream>

#include "cli/cli.h"
#include "paycalc/compare.h"
#include "paydata/amount.h"
#include "situation_gen.h"

namespace {

using paycalc::Field;
using Args = std::vector<std::string>;

struct Result {
    int code;
    std::string out, err;
};

Result RunCli(const Args &args)
{
    std::ostringstream out, err;
    int code = cli::Run(args, out, err);
    return {code, out.str(), err.str()};
}

Args operator+(Args a, const Args &b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

nlohmann::json Json(const Result &r)
{
    EXPECT_EQ(r.code, 0) << r.err;
    return nlohmann::json::parse(r.out);
}

// The options of a situation, as a person would type them.
Args OptionsOf(const paycalc::Situation &s)
{
    // clang-format off
    return {"--category", std::to_string(s.category), "--echelon", std::to_string(s.echelon),
            "--post", std::to_string(s.post), "--status", s.married() ? "married" : "single",
            "--children", std::to_string(s.children), "--over-ten", std::to_string(s.overTen),
            "--spouse", s.spouseWorking() ? "working" : "home", s.mutual ? "--mutual" : "--no-mutual",
            "--zone", s.zone, "--housing", s.housing, "--absence", s.absence, "--mark", s.mark};
    // clang-format on
}

// --- compare ---

struct ChangeCase {
    Args base;  // situation options of both
    Args to;    // the --to changes
    Args after; // the same after situation, as plain slip options
};

class CompareChanges : public testing::TestWithParam<ChangeCase> {};

// Before is the slip of the options; after is the slip of the options with
// the changes made by hand; the difference is after - before on each line.
TEST_P(CompareChanges, BeforeAndAfterAreTheSlipsOfBothSituations)
{
    const ChangeCase &c = GetParam();
    Args compare = Args{"compare"} + c.base + Args{"--json", "--months", "7"};
    for (const std::string &to : c.to) compare = compare + Args{"--to", to};
    const nlohmann::json json = Json(RunCli(compare));
    const nlohmann::json before = Json(RunCli(c.base + Args{"--json"}));
    const nlohmann::json after = Json(RunCli(c.base + c.after + Args{"--json"}));
    EXPECT_EQ(json["before"], before);
    EXPECT_EQ(json["after"], after);
    ASSERT_EQ(json["difference"].size(), paycalc::kComputedFields.size());
    for (auto it = before.begin(); it != before.end(); ++it)
        EXPECT_EQ(json["difference"][it.key()],
                  paycalc::Difference(it.value().get<std::string>(), after[it.key()].get<std::string>()))
            << it.key();
    EXPECT_EQ(json["months"], 7);
    const std::string net = json["difference"]["Text21"], bonus = json["difference"]["Text22"];
    EXPECT_EQ(json["back_pay"]["monthly"], paydata::ShowAmount(paydata::ReadAmount(net) * 7));
    EXPECT_EQ(json["back_pay"]["bonus"], paydata::ShowAmount(paydata::ReadAmount(bonus) * 2));
    // Keys in the order of the slip, as payslip-cli --json writes them.
    const Result raw = RunCli(compare);
    EXPECT_EQ(raw.out.rfind("{\"before\": {\"Text1\": ", 0), 0u) << raw.out;
    EXPECT_NE(raw.out.find("}, \"months\": 7, \"back_pay\": {\"monthly\": "), std::string::npos) << raw.out;
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Options, CompareChanges,
    testing::Values(ChangeCase{{}, {"echelon=8"}, {"--echelon", "8"}},
                    ChangeCase{{}, {"category=12"}, {"--category", "12"}},
                    ChangeCase{{}, {"children=2"}, {"--children", "2"}},
                    ChangeCase{{}, {"over-ten=1"}, {"--over-ten", "1"}},
                    ChangeCase{{}, {"over_ten=1"}, {"--over-ten", "1"}},
                    ChangeCase{{}, {"mutual=no"}, {"--no-mutual"}},
                    ChangeCase{{"--no-mutual"}, {"mutual=yes"}, {"--mutual"}},
                    ChangeCase{{}, {"zone=2500"}, {"--zone", "2500"}},
                    ChangeCase{{}, {"housing=1200.50"}, {"--housing", "1200.50"}},
                    ChangeCase{{}, {"absence=2"}, {"--absence", "2"}},
                    ChangeCase{{}, {"mark=30"}, {"--mark", "30"}},
                    ChangeCase{{}, {"post=4"}, {"--post", "4"}},
                    ChangeCase{{}, {"spouse=working"}, {"--spouse", "working"}},
                    ChangeCase{{}, {"status=single"}, {"--status", "single"}},
                    ChangeCase{{"--status", "single"}, {"status=married", "children=3"},
                               {"--status", "married", "--children", "3"}},
                    ChangeCase{{"--category", "5", "--echelon", "2"}, {"echelon=3", "category=6", "zone=10"},
                               {"--echelon", "3", "--category", "6", "--zone", "10"}}));
// clang-format on

TEST(Compare, TheTableShowsEveryLineAndSaysHowBackPayIsComputed)
{
    const Result r = RunCli({"compare", "--to", "echelon=8", "--months", "12"});
    ASSERT_EQ(r.code, 0) << r.err;
    // Category 11, echelon 7 to 8: net pay 43432.12 to 45088.25.
    EXPECT_NE(r.out.find("43432.12  45088.25     1656.13  الراتب الصافي\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("1656.13 × 12 = 19873.56"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("no special tax treatment of back pay is applied"), std::string::npos);
    EXPECT_NE(r.out.find("4 whole quarters"), std::string::npos);
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 1 + 21 + 1 + 5);
}

TEST(Compare, MonthsDefaultToOne)
{
    const nlohmann::json json = Json(RunCli({"compare", "--to", "echelon=8", "--json"}));
    EXPECT_EQ(json["months"], 1);
    EXPECT_EQ(json["back_pay"]["monthly"], json["difference"]["Text21"]);
    EXPECT_EQ(json["back_pay"]["bonus"], "0.00");
}

// --- ladder ---

TEST(Ladder, EachOfTheThirteenObjectsIsTheSlipOfItsEchelon)
{
    std::mt19937 random(31);
    for (int i = 0; i < 12; ++i) {
        const Args options = OptionsOf(testdata::RandomSituation(random));
        const nlohmann::json ladder = Json(RunCli(Args{"ladder", "--json"} + options));
        ASSERT_TRUE(ladder.is_array());
        ASSERT_EQ(ladder.size(), 13u);
        for (int e = 0; e < 13; ++e) {
            nlohmann::json rung = ladder[static_cast<std::size_t>(e)];
            EXPECT_EQ(rung["echelon"], e);
            rung.erase("echelon");
            EXPECT_EQ(rung, Json(RunCli(options + Args{"--echelon", std::to_string(e), "--json"}))) << e;
        }
    }
}

TEST(Ladder, TheTableMarksTheCurrentEchelonAndShowsTheCategoryAbove)
{
    const Result r = RunCli({"ladder", "--echelon", "3"});
    ASSERT_EQ(r.code, 0) << r.err;
    std::istringstream lines(r.out);
    std::vector<std::string> marked;
    for (std::string line; std::getline(lines, line);)
        if (line.rfind("* ", 0) == 0 && line != "* the current echelon") marked.push_back(line);
    ASSERT_EQ(marked.size(), 1u) << r.out;
    EXPECT_EQ(marked[0].find_first_not_of("* "), marked[0].find('3'));
    const nlohmann::json above = Json(RunCli({"--category", "12", "--echelon", "3", "--json"}));
    EXPECT_NE(r.out.find("category 12, echelon 3: net pay " + above["Text21"].get<std::string>()), std::string::npos)
        << r.out;
    EXPECT_NE(RunCli({"ladder", "--category", "17"}).out.find("no category above"), std::string::npos);
}

// --- check ---

// Each line of a slip that payslip-cli printed, typed back as an official
// slip by field name or by readable name.
TEST(Check, AgreesOnEveryLineOfASlipPrintedByTheCommandLine)
{
    std::mt19937 random(12);
    for (int i = 0; i < 40; ++i) {
        const Args options = OptionsOf(testdata::RandomSituation(random));
        const nlohmann::json slip = Json(RunCli(options + Args{"--json"}));
        Args byField{"check"}, byName{"check"};
        byField = byField + options;
        byName = byName + options;
        for (auto it = slip.begin(); it != slip.end(); ++it) {
            paycalc::Field f{};
            ASSERT_TRUE(paycalc::ParseFieldName(it.key(), f));
            byField = byField + Args{"--official", it.key() + "=" + it.value().get<std::string>()};
            byName = byName + Args{"--official", std::string(paycalc::LineName(f)) + "=" + it.value().get<std::string>()};
        }
        for (const Args &args : {byField, byName}) {
            const Result r = RunCli(args);
            ASSERT_EQ(r.code, 0) << r.out << r.err;
            EXPECT_EQ(r.out.find("DIFFERS"), std::string::npos);
            EXPECT_NE(r.out.find("every line given agrees"), std::string::npos);
            const nlohmann::json json = Json(RunCli(args + Args{"--json"}));
            EXPECT_EQ(json["agree"], true);
            EXPECT_EQ(json["lines"].size(), slip.size());
        }

        // One line a cent off: found, named, and explained.
        const auto wrong = std::next(slip.begin(), static_cast<long>(random() % slip.size()));
        const std::string theirs = paydata::ShowAmount(paydata::ReadAmount(wrong.value().get<std::string>()) + 0.01);
        Args oneWrong = Args{"check"} + options;
        for (auto it = slip.begin(); it != slip.end(); ++it)
            oneWrong = oneWrong +
                       Args{"--official", it.key() + "=" + (it == wrong ? theirs : it.value().get<std::string>())};
        const Result r = RunCli(oneWrong);
        ASSERT_EQ(r.code, 3) << r.err;
        paycalc::Field f{};
        ASSERT_TRUE(paycalc::ParseFieldName(wrong.key(), f));
        const std::string label = std::string(paycalc::LineName(f)) + " (" + wrong.key() + ")";
        EXPECT_NE(r.out.find("1 of " + std::to_string(slip.size()) + " lines differ: " + label + "\n"), std::string::npos)
            << r.out;
        EXPECT_NE(r.out.find("how we computed " + wrong.key() + ":"), std::string::npos) << r.out;
        EXPECT_EQ(r.out.find("DIFFERS"), r.out.rfind("DIFFERS")) << r.out;
        EXPECT_NE(r.out.find(label), r.out.find("DIFFERS")) << r.out;
        std::ostringstream jsonOut, jsonErr;
        ASSERT_EQ(cli::Run(oneWrong + Args{"--json"}, jsonOut, jsonErr), 3);
        const nlohmann::json json = nlohmann::json::parse(jsonOut.str());
        EXPECT_EQ(json["agree"], false);
        for (const nlohmann::json &line : json["lines"]) {
            const bool isWrong = line["field"] == wrong.key();
            EXPECT_EQ(line["agrees"], !isWrong) << line;
            if (isWrong) {
                EXPECT_EQ(line["difference"], "0.01");
                EXPECT_EQ(line["theirs"], theirs);
                EXPECT_EQ(line["ours"], wrong.value());
                EXPECT_FALSE(line["explanation"].get<std::string>().empty());
            }
        }
    }
}

// --- usage errors of the commands ---

class CommandUsageErrors : public testing::TestWithParam<std::pair<Args, std::string>> {};

TEST_P(CommandUsageErrors, ExitTwoWithAMessageAndTheCommandsUsage)
{
    const auto &[args, message] = GetParam();
    const Result r = RunCli(args);
    EXPECT_EQ(r.code, 2);
    EXPECT_TRUE(r.out.empty()) << r.out;
    EXPECT_EQ(r.err.rfind("payslip-cli: ", 0), 0u) << r.err;
    EXPECT_NE(r.err.find(message), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("\nusage: payslip-cli " + args[0]), std::string::npos) << r.err;
}

INSTANTIATE_TEST_SUITE_P(
    Commands, CommandUsageErrors,
    testing::Values(
        std::pair<Args, std::string>{{"compare"}, "at least one --to"},
        std::pair<Args, std::string>{{"compare", "--to", "echelon"}, "OPTION=VALUE"},
        std::pair<Args, std::string>{{"compare", "--to", "rank=3"}, "'--to rank'"},
        std::pair<Args, std::string>{{"compare", "--to", "echelon=13"}, "--to echelon takes a whole number"},
        std::pair<Args, std::string>{{"compare", "--to", "category=0"}, "--to category"},
        std::pair<Args, std::string>{{"compare", "--to", "children=x"}, "--to children"},
        std::pair<Args, std::string>{{"compare", "--to", "status=widowed"}, "--to status"},
        std::pair<Args, std::string>{{"compare", "--to", "spouse=away"}, "--to spouse"},
        std::pair<Args, std::string>{{"compare", "--to", "mutual=maybe"}, "--to mutual takes yes or no"},
        std::pair<Args, std::string>{{"compare", "--to", "status=single", "--to", "children=2"}, "status=single goes with"},
        std::pair<Args, std::string>{{"compare", "--status", "single", "--to", "over-ten=1"}, "status=single goes with"},
        std::pair<Args, std::string>{{"compare", "--to", "echelon=8", "--months", "0"}, "--months"},
        std::pair<Args, std::string>{{"compare", "--to", "echelon=8", "--months", "121"}, "--months"},
        std::pair<Args, std::string>{{"compare", "--to", "echelon=8", "--months", "1.5"}, "--months"},
        std::pair<Args, std::string>{{"compare", "--to", "echelon=8", "--explain"}, "unknown option '--explain'"},
        std::pair<Args, std::string>{{"ladder", "--echelon", "13"}, "--echelon"},
        std::pair<Args, std::string>{{"ladder", "--json=1"}, "--json takes no value"},
        std::pair<Args, std::string>{{"ladder", "extra"}, "unknown option 'extra'"},
        std::pair<Args, std::string>{{"check"}, "at least one --official"},
        std::pair<Args, std::string>{{"check", "--official", "net_pay"}, "LINE=VALUE"},
        std::pair<Args, std::string>{{"check", "--official", "netpay=1"}, "'netpay'"},
        std::pair<Args, std::string>{{"check", "--official", "Text20=1"}, "not a computed line"},
        std::pair<Args, std::string>{{"check", "--official", "net_pay=43,432.12"}, "'43,432.12'"},
        std::pair<Args, std::string>{{"check", "--official", "net_pay=abc"}, "'abc'"},
        std::pair<Args, std::string>{{"check", "--official", "net_pay=12abc"}, "'12abc'"},
        std::pair<Args, std::string>{{"check", "--official", "net_pay="}, "''"},
        std::pair<Args, std::string>{{"check", "--official", "net_pay=1e5"}, "'1e5'"},
        std::pair<Args, std::string>{{"check", "--official", "net_pay= 12"}, "' 12'"},
        std::pair<Args, std::string>{{"check", "--official", "net_pay=" + std::string(400, '9')}, "net_pay takes"},
        std::pair<Args, std::string>{{"check", "--official", "net_pay=1", "--official", "Text21=1"}, "twice"}));

TEST(Commands, HelpOfACommandGoesToStandardOutput)
{
    for (const char *command : {"slip", "compare", "ladder", "check"}) {
        const Result r = RunCli({command, "--help"});
        EXPECT_EQ(r.code, 0);
        EXPECT_EQ(r.out, cli::Usage(command));
        EXPECT_EQ(r.out.rfind(std::string("usage: payslip-cli ") + (command == std::string("slip") ? "[slip]" : command),
                              0),
                  0u)
            << r.out;
        EXPECT_NE(cli::Usage().find(r.out.substr(r.out.find('\n') + 1, 20)), std::string::npos);
    }
}

TEST(Commands, ASlipThatCannotBeComputedExitsOneAndPrintsNothing)
{
    for (const Args &args :
         {Args{"compare", "--zone", "1E400", "--to", "echelon=8"}, Args{"compare", "--to", "housing=1E300"},
          Args{"ladder", "--zone", "1E400"}, Args{"ladder", "--json", "--housing", "1E300"},
          Args{"check", "--zone", "1E400", "--official", "net_pay=1"}}) {
        const Result r = RunCli(args);
        EXPECT_EQ(r.code, 1) << args[0];
        EXPECT_TRUE(r.out.empty());
        EXPECT_NE(r.err.find("cannot compute the "), std::string::npos) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    }
}

} // namespace
