#include "batch/csv_reader.h"
#include "batch/file_system.h"

#include <csv.h>

#include <cerrno>
#include <cstring>
#include <utility>

#include "paydata/text_rules.h"

namespace batch {

namespace {

constexpr std::size_t kReadSize = 1 << 20;
constexpr unsigned char kOptions = CSV_STRICT | CSV_STRICT_FINI;

void CellCallback(void *bytes, std::size_t size, void *reader)
{
    static_cast<CsvReader *>(reader)->OnCell(bytes, size);
}

void RecordCallback(int /*terminator*/, void *reader) { static_cast<CsvReader *>(reader)->OnRecordEnd(); }

// Nothing is trimmed by the parser: a carried cell goes out exactly as it
// came in, and the situation cells are trimmed where they are read.
int NoSpace(unsigned char) { return 0; }

// The separator of the header line: the more frequent of ';' and ',' outside
// quotes (a single-column file has neither and reads as comma separated).
char DetectSeparator(std::string_view line)
{
    std::size_t semicolons = 0, commas = 0;
    bool quoted = false;
    for (char c : line) {
        if (c == '"') quoted = !quoted;
        else if (!quoted && c == ';') ++semicolons;
        else if (!quoted && c == ',') ++commas;
    }
    return semicolons > commas ? ';' : ',';
}

} // namespace

CsvReader::CsvReader() : parser_(new csv_parser{}) {}

CsvReader::~CsvReader()
{
    if (parserReady_) csv_free(parser_);
    delete parser_;
    if (file_) std::fclose(file_);
}

void CsvReader::ResetParser()
{
    if (parserReady_) csv_free(parser_);
    parserReady_ = true;
    csv_init(parser_, kOptions);
    csv_set_delim(parser_, static_cast<unsigned char>(format_.separator));
    csv_set_space_func(parser_, NoSpace);
}

void CsvReader::OnCell(const void *bytes, std::size_t size)
{
    if (size) out_->text.append(static_cast<const char *>(bytes), size);
    out_->cellEnds.push_back(out_->text.size());
}

void CsvReader::OnRecordEnd()
{
    RecordBatch::Record r;
    r.line = recordLine_;
    r.firstCell = recordFirstCell_;
    r.cellCount = out_->cellEnds.size() - recordFirstCell_;
    out_->records.push_back(r);
    recordFirstCell_ = out_->cellEnds.size();
    atRecordStart_ = true;
}

bool CsvReader::Fill(std::string *error)
{
    if (eof_) return true;
    if (pos_ > 0) {
        buffer_.erase(0, pos_);
        pos_ = 0;
    }
    const std::size_t old = buffer_.size();
    buffer_.resize(old + kReadSize);
    const std::size_t got = std::fread(buffer_.data() + old, 1, kReadSize, file_);
    buffer_.resize(old + got);
    if (got < kReadSize) {
        if (std::ferror(file_)) {
            const std::string why = std::strerror(errno ? errno : EIO);
            return Fail(error, "cannot read " + path_ + ": " + why, "تعذرت قراءة الملف " + path_ + ": " + why);
        }
        eof_ = true;
    }
    return true;
}

// Feeds one physical line (with its line end when it has one) to the parser.
void CsvReader::Feed(std::string_view line, bool lineEnds)
{
    if (atRecordStart_) {
        std::string_view content = line;
        if (!content.empty() && content.back() == '\n') content.remove_suffix(1);
        if (!content.empty() && content.back() == '\r') content.remove_suffix(1);
        if (content.empty()) {
            if (lineEnds) {
                ++emptyLines_;
                ++line_;
            }
            return;
        }
        atRecordStart_ = false;
        recordLine_ = line_;
        recordFirstCell_ = out_->cellEnds.size();
    }
    const std::size_t used = csv_parse(parser_, line.data(), line.size(), CellCallback, RecordCallback, this);
    if (used < line.size()) {
        // A badly quoted cell: the record is refused whole, and reading goes
        // on at the next line with a fresh parser.
        RefuseRecord(RecordBatch::Flaw::BadQuotes);
        ResetParser();
        atRecordStart_ = true;
    }
    if (lineEnds) ++line_;
}

// Drops the cells read of the record in progress and keeps it as a refused
// record with its flaw, so that its line is still accounted for.
void CsvReader::RefuseRecord(RecordBatch::Flaw flaw)
{
    out_->cellEnds.resize(recordFirstCell_);
    out_->text.resize(recordFirstCell_ == 0 ? 0 : out_->cellEnds.back());
    RecordBatch::Record r;
    r.line = recordLine_;
    r.firstCell = recordFirstCell_;
    r.flaw = flaw;
    out_->records.push_back(r);
}

bool CsvReader::Fail(std::string *error, std::string english, std::string arabic)
{
    if (error) *error = std::move(english);
    arabicError_ = std::move(arabic);
    return false;
}

void CsvReader::FinishFile()
{
    if (finished_) return;
    finished_ = true;
    if (csv_fini(parser_, CellCallback, RecordCallback, this) != 0) {
        RefuseRecord(RecordBatch::Flaw::UnclosedQuote);
        atRecordStart_ = true;
    }
}

CsvReader::Status CsvReader::Read(RecordBatch &out, std::size_t maxRecords, std::string *error)
{
    out_ = &out;
    recordFirstCell_ = out.cellEnds.size();
    const std::size_t goal = out.records.size() + maxRecords;
    while (out.records.size() < goal) {
        if (finished_) return Status::End;
        const std::size_t end = buffer_.find('\n', pos_);
        if (end == std::string::npos) {
            if (!eof_) {
                if (!Fill(error)) return Status::Error;
                continue;
            }
            // The last line, without a line end.
            if (pos_ < buffer_.size()) Feed(std::string_view(buffer_).substr(pos_), false);
            pos_ = buffer_.size();
            FinishFile();
            continue;
        }
        Feed(std::string_view(buffer_).substr(pos_, end + 1 - pos_), true);
        pos_ = end + 1;
    }
    return finished_ ? Status::End : Status::More;
}

bool CsvReader::Open(const std::string &path, std::string *error)
{
    path_ = path;
    file_ = fs::OpenForReading(path);
    if (!file_) {
        const std::string why = std::strerror(errno);
        return Fail(error, "cannot read " + path + ": " + why, "تعذرت قراءة الملف " + path + ": " + why);
    }
    // The whole first line, to find the byte-order mark, the separator and the line end.
    while (buffer_.find('\n') == std::string::npos && !eof_)
        if (!Fill(error)) return false;
    if (std::string_view(buffer_).starts_with("\xEF\xBB\xBF")) {
        format_.bom = true;
        pos_ = 3;
    }
    const std::size_t end = buffer_.find('\n', pos_);
    std::string_view first = std::string_view(buffer_).substr(pos_, end == std::string::npos ? std::string::npos
                                                                                             : end - pos_);
    if (!first.empty() && first.back() == '\r') {
        format_.crlf = true;
        first.remove_suffix(1);
    }
    if (first.empty())
        return Fail(error, path + ": line 1 must name the columns, and it is empty",
                    path + ": السطر 1 فارغ، وعليه أن يسمي الأعمدة");
    format_.separator = DetectSeparator(first);
    ResetParser();

    RecordBatch head;
    if (Read(head, 1, error) == Status::Error) return false;
    if (head.records.empty() || head.records[0].flaw != RecordBatch::Flaw::None)
        return Fail(error, path + ": line 1, the header, is not a readable line of column names",
                    path + ": السطر 1، سطر العنوان، ليس سطر أسماء أعمدة مقروءا");
    const RecordBatch::Record &r = head.records[0];
    for (std::size_t i = 0; i < r.cellCount; ++i) {
        std::string_view cell = head.Cell(r, i);
        if (!paydata::IsUtf8(cell))
            return Fail(error, path + ": line 1, the header, is not UTF-8 text",
                        path + ": السطر 1، سطر العنوان، ليس نصا بترميز UTF-8");
        // A column name is one line of text, without control characters.
        if (auto found = paydata::FindControlCharacter(cell, paydata::LineBreaks::Refused)) {
            const std::string code = paydata::CodeName(found->code);
            const std::string column = std::to_string(i + 1);
            return Fail(error, path + ": line 1, the header: column " + column + " holds the control character " + code,
                        path + ": السطر 1، سطر العنوان: في العمود " + column + " محرف التحكم " + code);
        }
    }
    for (std::size_t i = 0; i < r.cellCount; ++i) header_.emplace_back(head.Cell(r, i)); // none of a refused header
    return true;
}

} // namespace batch
