// Form1, the pay-slip window: the selections, the typed amounts, every line
// of the slip, the two web links, the credits and the picture. It fills and
// selects its lists when it is created, computes the slip once, and computes
// it again whenever an input changes. The amounts all come from
// paycalc::RecalculateAll; the window only shows them, each with the
// explanation the same run gave as its tooltip, and hands the slip to the
// printer, to a PDF file or to the clipboard.
//
// No pay rule here: every amount comes from a slip; the window neither adds
// nor rounds, and the printed page is the report library's.
#pragma once

#include <QUrl>
#include <QWidget>

#include "paycalc/fields.h"
#include "paycalc/key_rules.h"
#include "paycalc/slip.h"
#include "window/form1_layout.h"
#include "window/form_adapter.h"
#include "window/slip_actions.h"

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPrinter;
class QPushButton;

class Form1 final : public QWidget {
    Q_OBJECT

public:
    explicit Form1(QWidget *parent = nullptr);

    // Keystroke filters, the engine's (paycalc/key_rules.h). Each takes the
    // key code of one typed character and gives the code to let through, or
    // 0 to discard the keystroke; the code passed is never changed.
    // Amounts: digits, backspace (8) and the point (46).
    static qint16 gWriteOnleNumber(qint16 &IntKeyAscii) { return paycalc::gWriteOnleNumber(IntKeyAscii); }
    // Whole numbers: digits and backspace.
    static qint16 gWriteOnleNumber1(qint16 &IntKeyAscii) { return paycalc::gWriteOnleNumber1(IntKeyAscii); }

    // The family-status rule (a single employee's children counts held at 0),
    // whichever list was picked. The change that follows the pick covers
    // these, so they raise no signal of their own.
    static void ApplyFamilyStatusRule(const paywindow::Form1Controls &controls);

    // The pages the two link buttons open.
    static QUrl homePage();    // Command5
    static QUrl contactPage(); // Command2

    // The controls, by their names in the slip; text() is null for Text2000, Text2001.
    QLineEdit *text(paycalc::Field field) const { return controls_.texts[static_cast<std::size_t>(Index(field))]; }
    QComboBox *combo(int list) const; // Combo1(list)
    QCheckBox *check1() const { return controls_.check1; }
    QPushButton *command5() const { return controls_.command5; }
    QPushButton *command2() const { return controls_.command2; }
    QLabel *label27() const { return controls_.label27; }
    QLabel *label25() const { return controls_.label25; }
    // The message shown when a recalculation could not be completed.
    QLabel *messageLabel() const { return controls_.message; }

    // The window as the computation sees it, hidden working fields included.
    paycalc::PayForm &payForm() { return form_; }
    const paycalc::PayForm &payForm() const { return form_; }
    // How many recalculations have run since the window was created.
    int recalculationCount() const { return recalculations_; }
    // The slip of the last recalculation: its situation, every line, and why
    // each line is what it is (the tooltips of the display fields show it).
    // Printing, saving and copying read it; nothing recalculates.
    const paycalc::Slip &slip() const { return slip_; }
    const paycalc::Trace &trace() const { return slip_.trace; }

    // The slip leaving the window: the actions (also the buttons below the
    // picture and the context menu) and what they do once their dialog is
    // answered. While the last recalculation stopped, the actions are
    // disabled and these do nothing and return false.
    QAction *printAction() const { return actions_->printAction(); }     // Ctrl+P, with the print dialog
    QAction *previewAction() const { return actions_->previewAction(); } // Ctrl+Shift+P, with the print preview
    QAction *pdfAction() const { return actions_->pdfAction(); }         // Ctrl+S, with a file dialog
    QAction *copyAction() const { return actions_->copyAction(); }       // Ctrl+Shift+C
    QAction *compareAction() const { return actions_->compareAction(); } // Ctrl+M, opens the comparison window
    QAction *batchAction() const { return actions_->batchAction(); }     // Ctrl+B, opens the batch dialog
    // The buttons: print, preview, PDF, copy, compare, batch.
    QList<QPushButton *> slipButtons() const { return actions_->buttons(); }
    bool printSlip(QPrinter &printer) { return actions_->printTo(printer); }
    bool savePdf(const QString &path) { return actions_->savePdf(path); } // writes that file only
    bool copySlip() { return actions_->copySlip(); }                      // the whole slip as text, to the clipboard

private:
    void connectInputs();
    void recalculate();

    paywindow::Form1Controls controls_;
    paywindow::FormAdapter form_{controls_};
    paycalc::Slip slip_;
    paywindow::SlipActions *actions_ = nullptr; // a child of the window
    int recalculations_ = 0;
};
