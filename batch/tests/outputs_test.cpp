// The outputs: nothing lost, exit statuses, files complete or not there, the
// spreadsheet, the totals, and slips equal to single computations whatever
// the number of threads.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <random>
#include <set>

#include "batch/atomic_file.h"
#include "batch/tests/batch_test_util.h"
#include "paycalc/slip.h"
#include "paydata/amount.h"
#include "paydata/tables.h"

namespace batch::testing {
namespace {

const char *kHeader = "name;category;echelon;post;children;over_ten;status;spouse;mutual;zone;housing;absence;mark";

// A random situation and one of the ways a spreadsheet may spell it.
struct GeneratedRow {
    paycalc::Situation situation;
    std::string line;
};

GeneratedRow Generate(std::mt19937 &random, int index)
{
    auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    paycalc::Situation s;
    s.category = pick(1, 17);
    s.echelon = pick(0, 12);
    s.post = pick(0, 3) == 0 ? pick(1, 10) : 0;
    s.status = pick(0, 3) ? 1 : 0;
    s.children = s.status ? pick(0, 12) : 0;
    s.overTen = s.children ? pick(0, s.children) : 0;
    s.spouse = pick(0, 1);
    s.mutual = pick(0, 1) != 0;
    auto amount = [&] {
        std::string text = std::to_string(pick(0, 99999));
        if (pick(0, 1)) text += "." + std::to_string(pick(0, 99));
        return text;
    };
    s.zone = amount();
    s.housing = amount();
    s.absence = std::to_string(pick(0, 40));
    s.mark = std::to_string(pick(0, 40));
    const bool arabic = pick(0, 1) != 0;
    std::string post = std::to_string(s.post);
    if (s.post && pick(0, 1)) post = std::string(paydata::kSpecificPosts[static_cast<std::size_t>(s.post)].title);
    std::string line = "Employee " + std::to_string(index) + ";" + std::to_string(s.category) + ";" +
                       std::to_string(s.echelon) + ";" + post + ";" + std::to_string(s.children) + ";" +
                       std::to_string(s.overTen) + ";" +
                       (arabic ? std::string(paydata::kFamilyStatusEntries[static_cast<std::size_t>(s.status)])
                               : std::string(s.status ? "married" : "single")) +
                       ";" +
                       (arabic ? std::string(paydata::kSpouseEntries[static_cast<std::size_t>(s.spouse)])
                               : std::string(s.spouse ? "working" : "home")) +
                       ";" + (arabic ? (s.mutual ? "نعم" : "لا") : (s.mutual ? "yes" : "no")) + ";" + s.zone + ";" +
                       s.housing + ";" + s.absence + ";" + s.mark;
    return {s, line};
}

std::vector<GeneratedRow> GenerateRows(int count, unsigned seed)
{
    std::mt19937 random(seed);
    std::vector<GeneratedRow> rows;
    for (int i = 0; i < count; ++i) rows.push_back(Generate(random, i));
    return rows;
}

std::string StaffList(const std::vector<GeneratedRow> &rows)
{
    std::string text = std::string(kHeader) + "\n";
    for (const GeneratedRow &r : rows) text += r.line + "\n";
    return text;
}

// Equal to single computations: every line of every generated row, in the
// JSON Lines and in the table.
TEST(Slips, EqualSingleComputations)
{
    const auto rows = GenerateRows(400, 2016);
    ScratchDir dir;
    Options options;
    options.input = dir.File("staff.csv");
    options.out = dir.File("slips.csv");
    options.json = true;
    WriteFile(options.input, StaffList(rows));
    const RunOutput run = RunBatch(options);
    ASSERT_EQ(run.code, kExitAllComputed) << run.err;
    const auto json = JsonLines(run.out);
    const auto table = Lines(ReadFile(options.out));
    ASSERT_EQ(json.size(), rows.size());
    ASSERT_EQ(table.size(), rows.size() + 1);
    const std::vector<std::string> header = Split(table[0], ';');
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const paycalc::Slip slip = paycalc::ComputeSlip(rows[i].situation);
        ASSERT_TRUE(slip.ok());
        EXPECT_EQ(json[i]["row"], i + 2);
        EXPECT_EQ(json[i]["columns"]["name"], "Employee " + std::to_string(i));
        const std::vector<std::string> cells = Split(table[i + 1], ';');
        ASSERT_EQ(cells.size(), header.size());
        for (paycalc::Field f : kTableLines) {
            EXPECT_EQ(json[i]["slip"][std::string(paycalc::FieldName(f))], slip.Text(f)) << "row " << i + 2;
            const auto column = std::find(header.begin(), header.end(), paycalc::LineName(f)) - header.begin();
            EXPECT_EQ(cells[static_cast<std::size_t>(column)], slip.Text(f)) << "row " << i + 2;
        }
    }
}

// The order and the bytes of every output do not depend on the threads.
TEST(Slips, SameOutputsWithAnyNumberOfThreads)
{
    const auto rows = GenerateRows(5000, 7); // several chunks of rows
    ScratchDir dir;
    std::string input = StaffList(rows);
    input.insert(input.find("\nEmployee 2500;"), "\nX;18;7;0;1;0;married;home;yes;0;0;0;40\n");
    WriteFile(dir.File("staff.csv"), input);
    std::vector<std::string> tables, jsons, errors;
    for (unsigned threads : {1u, 2u, 3u}) {
        Options options;
        options.input = dir.File("staff.csv");
        options.out = dir.File("slips.csv");
        options.errors = dir.File("refused.csv");
        options.json = true;
        options.threads = threads;
        const RunOutput run = RunBatch(options);
        ASSERT_EQ(run.code, kExitSomeRefused) << run.err;
        tables.push_back(ReadFile(options.out));
        jsons.push_back(run.out);
        errors.push_back(ReadFile(options.errors));
    }
    EXPECT_EQ(tables[0], tables[1]);
    EXPECT_EQ(tables[0], tables[2]);
    EXPECT_EQ(jsons[0], jsons[1]);
    EXPECT_EQ(jsons[0], jsons[2]);
    EXPECT_EQ(errors[0], errors[2]);
    EXPECT_EQ(Lines(tables[0]).size(), rows.size() + 1);
}

// Every data line of the input is in exactly one of: the computed rows, the
// refused rows, the empty lines.
TEST(Conservation, EveryDataLineIsAccountedForOnce)
{
    auto rows = GenerateRows(60, 11);
    std::string input = std::string(kHeader) + "\n";
    std::set<std::uint64_t> empty, bad;
    std::uint64_t line = 2;
    std::mt19937 random(5);
    for (const GeneratedRow &r : rows) {
        switch (random() % 5) {
        case 0:
            input += "\n";
            empty.insert(line++);
            break;
        case 1:
            input += ";;;;;;;;;;;;\n";
            empty.insert(line++);
            break;
        case 2:
            input += r.line.substr(0, r.line.rfind(';')) + "\n"; // a cell short
            bad.insert(line++);
            break;
        default: break;
        }
        input += r.line + "\n";
        ++line;
    }
    input += "Z;11;7;0;1;0;married;home;yes;1500,50;0;0;40\n";
    bad.insert(line++);
    const std::uint64_t lastLine = line - 1;

    ScratchDir dir;
    Options options;
    options.input = dir.File("staff.csv");
    options.out = dir.File("slips.csv");
    options.errors = dir.File("refused.csv");
    options.json = true;
    WriteFile(options.input, input);
    std::ostringstream json;
    Hooks hooks;
    hooks.json = &json;
    const Result result = Execute(options, hooks);
    ASSERT_EQ(result.exitCode, kExitSomeRefused) << result.error;

    std::multiset<std::uint64_t> seen;
    for (const auto &object : JsonLines(json.str())) seen.insert(object["row"].get<std::uint64_t>());
    const auto errorLines = Lines(ReadFile(options.errors));
    for (std::size_t i = 1; i < errorLines.size(); ++i) {
        const std::uint64_t n = std::stoull(Split(errorLines[i], ';')[0]);
        EXPECT_TRUE(bad.count(n)) << n;
        seen.insert(n);
    }
    for (std::uint64_t n : empty) seen.insert(n);
    for (std::uint64_t n = 2; n <= lastLine; ++n) EXPECT_EQ(seen.count(n), 1u) << "line " << n;
    EXPECT_EQ(seen.size(), lastLine - 1);

    EXPECT_EQ(result.counts.read, lastLine - 1);
    EXPECT_EQ(result.counts.computed, rows.size());
    EXPECT_EQ(result.counts.refused, bad.size());
    EXPECT_EQ(result.counts.empty, empty.size());
    EXPECT_EQ(result.counts.read, result.counts.computed + result.counts.refused + result.counts.empty);
    EXPECT_EQ(Lines(ReadFile(options.out)).size(), rows.size() + 1);
}

// The totals: for every line, the sum of the shown amounts of the computed rows.
TEST(Summary, TotalsAreSumsOfTheShownAmounts)
{
    const auto rows = GenerateRows(300, 3);
    ScratchDir dir;
    Options options;
    options.input = dir.File("staff.csv");
    options.summary = true;
    WriteFile(options.input, StaffList(rows) + "X;18;7;0;1;0;married;home;yes;0;0;0;40\n");
    const Result result = Execute(options, {});
    ASSERT_EQ(result.exitCode, kExitSomeRefused);
    std::array<double, kTableLines.size()> sums{};
    for (const GeneratedRow &r : rows) {
        const paycalc::Slip slip = paycalc::ComputeSlip(r.situation);
        for (std::size_t k = 0; k < kTableLines.size(); ++k)
            sums[k] = paydata::Add(sums[k], paydata::ReadAmount(slip.Text(kTableLines[k])));
    }
    for (std::size_t k = 0; k < kTableLines.size(); ++k)
        EXPECT_EQ(result.totals[k], paydata::ShowAmount(sums[k])) << paycalc::LineName(kTableLines[k]);
    EXPECT_EQ(result.counts.computed, rows.size());
    EXPECT_EQ(result.counts.refused, 1u);

    // As the command line prints them: the counts, then each line's total and name.
    const RunOutput run = RunBatch(options);
    EXPECT_NE(run.out.find("computed      300\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("refused       1\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find(result.totals[17] + "  net_pay"), std::string::npos) << run.out;
    // With JSON, the totals are the last JSON line.
    options.json = true;
    const auto lines = JsonLines(RunBatch(options).out);
    ASSERT_EQ(lines.size(), rows.size() + 1);
    EXPECT_EQ(lines.back()["summary"]["counts"]["computed"], rows.size());
    EXPECT_EQ(lines.back()["summary"]["totals"]["Text21"], result.totals[17]);
}

// ---- Exit statuses ----

struct ExitCase {
    const char *name;
    const char *input; // nullptr: no such file
    const char *out;   // relative to the scratch folder
    int code;
    const char *err;         // a part of the error stream
    const char *arabic = ""; // for a failure, a part of the reason as the window says it
};

class ExitStatus : public ::testing::TestWithParam<ExitCase> {};

TEST_P(ExitStatus, FromTheRun)
{
    const ExitCase &c = GetParam();
    ScratchDir dir;
    Options options;
    options.input = dir.File("staff.csv");
    if (c.input) WriteFile(options.input, c.input);
    if (*c.out) options.out = dir.File(c.out);
    const RunOutput run = RunBatch(options);
    EXPECT_EQ(run.code, c.code) << run.err;
    EXPECT_NE(run.err.find(c.err), std::string::npos) << run.err;
}

// A run that fails says why in English on the error stream, and in Arabic
// for the window's dialog.
TEST_P(ExitStatus, FailureSaidInArabicForTheWindow)
{
    const ExitCase &c = GetParam();
    ScratchDir dir;
    Options options;
    options.input = dir.File("staff.csv");
    if (c.input) WriteFile(options.input, c.input);
    if (*c.out) options.out = dir.File(c.out);
    const Result result = Execute(options, {});
    EXPECT_EQ(result.exitCode, c.code);
    if (c.code != kExitFailed) {
        EXPECT_TRUE(result.error.empty() && result.arabicError.empty()) << result.arabicError;
        return;
    }
    EXPECT_NE(result.error.find(c.err), std::string::npos) << result.error;
    EXPECT_TRUE(HasArabicLetters(result.arabicError)) << result.arabicError;
    EXPECT_NE(result.arabicError.find(c.arabic), std::string::npos) << result.arabicError;
    EXPECT_EQ(result.arabicError.find(c.err), std::string::npos) << result.arabicError;
}

INSTANTIATE_TEST_SUITE_P(
    Runs, ExitStatus,
    ::testing::Values(ExitCase{"all_computed", "category;echelon\n3;7\n4;7\n", "slips.csv", 0, ""},
                      ExitCase{"no_rows", "category;echelon\n", "slips.csv", 0, ""},
                      ExitCase{"some_refused", "category;echelon\n3;7\n18;7\n", "slips.csv", 4, "1 of 2 rows refused"},
                      ExitCase{"all_refused", "category;echelon\n18;7\n", "slips.csv", 4, "staff.csv:2: category:"},
                      ExitCase{"no_category", "echelon\n3\n", "slips.csv", 1,
                               "the required column is missing: 'category'", "العمود الإلزامي غير موجود"},
                      ExitCase{"input_missing", nullptr, "slips.csv", 1, "cannot read", "تعذرت قراءة الملف"},
                      ExitCase{"bad_header", "category,category\n3,3\n", "slips.csv", 1, "repeats column 1",
                               "يكرر العمود 1"},
                      ExitCase{"output_folder_missing", "category;echelon\n3;7\n", "no/such/folder/slips.csv", 1,
                               "cannot write", "تعذرت كتابة الملف"},
                      ExitCase{"spreadsheet_folder_missing", "category;echelon\n3;7\n", "no/such/folder/slips.xlsx", 1,
                               "cannot write", "تعذرت كتابة الملف"},
                      ExitCase{"output_over_the_staff_list", "category;echelon\n3;7\n", "./staff.csv", 1,
                               "the same file", "ملف الموظفين وجدول الكشوف ملف واحد"}),
    [](const auto &param) { return std::string(param.param.name); });

// ---- Files complete or not there ----

// In a child process whose files may not grow beyond `limit` bytes, runs the
// batch and returns its exit status.
int RunWithFileSizeLimit(const Options &options, rlim_t limit)
{
    const pid_t child = ::fork();
    if (child == 0) {
        ::signal(SIGXFSZ, SIG_IGN); // a write beyond the limit fails with EFBIG instead
        rlimit cap{limit, limit};
        ::setrlimit(RLIMIT_FSIZE, &cap);
        std::ostringstream out, err;
        ::_exit(Run(options, out, err));
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(Atomic, AFailedWriteLeavesThePreviousFilesUntouched)
{
    ScratchDir dir;
    Options options;
    options.input = dir.File("staff.csv");
    WriteFile(options.input, StaffList(GenerateRows(2000, 1)));
    const std::string before = "the previous table\n";
    for (const char *name : {"slips.csv", "slips.xlsx", "refused.csv"}) {
        Options o = options;
        if (std::string(name) == "refused.csv") {
            // The refused rows are the ones too big to write.
            std::string bad = std::string(kHeader) + "\n";
            for (int i = 0; i < 2000; ++i) bad += "X;18;7;0;1;0;married;home;yes;0;0;0;40\n";
            o.input = dir.File("bad.csv");
            WriteFile(o.input, bad);
            o.errors = dir.File(name);
        } else {
            o.out = dir.File(name);
        }
        WriteFile(dir.File(name), before);
        EXPECT_EQ(RunWithFileSizeLimit(o, 8 * 1024), kExitFailed) << name;
        EXPECT_TRUE(ReadFile(dir.File(name)) == before) << name << " was changed";
        for (const std::string &left : dir.Names()) EXPECT_FALSE(left.starts_with(".")) << left;
    }
}

TEST(Atomic, ACancelledRunWritesNothing)
{
    ScratchDir dir;
    Options options;
    options.input = dir.File("staff.csv");
    options.out = dir.File("slips.csv");
    options.errors = dir.File("refused.csv");
    WriteFile(options.input, StaffList(GenerateRows(3000, 4)));
    std::atomic<bool> cancel{true}; // before the first rows are written
    Hooks hooks;
    hooks.cancel = &cancel;
    const Result result = Execute(options, hooks);
    EXPECT_TRUE(result.cancelled);
    EXPECT_EQ(result.exitCode, kExitFailed);
    EXPECT_TRUE(result.written.empty());
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"staff.csv"});
}

TEST(Atomic, FileInPlaceOnlyAfterCommit)
{
    ScratchDir dir;
    const std::string target = dir.File("out.txt");
    WriteFile(target, "old");
    {
        AtomicFile file(target);
        std::string error;
        ASSERT_TRUE(file.Open(&error)) << error;
        ASSERT_TRUE(file.Write("new"));
        EXPECT_EQ(ReadFile(target), "old");
        // Not committed: the temporary goes with the object.
    }
    EXPECT_EQ(ReadFile(target), "old");
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"out.txt"});
    AtomicFile file(target);
    std::string error;
    ASSERT_TRUE(file.Open(&error));
    ASSERT_TRUE(file.Write("new"));
    ASSERT_TRUE(file.Commit(&error)) << error;
    EXPECT_EQ(ReadFile(target), "new");
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"out.txt"});
}

// ---- The spreadsheet ----

std::string Unzip(const std::string &archive, const std::string &member)
{
    return CommandOutput("unzip -p '" + archive + "' " + member);
}

TEST(Spreadsheet, RightToLeftFrozenHeaderNumbersAndTotals)
{
    ScratchDir dir;
    Options options;
    options.input = dir.File("staff.csv");
    options.out = dir.File("slips.xlsx");
    options.summary = true;
    const auto rows = GenerateRows(20, 9);
    WriteFile(options.input, StaffList(rows));
    const RunOutput run = RunBatch(options);
    ASSERT_EQ(run.code, kExitAllComputed) << run.err;
    const std::string bytes = ReadFile(options.out);
    ASSERT_TRUE(bytes.starts_with("PK\x03\x04")) << "not a zip archive";
    if (std::system("unzip -v > /dev/null 2>&1") != 0) GTEST_SKIP() << "unzip is not installed";

    const std::string sheet = Unzip(options.out, "xl/worksheets/sheet1.xml");
    ASSERT_FALSE(sheet.empty());
    EXPECT_NE(sheet.find("rightToLeft=\"1\""), std::string::npos);
    EXPECT_NE(sheet.find("ySplit=\"1\""), std::string::npos);
    EXPECT_NE(sheet.find("state=\"frozen\""), std::string::npos);
    // A header, a row per employee, the totals.
    EXPECT_NE(sheet.find("<row r=\"" + std::to_string(rows.size() + 2) + "\""), std::string::npos);
    EXPECT_EQ(sheet.find("<row r=\"" + std::to_string(rows.size() + 3) + "\""), std::string::npos);
    // Net pay of the first employee, a number cell with the two-decimal format.
    const paycalc::Slip slip = paycalc::ComputeSlip(rows[0].situation);
    const std::string net = slip.Text(paycalc::Field::Text21);
    char value[64];
    std::snprintf(value, sizeof value, "%.16G", paydata::ReadAmount(net)); // as the library writes numbers
    const auto at = sheet.find("<v>" + std::string(value) + "</v>");
    EXPECT_NE(at, std::string::npos) << net;
    const std::string styles = Unzip(options.out, "xl/styles.xml");
    EXPECT_NE(styles.find("formatCode=\"0.00\""), std::string::npos);
}

} // namespace
} // namespace batch::testing
