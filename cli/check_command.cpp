// payslip-cli check: amounts typed from an official slip against ours, line
// by line, with our explanation of each line that differs.
#include <ostream>
#include <sstream>

#include "cli/command.h"
#include "paydata/amount.h"

namespace cli {

using paycalc::Field;

namespace {

struct CheckOptions {
    std::vector<std::string> official;
    bool json = false;
};

constexpr int kLinesDiffer = 3;

std::vector<paycalc::OfficialAmount> ReadOfficial(const std::vector<std::string> &given)
{
    if (given.empty()) throw UsageError{"check needs at least one --official LINE=AMOUNT"};
    std::vector<paycalc::OfficialAmount> official;
    for (const std::string &text : given) {
        auto [name, amount] = SplitAssignment("--official", text);
        switch (paycalc::ReadOfficialAmount(name, amount, official)) {
        case paycalc::OfficialProblem::None: break;
        case paycalc::OfficialProblem::NotALine:
            throw UsageError{"--official: '" + name +
                             "' is not a computed line of the slip (a field name such as Text21 or a readable "
                             "name such as net_pay)"};
        case paycalc::OfficialProblem::NotAnAmount:
            throw UsageError{"--official " + name +
                             " takes an amount such as 43432.12 (digits and a point, no "
                             "thousands separator), not '" +
                             amount + "'"};
        case paycalc::OfficialProblem::Twice: {
            Field field{};
            paycalc::ParseLineName(name, field);
            throw UsageError{"--official gives " + NamedLine(field) + " twice"};
        }
        }
    }
    return official;
}

void PrintTable(const paycalc::CheckReport &report, std::ostream &out)
{
    std::vector<std::vector<std::string>> rows{{"line", "ours", "theirs", "difference", ""}};
    for (const paycalc::CheckedLine &line : report.lines)
        rows.push_back(
            {NamedLine(line.field), line.ours, line.theirs, line.difference, line.agrees ? "agrees" : "DIFFERS"});
    const std::vector<std::size_t> widths = ColumnWidths(rows);
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const auto &row = rows[r];
        std::string text = PadRight(row[0], widths[0]);
        for (std::size_t i = 1; i + 1 < row.size(); ++i) text += "  " + PadLeft(row[i], widths[i]);
        if (!row.back().empty()) text += "  " + row.back();
        out << text << '\n';
        if (r == 0) continue;
        const paycalc::CheckedLine &line = report.lines[r - 1];
        if (line.agrees || line.explanation.empty()) continue;
        out << "    how we computed " << paycalc::FieldName(line.field) << ":\n";
        std::istringstream lines(line.explanation);
        for (std::string l; std::getline(lines, l);) out << "      " << l << '\n';
    }
    std::vector<std::string> differing;
    for (const paycalc::CheckedLine &line : report.lines)
        if (!line.agrees) differing.push_back(NamedLine(line.field));
    if (differing.empty()) {
        out << "every line given agrees with ours to the cent\n";
    } else {
        out << differing.size() << " of " << report.lines.size() << (report.lines.size() == 1 ? " line" : " lines")
            << " differ:";
        for (std::size_t i = 0; i < differing.size(); ++i) out << (i ? ", " : " ") << differing[i];
        out << '\n';
    }
}

void PrintJson(const paycalc::CheckReport &report, std::ostream &out)
{
    nlohmann::ordered_json lines = nlohmann::ordered_json::array();
    for (const paycalc::CheckedLine &line : report.lines)
        lines.push_back({{"field", std::string(paycalc::FieldName(line.field))},
                         {"name", std::string(paycalc::LineName(line.field))},
                         {"ours", line.ours},
                         {"theirs", line.theirs},
                         {"difference", line.difference},
                         {"agrees", line.agrees},
                         {"explanation", line.explanation}});
    nlohmann::ordered_json json = nlohmann::ordered_json::object();
    json["agree"] = report.allAgree();
    json["lines"] = std::move(lines);
    out << JsonText(json) << '\n';
}

int RunCheck(const CheckOptions &options, const paycalc::Situation &situation, std::ostream &out, std::ostream &err)
{
    const std::vector<paycalc::OfficialAmount> official = ReadOfficial(options.official);
    const paycalc::CheckReport report = paycalc::CheckOfficial(situation, official);
    if (!Computed(report.slip, err)) return 1;
    std::ostringstream text;
    if (options.json) PrintJson(report, text);
    else PrintTable(report, text);
    out << text.str();
    return report.allAgree() ? 0 : kLinesDiffer;
}

} // namespace

Command CheckCommand()
{
    Command c;
    c.name = "check";
    c.synopsis = "check [options] --official LINE=AMOUNT [--official ...] [--json]";
    c.summary = "an official slip's amounts against ours (exit 3 when a line differs)";
    c.add = [](CLI::App &app) -> Runner {
        auto options = std::make_shared<CheckOptions>();
        AddRepeated(app, "--official", "LINE=AMOUNT", options->official,
                    "an amount of the official slip: LINE is a field name (Text21) or a readable name "
                    "(net_pay), AMOUNT digits and a point (43432.12); again for each line");
        app.add_flag("--json", options->json, "print the report as JSON");
        return [options](const paycalc::Situation &situation, std::ostream &out, std::ostream &err) {
            return RunCheck(*options, situation, out, err);
        };
    };
    return c;
}

} // namespace cli
