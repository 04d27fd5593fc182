#pragma once

#include <iosfwd>
#include <string>

#include "paycalc/identity.h"
#include "paycalc/slip.h"

namespace cli {

// Writes a slip computed with its explanations as a PDF file, atomically. Returns
// false, after saying why on `err` (naming the file), when it cannot.
bool WritePdf(const paycalc::Slip &slip, const std::string &path, const paycalc::Identity &identity, bool bilingual,
              std::ostream &err);

} // namespace cli
