// Cells to a situation: one record of the staff list checked (its quoting,
// its cell count, UTF-8 text without control characters) and its situation
// cells read by the columns' rules (ReadCell).
// No pay rule and no output here: the slip is computed by the pipeline's
// workers, and the refusals found are only handed back.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "batch/columns.h"
#include "batch/csv_reader.h"
#include "paycalc/recalculate.h"
#include "paycalc/slip.h"

namespace batch {

enum class RowState : std::uint8_t {
    Read,    // the situation is the row's (in a chunk: and its slip computed)
    Refused, // at least one problem was found
    Empty,   // only separators and blanks: an empty line of the spreadsheet
};

class RowReader {
public:
    RowReader(const std::vector<std::string> &header, const Layout &layout, bool asTyped)
        : header_(header), layout_(layout), asTyped_(asTyped)
    {
    }

    // Reads one record into `s`, appending every problem found to
    // `refusals` in the order found.
    RowState Read(const RecordBatch &records, const RecordBatch::Record &record, paycalc::Situation &s,
                  std::vector<Refusal> &refusals) const;

    // The refusal of a row whose slip cannot be computed: at the typed cell
    // the failure was reading, when the staff list has that column.
    Refusal ComputeRefusal(const RecordBatch &records, const RecordBatch::Record &record,
                           const paycalc::RecalcError &e) const;

private:
    const std::vector<std::string> &header_;
    const Layout &layout_;
    bool asTyped_;
};

} // namespace batch
