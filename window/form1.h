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

#include <memory>

#include <QUrl>
#include <QWidget>

#include "paycalc/fields.h"
#include "paycalc/key_rules.h"
#include "paycalc/slip.h"
#include "window/form1_layout.h"

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPrinter;
class QPushButton;

namespace paycalc {
class PayForm;
}

namespace paywindow {
class FormAdapter;
class SlipActions;
} // namespace paywindow

class Form1 final : public QWidget {
    Q_OBJECT

public:
    explicit Form1(QWidget *parent = nullptr);
    ~Form1() override;

    // Keystroke filters, the engine's (paycalc/key_rules.h). Each takes the
    // key code of one typed character and gives the code to let through, or
    // 0 to discard the keystroke; the code passed is never changed.
    // Amounts: digits, backspace (8) and the point (46).
    static qint16 gWriteOnleNumber(qint16 &IntKeyAscii) { return paycalc::gWriteOnleNumber(IntKeyAscii); }
    // Whole numbers: digits and backspace.
    static qint16 gWriteOnleNumber1(qint16 &IntKeyAscii) { return paycalc::gWriteOnleNumber1(IntKeyAscii); }

    // The pages the two link buttons open.
    static QUrl homePage();    // Command5
    static QUrl contactPage(); // Command2

    // The controls, by their names in the slip.
    QLineEdit *text(paycalc::Field field) const; // null for Text2000, Text2001
    QComboBox *combo(int list) const;            // Combo1(list)
    QCheckBox *check1() const;
    QPushButton *command5() const;
    QPushButton *command2() const;
    QLabel *label27() const;
    QLabel *label25() const;
    // The message shown when a recalculation could not be completed.
    QLabel *messageLabel() const;

    // The window as the computation sees it, hidden working fields included.
    paycalc::PayForm &payForm();
    const paycalc::PayForm &payForm() const;
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
    QAction *printAction() const;             // Ctrl+P, with the print dialog
    QAction *previewAction() const;           // Ctrl+Shift+P, with the print preview
    QAction *pdfAction() const;               // Ctrl+S, with a file dialog
    QAction *copyAction() const;              // Ctrl+Shift+C
    QAction *compareAction() const;           // Ctrl+M, opens the comparison window
    QAction *batchAction() const;             // Ctrl+B, opens the batch dialog
    QList<QPushButton *> slipButtons() const; // print, preview, PDF, copy, compare, batch
    bool printSlip(QPrinter &printer);
    bool savePdf(const QString &path); // writes that file only
    bool copySlip();                   // the whole slip as text, to the clipboard

private:
    void connectInputs();
    void onListPicked();
    void applyFamilyStatusRule();
    void recalculate();

    paywindow::Form1Controls controls_;
    std::unique_ptr<paywindow::FormAdapter> form_;
    paycalc::Slip slip_;
    paywindow::SlipActions *actions_ = nullptr; // a child of the window
    int recalculations_ = 0;
};
