// What the window tells the user when a recalculation could not be completed.
// Words only: it changes no field of the window and leaves the slip's lines
// to Form1.
#pragma once

#include <QString>

namespace paycalc {
class PayForm;
class RecalcError;
}

namespace paywindow {

// A short Arabic message naming the input to correct: the typed field whose
// text could not be read; or else, of the typed fields the failed line is
// computed from, the one without which the slip computes (tried on a copy of
// `form`'s inputs); or else all of them.
QString RecalcMessage(const paycalc::RecalcError &error, const paycalc::PayForm &form);

} // namespace paywindow
