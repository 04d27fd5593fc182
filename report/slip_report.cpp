#include "report/slip_report.h"

#include <QAbstractTextDocumentLayout>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QTextDocument>
#include <QTextCursor>

#include <algorithm>
#include <iterator>

#include "paycalc/page_labels.h"
#include "paycalc/situation_inputs.h"
#include "report/page.h"
#include "report/text_direction.h"

namespace report {

using paycalc::Field;
using paycalc::Input;
using paycalc::Label;
using paycalc::Page;
using paycalc::PageText;

namespace {

const QString kTitle = Utf8(Page(PageText::Title).arabic);

// A number of the rules as the slip writes it: the shortest decimal, no trailing zeros.
QString RuleNumber(double value) { return Utf8(paycalc::RuleNumber(value)); }

// An amount in a narrow cell: long ones may break between groups of digits
// (a zero-width space), so that no amount is ever cut at the cell's edge.
QString CellAmount(const QString &amount)
{
    constexpr qsizetype kFits = 19; // "1000000000000000.00" fits a cell whole
    if (amount.size() <= kFits) return LeftToRight(amount);
    QString broken;
    const qsizetype point = amount.indexOf(QLatin1Char('.'));
    const qsizetype integerEnd = point < 0 ? amount.size() : point;
    for (qsizetype i = 0; i < amount.size(); ++i) {
        if (i > 0 && i < integerEnd && (integerEnd - i) % 3 == 0 && amount[i - 1].isDigit()) broken += QChar(0x200B);
        broken += amount[i];
    }
    return LeftToRight(broken);
}

bool HasArabic(const QString &text)
{
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.unicode() >= 0x0600 && c.unicode() <= 0x06FF; });
}

QString LabelHtml(const Label &label, bool bilingual, bool bold = false)
{
    QString html = Utf8(label.arabic).toHtmlEscaped();
    if (bold) html = QStringLiteral("<b>%1</b>").arg(html);
    if (bilingual)
        html += QStringLiteral(" <span style=\"font-size:6.5pt; color:#404040\">%1</span>")
                    .arg(Utf8(label.french).toHtmlEscaped());
    return html;
}

QString SubjectOf(const paycalc::Slip &slip)
{
    const auto part = [&slip](Input input) {
        const paycalc::SituationInput &in = paycalc::InputOf(input);
        return Utf8(paycalc::LabelOf(in).arabic) + QLatin1Char(' ') + Utf8(paycalc::InputText(in, slip.situation));
    };
    return part(Input::Category) + QStringLiteral("، ") + part(Input::Echelon);
}

// The document's XMP packet: Qt's writer has no subject of its own, and the
// XMP dc:description is where a PDF reader finds it.
QByteArray Xmp(const QString &subject)
{
    return QStringLiteral("<?xpacket begin='' id='W5M0MpCehiHzreSzNTczkc9d'?>\n"
                          "<x:xmpmeta xmlns:x='adobe:ns:meta/'>\n"
                          "<rdf:RDF xmlns:rdf='http://www.w3.org/1999/02/22-rdf-syntax-ns#'>\n"
                          "<rdf:Description rdf:about='' xmlns:dc='http://purl.org/dc/elements/1.1/'"
                          " xmlns:xmp='http://ns.adobe.com/xap/1.0/' xmlns:pdf='http://ns.adobe.com/pdf/1.3/'>\n"
                          "<dc:title><rdf:Alt><rdf:li xml:lang='x-default'>%1</rdf:li></rdf:Alt></dc:title>\n"
                          "<dc:description><rdf:Alt><rdf:li xml:lang='x-default'>%2</rdf:li></rdf:Alt></dc:description>\n"
                          "<xmp:CreatorTool>%3</xmp:CreatorTool>\n<pdf:Producer>%3</pdf:Producer>\n"
                          "</rdf:Description>\n</rdf:RDF>\n</x:xmpmeta>\n<?xpacket end='w'?>")
        .arg(kTitle.toHtmlEscaped(), subject.toHtmlEscaped(), Creator().toHtmlEscaped())
        .toUtf8();
}

// Draws the slip's rich text on the page the painter is on. The text is laid
// out at 96 dots per inch whatever the device, then scaled to it; a slip
// that would not fit the page (width or height) is scaled down whole, so
// nothing is ever cut.
void DrawSlip(QPainter &painter, const QPaintDevice &device, const QString &html)
{
    QImage reference(1, 1, QImage::Format_RGB32);
    reference.setDotsPerMeterX(3780); // 96 dpi
    reference.setDotsPerMeterY(3780);
    QTextDocument document;
    document.documentLayout()->setPaintDevice(&reference);
    document.setDocumentMargin(0);
    SetPrintHtml(document, kSlipPoints, html);
    // Every paragraph right to left, those that start with a French word too.
    QTextCursor everything(&document);
    everything.select(QTextCursor::Document);
    QTextBlockFormat rightToLeft;
    rightToLeft.setLayoutDirection(Qt::RightToLeft);
    everything.mergeBlockFormat(rightToLeft);

    const qreal scale = device.logicalDpiX() / 96.0;
    const qreal width = device.width() / scale;
    const qreal height = device.height() / scale;
    document.setTextWidth(width);
    QSizeF size = document.size();
    qreal fit = 1;
    if (size.width() > width + 0.5) { // a table wider than the page: lay out wider, draw smaller
        fit = width / size.width();
        document.setTextWidth(width / fit);
        size = document.size();
    }
    if (size.height() * fit > height) { // too long for the page: the same, for the height
        fit = height / size.height();
        document.setTextWidth(width / fit);
    }
    painter.save();
    painter.scale(scale * fit, scale * fit);
    document.drawContents(&painter);
    painter.restore();
}

// ---------------------------------------------------------------------------
// The printed page

// A cell of a table; every row of cells is a TableRow, its cells in reverse.
QString Td(const QString &content, const QString &attributes = {})
{
    return QStringLiteral("<td%1>%2</td>").arg(attributes.isEmpty() ? QString() : QLatin1Char(' ') + attributes, content);
}

const QString kTable = QStringLiteral(
    "<table dir=\"ltr\" width=\"100%\" cellspacing=\"0\" cellpadding=\"1\" border=\"1\">");
const QString kCentre = QStringLiteral("align=\"center\"");

// The slip as right-to-left rich text, for a slip whose recalculation succeeded.
QString SlipHtml(const paycalc::Slip &slip, const PrintOptions &options)
{
    const bool fr = options.bilingual;
    const auto label = [fr](const Label &l, bool bold = false) { return LabelHtml(l, fr, bold); };
    const auto heading = [fr](PageText text) {
        const Label &l = Page(text);
        return QStringLiteral("<p><b>%1</b>%2</p>")
            .arg(Utf8(l.arabic).toHtmlEscaped(), fr ? QStringLiteral(" — ") + Utf8(l.french).toHtmlEscaped() : QString());
    };
    QString html = QStringLiteral("<html dir=\"rtl\"><head><style>"
                                  "td { padding: 1px; } th { padding: 1px; }"
                                  "p { margin-top: 3px; margin-bottom: 2px; } h2 { margin-top: 0px; margin-bottom: 2px; }"
                                  "</style></head><body dir=\"rtl\">");

    // Header: the title, the date of printing, and who the slip is for.
    html += QStringLiteral("<h2 align=\"center\">%1</h2>").arg(kTitle);
    if (fr) html += QStringLiteral("<p align=\"center\">%1</p>").arg(Utf8(Page(PageText::Title).french));
    html += QStringLiteral("<p align=\"center\">%1: %2%3</p>")
                .arg(Utf8(Page(PageText::PrintedOn).arabic), LeftToRight(options.printed.toString(Qt::ISODate)),
                     fr ? QStringLiteral(" <span style=\"font-size:6.5pt\">%1</span>")
                              .arg(Utf8(Page(PageText::PrintedOn).french))
                        : QString());
    const paycalc::Identity &who = options.identity;
    if (!who.empty()) {
        html += QStringLiteral("<table dir=\"ltr\" width=\"100%\" cellspacing=\"0\" cellpadding=\"1\" border=\"0\">");
        const std::pair<PageText, QString> lines[] = {{PageText::Name, Utf8(who.name)},
                                                      {PageText::Number, Utf8(who.number)},
                                                      {PageText::Workplace, Utf8(who.workplace)}};
        for (const auto &[l, value] : lines)
            if (!value.isEmpty())
                html += TableRow({Td(label(Page(l)), QStringLiteral("width=\"25%\"")),
                                  Td(QStringLiteral("<b>%1</b>").arg(value.toHtmlEscaped()))});
        html += QStringLiteral("</table>");
    }

    // Situation, with the index points behind base pay.
    const paycalc::GridPoints &points = slip.trace.points;
    const auto input = [&slip](Input in) {
        const paycalc::SituationInput &i = paycalc::InputOf(in);
        const QString text = Utf8(paycalc::ShownText(i, slip.situation));
        return std::pair<Label, QString>{paycalc::LabelOf(i), paycalc::IsTyped(i) ? LeftToRight(text) : text};
    };
    const std::pair<Label, QString> situation[] = {
        input(Input::Category),
        input(Input::Echelon),
        {Page(PageText::PointValue), RuleNumber(paycalc::kJanuary2016.pointValue)},
        {Page(PageText::CategoryPoints), QString::number(points.base)},
        {Page(PageText::EchelonPoints), QString::number(points.echelon)},
        {Page(PageText::TotalPoints), QString::number(points.base + points.echelon)},
        input(Input::Post),
        input(Input::Status),
        input(Input::Spouse),
        input(Input::Children),
        input(Input::OverTen),
        input(Input::Mutual),
        input(Input::Absence),
        input(Input::Mark),
    };
    html += heading(PageText::Situation);
    html += kTable;
    constexpr qsizetype kPerRow = 3;
    const qsizetype count = static_cast<qsizetype>(std::size(situation));
    for (qsizetype i = 0; i < count; i += kPerRow) {
        QStringList cells;
        for (qsizetype j = i; j < i + kPerRow; ++j) {
            const bool given = j < count;
            cells << Td(given ? label(situation[j].first) : QString(),
                        QStringLiteral("width=\"19%\" bgcolor=\"#eeeeee\""))
                  << Td(given ? situation[j].second.toHtmlEscaped() : QString(),
                        QStringLiteral("width=\"14%\" ") + kCentre);
        }
        html += TableRow(cells);
    }
    html += QStringLiteral("</table>");

    // The lines: label, base, rate, earnings, deductions. Subtotals stand
    // apart, shaded and in italics, with their amount in the base column:
    // they are bases of the lines after them, not added again.
    html += heading(PageText::Lines);
    html += kTable;
    // A header row: each column's label and width.
    const auto headings = [&label](std::initializer_list<std::pair<Label, const char *>> columns) {
        QStringList cells;
        for (const auto &[l, width] : columns)
            cells << QStringLiteral("<th width=\"%1\" bgcolor=\"#d0d0d0\">%2</th>").arg(QLatin1String(width), label(l, true));
        return TableRow(cells);
    };
    html += headings({{Page(PageText::LabelColumn), "32%"},
                      {Page(PageText::BaseColumn), "17%"},
                      {Page(PageText::RateColumn), "13%"},
                      {Page(PageText::EarningsColumn), "19%"},
                      {Page(PageText::DeductionsColumn), "19%"}});
    for (Field f : paycalc::PrintedLines()) {
        const paycalc::SlipLine row = slip.Line(f);
        if (row.kind == paycalc::LineKind::Information) continue;
        const QString amount = CellAmount(Utf8(row.amount)).toHtmlEscaped();
        const QString base = (HasArabic(Utf8(row.base)) ? Utf8(row.base) : CellAmount(Utf8(row.base))).toHtmlEscaped();
        const QString rate = (HasArabic(Utf8(row.rate)) ? Utf8(row.rate) : LeftToRight(Utf8(row.rate))).toHtmlEscaped();
        if (row.kind == paycalc::LineKind::Subtotal) {
            html += TableRow({Td(QStringLiteral("<i>%1</i>").arg(label(row.label))),
                              Td(QStringLiteral("<i>%1</i>").arg(amount), kCentre), Td({}), Td({}), Td({})},
                             QStringLiteral("bgcolor=\"#e4e4e4\""));
        } else {
            const bool earning = row.kind == paycalc::LineKind::Earning;
            html += TableRow({Td(label(row.label)), Td(base, kCentre), Td(rate, kCentre),
                              Td(earning ? amount : QString(), kCentre), Td(earning ? QString() : amount, kCentre)});
        }
    }

    // Totals and net pay.
    const paycalc::SlipTotals totals = slip.Totals();
    const QString difference = Utf8(Page(PageText::Difference).arabic);
    const auto cell = [](const std::string &amount) { return CellAmount(Utf8(amount)).toHtmlEscaped(); };
    if (totals.computed) {
        html += TableRow({Td(QStringLiteral("%1 / %2").arg(label(Page(PageText::EarningsTotal), true),
                                                           label(Page(PageText::DeductionsTotal), true))),
                          Td({}), Td({}), Td(QStringLiteral("<b>%1</b>").arg(cell(totals.earnings)), kCentre),
                          Td(QStringLiteral("<b>%1</b>").arg(cell(totals.deductions)), kCentre)},
                         QStringLiteral("bgcolor=\"#d0d0d0\""));
        if (!totals.rounding.empty())
            html += TableRow(
                {Td(label(Page(PageText::Rounding))),
                 Td(QStringLiteral("%1 = %2").arg(difference, CellAmount(Utf8(totals.difference))).toHtmlEscaped(),
                    QStringLiteral("colspan=\"2\" ") + kCentre),
                 Td(cell(totals.rounding), kCentre), Td({})});
    }
    html += TableRow({Td(label(paycalc::LineLabel(Field::Text21), true)),
                      Td(difference.toHtmlEscaped(), QStringLiteral("colspan=\"2\" ") + kCentre),
                      Td(QStringLiteral("<b><big>%1</big></b>").arg(cell(totals.netPay)), kCentre), Td({})},
                     QStringLiteral("bgcolor=\"#80ffff\""));
    const QString words = Utf8(slip.NetPayInWords());
    if (!words.isEmpty())
        html += TableRow({Td(label(Page(PageText::InWords))), Td(QStringLiteral("<b>%1</b>").arg(words.toHtmlEscaped()),
                                                                 QStringLiteral("colspan=\"4\" dir=\"rtl\""))});
    html += QStringLiteral("</table>");
    if (!totals.rounding.empty())
        html += QStringLiteral("<p><small>%1</small></p>").arg(Utf8(Page(PageText::RoundingNote).arabic).toHtmlEscaped());

    // The quarterly performance bonus, not part of the net pay: its numbers
    // are the rules', as the bonus line's rule applies them.
    const paycalc::Rules &rules = paycalc::kJanuary2016;
    html += heading(PageText::Bonus);
    html += kTable;
    html += headings({{Page(PageText::Mark), "25%"},
                      {paycalc::LineLabel(Field::Text3), "25%"},
                      {Page(PageText::RateColumn), "25%"},
                      {paycalc::LineLabel(Field::Text22), "25%"}});
    const QString mark = Utf8(slip.Text(Field::Text23));
    html += TableRow(
        {Td(LeftToRight(mark + QStringLiteral(" / ") + RuleNumber(rules.bonusFullMark)).toHtmlEscaped(), kCentre),
         Td((CellAmount(Utf8(slip.Line(Field::Text3).amount)) + QStringLiteral(" × ") + RuleNumber(rules.bonusMonths))
                .toHtmlEscaped(),
            kCentre),
         Td(LeftToRight(QStringLiteral("%1 % × %2/%3 × %4")
                            .arg(RuleNumber(rules.bonusPercent), mark, RuleNumber(rules.bonusFullMark),
                                 RuleNumber(rules.bonusFinalFactor)))
                .toHtmlEscaped(),
            kCentre),
         Td(QStringLiteral("<b>%1</b>").arg(cell(slip.Line(Field::Text22).amount)),
            kCentre + QStringLiteral(" bgcolor=\"#80ffff\""))});
    html += QStringLiteral("</table></body></html>");
    return html;
}

} // namespace

void PrintSlip(const paycalc::Slip &slip, const PrintOptions &options, QPagedPaintDevice &device)
{
    device.setPageLayout(A4Layout());
    QPainter painter(&device);
    DrawSlip(painter, device, SlipHtml(slip, options));
}

// ---------------------------------------------------------------------------
// The clipboard

QString SlipText(const paycalc::Slip &slip, bool bilingual)
{
    // A label as plain text: the Arabic, or "Arabic / French" when bilingual.
    const auto name = [bilingual](const Label &l) {
        return bilingual ? Utf8(l.arabic) + QStringLiteral(" / ") + Utf8(l.french) : Utf8(l.arabic);
    };
    QStringList lines;
    const auto row = [&lines](const QStringList &cells) { lines << cells.join(QLatin1Char('\t')); };
    row({name(Page(PageText::LabelColumn)), name(Page(PageText::BaseColumn)), name(Page(PageText::RateColumn)),
         name(Page(PageText::EarningsColumn)), name(Page(PageText::DeductionsColumn))});
    for (Field f : paycalc::PrintedLines()) {
        const paycalc::SlipLine r = slip.Line(f);
        const QString amount = Utf8(r.amount), base = Utf8(r.base), rate = Utf8(r.rate);
        if (r.kind == paycalc::LineKind::Subtotal) row({name(r.label), amount, {}, {}, {}});
        else if (r.kind == paycalc::LineKind::Earning) row({name(r.label), base, rate, amount, {}});
        else if (r.kind == paycalc::LineKind::Deduction) row({name(r.label), base, rate, {}, amount});
    }
    const paycalc::SlipTotals totals = slip.Totals();
    if (totals.computed) {
        row({name(Page(PageText::EarningsTotal)), {}, {}, Utf8(totals.earnings), {}});
        row({name(Page(PageText::DeductionsTotal)), {}, {}, {}, Utf8(totals.deductions)});
        if (!totals.rounding.empty())
            row({name(Page(PageText::Rounding)), Utf8(totals.difference), {}, Utf8(totals.rounding), {}});
    }
    row({name(paycalc::LineLabel(Field::Text21)), {}, {}, Utf8(totals.netPay), {}});
    if (const QString words = Utf8(slip.NetPayInWords()); !words.isEmpty())
        row({name(Page(PageText::InWords)), words, {}, {}, {}});
    row({Utf8(paycalc::FieldTitle(Field::Text23)), Utf8(slip.Text(Field::Text23)), {}, {}, {}});
    row({Utf8(paycalc::FieldTitle(Field::Text22)), {}, {}, Utf8(slip.Text(Field::Text22)), {}});
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

// ---------------------------------------------------------------------------
// The PDF file, written atomically

struct SlipPdf::Pages {
    Pages(const QString &path, const PrintOptions &printOptions) : options(printOptions), file(path, kTitle) {}
    PrintOptions options;
    // Destroyed in reverse order: the painter ends, then the file, which
    // leaves nothing behind unless committed.
    PdfFile file;
    QPainter painter;
    int count = 0;
};

SlipPdf::SlipPdf(const QString &path, const PrintOptions &options) : pages_(std::make_unique<Pages>(path, options)) {}

SlipPdf::~SlipPdf() = default;

void SlipPdf::addSlip(const paycalc::Slip &slip, const paycalc::Identity &identity)
{
    Pages &p = *pages_;
    if (p.file.failed()) return;
    QPdfWriter &writer = *p.file.writer();
    if (p.count == 0) {
        // The subject names the first slip's situation; it goes out with the
        // document, so it is set before the first page is painted.
        writer.setDocumentXmpMetadata(Xmp(SubjectOf(slip)));
        if (!p.painter.begin(&writer)) {
            p.file.fail(QStringLiteral("the PDF could not be started"));
            return;
        }
    } else if (!writer.newPage()) {
        p.file.fail(QStringLiteral("no new page"));
        return;
    }
    PrintOptions options = p.options;
    options.identity = identity;
    DrawSlip(p.painter, writer, SlipHtml(slip, options));
    ++p.count;
}

bool SlipPdf::finish(QString *error)
{
    Pages &p = *pages_;
    if (!p.file.failed()) {
        if (p.count == 0) p.file.fail(QStringLiteral("no slip to write"));
        // Ending the painter hands the whole document to the file.
        else if (!p.painter.end()) p.file.fail(QStringLiteral("the PDF could not be completed"));
    }
    if (p.painter.isActive()) p.painter.end();
    return p.file.commit(error);
}

bool WriteSlipPdf(const paycalc::Slip &slip, const PrintOptions &options, const QString &path, QString *error)
{
    SlipPdf pdf(path, options);
    pdf.addSlip(slip, options.identity);
    return pdf.finish(error);
}

} // namespace report
