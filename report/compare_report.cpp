#include "report/compare_report.h"

#include <QPdfWriter>
#include <QTextDocument>
#include <QTextOption>

#include <algorithm>

#include "paycalc/page_labels.h"
#include "paycalc/situation_inputs.h"
#include "paydata/amount.h"
#include "report/page.h"
#include "report/text_direction.h"

namespace report {

using paycalc::Field;

namespace {

QString Amount(const std::string &text) { return text.empty() ? QStringLiteral("—") : Utf8(text); }

QString Cell(const QString &text, const char *attributes = "")
{
    return QStringLiteral("<td%1>%2</td>").arg(QLatin1String(attributes), text.toHtmlEscaped());
}

QString HeaderRow(const QStringList &titles)
{
    QStringList cells;
    for (const QString &title : titles) cells << QStringLiteral("<th>%1</th>").arg(title.toHtmlEscaped());
    return TableRow(cells, QStringLiteral("bgcolor=\"#c0c0ff\""));
}

// Every row is a TableRow, its cells in reverse; the paragraphs in the cells
// read from the right as the document does.
QString TableStart()
{
    return QStringLiteral("<table width=\"100%\" cellspacing=\"0\" cellpadding=\"1\" border=\"1\">");
}

const char *ChangeColour(Change change)
{
    switch (change) {
    case Change::Up: return "#006400";
    case Change::Down: return "#a00000";
    default: return "#000000";
    }
}

// A signed difference in its colour, the sign and the word saying the same.
QString DifferenceCell(const std::string &difference)
{
    const Change change = ChangeOf(difference);
    return QStringLiteral("<td align=\"center\"><font color=\"%1\">%2 %3</font></td>")
        .arg(QLatin1String(ChangeColour(change)), LeftToRight(SignedDifference(difference)).toHtmlEscaped(),
             change == Change::Unknown ? QString() : QStringLiteral("(%1)").arg(ChangeWord(change)));
}

QString AmountCell(const std::string &text, bool bold = false)
{
    const QString amount = LeftToRight(Amount(text)).toHtmlEscaped();
    return bold ? QStringLiteral("<td align=\"center\"><b>%1</b></td>").arg(amount)
                : QStringLiteral("<td align=\"center\">%1</td>").arg(amount);
}

} // namespace

QString EchelonLabel(const paycalc::Ladder &ladder, const paycalc::LadderStep &step)
{
    QString label = QString::number(step.echelon);
    if (IsCurrentEchelon(ladder, step)) label += QStringLiteral(" ◄ الحالية");
    return label;
}

namespace {

QString Tabbed(const QStringList &cells) { return cells.join(QLatin1Char('\t')) + QLatin1Char('\n'); }

} // namespace

QString LadderTitle(const paycalc::Ladder &ladder)
{
    return QStringLiteral("سلم الدرجات: الصنف %1").arg(ladder.situation.category);
}

QString CategoryAboveText(const paycalc::Ladder &ladder)
{
    if (!ladder.categoryAbove) return {};
    const paycalc::Slip &above = *ladder.categoryAbove;
    const std::string &current = ladder.steps[static_cast<std::size_t>(ladder.situation.echelon)].slip.Text(Field::Text21);
    std::string difference;
    try {
        if (!current.empty() && !above.Text(Field::Text21).empty())
            difference = paycalc::Difference(current, above.Text(Field::Text21));
    } catch (const paydata::ConversionError &) {
        difference.clear();
    }
    // Said in words, so that no sign has to find its place inside the sentence.
    const Change change = ChangeOf(difference);
    QString by = Utf8(difference);
    if (by.startsWith(QLatin1Char('-'))) by.remove(0, 1);
    const QString how = change == Change::Up     ? QStringLiteral("بزيادة %1 على").arg(by)
                        : change == Change::Down ? QStringLiteral("بنقصان %1 عن").arg(by)
                        : change == Change::Same ? QStringLiteral("مثل")
                                                 : QStringLiteral("لا تقارن مع");
    return QStringLiteral("الدرجة %1 في الصنف %2: الراتب الصافي %3، %4 الصنف %5")
        .arg(above.situation.echelon)
        .arg(above.situation.category)
        .arg(Amount(above.Text(Field::Text21)), how)
        .arg(ladder.situation.category);
}

QStringList LadderColumns()
{
    return {QStringLiteral("الدرجة"), LineTitle(Field::Text21), LineTitle(Field::Text3),
            LineTitle(Field::Text15), LineTitle(Field::Text22), QStringLiteral("الزيادة في الراتب الصافي")};
}

namespace {

QStringList CheckColumns()
{
    return {QStringLiteral("البند"), QStringLiteral("مبلغنا"),  QStringLiteral("المبلغ الرسمي"),
            QStringLiteral("الفرق"), QStringLiteral("النتيجة"), QStringLiteral("شرح حسابنا")};
}

} // namespace

const std::vector<Field> &ComparedLines()
{
    static const std::vector<Field> lines = [] {
        std::vector<Field> shown;
        for (Field f : paycalc::kSlipLines)
            if (!paycalc::IsTypedField(f)) shown.push_back(f);
        return shown;
    }();
    return lines;
}

QString ExplanationHtml(const std::string &explanation)
{
    // The rule reads from the right; the computation under it from the left.
    const QString text = Utf8(explanation);
    const qsizetype split = text.indexOf(QLatin1Char('\n'));
    if (split < 0) return text.toHtmlEscaped();
    return QStringLiteral("<div>%1</div><div dir=\"ltr\" align=\"right\">%2</div>")
        .arg(text.left(split).toHtmlEscaped(),
             text.mid(split + 1).replace(QLatin1Char('\n'), QLatin1Char(' ')).toHtmlEscaped());
}

QString LineTitle(Field field) { return Utf8(paycalc::FieldTitle(field)); }

Change ChangeOf(const std::string &difference)
{
    if (difference.empty()) return Change::Unknown;
    try {
        const double value = paydata::ReadAmount(difference);
        return value > 0 ? Change::Up : value < 0 ? Change::Down : Change::Same;
    } catch (const paydata::ConversionError &) {
        return Change::Unknown;
    }
}

QString SignedDifference(const std::string &difference)
{
    switch (ChangeOf(difference)) {
    case Change::Unknown: return QStringLiteral("—");
    case Change::Up: return QLatin1Char('+') + Utf8(difference);
    case Change::Same: return QStringLiteral("0.00");
    case Change::Down: break;
    }
    return Utf8(difference); // ShowAmount already wrote the minus sign
}

QString ChangeWord(Change change)
{
    switch (change) {
    case Change::Up: return QStringLiteral("زيادة");
    case Change::Down: return QStringLiteral("نقصان");
    case Change::Same: return QStringLiteral("دون تغيير");
    case Change::Unknown: break;
    }
    return QStringLiteral("غير محسوب");
}

QList<SituationRow> SituationRows(const paycalc::Situation &situation)
{
    QList<SituationRow> rows;
    for (const paycalc::SituationInput &input : paycalc::kSituationInputs)
        rows.append({Utf8(paycalc::LabelOf(input).arabic), Utf8(paycalc::ShownText(input, situation))});
    return rows;
}

QString BackPayNote()
{
    return QStringLiteral("يحسب كل شهر بسلم الضريبة الشهري، كما لو دفع في شهره: "
                          "لا تطبق على المخلفات أي معاملة ضريبية خاصة.");
}

bool IsCurrentEchelon(const paycalc::Ladder &ladder, const paycalc::LadderStep &step)
{
    return step.echelon == ladder.situation.echelon;
}

QString AgreementWord(bool agrees) { return agrees ? QStringLiteral("مطابق") : QStringLiteral("غير مطابق"); }

QString ComparisonHtml(const ComparisonDocument &document)
{
    const paycalc::Comparison &c = document.comparison;
    QString html = QStringLiteral(
                       "<html dir=\"rtl\"><head><style>td, th { line-height: 90%; }</style></head><body dir=\"rtl\">"
                       "<h2 align=\"center\">مقارنة وضعيتين — %2</h2>"
                       "<p align=\"center\">تاريخ الطبع: %1</p>")
                       .arg(LeftToRight(document.printed.toString(Qt::ISODate)),
                            Utf8(paycalc::Page(paycalc::PageText::Title).arabic));

    // The two situations, the inputs that differ marked in words.
    html += QStringLiteral("<p><b>الوضعيتان</b></p>") + TableStart() +
            HeaderRow({QStringLiteral("المعطى"), QStringLiteral("الوضعية الحالية"), QStringLiteral("الوضعية الجديدة"),
                       QStringLiteral("تغير؟")});
    const QList<SituationRow> before = SituationRows(c.before.situation);
    const QList<SituationRow> after = SituationRows(c.after.situation);
    for (qsizetype i = 0; i < before.size(); ++i) {
        const bool changed = before[i].value != after[i].value;
        html += TableRow({Cell(before[i].label), Cell(before[i].value, " align=\"center\""),
                          changed
                              ? QStringLiteral("<td align=\"center\"><b>%1</b></td>").arg(after[i].value.toHtmlEscaped())
                              : Cell(after[i].value, " align=\"center\""),
                          Cell(changed ? QStringLiteral("نعم") : QStringLiteral("لا"), " align=\"center\"")});
    }
    html += QStringLiteral("</table>");

    // Every line: before, after, after − before.
    html += QStringLiteral("<p><b>الكشف</b></p>") + TableStart() +
            HeaderRow({QStringLiteral("البند"), QStringLiteral("الوضعية الحالية"), QStringLiteral("الوضعية الجديدة"),
                       QStringLiteral("الفرق (الجديدة − الحالية)")});
    for (Field f : ComparedLines()) {
        const paycalc::LineDifference &line = c.Line(f);
        const bool result = f == Field::Text21 || f == Field::Text22;
        html += TableRow({Cell(LineTitle(f), " width=\"40%\""), AmountCell(line.before, result),
                          AmountCell(line.after, result), DifferenceCell(line.difference)},
                         result ? QStringLiteral("bgcolor=\"#80ffff\"") : QString());
    }
    html += QStringLiteral("</table>");

    if (document.backPay) {
        const paycalc::BackPay &pay = *document.backPay;
        html += QStringLiteral("<p><b>المخلفات عن %1 شهرا (%2 ثلاثيات كاملة)</b></p>").arg(pay.months).arg(pay.quarters) +
                TableStart();
        const struct {
            QString label;
            const std::string &amount;
        } rows[] = {
            {QStringLiteral("فرق الراتب الصافي في الشهر"), pay.netDifference},
            {QStringLiteral("فرق مبلغ المردودية في الثلاثي"), pay.bonusDifference},
            {QStringLiteral("الرواتب الشهرية (%1 × %2)").arg(LeftToRight(SignedDifference(pay.netDifference))).arg(pay.months),
             pay.monthly},
            {QStringLiteral("المردودية (%1 × %2)").arg(LeftToRight(SignedDifference(pay.bonusDifference))).arg(pay.quarters),
             pay.bonus},
            {QStringLiteral("المجموع"), pay.total},
        };
        for (const auto &row : rows) html += TableRow({Cell(row.label), DifferenceCell(row.amount)});
        html += QStringLiteral("</table><p>%1</p>").arg(BackPayNote().toHtmlEscaped());
    }

    if (document.ladder) {
        const paycalc::Ladder &ladder = *document.ladder;
        html += QStringLiteral("<p style=\"page-break-before: always\"><b>%1</b></p>")
                    .arg(LadderTitle(ladder).toHtmlEscaped()) +
                TableStart() + HeaderRow(LadderColumns());
        for (const paycalc::LadderStep &step : ladder.steps) {
            const bool current = IsCurrentEchelon(ladder, step);
            html += TableRow({Cell(EchelonLabel(ladder, step), " align=\"center\""),
                              AmountCell(step.slip.Text(Field::Text21), current),
                              AmountCell(step.slip.Text(Field::Text3)), AmountCell(step.slip.Text(Field::Text15)),
                              AmountCell(step.slip.Text(Field::Text22)), DifferenceCell(step.netStep)},
                             current ? QStringLiteral("bgcolor=\"#ffffa0\"") : QString());
        }
        html += QStringLiteral("</table>");
        if (ladder.categoryAbove) html += QStringLiteral("<p>%1</p>").arg(CategoryAboveText(ladder).toHtmlEscaped());
    }

    if (document.check && !document.check->lines.empty()) {
        const paycalc::CheckReport &check = *document.check;
        html += QStringLiteral("<p><b>مراجعة كشف رسمي: %1</b></p>")
                    .arg(check.allAgree() ? QStringLiteral("كل المبالغ المكتوبة مطابقة")
                                          : QStringLiteral("بعض المبالغ غير مطابقة")) +
                TableStart() + HeaderRow(CheckColumns());
        for (const paycalc::CheckedLine &line : check.lines) {
            html += TableRow({Cell(LineTitle(line.field)), AmountCell(line.ours),
                              Cell(LeftToRight(Utf8(line.theirs)), " align=\"center\""), DifferenceCell(line.difference),
                              line.agrees
                                  ? Cell(AgreementWord(true), " align=\"center\"")
                                  : QStringLiteral("<td align=\"center\"><b>%1</b></td>").arg(AgreementWord(false)),
                              QStringLiteral("<td width=\"38%\">%1</td>")
                                  .arg(line.agrees ? QString() : ExplanationHtml(line.explanation))});
        }
        html += QStringLiteral("</table>");
    }
    return html + QStringLiteral("</body></html>");
}

void PrintComparison(const ComparisonDocument &document, QPagedPaintDevice &device)
{
    device.setPageLayout(A4Layout());
    QTextDocument text;
    text.setDefaultFont(PrintFont(kComparisonPoints));
    QTextOption option = text.defaultTextOption();
    option.setTextDirection(Qt::RightToLeft);
    text.setDefaultTextOption(option);
    text.setHtml(ComparisonHtml(document));
    // Tables are written with their cells in reverse: keep Qt from turning them.
    LeftToRightTables(text);
    text.print(&device);
}

bool WriteComparisonPdf(const ComparisonDocument &document, const QString &path, QString *error)
{
    if (!document.comparison.ok()) {
        if (error) *error = CannotWrite(path, QStringLiteral("one of the two situations is not computed"));
        return false;
    }
    PdfFile file(path, QStringLiteral("مقارنة وضعيتين — ") + Utf8(paycalc::Page(paycalc::PageText::Title).arabic));
    if (QPdfWriter *writer = file.writer()) PrintComparison(document, *writer);
    return file.commit(error);
}

QString ComparisonText(const ComparisonDocument &document)
{
    const paycalc::Comparison &c = document.comparison;
    QString text = Tabbed({QStringLiteral("مقارنة وضعيتين"), document.printed.toString(Qt::ISODate)});
    text += Tabbed({QStringLiteral("المعطى"), QStringLiteral("الوضعية الحالية"), QStringLiteral("الوضعية الجديدة")});
    const QList<SituationRow> before = SituationRows(c.before.situation);
    const QList<SituationRow> after = SituationRows(c.after.situation);
    for (qsizetype i = 0; i < before.size(); ++i) text += Tabbed({before[i].label, before[i].value, after[i].value});
    text += QLatin1Char('\n');
    text += Tabbed({QStringLiteral("البند"), QStringLiteral("الوضعية الحالية"), QStringLiteral("الوضعية الجديدة"),
                    QStringLiteral("الفرق"), QStringLiteral("التغير")});
    for (Field f : ComparedLines()) {
        const paycalc::LineDifference &line = c.Line(f);
        text += Tabbed({LineTitle(f), Amount(line.before), Amount(line.after), SignedDifference(line.difference),
                        ChangeWord(ChangeOf(line.difference))});
    }
    if (document.backPay) {
        const paycalc::BackPay &pay = *document.backPay;
        text += QLatin1Char('\n');
        text += Tabbed({QStringLiteral("المخلفات"), QStringLiteral("الأشهر"), QString::number(pay.months),
                        QStringLiteral("الثلاثيات الكاملة"), QString::number(pay.quarters)});
        text += Tabbed({QStringLiteral("فرق الراتب الصافي في الشهر"), SignedDifference(pay.netDifference)});
        text += Tabbed({QStringLiteral("فرق مبلغ المردودية في الثلاثي"), SignedDifference(pay.bonusDifference)});
        text += Tabbed({QStringLiteral("الرواتب الشهرية"), SignedDifference(pay.monthly)});
        text += Tabbed({QStringLiteral("المردودية"), SignedDifference(pay.bonus)});
        text += Tabbed({QStringLiteral("المجموع"), SignedDifference(pay.total)});
        text += BackPayNote() + QLatin1Char('\n');
    }
    if (document.ladder) {
        const paycalc::Ladder &ladder = *document.ladder;
        text += QLatin1Char('\n') + LadderTitle(ladder) + QLatin1Char('\n') + Tabbed(LadderColumns());
        for (const paycalc::LadderStep &step : ladder.steps)
            text += Tabbed({EchelonLabel(ladder, step), Amount(step.slip.Text(Field::Text21)),
                            Amount(step.slip.Text(Field::Text3)), Amount(step.slip.Text(Field::Text15)),
                            Amount(step.slip.Text(Field::Text22)), SignedDifference(step.netStep)});
        if (ladder.categoryAbove) text += CategoryAboveText(ladder) + QLatin1Char('\n');
    }
    if (document.check && !document.check->lines.empty()) {
        text += QLatin1Char('\n') + QStringLiteral("مراجعة كشف رسمي") + QLatin1Char('\n') + Tabbed(CheckColumns());
        for (const paycalc::CheckedLine &line : document.check->lines)
            text += Tabbed(
                {LineTitle(line.field), Amount(line.ours), Utf8(line.theirs), SignedDifference(line.difference),
                 AgreementWord(line.agrees),
                 line.agrees ? QString() : Utf8(line.explanation).replace(QLatin1Char('\n'), QLatin1Char(' '))});
    }
    return text;
}

} // namespace report
