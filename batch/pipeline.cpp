// The run: a reader thread cuts the staff list into chunks, the workers read
// and compute their rows, and the calling thread writes the chunks in input
// order, reports progress and watches for a cancel.
#include "batch/batch.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

#include "batch/chunk.h"
#include "batch/file_system.h"
#include "batch/row_reader.h"
#include "batch/writers.h"
#include "paydata/amount.h"

namespace batch {

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::size_t kChunkRows = 1024;

// Reads and computes the rows of one chunk at a time, formatting the
// computed ones as the table and the JSON Lines will have them.
class Worker {
public:
    explicit Worker(const Plan &plan) : plan_(plan), reader_(plan.header, plan.layout, plan.options->asTyped) {}

    void Process(Chunk &chunk)
    {
        const std::size_t n = chunk.records.records.size();
        if (chunk.rows.size() < n) chunk.rows.resize(n);
        for (std::size_t i = 0; i < n; ++i) ProcessRow(chunk, chunk.records.records[i], chunk.rows[i]);
    }

private:
    void ProcessRow(Chunk &chunk, const RecordBatch::Record &record, Row &row)
    {
        const std::size_t first = chunk.refusals.size();
        row.state = reader_.Read(chunk.records, record, situation_, chunk.refusals);
        if (row.state == RowState::Read) {
            // A printed slip states each line's base and rate: its run explains itself.
            paycalc::ComputeSlip(situation_, row.slip, !plan_.options->pdf.empty());
            if (!row.slip.ok()) {
                chunk.refusals.push_back(reader_.ComputeRefusal(chunk.records, record, *row.slip.error));
                row.state = RowState::Refused;
            }
        }
        row.firstRefusal = first;
        row.refusalCount = chunk.refusals.size() - first;
        if (row.state != RowState::Read) return;
        if (plan_.values)
            for (std::size_t i = 0; i < kLineCount; ++i)
                row.values[i] = paydata::ReadAmount(row.slip.Text(kTableLines[i]));
        if (plan_.csv) AppendCsvRow(chunk.csv, plan_, chunk.records, record, row.slip);
        if (plan_.options->json) AppendJsonRow(chunk.json, plan_, chunk.records, record, row.slip);
    }

    const Plan &plan_;
    RowReader reader_;
    paycalc::Situation situation_;
};

std::uint64_t CountLines(const std::string &path)
{
    std::FILE *f = fs::OpenForReading(path);
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

// Two of the files named for one run that are the same file: the staff list
// would be replaced by an output, or one output by another.
Message SameFiles(const Options &options)
{
    struct Named {
        const char *name;
        const char *arabic;
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

class Pipeline {
public:
    Pipeline(const Options &options, const Hooks &hooks) : options_(options), hooks_(hooks) {}

    Result Run();

private:
    void WriteChunk(Chunk &chunk);
    void WriteRefusal(const Refusal &r);
    // The run fails, for the first reason found; nothing will be put in place.
    const Result &Fail(Message message)
    {
        result_.exitCode = kExitFailed;
        if (result_.error.empty()) {
            result_.error = std::move(message.english);
            result_.arabicError = std::move(message.arabic);
        }
        return result_;
    }
    void ReportProgress(bool force);

    // Threads.
    void ReaderLoop();
    void WorkerLoop();

    const Options &options_;
    const Hooks &hooks_;
    Result result_;
    Plan plan_;
    CsvReader reader_;

    Outputs outputs_{options_, plan_};
    std::array<double, kLineCount> totals_{};
    std::array<bool, kLineCount> overflow_{};

    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::unique_ptr<Chunk>> pool_;
    std::deque<Chunk *> free_;
    std::deque<Chunk *> todo_;
    std::map<std::size_t, Chunk *> done_;
    bool readerDone_ = false;
    std::size_t chunkCount_ = 0;
    Message readError_;
    bool stop_ = false;

    Clock::time_point start_;
    Clock::time_point lastProgress_;
    std::uint64_t total_ = 0;
    std::uint64_t written_ = 0;
};

void Pipeline::WriteRefusal(const Refusal &r)
{
    if (hooks_.refused) hooks_.refused(r);
    if (result_.refusals.size() < kKeptRefusals) result_.refusals.push_back(r);
    ++result_.refusalCount;
    outputs_.WriteRefusal(r);
}

void Pipeline::WriteChunk(Chunk &chunk)
{
    const std::vector<RecordBatch::Record> &records = chunk.records.records;
    for (std::size_t i = 0; i < records.size(); ++i) {
        const Row &row = chunk.rows[i];
        ++result_.counts.read;
        switch (row.state) {
        case RowState::Empty: ++result_.counts.empty; break;
        case RowState::Refused:
            ++result_.counts.refused;
            for (std::size_t k = 0; k < row.refusalCount; ++k) WriteRefusal(chunk.refusals[row.firstRefusal + k]);
            break;
        case RowState::Read:
            ++result_.counts.computed;
            if (plan_.values) {
                for (std::size_t k = 0; k < kLineCount; ++k) {
                    if (overflow_[k]) continue;
                    try {
                        totals_[k] = paydata::Add(totals_[k], row.values[k]);
                    } catch (const paydata::ConversionError &) {
                        overflow_[k] = true;
                    }
                }
            }
            outputs_.WriteComputed(chunk, records[i], row);
            break;
        }
    }
    written_ += records.size();
    if (Message failure; !outputs_.WriteTable(chunk.csv, &failure)) Fail(std::move(failure));
    if (hooks_.json && !chunk.json.empty()) {
        hooks_.json->write(chunk.json.data(), static_cast<std::streamsize>(chunk.json.size()));
        if (!*hooks_.json) Fail({"cannot write the JSON output", "تعذرت كتابة مخرج JSON"});
    }
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
        Chunk *chunk = nullptr;
        {
            std::unique_lock lock(mutex_);
            changed_.wait(lock, [&] { return stop_ || !free_.empty(); });
            if (stop_) return;
            chunk = free_.front();
            free_.pop_front();
        }
        chunk->Reset();
        std::string error;
        const CsvReader::Status status = reader_.Read(chunk->records, kChunkRows, &error);
        std::unique_lock lock(mutex_);
        if (status == CsvReader::Status::Error) readError_ = {error, reader_.arabicError()};
        if (status != CsvReader::Status::Error && !chunk->records.records.empty()) {
            chunk->sequence = sequence++;
            todo_.push_back(chunk);
        } else {
            free_.push_back(chunk);
        }
        readerDone_ = status != CsvReader::Status::More;
        chunkCount_ = sequence;
        changed_.notify_all();
        if (readerDone_) return;
    }
}

void Pipeline::WorkerLoop()
{
    Worker worker(plan_);
    for (;;) {
        Chunk *chunk = nullptr;
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
        } catch (const std::exception &e) {
            chunk->failure = {std::string("cannot compute the batch: ") + e.what(),
                              std::string("تعذر حساب الكشوف: ") + e.what()};
        }
        std::unique_lock lock(mutex_);
        done_[chunk->sequence] = chunk;
        changed_.notify_all();
    }
}

Result Pipeline::Run()
{
    start_ = Clock::now();
    lastProgress_ = start_;
    if (Message same = SameFiles(options_); !same.empty()) return Fail(std::move(same));
    if (Message problem = OpenStaffList(options_.input, reader_, plan_.layout); !problem.empty())
        return Fail(std::move(problem));
    plan_.options = &options_;
    plan_.header = reader_.header();
    result_.recomputed = plan_.layout.recomputed;
    result_.defaulted = DefaultedColumns(plan_.layout);
    plan_.style.separator = reader_.format().separator;
    plan_.style.lineEnd = reader_.format().crlf ? "\r\n" : "\n";
    plan_.csv = !options_.out.empty() && !IsSpreadsheetName(options_.out);
    // Every line's amount read back, for the totals and the spreadsheet's
    // numbers (a run with no other output prints the totals).
    plan_.values = options_.summary || (!options_.out.empty() && !plan_.csv) ||
                   (options_.out.empty() && !options_.json && options_.pdf.empty());

    if (Message failure; !outputs_.Open(reader_.format(), &failure)) return Fail(std::move(failure));
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
        Chunk *chunk = nullptr;
        {
            std::unique_lock lock(mutex_);
            changed_.wait_for(lock, std::chrono::milliseconds(100),
                              [&] { return done_.count(next) || (readerDone_ && next >= chunkCount_); });
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
    for (std::thread &t : workers) t.join();
    if (!readError_.empty()) Fail(readError_);

    // Lines with nothing on them never became records.
    result_.counts.empty += reader_.emptyLines();
    result_.counts.read += reader_.emptyLines();

    if (result_.cancelled || !result_.error.empty()) {
        // Nothing goes in place: the temporaries are removed.
        outputs_.Discard();
        return Fail({});
    }
    ReportProgress(true);
    if (plan_.values)
        for (std::size_t k = 0; k < kLineCount; ++k)
            result_.totals[k] = overflow_[k] ? std::string(kOverflowTotal) : paydata::ShowAmount(totals_[k]);
    if (Message failure; !outputs_.Finish(result_.totals, overflow_, result_.written, &failure))
        return Fail(std::move(failure));
    result_.exitCode = result_.counts.refused ? kExitSomeRefused : kExitAllComputed;
    return result_;
}

} // namespace

Result Execute(const Options &options, const Hooks &hooks)
{
    Pipeline pipeline(options, hooks);
    return pipeline.Run();
}

} // namespace batch
