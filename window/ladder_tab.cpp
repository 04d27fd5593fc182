// The comparison window's tab "سلم الدرجات": the current situation at every
// echelon of its category, and the same echelon one category up.
#include "window/compare_window.h"

#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

#include "window/compare_window_shared.h"

namespace paywindow {

using namespace compare_shared;

QWidget *CompareWindow::buildLadderTab()
{
    auto *page = new QWidget(this);
    auto *column = new QVBoxLayout(page);
    column->setContentsMargins(2, 4, 2, 2);
    ladderTitle_ = new QLabel(page);
    ladderTitle_->setObjectName(QStringLiteral("LadderTitle"));
    column->addWidget(ladderTitle_);
    ladder_ = Table(13, report::LadderColumns(), page);
    ladder_->setObjectName(QStringLiteral("LadderTable"));
    ladder_->setAccessibleName(QStringLiteral("سلم الدرجات للوضعية الحالية"));
    ladder_->setAccessibleDescription(QStringLiteral("الدرجة الحالية معلمة بكلمة الحالية"));
    for (int r = 0; r < ladder_->rowCount(); ++r)
        for (int c = 0; c < ladder_->columnCount(); ++c) ladder_->setItem(r, c, Item(QString()));
    ladder_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    FitRows(ladder_);
    column->addWidget(ladder_);
    above_ = new QLabel(page);
    above_->setObjectName(QStringLiteral("CategoryAbove"));
    above_->setAccessibleName(QStringLiteral("الدرجة نفسها في الصنف الأعلى"));
    above_->setWordWrap(true);
    column->addWidget(above_);
    column->addStretch(1);
    return page;
}

void CompareWindow::showLadder()
{
    if (!ladderData_) return;
    const paycalc::Ladder &ladder = *ladderData_;
    ladderTitle_->setText(report::LadderTitle(ladder) +
                          QStringLiteral(" — الدرجة الحالية %1").arg(ladder.situation.echelon));
    QFont plain = ladder_->font();
    QFont bold = plain;
    bold.setUnderline(true);
    for (const paycalc::LadderStep &step : ladder.steps) {
        const int r = step.echelon;
        const bool current = report::IsCurrentEchelon(ladder, step);
        const QString texts[] = {report::EchelonLabel(ladder, step), Shown(step.slip.Text(Field::Text21)),
                                 Shown(step.slip.Text(Field::Text3)), Shown(step.slip.Text(Field::Text15)),
                                 Shown(step.slip.Text(Field::Text22))};
        for (int c = 0; c < 5; ++c) {
            QTableWidgetItem *item = ladder_->item(r, c);
            item->setText(texts[c]);
            item->setFont(current ? bold : plain);
            item->setBackground(current ? QBrush(QColor(kCurrentColour)) : QBrush());
        }
        QTableWidgetItem *stepItem = ladder_->item(r, 5);
        if (step.netStep.empty()) {
            stepItem->setText(QStringLiteral("—"));
            stepItem->setForeground(QColor(Qt::black));
            stepItem->setData(Qt::AccessibleTextRole, QVariant());
        } else {
            ShowDifference(stepItem, step.netStep);
        }
        stepItem->setFont(current ? bold : plain);
        stepItem->setBackground(current ? QBrush(QColor(kCurrentColour)) : QBrush());
        if (current)
            ladder_->item(r, 0)->setData(Qt::AccessibleTextRole, QStringLiteral("الدرجة %1، الدرجة الحالية").arg(r));
        else ladder_->item(r, 0)->setData(Qt::AccessibleTextRole, QVariant());
    }
    if (ladder.categoryAbove) above_->setText(report::CategoryAboveText(ladder));
    else above_->setText(QStringLiteral("لا صنف فوق الصنف %1.").arg(ladder.situation.category));
}

} // namespace paywindow
