// What the slip says, before it is laid out: each line's label in Arabic and
// French, its kind, its amount, and the base and rate stated beside it; the
// situation's list texts and index points. The printed page and the copy for
// a spreadsheet both read it. No layout here, and no amount computed: every
// amount is a field of the recalculated form.
#pragma once

#include <QList>
#include <QString>

#include "paycalc/fields.h"
#include "paycalc/pay_form.h"
#include "paycalc/rules_2016.h"
#include "report/slip_report.h"
#include "report/text_direction.h"

namespace report::content {

// The rules the slip states its rates from: the engine's, never retyped here.
inline constexpr const paycalc::Rules &kRules = paycalc::kJanuary2016;

// A number of the rules as the slip writes it: 45, 9, 0.819.
inline QString RuleNumber(double value) { return QString::number(value, 'g', 15); }

// An Arabic label and the French one that Algerian pay slips commonly carry.
struct Label {
    QString arabic;
    QString french;
};

// A field's Arabic caption, with the French beside it.
inline Label Caption(paycalc::Field f, const char *french) { return {Utf8(paycalc::FieldTitle(f)), QString::fromUtf8(french)}; }

// A list's text as the slip prints it: a dash for an empty list.
QString ListText(const paycalc::PayForm &form, int list);

// Index points of the grid for the form's category and echelon: display of
// the table behind base pay and the experience allowance.
struct Points {
    int base = 0;
    int echelon = 0;
    bool known = false;
};
Points PointsOf(const paycalc::PayForm &form);

struct Row {
    Label label;
    RowKind kind;
    QString amount;
    QString base;
    QString rate;
};

// The slip's lines in print order, from the recalculated form.
QList<Row> RowsOf(const paycalc::PayForm &form);

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
