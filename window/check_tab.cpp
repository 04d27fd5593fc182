// The comparison window's tab "مراجعة كشف رسمي": the amounts of an official
// slip typed line by line, each against ours, and our explanation of every
// line that disagrees.
#include "window/compare_window.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "window/compare_window_shared.h"
#include "window/filtered_line_edit.h"
#include "window/form1.h"
#include "window/window_fonts.h"

namespace paywindow {

using namespace compare_shared;

QWidget *CompareWindow::buildCheckTab()
{
    auto *page = new QWidget(this);
    auto *row = new QHBoxLayout(page);
    row->setContentsMargins(2, 4, 2, 2);

    auto *scroll = new QScrollArea(page);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    auto *inner = new QWidget(scroll);
    inner->setFont(WindowFont(kLinePoints, true));
    const QFontMetrics metrics(inner->font());
    const int lineHeight = metrics.boundingRect(QStringLiteral("الضريبة على الدخل IRG 0123456789")).height() + 4;
    const int titleWidth = metrics.horizontalAdvance(QStringLiteral("الاجر الخاضع للضمان الاجتماعي"));
    auto *grid = new QGridLayout(inner);
    grid->setContentsMargins(2, 2, 2, 2);
    grid->setVerticalSpacing(0);
    const QStringList titles{QStringLiteral("البند"), QStringLiteral("مبلغنا"), QStringLiteral("المبلغ الرسمي"),
                             QStringLiteral("الفرق"), QStringLiteral("النتيجة")};
    for (int c = 0; c < titles.size(); ++c) {
        auto *title = new QLabel(QStringLiteral("<b>%1</b>").arg(titles[c]), inner);
        title->setAlignment(Qt::AlignCenter);
        grid->addWidget(title, 0, c);
    }
    int r = 1;
    QWidget *previous = nullptr;
    for (Field f : report::ComparedLines()) {
        const QString title = report::LineTitle(f);
        // Long captions are shortened; the whole caption is the tooltip.
        auto *label = new QLabel(metrics.elidedText(title, Qt::ElideRight, titleWidth), inner);
        label->setToolTip(title);
        OfficialRow line;
        line.ours = ValueLabel(inner, QStringLiteral("مبلغنا: %1").arg(title));
        line.typed = new FilteredLineEdit(&Form1::gWriteOnleNumber, inner);
        line.typed->setObjectName(QStringLiteral("Official%1").arg(Utf8(paycalc::FieldName(f))));
        line.typed->setAccessibleName(QStringLiteral("المبلغ الرسمي: %1").arg(title));
        line.typed->setAlignment(Qt::AlignCenter);
        line.typed->setFixedSize(metrics.horizontalAdvance(QStringLiteral("0000000.00")) + 16, lineHeight);
        line.difference = ValueLabel(inner, QStringLiteral("الفرق: %1").arg(title));
        line.verdict = ValueLabel(inner, QStringLiteral("النتيجة: %1").arg(title));
        // Room for the longest verdict and difference, so that nothing moves as they appear.
        line.verdict->setMinimumWidth(metrics.horizontalAdvance(QStringLiteral("✗ غير مطابق")) + 8);
        line.difference->setMinimumWidth(metrics.horizontalAdvance(QStringLiteral("-0000000.00")) + 8);
        label->setAlignment(Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignVCenter);
        label->setBuddy(line.typed);
        grid->addWidget(label, r, 0);
        grid->addWidget(line.ours, r, 1);
        grid->addWidget(line.typed, r, 2);
        grid->addWidget(line.difference, r, 3);
        grid->addWidget(line.verdict, r, 4);
        connect(line.typed, &QLineEdit::textChanged, this, &CompareWindow::showCheck);
        if (previous) setTabOrder(previous, line.typed);
        previous = line.typed;
        official_[f] = line;
        ++r;
    }
    grid->setRowStretch(r, 1);
    grid->setColumnStretch(0, 1);
    scroll->setWidget(inner);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    row->addWidget(scroll, 1);

    auto *side = new QVBoxLayout;
    checkSummary_ = new QLabel(page);
    checkSummary_->setObjectName(QStringLiteral("CheckSummary"));
    checkSummary_->setAccessibleName(QStringLiteral("نتيجة المراجعة"));
    checkSummary_->setWordWrap(true);
    checkSummary_->setFont(WindowFont(kTablePoints, true));
    side->addWidget(checkSummary_);
    explanations_ = new QTextBrowser(page);
    explanations_->setObjectName(QStringLiteral("CheckExplanations"));
    explanations_->setAccessibleName(QStringLiteral("شرح حسابنا للبنود غير المطابقة"));
    explanations_->setFont(WindowFont(kTablePoints, false));
    explanations_->setLayoutDirection(Qt::RightToLeft);
    side->addWidget(explanations_, 1);
    explanations_->setMaximumWidth(kSideWidth);
    checkSummary_->setMaximumWidth(kSideWidth);
    row->addLayout(side);
    return page;
}

void CompareWindow::showCheck()
{
    if (!comparison_) return;
    std::vector<paycalc::OfficialAmount> typed;
    for (Field f : report::ComparedLines()) {
        const OfficialRow &line = official_.at(f);
        line.ours->setText(Shown(comparison_->before.Text(f)));
        const QString text = line.typed->text().trimmed();
        if (!text.isEmpty()) typed.push_back({f, text.toStdString()});
        line.difference->clear();
        line.verdict->clear();
        line.verdict->setToolTip(QString());
    }
    check_.reset();
    explanations_->clear();
    if (typed.empty()) {
        checkSummary_->setText(QStringLiteral("اكتب مبالغ كشفك الرسمي في عمود «المبلغ الرسمي»: "
                                              "يقارن كل بند بمبلغنا للوضعية الحالية، وتشرح هنا البنود غير المطابقة."));
        return;
    }
    check_ = paycalc::CheckOfficial(current_, typed);
    QString html = QStringLiteral("<html><body dir=\"rtl\">");
    int wrong = 0;
    for (const paycalc::CheckedLine &checked : check_->lines) {
        const OfficialRow &line = official_.at(checked.field);
        ShowDifference(line.difference, checked.difference);
        line.verdict->setText(checked.agrees ? QStringLiteral("✓ ") + report::AgreementWord(true)
                                             : QStringLiteral("✗ ") + report::AgreementWord(false));
        SetColour(*line.verdict, QPalette::WindowText, checked.agrees ? kRiseColour : kFallColour);
        if (checked.agrees) continue;
        ++wrong;
        line.verdict->setToolTip(Utf8(checked.explanation));
        html += QStringLiteral("<div><b>%1</b>: مبلغنا %2، المبلغ الرسمي %3</div>%4<hr/>")
                    .arg(report::LineTitle(checked.field).toHtmlEscaped(), Shown(checked.ours).toHtmlEscaped(),
                         LeftToRight(Utf8(checked.theirs)).toHtmlEscaped(), report::ExplanationHtml(checked.explanation));
    }
    explanations_->setHtml(html + QStringLiteral("</body></html>"));
    checkSummary_->setText(
        wrong == 0
            ? QStringLiteral("كل المبالغ المكتوبة (%1) مطابقة لحسابنا.").arg(check_->lines.size())
            : QStringLiteral("%1 من %2 بنود غير مطابقة؛ شرح حسابنا لكل منها:").arg(wrong).arg(check_->lines.size()));
}

CompareWindow::OfficialRow CompareWindow::officialRow(Field field) const
{
    const auto it = official_.find(field);
    return it == official_.end() ? OfficialRow{} : it->second;
}

} // namespace paywindow
