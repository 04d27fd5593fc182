#include "cli/cli.h"

#include <charconv>
#include <cstdio>
#include <iomanip>
#include <optional>
#include <ostream>
#include <sstream>
#include <string_view>

#include "paycalc/recalculate.h"
#ifdef PAYSLIP_HAVE_PDF
#include "cli/pdf_output.h"
#endif

namespace cli {

using paycalc::Field;

namespace {

int ParseCount(std::string_view option, std::string_view text, int low, int high)
{
    int value = 0;
    auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || ptr != text.data() + text.size() || value < low || value > high) {
        throw UsageError{std::string(option) + " takes a whole number from " + std::to_string(low) +
                         " to " + std::to_string(high) + ", not '" + std::string(text) + "'"};
    }
    return value;
}

bool Choose(std::string_view option, std::string_view text, std::string_view first, std::string_view second)
{
    if (text == first) return false;
    if (text == second) return true;
    throw UsageError{std::string(option) + " takes " + std::string(first) + " or " + std::string(second) +
                     ", not '" + std::string(text) + "'"};
}

} // namespace

Options ParseOptions(const std::vector<std::string>& args)
{
    Options options;
    SlipInputs& in = options.inputs;
    bool single = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string_view arg = args[i];
        std::string_view name = arg;
        std::optional<std::string> inlineValue;
        if (auto eq = arg.find('='); arg.starts_with("--") && eq != std::string_view::npos) {
            name = arg.substr(0, eq);
            inlineValue = std::string(arg.substr(eq + 1));
        }
        auto value = [&]() -> std::string {
            if (inlineValue) return *inlineValue;
            if (i + 1 >= args.size()) throw UsageError{std::string(name) + " needs a value"};
            return args[++i];
        };
        auto flag = [&] {
            if (inlineValue) throw UsageError{std::string(name) + " takes no value"};
        };

        if (name == "--category") in.category = ParseCount(name, value(), 1, 17);
        else if (name == "--echelon") in.echelon = ParseCount(name, value(), 0, 12);
        else if (name == "--post") in.post = ParseCount(name, value(), 0, 10);
        else if (name == "--children") in.children = ParseCount(name, value(), 0, 12);
        else if (name == "--over-ten") in.overTen = ParseCount(name, value(), 0, 12);
        else if (name == "--status") single = !Choose(name, value(), "single", "married");
        else if (name == "--spouse") in.spouseWorking = Choose(name, value(), "home", "working");
        else if (name == "--mutual") { flag(); in.mutual = true; }
        else if (name == "--no-mutual") { flag(); in.mutual = false; }
        else if (name == "--zone") in.zone = value();
        else if (name == "--housing") in.housing = value();
        else if (name == "--absence") in.absence = value();
        else if (name == "--mark") in.mark = value();
        else if (name == "--json") { flag(); options.json = true; }
        else if (name == "--explain") { flag(); options.explain = true; }
        else if (name == "--pdf") {
            options.pdf = value();
            if (options.pdf.empty()) throw UsageError{"--pdf needs a file name"};
        }
        else if (name == "--help" || name == "-h") { flag(); options.help = true; }
        else throw UsageError{"unknown option '" + std::string(arg) + "'"};
    }
    in.married = !single;
    // The window resets both children counts whenever "single" is picked, so
    // a single employee with children is a slip it can never show.
    if (single && (in.children != 0 || in.overTen != 0))
        throw UsageError{"--status single goes with --children 0 and --over-ten 0"};
    return options;
}

namespace {

void PrintTable(const paycalc::MemoryForm& form, const paycalc::Trace* trace, std::ostream& out)
{
    std::size_t width = 0;
    for (Field f : paycalc::kSlipLines) width = std::max(width, form.Text(f).size());
    for (Field f : paycalc::kSlipLines) {
        out << std::setw(static_cast<int>(width)) << form.Text(f) << "  " << paycalc::FieldTitle(f) << '\n';
        const paycalc::Explanation* e = trace ? trace->Find(f) : nullptr;
        if (!e) continue;
        std::istringstream lines(paycalc::ExplanationText(*e));
        for (std::string line; std::getline(lines, line);)
            out << std::string(width + 4, ' ') << line << '\n';
    }
}

std::string JsonString(std::string_view text)
{
    std::string quoted = "\"";
    for (char c : text) {
        switch (c) {
        case '"': quoted += "\\\""; break;
        case '\\': quoted += "\\\\"; break;
        case '\n': quoted += "\\n"; break;
        case '\r': quoted += "\\r"; break;
        case '\t': quoted += "\\t"; break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escape[8];
                std::snprintf(escape, sizeof escape, "\\u%04x", c);
                quoted += escape;
            } else {
                quoted += c;
            }
        }
    }
    return quoted + '"';
}

void PrintJson(const paycalc::MemoryForm& form, const paycalc::Trace* trace, std::ostream& out)
{
    out << '{';
    const char* separator = "";
    for (Field f : paycalc::kComputedFields) {
        out << separator << JsonString(paycalc::FieldName(f)) << ": " << JsonString(form.Text(f));
        separator = ", ";
    }
    if (trace) {
        out << ", \"explanations\": {";
        separator = "";
        for (Field f : paycalc::kComputedFields) {
            const paycalc::Explanation* e = trace->Find(f);
            if (!e) continue;
            out << separator << JsonString(paycalc::FieldName(f)) << ": {\"rule\": " << JsonString(e->rule)
                << ", \"formula\": " << JsonString(e->formula) << ", \"result\": " << JsonString(e->result) << '}';
            separator = ", ";
        }
        out << '}';
    }
    out << "}\n";
}

std::string Describe(const paycalc::RecalcError& e)
{
    std::string text = "cannot compute the " + std::string(paycalc::FieldTerm(e.step())) + " (" +
                       std::string(paycalc::FieldName(e.step())) + "): " +
                       std::string(paydata::FailureName(e.kind()));
    if (auto source = e.source())
        text += " reading " + std::string(paycalc::FieldName(*source)) + " (" +
                std::string(paycalc::FieldTerm(*source)) + ")";
    return text;
}

} // namespace

std::string Usage()
{
    return "usage: payslip-cli [options]\n"
           "  --category N       grade category, 1..17 (default 11)\n"
           "  --echelon N        echelon, 0..12 (default 7)\n"
           "  --post K           specific post, 0..10, 0 = none (default 0)\n"
           "  --children N       number of children, 0..12 (default 1)\n"
           "  --over-ten N       children over ten, 0..12 (default 0)\n"
           "  --status S         single | married (default married)\n"
           "  --spouse S         home | working (default home)\n"
           "  --mutual           member of the mutual insurance (the default)\n"
           "  --no-mutual        not a member\n"
           "  --zone TEXT        zone allowance as typed (default 0)\n"
           "  --housing TEXT     housing allowance as typed (default 0)\n"
           "  --absence TEXT     days of absence as typed (default 0)\n"
           "  --mark TEXT        performance mark as typed (default 40)\n"
           "  --json             print the computed fields as one JSON object\n"
           "  --explain          explain every line: its rule and its computation\n"
           "  --pdf FILE         also write the slip as an A4 PDF to FILE\n"
           "  --help             print this help\n";
}

void FillForm(paycalc::MemoryForm& form, const SlipInputs& inputs)
{
    form.Select(paycalc::kCategoryList, inputs.category - 1);
    form.Select(paycalc::kEchelonList, inputs.echelon);
    form.Select(paycalc::kPostList, inputs.post);
    form.Select(paycalc::kChildrenList, inputs.children);
    form.Select(paycalc::kOverTenList, inputs.overTen);
    form.Select(paycalc::kFamilyStatusList, inputs.married ? 1 : 0);
    form.Select(paycalc::kSpouseList, inputs.spouseWorking ? 1 : 0);
    form.SetCheck(inputs.mutual ? paycalc::CheckState::Checked : paycalc::CheckState::Unchecked);
    form.SetText(Field::Text10, inputs.zone);
    form.SetText(Field::Text11, inputs.housing);
    form.SetText(Field::Text20, inputs.absence);
    form.SetText(Field::Text23, inputs.mark);
}

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    Options options;
    try {
        options = ParseOptions(args);
    } catch (const UsageError& e) {
        err << "payslip-cli: " << e.message << '\n' << Usage();
        return 2;
    }
    if (options.help) {
        out << Usage();
        return 0;
    }

    paycalc::MemoryForm form;
    FillForm(form, options.inputs);
    paycalc::Trace trace;
    paycalc::Trace* explanations = options.explain ? &trace : nullptr;
    try {
        paycalc::RecalculateAll(form, explanations);
    } catch (const paycalc::RecalcError& e) {
        err << "payslip-cli: " << Describe(e) << '\n';
        return 1;
    }

    if (!options.pdf.empty()) {
#ifdef PAYSLIP_HAVE_PDF
        if (!WritePdf(form, options.pdf, {}, false, err)) return 1;
#else
        err << "payslip-cli: this build cannot write PDF (built without Qt)\n";
        return 1;
#endif
    }

    std::ostringstream slip; // nothing reaches the output unless the whole slip was computed
    if (options.json)
        PrintJson(form, explanations, slip);
    else
        PrintTable(form, explanations, slip);
    out << slip.str();
    return 0;
}

} // namespace cli
