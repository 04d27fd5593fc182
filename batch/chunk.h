// One chunk of rows on its way from the reader through a worker to the
// writer, and the plan every worker follows, fixed for the run.
// Data only: nothing is read, computed or written here.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "batch/batch.h"
#include "batch/columns.h"
#include "batch/csv_reader.h"
#include "batch/row_reader.h"
#include "paycalc/slip.h"

namespace batch {

inline constexpr std::size_t kLineCount = kTableLines.size();

// The CSV the batch writes: the staff list's own separator and line end.
struct CsvStyle {
    char separator = ',';
    std::string_view lineEnd = "\n";
};

struct Row {
    RowState state = RowState::Empty;
    std::size_t firstRefusal = 0;
    std::size_t refusalCount = 0;
    paycalc::Slip slip;
    std::array<double, kLineCount> values{};
};

struct Chunk {
    std::size_t sequence = 0;
    RecordBatch records;
    std::vector<Row> rows;
    std::vector<Refusal> refusals;
    std::string csv;  // the table's lines of the computed rows
    std::string json; // their JSON Lines
    Message failure;

    void Reset()
    {
        records.clear();
        refusals.clear();
        csv.clear();
        json.clear();
        failure = {};
    }
};

// What every worker needs to know, fixed for the run.
struct Plan {
    const Options *options = nullptr;
    std::vector<std::string> header;
    Layout layout;
    CsvStyle style;
    bool csv = false;    // format the table's CSV lines
    bool values = false; // read back every line's amount (totals, spreadsheet)
};

} // namespace batch
