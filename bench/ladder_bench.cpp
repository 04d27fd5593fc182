// The career ladder (thirteen slips through ComputeSlip, every line kept)
// against its floor: thirteen bare recalculations of one in-memory form, one
// per echelon. The goal is at most 1.2 times the floor. Compare the medians:
//   payslip-ladder-bench --benchmark_repetitions=15 --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>

#include "paycalc/compare.h"
#include "tests/memory_form.h"
#include "paycalc/recalculate.h"
#include "paydata/tables.h"

namespace {

paycalc::Situation Asked()
{
    paycalc::Situation s; // the start-up situation, with typed amounts
    s.zone = "2500";
    s.housing = "1200.50";
    s.absence = "2";
    return s;
}

void ThirteenRecalculations(benchmark::State &state)
{
    paycalc::MemoryForm form;
    paycalc::FillForm(form, Asked());
    for (auto _ : state) {
        for (int e = 0; e < paydata::kEchelonCount; ++e) {
            form.Select(paycalc::kEchelonList, e);
            paycalc::RecalculateAll(form);
            benchmark::DoNotOptimize(form);
        }
        benchmark::ClobberMemory();
    }
}
BENCHMARK(ThirteenRecalculations);

void Ladder(benchmark::State &state)
{
    const paycalc::Situation s = Asked();
    for (auto _ : state) {
        paycalc::Ladder ladder = paycalc::ComputeLadder(s, false);
        benchmark::DoNotOptimize(ladder);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(Ladder);

// The ladder with the category above, as payslip-cli ladder shows it.
void LadderWithCategoryAbove(benchmark::State &state)
{
    const paycalc::Situation s = Asked();
    for (auto _ : state) {
        paycalc::Ladder ladder = paycalc::ComputeLadder(s, true);
        benchmark::DoNotOptimize(ladder);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(LadderWithCategoryAbove);

} // namespace

BENCHMARK_MAIN();
