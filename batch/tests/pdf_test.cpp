// The printed slips: a page per computed row, in input order, with the
// employee's name, number and workplace; nothing written when it fails.
#include <gtest/gtest.h>

#include "batch/tests/batch_test_util.h"

namespace batch::testing {
namespace {

TEST(Pdf, APagePerComputedRowWithItsIdentity)
{
    ScratchDir dir;
    Options options;
    options.input = dir.File("staff.csv");
    options.pdf = dir.File("slips.pdf");
    WriteFile(options.input, "name;number;school;category;echelon\n"
                             "Karim Haddad;2016017;Lycee Ibn Khaldoun;11;3\n"
                             "Refused Row;1;x;11;13\n"
                             "Lina Mansouri;2016018;Ecole El Amal;11;9\n");
    const RunOutput run = RunBatch(options);
    ASSERT_EQ(run.code, kExitSomeRefused) << run.err;
    const std::string bytes = ReadFile(options.pdf);
    ASSERT_TRUE(bytes.starts_with("%PDF-"));
    if (std::system("pdftotext -v > /dev/null 2>&1") != 0) GTEST_SKIP() << "poppler-utils are not installed";
    EXPECT_NE(CommandOutput("pdfinfo '" + options.pdf + "'").find("Pages:           2"), std::string::npos);
    const std::string first = CommandOutput("pdftotext -f 1 -l 1 '" + options.pdf + "' -");
    const std::string second = CommandOutput("pdftotext -f 2 -l 2 '" + options.pdf + "' -");
    for (const char *text : {"Karim Haddad", "2016017", "Lycee Ibn Khaldoun"})
        EXPECT_NE(first.find(text), std::string::npos) << text;
    for (const char *text : {"Lina Mansouri", "2016018", "Ecole El Amal"})
        EXPECT_NE(second.find(text), std::string::npos) << text;
    EXPECT_EQ(first.find("Refused Row"), std::string::npos);
    EXPECT_EQ(second.find("Refused Row"), std::string::npos);
}

TEST(Pdf, AFailedPdfWritesNoOtherOutput)
{
    ScratchDir dir;
    Options options;
    options.input = dir.File("staff.csv");
    options.out = dir.File("slips.csv");
    options.pdf = dir.File("no-such-folder/slips.pdf");
    WriteFile(options.input, "category;echelon\n11;3\n");
    const RunOutput run = RunBatch(options);
    EXPECT_EQ(run.code, kExitFailed);
    EXPECT_NE(run.err.find("cannot write"), std::string::npos) << run.err;
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"staff.csv"});
}

} // namespace
} // namespace batch::testing
