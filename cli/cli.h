// payslip-cli: the slip of a situation, and the questions asked of several
// slips (a comparison with back pay, the career ladder, checking an official
// slip), as tables for people or JSON for scripts.
//
//   payslip-cli [slip] [options]          the slip (the first word may be left out)
//   payslip-cli compare [options] --to OPTION=VALUE ... [--months N]
//   payslip-cli ladder [options]
//   payslip-cli check [options] --official LINE=AMOUNT ...
#pragma once

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "cli/pdf_output.h"
#include "paycalc/situation.h"

namespace cli {

// The options of the slip command.
struct Options {
    paycalc::Situation situation;
    bool json = false;
    bool explain = false;
    std::string pdf;            // write the slip as PDF to this file
    paycalc::Identity identity; // who the printed slip is for
    bool bilingual = false;     // French labels beside the Arabic ones on the PDF
};

struct UsageError {
    std::string message;
};

// Reads the options of the slip command (args without the program name and
// without the word "slip"); throws UsageError.
Options ParseOptions(const std::vector<std::string> &args);

// Runs the command line (args without the program name). Exit codes: 0 done
// (and, for check, every line agrees), 1 a slip could not be computed or a
// file not written, 2 a bad option or value, 3 check found a line that differs.
int Run(const std::vector<std::string> &args, std::ostream &out, std::ostream &err);

// The usage of every command; Usage("compare") that of one.
std::string Usage();
std::string Usage(std::string_view command);

} // namespace cli
