// The pay-slip calculator: one window, Form1.
#include <QApplication>

#include "window/arabic_application.h"
#include "window/form1.h"

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("payslip"));
    QApplication::setApplicationVersion(QStringLiteral(PAYSLIP_VERSION));
    paywindow::SpeakArabic(app);

    Form1 form;
    form.show();
    return QApplication::exec();
}
