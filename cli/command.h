// How payslip-cli's commands are put together. Each command is one function
// that registers its own options on its CLI11 subcommand and returns what
// runs it once the command line has been read; the situation options are
// registered for it when it takes them. A new command is one more such
// function and one more line in Commands() (commands.cpp).
#pragma once

#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include "cli/cli.h"
#include "paycalc/compare.h"
#include "paycalc/situation.h"

namespace cli {

// The lines of a command's usage, as its options are registered.
struct Help {
    std::vector<std::pair<std::string, std::string>> lines; // "--months N", "months of back pay ..."
    void Add(std::string left, std::string right) { lines.emplace_back(std::move(left), std::move(right)); }
};

// Runs a command once its options are read. Throws UsageError for a value
// that its option does not take.
using Runner = std::function<int(const paycalc::Situation &situation, std::ostream &out, std::ostream &err)>;

struct Command {
    std::string name;     // "compare"
    std::string synopsis; // "compare [options] --to OPTION=VALUE [--to ...] [--months N] [--json]"
    std::string summary;  // one line for the overall usage
    bool takesSituation = true;
    // Registers the command's own options on `app`, their help into `help`.
    std::function<Runner(CLI::App &app, Help &help)> add;
};

// Every command, in the order of the usage. The first is the one run when
// the command line starts with an option.
const std::vector<Command> &Commands();

Command SlipCommand(std::shared_ptr<Options> options = nullptr); // options: where ParseOptions reads them
Command CompareCommand();
Command LadderCommand();
Command CheckCommand();
Command BatchCommand();

// --- Helpers shared by the commands ---

// A flag: registered on `app`, with its help line. CLI11 would take
// "--json=true"; Run refuses a value given to any flag.
CLI::Option *AddFlag(CLI::App &app, Help &help, const std::string &name, bool &value, const std::string &text);
// An option taking one value (the last one given counts).
CLI::Option *AddOption(CLI::App &app, Help &help, const std::string &name, const std::string &valueName,
                       std::string &value, const std::string &text);
// An option that may be given again and again, each value kept in order.
CLI::Option *AddRepeated(CLI::App &app, Help &help, const std::string &name, const std::string &valueName,
                         std::vector<std::string> &values, const std::string &text);

// A whole number from low to high, or a UsageError naming `option`.
int ParseCount(std::string_view option, std::string_view text, int low, int high);

// Splits "NAME=VALUE" given to `option`; a UsageError without '='.
std::pair<std::string, std::string> SplitAssignment(std::string_view option, const std::string &text);

// Changes the situation as `--to NAME=VALUE` asks: NAME is a situation
// option's name without the dashes (over_ten also for over-ten; mutual takes
// yes or no). The changes are applied in order, then the family-status rule:
// single with no count given means no children; single with a count above 0
// is a UsageError. `context` starts each message ("--to").
paycalc::Situation ApplyChanges(const paycalc::Situation &base,
                                const std::vector<std::pair<std::string, std::string>> &changes,
                                std::string_view context);

// The computed fields of a slip by field name, in the order of the slip
// (the keys of `payslip-cli --json`).
nlohmann::ordered_json SlipJson(const paycalc::Slip &slip);

// "net_pay (Text21)".
std::string NamedLine(paycalc::Field f);

// Pads text with spaces on the left to `width` characters (UTF-8 aware).
std::string PadLeft(const std::string &text, std::size_t width);
std::string PadRight(const std::string &text, std::size_t width);
std::size_t DisplayWidth(std::string_view text);

} // namespace cli
