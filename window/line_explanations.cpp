#include "window/line_explanations.h"

#include <QLineEdit>

#include <array>
#include <string_view>

#include "window/form1_layout.h"
#include "window/form_adapter.h"
#include "report/text_direction.h"

namespace paywindow {

namespace {

using paycalc::Field;

using report::Utf8;

// The tooltips are rebuilt at every recalculation: plain concatenation,
// without format strings.
const QString kRuleOpen = QStringLiteral("<p dir=\"rtl\" align=\"right\">");
// The arithmetic reads left to right whatever the direction of the text
// around it, and is not broken across lines.
const QString kComputationOpen = QStringLiteral("<p dir=\"ltr\" align=\"right\" style=\"white-space:pre\">");
const QString kClose = QStringLiteral("</p>");

QString Paragraph(const QString &html) { return kRuleOpen + html + kClose; }

QString Computation(const paycalc::Explanation &e)
{
    QString line = Utf8(e.formula);
    if (!line.isEmpty()) line += QStringLiteral(" = ");
    line += Utf8(e.result);
    return kComputationOpen + line.toHtmlEscaped() + kClose;
}

QString Explained(const paycalc::Explanation &e)
{
    QString html = Paragraph(Utf8(e.rule).toHtmlEscaped());
    if (!e.formula.empty() || !e.result.empty()) html += Computation(e);
    return html;
}

// The line's title in bold, made once per field.
const QString &Title(Field line)
{
    static const auto titles = [] {
        std::array<QString, paycalc::kFieldCount> all;
        for (int i = 0; i < paycalc::kFieldCount; ++i)
            all[static_cast<std::size_t>(i)] = Paragraph(
                QStringLiteral("<b>") + Utf8(paycalc::FieldTitle(static_cast<Field>(i))).toHtmlEscaped() +
                QStringLiteral("</b>"));
        return all;
    }();
    return titles[static_cast<std::size_t>(paycalc::Index(line))];
}

bool IsHidden(Field f) { return f == Field::Text2000 || f == Field::Text2001; }

QString ExplanationTip(Field line, const paycalc::Explanation &e, const paycalc::Trace &trace)
{
    QString html = Title(line) + Explained(e);
    for (const paycalc::Quoted &q : e.quoted) {
        if (!q.field || !IsHidden(*q.field)) continue;
        if (const paycalc::Explanation *behind = trace.Find(*q.field)) html += Explained(*behind);
    }
    return html;
}

QString NotComputedNote(bool written)
{
    return written ? QStringLiteral("توقف الحساب قبل أن يشرح هذا السطر؛ صحح القيمة المشار إليها.")
                   : QStringLiteral("لم يُحسب هذا السطر: توقف الحساب قبل أن يصل إليه؛ صحح القيمة المشار إليها.");
}

} // namespace

void ShowExplanations(const Form1Controls &controls, const paycalc::Trace &trace, const FormAdapter &form)
{
    for (Field line : paycalc::kComputedFields) {
        QLineEdit *box = controls.texts[static_cast<std::size_t>(paycalc::Index(line))];
        if (!box) continue; // a hidden working field: explained with the line it leads to
        if (const paycalc::Explanation *e = trace.Find(line)) {
            box->setToolTip(ExplanationTip(line, *e, trace));
            box->setAccessibleDescription(Utf8(paycalc::ExplanationText(*e))); // for screen readers
        } else {
            const QString note = NotComputedNote(form.Written(line));
            box->setToolTip(Title(line) + Paragraph(note.toHtmlEscaped()));
            box->setAccessibleDescription(note);
        }
    }
}

} // namespace paywindow
