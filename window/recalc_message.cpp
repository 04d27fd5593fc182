#include "window/recalc_message.h"

#include <QStringList>

#include <exception>
#include <string>
#include <vector>

#include "paycalc/slip.h"

namespace paywindow {

namespace {

using paycalc::Field;
using paydata::FailureKind;

// Whether the situation's slip computes once `cleared` is emptied, its other
// inputs staying as they are.
bool ComputesWithout(paycalc::Situation situation, Field cleared)
{
    situation.Typed(cleared).clear();
    try {
        return paycalc::ComputeSlip(situation).ok();
    } catch (const std::exception &) {
        return false;
    }
}

QString Quoted(Field field) { return QStringLiteral("«%1»").arg(QString::fromStdString(paycalc::FieldTitle(field))); }

QString Problem(FailureKind kind)
{
    switch (kind) {
    case FailureKind::Overflow: return QStringLiteral("كبيرة جدا");
    case FailureKind::InvalidOperation:
    case FailureKind::DivisionByZero: return QStringLiteral("لا تعطي نتيجة صحيحة");
    case FailureKind::NoSuchRow: break;
    }
    return QStringLiteral("غير موجودة في الجداول");
}

} // namespace

QString RecalcMessage(const paycalc::RecalcError &error, const paycalc::Situation &situation)
{
    std::vector<Field> inputs;
    if (error.source() && paycalc::IsTypedField(*error.source())) {
        inputs = {*error.source()};
    } else {
        inputs = error.TypedInputs();
        std::vector<Field> culprits;
        for (Field input : inputs)
            if (ComputesWithout(situation, input)) culprits.push_back(input);
        if (!culprits.empty()) inputs = culprits;
    }

    if (inputs.empty())
        return QStringLiteral("تعذر حساب %1: راجع الاختيارات في القوائم.").arg(Quoted(paycalc::ShownLine(error.step())));

    if (inputs.size() == 1)
        return QStringLiteral("القيمة المكتوبة في %1 %2، صححها.").arg(Quoted(inputs.front()), Problem(error.kind()));

    QStringList names;
    for (Field input : inputs) names << Quoted(input);
    return QStringLiteral("إحدى القيم المكتوبة في %1 %2، صححها.")
        .arg(names.join(QStringLiteral(" أو ")), Problem(error.kind()));
}

} // namespace paywindow
