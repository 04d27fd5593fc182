// Slips for a whole pay office: a staff list in, every slip out.
//
// Each data row of a CSV staff list is a situation (the columns named as on
// the command line or as the window's labels; the others are carried through
// unchanged). Every row is computed by one RecalculateAll (ComputeSlip) on
// its own worker, in parallel, and written in input order: a table (CSV or a
// spreadsheet), JSON Lines, a PDF with a page per employee, the office's
// totals. A row that cannot be read or computed is refused with its line
// number, column and message; no row is lost. Every file is written
// atomically. Plain C++: only the PDF goes through the report library (Qt).
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "batch/columns.h"
#include "batch/csv_reader.h"
#include "paycalc/fields.h"

namespace batch {

struct Options {
    std::string input;     // the staff list (CSV)
    std::string out;       // the table: CSV, or a spreadsheet when the name ends in .xlsx; empty for none
    bool json = false;     // JSON Lines on the output stream, one object per computed row
    std::string pdf;       // one page per computed row; empty for none
    bool summary = false;  // the office's totals and the counts of rows
    std::string errors;    // the refused rows as CSV; empty for none (they always go to the error stream)
    bool asTyped = false;  // read the typed amounts exactly as the window reads typed text
    bool progress = false; // progress on the error stream (the command line sets it for a terminal)
    unsigned threads = 0;  // computing threads; 0 for one per core
};

// Exit status of Run. A staff list without a required column (category,
// echelon) fails (1) before anything is written; one without another
// situation column runs with that column's default, and says so first. A usage error (2) is the command line's business.
inline constexpr int kExitAllComputed = 0;
inline constexpr int kExitFailed = 1; // the input cannot be read, or an output cannot be written
inline constexpr int kExitSomeRefused = 4;

// Runs the batch as the command line does: JSON and the totals on `out`,
// refused rows, progress and failures on `err`. Returns the exit status.
// Run and PrintSummary are the command line's report of a run, defined in
// cli/batch_command.cpp (payslip_cli_lib); the rest is this library's.
int Run(const Options &options, std::ostream &out, std::ostream &err);

// ---- The parts, for the window's dialog and the tests ----

// The slip lines the table writes, in slip order, under paycalc::LineName.
inline constexpr const std::array<paycalc::Field, 21> &kTableLines = paycalc::kComputedFields;

// The columns of a staff list and its first rows, as read.
struct Preview {
    bool ok = false;
    std::string error;       // why the file cannot be used, naming it
    std::string arabicError; // the same in the window's Arabic words
    std::vector<std::string> header;
    std::vector<std::uint64_t> lines;           // the line number of each row shown
    std::vector<std::vector<std::string>> rows; // the first rows' cells
    // What each column is, in the window's Arabic words (ArabicRole): "الصنف", "ينقل كما هو", "يعاد حسابه".
    std::vector<std::string> arabicRoles;
    // The situation columns left out and the default each row takes instead (DefaultedColumns).
    std::vector<Message> defaulted;
};
Preview ReadPreview(const std::string &path, std::size_t rowCount = 10);

struct Counts {
    std::uint64_t read = 0; // data lines read after the header, empty ones included
    std::uint64_t computed = 0;
    std::uint64_t refused = 0;
    std::uint64_t empty = 0; // lines with nothing on them, or only separators and blanks
};

struct Progress {
    std::uint64_t done = 0;  // rows written
    std::uint64_t total = 0; // lines after the header, counted before the run
    double seconds = 0;      // since the start
};

struct Result {
    int exitCode = kExitAllComputed;
    bool cancelled = false;
    std::string error;       // why the run failed (exit 1), naming the file
    std::string arabicError; // the same in the window's Arabic words
    Counts counts;
    std::vector<Refusal> refusals;       // the first kKeptRefusals problems, in input order
    std::uint64_t refusalCount = 0;      // every problem found (a row may have several)
    std::array<std::string, 21> totals;  // per kTableLines, shown as amounts (with options.summary, a
                                         // spreadsheet, or no other output)
    std::vector<std::string> written;    // the files put in place
    std::vector<std::string> recomputed; // header names of earlier slip lines, computed afresh
    std::vector<Message> defaulted;      // the situation columns left out, with the default taken
};
inline constexpr std::size_t kKeptRefusals = 10000;
// A total in Result::totals whose sum goes beyond the range of the amounts.
inline constexpr std::string_view kOverflowTotal = "overflow";

struct Hooks {
    std::ostream *json = nullptr; // where --json writes (required when options.json)
    // The situation columns left out and their defaults, once, before any row.
    std::function<void(const std::vector<Message> &)> defaulted;
    std::function<void(const Refusal &)> refused;   // each problem, in input order, as found
    std::function<void(const Progress &)> progress; // a few times a second, from the calling thread
    const std::atomic<bool> *cancel = nullptr;      // set to stop: nothing is written, no file left
};

// Runs the batch; the calling thread writes the outputs, the computing
// threads work beside it.
Result Execute(const Options &options, const Hooks &hooks);

// The counts and totals as the command line prints them.
void PrintSummary(const Result &result, std::ostream &out);

// A refused row as one line of the error stream: "FILE:LINE: COLUMN: message".
std::string Describe(const std::string &input, const Refusal &refusal);

} // namespace batch
