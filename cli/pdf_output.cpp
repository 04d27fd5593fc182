#include "cli/pdf_output.h"

#include <QDate>
#include <QGuiApplication>
#include <cstdio>
#include <ostream>

#include "report/slip_report.h"

namespace cli {

bool WritePdf(const paycalc::PayForm& form, const std::string& path, const PdfIdentity& identity, bool bilingual,
              std::ostream& err)
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

    report::PrintOptions options;
    options.printed = QDate::currentDate();
    options.bilingual = bilingual;
    options.identity = {QString::fromStdString(identity.name), QString::fromStdString(identity.number),
                        QString::fromStdString(identity.workplace)};
    // Written whole or not at all: a failed write leaves whatever was at
    // `path` before untouched, and is an error naming the file.
    QString error;
    if (!report::WriteSlipPdf(form, options, QString::fromStdString(path), &error)) {
        err << "payslip-cli: " << error.toStdString() << '\n';
        return false;
    }
    return true;
}

} // namespace cli
