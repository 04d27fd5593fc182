// The slip: one run of RecalculateAll and everything a front end shows of it,
// the value the window (after its own recalculation), the printed slip, the
// command line, the batch and the browser all read. Nothing recalculates a
// slip to print, copy or save it, and every feature built on situations
// (comparisons, the career ladder, checking an official slip, the batch) takes
// its amounts from ComputeSlip's one run, never from a second copy of a pay rule.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "paycalc/fields.h"
#include "paycalc/recalculate.h"
#include "paycalc/situation.h"
#include "paycalc/situation_inputs.h"
#include "paycalc/trace.h"

namespace paycalc {

struct SlipLine {
    Field field;
    LineKind kind;
    std::string_view name; // "net_pay"
    Label label;
    std::string amount; // as shown; a typed allowance as ReadAmount reads it, shown to the cent
    // What the slip states beside the line, from the run's explanation: the
    // base the rule applied to ("498 نقطة") and the rate ("× 45", "9%").
    std::string_view base;
    std::string_view rate;
    const Explanation *explanation; // null when the run was not explained or stopped before the line
};

// The printed columns added up with ReadAmount / Add / Sub, shown with ShowAmount.
struct SlipTotals {
    bool computed = false;  // false only when a sum overflows
    std::string earnings;   // sum of the earning lines
    std::string deductions; // sum of the deduction lines
    std::string difference; // earnings - deductions
    std::string netPay;     // Text21, the slip's net pay
    // netPay - difference when they differ, else empty: a typed allowance
    // with more than two decimals counts as typed in the pay and shows
    // rounded to the cent on its line.
    std::string rounding;
};

struct Slip {
    Situation situation;
    std::array<std::string, kFieldCount> texts; // every field's text; the lines a stopped run did not reach are empty
    std::optional<RecalcError> error;           // where the run stopped
    Trace trace;                                // filled when the slip was computed with explanations

    bool ok() const { return !error.has_value(); }
    const std::string &Text(Field f) const { return texts[static_cast<std::size_t>(Index(f))]; }
    SlipLine Line(Field f) const;
    SlipTotals Totals() const;
    // The net pay in Arabic words; empty when too large to write in words.
    std::string NetPayInWords() const;
};

// The situation a form's lists, box and typed fields show.
Situation SituationOf(const PayForm &form);
// The slip of a form its recalculation has just written (the window's): the
// situation it shows and every field's text. The trace and the error are the
// run's own, put there by the caller.
void ReadForm(const PayForm &form, Slip &slip);

// What a person is told when a run stops: the input to correct, named by its
// caption. The typed field whose text could not be read; or else, of the
// typed fields the line was computed from, those without which the
// situation's slip computes; or else all of them; with none, the lists.
// Telling which of the line's typed fields is at fault takes one more
// recalculation per field (at most four, and only after a run has stopped):
// an overflow may come from two amounts together, neither too large alone.
Wording StoppedMessage(const RecalcError &error, const Situation &situation);

// One slip; throws std::invalid_argument for a situation the window could not show.
Slip ComputeSlip(const Situation &situation, bool explain = false);
// The same into an existing slip, whose texts are reused: a run of many
// slips (a ladder, a batch) allocates nothing afresh.
void ComputeSlip(const Situation &situation, Slip &out, bool explain = false);

} // namespace paycalc
