#include "report/compare_report.h"

#include <QPdfWriter>
#include <QTextDocument>

#include "paycalc/page_labels.h"
#include "paycalc/situation_inputs.h"
#include "paydata/amount.h"
#include "report/page.h"
#include "report/text_direction.h"

namespace report {

using paycalc::Field;

namespace {

using paycalc::PageText;

QString Amount(const std::string &text) { return text.empty() ? QStringLiteral("—") : Utf8(text); }

// A word of the printed pages, in Arabic: the page's and the window's are the same.
QString Word(PageText text) { return Utf8(paycalc::Page(text).arabic); }

QString Tabbed(const QStringList &cells) { return cells.join(QLatin1Char('\t')) + QLatin1Char('\n'); }

const char *kCentre = " align=\"center\"";

// A cell in the document's two forms: a whole <td> of the rich text (empty
// when only the text has the column) and a column of the text.
struct Cell {
    QString html;
    QString text;
    bool inText = true;
};

Cell Td(const QString &text, const char *attributes = "", bool bold = false)
{
    QString html = text.toHtmlEscaped();
    if (bold) html = QStringLiteral("<b>%1</b>").arg(html);
    return {QStringLiteral("<td%1>%2</td>").arg(QLatin1String(attributes), html), text};
}

Cell HtmlOnly(const QString &text) { return {Td(text, kCentre).html, {}, false}; }
Cell TextOnly(const QString &text) { return {{}, text}; }

// An amount: in the rich text kept left to right.
Cell AmountCell(const QString &amount, const char *attributes = kCentre, bool bold = false)
{
    return {Td(LeftToRight(amount), attributes, bold).html, amount};
}

Cell AmountCell(const std::string &amount, bool bold = false) { return AmountCell(Amount(amount), kCentre, bold); }

const char *ChangeColour(Change change)
{
    switch (change) {
    case Change::Up: return "#006400";
    case Change::Down: return "#a00000";
    default: return "#000000";
    }
}

// A signed difference; in the rich text in its colour, with the word saying the same.
Cell DifferenceCell(const std::string &difference)
{
    const Change change = ChangeOf(difference);
    return {QStringLiteral("<td align=\"center\"><font color=\"%1\">%2 %3</font></td>")
                .arg(QLatin1String(ChangeColour(change)), LeftToRight(SignedDifference(difference)).toHtmlEscaped(),
                     change == Change::Unknown ? QString() : QStringLiteral("(%1)").arg(ChangeWord(change))),
            SignedDifference(difference)};
}

// The document as right-to-left rich text and as tab-separated text, each
// row written once for both. The rich text's tables are written as the
// slip's are (TableRow, laid out by SetPrintHtml).
struct Document {
    QString html;
    QString text;

    // A table: its title and header row in the rich text, `plain` in the text.
    void Open(const QString &title, const QStringList &header, const QString &plain, const char *style = "")
    {
        html += QStringLiteral("<p%1><b>%2</b></p>").arg(QLatin1String(style), title.toHtmlEscaped()) +
                QStringLiteral("<table width=\"100%\" cellspacing=\"0\" cellpadding=\"1\" border=\"1\">");
        QStringList cells;
        for (const QString &column : header) cells << QStringLiteral("<th>%1</th>").arg(column.toHtmlEscaped());
        if (!header.isEmpty()) html += TableRow(cells, QStringLiteral("bgcolor=\"#c0c0ff\""));
        text += plain;
    }
    void Row(const QList<Cell> &cells, const QString &attributes = {})
    {
        QStringList tds, columns;
        for (const Cell &cell : cells) {
            if (!cell.html.isEmpty()) tds << cell.html;
            if (cell.inText) columns << cell.text;
        }
        html += TableRow(tds, attributes);
        text += Tabbed(columns);
    }
    // Ends a table, with a sentence under it when one is given.
    void Close(const QString &note = {})
    {
        html += QStringLiteral("</table>");
        if (note.isEmpty()) return;
        html += QStringLiteral("<p>%1</p>").arg(note.toHtmlEscaped());
        text += note + QLatin1Char('\n');
    }
};

Document Write(const ComparisonDocument &document)
{
    const paycalc::Comparison &c = document.comparison;
    Document d;
    d.html = QStringLiteral("<html dir=\"rtl\"><head><style>td, th { line-height: 90%; }</style></head><body dir=\"rtl\">"
                            "<h2 align=\"center\">%3 — %2</h2>"
                            "<p align=\"center\">تاريخ الطبع: %1</p>")
                 .arg(LeftToRight(document.printed.toString(Qt::ISODate)),
                      Utf8(paycalc::Page(paycalc::PageText::Title).arabic), Word(PageText::Compare));
    d.text = Tabbed({Word(PageText::Compare), document.printed.toString(Qt::ISODate)});

    // The two situations, the inputs that differ marked in words.
    const QStringList situations{QStringLiteral("المعطى"), Word(PageText::Before), Word(PageText::After)};
    d.Open(QStringLiteral("الوضعيتان"), situations + QStringList{QStringLiteral("تغير؟")}, Tabbed(situations));
    const QList<SituationRow> before = SituationRows(c.before.situation);
    const QList<SituationRow> after = SituationRows(c.after.situation);
    for (qsizetype i = 0; i < before.size(); ++i) {
        const bool changed = before[i].value != after[i].value;
        d.Row({Td(before[i].label), Td(before[i].value, kCentre), Td(after[i].value, kCentre, changed),
               HtmlOnly(changed ? QStringLiteral("نعم") : QStringLiteral("لا"))});
    }
    d.Close();

    // Every line: before, after, after − before.
    const QStringList lines{QStringLiteral("البند"), Word(PageText::Before), Word(PageText::After)};
    d.Open(Word(PageText::Lines), lines + QStringList{Word(PageText::Change)},
           QLatin1Char('\n') + Tabbed(lines + QStringList{QStringLiteral("الفرق"), QStringLiteral("التغير")}));
    for (Field f : ComparedLines()) {
        const paycalc::LineDifference &line = c.Line(f);
        const bool result = f == Field::Text21 || f == Field::Text22;
        d.Row({Td(LineTitle(f), " width=\"40%\""), AmountCell(line.before, result), AmountCell(line.after, result),
               DifferenceCell(line.difference), TextOnly(ChangeWord(ChangeOf(line.difference)))},
              result ? QStringLiteral("bgcolor=\"#80ffff\"") : QString());
    }
    d.Close();

    if (document.backPay) {
        const paycalc::BackPay &pay = *document.backPay;
        d.Open(QStringLiteral("%1 عن %2 شهرا (%3 ثلاثيات كاملة)").arg(Word(PageText::BackPay)).arg(pay.months).arg(pay.quarters),
               {},
               QLatin1Char('\n') + Tabbed({Word(PageText::BackPay), Word(PageText::Months), QString::number(pay.months),
                                           Word(PageText::Quarters), QString::number(pay.quarters)}));
        // The rich text also says what each sum multiplies.
        const auto times = [](const std::string &difference, int count) {
            return QStringLiteral(" (%1 × %2)").arg(LeftToRight(SignedDifference(difference))).arg(count);
        };
        const struct {
            QString label;
            QString product;
            const std::string &amount;
        } rows[] = {
            {Word(PageText::NetDifference), {}, pay.netDifference},
            {Word(PageText::BonusDifference), {}, pay.bonusDifference},
            {Word(PageText::BackPayMonthly), times(pay.netDifference, pay.months), pay.monthly},
            {Word(PageText::BackPayBonus), times(pay.bonusDifference, pay.quarters), pay.bonus},
            {Word(PageText::BackPayTotal), {}, pay.total},
        };
        for (const auto &row : rows) d.Row({{Td(row.label + row.product).html, row.label}, DifferenceCell(row.amount)});
        d.Close(BackPayNote());
    }

    if (document.ladder) {
        const paycalc::Ladder &ladder = *document.ladder;
        const QString title = LadderTitle(ladder);
        d.Open(title, LadderColumns(), QLatin1Char('\n') + title + QLatin1Char('\n') + Tabbed(LadderColumns()),
               " style=\"page-break-before: always\"");
        for (const paycalc::LadderStep &step : ladder.steps) {
            const bool current = IsCurrentEchelon(ladder, step);
            d.Row({Td(EchelonLabel(ladder, step), kCentre), AmountCell(step.slip.Text(Field::Text21), current),
                   AmountCell(step.slip.Text(Field::Text3)), AmountCell(step.slip.Text(Field::Text15)),
                   AmountCell(step.slip.Text(Field::Text22)), DifferenceCell(step.netStep)},
                  current ? QStringLiteral("bgcolor=\"#ffffa0\"") : QString());
        }
        d.Close(CategoryAboveText(ladder));
    }

    if (document.check && !document.check->lines.empty()) {
        const paycalc::CheckReport &check = *document.check;
        const QStringList columns{QStringLiteral("البند"),  Word(PageText::Ours),
                                  Word(PageText::Official), Word(PageText::CheckDifference),
                                  Word(PageText::Result),   Word(PageText::OurComputation)};
        d.Open(Word(PageText::Check) + QStringLiteral(": ") +
                   Word(check.allAgree() ? PageText::AllAgree : PageText::SomeDiffer),
               columns, QLatin1Char('\n') + Word(PageText::Check) + QLatin1Char('\n') + Tabbed(columns));
        for (const paycalc::CheckedLine &line : check.lines) {
            // Our computation is explained where the amounts differ.
            Cell how{QStringLiteral("<td width=\"38%\"></td>"), {}};
            if (!line.agrees)
                how = {QStringLiteral("<td width=\"38%\">%1</td>").arg(ExplanationHtml(line.explanation)),
                       Utf8(line.explanation).replace(QLatin1Char('\n'), QLatin1Char(' '))};
            d.Row({Td(LineTitle(line.field)), AmountCell(line.ours), AmountCell(Utf8(line.theirs)),
                   DifferenceCell(line.difference), Td(AgreementWord(line.agrees), kCentre, !line.agrees), how});
        }
        d.Close();
    }
    d.html += QStringLiteral("</body></html>");
    return d;
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

QString BackPayNote() { return Word(PageText::BackPayNote); }

bool IsCurrentEchelon(const paycalc::Ladder &ladder, const paycalc::LadderStep &step)
{
    return step.echelon == ladder.situation.echelon;
}

QString LadderTitle(const paycalc::Ladder &ladder)
{
    return QStringLiteral("%1: %2 %3")
        .arg(Word(PageText::Ladder), Utf8(paycalc::InputOf(paycalc::Input::Category).label.arabic))
        .arg(ladder.situation.category);
}

QStringList LadderColumns()
{
    return {Utf8(paycalc::InputOf(paycalc::Input::Echelon).label.arabic),
            LineTitle(Field::Text21),
            LineTitle(Field::Text3),
            LineTitle(Field::Text15),
            LineTitle(Field::Text22),
            Word(PageText::NetStep)};
}

QString EchelonLabel(const paycalc::Ladder &ladder, const paycalc::LadderStep &step)
{
    QString label = QString::number(step.echelon);
    if (IsCurrentEchelon(ladder, step)) label += QStringLiteral(" ◄ ") + Word(PageText::CurrentEchelon);
    return label;
}

QString CategoryAboveText(const paycalc::Ladder &ladder)
{
    if (!ladder.categoryAbove) return {};
    const paycalc::Slip &above = *ladder.categoryAbove;
    const std::string &current = ladder.steps[static_cast<std::size_t>(ladder.situation.echelon)].slip.Text(Field::Text21);
    const std::string difference = paycalc::LineDifferenceOf(current, above.Text(Field::Text21));
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

QString AgreementWord(bool agrees) { return Word(agrees ? PageText::Agrees : PageText::Differs); }

void PrintComparison(const ComparisonDocument &document, QPagedPaintDevice &device)
{
    device.setPageLayout(A4Layout());
    QTextDocument text;
    SetPrintHtml(text, kComparisonPoints, Write(document).html);
    text.print(&device);
}

bool WriteComparisonPdf(const ComparisonDocument &document, const QString &path, QString *error)
{
    if (!document.comparison.ok()) {
        if (error) *error = CannotWrite(path, QStringLiteral("one of the two situations is not computed"));
        return false;
    }
    PdfFile file(path,
                 Word(PageText::Compare) + QStringLiteral(" — ") + Utf8(paycalc::Page(paycalc::PageText::Title).arabic));
    if (QPdfWriter *writer = file.writer()) PrintComparison(document, *writer);
    return file.commit(error);
}

QString ComparisonText(const ComparisonDocument &document) { return Write(document).text; }

} // namespace report
