// The window's benchmarks: one keystroke in the zone allowance through to
// every line of the slip, and the window's start-up to its first frame on
// screen, next to the floor: a minimal Qt program that shows one Arabic
// caption in the window's font (bench/caption_floor.cpp), measured the same
// way.
//
// Run headless by default (QT_QPA_PLATFORM=offscreen unless set otherwise;
// QT_QPA_PLATFORM=xcb under xvfb-run measures on an X server). The whole-
// process figures start the two programs built beside this one,
// payslip-form1-first-frame (the program's own start-up) and
// payslip-caption-floor, turn about; each reports its peak resident memory
// once its first frame is drawn.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QByteArray>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QTest>
#include <QWidget>

#include <algorithm>
#include <memory>
#include <vector>

#include "bench/first_frame.h"
#include "paycalc/fields.h"
#include "window/form1.h"
#include "window/window_fonts.h"

namespace {

using firstframe::FirstPaint;
using firstframe::MakeCaptionWindow;

std::unique_ptr<QWidget> MakeForm1() { return std::make_unique<Form1>(); }

using MakeWindow = std::unique_ptr<QWidget> (*)();

double FirstFrameMilliseconds(MakeWindow make)
{
    QElapsedTimer timer;
    timer.start();
    FirstPaint watcher;
    std::unique_ptr<QWidget> window = make();
    window->installEventFilter(&watcher);
    window->show();
    while (!watcher.painted) QCoreApplication::processEvents(QEventLoop::AllEvents);
    const double ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    window->removeEventFilter(&watcher);
    window.reset();
    QCoreApplication::processEvents(); // let the closed window go before the next one
    return ms;
}

struct ProcessStart {
    double ms = -1;  // from starting the process to its report of the first frame
    double kib = -1; // its peak resident memory by then
};

ProcessStart StartUntilFirstFrame(const char *program)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer timer;
    timer.start();
    child.start(QString::fromLocal8Bit(program), {});
    QByteArray out;
    while (!out.contains('\n') && child.waitForReadyRead(10000)) out += child.readAll();
    ProcessStart start;
    start.ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    child.waitForFinished(10000);
    const QList<QByteArray> words = out.trimmed().split(' ');
    if (words.size() != 2 || words[0] != "shown") return {};
    start.kib = words[1].toDouble();
    return start;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n == 0 ? 0 : n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// ------------------------------------------------------------- keystrokes

// One keystroke in Text10, alternately a digit and Backspace: the filter,
// the change of the text, and the whole recalculation with every line
// written into its field.
void BM_KeystrokeText10(benchmark::State &state)
{
    Form1 form;
    form.show();
    if (!QTest::qWaitForWindowExposed(&form)) state.SkipWithError("the window was not shown");
    QLineEdit *zone = form.text(paycalc::Field::Text10);
    zone->end(false);
    const int before = form.recalculationCount();
    bool digit = true;
    for (auto _ : state) {
        QTest::keyClick(zone, digit ? Qt::Key_5 : Qt::Key_Backspace);
        digit = !digit;
    }
    if (form.recalculationCount() - before != static_cast<int>(state.iterations()))
        state.SkipWithError("a keystroke did not recalculate");
}
BENCHMARK(BM_KeystrokeText10);

// The same keystroke, and the repaint of the changed fields on screen.
void BM_KeystrokeText10Repainted(benchmark::State &state)
{
    Form1 form;
    form.show();
    if (!QTest::qWaitForWindowExposed(&form)) state.SkipWithError("the window was not shown");
    QLineEdit *zone = form.text(paycalc::Field::Text10);
    zone->end(false);
    bool digit = true;
    for (auto _ : state) {
        QTest::keyClick(zone, digit ? Qt::Key_5 : Qt::Key_Backspace);
        QCoreApplication::processEvents();
        digit = !digit;
    }
}
BENCHMARK(BM_KeystrokeText10Repainted);

// ------------------------------------------------ start-up, in this process

// From creating the window to its first frame drawn, in a process where Qt
// and the fonts are already loaded: what Form1 itself costs.
void BM_FirstFrameCaption(benchmark::State &state)
{
    for (auto _ : state) state.SetIterationTime(FirstFrameMilliseconds(&MakeCaptionWindow) / 1e3);
}
BENCHMARK(BM_FirstFrameCaption)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_FirstFrameForm1(benchmark::State &state)
{
    for (auto _ : state) state.SetIterationTime(FirstFrameMilliseconds(&MakeForm1) / 1e3);
}
BENCHMARK(BM_FirstFrameForm1)->UseManualTime()->Unit(benchmark::kMillisecond);

// ------------------------------------------------- start-up, whole process

// From starting the program to the first frame of its window: what the user
// waits for, against the floor of any Arabic Qt window. Each iteration starts
// the floor, then Form1's program. The counters give the medians, and the
// ratios of Form1 to the floor in time and in peak resident memory (the goal:
// 1.25 at most for both).
void BM_ProcessStartupVersusFloor(benchmark::State &state)
{
    std::vector<double> floorMs, form1Ms, floorKib, form1Kib;
    for (auto _ : state) {
        const ProcessStart floor = StartUntilFirstFrame(PAYSLIP_CAPTION_FLOOR);
        const ProcessStart form1 = StartUntilFirstFrame(PAYSLIP_FORM1_FIRST_FRAME);
        if (floor.kib < 0 || form1.kib < 0) {
            state.SkipWithError("a program did not report its first frame");
            return;
        }
        floorMs.push_back(floor.ms);
        form1Ms.push_back(form1.ms);
        floorKib.push_back(floor.kib);
        form1Kib.push_back(form1.kib);
        state.SetIterationTime(form1.ms / 1e3);
    }
    state.counters["floor_ms"] = Median(floorMs);
    state.counters["form1_ms"] = Median(form1Ms);
    state.counters["time_ratio"] = Median(form1Ms) / Median(floorMs);
    state.counters["floor_KiB"] = Median(floorKib);
    state.counters["form1_KiB"] = Median(form1Kib);
    state.counters["memory_ratio"] = Median(form1Kib) / Median(floorKib);
}
BENCHMARK(BM_ProcessStartupVersusFloor)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(30);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
