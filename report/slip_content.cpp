#include "report/slip_content.h"

#include "paydata/arabic_words.h"
#include "report/text_direction.h"

namespace report {

using paycalc::Field;

namespace content {

QString ListText(const paycalc::PayForm &form, int list)
{
    QString text = Utf8(form.ListText(list));
    return text.isEmpty() ? QStringLiteral("—") : text;
}

namespace {

// Each line's label; the French that Algerian pay slips commonly carry.
Label LabelOf(Field f)
{
    switch (f) {
    case Field::Text1: return Caption(f, "Salaire de base");
    case Field::Text2: return Caption(f, "IEP (indemnité d'expérience professionnelle)");
    case Field::Text3: return Caption(f, "Traitement principal");
    case Field::Text4: return Caption(f, "Indemnité d'expérience pédagogique / de gestion financière et matérielle");
    case Field::Text5: return Caption(f, "Indemnité de documentation");
    case Field::Text6: return Caption(f, "Nouvelle indemnité");
    case Field::Text7: return Caption(f, "Indemnité de qualification");
    case Field::Text8: return Caption(f, "ICR (indemnité forfaitaire compensatoire)");
    case Field::Text9: return Caption(f, "Indemnité de gestion d'établissement / de poste spécifique");
    case Field::Text10: return Caption(f, "Indemnité de zone");
    case Field::Text11: return Caption(f, "Indemnité de logement");
    case Field::Text12: return Caption(f, "Salaire soumis à la sécurité sociale");
    case Field::Text13: return Caption(f, "Sécurité sociale");
    case Field::Text14: return {QStringLiteral("الأجر الخاضع للضريبة"), QStringLiteral("Imposable (Mensuel)")};
    case Field::Text15: return Caption(f, "IRG (impôt sur le revenu global)");
    case Field::Text16: return Caption(f, "Mutuelle");
    case Field::Text17: return Caption(f, "Allocations familiales");
    case Field::Text18: return Caption(f, "Salaire unique");
    case Field::Text19: return Caption(f, "Absences");
    case Field::Text22: return Caption(f, "Prime de rendement");
    default: return Caption(f, "");
    }
}

} // namespace

// The slip's lines as the engine states them, with their labels.
QList<Row> RowsOf(const paycalc::SlipTable &slip)
{
    QList<Row> rows;
    for (const paycalc::SlipLine &line : slip.lines)
        if (line.kind != RowKind::Information)
            rows.append({LabelOf(line.field), line.kind, Utf8(line.amount), Utf8(line.base), Utf8(line.rate)});
    return rows;
}

} // namespace content

using namespace content;

// ---------------------------------------------------------------------------
// The table and its totals

QList<SlipRow> SlipRows(const paycalc::PayForm &form, bool bilingual)
{
    QList<SlipRow> rows;
    for (const Row &row : RowsOf(paycalc::TableOf(form))) {
        rows.append({LabelText(row.label, bilingual), row.kind, row.amount, row.base, row.rate});
    }
    return rows;
}

SlipTotals TotalsOf(const paycalc::SlipTable &slip)
{
    const paycalc::SlipTotals &t = slip.totals;
    return {t.computed, Utf8(t.earnings), Utf8(t.deductions), Utf8(t.difference), Utf8(t.netPay), Utf8(t.rounding)};
}

SlipTotals TotalsOf(const paycalc::PayForm &form) { return TotalsOf(paycalc::TableOf(form)); }

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
    const auto name = [bilingual](const Label &l) { return LabelText(l, bilingual); };
    QStringList lines;
    const auto row = [&lines](const QStringList &cells) { lines << cells.join(QLatin1Char('\t')); };
    row({name(kColumns[0]), name(kColumns[1]), name(kColumns[2]), name(kColumns[3]), name(kColumns[4])});
    const paycalc::SlipTable slip = paycalc::TableOf(form);
    for (const Row &r : RowsOf(slip)) {
        if (r.kind == RowKind::Subtotal) row({name(r.label), r.amount, {}, {}, {}});
        else if (r.kind == RowKind::Earning) row({name(r.label), r.base, r.rate, r.amount, {}});
        else row({name(r.label), r.base, r.rate, {}, r.amount});
    }
    const SlipTotals totals = TotalsOf(slip);
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
