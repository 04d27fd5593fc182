#include "cli/pdf_output.h"

#include <QDate>
#include <QGuiApplication>
#include <cstdio>
#include <ostream>

#include "report/slip_report.h"

namespace cli {

bool WritePdf(const paycalc::PayForm& form, const std::string& path, const PdfIdentity& /*identity*/,
              bool /*bilingual*/, std::ostream& err)
{
    // Laying out text needs the fonts of a GUI application, but a command
    // line never shows a window: no display is needed or touched.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt's notes about the desktop session are not the command line's business.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type == QtCriticalMsg || type == QtFatalMsg) fprintf(stderr, "payslip-cli: %s\n", qPrintable(message));
    });
    static int argc = 1;
    static char name[] = "payslip-cli";
    static char* argv[] = {name, nullptr};
    if (!QGuiApplication::instance()) new QGuiApplication(argc, argv);

    if (!report::WriteSlipPdf(form, QDate::currentDate(), QString::fromStdString(path))) {
        err << "payslip-cli: cannot write " << path << '\n';
        return false;
    }
    return true;
}

} // namespace cli
