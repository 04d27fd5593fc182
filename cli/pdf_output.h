#pragma once

#include <iosfwd>
#include <string>

#include "paycalc/pay_form.h"

namespace cli {

// Writes the slip of a recalculated form as a PDF file. Returns false, after
// saying why on `err`, when it cannot.
bool WritePdf(const paycalc::PayForm& form, const std::string& path, std::ostream& err);

} // namespace cli
