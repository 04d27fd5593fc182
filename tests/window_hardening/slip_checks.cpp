#include "tests/memory_form.h"
#include "slip_checks.h"

#include <QLabel>

#include <exception>
#include <string>

#include "window/tests/form1_test_support.h"
#include "paycalc/recalculate.h"
#include "window/form1.h"

namespace hardening {

using paycalc::Field;

namespace {

// Held by every computed line before the computation runs; a line that still
// holds it afterwards was not reached. No amount text can look like it.
const std::string kNotReached = "\x01not reached";

QString Quote(const std::string &text) { return QLatin1Char('"') + QString::fromStdString(text) + QLatin1Char('"'); }

} // namespace

QString Name(Field field)
{
    const std::string_view name = paycalc::FieldName(field);
    return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

QString Title(Field field) { return QString::fromStdString(paycalc::FieldTitle(field)); }

QString ComputedDifferences(Form1 &form, const paycalc::MemoryForm &expected)
{
    QString differences;
    for (Field line : paycalc::kComputedFields) {
        const std::string shown = form.payForm().Text(line);
        if (shown != expected.Text(line))
            differences += QStringLiteral("%1: window %2, computation %3\n")
                               .arg(Name(line), Quote(shown), Quote(expected.Text(line)));
    }
    return differences;
}

paycalc::MemoryForm StartupSlip()
{
    paycalc::MemoryForm slip;
    paycalc::RecalculateAll(slip);
    return slip;
}

SlipCheck CheckSlip(Form1 &form)
{
    SlipCheck check;
    paycalc::MemoryForm run = form1test::InputsOf(form);
    for (Field line : paycalc::kComputedFields) run.SetText(line, kNotReached);
    try {
        paycalc::RecalculateAll(run);
    } catch (const std::exception &) {
        check.stopped = true;
    }

    const QLabel *message = form.messageLabel();
    if (!check.stopped) {
        check.problems += form1test::SlipDifferences(form, form1test::ExpectedSlip(form));
        if (!message->isHidden()) check.problems += QStringLiteral("a message is shown: ") + message->text() + '\n';
        if (!message->text().isEmpty()) check.problems += QStringLiteral("the hidden message keeps a text\n");
        return check;
    }

    if (message->isHidden() || (form.isVisible() && !message->isVisible()))
        check.problems += QStringLiteral("the computation stops but no message is shown\n");
    if (message->text().trimmed().isEmpty()) check.problems += QStringLiteral("the message is empty\n");
    int unreached = 0;
    for (Field line : paycalc::kComputedFields) {
        const bool reached = run.Text(line) != kNotReached;
        const std::string expected = reached ? run.Text(line) : std::string();
        const std::string shown = form.payForm().Text(line);
        if (!reached) ++unreached;
        if (shown != expected)
            check.problems += QStringLiteral("%1 (%2): window %3, expected %4\n")
                                  .arg(Name(line), reached ? QStringLiteral("reached") : QStringLiteral("not reached"),
                                       Quote(shown), Quote(expected));
    }
    if (unreached == 0) check.problems += QStringLiteral("the computation stopped but reached every line\n");
    return check;
}

} // namespace hardening
