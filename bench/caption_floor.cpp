// The floor of the start-up benchmark: the least a Qt program pays to show a
// window with Arabic text. One window of Form1's size and caption, one label
// in the window's font (chosen as Form1 chooses it), so it loads the fonts
// and shapes Arabic like any Arabic window; nothing else. It links Qt
// Widgets only.
#include <QApplication>
#include <QLabel>
#include <QWidget>

#include "bench/first_frame.h"
#include "window/window_fonts.h"

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("كشف الراتب جانفي 2016"));
    window.setFixedSize(1072, 565);
    window.setLayoutDirection(Qt::RightToLeft);
    window.setFont(paywindow::WindowFont());
    QLabel caption(QStringLiteral("الراتب الصافي :"), &window);
    caption.setGeometry(472, 16, 89, 25);
    return firstframe::ShowAndReport(window);
}
