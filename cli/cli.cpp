#include "cli/cli.h"

#include <algorithm>
#include <memory>
#include <ostream>
#include <sstream>
#include <utility>

#include "cli/command.h"
#include "paycalc/situation_inputs.h"
#include "paydata/amount.h"
#include "paydata/text_rules.h"

namespace cli {

using paycalc::Field;

// --- Helpers shared by the commands ---

CLI::Option *AddRepeated(CLI::App &app, const std::string &name, const std::string &valueName,
                         std::vector<std::string> &values, const std::string &text)
{
    return app.add_option(name, values, text)
        ->type_name(valueName)
        ->expected(1)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
}

std::pair<std::string, std::string> SplitAssignment(std::string_view option, const std::string &text)
{
    const auto eq = text.find('=');
    if (eq == std::string::npos || eq == 0)
        throw UsageError{std::string(option) + " takes " + (option == "--to" ? "OPTION" : "LINE") + "=VALUE, not '" +
                         text + "'"};
    return {text.substr(0, eq), text.substr(eq + 1)};
}

paycalc::Situation ApplyChanges(const paycalc::Situation &base,
                                const std::vector<std::pair<std::string, std::string>> &changes, std::string_view context)
{
    const std::string prefix(context);
    std::vector<paycalc::GivenValue> given;
    for (const auto &[name, value] : changes) {
        const paycalc::SituationInput *input = paycalc::FindInput(name);
        if (!input) {
            std::string names;
            for (const paycalc::SituationInput &in : paycalc::kSituationInputs) {
                if (!names.empty()) names += &in == &paycalc::kSituationInputs.back() ? " or " : ", ";
                names += in.name;
            }
            throw UsageError{"unknown situation option '" + prefix + name + "' (" + names + ")"};
        }
        given.push_back({input, value});
    }
    paycalc::Situation s = base;
    const std::vector<paycalc::ValueProblem> problems = paycalc::ReadValues(given, s, false);
    if (!problems.empty()) {
        const paycalc::ValueProblem &p = problems.front();
        // "--status single" on the command line, "--to status=single" in a change.
        const char *is = prefix == "--" ? " " : "=";
        if (p.familyRule)
            throw UsageError{prefix + "status" + is + "single goes with " + prefix + "children" + is + "0 and " +
                             prefix + "over-ten" + is + "0"};
        throw UsageError{prefix + std::string(p.input->name) + " takes " + paycalc::RuleOf(*p.input).english +
                         ", not '" + p.text + "'"};
    }
    if (std::string problem = s.Problem(); !problem.empty()) throw UsageError{problem};
    return s;
}

nlohmann::ordered_json SlipJson(const paycalc::Slip &slip)
{
    nlohmann::ordered_json json = nlohmann::ordered_json::object();
    for (Field f : paycalc::kComputedFields) json[std::string(paycalc::FieldName(f))] = slip.Text(f);
    return json;
}

std::string JsonText(const nlohmann::ordered_json &value)
{
    // nlohmann's one-line form, a blank added after each ':' and ',' outside the strings.
    const std::string compact = value.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
    std::string text;
    bool inString = false, escaped = false;
    for (char c : compact) {
        text += c;
        if (escaped) escaped = false;
        else if (c == '\\') escaped = true;
        else if (c == '"') inString = !inString;
        else if (!inString && (c == ':' || c == ',')) text += ' ';
    }
    return text;
}

bool Computed(const paycalc::Slip &slip, std::ostream &err, const std::string &context)
{
    if (!slip.ok()) err << "payslip-cli: " << context << paycalc::Describe(*slip.error) << '\n';
    return slip.ok();
}

std::string NamedLine(Field f)
{
    return std::string(paycalc::LineName(f)) + " (" + std::string(paycalc::FieldName(f)) + ")";
}

std::size_t DisplayWidth(std::string_view text)
{
    // One column per character: count the bytes that start a UTF-8 sequence.
    return static_cast<std::size_t>(
        std::count_if(text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

std::vector<std::size_t> ColumnWidths(const std::vector<std::vector<std::string>> &rows)
{
    std::vector<std::size_t> widths(rows.front().size(), 0);
    for (const auto &row : rows)
        for (std::size_t i = 0; i < row.size(); ++i) widths[i] = std::max(widths[i], DisplayWidth(row[i]));
    return widths;
}

std::string PadLeft(const std::string &text, std::size_t width)
{
    const std::size_t w = DisplayWidth(text);
    return w >= width ? text : std::string(width - w, ' ') + text;
}

std::string PadRight(const std::string &text, std::size_t width)
{
    const std::size_t w = DisplayWidth(text);
    return w >= width ? text : text + std::string(width - w, ' ');
}

// --- Reading a command line ---

const std::vector<Command> &Commands()
{
    static const std::vector<Command> commands{SlipCommand(), CompareCommand(), LadderCommand(), CheckCommand(),
                                               BatchCommand()};
    return commands;
}

namespace {

// The CLI11 group of the situation options; a command's own are in CLI11's
// default group.
const std::string kSituationGroup = "situation";

// The situation options as typed, until the whole line has been read: one
// option per input of the inputs table, the mutual box as two flags.
struct SituationText {
    std::array<std::string, paycalc::kInputCount> values;
    std::array<CLI::Option *, paycalc::kInputCount> options{};
    bool mutual = paycalc::kMutualTickedAtStartup;
};

void AddSituationOptions(CLI::App &app, SituationText &text)
{
    const paycalc::Situation fresh;
    for (const paycalc::SituationInput &in : paycalc::kSituationInputs) {
        const auto k = static_cast<std::size_t>(in.input);
        if (in.input == paycalc::Input::Mutual) {
            // Two flags on the one box, each applied as it is read, so that the last
            // one given counts.
            app.add_flag("--mutual", text.mutual, "member of the mutual insurance (the default)")
                ->trigger_on_parse()
                ->group(kSituationGroup);
            app.add_flag("--no-mutual{false}", text.mutual, "not a member")->trigger_on_parse()->group(kSituationGroup);
            continue;
        }
        const bool typed = paycalc::IsTyped(in);
        std::string what(paycalc::TermOf(in));
        if (typed) what += " as typed";
        else if (!in.words[0].empty()) what += ": " + std::string(in.words[0]) + " | " + std::string(in.words[1]);
        else what += ", " + std::to_string(in.low) + ".." + std::to_string(in.high);
        if (in.list == paycalc::kPostList) what += " or a post's title";
        what += " (default " + paycalc::InputText(in, fresh);
        if (in.list == paycalc::kChildrenList) what += "; 0 when single";
        text.options[k] = app.add_option("--" + std::string(in.name), text.values[k], what + ")")
                              ->type_name(typed                           ? "TEXT"
                                          : !in.words[0].empty()          ? "S"
                                          : in.list == paycalc::kPostList ? "K"
                                                                          : "N")
                              ->group(kSituationGroup);
    }
}

paycalc::Situation SituationOf(const SituationText &text)
{
    std::vector<std::pair<std::string, std::string>> changes;
    for (const paycalc::SituationInput &in : paycalc::kSituationInputs) {
        const auto k = static_cast<std::size_t>(in.input);
        // The box always has its value: a fresh situation's unless a flag changed
        // it.
        if (in.input == paycalc::Input::Mutual) changes.emplace_back(in.name, text.mutual ? "yes" : "no");
        else if (text.options[k]->count() > 0) changes.emplace_back(in.name, text.values[k]);
    }
    return ApplyChanges(paycalc::Situation{}, changes, "--");
}

const Command *FindCommand(std::string_view name)
{
    for (const Command &c : Commands())
        if (c.name == name) return &c;
    return nullptr;
}

struct Parsed {
    Runner run;
    paycalc::Situation situation;
    bool help = false;
};

// The command's options on a fresh CLI11 application, in the order of its
// help: the situation options, its own, --help.
struct Registered {
    CLI::App app;
    SituationText situation;
    Runner run;
    CLI::Option *help = nullptr;
    bool helpWanted = false;
};

std::unique_ptr<Registered> Register(const Command &command)
{
    auto r = std::make_unique<Registered>();
    r->app.set_help_flag();
    r->app.allow_extras();
    r->app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    if (command.takesSituation) AddSituationOptions(r->app, r->situation);
    r->run = command.add(r->app);
    r->help = r->app.add_flag("--help,-h", r->helpWanted, "print this help");
    return r;
}

// A typed text holds no control character (the rule of every text read
// from outside): the name printed on a slip, an official amount, a path.
void RefuseControlCharacters(const CLI::App &app, const std::vector<std::string> &args)
{
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string &arg = args[i];
        auto found = paydata::FindControlCharacter(arg, paydata::LineBreaks::Refused);
        if (!found) continue;
        // Which option the text belongs to: "--name=TEXT", "--name TEXT", or none.
        std::string what = "argument " + std::to_string(i + 1);
        const auto eq = arg.find('=');
        if (arg.starts_with("--") && eq != std::string::npos && app.get_option_no_throw(arg.substr(0, eq))) {
            // The character counted within the value.
            if (auto inValue = paydata::FindControlCharacter(std::string_view(arg).substr(eq + 1),
                                                             paydata::LineBreaks::Refused)) {
                what = arg.substr(0, eq);
                found = inValue;
            }
        } else if (i > 0 && args[i - 1].starts_with("-")) {
            const CLI::Option *option = app.get_option_no_throw(args[i - 1]);
            if (option && option->get_expected_min() > 0) what = args[i - 1];
        }
        throw UsageError{what + " holds the control character " + paydata::CodeName(found->code) + " at character " +
                         std::to_string(found->position)};
    }
}

Parsed Parse(const Command &command, const std::vector<std::string> &args)
{
    std::unique_ptr<Registered> r = Register(command);
    RefuseControlCharacters(r->app, args);
    // An option that takes a value, given last without one.
    if (!args.empty()) {
        const CLI::Option *last = r->app.get_option_no_throw(args.back());
        if (last && last->get_expected_min() > 0) throw UsageError{args.back() + " needs a value"};
    }
    std::vector<std::string> words;
    for (const std::string &arg : args) {
        const auto eq = arg.find('=');
        const CLI::Option *option = arg.starts_with("--") && eq != std::string::npos
                                        ? r->app.get_option_no_throw(arg.substr(0, eq))
                                        : nullptr;
        if (option && option->get_expected_min() == 0) throw UsageError{arg.substr(0, eq) + " takes no value"};
        if (option && eq + 1 == arg.size()) words.insert(words.end(), {arg.substr(0, eq), ""});
        else words.push_back(arg);
    }
    std::reverse(words.begin(), words.end()); // CLI11 reads them last first
    try {
        r->app.parse(words);
    } catch (const CLI::ParseError &e) {
        throw UsageError{e.what()};
    }
    if (auto extra = r->app.remaining(); !extra.empty()) throw UsageError{"unknown option '" + extra.front() + "'"};
    Parsed parsed;
    parsed.help = r->helpWanted;
    if (parsed.help) return parsed;
    if (command.takesSituation) parsed.situation = SituationOf(r->situation);
    parsed.run = r->run;
    return parsed;
}

// "  --months N         months of back pay ...": each option's name (and its
// value's), then its text wrapped at 79 columns under its own column.
std::string HelpLines(const std::vector<const CLI::Option *> &options)
{
    constexpr std::size_t kIndent = 21, kWidth = 79;
    std::string text;
    for (const CLI::Option *option : options) {
        std::string line = "  " + option->get_name();
        if (option->nonpositional() && option->get_expected_min() > 0) line += " " + option->get_type_name();
        if (line.size() + 1 > kIndent) {
            text += line + '\n';
            line.clear();
        }
        std::istringstream words(option->get_description());
        std::string word;
        for (bool first = true; words >> word; first = false) {
            if (first) {
                line = PadRight(line, kIndent) + word;
            } else if (DisplayWidth(line) + 1 + DisplayWidth(word) > kWidth) {
                text += line + '\n';
                line = std::string(kIndent, ' ') + word;
            } else {
                line += ' ' + word;
            }
        }
        text += line + '\n';
    }
    return text;
}

} // namespace

// --- The slip command's options, read on their own ---

Options ParseOptions(const std::vector<std::string> &args)
{
    auto options = std::make_shared<Options>();
    Command slip = SlipCommand(options);
    Parsed parsed = Parse(slip, args);
    options->situation = parsed.situation;
    return *options;
}

std::string Usage(std::string_view name)
{
    const Command *command = FindCommand(name);
    if (!command) return Usage();
    std::unique_ptr<Registered> r = Register(*command);
    return "usage: payslip-cli " + command->synopsis + "\n" + HelpLines(std::as_const(r->app).get_options());
}

std::string Usage()
{
    std::string text = "usage: payslip-cli [slip] [options]\n";
    for (const Command &c : Commands())
        if (&c != &Commands().front()) text += "       payslip-cli " + c.synopsis + "\n";
    text += "       payslip-cli COMMAND --help\ncommands:\n";
    for (const Command &c : Commands()) text += "  " + PadRight(c.name, 19) + c.summary + '\n';
    std::string takers;
    for (const Command &c : Commands())
        if (c.takesSituation) takers += (takers.empty() ? "" : ", ") + c.name;
    bool situationShown = false;
    for (const Command &c : Commands()) {
        std::unique_ptr<Registered> r = Register(c);
        auto options = [&](bool situation) {
            return std::as_const(r->app).get_options(
                [&](const CLI::Option *o) { return o != r->help && (o->get_group() == kSituationGroup) == situation; });
        };
        if (c.takesSituation && !situationShown) {
            std::vector<const CLI::Option *> shown = options(true);
            shown.push_back(r->help);
            text += "situation options (" + takers + "):\n" + HelpLines(shown);
            situationShown = true;
        }
        if (auto own = options(false); !own.empty()) text += "options of " + c.name + ":\n" + HelpLines(own);
    }
    return text;
}

int Run(const std::vector<std::string> &args, std::ostream &out, std::ostream &err)
{
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        out << Usage();
        return 0;
    }
    // Without a command word the line is the slip's, as it has always been.
    const Command *command = &Commands().front();
    std::vector<std::string> rest = args;
    if (!args.empty() && !args[0].starts_with("-")) {
        command = FindCommand(args[0]);
        if (!command) {
            err << "payslip-cli: unknown command or option '" << args[0] << "'\n" << Usage();
            return 2;
        }
        rest.erase(rest.begin());
    }
    try {
        Parsed parsed = Parse(*command, rest);
        if (parsed.help) {
            out << Usage(command->name);
            return 0;
        }
        return parsed.run(parsed.situation, out, err);
    } catch (const UsageError &e) {
        err << "payslip-cli: " << e.message << '\n' << Usage(command->name);
        return 2;
    } catch (const paydata::ConversionError &e) {
        // An amount derived from two computed slips that cannot be shown.
        err << "payslip-cli: " << e.what() << '\n';
        return 1;
    }
}

} // namespace cli
