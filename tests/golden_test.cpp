// Whole outputs of payslip-cli, kept in tests/data/*.golden. Each case is a
// line "$ payslip-cli ARGS" (ending "  # exit N" when the exit status is not
// 0), then the expected standard output, up to the next case.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "cli/cli.h"
#include "worked_examples.h"

namespace {

struct GoldenCase {
    std::string where;
    std::vector<std::string> args;
    int code = 0;
    std::string out;
};

std::vector<GoldenCase> ReadGolden(const std::string &name)
{
    const std::string path = testdata::DataPath(name);
    std::ifstream in(path);
    if (!in) throw std::runtime_error("cannot open " + path);
    const std::string prompt = "$ payslip-cli";
    std::vector<GoldenCase> cases;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (line.rfind(prompt, 0) == 0) {
            GoldenCase c;
            c.where = name + ":" + std::to_string(number);
            std::string command = line.substr(prompt.size());
            if (auto exit = command.find("  # exit "); exit != std::string::npos) {
                c.code = std::stoi(command.substr(exit + 9));
                command.resize(exit);
            }
            c.args = testdata::SplitWords(command);
            cases.push_back(std::move(c));
        } else if (!cases.empty()) {
            cases.back().out += line + '\n';
        } else if (!line.empty() && line[0] != '#') {
            throw std::runtime_error(path + ":" + std::to_string(number) + ": text before the first case");
        }
    }
    return cases;
}

class Golden : public testing::TestWithParam<std::string> {};

TEST_P(Golden, EveryCasePrintsExactlyItsExpectedOutput)
{
    const std::vector<GoldenCase> cases = ReadGolden(GetParam());
    ASSERT_GE(cases.size(), 3u);
    for (const GoldenCase &c : cases) {
        SCOPED_TRACE(c.where);
        std::ostringstream out, err;
        EXPECT_EQ(cli::Run(c.args, out, err), c.code) << err.str();
        EXPECT_EQ(out.str(), c.out);
        if (c.code == 0) {
            EXPECT_EQ(err.str(), "");
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Commands, Golden,
                         testing::Values("slip.golden", "compare.golden", "ladder.golden", "check.golden"),
                         [](const testing::TestParamInfo<std::string> &file) {
                             return file.param.substr(0, file.param.find('.'));
                         });

} // namespace
