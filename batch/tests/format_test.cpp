// Staff lists as spreadsheets save them: byte-order mark, both separators,
// quotes, CR LF, Arabic headers, carried columns. Each case names the rows it
// must give (line number, carried cells, situation); the slip of every row
// must be the one ComputeSlip gives for that situation.
#include <gtest/gtest.h>

#include <map>

#include "batch/tests/batch_test_util.h"
#include "paycalc/slip.h"

namespace batch::testing {
namespace {

struct ExpectedRow {
    std::uint64_t line;
    std::map<std::string, std::string> carried;
    paycalc::Situation situation;
};

struct FormatCase {
    const char *name;
    std::string input;
    std::vector<ExpectedRow> rows;
    std::uint64_t empty = 0;
};

paycalc::Situation With(void (*change)(paycalc::Situation &))
{
    paycalc::Situation s;
    change(s);
    return s;
}

// clang-format off
std::vector<FormatCase> Cases()
{
    return {
        {"comma_lf", "name,category,echelon\nAli,12,3\nSara,5,0\n",
         {{2, {{"name", "Ali"}}, With([](auto& s) { s.category = 12; s.echelon = 3; })},
          {3, {{"name", "Sara"}}, With([](auto& s) { s.category = 5; s.echelon = 0; })}}},
        {"semicolon_crlf_bom", "\xEF\xBB\xBFname;category;echelon;zone\r\nAli;12;7;1500.50\r\nSara;1;7;0\r\n",
         {{2, {{"name", "Ali"}}, With([](auto& s) { s.category = 12; s.zone = "1500.50"; })},
          {3, {{"name", "Sara"}}, With([](auto& s) { s.category = 1; })}}},
        {"quotes_and_line_breaks_in_cells",
         "name,school,category,echelon\n\"Benali, Karim\",\"Lycee \"\"El Feth\"\"\",11,3\n\"two\nlines\",x,11,4\nlast,y,11,5\n",
         {{2, {{"name", "Benali, Karim"}, {"school", "Lycee \"El Feth\""}}, With([](auto& s) { s.echelon = 3; })},
          {3, {{"name", "two\nlines"}, {"school", "x"}}, With([](auto& s) { s.echelon = 4; })},
          {5, {{"name", "last"}, {"school", "y"}}, With([](auto& s) { s.echelon = 5; })}}},
        {"quoted_line_break_with_crlf", "name;echelon;category\r\n\"a\r\nb\";2;11\r\nc;3;11\r\n",
         {{2, {{"name", "a\r\nb"}}, With([](auto& s) { s.echelon = 2; })},
          {4, {{"name", "c"}}, With([](auto& s) { s.echelon = 3; })}}},
        {"window_labels",
         "الاسم;الصنف;إختر الدرجة :;المنصب النوعي :;عدد الأولاد  :;الأكبر من 10  :; الحالة العائلية :;مهنة الزوجة  :;"
         "التعاضدية :;منحة المنطقة :; منحة السكن :;عدد ايام الغياب;علامة المردودية (3 اشهر):\n"
         "أمينة;9;4;مدير متوسطة;3;1;متزوج;عاملة;لا;850.75;500;2;35\n",
         {{2, {{"الاسم", "أمينة"}}, With([](auto& s) {
               s.category = 9; s.echelon = 4; s.post = 5; s.children = 3; s.overTen = 1; s.status = 1;
               s.spouse = 1; s.mutual = false; s.zone = "850.75"; s.housing = "500"; s.absence = "2"; s.mark = "35";
           })}}},
        {"short_arabic_names", "الفئة;الدرجة;المنصب;الحالة;الزوجة;الأولاد\n11;5;مدير ثانوية;عازب;ماكثة;0\n",
         {{2, {}, With([](auto& s) { s.echelon = 5; s.post = 6; s.status = 0; s.children = 0; })}}},
        {"blanks_around_cells_and_names", "category; Echelon ;zone\n 12 ;  3 ; 1500.50 \n",
         {{2, {}, With([](auto& s) { s.category = 12; s.echelon = 3; s.zone = "1500.50"; })}}},
        {"carried_cells_unchanged", "number,name,note,category,echelon\n007, Ali ,=1+1,11,7\n",
         {{2, {{"number", "007"}, {"name", " Ali "}, {"note", "=1+1"}}, paycalc::Situation{}}}},
        {"single_without_children_column", "category,echelon,status,over-ten\n11,7,single,0\n",
         {{2, {}, With([](auto& s) { s.status = 0; s.children = 0; })}}},
        {"post_row_mutual_digits_spouse_words", "category,echelon,post,mutual,spouse,status\n11,7,10,0,working,married\n11,7,3,1,home,متزوج\n",
         {{2, {}, With([](auto& s) { s.post = 10; s.mutual = false; s.spouse = 1; })},
          {3, {}, With([](auto& s) { s.post = 3; s.mutual = true; s.spouse = 0; })}}},
        {"last_line_without_line_end", "category;echelon\n3;7", {{2, {}, With([](auto& s) { s.category = 3; })}}},
        {"empty_lines_skipped", "category,echelon\n\n3,1\n,\n \t, \r\n4,2\n",
         {{3, {}, With([](auto& s) { s.category = 3; s.echelon = 1; })},
          {6, {}, With([](auto& s) { s.category = 4; s.echelon = 2; })}},
         3},
        {"earlier_slip_lines_computed_afresh", "name,category,echelon,net_pay,Text1\nAli,11,3,1.00,2.00\n",
         {{2, {{"name", "Ali"}}, With([](auto& s) { s.echelon = 3; })}}},
    };
}
// clang-format on

class Format : public ::testing::TestWithParam<FormatCase> {};

TEST_P(Format, RowsCarriedCellsAndSlips)
{
    const FormatCase &c = GetParam();
    ScratchDir dir;
    const ExecuteOutput run = ExecuteStaff(dir, c.input);
    const Result &result = run.result;
    const std::vector<Refusal> &refused = run.refused;
    EXPECT_TRUE(refused.empty()) << refused.front().line << ": " << refused.front().message;
    ASSERT_EQ(result.exitCode, kExitAllComputed) << result.error;
    EXPECT_EQ(result.counts.computed, c.rows.size());
    EXPECT_EQ(result.counts.empty, c.empty);

    const auto lines = JsonLines(run.json);
    ASSERT_EQ(lines.size(), c.rows.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const ExpectedRow &want = c.rows[i];
        EXPECT_EQ(lines[i]["row"], want.line);
        std::map<std::string, std::string> carried;
        for (const auto &[key, value] : lines[i]["columns"].items()) carried[key] = value.get<std::string>();
        EXPECT_EQ(carried, want.carried) << "row " << want.line;
        const paycalc::Slip slip = paycalc::ComputeSlip(want.situation);
        ASSERT_TRUE(slip.ok());
        ASSERT_EQ(lines[i]["slip"].size(), kTableLines.size());
        for (paycalc::Field f : kTableLines)
            EXPECT_EQ(lines[i]["slip"][std::string(paycalc::FieldName(f))], slip.Text(f))
                << "row " << want.line << ' ' << paycalc::FieldName(f);
    }
}

INSTANTIATE_TEST_SUITE_P(Files, Format, ::testing::ValuesIn(Cases()),
                         [](const auto &param) { return std::string(param.param.name); });

// The table keeps the input's separator, byte-order mark and line ends, and
// writes the carried columns, the situation and the slip lines by name.
TEST(Table, KeepsTheInputsFormAndNamesEveryColumn)
{
    ScratchDir dir;
    Options options;
    options.input = dir.File("staff.csv");
    options.out = dir.File("slips.csv");
    WriteFile(options.input, "\xEF\xBB\xBFname;category;echelon;status;zone\r\n\"Ben; Ali\";11;7;عازب;1500.50\r\n");
    const RunOutput run = RunBatch(options);
    ASSERT_EQ(run.code, kExitAllComputed) << run.err;
    const std::string table = ReadFile(options.out);
    ASSERT_TRUE(table.starts_with("\xEF\xBB\xBF"));
    const auto lines = Lines(table.substr(3));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_NE(table.find("\r\n"), std::string::npos);

    std::vector<std::string> header{"name"};
    for (const paycalc::SituationInput &in : paycalc::kSituationInputs) header.push_back(ColumnName(in.input));
    for (paycalc::Field f : kTableLines) header.emplace_back(paycalc::LineName(f));
    EXPECT_EQ(Split(lines[0], ';'), header);

    paycalc::Situation s;
    s.status = 0;
    s.children = 0;
    s.zone = "1500.50";
    const paycalc::Slip slip = paycalc::ComputeSlip(s);
    std::string expected = "\"Ben; Ali\";11;7;0;0;0;single;home;yes;1500.50;0;0;40";
    for (paycalc::Field f : kTableLines) expected += ";" + slip.Text(f);
    EXPECT_EQ(lines[1], expected);
}

// A header the batch cannot use stops the run before any output.
struct HeaderCase {
    const char *name;
    std::string input;
    const char *message;
    const char *arabic; // a part of the reason as the window says it
};

class BadHeader : public ::testing::TestWithParam<HeaderCase> {};

// The window's dialog says why in Arabic, in its preview and for a run.
TEST_P(BadHeader, ReasonInArabicForTheWindow)
{
    ScratchDir dir;
    Options options;
    options.input = dir.File("staff.csv");
    WriteFile(options.input, GetParam().input);
    const Result result = Execute(options, {});
    EXPECT_EQ(result.exitCode, kExitFailed);
    EXPECT_NE(result.error.find(GetParam().message), std::string::npos) << result.error;
    EXPECT_TRUE(HasArabicLetters(result.arabicError)) << result.arabicError;
    EXPECT_NE(result.arabicError.find(GetParam().arabic), std::string::npos) << result.arabicError;
    EXPECT_NE(result.arabicError.find(options.input), std::string::npos) << result.arabicError;

    const Preview preview = ReadPreview(options.input);
    EXPECT_FALSE(preview.ok);
    EXPECT_EQ(preview.error, result.error);
    EXPECT_EQ(preview.arabicError, result.arabicError);
}

TEST_P(BadHeader, StopsWithExitOne)
{
    ScratchDir dir;
    Options options;
    options.input = dir.File("staff.csv");
    options.out = dir.File("slips.csv");
    WriteFile(options.input, GetParam().input);
    const RunOutput run = RunBatch(options);
    EXPECT_EQ(run.code, kExitFailed);
    EXPECT_NE(run.err.find(GetParam().message), std::string::npos) << run.err;
    EXPECT_FALSE(std::filesystem::exists(options.out));
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"staff.csv"});
}

INSTANTIATE_TEST_SUITE_P(
    Headers, BadHeader,
    ::testing::Values(HeaderCase{"empty_file", "", "line 1 must name the columns", "السطر 1 فارغ، وعليه أن يسمي الأعمدة"},
                      HeaderCase{"empty_first_line", "\ncategory\n3\n", "line 1 must name the columns",
                                 "السطر 1 فارغ، وعليه أن يسمي الأعمدة"},
                      HeaderCase{"repeated_name", "name,category,Name\n", "repeats column 1",
                                 "السطر 1: العمود 3 'Name' يكرر العمود 1 'name'"},
                      HeaderCase{"two_columns_for_one_value", "echelon;الدرجة\n", "both give the echelon",
                                 "السطر 1: العمودان 1 'echelon' و2 'الدرجة' كلاهما يعطي الدرجة"},
                      HeaderCase{"unnamed_column", "name,,category\n", "column 2 has no name", "السطر 1: العمود 2 بلا اسم"},
                      HeaderCase{"not_utf8", "nam\xe9,category\n", "not UTF-8", "ليس نصا بترميز UTF-8"},
                      HeaderCase{"control_character", "name,category,echelon\x1b\n",
                                 "column 3 holds the control character U+001B", "في العمود 3 محرف التحكم U+001B"},
                      HeaderCase{"no_category", "name;echelon\nA;7\n", "the required column is missing: 'category'",
                                 "العمود الإلزامي غير موجود: «الصنف»"},
                      HeaderCase{"no_echelon", "category\n3\n", "the required column is missing: 'echelon'",
                                 "العمود الإلزامي غير موجود: «الدرجة»"}),
    [](const auto &param) { return std::string(param.param.name); });

} // namespace
} // namespace batch::testing
