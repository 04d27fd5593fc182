// A staff list that leaves a situation column out: without the category or
// the echelon nothing is computed; without another column every row takes
// its default, and the run says so once, before any row.
#include <gtest/gtest.h>

#include "batch/tests/batch_test_util.h"
#include "batch/columns.h"
#include "paycalc/situation.h"
#include "paycalc/situation_inputs.h"

namespace batch::testing {
namespace {

const std::vector<std::string> kAllColumns{"category", "echelon", "post", "children", "over_ten", "status",
                                           "spouse",   "mutual",  "zone", "housing",  "absence",  "mark"};
// A row's cell per column, as the defaults would give it.
const std::map<std::string, std::string> kDefaultCells{{"category", "11"}, {"echelon", "7"},  {"post", "0"},
                                                       {"children", "1"},  {"over_ten", "0"}, {"status", "married"},
                                                       {"spouse", "home"}, {"mutual", "yes"}, {"zone", "0"},
                                                       {"housing", "0"},   {"absence", "0"},  {"mark", "40"}};

// "name;COLUMNS\nA;CELLS\n", with the given columns left out.
std::string StaffWithout(const std::vector<std::string> &left)
{
    std::string header = "name", row = "Ali";
    for (const std::string &c : kAllColumns) {
        if (std::find(left.begin(), left.end(), c) != left.end()) continue;
        header += ";" + c;
        row += ";" + kDefaultCells.at(c);
    }
    return header + "\n" + row + "\n";
}

struct MissingCase {
    const char *name;
    std::vector<std::string> left; // the columns left out
    int code;
    std::vector<std::string> errLines; // the error stream's first lines, after "payslip-cli batch: "
};

const std::string kNoCategory = "'category' (a header named category, الصنف or الفئة)";
const std::string kNoEchelon = "'echelon' (a header named echelon, إختر الدرجة, الدرجة or اختر الدرجة)";
const std::string kBoth = "; every employee's category and echelon must be given";

std::vector<MissingCase> MissingCases()
{
    return {
        {"none", {}, 0, {}},
        {"category", {"category"}, 1, {"STAFF: the required column is missing: " + kNoCategory + kBoth}},
        {"echelon", {"echelon"}, 1, {"STAFF: the required column is missing: " + kNoEchelon + kBoth}},
        {"category_and_echelon",
         {"category", "echelon"},
         1,
         {"STAFF: the required columns are missing: " + kNoCategory + ", " + kNoEchelon + kBoth}},
        {"required_and_defaulted",
         {"echelon", "children"},
         1,
         {"STAFF: the required column is missing: " + kNoEchelon + kBoth}},
        {"post", {"post"}, 0, {"no 'post' column: every row counts post 0, no specific post"}},
        {"children", {"children"}, 0, {"no 'children' column: every row counts 1 child, a single one 0"}},
        {"children_and_status",
         {"children", "status"},
         0,
         {"no 'children' column: every row counts 1 child", "no 'status' column: every row counts married"}},
        {"over_ten", {"over_ten"}, 0, {"no 'over_ten' column: every row counts 0 children over ten"}},
        {"status", {"status"}, 0, {"no 'status' column: every row counts married"}},
        {"spouse", {"spouse"}, 0, {"no 'spouse' column: every row counts the spouse at home (home)"}},
        {"mutual", {"mutual"}, 0, {"no 'mutual' column: every row counts mutual insurance yes"}},
        {"zone", {"zone"}, 0, {"no 'zone' column: every row counts a zone allowance of 0"}},
        {"housing", {"housing"}, 0, {"no 'housing' column: every row counts a housing allowance of 0"}},
        {"absence", {"absence"}, 0, {"no 'absence' column: every row counts 0 days of absence"}},
        {"mark", {"mark"}, 0, {"no 'mark' column: every row counts a performance mark of 40"}},
        {"several",
         {"post", "over_ten", "mark"},
         0,
         {"no 'post' column: every row counts post 0, no specific post",
          "no 'over_ten' column: every row counts 0 children over ten",
          "no 'mark' column: every row counts a performance mark of 40"}},
        {"all_defaulted",
         {"post", "children", "over_ten", "status", "spouse", "mutual", "zone", "housing", "absence", "mark"},
         0,
         {"no 'post' column: every row counts post 0, no specific post", "no 'children' column: every row counts 1 child",
          "no 'over_ten' column: every row counts 0 children over ten", "no 'status' column: every row counts married",
          "no 'spouse' column: every row counts the spouse at home (home)",
          "no 'mutual' column: every row counts mutual insurance yes",
          "no 'zone' column: every row counts a zone allowance of 0",
          "no 'housing' column: every row counts a housing allowance of 0",
          "no 'absence' column: every row counts 0 days of absence",
          "no 'mark' column: every row counts a performance mark of 40"}},
    };
}

class Missing : public ::testing::TestWithParam<MissingCase> {};

TEST_P(Missing, StopsOrSaysTheDefaultsFirst)
{
    const MissingCase &c = GetParam();
    ScratchDir dir;
    Options options;
    options.input = dir.File("staff.csv");
    options.out = dir.File("slips.csv");
    options.errors = dir.File("refused.csv");
    WriteFile(options.input, StaffWithout(c.left));
    const RunOutput run = RunBatch(options);
    EXPECT_EQ(run.code, c.code) << run.err;

    std::vector<std::string> expected;
    for (std::string line : c.errLines) {
        if (line.starts_with("STAFF")) line.replace(0, 5, options.input);
        expected.push_back("payslip-cli batch: " + line);
    }
    EXPECT_EQ(Lines(run.err), expected) << run.err;
    if (c.code == kExitFailed) {
        // Nothing written, not even a temporary.
        EXPECT_EQ(dir.Names(), std::vector<std::string>{"staff.csv"});
        return;
    }
    // The row computed with the defaults is the row that gives them.
    Options full = options;
    full.input = dir.File("full.csv");
    full.out = dir.File("full-slips.csv");
    full.errors.clear();
    WriteFile(full.input, StaffWithout({}));
    ASSERT_EQ(RunBatch(full).code, kExitAllComputed);
    const auto ours = Lines(ReadFile(options.out)), theirs = Lines(ReadFile(full.out));
    ASSERT_EQ(ours.size(), 2u);
    EXPECT_EQ(ours, theirs);
}

INSTANTIATE_TEST_SUITE_P(Columns, Missing, ::testing::ValuesIn(MissingCases()),
                         [](const auto &p) { return std::string(p.param.name); });

// The runs that go on: the same notes go in the --summary block, in text and
// in JSON, and the Arabic ones to the window.
std::vector<MissingCase> RunningCases()
{
    std::vector<MissingCase> cases;
    for (const MissingCase &c : MissingCases())
        if (c.code != kExitFailed) cases.push_back(c);
    return cases;
}

class Defaulted : public ::testing::TestWithParam<MissingCase> {};

TEST_P(Defaulted, NotesInTheSummaryAndInArabic)
{
    const MissingCase &c = GetParam();
    ScratchDir dir;
    Options options;
    options.input = dir.File("staff.csv");
    options.summary = true;
    WriteFile(options.input, StaffWithout(c.left));
    const RunOutput text = RunBatch(options);
    ASSERT_EQ(text.code, kExitAllComputed) << text.err;
    const auto lines = Lines(text.out);
    const auto at = std::find(lines.begin(), lines.end(), "defaults:");
    if (c.errLines.empty()) {
        EXPECT_EQ(at, lines.end()) << text.out;
    } else {
        ASSERT_NE(at, lines.end()) << text.out;
        std::vector<std::string> shown(at + 1, std::min(lines.end(), at + 1 + static_cast<long>(c.errLines.size())));
        std::vector<std::string> expected;
        for (const std::string &l : c.errLines) expected.push_back("  " + l);
        EXPECT_EQ(shown, expected);
    }

    options.json = true;
    const RunOutput json = RunBatch(options);
    const auto objects = JsonLines(json.out);
    ASSERT_FALSE(objects.empty());
    const nlohmann::json &summary = objects.back()["summary"];
    if (c.errLines.empty()) {
        EXPECT_FALSE(summary.contains("defaults"));
    } else {
        ASSERT_TRUE(summary.contains("defaults")) << json.out;
        EXPECT_EQ(summary["defaults"].get<std::vector<std::string>>(), c.errLines);
    }

    const Preview preview = ReadPreview(options.input);
    ASSERT_TRUE(preview.ok) << preview.error;
    ASSERT_EQ(preview.defaulted.size(), c.errLines.size());
    for (std::size_t i = 0; i < preview.defaulted.size(); ++i) {
        EXPECT_EQ(preview.defaulted[i].english, c.errLines[i]);
        EXPECT_TRUE(HasArabicLetters(preview.defaulted[i].arabic)) << preview.defaulted[i].arabic;
    }
}

INSTANTIATE_TEST_SUITE_P(Columns, Defaulted, ::testing::ValuesIn(RunningCases()),
                         [](const auto &p) { return std::string(p.param.name); });

// The defaults are said once, before the first refused row.
TEST(Missing, DefaultsComeBeforeAnyRow)
{
    ScratchDir dir;
    Options options;
    options.input = dir.File("staff.csv");
    WriteFile(options.input, "name;category;echelon;status\nA;18;7;married\nB;11;7;married\nC;11;13;married\n");
    const RunOutput run = RunBatch(options);
    EXPECT_EQ(run.code, kExitSomeRefused);
    const auto lines = Lines(run.err);
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[0], "payslip-cli batch: no 'post' column: every row counts post 0, no specific post");
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const std::string &l) { return l.find("no 'children' column") != std::string::npos; }),
              1);
    const auto firstRow = std::find_if(lines.begin(), lines.end(),
                                       [](const std::string &l) { return l.find("staff.csv:2:") != std::string::npos; });
    const auto lastNote = std::find_if(lines.rbegin(), lines.rend(), [](const std::string &l) {
        return l.find(" column: every row") != std::string::npos;
    });
    ASSERT_NE(firstRow, lines.end());
    EXPECT_LT(lastNote.base() - lines.begin(), firstRow - lines.begin() + 1);
}

// The window's wording of the missing required columns, naming the accepted headers.
TEST(Missing, RequiredColumnsSaidInArabic)
{
    ScratchDir dir;
    const std::string path = dir.File("staff.csv");
    WriteFile(path, "name;children\nA;1\n");
    const Preview preview = ReadPreview(path);
    EXPECT_FALSE(preview.ok);
    EXPECT_EQ(preview.arabicError, path + ": الأعمدة الإلزامية غير موجودة: «الصنف» (عنوانه category أو الصنف أو الفئة)، "
                                          "«الدرجة» (عنوانه echelon أو إختر الدرجة أو الدرجة أو اختر الدرجة)؛ لا بد من صنف "
                                          "ودرجة كل موظف");
    Options options;
    options.input = path;
    const Result result = Execute(options, {});
    EXPECT_EQ(result.exitCode, kExitFailed);
    EXPECT_EQ(result.arabicError, preview.arabicError);
    EXPECT_EQ(result.counts.read, 0u);
}

// The Arabic headers count as the columns they name.
TEST(Missing, ArabicHeadersGiveTheRequiredColumns)
{
    ScratchDir dir;
    Options options;
    options.input = dir.File("staff.csv");
    WriteFile(options.input, "الاسم;الفئة;الدرجة;عدد الأولاد;الحالة\nA;11;7;1;متزوج\n");
    const RunOutput run = RunBatch(options);
    EXPECT_EQ(run.code, kExitAllComputed) << run.err;
    EXPECT_EQ(run.err.find("required"), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find("'children'"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("no 'mark' column"), std::string::npos) << run.err;
}

// A count's cell refused beyond its range says the range of the inputs
// table, in both wordings, and the range's ends are read.
TEST(CellRules, RangesAreTheInputsTables)
{
    for (Input c : {Input::Category, Input::Echelon, Input::Post, Input::Children, Input::OverTen}) {
        const paycalc::SituationInput &in = paycalc::InputOf(c);
        SCOPED_TRACE(std::string(in.name));
        paycalc::Situation s;
        const paycalc::Wording beyond = paycalc::Refusal({&in, std::to_string(in.high + 1)});
        EXPECT_FALSE(paycalc::ReadInput(in, std::to_string(in.high + 1), s, true));
        EXPECT_NE(beyond.english.find("from " + std::to_string(in.low) + " to " + std::to_string(in.high)), std::string::npos)
            << beyond.english;
        EXPECT_NE(beyond.arabic.find("من " + std::to_string(in.low) + " إلى " + std::to_string(in.high)), std::string::npos)
            << beyond.arabic;
        EXPECT_TRUE(paycalc::ReadInput(in, std::to_string(in.low), s, true));
        EXPECT_TRUE(paycalc::ReadInput(in, std::to_string(in.high), s, true));
    }
}

} // namespace
} // namespace batch::testing
