#include "window/recalc_message.h"

#include "paycalc/slip.h"

namespace paywindow {

QString RecalcMessage(const paycalc::RecalcError &error, const paycalc::Situation &situation)
{
    return QString::fromStdString(paycalc::StoppedMessage(error, situation).arabic);
}

} // namespace paywindow
