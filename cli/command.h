// How payslip-cli's commands are put together. Each command is one function
// that registers its own options on its CLI11 subcommand and returns what
// runs it once the command line has been read; the situation options are
// registered for it when it takes them. A new command is one more such
// function and one more line in Commands() (cli.cpp).
//
// The words are checked and rewritten before CLI11 2.1 reads them, where it
// reads them otherwise: "--zone=" is an empty zone (CLI11 would take the next
// word), "--json=true" is refused (CLI11 would read --json), and an option
// left without its value or a control character is said in our own words.
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

// Runs a command once its options are read. Throws UsageError for a value
// that its option does not take.
using Runner = std::function<int(const paycalc::Situation &situation, std::ostream &out, std::ostream &err)>;

struct Command {
    std::string name; // "compare"
    // "compare [options] --to OPTION=VALUE [--to ...] [--months N] [--json]"
    std::string synopsis;
    std::string summary; // one line for the overall usage
    bool takesSituation = true;
    // Registers the command's own options on `app`, each with its help text
    // (the usage lists them from CLI11, in order, with their type names).
    std::function<Runner(CLI::App &app)> add;
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

// An option that may be given again and again, each value kept in order.
CLI::Option *AddRepeated(CLI::App &app, const std::string &name, const std::string &valueName,
                         std::vector<std::string> &values, const std::string &text);

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

// JSON as the command line writes it: one line, ", " between members and
// ": " after each key, as the program's first JSON output did, so that
// scripts reading it see the same bytes.
std::string JsonText(const nlohmann::ordered_json &value);

// False, after saying why on `err` ("payslip-cli: " and `context` first),
// when the slip could not be computed.
bool Computed(const paycalc::Slip &slip, std::ostream &err, const std::string &context = {});

// "net_pay (Text21)".
std::string NamedLine(paycalc::Field f);

// Pads text with spaces on the left to `width` characters (UTF-8 aware).
std::string PadLeft(const std::string &text, std::size_t width);
std::string PadRight(const std::string &text, std::size_t width);
std::size_t DisplayWidth(std::string_view text);
// The display width of each column of a table (rows of cells): its widest cell.
std::vector<std::size_t> ColumnWidths(const std::vector<std::vector<std::string>> &rows);

} // namespace cli
