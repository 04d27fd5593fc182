// The floor of the start-up benchmark: the least a Qt program pays to show a
// window with Arabic text. One window of Form1's size and caption, one label
// in the window's font (chosen as Form1 chooses it), so it loads the fonts
// and shapes Arabic like any Arabic window; nothing else. It links Qt
// Widgets only.
#include <QApplication>

#include "bench/first_frame.h"

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const auto window = firstframe::MakeCaptionWindow();
    return firstframe::ShowAndReport(*window);
}
