// Why each line of the slip is what it is, shown where the user looks: the
// tooltip of every display field explains its amount with the rule in words
// and the computation with the very amounts of the last recalculation.
// Words only: every amount quoted comes from the trace of the recalculation,
// none is computed here.
#pragma once

#include <QString>

#include "paycalc/fields.h"
#include "paycalc/trace.h"

namespace paywindow {

class FormAdapter;
struct Form1Controls;

// The tooltip of one line, as right-to-left rich text: the line's title, the
// rule, then the computation "formula = result" kept left to right. A line
// that quotes a hidden working field (the pay after deductions, the
// children's share of the family allowances) explains that amount as well.
QString ExplanationTip(paycalc::Field line, const paycalc::Trace &trace);

// The tooltip of a line the last recalculation stopped before explaining:
// `written` when it reached the line but not its explanation. It quotes no
// amount.
QString NotComputedTip(paycalc::Field line, bool written);

// Gives every display field the tooltip of its line after a recalculation:
// its explanation when `trace` has one, otherwise the note that the line is
// not computed, so that no explanation of an earlier run stays in view.
void ShowExplanations(const Form1Controls &controls, const paycalc::Trace &trace, const FormAdapter &form);

} // namespace paywindow
