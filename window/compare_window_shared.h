// What the tabs of the comparison window share: colours, sizes,
// and the helpers that make and fill its tables and value labels. Internal to
// compare_window*.cpp; nothing here computes an amount, every one shown comes
// from paycalc through the window.
#pragma once

#include <QColor>
#include <QLabel>
#include <QString>
#include <QStringList>
#include <QTableWidget>

#include <string>

#include "paycalc/fields.h"
#include "report/compare_report.h"
#include "report/text_direction.h"
#include "window/form1_layout.h"

namespace paywindow::compare_shared {

using paycalc::Field;

inline constexpr QRgb kWindowColour = qRgb(255, 192, 255);  // as the pay-slip window
inline constexpr QRgb kResultColour = qRgb(128, 255, 255);  // net pay and performance bonus
inline constexpr QRgb kCurrentColour = qRgb(255, 255, 160); // the current echelon of the ladder
inline constexpr QRgb kRiseColour = qRgb(0, 110, 0);
inline constexpr QRgb kFallColour = qRgb(170, 0, 0);
inline constexpr QRgb kMessageColour = qRgb(160, 0, 0);
inline constexpr int kWidth = 1072;
inline constexpr int kHeight = 565;
inline constexpr int kDefaultMonths = 12;
inline constexpr double kTablePoints = 10;
inline constexpr double kLinePoints = 9;  // the tables, whose every row stays in view
inline constexpr int kSideWidth = 345;    // the second situation's column
inline constexpr int kCurrentWidth = 300; // the current one's; the lines take the rest
inline constexpr qsizetype kPostRow = 2;  // of report::SituationRows

using report::LeftToRight;
using report::Utf8;
using report::RightToLeft;

// An amount as shown, "—" for none.
QString Shown(const std::string &amount);
QColor ChangeColour(report::Change change);
QTableWidgetItem *Item(const QString &text, Qt::Alignment alignment = Qt::AlignCenter);
// A difference as shown: signed, coloured, and said in words to a screen reader.
void ShowDifference(QTableWidgetItem *item, const std::string &difference);
void ShowDifference(QLabel *label, const std::string &difference);
// A read-only table of rows as high as the ink of their text.
QTableWidget *Table(int rows, const QStringList &columns, QWidget *parent);
// A table tall enough for all its rows, without a scroll bar.
void FitRows(QTableWidget *table);
// A selectable label for one amount, named for a screen reader.
QLabel *ValueLabel(QWidget *parent, const QString &name, QFrame::Shape frame = QFrame::NoFrame);

} // namespace paywindow::compare_shared
