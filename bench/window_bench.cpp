// The window's benchmarks: one keystroke in the zone allowance through to
// every line of the slip, and the window's start-up to its first frame on
// screen, next to a bare Qt window of the same size measured the same way.
//
// Run headless by default (QT_QPA_PLATFORM=offscreen unless set otherwise).
// The process start-up figures run this same program as a child with
// --first-frame=form1, --first-frame=bare or --first-frame=caption, so the
// children load the same libraries and differ only in the window they show.
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

#include <cstdio>
#include <cstring>
#include <memory>

#include "paycalc/fields.h"
#include "window/form1.h"
#include "window/window_fonts.h"

namespace {

constexpr int kWidth = 1072;
constexpr int kHeight = 565;
constexpr const char *kFirstFrameOption = "--first-frame=";

// Notices the first paint of a window. The paint of the top-level widget and
// of all its children, and the flush to the screen, happen in one event, so
// once the event loop returns from it the first frame is complete.
class FirstPaint final : public QObject {
public:
    bool painted = false;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) painted = true;
        return false;
    }
};

std::unique_ptr<QWidget> MakeBareWindow()
{
    auto window = std::make_unique<QWidget>();
    window->setWindowTitle(QStringLiteral("كشف الراتب جانفي 2016"));
    window->setFixedSize(kWidth, kHeight);
    return window;
}

// The bare window with one caption in the window's font: the least any
// window showing Arabic text pays, loading the fonts and shaping the text.
std::unique_ptr<QWidget> MakeCaptionedWindow()
{
    std::unique_ptr<QWidget> window = MakeBareWindow();
    window->setFont(paywindow::WindowFont());
    auto *caption = new QLabel(QStringLiteral("الراتب الصافي :"), window.get());
    caption->setGeometry(472, 16, 89, 25);
    return window;
}

std::unique_ptr<QWidget> MakeForm1()
{
    return std::make_unique<Form1>();
}

using MakeWindow = std::unique_ptr<QWidget> (*)();

// Creates a window, shows it and returns once its first frame is drawn.
std::unique_ptr<QWidget> ShowUntilFirstFrame(MakeWindow make)
{
    FirstPaint watcher;
    std::unique_ptr<QWidget> window = make();
    window->installEventFilter(&watcher);
    window->show();
    while (!watcher.painted) QCoreApplication::processEvents(QEventLoop::AllEvents);
    window->removeEventFilter(&watcher);
    return window;
}

double FirstFrameMilliseconds(MakeWindow make)
{
    QElapsedTimer timer;
    timer.start();
    std::unique_ptr<QWidget> window = ShowUntilFirstFrame(make);
    const double ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    window.reset();
    QCoreApplication::processEvents(); // let the closed window go before the next one
    return ms;
}

// Starts this program as a child that shows one window and reports its first
// frame; gives the time from the start of the process to that report.
double ProcessFirstFrameMilliseconds(const char *window)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer timer;
    timer.start();
    child.start(QCoreApplication::applicationFilePath(),
                {QString::fromLatin1(kFirstFrameOption) + QString::fromLatin1(window)});
    bool shown = false;
    while (!shown && child.waitForReadyRead(10000)) shown = child.readAll().contains("shown");
    const double ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    child.waitForFinished(10000);
    return shown ? ms : -1;
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
// is already running: what Form1 itself costs.
void BM_FirstFrameBareWindow(benchmark::State &state)
{
    for (auto _ : state) state.SetIterationTime(FirstFrameMilliseconds(&MakeBareWindow) / 1e3);
}
BENCHMARK(BM_FirstFrameBareWindow)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_FirstFrameForm1(benchmark::State &state)
{
    for (auto _ : state) state.SetIterationTime(FirstFrameMilliseconds(&MakeForm1) / 1e3);
}
BENCHMARK(BM_FirstFrameForm1)->UseManualTime()->Unit(benchmark::kMillisecond);

// ------------------------------------------------- start-up, whole process

// From starting the program to the first frame of its window: what the user
// waits for. Each iteration starts, in turn, a child showing the bare window,
// one showing Form1 and one showing the bare window with a single caption;
// the counters give the means and the ratio of Form1 to the bare window
// (and, for scale, of the captioned window to the bare one).
void BM_ProcessStartupRatio(benchmark::State &state)
{
    double bare = 0;
    double form1 = 0;
    double captioned = 0;
    for (auto _ : state) {
        const double b = ProcessFirstFrameMilliseconds("bare");
        const double f = ProcessFirstFrameMilliseconds("form1");
        const double c = ProcessFirstFrameMilliseconds("caption");
        if (b < 0 || f < 0 || c < 0) {
            state.SkipWithError("a child window did not show");
            break;
        }
        bare += b;
        form1 += f;
        captioned += c;
        state.SetIterationTime((b + f) / 1e3);
    }
    const auto n = static_cast<double>(state.iterations());
    state.counters["bare_ms"] = bare / n;
    state.counters["form1_ms"] = form1 / n;
    state.counters["ratio"] = form1 / bare;
    state.counters["caption_ms"] = captioned / n;
    state.counters["caption_ratio"] = captioned / bare;
}
BENCHMARK(BM_ProcessStartupRatio)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

// The child: show one window, say so once its first frame is drawn, quit.
int ShowFirstFrame(int argc, char **argv, const char *window)
{
    QApplication app(argc, argv);
    MakeWindow make = &MakeBareWindow;
    if (std::strcmp(window, "form1") == 0) make = &MakeForm1;
    if (std::strcmp(window, "caption") == 0) make = &MakeCaptionedWindow;
    std::unique_ptr<QWidget> shown = ShowUntilFirstFrame(make);
    std::fputs("shown\n", stdout);
    std::fflush(stdout);
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    const std::size_t optionLength = std::strlen(kFirstFrameOption);
    if (argc == 2 && std::strncmp(argv[1], kFirstFrameOption, optionLength) == 0)
        return ShowFirstFrame(argc, argv, argv[1] + optionLength);

    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
