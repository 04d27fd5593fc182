// Every kind of refused row, each named with its line, column and text; the
// good rows around it still computed; the exit status says some were refused.
#include <gtest/gtest.h>

#include "batch/tests/batch_test_util.h"
#include "paycalc/situation.h"

namespace batch::testing {
namespace {

const std::string kHeader = "name;category;echelon;post;children;over_ten;status;spouse;mutual;zone;housing;absence;mark\n";
const std::string kGood = "Good;11;7;0;1;0;married;home;yes;0;0;0;40\n";

struct RefusalCase {
    const char* name;
    std::string row;     // the data line between two good ones (line 3)
    const char* column;  // the column named, empty for the row as a whole
    const char* text;    // the cell's text as named
    const char* message; // a part of the message
    bool asTyped = false;
};

std::vector<RefusalCase> Cases()
{
    const std::string huge = "1" + std::string(400, '0');
    return {
        {"category_out_of_range", "X;18;7;0;1;0;married;home;yes;0;0;0;40", "category", "18", "from 1 to 17"},
        {"category_not_a_number", "X;eleven;7;0;1;0;married;home;yes;0;0;0;40", "category", "eleven", "whole number"},
        {"echelon_out_of_range", "X;11;13;0;1;0;married;home;yes;0;0;0;40", "echelon", "13", "from 0 to 12"},
        {"echelon_negative", "X;11;-1;0;1;0;married;home;yes;0;0;0;40", "echelon", "-1", "from 0 to 12"},
        {"post_out_of_range", "X;11;7;11;1;0;married;home;yes;0;0;0;40", "post", "11", "post's title"},
        {"post_unknown_title", "X;11;7;مدير;1;0;married;home;yes;0;0;0;40", "post", "مدير", "post's title"},
        {"children_out_of_range", "X;11;7;0;13;0;married;home;yes;0;0;0;40", "children", "13", "from 0 to 12"},
        {"over_ten_not_whole", "X;11;7;0;1;1.5;married;home;yes;0;0;0;40", "over_ten", "1.5", "from 0 to 12"},
        {"status_unknown", "X;11;7;0;0;0;widowed;home;yes;0;0;0;40", "status", "widowed", "single or married"},
        {"spouse_unknown", "X;11;7;0;1;0;married;retired;yes;0;0;0;40", "spouse", "retired", "home or working"},
        {"mutual_unknown", "X;11;7;0;1;0;married;home;maybe;0;0;0;40", "mutual", "maybe", "yes or no"},
        {"list_cell_empty", "X;;7;0;1;0;married;home;yes;0;0;0;40", "category", "", "not ''"},
        {"decimal_comma", "X;11;7;0;1;0;married;home;yes;1500,50;0;0;40", "zone", "1500,50", "decimal number"},
        {"letters_after_digits", "X;11;7;0;1;0;married;home;yes;0;12abc;0;40", "housing", "12abc", "decimal number"},
        {"two_points", "X;11;7;0;1;0;married;home;yes;0;0;1.2.3;40", "absence", "1.2.3", "decimal number"},
        {"exponent", "X;11;7;0;1;0;married;home;yes;1E400;0;0;40", "zone", "1E400", "decimal number"},
        {"amount_empty", "X;11;7;0;1;0;married;home;yes; ;0;0;40", "zone", " ", "decimal number"},
        {"mark_with_point", "X;11;7;0;1;0;married;home;yes;0;0;0;12.5", "mark", "12.5", "whole number"},
        {"single_with_children", "X;11;7;0;2;0;single;home;yes;0;0;0;40", "children", "2", "single employee"},
        {"single_with_over_ten", "X;11;7;0;0;1;عازب;home;yes;0;0;0;40", "over_ten", "1", "single employee"},
        {"too_few_cells", "X;11;7;0;1;0;married;home;yes;0;0;0", "", "", "12 cells where the header has 13"},
        {"too_many_cells", "X;11;7;0;1;0;married;home;yes;0;0;0;40;extra", "", "", "14 cells where the header has 13"},
        {"not_utf8", "Ren\xe9;11;7;0;1;0;married;home;yes;0;0;0;40", "name", "", "not UTF-8"},
        {"badly_quoted", "Ali \"Jr\";11;7;0;1;0;married;home;yes;0;0;0;40", "", "", "badly quoted"},
        {"text_after_closing_quote", "\"Ali\"x;11;7;0;1;0;married;home;yes;0;0;0;40", "", "", "badly quoted"},
        {"overflow_while_computing", "X;11;7;0;1;0;married;home;yes;" + huge + ";0;0;40", "zone", "", "cannot compute"},
        {"overflow_as_typed", "X;11;7;0;1;0;married;home;yes;1E400;0;0;40", "zone", "1E400", "overflow reading Text10",
         true},
    };
}

class Refused : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(Refused, NamesLineColumnAndTextAndKeepsTheOthers)
{
    const RefusalCase& c = GetParam();
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

INSTANTIATE_TEST_SUITE_P(Rows, Refused, ::testing::ValuesIn(Cases()),
                         [](const auto& param) { return std::string(param.param.name); });

// Each mistake of a row is named, not only the first.
TEST(Refused, EveryBadCellOfARowIsNamed)
{
    ScratchDir dir;
    Options options;
    options.input = dir.File("staff.csv");
    WriteFile(options.input, kHeader + "X;18;13;0;1;0;married;home;yes;1500,50;0;0;40\n");
    std::vector<Refusal> refused;
    Hooks hooks;
    hooks.refused = [&](const Refusal& r) { refused.push_back(r); };
    const Result result = Execute(options, hooks);
    EXPECT_EQ(result.exitCode, kExitSomeRefused);
    EXPECT_EQ(result.counts.refused, 1u);
    ASSERT_EQ(refused.size(), 3u);
    EXPECT_EQ(refused[0].column, "category");
    EXPECT_EQ(refused[1].column, "echelon");
    EXPECT_EQ(refused[2].column, "zone");
    for (const Refusal& r : refused) EXPECT_EQ(r.line, 2u);
}

// Read as the window reads typed text, a cell the strict reading refuses
// gives the slip of the text as typed.
TEST(AsTyped, ReadsTypedAmountsAsTheWindowDoes)
{
    for (const char* typed : {"12abc", "1.2.3", " 15 00 ", "1500,50", "."}) {
        ScratchDir dir;
        Options options;
        options.input = dir.File("staff.csv");
        options.json = true;
        options.asTyped = true;
        WriteFile(options.input, "zone;housing;absence;mark\n\"" + std::string(typed) + "\";" + typed + ";" + typed + ";" + typed + "\n");
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
    hooks.refused = [&](const Refusal& r) { messages += r.message + "\n"; };
    const Result result = Execute(options, hooks);
    EXPECT_EQ(result.exitCode, kExitSomeRefused);
    EXPECT_GE(result.counts.computed, 1u);
    for (const char* kind : {"category", "echelon", "specific post", "family status", "spouse's occupation",
                             "mutual insurance", "zone allowance", "housing allowance", "performance mark",
                             "single employee", "cells where the header has", "not UTF-8", "badly quoted",
                             "not closed", "cannot compute"})
        EXPECT_NE(messages.find(kind), std::string::npos) << kind << " missing from\n" << messages;
}

} // namespace
} // namespace batch::testing
