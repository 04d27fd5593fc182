// Why each line of the slip is what it is, shown where the user looks: the
// tooltip of every display field explains its amount with the rule in words
// and the computation with the very amounts of the last recalculation.
// Words only: every amount quoted comes from the trace of the recalculation,
// none is computed here.
#pragma once

#include "paycalc/trace.h"

namespace paywindow {

class FormAdapter;
struct Form1Controls;

// Gives every display field the tooltip of its line after a recalculation,
// as right-to-left rich text: the line's title, the rule, then the
// computation "formula = result" kept left to right; a line that quotes a
// hidden working field (the pay after deductions, the children's share of
// the family allowances) explains that amount as well. A line the
// recalculation stopped before explaining gets a note that quotes no amount,
// so that no explanation of an earlier run stays in view.
void ShowExplanations(const Form1Controls &controls, const paycalc::Trace &trace, const FormAdapter &form);

} // namespace paywindow
