// The window's first look at a staff list: its columns, what each one is, and
// its first rows as read.
#include "batch/batch.h"

namespace batch {

Preview ReadPreview(const std::string &path, std::size_t rowCount)
{
    Preview p;
    CsvReader reader;
    Layout layout;
    Message problem = OpenStaffList(path, reader, layout);
    p.header = reader.header();
    if (!problem.empty()) {
        p.error = std::move(problem.english);
        p.arabicError = std::move(problem.arabic);
        return p;
    }
    p.defaulted = DefaultedColumns(layout);
    for (std::size_t i = 0; i < p.header.size(); ++i) p.arabicRoles.push_back(ArabicRole(layout, i));
    RecordBatch records;
    std::string error;
    if (rowCount && reader.Read(records, rowCount, &error) == CsvReader::Status::Error) {
        p.error = error;
        p.arabicError = reader.arabicError();
        return p;
    }
    for (const RecordBatch::Record &r : records.records) {
        p.lines.push_back(r.line);
        std::vector<std::string> cells;
        for (std::size_t i = 0; i < r.cellCount; ++i) cells.emplace_back(records.Cell(r, i));
        p.rows.push_back(std::move(cells));
    }
    p.ok = true;
    return p;
}

} // namespace batch
