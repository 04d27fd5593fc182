// A build without the report library (no Qt) cannot print slips.
#include "batch/pdf_book.h"

namespace batch {

std::unique_ptr<PdfBook> OpenPdfBook(const std::string &path, std::string *error)
{
    if (error) *error = "cannot write " + path + ": this build cannot write PDF (built without Qt)";
    return nullptr;
}

} // namespace batch
