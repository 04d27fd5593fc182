#include "batch/xlsx_table.h"
#include "batch/file_system.h"

#include <xlsxwriter.h>
#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

namespace batch {

namespace {

constexpr unsigned kSheetRows = 1048576; // the most rows a sheet holds
constexpr const char *kSheetName = "xl/worksheets/sheet1.xml";

std::uint32_t Le(const unsigned char *p, int bytes)
{
    std::uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i) value = (value << 8) | p[i];
    return value;
}

struct FileCloser {
    void operator()(std::FILE *f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

bool ReadAt(std::FILE *f, long offset, unsigned char *into, std::size_t size)
{
    return std::fseek(f, offset, SEEK_SET) == 0 && std::fread(into, 1, size, f) == size;
}

// The library writes a constant-memory sheet through a working file whose
// write errors it does not report: a full disk leaves a sheet cut short in a
// file it calls complete. So the sheet is read back from the finished
// archive: it must hold its last row and its end tag.
bool SheetIsComplete(const std::string &path, unsigned lastRow)
{
    File f(fs::OpenForReading(path));
    if (!f || std::fseek(f.get(), 0, SEEK_END) != 0) return false;
    const long size = std::ftell(f.get());
    if (size < 22) return false;
    // The end-of-directory record, within the last 64 KiB (its comment's limit).
    const long tail = std::min<long>(size, 65557);
    std::vector<unsigned char> end(static_cast<std::size_t>(tail));
    if (!ReadAt(f.get(), size - tail, end.data(), end.size())) return false;
    long eocd = -1;
    for (long i = tail - 22; i >= 0; --i) {
        if (Le(&end[static_cast<std::size_t>(i)], 4) == 0x06054b50) {
            eocd = i;
            break;
        }
    }
    if (eocd < 0) return false;
    const unsigned char *e = &end[static_cast<std::size_t>(eocd)];
    const std::uint32_t entries = Le(e + 10, 2), dirSize = Le(e + 12, 4), dirOffset = Le(e + 16, 4);
    std::vector<unsigned char> dir(dirSize);
    if (!ReadAt(f.get(), static_cast<long>(dirOffset), dir.data(), dir.size())) return false;
    std::size_t at = 0;
    long local = -1;
    std::uint32_t method = 0;
    for (std::uint32_t n = 0; n < entries && at + 46 <= dir.size(); ++n) {
        const unsigned char *c = &dir[at];
        if (Le(c, 4) != 0x02014b50) return false;
        const std::uint32_t nameLength = Le(c + 28, 2), extra = Le(c + 30, 2), comment = Le(c + 32, 2);
        if (at + 46 + nameLength > dir.size()) return false;
        const std::string name(reinterpret_cast<const char *>(c + 46), nameLength);
        if (name == kSheetName) {
            method = Le(c + 10, 2);
            local = static_cast<long>(Le(c + 42, 4));
        }
        at += 46 + nameLength + extra + comment;
    }
    if (local < 0 || (method != 0 && method != 8)) return false;
    unsigned char header[30];
    if (!ReadAt(f.get(), local, header, sizeof header) || Le(header, 4) != 0x04034b50) return false;
    if (std::fseek(f.get(), local + 30 + static_cast<long>(Le(header + 26, 2) + Le(header + 28, 2)), SEEK_SET) != 0)
        return false;

    z_stream z{};
    if (method == 8 && inflateInit2(&z, -MAX_WBITS) != Z_OK) return false;
    std::vector<unsigned char> in(1 << 16), out(1 << 16);
    std::string window; // the end of the text read so far
    unsigned seenRow = 0;
    bool finished = false;
    auto take = [&](const unsigned char *bytes, std::size_t n) {
        window.append(reinterpret_cast<const char *>(bytes), n);
        // The last complete row tag in view.
        const std::string tag = "<row r=\"";
        for (auto p = window.rfind(tag); p != std::string::npos;) {
            const auto q = window.find('"', p + tag.size());
            if (q == std::string::npos) {
                p = p == 0 ? std::string::npos : window.rfind(tag, p - 1);
                continue;
            }
            seenRow = static_cast<unsigned>(std::strtoul(window.c_str() + p + tag.size(), nullptr, 10));
            break;
        }
        if (window.size() > 64) window.erase(0, window.size() - 64);
    };
    while (!finished) {
        const std::size_t got = std::fread(in.data(), 1, in.size(), f.get());
        if (got == 0) break;
        if (method == 0) {
            take(in.data(), got);
            continue;
        }
        z.next_in = in.data();
        z.avail_in = static_cast<uInt>(got);
        while (z.avail_in > 0 && !finished) {
            z.next_out = out.data();
            z.avail_out = static_cast<uInt>(out.size());
            const int status = inflate(&z, Z_NO_FLUSH);
            if (status != Z_OK && status != Z_STREAM_END) {
                inflateEnd(&z);
                return false;
            }
            take(out.data(), out.size() - z.avail_out);
            if (status == Z_STREAM_END) finished = true;
        }
    }
    if (method == 8) {
        inflateEnd(&z);
        if (!finished) return false;
    }
    while (!window.empty() && (window.back() == '\n' || window.back() == '\r')) window.pop_back();
    return seenRow == lastRow && window.ends_with("</worksheet>");
}

} // namespace

XlsxTable::XlsxTable(std::string path) : file_(std::move(path)) { folder_ = fs::Folder(file_.path()); }

XlsxTable::~XlsxTable()
{
    // A workbook never closed is freed without writing anything.
    if (book_) lxw_workbook_free(book_);
}

void XlsxTable::Check(int status)
{
    if (status != LXW_NO_ERROR && status_ == LXW_NO_ERROR) status_ = status;
}

bool XlsxTable::Open(const std::vector<std::string> &header, std::string *error)
{
    if (!file_.Open(error) || !file_.ReleaseForWriter(error)) return false;
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    options.tmpdir = folder_.data(); // its working files beside the target, not in /tmp
    // A sheet of a million rows stays below the 4 GiB of a plain archive, and
    // the plain form is what the read-back check understands.
    options.use_zip64 = LXW_FALSE;
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

bool XlsxTable::Finish(std::string *error)
{
    if (status_ != LXW_NO_ERROR) {
        if (error) {
            *error = "cannot write " + file_.path() + ": ";
            *error += row_ >= kSheetRows ? "more rows than a sheet holds (1,048,576)"
                                         : lxw_strerror(static_cast<lxw_error>(status_));
        }
        file_.Discard();
        return false;
    }
    lxw_workbook *book = book_;
    book_ = nullptr;
    const lxw_error closed = workbook_close(book);
    if (closed != LXW_NO_ERROR) {
        if (error) *error = "cannot write " + file_.path() + ": " + lxw_strerror(closed);
        file_.Discard();
        return false;
    }
    if (!SheetIsComplete(file_.TempPath(), row_ + 1)) {
        if (error) *error = "cannot write " + file_.path() + ": the sheet was not written whole (is the disk full?)";
        file_.Discard();
        return false;
    }
    return file_.CommitWritten(error);
}

} // namespace batch
