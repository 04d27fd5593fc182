#include "batch/writers.h"

#include <algorithm>
#include <array>

#include <nlohmann/json.hpp>

#include "batch/atomic_file.h"
#include "batch/pdf_book.h"
#include "batch/refusals.h"
#include "batch/xlsx_table.h"
#include "paycalc/fields.h"
#include "paydata/amount.h"
#include "paydata/text_rules.h"

namespace batch {

namespace {

using paycalc::Field;

std::vector<std::string> TableHeader(const Plan &plan)
{
    std::vector<std::string> names;
    for (std::size_t index : plan.layout.carried) names.push_back(plan.header[index]);
    for (const paycalc::SituationInput &input : paycalc::kSituationInputs) names.push_back(ColumnName(input.input));
    for (Field f : kTableLines) names.emplace_back(paycalc::LineName(f));
    return names;
}

std::string FileStart(const CsvFormat &format) { return format.bom ? "\xEF\xBB\xBF" : ""; }

// One CSV cell and its separator, quoted when it holds the separator, a quote or a line break.
void AppendCell(std::string &out, std::string_view cell, char separator)
{
    if (std::none_of(cell.begin(), cell.end(),
                     [separator](char c) { return c == separator || c == '"' || c == '\n' || c == '\r'; })) {
        out.append(cell);
    } else {
        out += '"';
        for (char c : cell) {
            if (c == '"') out += '"';
            out += c;
        }
        out += '"';
    }
    out += separator;
}

// A line of one cell or more; the separator after the last is the line end.
void AppendLine(std::string &out, const std::vector<std::string> &cells, const CsvStyle &style)
{
    for (const std::string &cell : cells) AppendCell(out, cell, style.separator);
    out.pop_back();
    out.append(style.lineEnd);
}

} // namespace

// ---- CSV and JSON Lines, formatted by the workers ----

void AppendCsvRow(std::string &out, const Plan &plan, const RecordBatch &records, const RecordBatch::Record &record,
                  const paycalc::Slip &slip)
{
    const char sep = plan.style.separator;
    for (std::size_t index : plan.layout.carried) AppendCell(out, records.Cell(record, index), sep);
    std::array<char, 8> digits;
    for (const paycalc::SituationInput &input : paycalc::kSituationInputs)
        AppendCell(out, paycalc::InputText(input, slip.situation, digits), sep);
    for (Field f : kTableLines) {
        out += slip.Text(f); // amounts: digits, a point and a sign, never quoted
        out += sep;
    }
    out.pop_back();
    out.append(plan.style.lineEnd);
}

void AppendJsonRow(std::string &out, const Plan &plan, const RecordBatch &records, const RecordBatch::Record &record,
                   const paycalc::Slip &slip)
{
    nlohmann::ordered_json object;
    object["row"] = record.line;
    nlohmann::ordered_json columns = nlohmann::ordered_json::object();
    for (std::size_t index : plan.layout.carried)
        columns[plan.header[index]] = std::string(records.Cell(record, index));
    object["columns"] = std::move(columns);
    nlohmann::ordered_json lines = nlohmann::ordered_json::object();
    for (Field f : kTableLines) lines[std::string(paycalc::FieldName(f))] = slip.Text(f);
    object["slip"] = std::move(lines);
    out += object.dump();
    out += '\n';
}

bool IsSpreadsheetName(std::string_view path)
{
    constexpr std::string_view end = ".xlsx";
    return path.size() >= end.size() && std::equal(end.begin(), end.end(), path.end() - end.size(), [](char e, char c) {
               return e == (c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
           });
}

// ---- The files, written by the calling thread in input order ----

Outputs::Outputs(const Options &options, const Plan &plan) : options_(options), plan_(plan) {}

Outputs::~Outputs() = default;

bool Outputs::Open(const CsvFormat &format, Message *failure)
{
    std::string error;
    if (!options_.errors.empty()) {
        errors_ = std::make_unique<AtomicFile>(options_.errors);
        if (!errors_->Open(&error)) return *failure = WriteFailure(options_.errors, error), false;
        std::string head = FileStart(format);
        AppendLine(head, {"line", "column", "text", "message"}, plan_.style);
        errors_->Write(head);
    }
    if (!options_.out.empty()) {
        const std::vector<std::string> names = TableHeader(plan_);
        if (IsSpreadsheetName(options_.out)) {
            xlsx_ = std::make_unique<XlsxTable>(options_.out);
            if (!xlsx_->Open(names, &error)) return *failure = WriteFailure(options_.out, error), false;
        } else {
            table_ = std::make_unique<AtomicFile>(options_.out);
            if (!table_->Open(&error)) return *failure = WriteFailure(options_.out, error), false;
            std::string head = FileStart(format);
            AppendLine(head, names, plan_.style);
            table_->Write(head);
        }
    }
    if (!options_.pdf.empty()) {
        pdf_ = OpenPdfBook(options_.pdf, &error);
        if (!pdf_) return *failure = WriteFailure(options_.pdf, error), false;
    }
    return true;
}

void Outputs::WriteRefusal(const Refusal &r)
{
    if (!errors_) return;
    errorLines_.clear();
    AppendLine(errorLines_, {std::to_string(r.line), r.column, r.text, r.message}, plan_.style);
    errors_->Write(errorLines_);
}

void Outputs::WriteComputed(const Chunk &chunk, const RecordBatch::Record &record, const Row &row)
{
    if (xlsx_) {
        XlsxTable &x = *xlsx_;
        x.BeginRow();
        for (std::size_t index : plan_.layout.carried) x.Text(chunk.records.Cell(record, index));
        for (const paycalc::SituationInput &input : paycalc::kSituationInputs) {
            // A list's number or a typed text that is a plain number goes in
            // as a number; as typed, a text may not be one.
            const std::string text = paycalc::InputText(input, row.slip.situation);
            if (input.words[0].empty() && paydata::IsDecimal(paydata::Trim(text))) x.Number(paydata::ReadAmount(text));
            else x.Text(text);
        }
        for (double value : row.values) x.Amount(value);
    }
    if (pdf_) {
        auto cell = [&](int at) {
            return at < 0 ? std::string()
                          : std::string(paydata::Trim(chunk.records.Cell(record, static_cast<std::size_t>(at))));
        };
        const std::array<int, 3> &at = plan_.layout.identity;
        pdf_->Add(row.slip, {cell(at[0]), cell(at[1]), cell(at[2])});
    }
}

bool Outputs::WriteTable(const std::string &csv, Message *failure)
{
    if (!table_ || table_->Write(csv)) return true;
    std::string error;
    table_->Commit(&error); // fails, and says why
    *failure = WriteFailure(table_->path(), error);
    return false;
}

bool Outputs::Finish(const std::array<std::string, kLineCount> &totals, const std::array<bool, kLineCount> &overflow,
                     std::vector<std::string> &written, Message *failure)
{
    std::string error;
    if (xlsx_ && options_.summary) {
        xlsx_->BeginRow();
        xlsx_->Text("المجموع");
        for (std::size_t i = 1; i < plan_.layout.carried.size() + kInputCount; ++i) xlsx_->Skip();
        for (std::size_t k = 0; k < kLineCount; ++k) {
            if (overflow[k]) xlsx_->Skip();
            else xlsx_->Amount(paydata::ReadAmount(totals[k])); // the total as shown
        }
    }
    auto put = [&](bool done, const std::string &path) {
        if (done) written.push_back(path);
        else *failure = WriteFailure(path, error);
        return done;
    };
    // The outputs most likely to fail go in place first, so that a failure
    // leaves the others out too: the PDF, then the spreadsheet (read back
    // before it goes in place), the table, the error list.
    if (pdf_ && !put(pdf_->Finish(&error), options_.pdf)) return false;
    if (xlsx_ && !put(xlsx_->Finish(&error), xlsx_->path())) return false;
    if (table_ && !put(table_->Commit(&error), table_->path())) return false;
    return !errors_ || put(errors_->Commit(&error), errors_->path());
}

void Outputs::Discard()
{
    table_.reset();
    xlsx_.reset();
    errors_.reset();
    pdf_.reset();
}

} // namespace batch
