#include "window/recalc_message.h"

#include <QStringList>

#include <exception>
#include <string>
#include <vector>

#include "paycalc/line_inputs.h"
#include "paycalc/memory_form.h"
#include "paycalc/recalculate.h"

namespace paywindow {

namespace {

using paycalc::Field;
using paydata::FailureKind;

// The line a user sees for a line of the slip; the hidden working fields
// show through the line they lead to.
Field ShownLine(Field line)
{
    if (line == Field::Text2000) return Field::Text17;
    if (line == Field::Text2001) return Field::Text21;
    return line;
}

// Whether the slip computes once `cleared` is emptied, the other inputs of
// `form` staying as they are.
bool ComputesWithout(const paycalc::PayForm &form, Field cleared)
{
    paycalc::MemoryForm copy = paycalc::MemoryForm::InputsOf(form);
    copy.SetText(cleared, std::string());
    try {
        paycalc::RecalculateAll(copy);
        return true;
    } catch (const std::exception &) {
        return false;
    }
}

QString Quoted(Field field)
{
    return QStringLiteral("«%1»").arg(QString::fromStdString(paycalc::FieldTitle(field)));
}

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

QString RecalcMessage(const paycalc::RecalcError &error, const paycalc::PayForm &form)
{
    std::vector<Field> inputs;
    if (error.source() && paycalc::IsTypedField(*error.source())) {
        inputs = {*error.source()};
    } else {
        inputs = paycalc::TypedInputsBehind(error.step());
        std::vector<Field> culprits;
        for (Field input : inputs)
            if (ComputesWithout(form, input)) culprits.push_back(input);
        if (!culprits.empty()) inputs = culprits;
    }

    if (inputs.empty())
        return QStringLiteral("تعذر حساب %1: راجع الاختيارات في القوائم.").arg(Quoted(ShownLine(error.step())));

    if (inputs.size() == 1)
        return QStringLiteral("القيمة المكتوبة في %1 %2، صححها.").arg(Quoted(inputs.front()), Problem(error.kind()));

    QStringList names;
    for (Field input : inputs) names << Quoted(input);
    return QStringLiteral("إحدى القيم المكتوبة في %1 %2، صححها.")
        .arg(names.join(QStringLiteral(" أو ")), Problem(error.kind()));
}

} // namespace paywindow
