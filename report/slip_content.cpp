#include "report/slip_content.h"

#include "paydata/amount.h"
#include "paydata/arabic_words.h"
#include "paydata/tables.h"
#include "report/text_direction.h"

namespace report {

using paycalc::Field;

namespace content {

namespace {

// The amount a typed allowance counts for, as the slip shows amounts: the
// leading number of the text as ReadAmount reads it, shown to the cent.
QString TypedAmount(const paycalc::PayForm &form, Field f)
{
    try {
        return Utf8(paydata::ShowAmount(paydata::ReadAmount(form.Text(f))));
    } catch (const paydata::ConversionError &) {
        return Utf8(form.Text(f)); // a recalculation that succeeded never gets here
    }
}

// The number a typed count reads as (days of absence), without padding.
QString TypedCount(const paycalc::PayForm &form, Field f)
{
    try {
        return QString::number(paydata::ReadAmount(form.Text(f)), 'g', 15);
    } catch (const paydata::ConversionError &) {
        return Utf8(form.Text(f));
    }
}

} // namespace

QString ListText(const paycalc::PayForm &form, int list)
{
    QString text = Utf8(form.ListText(list));
    return text.isEmpty() ? QStringLiteral("—") : text;
}

Points PointsOf(const paycalc::PayForm &form)
{
    Points points;
    const int row = form.ListIndex(paycalc::kCategoryList);
    const int echelon = form.ListIndex(paycalc::kEchelonList);
    try {
        points.base = paydata::BasePoints(row);
        points.echelon = echelon > 0 ? paydata::EchelonPoints(echelon, row) : 0;
        points.known = true;
    } catch (const paydata::ConversionError &) {
        points = {};
    }
    return points;
}

// Every amount comes from the form; bases and rates are what the slip states
// beside them, for the reader's pencil.
QList<Row> RowsOf(const paycalc::PayForm &form)
{
    const auto text = [&form](Field f) { return Utf8(form.Text(f)); };
    const Points points = PointsOf(form);
    const QString pointWord = QStringLiteral(" نقطة");
    const bool member = form.Check() == paycalc::CheckState::Checked;
    return {
        {Caption(Field::Text1, "Salaire de base"), RowKind::Earning, text(Field::Text1),
         points.known ? QString::number(points.base) + pointWord : QString(), points.known ? QStringLiteral("× ") + RuleNumber(kRules.pointValue) : QString()},
        {Caption(Field::Text2, "IEP (indemnité d'expérience professionnelle)"), RowKind::Earning, text(Field::Text2),
         points.known ? QString::number(points.echelon) + pointWord : QString(), points.known ? QStringLiteral("× ") + RuleNumber(kRules.pointValue) : QString()},
        {Caption(Field::Text3, "Traitement principal"), RowKind::Subtotal, text(Field::Text3), {}, {}},
        {Caption(Field::Text4, "Indemnité d'expérience pédagogique / de gestion financière et matérielle"),
         RowKind::Earning, text(Field::Text4), {}, {}},
        {Caption(Field::Text5, "Indemnité de documentation"), RowKind::Earning, text(Field::Text5), {}, {}},
        {Caption(Field::Text6, "Nouvelle indemnité"), RowKind::Earning, text(Field::Text6), {}, {}},
        {Caption(Field::Text7, "Indemnité de qualification"), RowKind::Earning, text(Field::Text7), {}, {}},
        {Caption(Field::Text8, "ICR (indemnité forfaitaire compensatoire)"), RowKind::Earning, text(Field::Text8), {}, {}},
        {Caption(Field::Text9, "Indemnité de gestion d'établissement / de poste spécifique"), RowKind::Earning,
         text(Field::Text9), {}, {}},
        {Caption(Field::Text10, "Indemnité de zone"), RowKind::Earning, TypedAmount(form, Field::Text10), {}, {}},
        {Caption(Field::Text11, "Indemnité de logement"), RowKind::Earning, TypedAmount(form, Field::Text11), {}, {}},
        {Caption(Field::Text12, "Salaire soumis à la sécurité sociale"), RowKind::Subtotal, text(Field::Text12), {}, {}},
        {Caption(Field::Text13, "Sécurité sociale"), RowKind::Deduction, text(Field::Text13), text(Field::Text12),
         RuleNumber(kRules.socialSecurityPercent) + QLatin1Char('%')},
        {{QStringLiteral("الأجر الخاضع للضريبة"), QStringLiteral("Imposable (Mensuel)")}, RowKind::Subtotal,
         text(Field::Text14), {}, {}},
        {Caption(Field::Text15, "IRG (impôt sur le revenu global)"), RowKind::Deduction, text(Field::Text15),
         text(Field::Text14), QStringLiteral("السلم الشهري")},
        {Caption(Field::Text16, "Mutuelle"), RowKind::Deduction, text(Field::Text16),
         member ? text(Field::Text12) : QString(), member ? RuleNumber(kRules.mutualPercent) + QLatin1Char('%') : QStringLiteral("غير مشترك")},
        {Caption(Field::Text17, "Allocations familiales"), RowKind::Earning, text(Field::Text17), {}, {}},
        {Caption(Field::Text18, "Salaire unique"), RowKind::Earning, text(Field::Text18), {}, {}},
        {Caption(Field::Text19, "Absences"), RowKind::Deduction, text(Field::Text19),
         TypedCount(form, Field::Text20) + QStringLiteral(" يوم"),
         QStringLiteral("1/") + RuleNumber(kRules.daysInMonth) + QStringLiteral(" × ") + text(Field::Text2001)},
    };
}

} // namespace content

using namespace content;

// ---------------------------------------------------------------------------
// The table and its totals

QList<SlipRow> SlipRows(const paycalc::PayForm &form, bool bilingual)
{
    QList<SlipRow> rows;
    for (const Row &row : RowsOf(form)) {
        rows.append({bilingual ? row.label.arabic + QStringLiteral(" / ") + row.label.french : row.label.arabic, row.kind,
                     row.amount, row.base, row.rate});
    }
    return rows;
}

SlipTotals TotalsOf(const paycalc::PayForm &form)
{
    SlipTotals totals;
    totals.netPay = Utf8(form.Text(Field::Text21));
    try {
        double earnings = 0;
        double deductions = 0;
        for (const Row &row : RowsOf(form)) {
            if (row.kind == RowKind::Earning) earnings = paydata::Add(earnings, paydata::ReadAmount(row.amount.toStdString()));
            if (row.kind == RowKind::Deduction)
                deductions = paydata::Add(deductions, paydata::ReadAmount(row.amount.toStdString()));
        }
        const std::string shownEarnings = paydata::ShowAmount(earnings);
        const std::string shownDeductions = paydata::ShowAmount(deductions);
        const std::string difference =
            paydata::ShowAmount(paydata::Sub(paydata::ReadAmount(shownEarnings), paydata::ReadAmount(shownDeductions)));
        totals.earnings = Utf8(shownEarnings);
        totals.deductions = Utf8(shownDeductions);
        totals.difference = Utf8(difference);
        if (totals.difference != totals.netPay)
            totals.rounding = Utf8(paydata::ShowAmount(
                paydata::Sub(paydata::ReadAmount(form.Text(Field::Text21)), paydata::ReadAmount(difference))));
        totals.computed = true;
    } catch (const paydata::ConversionError &) {
        totals.computed = false;
    }
    return totals;
}

QString NetPayInWords(const paycalc::PayForm &form)
{
    try {
        return Utf8(paydata::AmountInArabicWords(form.Text(Field::Text21)));
    } catch (const std::exception &) {
        return {}; // beyond the words the slip writes (10^18 dinars and more)
    }
}

// ---------------------------------------------------------------------------
// The clipboard

QString SlipText(const paycalc::PayForm &form, bool bilingual)
{
    const auto name = [bilingual](const Label &l) {
        return bilingual ? l.arabic + QStringLiteral(" / ") + l.french : l.arabic;
    };
    QStringList lines;
    const auto row = [&lines](const QStringList &cells) { lines << cells.join(QLatin1Char('\t')); };
    row({name(kColumns[0]), name(kColumns[1]), name(kColumns[2]), name(kColumns[3]), name(kColumns[4])});
    for (const SlipRow &r : SlipRows(form, bilingual)) {
        if (r.kind == RowKind::Subtotal) row({r.label, r.amount, {}, {}, {}});
        else if (r.kind == RowKind::Earning) row({r.label, r.base, r.rate, r.amount, {}});
        else row({r.label, r.base, r.rate, {}, r.amount});
    }
    const SlipTotals totals = TotalsOf(form);
    if (totals.computed) {
        row({name(kEarningsTotal), {}, {}, totals.earnings, {}});
        row({name(kDeductionsTotal), {}, {}, {}, totals.deductions});
        if (!totals.rounding.isEmpty()) row({name(kRounding), totals.difference, {}, totals.rounding, {}});
    }
    row({name(kNetPay), {}, {}, totals.netPay, {}});
    if (const QString words = NetPayInWords(form); !words.isEmpty()) row({name(kInWords), words, {}, {}, {}});
    row({Utf8(paycalc::FieldTitle(Field::Text23)), Utf8(form.Text(Field::Text23)), {}, {}, {}});
    row({Utf8(paycalc::FieldTitle(Field::Text22)), {}, {}, Utf8(form.Text(Field::Text22)), {}});
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

} // namespace report
