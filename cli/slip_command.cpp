// payslip-cli slip: the slip of one situation, as a table or JSON, and as PDF.
#include <iomanip>
#include <ostream>
#include <sstream>

#include "cli/command.h"

namespace cli {

using paycalc::Field;

namespace {

void PrintTable(const paycalc::Slip &slip, bool explain, std::ostream &out)
{
    std::size_t width = 0;
    for (Field f : paycalc::kSlipLines) width = std::max(width, slip.Text(f).size());
    for (Field f : paycalc::kSlipLines) {
        out << std::setw(static_cast<int>(width)) << slip.Text(f) << "  " << paycalc::FieldTitle(f) << '\n';
        const paycalc::Explanation *e = explain ? slip.trace.Find(f) : nullptr;
        if (!e) continue;
        std::istringstream lines(paycalc::ExplanationText(*e));
        for (std::string line; std::getline(lines, line);) out << std::string(width + 4, ' ') << line << '\n';
    }
}

void PrintJson(const paycalc::Slip &slip, bool explain, std::ostream &out)
{
    nlohmann::ordered_json json = SlipJson(slip);
    if (explain) {
        nlohmann::ordered_json explanations = nlohmann::ordered_json::object();
        for (Field f : paycalc::kComputedFields) {
            const paycalc::Explanation *e = slip.trace.Find(f);
            if (!e) continue;
            explanations[std::string(paycalc::FieldName(f))] = {
                {"rule", e->rule}, {"formula", e->formula}, {"result", e->result}};
        }
        json["explanations"] = std::move(explanations);
    }
    out << JsonText(json) << '\n';
}

int RunSlip(const Options &options, std::ostream &out, std::ostream &err)
{
    if (options.pdf.empty() && (!options.identity.name.empty() || !options.identity.number.empty() ||
                                !options.identity.workplace.empty() || options.bilingual))
        throw UsageError{"--name, --number, --workplace and --bilingual go with --pdf FILE"};

    // A printed slip states each line's base and rate: its run explains itself.
    const paycalc::Slip slip = paycalc::ComputeSlip(options.situation, options.explain || !options.pdf.empty());
    if (!Computed(slip, err)) return 1;
    if (!options.pdf.empty()) {
#ifdef PAYSLIP_HAVE_PDF
        if (!WritePdf(slip, options.pdf, options.identity, options.bilingual, err)) return 1;
#else
        err << "payslip-cli: this build cannot write PDF (built without Qt)\n";
        return 1;
#endif
    }
    std::ostringstream text; // nothing reaches the output unless the whole slip was computed
    if (options.json) PrintJson(slip, options.explain, text);
    else PrintTable(slip, options.explain, text);
    out << text.str();
    return 0;
}

} // namespace

Command SlipCommand(std::shared_ptr<Options> given)
{
    Command c;
    c.name = "slip";
    c.synopsis = "[slip] [options]";
    c.summary = "the slip of one situation (the word slip may be left out)";
    c.add = [given](CLI::App &app) -> Runner {
        std::shared_ptr<Options> options = given ? given : std::make_shared<Options>();
        app.add_flag("--json", options->json, "print the computed fields as one JSON object");
        app.add_flag("--explain", options->explain, "explain every line: its rule and its computation");
        app.add_option("--pdf", options->pdf, "also write the slip as an A4 PDF to FILE")
            ->type_name("FILE")
            ->check(CLI::Validator(
                [](std::string &file) { return file.empty() ? std::string("needs a file name") : std::string(); }, ""));
        app.add_option("--name", options->identity.name, "employee's name, printed on the PDF")->type_name("TEXT");
        app.add_option("--number", options->identity.number, "employee's number, printed on the PDF")->type_name("TEXT");
        app.add_option("--workplace", options->identity.workplace, "workplace, printed on the PDF")->type_name("TEXT");
        app.add_flag("--bilingual", options->bilingual, "French labels beside the Arabic ones on the PDF");
        return [options](const paycalc::Situation &situation, std::ostream &out, std::ostream &err) {
            options->situation = situation;
            return RunSlip(*options, out, err);
        };
    };
    return c;
}

} // namespace cli
