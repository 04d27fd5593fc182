#include "cli/pdf_output.h"

#include <QDate>
#include <ostream>

#include "report/slip_report.h"

namespace cli {

bool WritePdf(const paycalc::Slip &slip, const std::string &path, const paycalc::Identity &identity, bool bilingual,
              std::ostream &err)
{
    report::EnsureGuiApplication("payslip-cli");

    report::PrintOptions options;
    options.printed = QDate::currentDate();
    options.bilingual = bilingual;
    options.identity = identity;
    // Written whole or not at all: a failed write leaves whatever was at
    // `path` before untouched, and is an error naming the file.
    QString error;
    if (!report::WriteSlipPdf(slip, options, QString::fromStdString(path), &error)) {
        err << "payslip-cli: " << error.toStdString() << '\n';
        return false;
    }
    return true;
}

} // namespace cli
