// Whatever is typed into the four typed fields, the command line prints the
// slip of the number the text holds, or fails cleanly naming the line.
#include <gtest/gtest.h>

#include <sstream>

#include "cli/cli.h"
#include "paycalc/fields.h"

namespace {

struct Typed {
    std::string option;
    paycalc::Field field;
};

const Typed kTypedFields[] = {
    {"--zone", paycalc::Field::Text10},
    {"--housing", paycalc::Field::Text11},
    {"--absence", paycalc::Field::Text20},
    {"--mark", paycalc::Field::Text23},
};

struct BadText {
    std::string title;
    std::string text;
    std::string readsAs; // the plain number the slip must equal; empty when the slip must fail
};

const std::vector<BadText> &BadTexts()
{
    static const std::vector<BadText> texts{
        {"empty", "", "0"},
        {"letters only", "abc", "0"},
        {"two points", "1.2.3", "1.2"},
        {"leading and trailing blanks", "  12  ", "12"},
        {"blanks and tabs inside", "\t1 2\t5", "125"},
        {"10,000 letters", std::string(10000, 'x'), "0"},
        {"10,000 characters of a small number", std::string(9998, '0') + "15", "15"},
        {"Arabic-Indic digits", "٣٤٥", "0"},
        {"a number, then Arabic-Indic digits", "5٣", "5"},
        {"full-width digits", "１２", "0"},
        {"a comma as decimal separator", "7,5", "7"},
        {"a digit string of 10,000 characters", "1" + std::string(9999, '0'), ""},
        {"1E400 pasted", "1E400", ""},
        {"an amount that overflows a line", "1E307", ""},
    };
    return texts;
}

struct Result {
    int code;
    std::string out, err;
};

Result RunCli(const std::vector<std::string> &args)
{
    std::ostringstream out, err;
    int code = cli::Run(args, out, err);
    return {code, out.str(), err.str()};
}

TEST(BadInput, EachTypedFieldReadsTheNumberItsTextHolds)
{
    for (const Typed &typed : kTypedFields) {
        for (const BadText &bad : BadTexts()) {
            SCOPED_TRACE(typed.option + ": " + bad.title);
            Result r = RunCli({"--json", typed.option, bad.text});
            if (bad.readsAs.empty()) {
                EXPECT_EQ(r.code, 1);
                EXPECT_TRUE(r.out.empty());
                EXPECT_EQ(r.err.rfind("payslip-cli: cannot compute the ", 0), 0u) << r.err;
                EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
            } else {
                Result plain = RunCli({"--json", typed.option, bad.readsAs});
                ASSERT_EQ(plain.code, 0);
                EXPECT_EQ(r.code, 0) << r.err;
                EXPECT_EQ(r.out, plain.out);
            }
        }
    }
}

TEST(BadInput, AnUnreadableTextIsNamedInTheMessage)
{
    for (const Typed &typed : kTypedFields) {
        Result r = RunCli({typed.option, "1E400"});
        EXPECT_EQ(r.code, 1);
        std::string name = " reading " + std::string(paycalc::FieldName(typed.field)) + " (" +
                           std::string(paycalc::FieldTerm(typed.field)) + ")";
        EXPECT_NE(r.err.find(name), std::string::npos) << r.err;
    }
}

// A typed text holding a control character is refused before anything is
// computed, naming the option, the character's code and where it is.
struct ControlText {
    const char *title;
    std::vector<std::string> args;
    const char *message; // empty when the text must pass the rule
};

std::vector<ControlText> ControlTexts()
{
    using std::string_literals::operator""s;
    return {
        {"name_nul_at_start",
         {"--name", "\0Ali"s, "--pdf", "x.pdf"},
         "--name holds the control character U+0000 at character 1"},
        {"name_bell_in_middle",
         {"--name", "Al\ai", "--pdf", "x.pdf"},
         "--name holds the control character U+0007 at character 3"},
        {"name_escape_at_end_with_equals",
         {"--name=Ali\x1b", "--pdf", "x.pdf"},
         "--name holds the control character U+001B at character 4"},
        {"workplace_line_feed",
         {"--workplace", "a\nb", "--pdf", "x.pdf"},
         "--workplace holds the control character U+000A at character 2"},
        {"zone_delete", {"--zone", "12\x7f"}, "--zone holds the control character U+007F at character 3"},
        {"official_value",
         {"check", "--official", "net_pay=43432.12\x01"},
         "--official holds the control character U+0001 at character 17"},
        {"official_value_with_equals",
         {"check", "--official=\x02net_pay=1"},
         "--official holds the control character U+0002 at character 1"},
        {"compare_change", {"compare", "--to", "category=12\r"}, "--to holds the control character U+000D at character 12"},
        {"staff_list_path", {"batch", "staff\x03.csv"}, "argument 1 holds the control character U+0003 at character 6"},
        // A bidirectional control in a name is formatting, not control: the
        // line goes on to its next rule (a name goes with --pdf).
        {"name_bidi_kept", {"--name", "\u202B\u0639\u0644\u064A\u202C"}, ""},
        {"name_isolate_kept", {"--name", "\u2067Ali\u2069"}, ""},
    };
}

class ControlInText : public ::testing::TestWithParam<ControlText> {};

TEST_P(ControlInText, IsRefusedNamingOptionAndCode)
{
    const ControlText &c = GetParam();
    Result r = RunCli(c.args);
    if (!*c.message) {
        EXPECT_EQ(r.err.find("control character"), std::string::npos) << r.err;
        EXPECT_NE(r.err.find("go with --pdf"), std::string::npos) << r.err;
        return;
    }
    EXPECT_EQ(r.code, 2) << r.err;
    EXPECT_TRUE(r.out.empty());
    EXPECT_EQ(r.err.rfind("payslip-cli: " + std::string(c.message) + "\n", 0), 0u) << r.err;
}

INSTANTIATE_TEST_SUITE_P(Options, ControlInText, ::testing::ValuesIn(ControlTexts()),
                         [](const auto &p) { return std::string(p.param.title); });

} // namespace
