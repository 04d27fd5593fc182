// The slips as a spreadsheet, through libxlsxwriter: one right-to-left sheet,
// the header row frozen in view, amounts as numbers shown with two decimals.
// Rows are streamed to disk as they come (the library's constant-memory
// mode) and the file is put in place atomically.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "batch/atomic_file.h"

struct lxw_workbook;
struct lxw_worksheet;
struct lxw_format;

namespace batch {

class XlsxTable {
public:
    explicit XlsxTable(std::string path);
    ~XlsxTable();
    XlsxTable(const XlsxTable &) = delete;
    XlsxTable &operator=(const XlsxTable &) = delete;

    bool Open(const std::vector<std::string> &header, std::string *error);
    // The cells of the next row, left to right in the header's order.
    void BeginRow();
    void Text(std::string_view text);
    void Number(double value); // a count, shown as is
    void Amount(double value); // shown with two decimals
    void Skip();               // an empty cell
    // Closes the workbook and puts the file in place.
    bool Finish(std::string *error);
    const std::string &path() const { return file_.path(); }

private:
    void Check(int status);

    AtomicFile file_;
    lxw_workbook *book_ = nullptr;
    lxw_worksheet *sheet_ = nullptr;
    lxw_format *amount_ = nullptr;
    lxw_format *bold_ = nullptr;
    std::string folder_;
    unsigned row_ = 0;
    unsigned short column_ = 0;
    int status_ = 0; // the first error the library reported
    std::string cell_;
};

} // namespace batch
