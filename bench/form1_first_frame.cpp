// The program's own start-up, as in window/main.cpp, up to the first frame
// of Form1: what the start-up benchmark measures against the floor.
#include <QApplication>

#include "bench/first_frame.h"
#include "window/arabic_application.h"
#include "window/form1.h"

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("payslip"));
    QApplication::setApplicationVersion(QStringLiteral(PAYSLIP_VERSION));
    paywindow::SpeakArabic(app);

    Form1 form;
    return firstframe::ShowAndReport(form);
}
