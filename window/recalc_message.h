// What the window tells the user when a recalculation could not be completed.
// Words only: it changes no field of the window and leaves the slip's lines
// to Form1.
#pragma once

#include <QString>

namespace paycalc {
class RecalcError;
struct Situation;
} // namespace paycalc

namespace paywindow {

// A short Arabic message naming the input to correct: the typed field whose
// text could not be read; or else, of the typed fields the failed line was
// computed from (RecalcError::TypedInputs), the ones without which the
// situation's slip computes; or else all of them.
QString RecalcMessage(const paycalc::RecalcError &error, const paycalc::Situation &situation);

} // namespace paywindow
