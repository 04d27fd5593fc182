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

const std::vector<BadText>& BadTexts()
{
    static const std::vector<BadText> texts{
        {"empty", "", "0"},
        {"letters only", "abc", "0"},
        {"two points", "1.2.3", "1.2"},
        {"leading and trailing blanks", "  12  ", "12"},
        {"blanks, tabs and line feeds inside", "\t1 2\n5", "125"},
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

Result RunCli(const std::vector<std::string>& args)
{
    std::ostringstream out, err;
    int code = cli::Run(args, out, err);
    return {code, out.str(), err.str()};
}

TEST(BadInput, EachTypedFieldReadsTheNumberItsTextHolds)
{
    for (const Typed& typed : kTypedFields) {
        for (const BadText& bad : BadTexts()) {
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
    for (const Typed& typed : kTypedFields) {
        Result r = RunCli({typed.option, "1E400"});
        EXPECT_EQ(r.code, 1);
        std::string name = " reading " + std::string(paycalc::FieldName(typed.field)) + " (" +
                           std::string(paycalc::FieldTerm(typed.field)) + ")";
        EXPECT_NE(r.err.find(name), std::string::npos) << r.err;
    }
}

} // namespace
