// Worked examples kept as data: tests/data/*.slips. Each case names its
// inputs as command-line options, may preset field texts (to start from given
// amounts part-way through the slip), names the groups of steps to run and
// lists the expected text of fields afterwards.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "paycalc/fields.h"

namespace testdata {

struct SlipCase {
    std::string title;
    std::string file;
    int line = 0;
    std::vector<std::string> args;                              // payslip-cli options
    std::vector<std::pair<paycalc::Field, std::string>> preset; // field texts set before the run
    std::vector<std::string> groups; // base-pay, allowances, social-security, net-pay; empty = all
    std::vector<std::pair<paycalc::Field, std::string>> expect;
};

// Reads every case of one file; throws std::runtime_error on a malformed line.
std::vector<SlipCase> ReadSlipCases(const std::string &path);

// Splits a line at blanks; double quotes group words and "" is an empty word.
std::vector<std::string> SplitWords(const std::string &line);

std::string DataPath(const std::string &name);

} // namespace testdata
