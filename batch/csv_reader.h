// Reads a staff list as spreadsheets save it, through libcsv: UTF-8 with or
// without a byte-order mark, comma or semicolon separated (decided from the
// header line), CRLF or LF line ends, quoted cells with doubled quotes, a
// quoted cell may span lines. Every record keeps the number of the line it
// starts on (the header is line 1); lines with nothing on them are counted
// and skipped.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

struct csv_parser;

namespace batch {

struct CsvFormat {
    char separator = ',';
    bool bom = false;  // the file started with a UTF-8 byte-order mark
    bool crlf = false; // the header line ended with CR LF
};

// Records read in one go: the cells' bytes one after another, and where each
// record's cells are.
struct RecordBatch {
    enum class Flaw : std::uint8_t {
        None,
        BadQuotes,     // a quote inside an unquoted cell, or text right after a closing quote
        UnclosedQuote, // a quoted cell still open at the end of the file
    };
    struct Record {
        std::uint64_t line = 0;
        std::size_t firstCell = 0;
        std::size_t cellCount = 0;
        Flaw flaw = Flaw::None;
    };

    std::string text;
    std::vector<std::size_t> cellEnds; // end of cell i in text; cell i starts where cell i-1 ends
    std::vector<Record> records;

    void clear()
    {
        text.clear();
        cellEnds.clear();
        records.clear();
    }
    std::string_view Cell(const Record &r, std::size_t i) const
    {
        const std::size_t index = r.firstCell + i;
        const std::size_t begin = index == 0 ? 0 : cellEnds[index - 1];
        return std::string_view(text).substr(begin, cellEnds[index] - begin);
    }
};

class CsvReader {
public:
    CsvReader();
    ~CsvReader();
    CsvReader(const CsvReader &) = delete;
    CsvReader &operator=(const CsvReader &) = delete;

    // Opens the file and reads its header line (line 1), deciding the
    // separator from it. False, with the reason naming the file, when the
    // file cannot be read or has no header.
    bool Open(const std::string &path, std::string *error);
    const std::vector<std::string> &header() const { return header_; }
    const CsvFormat &format() const { return format_; }

    enum class Status { More, End, Error };
    // Appends up to `maxRecords` records to `out`; End once the file is
    // finished, Error (with the reason) when it cannot be read.
    Status Read(RecordBatch &out, std::size_t maxRecords, std::string *error);

    // The reason of the last failure of Open or Read in the window's Arabic
    // words (the English one goes to `error`).
    const std::string &arabicError() const { return arabicError_; }

    std::uint64_t emptyLines() const { return emptyLines_; }

    // Parser callbacks.
    void OnCell(const void *bytes, std::size_t size);
    void OnRecordEnd();

private:
    bool Fill(std::string *error); // reads more bytes; false on a read error
    void Feed(std::string_view line, bool lineEnds);
    void ResetParser();
    void FinishFile();
    void RefuseRecord(RecordBatch::Flaw flaw);
    bool Fail(std::string *error, std::string english, std::string arabic);

    std::string path_;
    std::FILE *file_ = nullptr;
    csv_parser *parser_ = nullptr;
    bool parserReady_ = false;
    CsvFormat format_;
    std::vector<std::string> header_;
    std::string arabicError_;

    std::string buffer_;
    std::size_t pos_ = 0;
    bool eof_ = false;
    bool finished_ = false;

    RecordBatch *out_ = nullptr;
    std::uint64_t line_ = 1;          // the line the next byte fed belongs to
    bool atRecordStart_ = true;       // no byte of the next record fed yet
    std::uint64_t recordLine_ = 1;    // the line the record being read started on
    std::size_t recordFirstCell_ = 0; // its first cell in out_
    std::uint64_t emptyLines_ = 0;
};

} // namespace batch
