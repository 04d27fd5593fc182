// Form1, the pay-slip window: the inputs, every line of the slip with its
// explanation as a tooltip, the links, the credits and the picture; every
// change of an input runs paycalc::RecalculateAll again.
// No pay rule here: the window neither adds nor rounds, and the printed page
// is the report library's.
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

    // The engine's keystroke filters (paycalc/key_rules.h): the code of a typed
    // character to let through, or 0; the code passed is never changed.
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
    // The slip of the last recalculation, which printing, saving and copying
    // read: nothing recalculates.
    const paycalc::Slip &slip() const { return slip_; }
    const paycalc::Trace &trace() const { return slip_.trace; }

    // The slip leaving the window (slip_actions.h): while the last
    // recalculation stopped, these do nothing and return false.
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
