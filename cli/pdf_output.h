#pragma once

#include <iosfwd>
#include <string>

#include "paycalc/identity.h"
#include "paycalc/pay_form.h"

namespace cli {

// Writes the slip of a recalculated form as a PDF file, atomically. Returns
// false, after saying why on `err` (naming the file), when it cannot.
bool WritePdf(const paycalc::PayForm& form, const std::string& path, const paycalc::Identity& identity, bool bilingual,
              std::ostream& err);

} // namespace cli
