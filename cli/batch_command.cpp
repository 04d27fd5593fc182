// payslip-cli batch: the slips of a whole staff list, read from a CSV file,
// and the report the command prints of a run: the refused rows and the
// progress on standard error, the counts and the office's totals.
#include <algorithm>
#include <iomanip>
#include <memory>
#include <nlohmann/json.hpp>
#include <ostream>
#include <sstream>

#include <unistd.h>

#include "batch/batch.h"
#include "cli/command.h"
#include "paycalc/fields.h"
#include "paycalc/situation.h"

// The command line's side of the batch library: batch::Run and
// batch::PrintSummary are declared with it in batch/batch.h.
namespace batch {

void PrintSummary(const Result &result, std::ostream &out)
{
    const Counts &c = result.counts;
    out << "rows read     " << c.read << '\n'
        << "computed      " << c.computed << '\n'
        << "refused       " << c.refused << '\n'
        << "empty         " << c.empty << '\n';
    std::size_t width = 0;
    for (const std::string &t : result.totals) width = std::max(width, t.size());
    if (!result.defaulted.empty()) {
        out << "defaults:\n";
        for (const Message &note : result.defaulted) out << "  " << note.english << '\n';
    }
    out << "totals over the computed rows:\n";
    for (std::size_t k = 0; k < kTableLines.size(); ++k) {
        out << std::setw(static_cast<int>(width)) << result.totals[k] << "  " << std::left << std::setw(24)
            << paycalc::LineName(kTableLines[k]) << std::right;
        const std::string title = paycalc::FieldTitle(kTableLines[k]);
        if (!title.empty()) out << "  " << title;
        out << '\n';
    }
}

namespace {

nlohmann::ordered_json SummaryJson(const Result &result)
{
    const Counts &c = result.counts;
    nlohmann::ordered_json summary;
    summary["counts"] = {{"read", c.read}, {"computed", c.computed}, {"refused", c.refused}, {"empty", c.empty}};
    for (const Message &note : result.defaulted) summary["defaults"].push_back(note.english);
    for (std::size_t k = 0; k < kTableLines.size(); ++k)
        summary["totals"][std::string(paycalc::FieldName(kTableLines[k]))] = result.totals[k];
    return {{"summary", std::move(summary)}};
}

std::string Duration(double seconds)
{
    const auto s = static_cast<long long>(seconds + 0.5);
    if (s < 60) return std::to_string(s) + " s";
    return std::to_string(s / 60) + " min " + std::to_string(s % 60) + " s";
}

} // namespace

int Run(const Options &options, std::ostream &out, std::ostream &err)
{
    Hooks hooks;
    if (options.json) hooks.json = &out;
    const std::string name = "payslip-cli batch: ";
    bool progressShown = false;
    hooks.defaulted = [&](const std::vector<Message> &notes) {
        for (const Message &note : notes) err << name << note.english << '\n';
    };
    hooks.refused = [&](const Refusal &r) {
        if (progressShown) {
            err << "\r\033[K";
            progressShown = false;
        }
        err << Describe(options.input, r) << '\n';
    };
    if (options.progress) {
        hooks.progress = [&](const Progress &p) {
            std::ostringstream line;
            line << "\r\033[K" << p.done << " of " << p.total << " rows";
            if (p.seconds > 0 && p.done > 0) {
                const double rate = static_cast<double>(p.done) / p.seconds;
                line << ", " << static_cast<long long>(rate) << " rows/s";
                if (p.total > p.done) line << ", " << Duration(static_cast<double>(p.total - p.done) / rate) << " left";
            }
            err << line.str() << std::flush;
            progressShown = true;
        };
    }
    const Result result = Execute(options, hooks);
    if (progressShown) err << "\r\033[K" << std::flush;
    if (!result.recomputed.empty()) {
        err << name << "columns";
        for (const std::string &c : result.recomputed) err << " '" << c << "'";
        err << " are slip lines of an earlier run: computed afresh\n";
    }
    if (result.exitCode == kExitFailed) {
        err << name << (result.cancelled ? std::string("cancelled") : result.error) << '\n';
        return kExitFailed;
    }
    const bool nothingElse = options.out.empty() && !options.json && options.pdf.empty();
    if (options.summary || nothingElse) {
        if (options.json) out << SummaryJson(result).dump() << '\n';
        else PrintSummary(result, out);
    }
    if (result.counts.refused)
        err << name << result.counts.refused << " of " << result.counts.read - result.counts.empty << " rows refused, "
            << result.counts.computed << " computed\n";
    out.flush();
    if (!out) {
        err << name << "cannot write the output\n";
        return kExitFailed;
    }
    return result.exitCode;
}

} // namespace batch

namespace cli {

Command BatchCommand()
{
    Command c;
    c.name = "batch";
    c.synopsis = "batch STAFF.csv [--out SLIPS.csv|SLIPS.xlsx] [--json] [--pdf SLIPS.pdf] [--summary] "
                 "[--errors REFUSED.csv] [--as-typed]";
    c.summary = "every slip of a staff list (exit 4 when rows were refused)";
    c.takesSituation = false;
    c.add = [](CLI::App &app) -> Runner {
        auto options = std::make_shared<batch::Options>();
        app.add_option("STAFF.csv", options->input,
                       "the staff list: a header line naming the columns (category and echelon are required; another "
                       "situation column left out takes its default, said on standard error), then one employee a line");
        app.add_option("--out", options->out,
                       "one row per computed employee: CSV, or a spreadsheet when FILE ends in .xlsx")
            ->type_name("FILE");
        app.add_flag("--json", options->json, "one JSON object per computed employee on standard output");
        app.add_option("--pdf", options->pdf, "the printed slips, a page per computed employee")->type_name("FILE");
        app.add_flag("--summary", options->summary, "the office's totals and the counts of rows");
        app.add_option("--errors", options->errors, "the refused rows as CSV (also on standard error)")->type_name("FILE");
        app.add_flag("--as-typed", options->asTyped,
                     "read amount cells as the window reads typed text (\"12abc\" counts 12)");
        return [options](const paycalc::Situation &, std::ostream &out, std::ostream &err) {
            if (options->input.empty()) throw UsageError{"batch needs the staff list: payslip-cli batch STAFF.csv"};
            batch::Options run = *options;
            // Progress is for a person watching a terminal, never for a log.
            run.progress = isatty(STDERR_FILENO) != 0;
            return batch::Run(run, out, err);
        };
    };
    return c;
}

} // namespace cli
