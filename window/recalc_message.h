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

// The engine's message for a stopped run (paycalc::StoppedMessage), in the
// window's Arabic: it names the input to correct.
QString RecalcMessage(const paycalc::RecalcError &error, const paycalc::Situation &situation);

} // namespace paywindow
