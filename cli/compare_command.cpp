// payslip-cli compare: the slip before and after a change of situation, every
// line's difference, and the back pay owed when the change came late.
#include <optional>
#include <ostream>
#include <sstream>

#include "cli/command.h"
#include "paydata/amount.h"

namespace cli {

using paycalc::Field;

namespace {

struct CompareOptions {
    std::vector<std::string> to;
    std::string months = std::to_string(paycalc::kDefaultBackPayMonths);
    bool json = false;
};

// The difference of a typed line (the zone and housing allowances), which the
// comparison of computed lines leaves out.
std::string TypedDifference(const std::string &before, const std::string &after)
{
    try {
        return paycalc::Difference(before, after);
    } catch (const paydata::ConversionError &) {
        return {};
    }
}

void PrintTable(const paycalc::Comparison &c, const paycalc::BackPay &pay, std::ostream &out)
{
    std::vector<std::vector<std::string>> rows{{"before", "after", "difference", "line"}};
    for (Field f : paycalc::kSlipLines) {
        const std::string &b = c.before.Text(f);
        const std::string &a = c.after.Text(f);
        const std::string d = paycalc::IsTypedField(f) ? TypedDifference(b, a) : c.Line(f).difference;
        rows.push_back({b, a, d, paycalc::FieldTitle(f)});
    }
    const std::vector<std::size_t> w = ColumnWidths(rows);
    for (const auto &r : rows)
        out << PadLeft(r[0], w[0]) << "  " << PadLeft(r[1], w[1]) << "  " << PadLeft(r[2], w[2]) << "  " << r[3] << '\n';
    out << '\n'
        << "back pay for " << pay.months << (pay.months == 1 ? " month" : " months") << ", " << pay.quarters
        << (pay.quarters == 1 ? " whole quarter" : " whole quarters") << " (months / 3):\n"
        << "  net pay            " << pay.netDifference << " × " << pay.months << " = " << pay.monthly << '\n'
        << "  performance bonus  " << pay.bonusDifference << " × " << pay.quarters << " = " << pay.bonus << '\n'
        << "  total              " << pay.total << '\n'
        << "Each month is computed with the monthly scale (no special tax treatment of back pay is applied).\n";
}

void PrintJson(const paycalc::Comparison &c, const paycalc::BackPay &pay, std::ostream &out)
{
    nlohmann::ordered_json difference = nlohmann::ordered_json::object();
    for (const paycalc::LineDifference &line : c.lines)
        difference[std::string(paycalc::FieldName(line.field))] = line.difference;
    nlohmann::ordered_json json = nlohmann::ordered_json::object();
    json["before"] = SlipJson(c.before);
    json["after"] = SlipJson(c.after);
    json["difference"] = std::move(difference);
    json["months"] = pay.months;
    json["back_pay"] = {{"monthly", pay.monthly}, {"bonus", pay.bonus}, {"total", pay.total}};
    out << JsonText(json) << '\n';
}

int RunCompare(const CompareOptions &options, const paycalc::Situation &before, std::ostream &out, std::ostream &err)
{
    if (options.to.empty()) throw UsageError{"compare needs at least one --to OPTION=VALUE"};
    std::vector<std::pair<std::string, std::string>> changes;
    for (const std::string &to : options.to) changes.push_back(SplitAssignment("--to", to));
    const paycalc::Situation after = ApplyChanges(before, changes, "--to ");
    const std::optional<int> months = paycalc::ReadBackPayMonths(options.months);
    if (!months)
        throw UsageError{"--months takes a whole number from " + std::to_string(paycalc::kMinBackPayMonths) + " to " +
                         std::to_string(paycalc::kMaxBackPayMonths) + ", not '" + options.months + "'"};

    const paycalc::Comparison comparison = paycalc::Compare(before, after);
    if (!Computed(comparison.before, err, "before: ") || !Computed(comparison.after, err, "after: ")) return 1;
    paycalc::BackPay pay;
    try {
        pay = paycalc::ComputeBackPay(comparison, *months);
    } catch (const paydata::ConversionError &e) {
        err << "payslip-cli: cannot compute the back pay: " << e.what() << '\n';
        return 1;
    }
    std::ostringstream text;
    if (options.json) PrintJson(comparison, pay, text);
    else PrintTable(comparison, pay, text);
    out << text.str();
    return 0;
}

} // namespace

Command CompareCommand()
{
    Command c;
    c.name = "compare";
    c.synopsis = "compare [options] --to OPTION=VALUE [--to ...] [--months N] [--json]";
    c.summary = "every line before and after a change, and the back pay owed for it";
    c.add = [](CLI::App &app) -> Runner {
        auto options = std::make_shared<CompareOptions>();
        AddRepeated(app, "--to", "OPTION=VALUE", options->to,
                    "the situation after: a situation option without its dashes and its value (echelon=8, "
                    "category=12, children=2, mutual=no, zone=2500); again for each change");
        app.add_option("--months", options->months,
                       "months of back pay, 1..120 (default 1); the bonus counts whole quarters, months / 3")
            ->type_name("N");
        app.add_flag("--json", options->json, "print before, after, difference and back pay as JSON");
        return [options](const paycalc::Situation &situation, std::ostream &out, std::ostream &err) {
            return RunCompare(*options, situation, out, err);
        };
    };
    return c;
}

} // namespace cli
