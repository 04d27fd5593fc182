// The batch's printed slips through the report library: a page per slip in
// one PDF, written atomically by report::SlipPdf.
#include <QDate>

#include "batch/pdf_book.h"
#include "report/slip_report.h"
#include "report/text_direction.h"

namespace batch {

namespace {

class QtPdfBook final : public PdfBook {
public:
    explicit QtPdfBook(const std::string &path) : pdf_(report::Utf8(path), report::PrintOptions{}) {}

    void Add(const paycalc::Slip &slip, const paycalc::Identity &identity) override { pdf_.addSlip(slip, identity); }

    bool Finish(std::string *error) override
    {
        QString why;
        if (pdf_.finish(&why)) return true;
        if (error) *error = why.toStdString();
        return false;
    }

private:
    report::SlipPdf pdf_;
};

} // namespace

std::unique_ptr<PdfBook> OpenPdfBook(const std::string &path, std::string * /*error*/)
{
    report::EnsureGuiApplication("payslip-cli");
    return std::make_unique<QtPdfBook>(path);
}

} // namespace batch
