// The batch against the single recalculation, in one run: a million generated
// staff rows from CSV to CSV on every core, and one RecalculateAll on an
// in-memory form on one core. The batch's time per row is its wall time
// divided by the rows.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "batch/batch.h"
#include "tests/memory_form.h"
#include "paycalc/recalculate.h"

namespace {

constexpr int kRows = 1000000;

// A staff list of `rows` varied situations, semicolon separated, as a
// spreadsheet saves it; made once per run.
const std::string &StaffFile(int rows)
{
    static std::string path;
    if (!path.empty()) return path;
    const std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                      ("payslip-batch-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    path = (dir / "staff.csv").string();
    std::ofstream out(path, std::ios::binary);
    out << "name;number;school;category;echelon;post;children;over_ten;status;spouse;mutual;zone;housing;absence;mark\n";
    std::mt19937 random(20160101);
    auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    for (int i = 0; i < rows; ++i) {
        const bool married = pick(0, 3) != 0;
        const int children = married ? pick(0, 5) : 0;
        out << "Employee " << i << ';' << 100000 + i << ";School " << i % 97 << ';' << pick(1, 17) << ';' << pick(0, 12)
            << ';' << (pick(0, 9) == 0 ? pick(1, 10) : 0) << ';' << children << ';'
            << (children ? pick(0, children) : 0) << ';' << (married ? "married" : "single") << ';'
            << (pick(0, 1) ? "working" : "home") << ';' << (pick(0, 4) ? "yes" : "no") << ';' << pick(0, 3000) << '.'
            << pick(10, 99) << ';' << pick(0, 2) * 500 << ';' << pick(0, 9) / 7 << ';' << pick(30, 40) << '\n';
    }
    return path;
}

void RecalculateAll(benchmark::State &state)
{
    paycalc::MemoryForm form;
    paycalc::RecalculateAll(form);
    for (auto _ : state) {
        paycalc::RecalculateAll(form);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(RecalculateAll);

void BatchCsvToCsv(benchmark::State &state)
{
    const std::string &input = StaffFile(kRows);
    batch::Options options;
    options.input = input;
    options.out = std::filesystem::path(input).replace_filename("slips.csv").string();
    options.threads = static_cast<unsigned>(state.range(0));
    for (auto _ : state) {
        const batch::Result result = batch::Execute(options, {});
        if (result.exitCode != batch::kExitAllComputed || result.counts.computed != kRows) {
            state.SkipWithError(result.error.empty() ? "rows refused" : result.error.c_str());
            break;
        }
    }
    state.counters["rows"] = kRows;
    // Wall time per row, to set beside one RecalculateAll.
    state.counters["per_row"] = benchmark::Counter(kRows, benchmark::Counter::kIsIterationInvariantRate |
                                                              benchmark::Counter::kInvert);
    std::filesystem::remove(options.out);
}
// 0 = one computing thread per core.
// The CPU column is the whole process's (every thread), the work per row
// whatever else the machine is doing; the time column is the wall time.
BENCHMARK(BatchCsvToCsv)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime()->Iterations(3);

} // namespace

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    // The generated staff list and its folder go with the run.
    std::error_code ignored;
    std::filesystem::remove_all(
        std::filesystem::temp_directory_path() / ("payslip-batch-bench-" + std::to_string(::getpid())), ignored);
    return 0;
}
