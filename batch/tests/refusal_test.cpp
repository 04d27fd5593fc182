// Every kind of refused row, each named with its line, column and text; the
// good rows around it still computed; the exit status says some were refused.
#include <gtest/gtest.h>

#include "batch/tests/batch_test_util.h"
#include "paycalc/slip.h"

namespace batch::testing {
namespace {

const std::string kHeader = "name;category;echelon;post;children;over_ten;status;spouse;mutual;zone;housing;absence;mark\n";
const std::string kGood = "Good;11;7;0;1;0;married;home;yes;0;0;0;40\n";

struct RefusalCase {
    const char *name;
    std::string row;     // the data line between two good ones (line 3)
    const char *column;  // the column named, empty for the row as a whole
    const char *text;    // the cell's text as named
    const char *message; // a part of the message
    const char *arabic;  // a part of the window's Arabic message
    bool asTyped = false;
};

std::vector<RefusalCase> Cases()
{
    const std::string huge = "1" + std::string(400, '0');
    return {
        {"category_out_of_range", "X;18;7;0;1;0;married;home;yes;0;0;0;40", "category", "18", "from 1 to 17",
         "الصنف عدد صحيح من 1 إلى 17، لا '18'"},
        {"category_not_a_number", "X;eleven;7;0;1;0;married;home;yes;0;0;0;40", "category", "eleven", "whole number",
         "الصنف عدد صحيح من 1 إلى 17، لا 'eleven'"},
        {"echelon_out_of_range", "X;11;13;0;1;0;married;home;yes;0;0;0;40", "echelon", "13", "from 0 to 12",
         "الدرجة عدد صحيح من 0 إلى 12، لا '13'"},
        {"echelon_negative", "X;11;-1;0;1;0;married;home;yes;0;0;0;40", "echelon", "-1", "from 0 to 12",
         "الدرجة عدد صحيح من 0 إلى 12، لا '-1'"},
        {"post_out_of_range", "X;11;7;11;1;0;married;home;yes;0;0;0;40", "post", "11", "post's title",
         "المنصب النوعي رقم سطر من 0 إلى 10 أو اسم منصب كما تعرضه قائمة النافذة، لا '11'"},
        {"post_unknown_title", "X;11;7;مدير;1;0;married;home;yes;0;0;0;40", "post", "مدير", "post's title",
         "المنصب النوعي رقم سطر من 0 إلى 10 أو اسم منصب كما تعرضه قائمة النافذة، لا 'مدير'"},
        {"children_out_of_range", "X;11;7;0;13;0;married;home;yes;0;0;0;40", "children", "13", "from 0 to 12",
         "عدد الأولاد عدد صحيح من 0 إلى 12، لا '13'"},
        {"over_ten_not_whole", "X;11;7;0;1;1.5;married;home;yes;0;0;0;40", "over_ten", "1.5", "from 0 to 12",
         "الأولاد فوق 10 سنوات عدد صحيح من 0 إلى 12، لا '1.5'"},
        {"status_unknown", "X;11;7;0;0;0;widowed;home;yes;0;0;0;40", "status", "widowed", "single or married",
         "الحالة العائلية عازب أو متزوج (single أو married)، لا 'widowed'"},
        {"spouse_unknown", "X;11;7;0;1;0;married;retired;yes;0;0;0;40", "spouse", "retired", "home or working",
         "مهنة الزوجة ماكثة أو عاملة (home أو working)، لا 'retired'"},
        {"mutual_unknown", "X;11;7;0;1;0;married;home;maybe;0;0;0;40", "mutual", "maybe", "yes or no",
         "التعاضدية نعم أو لا (yes أو no، 1 أو 0)، لا 'maybe'"},
        {"list_cell_empty", "X;;7;0;1;0;married;home;yes;0;0;0;40", "category", "", "not ''",
         "الصنف عدد صحيح من 1 إلى 17، لا ''"},
        {"decimal_comma", "X;11;7;0;1;0;married;home;yes;1500,50;0;0;40", "zone", "1500,50", "decimal number",
         "منحة المنطقة عدد عشري بنقطة، مثل 1500.50، لا '1500,50'"},
        {"letters_after_digits", "X;11;7;0;1;0;married;home;yes;0;12abc;0;40", "housing", "12abc", "decimal number",
         "منحة السكن عدد عشري بنقطة، مثل 1500.50، لا '12abc'"},
        {"two_points", "X;11;7;0;1;0;married;home;yes;0;0;1.2.3;40", "absence", "1.2.3", "decimal number",
         "عدد ايام الغياب عدد عشري بنقطة، مثل 1500.50، لا '1.2.3'"},
        {"exponent", "X;11;7;0;1;0;married;home;yes;1E400;0;0;40", "zone", "1E400", "decimal number",
         "منحة المنطقة عدد عشري بنقطة، مثل 1500.50، لا '1E400'"},
        {"amount_empty", "X;11;7;0;1;0;married;home;yes; ;0;0;40", "zone", " ", "decimal number",
         "منحة المنطقة عدد عشري بنقطة، مثل 1500.50، لا ' '"},
        {"mark_with_point", "X;11;7;0;1;0;married;home;yes;0;0;0;12.5", "mark", "12.5", "whole number",
         "علامة المردودية (3 اشهر) عدد صحيح، مثل 40، لا '12.5'"},
        {"single_with_children", "X;11;7;0;2;0;single;home;yes;0;0;0;40", "children", "2", "single employee",
         "الموظف الأعزب لا يحسب له أولاد، لا '2'"},
        {"single_with_over_ten", "X;11;7;0;0;1;عازب;home;yes;0;0;0;40", "over_ten", "1", "single employee",
         "الموظف الأعزب لا يحسب له أولاد، لا '1'"},
        {"too_few_cells", "X;11;7;0;1;0;married;home;yes;0;0;0", "", "", "12 cells where the header has 13",
         "عدد خلايا السطر 12 والعنوان فيه 13"},
        {"too_many_cells", "X;11;7;0;1;0;married;home;yes;0;0;0;40;extra", "", "", "14 cells where the header has 13",
         "عدد خلايا السطر 14 والعنوان فيه 13"},
        {"not_utf8", "Ren\xe9;11;7;0;1;0;married;home;yes;0;0;0;40", "name", "", "not UTF-8",
         "نص الخلية ليس بترميز UTF-8"},
        // A control character, wherever it is in the cell: refused with its code.
        {"control_nul_at_start", std::string("\0Ali;11;7;0;1;0;married;home;yes;0;0;0;40", 41), "name", "",
         "the cell holds the control character U+0000 at character 1", "في الخلية محرف التحكم U+0000 في الموضع 1"},
        {"control_bell_in_middle", "Al\ai;11;7;0;1;0;married;home;yes;0;0;0;40", "name", "",
         "the cell holds the control character U+0007 at character 3", "في الخلية محرف التحكم U+0007 في الموضع 3"},
        {"control_at_end", "علي\x1f;11;7;0;1;0;married;home;yes;0;0;0;40", "name", "",
         "the cell holds the control character U+001F at character 4", "في الخلية محرف التحكم U+001F في الموضع 4"},
        {"control_before_separator", "X;11\x01;7;0;1;0;married;home;yes;0;0;0;40", "category", "",
         "the cell holds the control character U+0001 at character 3", "في الخلية محرف التحكم U+0001 في الموضع 3"},
        {"delete_after_separator",
         "X;11;\x7f"
         "7;0;1;0;married;home;yes;0;0;0;40",
         "echelon", "", "the cell holds the control character U+007F at character 1",
         "في الخلية محرف التحكم U+007F في الموضع 1"},
        {"control_inside_quotes", "\"Ali\x02 B\";11;7;0;1;0;married;home;yes;0;0;0;40", "name", "",
         "the cell holds the control character U+0002 at character 4", "في الخلية محرف التحكم U+0002 في الموضع 4"},
        {"escape_in_last_cell", "X;11;7;0;1;0;married;home;yes;0;0;0;40\x1b", "mark", "",
         "the cell holds the control character U+001B at character 3", "في الخلية محرف التحكم U+001B في الموضع 3"},
        // A line break inside quotes is only for a carried column.
        {"line_break_in_situation_cell", "X;11;7;0;1;0;\"married\n\";home;yes;0;0;0;40", "status", "",
         "the cell holds the control character U+000A at character 8", "في الخلية محرف التحكم U+000A في الموضع 8"},
        {"badly_quoted", "Ali \"Jr\";11;7;0;1;0;married;home;yes;0;0;0;40", "", "", "badly quoted",
         "علامات الاقتباس في غير موضعها"},
        {"text_after_closing_quote", "\"Ali\"x;11;7;0;1;0;married;home;yes;0;0;0;40", "", "", "badly quoted",
         "علامات الاقتباس في غير موضعها"},
        {"overflow_while_computing", "X;11;7;0;1;0;married;home;yes;" + huge + ";0;0;40", "zone", "", "cannot compute",
         "تعذر حساب الكشف: القيمة المكتوبة في «منحة المنطقة» كبيرة جدا"},
        {"overflow_as_typed", "X;11;7;0;1;0;married;home;yes;1E400;0;0;40", "zone", "1E400", "overflow reading Text10",
         "تعذر حساب الكشف: القيمة المكتوبة في «منحة المنطقة» كبيرة جدا", true},
    };
}

// Rows against the family-status rule: a row is refused at every count cell
// the rule's home says breaks it; a single row without a column for a count
// is computed as the rule holds that count.
TEST(FamilyStatusRule, RowsAreRefusedOrHeldAsTheRuleSays)
{
    struct RowCase {
        std::string header;
        std::string row;
        paycalc::Situation cells; // the situation the cells give, before the rule
        std::vector<std::string> refusedColumns;
    };
    const auto of = [](int status, int children, int overTen) {
        paycalc::Situation s;
        s.status = status;
        s.children = children;
        s.overTen = overTen;
        return s;
    };
    const std::string full = "category;echelon;status;children;over_ten\n";
    const std::string noChildren = "category;echelon;status;over_ten\n";
    const std::vector<RowCase> cases{
        {full, "11;7;single;0;0", of(0, 0, 0), {}},
        {full, "11;7;single;2;1", of(0, 2, 1), {"children", "over_ten"}},
        {full, "11;7;married;2;1", of(1, 2, 1), {}},
        {noChildren, "11;7;single;0", of(0, 1, 0), {}}, // the default child is not counted
        {noChildren, "11;7;عازب;3", of(0, 1, 3), {"over_ten"}},
    };
    for (const RowCase &c : cases) {
        SCOPED_TRACE(c.header + c.row);
        ScratchDir dir;
        const ExecuteOutput run = ExecuteStaff(dir, c.header + c.row + "\n");
        const Result &result = run.result;
        const std::vector<Refusal> &refused = run.refused;

        std::vector<std::string> columns;
        for (const Refusal &r : refused) {
            columns.push_back(r.column);
            EXPECT_NE(r.message.find("single employee"), std::string::npos) << r.message;
        }
        EXPECT_EQ(columns, c.refusedColumns);
        if (!c.refusedColumns.empty()) {
            EXPECT_EQ(result.exitCode, kExitSomeRefused);
            continue;
        }
        ASSERT_EQ(result.exitCode, kExitAllComputed) << result.error;
        paycalc::Situation held = c.cells;
        paycalc::ApplyFamilyStatusRule(held);
        const auto lines = JsonLines(run.json);
        ASSERT_EQ(lines.size(), 1u);
        const paycalc::Slip slip = paycalc::ComputeSlip(held);
        for (paycalc::Field f : {paycalc::Field::Text17, paycalc::Field::Text21})
            EXPECT_EQ(lines[0]["slip"][std::string(paycalc::FieldName(f))], slip.Text(f)) << paycalc::FieldName(f);
    }
}

class Refused : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(Refused, NamesLineColumnAndTextAndKeepsTheOthers)
{
    const RefusalCase &c = GetParam();
    ScratchDir dir;
    Options options;
    options.input = dir.File("staff.csv");
    options.out = dir.File("slips.csv");
    options.errors = dir.File("refused.csv");
    options.asTyped = c.asTyped;
    WriteFile(options.input, kHeader + kGood + c.row + "\n" + kGood);

    const RunOutput run = RunBatch(options);
    EXPECT_EQ(run.code, kExitSomeRefused) << run.err;
    // On the error stream: file, line, column, message.
    std::string where = "staff.csv:3: ";
    if (*c.column) where += std::string(c.column) + ": ";
    EXPECT_NE(run.err.find(where), std::string::npos) << run.err;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;

    // In the error list: one line for the refused row, with the cell's text.
    const auto errors = Lines(ReadFile(options.errors));
    ASSERT_EQ(errors.size(), 2u) << ReadFile(options.errors);
    EXPECT_EQ(errors[0], "line;column;text;message");
    const std::string prefix = std::string("3;") + c.column + ";";
    EXPECT_TRUE(errors[1].starts_with(prefix)) << errors[1];
    if (*c.text) {
        EXPECT_NE(errors[1].find(c.text), std::string::npos) << errors[1];
    }
    EXPECT_NE(errors[1].find(c.message), std::string::npos) << errors[1];

    // The two good rows are in the table, and nothing else.
    const auto table = Lines(ReadFile(options.out));
    ASSERT_EQ(table.size(), 3u);
    EXPECT_TRUE(table[1].starts_with("Good;")) << table[1];
    EXPECT_TRUE(table[2].starts_with("Good;")) << table[2];
}

// The window shows each refusal in Arabic, quoting the cell as the English
// message does; the English message stays the command line's.
TEST_P(Refused, SaysItInArabicForTheWindow)
{
    const RefusalCase &c = GetParam();
    ScratchDir dir;
    Options options;
    options.input = dir.File("staff.csv");
    options.asTyped = c.asTyped;
    WriteFile(options.input, kHeader + kGood + c.row + "\n" + kGood);
    const Result result = Execute(options, {});
    ASSERT_EQ(result.refusals.size(), 1u);
    const Refusal &r = result.refusals[0];
    EXPECT_NE(r.message.find(c.message), std::string::npos) << r.message;
    EXPECT_TRUE(HasArabicLetters(r.arabic)) << r.arabic;
    EXPECT_NE(r.arabic.find(c.arabic), std::string::npos) << r.arabic;
    EXPECT_EQ(r.arabic.find(c.message), std::string::npos) << "English in " << r.arabic;
    const std::string quoted = "'" + r.text + "'";
    if (r.message.find(quoted) != std::string::npos) {
        EXPECT_NE(r.arabic.find(quoted), std::string::npos) << r.arabic;
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, Refused, ::testing::ValuesIn(Cases()),
                         [](const auto &param) { return std::string(param.param.name); });

// What the control-character rule keeps: a tab, the bidirectional controls
// of a name, a line break inside the quotes of a carried column. They are
// copied through as they are.
TEST(ControlCharacters, KeptWhereTheyAreText)
{
    const std::vector<std::string> names{
        "Ali\tBenali",
        "\u202B\u0639\u0644\u064A\u202C (\u202AAli\u202C)",
        "\u2066Ali\u2069 \u2067\u0639\u0644\u064A\u2069 \u2068x\u2069 \u202Dy\u202E",
        "Ali\nBenali",
        "Ali\r\nBenali",
    };
    for (const std::string &name : names) {
        ScratchDir dir;
        Options options;
        options.input = dir.File("staff.csv");
        options.json = true;
        WriteFile(options.input, kHeader + "\"" + name + "\"" + kGood.substr(4));
        const RunOutput run = RunBatch(options);
        EXPECT_EQ(run.code, kExitAllComputed) << run.err;
        const auto lines = JsonLines(run.out);
        ASSERT_EQ(lines.size(), 1u) << run.err;
        EXPECT_EQ(lines[0]["columns"]["name"], name);
    }
}

// A header naming a column with a control character is no header.
TEST(ControlCharacters, InTheHeaderStopTheRun)
{
    ScratchDir dir;
    Options options;
    options.input = dir.File("staff.csv");
    options.out = dir.File("slips.csv");
    WriteFile(options.input, "name;cat\x07"
                             "egory;echelon\nA;11;7\n");
    const Result result = Execute(options, {});
    EXPECT_EQ(result.exitCode, kExitFailed);
    EXPECT_EQ(result.error, options.input + ": line 1, the header: column 2 holds the control character U+0007");
    EXPECT_EQ(result.arabicError, options.input + ": السطر 1، سطر العنوان: في العمود 2 محرف التحكم U+0007");
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"staff.csv"});
}

// Each mistake of a row is named, not only the first.
TEST(Refused, EveryBadCellOfARowIsNamed)
{
    ScratchDir dir;
    Options options;
    options.input = dir.File("staff.csv");
    WriteFile(options.input, kHeader + "X;18;13;0;1;0;married;home;yes;1500,50;0;0;40\n");
    std::vector<Refusal> refused;
    Hooks hooks;
    hooks.refused = [&](const Refusal &r) { refused.push_back(r); };
    const Result result = Execute(options, hooks);
    EXPECT_EQ(result.exitCode, kExitSomeRefused);
    EXPECT_EQ(result.counts.refused, 1u);
    ASSERT_EQ(refused.size(), 3u);
    EXPECT_EQ(refused[0].column, "category");
    EXPECT_EQ(refused[1].column, "echelon");
    EXPECT_EQ(refused[2].column, "zone");
    for (const Refusal &r : refused) EXPECT_EQ(r.line, 2u);
}

// Read as the window reads typed text, a cell the strict reading refuses
// gives the slip of the text as typed.
TEST(AsTyped, ReadsTypedAmountsAsTheWindowDoes)
{
    for (const char *typed : {"12abc", "1.2.3", " 15 00 ", "1500,50", "."}) {
        ScratchDir dir;
        Options options;
        options.input = dir.File("staff.csv");
        options.json = true;
        options.asTyped = true;
        WriteFile(options.input, "category;echelon;zone;housing;absence;mark\n11;7;\"" + std::string(typed) + "\";" +
                                     typed + ";" + typed + ";" + typed + "\n");
        const RunOutput run = RunBatch(options);
        ASSERT_EQ(run.code, kExitAllComputed) << typed << ": " << run.err;
        paycalc::Situation s;
        s.zone = s.housing = s.absence = s.mark = typed;
        const paycalc::Slip slip = paycalc::ComputeSlip(s);
        const auto lines = JsonLines(run.out);
        ASSERT_EQ(lines.size(), 1u);
        for (paycalc::Field f : kTableLines)
            EXPECT_EQ(lines[0]["slip"][std::string(paycalc::FieldName(f))], slip.Text(f)) << typed;

        options.asTyped = false;
        EXPECT_EQ(RunBatch(options).code, kExitSomeRefused) << typed;
    }
}

// The example with mistakes shows every kind of message, and the clean one none.
TEST(Examples, CleanListComputesEveryRow)
{
    Options options;
    options.input = std::string(PAYSLIP_EXAMPLES) + "/staff.csv";
    const Result result = Execute(options, {});
    EXPECT_EQ(result.exitCode, kExitAllComputed) << result.error;
    EXPECT_GE(result.counts.computed, 25u);
    EXPECT_EQ(result.counts.refused, 0u);
}

TEST(Examples, ListWithMistakesShowsEveryKindOfMessage)
{
    Options options;
    options.input = std::string(PAYSLIP_EXAMPLES) + "/staff-with-mistakes.csv";
    std::string messages;
    Hooks hooks;
    hooks.refused = [&](const Refusal &r) { messages += r.message + "\n"; };
    const Result result = Execute(options, hooks);
    EXPECT_EQ(result.exitCode, kExitSomeRefused);
    EXPECT_GE(result.counts.computed, 1u);
    for (const char *kind :
         {"category", "echelon", "specific post", "family status", "spouse's occupation", "mutual insurance",
          "zone allowance", "housing allowance", "performance mark", "single employee", "cells where the header has",
          "not UTF-8", "badly quoted", "not closed", "cannot compute"})
        EXPECT_NE(messages.find(kind), std::string::npos) << kind << " missing from\n" << messages;
}

// Each kind of message of the example with mistakes, in the command line's
// English and the window's Arabic.
struct MessageKind {
    const char *english;
    const char *arabic;
};

class ExampleKinds : public ::testing::TestWithParam<MessageKind> {};

TEST_P(ExampleKinds, EveryRefusalOfTheKindIsWordedInArabic)
{
    const MessageKind &kind = GetParam();
    Options options;
    options.input = std::string(PAYSLIP_EXAMPLES) + "/staff-with-mistakes.csv";
    const Result result = Execute(options, {});
    ASSERT_EQ(result.exitCode, kExitSomeRefused);
    int found = 0;
    for (const Refusal &r : result.refusals) {
        if (r.message.find(kind.english) == std::string::npos) continue;
        ++found;
        EXPECT_TRUE(HasArabicLetters(r.arabic)) << r.line << ": " << r.arabic;
        EXPECT_NE(r.arabic.find(kind.arabic), std::string::npos) << r.line << ": " << r.arabic;
        const std::string quoted = "'" + r.text + "'";
        if (r.message.find(quoted) != std::string::npos) {
            EXPECT_NE(r.arabic.find(quoted), std::string::npos) << r.line << ": " << r.arabic;
        }
    }
    EXPECT_GE(found, 1) << kind.english;
}

INSTANTIATE_TEST_SUITE_P(
    StaffWithMistakes, ExampleKinds,
    ::testing::Values(MessageKind{"the category is", "الصنف عدد صحيح من 1 إلى 17، لا '18'"},
                      MessageKind{"the echelon is", "الدرجة عدد صحيح من 0 إلى 12، لا '13'"},
                      MessageKind{"the specific post is", "المنصب النوعي رقم سطر من 0 إلى 10"},
                      MessageKind{"the family status is", "الحالة العائلية عازب أو متزوج"},
                      MessageKind{"the spouse's occupation is", "مهنة الزوجة ماكثة أو عاملة"},
                      MessageKind{"the mutual insurance is", "التعاضدية نعم أو لا"},
                      MessageKind{"the zone allowance is", "منحة المنطقة عدد عشري بنقطة"},
                      MessageKind{"the housing allowance is", "منحة السكن عدد عشري بنقطة"},
                      MessageKind{"the performance mark is", "علامة المردودية (3 اشهر) عدد صحيح"},
                      MessageKind{"single employee", "الموظف الأعزب لا يحسب له أولاد"},
                      MessageKind{"13 cells where the header has 15", "عدد خلايا السطر 13 والعنوان فيه 15"},
                      MessageKind{"16 cells where the header has 15", "عدد خلايا السطر 16 والعنوان فيه 15"},
                      MessageKind{"not UTF-8", "ليس بترميز UTF-8"},
                      MessageKind{"badly quoted", "علامات الاقتباس في غير موضعها"},
                      MessageKind{"not closed", "لم تغلق"}, MessageKind{"cannot compute", "تعذر حساب الكشف"}),
    [](const auto &param) { return "kind" + std::to_string(param.index); });

// Every refusal of the example has its Arabic wording.
TEST(Examples, EveryRefusalHasAnArabicWording)
{
    Options options;
    options.input = std::string(PAYSLIP_EXAMPLES) + "/staff-with-mistakes.csv";
    const Result result = Execute(options, {});
    ASSERT_FALSE(result.refusals.empty());
    for (const Refusal &r : result.refusals) EXPECT_TRUE(HasArabicLetters(r.arabic)) << r.line << ": " << r.message;
}

} // namespace
} // namespace batch::testing
