#include "report/slip_report.h"

#include <QAbstractTextDocumentLayout>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QTextDocument>
#include <QTextOption>
#include <QTextCursor>

#include <algorithm>
#include <iterator>

#include "report/page.h"
#include "report/slip_content.h"
#include "report/text_direction.h"

namespace report {

using paycalc::Field;

using namespace content;

namespace {

const QString kTitle = QStringLiteral("كشف الراتب جانفي 2016");

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
    QString html = label.arabic.toHtmlEscaped();
    if (bold) html = QStringLiteral("<b>%1</b>").arg(html);
    if (bilingual)
        html += QStringLiteral(" <span style=\"font-size:6.5pt; color:#404040\">%1</span>").arg(label.french.toHtmlEscaped());
    return html;
}

QString SubjectOf(const paycalc::PayForm &form)
{
    return QStringLiteral("الصنف %1، الدرجة %2")
        .arg(Utf8(form.ListText(paycalc::kCategoryList)), Utf8(form.ListText(paycalc::kEchelonList)));
}

// The document's XMP packet: Qt's writer has no subject of its own, and the
// XMP dc:description is where a PDF reader finds it.
QByteArray Xmp(const QString &subject)
{
    const auto esc = [](const QString &s) { return s.toHtmlEscaped().toUtf8(); };
    return QByteArrayLiteral("<?xpacket begin='' id='W5M0MpCehiHzreSzNTczkc9d'?>\n"
                             "<x:xmpmeta xmlns:x='adobe:ns:meta/'>\n"
                             "<rdf:RDF xmlns:rdf='http://www.w3.org/1999/02/22-rdf-syntax-ns#'>\n"
                             "<rdf:Description rdf:about='' xmlns:dc='http://purl.org/dc/elements/1.1/'"
                             " xmlns:xmp='http://ns.adobe.com/xap/1.0/' xmlns:pdf='http://ns.adobe.com/pdf/1.3/'>\n"
                             "<dc:title><rdf:Alt><rdf:li xml:lang='x-default'>") +
           esc(kTitle) +
           QByteArrayLiteral("</rdf:li></rdf:Alt></dc:title>\n"
                             "<dc:description><rdf:Alt><rdf:li xml:lang='x-default'>") +
           esc(subject) +
           QByteArrayLiteral("</rdf:li></rdf:Alt></dc:description>\n<xmp:CreatorTool>") + esc(Creator()) +
           QByteArrayLiteral("</xmp:CreatorTool>\n<pdf:Producer>") + esc(Creator()) +
           QByteArrayLiteral("</pdf:Producer>\n</rdf:Description>\n</rdf:RDF>\n</x:xmpmeta>\n"
                             "<?xpacket end='w'?>");
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
    document.setDefaultFont(PrintFont(kSlipPoints));
    QTextOption option = document.defaultTextOption();
    option.setTextDirection(Qt::RightToLeft);
    document.setDefaultTextOption(option);
    document.setDocumentMargin(0);
    document.setHtml(html);
    // Tables are written with their cells in reverse: keep Qt from turning them.
    LeftToRightTables(document);
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


} // namespace

// ---------------------------------------------------------------------------
// The printed page

// A cell of a table; every row of cells is a TableRow, its cells in reverse.
static QString Td(const QString &content, const QString &attributes = {})
{
    return QStringLiteral("<td%1>%2</td>").arg(attributes.isEmpty() ? QString() : QLatin1Char(' ') + attributes, content);
}

static const QString kTable =
    QStringLiteral("<table dir=\"ltr\" width=\"100%\" cellspacing=\"0\" cellpadding=\"1\" border=\"1\">");
static const QString kCentre = QStringLiteral("align=\"center\"");

QString SlipHtml(const paycalc::PayForm &form, const PrintOptions &options)
{
    const bool fr = options.bilingual;
    const auto label = [fr](const Label &l, bool bold = false) { return LabelHtml(l, fr, bold); };
    const auto heading = [fr](const Label &l) {
        return QStringLiteral("<p><b>%1</b>%2</p>")
            .arg(l.arabic.toHtmlEscaped(), fr ? QStringLiteral(" — ") + l.french.toHtmlEscaped() : QString());
    };
    QString html = QStringLiteral(
        "<html dir=\"rtl\"><head><style>"
        "td { padding: 1px; } th { padding: 1px; }"
        "p { margin-top: 3px; margin-bottom: 2px; } h2 { margin-top: 0px; margin-bottom: 2px; }"
        "</style></head><body dir=\"rtl\">");

    // Header: the title, the date of printing, and who the slip is for.
    html += QStringLiteral("<h2 align=\"center\">%1</h2>").arg(kTitle);
    if (fr) html += QStringLiteral("<p align=\"center\">Bulletin de paie — janvier 2016</p>");
    html += QStringLiteral("<p align=\"center\">%1: %2%3</p>")
                .arg(QStringLiteral("تاريخ الطبع"), LeftToRight(options.printed.toString(Qt::ISODate)),
                     fr ? QStringLiteral(" <span style=\"font-size:6.5pt\">Date d'impression</span>") : QString());
    const paycalc::Identity &who = options.identity;
    if (!who.empty()) {
        html += QStringLiteral("<table dir=\"ltr\" width=\"100%\" cellspacing=\"0\" cellpadding=\"1\" border=\"0\">");
        const std::pair<Label, QString> lines[] = {
            {{QStringLiteral("الاسم واللقب"), QStringLiteral("Nom et prénom")}, Utf8(who.name)},
            {{QStringLiteral("رقم الموظف"), QStringLiteral("Matricule")}, Utf8(who.number)},
            {{QStringLiteral("مكان العمل"), QStringLiteral("Lieu de travail")}, Utf8(who.workplace)},
        };
        for (const auto &[l, value] : lines)
            if (!value.isEmpty())
                html += TableRow({Td(label(l), QStringLiteral("width=\"25%\"")), Td(QStringLiteral("<b>%1</b>").arg(value.toHtmlEscaped()))});
        html += QStringLiteral("</table>");
    }

    // Situation, with the index points behind base pay.
    const paycalc::SlipTable slip = paycalc::TableOf(form);
    const paycalc::Rules &rules = *slip.rules;
    const paycalc::GridPoints &points = slip.points;
    const auto pointText = [&points](int n) { return points.known ? QString::number(n) : QStringLiteral("—"); };
    const bool member = form.Check() == paycalc::CheckState::Checked;
    const std::pair<Label, QString> situation[] = {
        {{QStringLiteral("الصنف"), QStringLiteral("Catégorie")}, ListText(form, paycalc::kCategoryList)},
        {{QStringLiteral("الدرجة"), QStringLiteral("Échelon")}, ListText(form, paycalc::kEchelonList)},
        {{QStringLiteral("قيمة النقطة الاستدلالية"), QStringLiteral("Valeur du point indiciaire")}, RuleNumber(rules.pointValue)},
        {{QStringLiteral("النقاط الاستدلالية للصنف"), QStringLiteral("Points indiciaires de la catégorie")}, pointText(points.base)},
        {{QStringLiteral("نقاط الدرجة"), QStringLiteral("Points de l'échelon")}, pointText(points.echelon)},
        {{QStringLiteral("مجموع النقاط"), QStringLiteral("Total des points")}, pointText(points.base + points.echelon)},
        {{QStringLiteral("المنصب النوعي"), QStringLiteral("Poste spécifique")}, ListText(form, paycalc::kPostList)},
        {{QStringLiteral("الحالة العائلية"), QStringLiteral("Situation familiale")}, ListText(form, paycalc::kFamilyStatusList)},
        {{QStringLiteral("مهنة الزوجة"), QStringLiteral("Conjoint")}, ListText(form, paycalc::kSpouseList)},
        {{QStringLiteral("عدد الأولاد"), QStringLiteral("Enfants")}, ListText(form, paycalc::kChildrenList)},
        {{QStringLiteral("الأولاد فوق 10 سنوات"), QStringLiteral("Enfants de plus de 10 ans")}, ListText(form, paycalc::kOverTenList)},
        {{QStringLiteral("التعاضدية"), QStringLiteral("Mutuelle")}, member ? QStringLiteral("مشترك") : QStringLiteral("غير مشترك")},
        {{Utf8(paycalc::FieldTitle(Field::Text20)), QStringLiteral("Jours d'absence")}, LeftToRight(Utf8(form.Text(Field::Text20)))},
        {{Utf8(paycalc::FieldTitle(Field::Text23)), QStringLiteral("Note de rendement (trimestre)")}, LeftToRight(Utf8(form.Text(Field::Text23)))},
    };
    html += heading({QStringLiteral("وضعية الموظف"), QStringLiteral("Situation")});
    html += kTable;
    constexpr qsizetype kPerRow = 3;
    const qsizetype count = static_cast<qsizetype>(std::size(situation));
    for (qsizetype i = 0; i < count; i += kPerRow) {
        QStringList cells;
        for (qsizetype j = i; j < i + kPerRow; ++j) {
            const bool given = j < count;
            cells << Td(given ? label(situation[j].first) : QString(), QStringLiteral("width=\"19%\" bgcolor=\"#eeeeee\""))
                  << Td(given ? situation[j].second.toHtmlEscaped() : QString(), QStringLiteral("width=\"14%\" ") + kCentre);
        }
        html += TableRow(cells);
    }
    html += QStringLiteral("</table>");

    // The lines: label, base, rate, earnings, deductions. Subtotals stand
    // apart, shaded and in italics, with their amount in the base column:
    // they are bases of the lines after them, not added again.
    html += heading({QStringLiteral("الكشف"), QStringLiteral("Détail de la paie")});
    html += kTable;
    const char *widths[] = {"32%", "17%", "13%", "19%", "19%"};
    QStringList headings;
    for (int c = 0; c < 5; ++c)
        headings << QStringLiteral("<th width=\"%1\" bgcolor=\"#d0d0d0\">%2</th>").arg(QLatin1String(widths[c]), label(kColumns[c], true));
    html += TableRow(headings);
    for (const Row &row : RowsOf(slip)) {
        const QString amount = CellAmount(row.amount).toHtmlEscaped();
        const QString base = (HasArabic(row.base) ? row.base : CellAmount(row.base)).toHtmlEscaped();
        const QString rate = (HasArabic(row.rate) ? row.rate : LeftToRight(row.rate)).toHtmlEscaped();
        if (row.kind == RowKind::Subtotal) {
            html += TableRow({Td(QStringLiteral("<i>%1</i>").arg(label(row.label))), Td(QStringLiteral("<i>%1</i>").arg(amount), kCentre),
                        Td({}), Td({}), Td({})},
                       QStringLiteral("bgcolor=\"#e4e4e4\""));
        } else {
            const bool earning = row.kind == RowKind::Earning;
            html += TableRow({Td(label(row.label)), Td(base, kCentre), Td(rate, kCentre), Td(earning ? amount : QString(), kCentre),
                        Td(earning ? QString() : amount, kCentre)});
        }
    }

    // Totals and net pay.
    const SlipTotals totals = TotalsOf(slip);
    const QString difference = QStringLiteral("المستحقات − الاقتطاعات");
    if (totals.computed) {
        html += TableRow({Td(QStringLiteral("%1 / %2").arg(label(kEarningsTotal, true), label(kDeductionsTotal, true))), Td({}), Td({}),
                    Td(QStringLiteral("<b>%1</b>").arg(CellAmount(totals.earnings).toHtmlEscaped()), kCentre),
                    Td(QStringLiteral("<b>%1</b>").arg(CellAmount(totals.deductions).toHtmlEscaped()), kCentre)},
                   QStringLiteral("bgcolor=\"#d0d0d0\""));
        if (!totals.rounding.isEmpty())
            html += TableRow({Td(label(kRounding)),
                        Td(QStringLiteral("%1 = %2").arg(difference, CellAmount(totals.difference)).toHtmlEscaped(),
                           QStringLiteral("colspan=\"2\" ") + kCentre),
                        Td(CellAmount(totals.rounding).toHtmlEscaped(), kCentre), Td({})});
    }
    html += TableRow({Td(label(kNetPay, true)), Td(difference.toHtmlEscaped(), QStringLiteral("colspan=\"2\" ") + kCentre),
                Td(QStringLiteral("<b><big>%1</big></b>").arg(CellAmount(totals.netPay).toHtmlEscaped()), kCentre), Td({})},
               QStringLiteral("bgcolor=\"#80ffff\""));
    const QString words = NetPayInWords(form);
    if (!words.isEmpty())
        html += TableRow({Td(label(kInWords)), Td(QStringLiteral("<b>%1</b>").arg(words.toHtmlEscaped()), QStringLiteral("colspan=\"4\" dir=\"rtl\""))});
    html += QStringLiteral("</table>");
    if (!totals.rounding.isEmpty())
        html += QStringLiteral("<p><small>%1</small></p>")
                    .arg(QStringLiteral("فرق التقريب: يحسب الكشف منحة المنطقة ومنحة السكن كما كتبتا ثم يقرب المجموع إلى السنتيم، "
                                        "بينما يظهر كل سطر هنا مقربا إلى السنتيم.")
                             .toHtmlEscaped());

    // The quarterly performance bonus, not part of the net pay.
    html += heading({QStringLiteral("منحة المردودية (3 اشهر)"), QStringLiteral("Prime de rendement (trimestre)")});
    html += kTable;
    const Label bonusColumns[] = {
        {QStringLiteral("العلامة"), QStringLiteral("Note")},
        {Utf8(paycalc::FieldTitle(Field::Text3)), QStringLiteral("Traitement principal")},
        {QStringLiteral("النسبة"), QStringLiteral("Taux")},
        {Utf8(paycalc::FieldTitle(Field::Text22)), QStringLiteral("Prime de rendement")},
    };
    QStringList bonusHeadings;
    for (const Label &l : bonusColumns)
        bonusHeadings << QStringLiteral("<th width=\"25%\" bgcolor=\"#d0d0d0\">%1</th>").arg(label(l, true));
    html += TableRow(bonusHeadings);
    const QString mark = Utf8(form.Text(Field::Text23));
    html += TableRow({Td(LeftToRight(mark + QStringLiteral(" / ") + RuleNumber(rules.bonusFullMark)).toHtmlEscaped(), kCentre),
                Td((CellAmount(Utf8(slip.Line(Field::Text3).amount)) + QStringLiteral(" × ") + RuleNumber(rules.bonusMonths)).toHtmlEscaped(), kCentre),
                Td(LeftToRight(QStringLiteral("%1 % × %2/%3 × %4")
                                     .arg(RuleNumber(rules.bonusPercent), mark, RuleNumber(rules.bonusFullMark),
                                          RuleNumber(rules.bonusFinalFactor))).toHtmlEscaped(), kCentre),
                Td(QStringLiteral("<b>%1</b>").arg(CellAmount(Utf8(slip.Line(Field::Text22).amount)).toHtmlEscaped()),
                   kCentre + QStringLiteral(" bgcolor=\"#80ffff\""))});
    html += QStringLiteral("</table></body></html>");
    return html;
}

void PrintSlip(const paycalc::PayForm &form, const PrintOptions &options, QPagedPaintDevice &device)
{
    device.setPageLayout(A4Layout());
    QPainter painter(&device);
    DrawSlip(painter, device, SlipHtml(form, options));
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

void SlipPdf::addSlip(const paycalc::PayForm &form, const paycalc::Identity &identity)
{
    Pages &p = *pages_;
    if (p.file.failed()) return;
    QPdfWriter &writer = *p.file.writer();
    if (p.count == 0) {
        // The subject names the first slip's situation; it goes out with the
        // document, so it is set before the first page is painted.
        writer.setDocumentXmpMetadata(Xmp(SubjectOf(form)));
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
    DrawSlip(p.painter, writer, SlipHtml(form, options));
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

bool WriteSlipPdf(const paycalc::PayForm &form, const PrintOptions &options, const QString &path, QString *error)
{
    SlipPdf pdf(path, options);
    pdf.addSlip(form, options.identity);
    return pdf.finish(error);
}

} // namespace report
