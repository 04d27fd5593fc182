#include "batch/xlsx_table.h"

#include <xlsxwriter.h>

namespace batch {

namespace {

constexpr unsigned kSheetRows = 1048576; // the most rows a sheet holds

} // namespace

XlsxTable::XlsxTable(std::string path) : file_(std::move(path))
{
    const auto slash = file_.path().find_last_of('/');
    folder_ = slash == std::string::npos ? "." : slash == 0 ? "/" : file_.path().substr(0, slash);
}

XlsxTable::~XlsxTable()
{
    // A workbook never closed is freed without writing anything.
    if (book_) lxw_workbook_free(book_);
}

void XlsxTable::Check(int status)
{
    if (status != LXW_NO_ERROR && status_ == LXW_NO_ERROR) status_ = status;
}

bool XlsxTable::Open(const std::vector<std::string>& header, std::string* error)
{
    if (!file_.Open(error) || !file_.ReleaseForWriter(error)) return false;
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    options.tmpdir = folder_.data(); // its working files beside the target, not in /tmp
    options.use_zip64 = LXW_TRUE;
    book_ = workbook_new_opt(file_.TempPath().c_str(), &options);
    if (!book_) {
        file_.Discard();
        if (error) *error = "cannot write " + file_.path();
        return false;
    }
    sheet_ = workbook_add_worksheet(book_, nullptr);
    amount_ = workbook_add_format(book_);
    format_set_num_format(amount_, "0.00");
    bold_ = workbook_add_format(book_);
    format_set_bold(bold_);
    worksheet_right_to_left(sheet_);
    worksheet_freeze_panes(sheet_, 1, 0);
    Check(worksheet_set_column(sheet_, 0, static_cast<lxw_col_t>(header.size() ? header.size() - 1 : 0), 14, nullptr));
    for (std::size_t i = 0; i < header.size(); ++i)
        Check(worksheet_write_string(sheet_, 0, static_cast<lxw_col_t>(i), header[i].c_str(), bold_));
    row_ = 0;
    return true;
}

void XlsxTable::BeginRow()
{
    ++row_;
    column_ = 0;
    if (row_ >= kSheetRows) Check(LXW_ERROR_WORKSHEET_INDEX_OUT_OF_RANGE);
}

void XlsxTable::Text(std::string_view text)
{
    if (row_ < kSheetRows && !text.empty()) {
        cell_.assign(text);
        Check(worksheet_write_string(sheet_, row_, column_, cell_.c_str(), nullptr));
    }
    ++column_;
}

void XlsxTable::Number(double value)
{
    if (row_ < kSheetRows) Check(worksheet_write_number(sheet_, row_, column_, value, nullptr));
    ++column_;
}

void XlsxTable::Amount(double value)
{
    if (row_ < kSheetRows) Check(worksheet_write_number(sheet_, row_, column_, value, amount_));
    ++column_;
}

void XlsxTable::Skip() { ++column_; }

bool XlsxTable::Finish(std::string* error)
{
    if (status_ != LXW_NO_ERROR) {
        if (error) {
            *error = "cannot write " + file_.path() + ": ";
            *error += row_ >= kSheetRows ? "more rows than a sheet holds (1,048,576)" : lxw_strerror(static_cast<lxw_error>(status_));
        }
        file_.Discard();
        return false;
    }
    lxw_workbook* book = book_;
    book_ = nullptr;
    const lxw_error closed = workbook_close(book);
    if (closed != LXW_NO_ERROR) {
        if (error) *error = "cannot write " + file_.path() + ": " + lxw_strerror(closed);
        file_.Discard();
        return false;
    }
    return file_.CommitWritten(error);
}

} // namespace batch
