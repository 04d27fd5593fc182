#include "report/slip_report.h"

#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextDocument>
#include <QTextOption>

#include "paydata/tables.h"

namespace report {

using paycalc::Field;

namespace {

QString Utf8(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

// Keeps an amount's sign in front of its digits inside right-to-left text.
QString LeftToRight(const QString& text) { return QChar(0x202A) + text + QChar(0x202C); }

QString Amount(const paycalc::PayForm& form, Field f) { return LeftToRight(Utf8(form.Text(f))); }

QString ListText(const paycalc::PayForm& form, int list)
{
    QString text = Utf8(form.ListText(list));
    return text.isEmpty() ? QStringLiteral("—") : text;
}

struct Situation {
    QString label;
    QString value;
};

QList<Situation> SituationOf(const paycalc::PayForm& form)
{
    const bool member = form.Check() == paycalc::CheckState::Checked;
    return {
        {QStringLiteral("الصنف"), ListText(form, paycalc::kCategoryList)},
        {QStringLiteral("الدرجة"), ListText(form, paycalc::kEchelonList)},
        {QStringLiteral("المنصب النوعي"), ListText(form, paycalc::kPostList)},
        {QStringLiteral("الحالة العائلية"), ListText(form, paycalc::kFamilyStatusList)},
        {QStringLiteral("مهنة الزوجة"), ListText(form, paycalc::kSpouseList)},
        {QStringLiteral("عدد الأولاد"), ListText(form, paycalc::kChildrenList)},
        {QStringLiteral("الأكبر من 10"), ListText(form, paycalc::kOverTenList)},
        {QStringLiteral("التعاضدية"), member ? QStringLiteral("مشترك") : QStringLiteral("غير مشترك")},
        {Utf8(paycalc::FieldTitle(Field::Text10)), LeftToRight(Utf8(form.Text(Field::Text10)))},
        {Utf8(paycalc::FieldTitle(Field::Text11)), LeftToRight(Utf8(form.Text(Field::Text11)))},
        {Utf8(paycalc::FieldTitle(Field::Text20)), LeftToRight(Utf8(form.Text(Field::Text20)))},
        {Utf8(paycalc::FieldTitle(Field::Text23)), LeftToRight(Utf8(form.Text(Field::Text23)))},
    };
}

bool StandsOut(Field f) { return f == Field::Text21 || f == Field::Text22; }

QFont SlipFont()
{
    QFont font;
    font.setFamilies({QStringLiteral("Arial"), QStringLiteral("Noto Sans Arabic"), QStringLiteral("Noto Naskh Arabic"),
                      QStringLiteral("DejaVu Sans")});
    font.setPointSizeF(9);
    return font;
}

} // namespace

QString SlipHtml(const paycalc::PayForm& form, const QDate& printed)
{
    QString html = QStringLiteral(
        "<html dir=\"rtl\"><head><style>td { line-height: 90%; }</style></head><body dir=\"rtl\">"
        "<h2 align=\"center\">كشف الراتب جانفي 2016</h2>"
        "<p align=\"center\">تاريخ الطبع: %1</p>")
                       .arg(LeftToRight(printed.toString(Qt::ISODate)));

    html += QStringLiteral("<p><b>وضعية الموظف</b></p><table dir=\"rtl\" width=\"100%\" cellspacing=\"0\" cellpadding=\"1\" border=\"1\">");
    const QList<Situation> situation = SituationOf(form);
    for (qsizetype i = 0; i < situation.size(); i += 2) {
        html += QStringLiteral("<tr>");
        for (qsizetype j = i; j < i + 2 && j < situation.size(); ++j)
            html += QStringLiteral("<td width=\"30%\">%1</td><td width=\"20%\" align=\"center\">%2</td>")
                        .arg(situation[j].label.toHtmlEscaped(), situation[j].value.toHtmlEscaped());
        html += QStringLiteral("</tr>");
    }
    html += QStringLiteral("</table>");

    html += QStringLiteral("<p><b>الكشف</b></p><table dir=\"rtl\" width=\"100%\" cellspacing=\"0\" cellpadding=\"1\" border=\"1\">");
    for (Field f : paycalc::kSlipLines) {
        if (paycalc::IsTypedField(f)) continue; // already stated with the situation
        const QString label = Utf8(paycalc::FieldTitle(f)).toHtmlEscaped();
        const QString amount = Amount(form, f).toHtmlEscaped();
        if (StandsOut(f))
            html += QStringLiteral("<tr bgcolor=\"#80ffff\"><td width=\"65%\"><b>%1</b></td>"
                                   "<td align=\"center\"><b><big>%2</big></b></td></tr>")
                        .arg(label, amount);
        else
            html += QStringLiteral("<tr><td width=\"65%\">%1</td><td align=\"center\">%2</td></tr>").arg(label, amount);
    }
    html += QStringLiteral("</table></body></html>");
    return html;
}

void PrintSlip(const paycalc::PayForm& form, const QDate& printed, QPagedPaintDevice& device)
{
    device.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(12, 10, 12, 10),
                                     QPageLayout::Millimeter));
    QTextDocument document;
    document.setDefaultFont(SlipFont());
    QTextOption option = document.defaultTextOption();
    option.setTextDirection(Qt::RightToLeft);
    document.setDefaultTextOption(option);
    document.setHtml(SlipHtml(form, printed));
    document.print(&device);
}

bool WriteSlipPdf(const paycalc::PayForm& form, const QDate& printed, const QString& path)
{
    {
        // QPdfWriter says nothing when it cannot write: find out first.
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly)) return false;
    }
    {
        QPdfWriter writer(path);
        writer.setTitle(QStringLiteral("كشف الراتب جانفي 2016"));
        writer.setCreator(QStringLiteral("payslip"));
        writer.setResolution(300);
        PrintSlip(form, printed, writer);
    }
    return QFileInfo(path).size() > 0;
}

QString SlipText(const paycalc::PayForm& form)
{
    QString text;
    const QChar rlm(0x200F);
    for (Field f : paycalc::kSlipLines)
        text += rlm + Utf8(paycalc::FieldTitle(f)) + QStringLiteral(":\t") + LeftToRight(Utf8(form.Text(f))) +
                QLatin1Char('\n');
    return text;
}

} // namespace report
