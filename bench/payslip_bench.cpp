// One whole recalculation against its floor: the same amount conversions on
// the same texts with nothing around them.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "tests/memory_form.h"
#include "paycalc/recalculate.h"
#include "paycalc/slip.h"
#include "paydata/amount.h"

namespace {

// Records every text the recalculation reads and writes.
class RecordingForm final : public paycalc::PayForm {
public:
    std::string Text(paycalc::Field f) const override { return Keep(reads, inner.Text(f)); }
    void SetText(paycalc::Field f, const std::string &text) override
    {
        writes.push_back(text);
        inner.SetText(f, text);
    }
    std::string ListText(int list) const override { return Keep(reads, inner.ListText(list)); }
    int ListIndex(int list) const override { return inner.ListIndex(list); }
    paycalc::CheckState Check() const override { return inner.Check(); }

    paycalc::MemoryForm inner;
    mutable std::vector<std::string> reads;
    std::vector<std::string> writes;

private:
    static std::string Keep(std::vector<std::string> &into, std::string text)
    {
        into.push_back(text);
        return text;
    }
};

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

// The same with every line's explanation, as the window computes it.
void RecalculateAllExplained(benchmark::State &state)
{
    paycalc::MemoryForm form;
    paycalc::Trace trace;
    for (auto _ : state) {
        paycalc::RecalculateAll(form, &trace);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(RecalculateAllExplained);

// What the window adds to each of its runs to hold the slip value that its
// print, PDF and copy read: the situation and the texts read off the form
// (the run's trace is already the slip's). Nothing is recalculated to print.
void SlipReadOffTheForm(benchmark::State &state)
{
    paycalc::MemoryForm form;
    paycalc::Slip slip;
    paycalc::RecalculateAll(form, &slip.trace);
    for (auto _ : state) {
        paycalc::ReadForm(form, slip);
        benchmark::DoNotOptimize(slip);
    }
}
BENCHMARK(SlipReadOffTheForm);

// A printed slip's lines and totals, as the page reads them from the value.
void PrintedLinesAndTotals(benchmark::State &state)
{
    const paycalc::Slip slip = paycalc::ComputeSlip(paycalc::Situation{}, true);
    for (auto _ : state) {
        for (paycalc::Field f : paycalc::PrintedLines()) benchmark::DoNotOptimize(slip.Line(f));
        benchmark::DoNotOptimize(slip.Totals());
    }
}
BENCHMARK(PrintedLinesAndTotals);

void ConversionsOnly(benchmark::State &state)
{
    RecordingForm recorder;
    paycalc::RecalculateAll(recorder.inner);
    paycalc::RecalculateAll(recorder);
    // The income tax converts inside ComputeIrg too: its seven-digit text of
    // the taxable amount read back, and its rounding of the tax to cents.
    const std::string taxable = "52003.59", tax = "9100.00";
    recorder.reads.push_back(taxable);
    recorder.reads.push_back(tax);
    std::vector<double> shown;
    for (const auto &text : recorder.writes) shown.push_back(paydata::ReadAmount(text));
    shown.push_back(9100.0);

    for (auto _ : state) {
        for (const auto &text : recorder.reads) benchmark::DoNotOptimize(paydata::ReadAmount(text));
        for (double value : shown) benchmark::DoNotOptimize(paydata::ShowAmount(value));
    }
    state.counters["reads"] = static_cast<double>(recorder.reads.size());
    state.counters["shows"] = static_cast<double>(shown.size());
}
BENCHMARK(ConversionsOnly);

void ComputeIrg(benchmark::State &state)
{
    float taxable = 52003.59f;
    for (auto _ : state) benchmark::DoNotOptimize(paycalc::ComputeIrg(taxable));
}
BENCHMARK(ComputeIrg);

} // namespace

BENCHMARK_MAIN();
