#include "window/compare_window_shared.h"

#include <QHeaderView>

#include "window/window_fonts.h"

namespace paywindow::compare_shared {

QString Shown(const std::string &amount) { return amount.empty() ? QStringLiteral("—") : LeftToRight(Utf8(amount)); }

QColor ChangeColour(report::Change change)
{
    switch (change) {
    case report::Change::Up: return QColor(kRiseColour);
    case report::Change::Down: return QColor(kFallColour);
    default: return QColor(Qt::black);
    }
}

QTableWidgetItem *Item(const QString &text, Qt::Alignment alignment)
{
    auto *item = new QTableWidgetItem(text);
    item->setTextAlignment(alignment);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

// A difference as shown: signed, coloured, and said in words to a screen reader.
void ShowDifference(QTableWidgetItem *item, const std::string &difference)
{
    const report::Change change = report::ChangeOf(difference);
    item->setText(LeftToRight(report::SignedDifference(difference)));
    item->setForeground(ChangeColour(change));
    const QString words = change == report::Change::Unknown
                              ? report::ChangeWord(change)
                              : QStringLiteral("%1 %2").arg(report::ChangeWord(change),
                                                            report::SignedDifference(difference));
    item->setData(Qt::AccessibleTextRole, words);
    item->setToolTip(RightToLeft(words));
}

void ShowDifference(QLabel *label, const std::string &difference)
{
    const report::Change change = report::ChangeOf(difference);
    label->setText(LeftToRight(report::SignedDifference(difference)));
    SetColour(*label, QPalette::WindowText, ChangeColour(change));
    label->setAccessibleDescription(report::ChangeWord(change));
}

QTableWidget *Table(int rows, const QStringList &columns, QWidget *parent)
{
    auto *table = new QTableWidget(rows, static_cast<int>(columns.size()), parent);
    table->setHorizontalHeaderLabels(columns);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setTabKeyNavigation(false); // Tab leaves the table; the arrows move inside it
    table->setWordWrap(false);
    table->setFont(WindowFont(kLinePoints, true));
    table->horizontalHeader()->setFont(WindowFont(kLinePoints, true));
    table->verticalHeader()->hide();
    // Rows as high as the ink of Arabic text and digits, not the font's
    // whole line height, so that all the lines of the slip stay in view.
    const int row = table->fontMetrics().boundingRect(QStringLiteral("الضريبة على الدخل IRG 0123456789")).height() + 4;
    table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table->verticalHeader()->setMinimumSectionSize(row); // first: the default is held above the minimum
    table->verticalHeader()->setDefaultSectionSize(row);
    return table;
}

// A table tall enough for all its rows, without a scroll bar.
void FitRows(QTableWidget *table)
{
    const int height = table->horizontalHeader()->sizeHint().height() +
                       table->rowCount() * table->verticalHeader()->defaultSectionSize() + 2 * table->frameWidth();
    table->setMinimumHeight(height);
    table->setMaximumHeight(height);
}

QLabel *ValueLabel(QWidget *parent, const QString &name, QFrame::Shape frame)
{
    auto *label = new QLabel(parent);
    label->setAlignment(Qt::AlignCenter);
    label->setAccessibleName(name);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setFrameShape(frame);
    label->setAutoFillBackground(true);
    return label;
}

} // namespace paywindow::compare_shared
