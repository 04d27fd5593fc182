// payslip-cli ladder: the slip at every echelon of the situation's category,
// and the same echelon one category up.
#include <ostream>
#include <sstream>

#include "cli/command.h"

namespace cli {

using paycalc::Field;

namespace {

void PrintTable(const paycalc::Ladder &ladder, std::ostream &out)
{
    std::vector<std::vector<std::string>> rows{{"echelon", "net pay", "main pay", "income tax", "bonus", "net step"}};
    for (const paycalc::LadderStep &step : ladder.steps) {
        std::vector<std::string> row{std::to_string(step.echelon)};
        for (Field f : paycalc::kLadderColumns) row.push_back(step.slip.Text(f));
        row.push_back(step.netStep);
        rows.push_back(std::move(row));
    }
    const std::vector<std::size_t> widths = ColumnWidths(rows);
    const int current = ladder.situation.echelon;
    out << "category " << ladder.situation.category << ", echelon 0 to " << ladder.steps.size() - 1 << ":\n";
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const bool here = r > 0 && static_cast<int>(r - 1) == current;
        std::string line = here ? "* " : "  ";
        for (std::size_t i = 0; i < rows[r].size(); ++i) line += (i ? "  " : "") + PadLeft(rows[r][i], widths[i]);
        line.erase(line.find_last_not_of(' ') + 1); // no net step at echelon 0
        out << line << '\n';
    }
    out << "* the current echelon\n";
    if (ladder.categoryAbove) {
        const paycalc::Slip &above = *ladder.categoryAbove;
        const paycalc::Slip &now = ladder.steps[static_cast<std::size_t>(current)].slip;
        out << "category " << above.situation.category << ", echelon " << above.situation.echelon << ": net pay "
            << above.Text(Field::Text21) << ", main pay " << above.Text(Field::Text3) << ", income tax "
            << above.Text(Field::Text15) << ", bonus " << above.Text(Field::Text22) << "; net pay "
            << paycalc::Difference(now.Text(Field::Text21), above.Text(Field::Text21)) << " from the current slip\n";
    } else {
        out << "category " << ladder.situation.category << " is the highest: no category above\n";
    }
}

void PrintJson(const paycalc::Ladder &ladder, std::ostream &out)
{
    nlohmann::ordered_json json = nlohmann::ordered_json::array();
    for (const paycalc::LadderStep &step : ladder.steps) {
        nlohmann::ordered_json rung = nlohmann::ordered_json::object();
        rung["echelon"] = step.echelon;
        rung.update(SlipJson(step.slip));
        json.push_back(std::move(rung));
    }
    out << JsonText(json) << '\n';
}

int RunLadder(bool json, const paycalc::Situation &situation, std::ostream &out, std::ostream &err)
{
    // The category above is shown in the table only: the JSON stays an array
    // of the thirteen echelons.
    const paycalc::Ladder ladder = paycalc::ComputeLadder(situation, !json);
    for (const paycalc::LadderStep &step : ladder.steps)
        if (!Computed(step.slip, err, "echelon " + std::to_string(step.echelon) + ": ")) return 1;
    if (const auto &above = ladder.categoryAbove;
        above && !Computed(*above, err, "category " + std::to_string(above->situation.category) + ": "))
        return 1;
    std::ostringstream text;
    if (json) PrintJson(ladder, text);
    else PrintTable(ladder, text);
    out << text.str();
    return 0;
}

} // namespace

Command LadderCommand()
{
    Command c;
    c.name = "ladder";
    c.synopsis = "ladder [options] [--json]";
    c.summary = "the slip at every echelon of the category, and one category up";
    c.add = [](CLI::App &app) -> Runner {
        auto json = std::make_shared<bool>(false);
        app.add_flag("--json", *json, "print an array of 13 objects, one per echelon: \"echelon\" and the slip's fields");
        return [json](const paycalc::Situation &situation, std::ostream &out, std::ostream &err) {
            return RunLadder(*json, situation, out, err);
        };
    };
    return c;
}

} // namespace cli
