// The comparison window's tab "مقارنة": the second situation, every line of
// both slips with its difference, the current situation and the back pay.
#include "window/compare_window.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

#include <exception>

#include "paycalc/situation_inputs.h"
#include "window/compare_situation.h"
#include "window/compare_window_shared.h"
#include "window/window_fonts.h"

namespace paywindow {

using namespace compare_shared;

QWidget *CompareWindow::buildCompareTab()
{
    auto *page = new QWidget(this);
    auto *row = new QHBoxLayout(page);
    row->setContentsMargins(2, 4, 2, 2);
    row->setSpacing(6);

    // Right: the second situation, and a way back to the current one.
    auto *right = new QVBoxLayout;
    other_ = new SituationEditor(QStringLiteral("الوضعية الجديدة"), page);
    other_->setObjectName(QStringLiteral("OtherSituation"));
    other_->setFont(WindowFont(kTablePoints, true));
    other_->setMaximumWidth(kSideWidth);
    right->addWidget(other_);
    refill_ = new QPushButton(QStringLiteral("ملء بالوضعية الحالية"), page);
    refill_->setObjectName(QStringLiteral("RefillButton"));
    refill_->setAccessibleName(QStringLiteral("ملء الوضعية الجديدة بالوضعية الحالية"));
    refill_->setAutoDefault(false);
    connect(refill_, &QPushButton::clicked, this, &CompareWindow::refill);
    refill_->setMaximumWidth(kSideWidth);
    right->addWidget(refill_);
    right->addStretch(1);
    row->addLayout(right);

    // Between them: every line, after, difference, before.
    lines_ = Table(
        static_cast<int>(report::ComparedLines().size()),
        {QStringLiteral("البند"), QStringLiteral("الجديدة"), QStringLiteral("الفرق"), QStringLiteral("الحالية")}, page);
    lines_->setObjectName(QStringLiteral("CompareLines"));
    lines_->setAccessibleName(QStringLiteral("بنود الكشف في الوضعيتين والفرق بينهما"));
    lines_->setAccessibleDescription(QStringLiteral("الفرق هو مبلغ الوضعية الجديدة ناقص مبلغ الوضعية الحالية"));
    int r = 0;
    for (Field f : report::ComparedLines()) {
        const bool standsOut = f == Field::Text21 || f == Field::Text22; // net pay and performance bonus
        auto *title = Item(report::LineTitle(f), Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignVCenter);
        title->setToolTip(report::LineTitle(f));
        lines_->setItem(r, kTitleColumn, title);
        for (int column : {kAfterColumn, kDifferenceColumn, kBeforeColumn}) {
            QTableWidgetItem *item = Item(QString());
            if (standsOut) item->setBackground(QColor(kResultColour));
            lines_->setItem(r, column, item);
        }
        if (standsOut) title->setBackground(QColor(kResultColour));
        ++r;
    }
    QHeaderView *header = lines_->horizontalHeader();
    header->setSectionResizeMode(kTitleColumn, QHeaderView::Stretch);
    for (int column : {kAfterColumn, kDifferenceColumn, kBeforeColumn}) {
        header->setSectionResizeMode(column, QHeaderView::Fixed);
        lines_->setColumnWidth(column, lines_->fontMetrics().horizontalAdvance(QStringLiteral("-000000.00")) + 12);
    }
    lines_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    FitRows(lines_);
    row->addWidget(lines_, 1);

    // Left: the current situation as the pay-slip window holds it, then the back pay.
    auto *left = new QVBoxLayout;
    auto *current = new QGroupBox(QStringLiteral("الوضعية الحالية (نافذة الكشف)"), page);
    current->setFont(WindowFont(kTablePoints, true));
    auto *grid = new QGridLayout(current);
    grid->setContentsMargins(6, 4, 6, 4);
    grid->setVerticalSpacing(2);
    // Two inputs a row, but the post, a long title, takes a row of its own.
    // Each input under its caption in the window; the printed comparison
    // names it as a printed slip does (report::SituationRows).
    const auto &inputs = paycalc::kSituationInputs;
    int gridRow = 0;
    int column = 0;
    for (qsizetype i = 0; i < static_cast<qsizetype>(inputs.size()); ++i) {
        const QString caption = Utf8(paycalc::TitleOf(inputs[static_cast<std::size_t>(i)]));
        const bool wide = i == kPostRow;
        if (wide && column != 0) {
            ++gridRow;
            column = 0;
        }
        auto *label = new QLabel(caption + QStringLiteral(" :"), current);
        QLabel *value = ValueLabel(current, caption);
        value->setObjectName(QStringLiteral("Current%1").arg(i));
        value->setWordWrap(wide);
        grid->addWidget(label, gridRow, column);
        grid->addWidget(value, gridRow, column + 1, 1, wide ? 3 : 1);
        currentValues_ << value;
        column += wide ? 4 : 2;
        if (column >= 4) {
            ++gridRow;
            column = 0;
        }
    }
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    current->setMaximumWidth(kCurrentWidth);
    left->addWidget(current);

    auto *back = new QGroupBox(QStringLiteral("المخلفات (من الحالية إلى الجديدة)"), page);
    back->setFont(WindowFont(kTablePoints, true));
    auto *form = new QGridLayout(back);
    form->setContentsMargins(6, 4, 6, 4);
    form->setVerticalSpacing(2);
    months_ = new QSpinBox(back);
    months_->setObjectName(QStringLiteral("Months"));
    months_->setRange(1, paycalc::kMaxBackPayMonths);
    months_->setValue(kDefaultMonths);
    months_->setAccessibleName(QStringLiteral("عدد الأشهر"));
    months_->setAlignment(Qt::AlignCenter);
    auto *monthsLabel = new QLabel(QStringLiteral("عدد الأشهر :"), back);
    monthsLabel->setBuddy(months_);
    form->addWidget(monthsLabel, 0, 0);
    form->addWidget(months_, 0, 1);
    backMonthly_ = ValueLabel(back, QStringLiteral("فرق الرواتب الشهرية"), QFrame::StyledPanel);
    backMonthly_->setObjectName(QStringLiteral("BackPayMonthly"));
    backQuarters_ = new QLabel(back);
    backBonus_ = ValueLabel(back, QStringLiteral("فرق المردودية"), QFrame::StyledPanel);
    backBonus_->setObjectName(QStringLiteral("BackPayBonus"));
    backTotal_ = ValueLabel(back, QStringLiteral("مجموع المخلفات"), QFrame::StyledPanel);
    backTotal_->setObjectName(QStringLiteral("BackPayTotal"));
    SetColour(*backTotal_, QPalette::Window, kResultColour);
    form->addWidget(new QLabel(QStringLiteral("الرواتب الشهرية :"), back), 1, 0);
    form->addWidget(backMonthly_, 1, 1);
    form->addWidget(backQuarters_, 2, 0);
    form->addWidget(backBonus_, 2, 1);
    form->addWidget(new QLabel(QStringLiteral("المجموع :"), back), 3, 0);
    form->addWidget(backTotal_, 3, 1);
    backNote_ = new QLabel(report::BackPayNote(), back);
    backNote_->setObjectName(QStringLiteral("BackPayNote"));
    backNote_->setWordWrap(true);
    backNote_->setFont(WindowFont(9, false));
    form->addWidget(backNote_, 4, 0, 1, 2);
    back->setMaximumWidth(kCurrentWidth);
    left->addWidget(back);
    left->addStretch(1);
    row->addLayout(left);
    return page;
}

void CompareWindow::showLines()
{
    if (!comparison_) return;
    int r = 0;
    for (Field f : report::ComparedLines()) {
        const paycalc::LineDifference &line = comparison_->Line(f);
        lines_->item(r, kAfterColumn)->setText(Shown(line.after));
        lines_->item(r, kBeforeColumn)->setText(Shown(line.before));
        ShowDifference(lines_->item(r, kDifferenceColumn), line.difference);
        ++r;
    }
}

std::optional<paycalc::BackPay> CompareWindow::backPay() const
{
    if (!comparison_ || !comparison_->ok()) return std::nullopt;
    try {
        return paycalc::ComputeBackPay(*comparison_, months_->value());
    } catch (const std::exception &) {
        return std::nullopt; // a product beyond any pay
    }
}

void CompareWindow::showBackPay()
{
    const std::optional<paycalc::BackPay> pay = backPay();
    const int quarters = months_->value() / 3;
    backQuarters_->setText(QStringLiteral("المردودية (%1 ثلاثيات) :").arg(quarters));
    backBonus_->setAccessibleName(QStringLiteral("فرق المردودية عن %1 ثلاثيات كاملة").arg(quarters));
    if (!pay) {
        for (QLabel *label : {backMonthly_, backBonus_, backTotal_}) label->setText(QStringLiteral("—"));
        return;
    }
    ShowDifference(backMonthly_, pay->monthly);
    ShowDifference(backBonus_, pay->bonus);
    ShowDifference(backTotal_, pay->total);
    backMonthly_->setToolTip(RightToLeft(
        QStringLiteral("%1 × %2").arg(LeftToRight(report::SignedDifference(pay->netDifference))).arg(pay->months)));
    backBonus_->setToolTip(RightToLeft(
        QStringLiteral("%1 × %2").arg(LeftToRight(report::SignedDifference(pay->bonusDifference))).arg(pay->quarters)));
}

} // namespace paywindow
