// The outputs of a run: the table as CSV or a spreadsheet, JSON Lines, the
// PDF book and the error list, each row formatted as the outputs write it.
// No pay rule here: every amount comes from a slip computed by RecalculateAll;
// nothing is written to its place before the whole run is done.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "batch/chunk.h"

namespace batch {

class AtomicFile;
class PdfBook;
class XlsxTable;

// A computed row as a line of the table (CSV) and as a JSON object: the
// carried cells, the situation as read, the slip's lines.
void AppendCsvRow(std::string &out, const Plan &plan, const RecordBatch &records, const RecordBatch::Record &record,
                  const paycalc::Slip &slip);
void AppendJsonRow(std::string &out, const Plan &plan, const RecordBatch &records, const RecordBatch::Record &record,
                   const paycalc::Slip &slip);

// Whether the table named is a spreadsheet (its name ends in .xlsx, in any case).
bool IsSpreadsheetName(std::string_view path);

// The files of one run, opened before the first row, written by the calling
// thread in input order, and put in place at the end (Finish) or removed.
class Outputs {
public:
    Outputs(const Options &options, const Plan &plan);
    ~Outputs(); // removes whatever was not put in place
    Outputs(const Outputs &) = delete;
    Outputs &operator=(const Outputs &) = delete;

    // Opens every output the options name. False, with why, at the first
    // that cannot be opened.
    bool Open(const CsvFormat &format, Message *failure);
    // A problem of a row, on the error list.
    void WriteRefusal(const Refusal &r);
    // A computed row: its spreadsheet row and its PDF page.
    void WriteComputed(const Chunk &chunk, const RecordBatch::Record &record, const Row &row);
    // The chunk's lines of the CSV table. False, with why, when they cannot be written.
    bool WriteTable(const std::string &csv, Message *failure);
    // The totals row of the spreadsheet (with options.summary), then every
    // file put in place, each added to `written`. False, with why, at the
    // first that cannot be.
    bool Finish(const std::array<std::string, kLineCount> &totals, const std::array<bool, kLineCount> &overflow,
                std::vector<std::string> &written, Message *failure);
    // Nothing goes in place: the temporaries are removed.
    void Discard();

private:
    const Options &options_;
    const Plan &plan_;
    std::unique_ptr<AtomicFile> table_;
    std::unique_ptr<XlsxTable> xlsx_;
    std::unique_ptr<AtomicFile> errors_;
    std::unique_ptr<PdfBook> pdf_;
    std::string errorLines_;
};

} // namespace batch
