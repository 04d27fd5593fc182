// The ways the slip leaves the window (printed, previewed, saved as PDF,
// copied), each an action with a shortcut, a button below the picture and an
// entry of the context menu; none while the last recalculation stopped, so
// that no slip that looks valid leaves the window.
// The page is the report library's: no amount is computed or re-formatted here.
#pragma once

#include <functional>

#include <QKeySequence>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

class QAction;
class QFrame;
class QLineEdit;
class QMenu;
class QPrinter;
class QPushButton;
class QWidget;

namespace paycalc {
struct Slip;
}

namespace paywindow {

struct Form1Controls;

class SlipActions final : public QObject {
    Q_OBJECT

public:
    // Adds the actions, the buttons and the context menu to `window`, whose
    // slip is `slip`; the display fields of `controls` get a menu of their
    // own (the typed fields keep their edit menu).
    SlipActions(QWidget &window, const paycalc::Slip &slip, const Form1Controls &controls);

    QAction *printAction() const { return print_; }     // Ctrl+P
    QAction *previewAction() const { return preview_; } // Ctrl+Shift+P
    QAction *pdfAction() const { return pdf_; }         // Ctrl+S
    QAction *copyAction() const { return copy_; }       // Ctrl+Shift+C
    // Open the comparison window and the batch dialog; always available.
    QAction *compareAction() const { return compare_; }       // Ctrl+M
    QAction *batchAction() const { return batch_; }           // Ctrl+B
    QList<QPushButton *> buttons() const { return buttons_; } // in the order they are read

    // Whether the slip shown is complete; the actions are available only then.
    void setSlipComplete(bool complete);

    // What the actions do once their dialog is answered; nothing, returning
    // false, while the slip is incomplete.
    bool printTo(QPrinter &printer) const;   // lays the slip out on the printer's pages
    bool savePdf(const QString &path) const; // writes that file only; false when it cannot
    bool copySlip() const;                   // the whole slip as text, to the clipboard

    // Whether printed and saved slips carry each label in French too: a
    // setting the window remembers, changed with a box of the print dialog.
    static bool bilingual();
    static void setBilingual(bool on);

private:
    QAction *addAction(const QString &text, const QString &title, const QKeySequence &shortcut);
    void addFieldMenu(const Form1Controls &controls);
    void addButton(QAction *action, const char *name, const QString &caption, int left, int top);
    void askPrint();
    void askPreview();

    QWidget &window_;
    const paycalc::Slip &slip_;
    bool complete_ = true;
    QAction *print_ = nullptr;
    QAction *preview_ = nullptr;
    QAction *pdf_ = nullptr;
    QAction *copy_ = nullptr;
    QAction *compare_ = nullptr;
    QAction *batch_ = nullptr;
    QFrame *panel_ = nullptr;
    QList<QPushButton *> buttons_;
    QMenu *menu_ = nullptr;
    QPointer<QLineEdit> menuField_; // the display field whose menu is open
};

// Asks for a PDF file to save `what` ("الكشف", "المقارنة") in, proposing
// `fileName` in the documents folder, and saves it there with `save`. When
// the file cannot be written, says so in the words the slip's window uses.
void AskAndSavePdf(QWidget &parent, const QString &title, const QString &fileName, const QString &what,
                   const std::function<bool(const QString &)> &save);

} // namespace paywindow
