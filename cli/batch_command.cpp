// payslip-cli batch: the slips of a whole staff list, read from a CSV file.
#include <memory>
#include <ostream>

#include <unistd.h>

#include "batch/batch.h"
#include "cli/command.h"

namespace cli {

Command BatchCommand()
{
    Command c;
    c.name = "batch";
    c.synopsis = "batch STAFF.csv [--out SLIPS.csv|SLIPS.xlsx] [--json] [--pdf SLIPS.pdf] [--summary] "
                 "[--errors REFUSED.csv] [--as-typed]";
    c.summary = "every slip of a staff list (exit 4 when rows were refused)";
    c.takesSituation = false;
    c.add = [](CLI::App& app, Help& help) -> Runner {
        auto options = std::make_shared<batch::Options>();
        help.Add("STAFF.csv", "the staff list: a header line naming the columns (category and echelon are required; "
                              "another situation column left out takes its default, said on standard error), then "
                              "one employee a line");
        app.add_option("staff", options->input, "the staff list");
        AddOption(app, help, "--out", "FILE", options->out,
                  "one row per computed employee: CSV, or a spreadsheet when FILE ends in .xlsx");
        AddFlag(app, help, "--json", options->json, "one JSON object per computed employee on standard output");
        AddOption(app, help, "--pdf", "FILE", options->pdf, "the printed slips, a page per computed employee");
        AddFlag(app, help, "--summary", options->summary, "the office's totals and the counts of rows");
        AddOption(app, help, "--errors", "FILE", options->errors, "the refused rows as CSV (also on standard error)");
        AddFlag(app, help, "--as-typed", options->asTyped,
                "read amount cells as the window reads typed text (\"12abc\" counts 12)");
        return [options](const paycalc::Situation&, std::ostream& out, std::ostream& err) {
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
