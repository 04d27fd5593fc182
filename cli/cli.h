// The command-line slip: fills an in-memory form the way the window would,
// recalculates it and prints the slip as a table or as JSON.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "paycalc/fields.h"
#include "paycalc/memory_form.h"

namespace cli {

// The choices a user makes in the window, as list positions and typed texts.
struct SlipInputs {
    int category = 11;  // 1..17
    int echelon = 7;    // 0..12
    int post = 0;       // 0..10, 0 = no specific post
    int children = 1;   // 0..12
    int overTen = 0;    // 0..12
    bool married = true;
    bool spouseWorking = false;
    bool mutual = paycalc::kMutualTickedAtStartup;
    std::string zone = "0";
    std::string housing = "0";
    std::string absence = "0";
    std::string mark = "40";
};

struct Options {
    SlipInputs inputs;
    bool json = false;
    bool explain = false;
    std::string pdf; // write the slip as PDF to this file
    bool help = false;
};

struct UsageError {
    std::string message;
};

// Reads the options (args without the program name); throws UsageError.
Options ParseOptions(const std::vector<std::string>& args);

// Puts the inputs into the form's lists, check box and typed fields.
void FillForm(paycalc::MemoryForm& form, const SlipInputs& inputs);

// Runs the command line (args without the program name). Exit codes: 0 done,
// 1 the slip could not be computed, 2 a bad option or value.
int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

std::string Usage();

} // namespace cli
