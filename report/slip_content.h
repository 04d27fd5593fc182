// What the slip says, before it is laid out: each line's label in Arabic and
// French beside what the engine's slip (paycalc/slip_table.h) states of it, its
// kind, amount, base and rate; the situation's list texts. The printed page
// and the copy for a spreadsheet both read it. No layout here, no amount
// computed and no rate written: all of it is the engine's.
#pragma once

#include <QList>
#include <QString>

#include "paycalc/fields.h"
#include "paycalc/pay_form.h"
#include "paycalc/slip_table.h"
#include "report/slip_report.h"
#include "report/text_direction.h"

namespace report::content {

// A number of the rules the slip was computed with, as the slip writes it:
// the shortest decimal, no trailing zeros.
inline QString RuleNumber(double value) { return Utf8(paycalc::RuleNumber(value)); }

// An Arabic label and the French one that Algerian pay slips commonly carry.
struct Label {
    QString arabic;
    QString french;
};

// A label as plain text: the Arabic, or "Arabic / French" when bilingual.
inline QString LabelText(const Label &l, bool bilingual)
{
    return bilingual ? l.arabic + QStringLiteral(" / ") + l.french : l.arabic;
}

// A field's Arabic caption, with the French beside it.
inline Label Caption(paycalc::Field f, const char *french) { return {Utf8(paycalc::FieldTitle(f)), QString::fromUtf8(french)}; }

// A list's text as the slip prints it: a dash for an empty list.
QString ListText(const paycalc::PayForm &form, int list);

struct Row {
    Label label;
    RowKind kind;
    QString amount;
    QString base;
    QString rate;
};

// The slip's table in print order: its lines but the information ones.
QList<Row> RowsOf(const paycalc::SlipTable &slip);

inline const Label kEarningsTotal{QStringLiteral("مجموع المستحقات"), QStringLiteral("Total des gains")};
inline const Label kDeductionsTotal{QStringLiteral("مجموع الاقتطاعات"), QStringLiteral("Total des retenues")};
inline const Label kNetPay{Caption(paycalc::Field::Text21, "Net à payer")};
inline const Label kRounding{QStringLiteral("فرق التقريب"), QStringLiteral("Écart d'arrondi")};
inline const Label kInWords{QStringLiteral("الراتب الصافي بالحروف"), QStringLiteral("Net à payer en lettres")};
inline const Label kColumns[] = {
    {QStringLiteral("البيان"), QStringLiteral("Libellé")},
    {QStringLiteral("الأساس"), QStringLiteral("Base")},
    {QStringLiteral("النسبة"), QStringLiteral("Taux")},
    {QStringLiteral("المستحقات"), QStringLiteral("Gains")},
    {QStringLiteral("الاقتطاعات"), QStringLiteral("Retenues")},
};

} // namespace report::content
