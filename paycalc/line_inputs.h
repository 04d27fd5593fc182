// Which typed inputs each line of the slip is computed from, directly or
// through earlier lines: read off the recalculation's own explanations, so
// that it cannot drift from the computation. The lines not listed for an
// input come from the lists and the check box alone.
#pragma once

#include <vector>

#include "paycalc/fields.h"

namespace paycalc {

// The typed fields (Text10, Text11, Text20, Text23) behind `line`, in that
// order; empty for a line that reads none.
const std::vector<Field>& TypedInputsBehind(Field line);

} // namespace paycalc
