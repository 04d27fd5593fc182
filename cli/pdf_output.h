#pragma once

#include <iosfwd>
#include <string>

#include "paycalc/pay_form.h"

namespace cli {

// Who the printed slip is for; empty texts are not printed.
struct PdfIdentity {
    std::string name;
    std::string number;
    std::string workplace;
};

// Writes the slip of a recalculated form as a PDF file, atomically. Returns
// false, after saying why on `err` (naming the file), when it cannot.
bool WritePdf(const paycalc::PayForm& form, const std::string& path, const PdfIdentity& identity, bool bilingual,
              std::ostream& err);

} // namespace cli
