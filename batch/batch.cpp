#include "batch/batch.h"
#include "batch/file_system.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <filesystem>
#include <iomanip>
#include <map>
#include <memory>
#include <mutex>
#include <nlohmann/json.hpp>
#include <optional>
#include <ostream>
#include <sstream>
#include <thread>

#include "batch/atomic_file.h"
#include "batch/pdf_book.h"
#include "batch/xlsx_table.h"
#include "paydata/amount.h"
#include "paydata/text_rules.h"

namespace batch {

namespace {

using paycalc::Field;
using Clock = std::chrono::steady_clock;

constexpr std::size_t kChunkRows = 1024;
constexpr std::size_t kLineCount = kTableLines.size();

// ---- Writing CSV ----

void AppendCell(std::string& out, std::string_view cell, char separator)
{
    bool quote = false;
    for (char c : cell) {
        if (c == separator || c == '"' || c == '\n' || c == '\r') {
            quote = true;
            break;
        }
    }
    if (!quote) {
        out.append(cell);
        return;
    }
    out += '"';
    for (char c : cell) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
}

struct CsvStyle {
    char separator = ',';
    std::string_view lineEnd = "\n";
};

void AppendLine(std::string& out, const std::vector<std::string>& cells, const CsvStyle& style)
{
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i) out += style.separator;
        AppendCell(out, cells[i], style.separator);
    }
    out.append(style.lineEnd);
}

// ---- One chunk of rows, from the reader through a worker to the writer ----

enum class RowState : std::uint8_t { Computed, Refused, Empty };

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
    const Options* options = nullptr;
    std::vector<std::string> header;
    Layout layout;
    CsvStyle style;
    bool csv = false;    // format the table's CSV lines
    bool values = false; // read back every line's amount (totals, spreadsheet)
};

Message FlawMessage(RecordBatch::Flaw flaw)
{
    switch (flaw) {
    case RecordBatch::Flaw::BadQuotes:
        return {"badly quoted: a quote inside an unquoted cell, or text right after a closing quote",
                "علامات الاقتباس في غير موضعها: علامة \" داخل خلية غير مقتبسة، أو نص بعد علامة الاقتباس الخاتمة"};
    case RecordBatch::Flaw::UnclosedQuote:
        return {"a quoted cell is not closed before the end of the file",
                "خلية مقتبسة لم تغلق علامة اقتباسها قبل نهاية الملف"};
    case RecordBatch::Flaw::None: break;
    }
    return {};
}

Message CellCountMessage(std::size_t cells, std::size_t headerCells)
{
    return {"the row has " + std::to_string(cells) + (cells == 1 ? " cell" : " cells") + " where the header has " +
                std::to_string(headerCells),
            "عدد خلايا السطر " + std::to_string(cells) + " والعنوان فيه " + std::to_string(headerCells)};
}

Message NotUtf8Message() { return {"the cell is not UTF-8 text", "نص الخلية ليس بترميز UTF-8"}; }

Message ControlMessage(const paydata::ControlCharacter& found)
{
    const std::string code = paydata::CodeName(found.code);
    const std::string at = std::to_string(found.position);
    return {"the cell holds the control character " + code + " at character " + at,
            "في الخلية محرف التحكم " + code + " في الموضع " + at};
}

Message SingleWithChildrenMessage(int count)
{
    return {"a single employee has no children counted, not " + std::to_string(count),
            "الموظف الأعزب لا يحسب له أولاد، لا '" + std::to_string(count) + "'"};
}

// The line a user sees for a line of the slip: the hidden working fields
// show through the line they lead to.
Field ShownLine(Field line)
{
    if (line == Field::Text2000) return Field::Text17;
    if (line == Field::Text2001) return Field::Text21;
    return line;
}

std::string ArabicTitle(Field f)
{
    std::string title = paycalc::FieldTitle(f);
    if (title.empty()) title = std::string(paycalc::FieldName(f));
    return "«" + title + "»";
}

// Why a slip cannot be computed, in the window's words: the typed value that
// cannot be read, or the line that cannot be computed (and the field it was
// reading).
std::string ArabicComputeMessage(const paycalc::RecalcError& e)
{
    using paydata::FailureKind;
    std::string text = "تعذر حساب الكشف: ";
    const std::optional<Field> source = e.source();
    if (source && paycalc::IsTypedField(*source)) {
        text += "القيمة المكتوبة في " + ArabicTitle(*source) + " ";
        switch (e.kind()) {
        case FailureKind::Overflow: return text + "كبيرة جدا";
        case FailureKind::InvalidOperation:
        case FailureKind::DivisionByZero: return text + "لا تعطي نتيجة صحيحة";
        case FailureKind::NoSuchRow: break;
        }
        return text + "غير موجودة في الجداول";
    }
    text += "بند " + ArabicTitle(ShownLine(e.step())) + " ";
    switch (e.kind()) {
    case FailureKind::Overflow: text += "يتجاوز حدود الحساب"; break;
    case FailureKind::InvalidOperation:
    case FailureKind::DivisionByZero: text += "لا يعطي نتيجة صحيحة"; break;
    case FailureKind::NoSuchRow: text += "يطلب سطرا غير موجود في الجداول"; break;
    }
    if (source) text += " عند قراءة " + ArabicTitle(*source);
    return text;
}

Message ComputeMessage(const paycalc::RecalcError& e)
{
    return {paycalc::Describe(e), ArabicComputeMessage(e)};
}

// A file that cannot be written, in the window's words. The writers' English
// reasons read "cannot write PATH: why"; the system's own reason is kept.
std::string ArabicWriteFailure(const std::string& path, const std::string& english)
{
    const std::string lead = "cannot write " + path;
    if (english.starts_with(lead)) return "تعذرت كتابة الملف " + path + english.substr(lead.size());
    return "تعذرت كتابة الملف " + path + ": " + english;
}

std::optional<Column> TypedColumn(Field f)
{
    switch (f) {
    case Field::Text10: return Column::Zone;
    case Field::Text11: return Column::Housing;
    case Field::Text20: return Column::Absence;
    case Field::Text23: return Column::Mark;
    default: return std::nullopt;
    }
}

class Worker {
public:
    explicit Worker(const Plan& plan) : plan_(plan) {}

    void Process(Chunk& chunk)
    {
        const std::size_t n = chunk.records.records.size();
        if (chunk.rows.size() < n) chunk.rows.resize(n);
        for (std::size_t i = 0; i < n; ++i) ProcessRow(chunk, chunk.records.records[i], chunk.rows[i]);
    }

private:
    void Refuse(Chunk& chunk, Row& row, std::uint64_t line, std::string column, std::string_view text,
                Message message)
    {
        if (row.state != RowState::Refused) {
            row.state = RowState::Refused;
            row.firstRefusal = chunk.refusals.size();
        }
        chunk.refusals.push_back(Refusal{line, std::move(column), std::string(text), std::move(message.english),
                                         std::move(message.arabic)});
        ++row.refusalCount;
    }

    void ProcessRow(Chunk& chunk, const RecordBatch::Record& record, Row& row)
    {
        row.state = RowState::Computed;
        row.refusalCount = 0;
        const RecordBatch& records = chunk.records;
        const std::vector<std::string>& header = plan_.header;
        if (record.flaw != RecordBatch::Flaw::None) {
            Refuse(chunk, row, record.line, {}, {}, FlawMessage(record.flaw));
            return;
        }
        bool blank = true;
        for (std::size_t c = 0; c < record.cellCount && blank; ++c)
            if (!Trim(records.Cell(record, c)).empty()) blank = false;
        if (blank) {
            // Only separators and blanks: an empty line of the spreadsheet.
            row.state = RowState::Empty;
            return;
        }
        if (record.cellCount != header.size()) {
            Refuse(chunk, row, record.line, {}, {}, CellCountMessage(record.cellCount, header.size()));
            return;
        }
        for (std::size_t c = 0; c < record.cellCount; ++c) {
            std::string_view cell = records.Cell(record, c);
            if (!IsUtf8(cell)) {
                Refuse(chunk, row, record.line, header[c], {}, NotUtf8Message());
                continue;
            }
            // No control character in a cell; a line break only inside a
            // quoted cell of a carried column, which is copied as it is.
            const auto breaks = plan_.layout.role[c] == Layout::Carried ? paydata::LineBreaks::Allowed
                                                                        : paydata::LineBreaks::Refused;
            if (auto found = paydata::FindControlCharacter(cell, breaks))
                Refuse(chunk, row, record.line, header[c], {}, ControlMessage(*found));
        }
        if (row.state == RowState::Refused) return;

        paycalc::Situation& s = situation_;
        s = paycalc::Situation{};
        const Layout& layout = plan_.layout;
        for (std::size_t k = 0; k < kColumnCount; ++k) {
            const int at = layout.where[k];
            if (at < 0) continue;
            const auto index = static_cast<std::size_t>(at);
            std::string_view cell = records.Cell(record, index);
            Message problem = ReadCell(static_cast<Column>(k), cell, plan_.options->asTyped, s);
            if (!problem.empty()) Refuse(chunk, row, record.line, header[index], cell, std::move(problem));
        }
        if (row.state == RowState::Refused) return;
        if (!s.married()) {
            // Picking "single" in the window sets both children counts to 0:
            // without a column for them, that is what a single row means.
            if (!layout.Has(Column::Children)) s.children = 0;
            if (!layout.Has(Column::OverTen)) s.overTen = 0;
            for (Column c : {Column::Children, Column::OverTen}) {
                const int count = c == Column::Children ? s.children : s.overTen;
                if (count == 0) continue;
                const auto index = static_cast<std::size_t>(layout.where[static_cast<std::size_t>(c)]);
                Refuse(chunk, row, record.line, header[index], records.Cell(record, index),
                       SingleWithChildrenMessage(count));
            }
            if (row.state == RowState::Refused) return;
        }

        computer_.Compute(s, row.slip);
        if (!row.slip.ok()) {
            const paycalc::RecalcError& e = *row.slip.error;
            std::string column;
            std::string_view text;
            if (auto source = e.source()) {
                if (auto typed = TypedColumn(*source); typed && layout.Has(*typed)) {
                    const auto index = static_cast<std::size_t>(layout.where[static_cast<std::size_t>(*typed)]);
                    column = header[index];
                    text = records.Cell(record, index);
                }
            }
            Refuse(chunk, row, record.line, std::move(column), text, ComputeMessage(e));
            return;
        }
        if (plan_.values)
            for (std::size_t i = 0; i < kLineCount; ++i) row.values[i] = paydata::ReadAmount(row.slip.Text(kTableLines[i]));
        if (plan_.csv) AppendCsv(chunk.csv, records, record, row.slip);
        if (plan_.options->json) AppendJson(chunk.json, records, record, row.slip);
    }

    void AppendCsv(std::string& out, const RecordBatch& records, const RecordBatch::Record& record,
                   const paycalc::Slip& slip)
    {
        const char sep = plan_.style.separator;
        bool first = true;
        auto next = [&] {
            if (!first) out += sep;
            first = false;
        };
        for (std::size_t index : plan_.layout.carried) {
            next();
            AppendCell(out, records.Cell(record, index), sep);
        }
        const paycalc::Situation& s = slip.situation;
        for (std::size_t k = 0; k < kColumnCount; ++k) {
            next();
            const auto c = static_cast<Column>(k);
            switch (c) {
            case Column::Zone: case Column::Housing: case Column::Absence: case Column::Mark:
                AppendCell(out, CellTextRef(c, s), sep);
                break;
            default: {
                const int value = NumberOf(c, s);
                if (value >= 0) {
                    char digits[8];
                    auto [end, ec] = std::to_chars(digits, digits + sizeof digits, value);
                    (void)ec;
                    out.append(digits, end);
                } else {
                    out += CellText(c, s);
                }
            }
            }
        }
        for (Field f : kTableLines) {
            next();
            out += slip.Text(f); // amounts: digits, a point and a sign, never quoted
        }
        out.append(plan_.style.lineEnd);
    }

    static const std::string& CellTextRef(Column c, const paycalc::Situation& s)
    {
        switch (c) {
        case Column::Zone: return s.zone;
        case Column::Housing: return s.housing;
        case Column::Absence: return s.absence;
        default: return s.mark;
        }
    }

    // The list values written as numbers; -1 for the words.
    static int NumberOf(Column c, const paycalc::Situation& s)
    {
        switch (c) {
        case Column::Category: return s.category;
        case Column::Echelon: return s.echelon;
        case Column::Post: return s.post;
        case Column::Children: return s.children;
        case Column::OverTen: return s.overTen;
        default: return -1;
        }
    }

    void AppendJson(std::string& out, const RecordBatch& records, const RecordBatch::Record& record,
                    const paycalc::Slip& slip)
    {
        nlohmann::ordered_json object;
        object["row"] = record.line;
        nlohmann::ordered_json columns = nlohmann::ordered_json::object();
        for (std::size_t index : plan_.layout.carried)
            columns[plan_.header[index]] = std::string(records.Cell(record, index));
        object["columns"] = std::move(columns);
        nlohmann::ordered_json lines = nlohmann::ordered_json::object();
        for (Field f : kTableLines) lines[std::string(paycalc::FieldName(f))] = slip.Text(f);
        object["slip"] = std::move(lines);
        out += object.dump();
        out += '\n';
    }

    const Plan& plan_;
    paycalc::SlipComputer computer_;
    paycalc::Situation situation_;
};

// ---- The outputs, written by the calling thread in input order ----

std::vector<std::string> TableHeader(const Plan& plan)
{
    std::vector<std::string> names;
    for (std::size_t index : plan.layout.carried) names.push_back(plan.header[index]);
    for (const ColumnNames& c : kColumnNames) names.emplace_back(c.name);
    for (Field f : kTableLines) names.emplace_back(paycalc::LineName(f));
    return names;
}

std::string FileStart(const CsvFormat& format) { return format.bom ? "\xEF\xBB\xBF" : ""; }

std::uint64_t CountLines(const std::string& path)
{
    std::FILE* f = fs::OpenForReading(path);
    if (!f) return 0;
    std::vector<char> block(1 << 20);
    std::uint64_t lines = 0;
    char last = '\n';
    for (std::size_t got; (got = std::fread(block.data(), 1, block.size(), f)) > 0;) {
        lines += static_cast<std::uint64_t>(std::count(block.data(), block.data() + got, '\n'));
        last = block[got - 1];
    }
    std::fclose(f);
    if (last != '\n') ++lines;
    return lines > 0 ? lines - 1 : 0; // the header is not a row
}

bool EndsWith(std::string_view text, std::string_view end)
{
    if (text.size() < end.size()) return false;
    for (std::size_t i = 0; i < end.size(); ++i) {
        char c = text[text.size() - end.size() + i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != end[i]) return false;
    }
    return true;
}

class Pipeline {
public:
    Pipeline(const Options& options, const Hooks& hooks) : options_(options), hooks_(hooks) {}

    Result Run();

private:
    bool OpenOutputs();
    void WriteChunk(Chunk& chunk);
    void WriteRefusal(const Refusal& r);
    void WriteXlsxRow(const Chunk& chunk, const RecordBatch::Record& record, const Row& row);
    void AddPdfPage(const Chunk& chunk, const RecordBatch::Record& record, const Row& row);
    bool FinishOutputs();
    void Fail(Message message)
    {
        if (!result_.error.empty()) return;
        result_.error = std::move(message.english);
        result_.arabicError = std::move(message.arabic);
    }
    // A file that cannot be written: the writer's reason, and the same in Arabic.
    void FailWriting(const std::string& path, const std::string& english)
    {
        Fail({english, ArabicWriteFailure(path, english)});
    }
    void ReportProgress(bool force);

    // Threads.
    void ReaderLoop();
    void WorkerLoop();

    const Options& options_;
    const Hooks& hooks_;
    Result result_;
    Plan plan_;
    CsvReader reader_;

    std::unique_ptr<AtomicFile> table_;
    std::unique_ptr<XlsxTable> xlsx_;
    std::unique_ptr<AtomicFile> errors_;
    std::unique_ptr<PdfBook> pdf_;
    std::array<double, kLineCount> totals_{};
    std::array<bool, kLineCount> overflow_{};
    std::string errorLines_;

    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::unique_ptr<Chunk>> pool_;
    std::deque<Chunk*> free_;
    std::deque<Chunk*> todo_;
    std::map<std::size_t, Chunk*> done_;
    bool readerDone_ = false;
    std::size_t chunkCount_ = 0;
    Message readError_;
    bool stop_ = false;

    Clock::time_point start_;
    Clock::time_point lastProgress_;
    std::uint64_t total_ = 0;
    std::uint64_t written_ = 0;
};

bool Pipeline::OpenOutputs()
{
    std::string error;
    const CsvFormat& format = reader_.format();
    if (!options_.errors.empty()) {
        errors_ = std::make_unique<AtomicFile>(options_.errors);
        if (!errors_->Open(&error)) return FailWriting(options_.errors, error), false;
        std::string head = FileStart(format);
        AppendLine(head, {"line", "column", "text", "message"}, plan_.style);
        errors_->Write(head);
    }
    if (!options_.out.empty()) {
        const std::vector<std::string> names = TableHeader(plan_);
        if (EndsWith(options_.out, ".xlsx")) {
            xlsx_ = std::make_unique<XlsxTable>(options_.out);
            if (!xlsx_->Open(names, &error)) return FailWriting(options_.out, error), false;
        } else {
            table_ = std::make_unique<AtomicFile>(options_.out);
            if (!table_->Open(&error)) return FailWriting(options_.out, error), false;
            std::string head = FileStart(format);
            AppendLine(head, names, plan_.style);
            table_->Write(head);
        }
    }
    if (!options_.pdf.empty()) {
        pdf_ = OpenPdfBook(options_.pdf, &error);
        if (!pdf_) return FailWriting(options_.pdf, error), false;
    }
    return true;
}

void Pipeline::WriteRefusal(const Refusal& r)
{
    if (hooks_.refused) hooks_.refused(r);
    if (result_.refusals.size() < kKeptRefusals) result_.refusals.push_back(r);
    ++result_.refusalCount;
    if (errors_) {
        errorLines_.clear();
        AppendLine(errorLines_, {std::to_string(r.line), r.column, r.text, r.message}, plan_.style);
        errors_->Write(errorLines_);
    }
}

void Pipeline::WriteXlsxRow(const Chunk& chunk, const RecordBatch::Record& record, const Row& row)
{
    XlsxTable& x = *xlsx_;
    x.BeginRow();
    for (std::size_t index : plan_.layout.carried) x.Text(chunk.records.Cell(record, index));
    const paycalc::Situation& s = row.slip.situation;
    for (std::size_t k = 0; k < kColumnCount; ++k) {
        const auto c = static_cast<Column>(k);
        const std::string text = CellText(c, s);
        switch (c) {
        case Column::Status: case Column::Spouse: case Column::Mutual: x.Text(text); break;
        default:
            // A typed text that is a plain number goes in as a number; as typed, it may not be.
            if (IsDecimal(text)) x.Number(paydata::ReadAmount(text));
            else x.Text(text);
        }
    }
    for (double value : row.values) x.Amount(value);
}

void Pipeline::AddPdfPage(const Chunk& chunk, const RecordBatch::Record& record, const Row& row)
{
    paycalc::Identity identity;
    auto cell = [&](IdentityPart part) {
        const int at = plan_.layout.identity[static_cast<std::size_t>(part)];
        return at < 0 ? std::string() : std::string(Trim(chunk.records.Cell(record, static_cast<std::size_t>(at))));
    };
    identity.name = cell(IdentityPart::Name);
    identity.number = cell(IdentityPart::Number);
    identity.workplace = cell(IdentityPart::Workplace);
    pdf_->Add(row.slip, identity);
}

void Pipeline::WriteChunk(Chunk& chunk)
{
    const std::vector<RecordBatch::Record>& records = chunk.records.records;
    for (std::size_t i = 0; i < records.size(); ++i) {
        const Row& row = chunk.rows[i];
        ++result_.counts.read;
        switch (row.state) {
        case RowState::Empty: ++result_.counts.empty; break;
        case RowState::Refused:
            ++result_.counts.refused;
            for (std::size_t k = 0; k < row.refusalCount; ++k) WriteRefusal(chunk.refusals[row.firstRefusal + k]);
            break;
        case RowState::Computed:
            ++result_.counts.computed;
            if (plan_.values) {
                for (std::size_t k = 0; k < kLineCount; ++k) {
                    if (overflow_[k]) continue;
                    try {
                        totals_[k] = paydata::Add(totals_[k], row.values[k]);
                    } catch (const paydata::ConversionError&) {
                        overflow_[k] = true;
                    }
                }
            }
            if (xlsx_) WriteXlsxRow(chunk, records[i], row);
            if (pdf_) AddPdfPage(chunk, records[i], row);
            break;
        }
    }
    written_ += records.size();
    if (table_ && !table_->Write(chunk.csv)) {
        std::string error;
        table_->Commit(&error); // fails, and says why
        FailWriting(table_->path(), error);
    }
    if (hooks_.json && !chunk.json.empty()) {
        hooks_.json->write(chunk.json.data(), static_cast<std::streamsize>(chunk.json.size()));
        if (!*hooks_.json) Fail({"cannot write the JSON output", "تعذرت كتابة مخرج JSON"});
    }
}

bool Pipeline::FinishOutputs()
{
    std::string error;
    if (xlsx_ && options_.summary) {
        xlsx_->BeginRow();
        xlsx_->Text("المجموع");
        for (std::size_t i = 1; i < plan_.layout.carried.size() + kColumnCount; ++i) xlsx_->Skip();
        for (std::size_t k = 0; k < kLineCount; ++k) {
            if (overflow_[k]) xlsx_->Skip();
            else xlsx_->Amount(paydata::ReadAmount(result_.totals[k])); // the total as shown
        }
    }
    // The outputs most likely to fail go in place first, so that a failure
    // leaves the others out too: the PDF, then the spreadsheet (read back
    // before it goes in place), the table, the error list.
    if (pdf_) {
        if (!pdf_->Finish(&error)) return FailWriting(options_.pdf, error), false;
        result_.written.push_back(options_.pdf);
    }
    if (xlsx_) {
        if (!xlsx_->Finish(&error)) return FailWriting(xlsx_->path(), error), false;
        result_.written.push_back(xlsx_->path());
    }
    if (table_) {
        if (!table_->Commit(&error)) return FailWriting(table_->path(), error), false;
        result_.written.push_back(table_->path());
    }
    if (errors_) {
        if (!errors_->Commit(&error)) return FailWriting(errors_->path(), error), false;
        result_.written.push_back(errors_->path());
    }
    return true;
}

void Pipeline::ReportProgress(bool force)
{
    if (!hooks_.progress) return;
    const Clock::time_point now = Clock::now();
    if (!force && now - lastProgress_ < std::chrono::milliseconds(250)) return;
    lastProgress_ = now;
    Progress p;
    p.done = written_;
    p.total = std::max(total_, written_);
    p.seconds = std::chrono::duration<double>(now - start_).count();
    hooks_.progress(p);
}

void Pipeline::ReaderLoop()
{
    std::size_t sequence = 0;
    for (;;) {
        Chunk* chunk = nullptr;
        {
            std::unique_lock lock(mutex_);
            changed_.wait(lock, [&] { return stop_ || !free_.empty(); });
            if (stop_) break;
            chunk = free_.front();
            free_.pop_front();
        }
        chunk->Reset();
        std::string error;
        const CsvReader::Status status = reader_.Read(chunk->records, kChunkRows, &error);
        std::unique_lock lock(mutex_);
        if (status == CsvReader::Status::Error) {
            readError_ = {error, reader_.arabicError()};
            free_.push_back(chunk);
            readerDone_ = true;
            chunkCount_ = sequence;
            changed_.notify_all();
            return;
        }
        if (!chunk->records.records.empty()) {
            chunk->sequence = sequence++;
            todo_.push_back(chunk);
        } else {
            free_.push_back(chunk);
        }
        if (status == CsvReader::Status::End) break;
        changed_.notify_all();
    }
    std::unique_lock lock(mutex_);
    readerDone_ = true;
    chunkCount_ = sequence;
    changed_.notify_all();
}

void Pipeline::WorkerLoop()
{
    Worker worker(plan_);
    for (;;) {
        Chunk* chunk = nullptr;
        {
            std::unique_lock lock(mutex_);
            changed_.wait(lock, [&] { return stop_ || !todo_.empty() || readerDone_; });
            if (stop_) return;
            if (todo_.empty()) return; // the reader is done and nothing is left
            chunk = todo_.front();
            todo_.pop_front();
        }
        try {
            worker.Process(*chunk);
        } catch (const std::exception& e) {
            chunk->failure = {std::string("cannot compute the batch: ") + e.what(),
                              std::string("تعذر حساب الكشوف: ") + e.what()};
        }
        std::unique_lock lock(mutex_);
        done_[chunk->sequence] = chunk;
        changed_.notify_all();
    }
}

// Two of the files named for one run that are the same file: the staff list
// would be replaced by an output, or one output by another.
Message SameFiles(const Options& options)
{
    struct Named {
        const char* name;
        const char* arabic;
        std::string path;
    };
    std::vector<Named> files{{"the staff list", "ملف الموظفين", options.input}};
    if (!options.out.empty()) files.push_back({"--out", "جدول الكشوف", options.out});
    if (!options.pdf.empty()) files.push_back({"--pdf", "الكشوف المطبوعة", options.pdf});
    if (!options.errors.empty()) files.push_back({"--errors", "قائمة الصفوف المرفوضة", options.errors});
    std::error_code ignored;
    for (std::size_t i = 0; i < files.size(); ++i)
        for (std::size_t j = i + 1; j < files.size(); ++j)
            if (std::filesystem::weakly_canonical(files[i].path, ignored) ==
                std::filesystem::weakly_canonical(files[j].path, ignored))
                return {std::string(files[i].name) + " and " + files[j].name + " name the same file, " + files[j].path,
                        std::string(files[i].arabic) + " و" + files[j].arabic + " ملف واحد: " + files[j].path};
    return {};
}

Result Pipeline::Run()
{
    start_ = Clock::now();
    lastProgress_ = start_;
    if (Message same = SameFiles(options_); !same.empty()) {
        result_.exitCode = kExitFailed;
        Fail(std::move(same));
        return result_;
    }
    std::string error;
    if (!reader_.Open(options_.input, &error)) {
        result_.exitCode = kExitFailed;
        Fail({error, reader_.arabicError()});
        return result_;
    }
    plan_.options = &options_;
    plan_.header = reader_.header();
    std::string arabic;
    if (!MakeLayout(plan_.header, plan_.layout, &error, &arabic)) {
        result_.exitCode = kExitFailed;
        Fail({options_.input + ": " + error, options_.input + ": " + arabic});
        return result_;
    }
    if (Message missing = MissingRequired(plan_.layout); !missing.empty()) {
        result_.exitCode = kExitFailed;
        Fail({options_.input + ": " + missing.english, options_.input + ": " + missing.arabic});
        return result_;
    }
    result_.recomputed = plan_.layout.recomputed;
    result_.defaulted = DefaultedColumns(plan_.layout);
    plan_.style.separator = reader_.format().separator;
    plan_.style.lineEnd = reader_.format().crlf ? "\r\n" : "\n";
    plan_.csv = !options_.out.empty() && !EndsWith(options_.out, ".xlsx");
    // Every line's amount read back, for the totals and the spreadsheet's
    // numbers (a run with no other output prints the totals).
    plan_.values = options_.summary || (!options_.out.empty() && !plan_.csv) ||
                   (options_.out.empty() && !options_.json && options_.pdf.empty());

    if (!OpenOutputs()) {
        result_.exitCode = kExitFailed;
        return result_;
    }
    if (hooks_.defaulted && !result_.defaulted.empty()) hooks_.defaulted(result_.defaulted);
    if (hooks_.progress) total_ = CountLines(options_.input);

    const unsigned threads = options_.threads ? options_.threads : std::max(1u, std::thread::hardware_concurrency());
    const std::size_t chunks = 2 * static_cast<std::size_t>(threads) + 2;
    for (std::size_t i = 0; i < chunks; ++i) {
        pool_.push_back(std::make_unique<Chunk>());
        free_.push_back(pool_.back().get());
    }
    std::thread reading([this] { ReaderLoop(); });
    std::vector<std::thread> workers;
    for (unsigned i = 0; i < threads; ++i) workers.emplace_back([this] { WorkerLoop(); });

    std::size_t next = 0;
    for (;;) {
        Chunk* chunk = nullptr;
        {
            std::unique_lock lock(mutex_);
            changed_.wait_for(lock, std::chrono::milliseconds(100), [&] {
                return done_.count(next) || (readerDone_ && next >= chunkCount_);
            });
            if (hooks_.cancel && hooks_.cancel->load()) {
                result_.cancelled = true;
                break;
            }
            if (auto it = done_.find(next); it != done_.end()) {
                chunk = it->second;
                done_.erase(it);
            } else if (readerDone_ && next >= chunkCount_) {
                break;
            }
        }
        if (chunk) {
            if (!chunk->failure.empty()) Fail(chunk->failure);
            else WriteChunk(*chunk);
            ++next;
            std::unique_lock lock(mutex_);
            free_.push_back(chunk);
            changed_.notify_all();
        }
        if (!result_.error.empty()) break;
        ReportProgress(false);
    }
    {
        std::unique_lock lock(mutex_);
        stop_ = true;
        changed_.notify_all();
    }
    reading.join();
    for (std::thread& t : workers) t.join();
    if (!readError_.empty()) Fail(readError_);

    // Lines with nothing on them never became records.
    result_.counts.empty += reader_.emptyLines();
    result_.counts.read += reader_.emptyLines();

    if (result_.cancelled || !result_.error.empty()) {
        // Nothing goes in place: the temporaries are removed.
        table_.reset();
        xlsx_.reset();
        errors_.reset();
        pdf_.reset();
        result_.exitCode = kExitFailed;
        return result_;
    }
    ReportProgress(true);
    if (plan_.values)
        for (std::size_t k = 0; k < kLineCount; ++k)
            result_.totals[k] = overflow_[k] ? std::string(kOverflowTotal) : paydata::ShowAmount(totals_[k]);
    if (!FinishOutputs()) {
        result_.exitCode = kExitFailed;
        return result_;
    }
    result_.exitCode = result_.counts.refused ? kExitSomeRefused : kExitAllComputed;
    return result_;
}

} // namespace

Result Execute(const Options& options, const Hooks& hooks)
{
    Pipeline pipeline(options, hooks);
    return pipeline.Run();
}

std::string Describe(const std::string& input, const Refusal& r)
{
    std::string text = input + ":" + std::to_string(r.line) + ": ";
    if (!r.column.empty()) text += r.column + ": ";
    return text + r.message;
}

void PrintSummary(const Result& result, std::ostream& out)
{
    const Counts& c = result.counts;
    out << "rows read     " << c.read << '\n'
        << "computed      " << c.computed << '\n'
        << "refused       " << c.refused << '\n'
        << "empty         " << c.empty << '\n';
    std::size_t width = 0;
    for (const std::string& t : result.totals) width = std::max(width, t.size());
    if (!result.defaulted.empty()) {
        out << "defaults:\n";
        for (const Message& note : result.defaulted) out << "  " << note.english << '\n';
    }
    out << "totals over the computed rows:\n";
    for (std::size_t k = 0; k < kLineCount; ++k) {
        out << std::setw(static_cast<int>(width)) << result.totals[k] << "  " << std::left << std::setw(24)
            << paycalc::LineName(kTableLines[k]) << std::right;
        const std::string title = paycalc::FieldTitle(kTableLines[k]);
        if (!title.empty()) out << "  " << title;
        out << '\n';
    }
}

namespace {

nlohmann::ordered_json SummaryJson(const Result& result)
{
    nlohmann::ordered_json counts;
    counts["read"] = result.counts.read;
    counts["computed"] = result.counts.computed;
    counts["refused"] = result.counts.refused;
    counts["empty"] = result.counts.empty;
    nlohmann::ordered_json totals = nlohmann::ordered_json::object();
    for (std::size_t k = 0; k < kLineCount; ++k) totals[std::string(paycalc::FieldName(kTableLines[k]))] = result.totals[k];
    nlohmann::ordered_json summary;
    summary["summary"] = {{"counts", counts}};
    if (!result.defaulted.empty()) {
        nlohmann::ordered_json defaults = nlohmann::ordered_json::array();
        for (const Message& note : result.defaulted) defaults.push_back(note.english);
        summary["summary"]["defaults"] = std::move(defaults);
    }
    summary["summary"]["totals"] = std::move(totals);
    return summary;
}

std::string Duration(double seconds)
{
    const auto s = static_cast<long long>(seconds + 0.5);
    if (s < 60) return std::to_string(s) + " s";
    return std::to_string(s / 60) + " min " + std::to_string(s % 60) + " s";
}

} // namespace

int Run(const Options& options, std::ostream& out, std::ostream& err)
{
    Hooks hooks;
    if (options.json) hooks.json = &out;
    const std::string name = "payslip-cli batch: ";
    bool progressShown = false;
    hooks.defaulted = [&](const std::vector<Message>& notes) {
        for (const Message& note : notes) err << name << note.english << '\n';
    };
    hooks.refused = [&](const Refusal& r) {
        if (progressShown) {
            err << "\r\033[K";
            progressShown = false;
        }
        err << Describe(options.input, r) << '\n';
    };
    if (options.progress) {
        hooks.progress = [&](const Progress& p) {
            std::ostringstream line;
            line << "\r\033[K" << p.done << " of " << p.total << " rows";
            if (p.seconds > 0 && p.done > 0) {
                const double rate = static_cast<double>(p.done) / p.seconds;
                line << ", " << static_cast<long long>(rate) << " rows/s";
                if (p.total > p.done)
                    line << ", " << Duration(static_cast<double>(p.total - p.done) / rate) << " left";
            }
            err << line.str() << std::flush;
            progressShown = true;
        };
    }
    const Result result = Execute(options, hooks);
    if (progressShown) err << "\r\033[K" << std::flush;
    if (!result.recomputed.empty()) {
        err << name << "columns";
        for (const std::string& c : result.recomputed) err << " '" << c << "'";
        err << " are slip lines of an earlier run: computed afresh\n";
    }
    if (result.exitCode == kExitFailed) {
        err << name << (result.cancelled ? std::string("cancelled") : result.error) << '\n';
        return kExitFailed;
    }
    const bool nothingElse = options.out.empty() && !options.json && options.pdf.empty();
    if (options.summary || nothingElse) {
        if (options.json) out << SummaryJson(result).dump() << '\n';
        else PrintSummary(result, out);
    }
    if (result.counts.refused)
        err << name << result.counts.refused << " of " << result.counts.read - result.counts.empty
            << " rows refused, " << result.counts.computed << " computed\n";
    out.flush();
    if (!out) {
        err << name << "cannot write the output\n";
        return kExitFailed;
    }
    return result.exitCode;
}

// ---- The preview, for the window's dialog ----

Preview ReadPreview(const std::string& path, std::size_t rowCount)
{
    Preview p;
    CsvReader reader;
    if (!reader.Open(path, &p.error)) {
        p.arabicError = reader.arabicError();
        return p;
    }
    p.format = reader.format();
    p.header = reader.header();
    if (!MakeLayout(p.header, p.layout, &p.error, &p.arabicError)) {
        p.error = path + ": " + p.error;
        p.arabicError = path + ": " + p.arabicError;
        return p;
    }
    if (Message missing = MissingRequired(p.layout); !missing.empty()) {
        p.error = path + ": " + missing.english;
        p.arabicError = path + ": " + missing.arabic;
        return p;
    }
    p.defaulted = DefaultedColumns(p.layout);
    for (std::size_t i = 0; i < p.header.size(); ++i) {
        const std::int8_t role = p.layout.role[i];
        if (role >= 0) p.roles.push_back(std::string(ColumnName(static_cast<Column>(role))));
        else if (role == Layout::Recomputed) p.roles.push_back("computed afresh");
        else p.roles.push_back("carried");
        p.arabicRoles.push_back(ArabicRole(p.layout, i));
    }
    RecordBatch records;
    std::string error;
    if (rowCount && reader.Read(records, rowCount, &error) == CsvReader::Status::Error) {
        p.error = error;
        p.arabicError = reader.arabicError();
        return p;
    }
    for (const RecordBatch::Record& r : records.records) {
        p.lines.push_back(r.line);
        std::vector<std::string> cells;
        for (std::size_t i = 0; i < r.cellCount; ++i) cells.emplace_back(records.Cell(r, i));
        p.rows.push_back(std::move(cells));
    }
    p.ok = true;
    return p;
}

} // namespace batch
