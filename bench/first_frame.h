// For the start-up benchmark: shows a window, waits for its first frame to
// be drawn, then prints "shown <peak resident KiB>" on one line and returns.
// The peak is the process's own (VmHWM): getrusage's ru_maxrss would carry
// the peak of the parent that started it over the exec.
#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QObject>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "window/window_fonts.h"

namespace firstframe {

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

// The floor's window: Form1's size and caption, one Arabic label in the
// window's font (chosen as Form1 chooses it); nothing else.
inline std::unique_ptr<QWidget> MakeCaptionWindow()
{
    auto window = std::make_unique<QWidget>();
    window->setWindowTitle(QStringLiteral("كشف الراتب جانفي 2016"));
    window->setFixedSize(1072, 565);
    window->setLayoutDirection(Qt::RightToLeft);
    window->setFont(paywindow::WindowFont());
    auto *caption = new QLabel(QStringLiteral("الراتب الصافي :"), window.get());
    caption->setGeometry(472, 16, 89, 25);
    return window;
}

inline int ShowAndReport(QWidget &window)
{
    FirstPaint watcher;
    window.installEventFilter(&watcher);
    window.show();
    while (!watcher.painted) QCoreApplication::processEvents(QEventLoop::AllEvents);
    window.removeEventFilter(&watcher);
    long peakKib = -1;
    if (std::FILE *status = std::fopen("/proc/self/status", "r")) {
        char line[256];
        while (std::fgets(line, sizeof line, status))
            if (std::strncmp(line, "VmHWM:", 6) == 0) peakKib = std::strtol(line + 6, nullptr, 10);
        std::fclose(status);
    }
    std::printf("shown %ld\n", peakKib);
    std::fflush(stdout);
    return peakKib > 0 ? 0 : 1;
}

} // namespace firstframe
