// The printed slips of a batch, a page per computed row, as one PDF written
// atomically. Only this part of the batch needs Qt (through the report
// library); a build without it says it cannot write PDF.
#pragma once

#include <memory>
#include <string>

#include "paycalc/identity.h"
#include "paycalc/slip.h"

namespace batch {

class PdfBook {
public:
    virtual ~PdfBook() = default;
    // Adds the page of a slip computed with its explanations.
    virtual void Add(const paycalc::Slip &slip, const paycalc::Identity &identity) = 0;
    // Puts the complete file in place; false, with the reason naming the file.
    virtual bool Finish(std::string *error) = 0;
};

// A book that will be written at `path`; nullptr, with the reason, when this
// build cannot write PDF.
std::unique_ptr<PdfBook> OpenPdfBook(const std::string &path, std::string *error);

} // namespace batch
