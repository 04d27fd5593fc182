// The controls of Form1 and how they are laid out: groups, fields, labels,
// lists, buttons and picture, each at its rectangle, with its caption,
// initial text, colour and font, and the keyboard order.
// Layout only: no signal is connected and nothing is computed here (form1.cpp
// wires the controls, paycalc computes the slip).
#pragma once

#include <array>

#include <QList>
#include <QPalette>
#include <QRect>

#include "paycalc/fields.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QString;
class QWidget;

namespace paywindow {

class PickList;

// Positions and sizes are kept in twips, 15 to a pixel at 96 dots per inch;
// Qt's own scaling takes care of screens with more dots.
inline constexpr int kTwipsPerPixel = 15;
constexpr int Pixels(int twips) { return twips / kTwipsPerPixel; }

struct Rect {
    int left, top, width, height; // twips
};

inline QRect ToPixels(const Rect &r) { return {Pixels(r.left), Pixels(r.top), Pixels(r.width), Pixels(r.height)}; }

inline constexpr int kClientWidth = 16080; // 1072 pixels
inline constexpr int kClientHeight = 8475; // 565 pixels

// The size of the message of a recalculation that could not be completed,
// before it is fitted to its box.
inline constexpr double kMessagePoints = 9.75;

struct Form1Controls {
    std::array<QLineEdit *, paycalc::kFieldCount> texts{}; // null for the hidden working fields
    std::array<PickList *, paycalc::kComboCount> combos{};
    QCheckBox *check1 = nullptr;
    QPushButton *command5 = nullptr;
    QPushButton *command2 = nullptr;
    QLabel *label27 = nullptr;
    QLabel *label25 = nullptr;
    QLabel *message = nullptr;
};

// Builds every control of the window on `form`, each list with its entries,
// and sets the keyboard order.
Form1Controls BuildForm1Layout(QWidget &form);

// Sets one colour of `widget`'s palette.
void SetColour(QWidget &widget, QPalette::ColorRole role, const QColor &colour);

// Makes Enter and Return click `button` when it has the focus, as Space
// does, without making it the window's default button.
void PressOnEnter(QPushButton &button);

// The inputs in the window's keyboard order: the lists, the box, the typed fields.
QList<QWidget *> InputOrder(const Form1Controls &controls);

// The captions of the lists and of the box: those of the inputs table.
QString ListCaption(int list);
QString CheckCaption();

// A caption as a screen reader should say it: lines joined, runs of blanks
// folded, without the trailing ':'.
QString CaptionTitle(const QString &caption);

} // namespace paywindow
