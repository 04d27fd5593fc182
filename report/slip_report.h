// The slip as a document to print, to save as PDF or to copy: the title, the
// date, the employee's situation and every line of a slip, laid out.
// Layout only: every amount, label, base, rate and total is the slip's
// (paycalc/slip.h), the page's words are the engine's (paycalc/page_labels.h).
// A slip is printed from the run that computed it, with its explanations
// (which state each line's base and rate): nothing here recalculates.
#pragma once

#include <QDate>
#include <QString>

#include <memory>

#include "paycalc/identity.h"
#include "paycalc/slip.h"

class QPagedPaintDevice;

namespace report {

struct PrintOptions {
    QDate printed = QDate::currentDate();
    bool bilingual = false;     // each label also in French
    paycalc::Identity identity; // printed in the header only when given
};

// A PDF of one or more slips, a page each, written atomically: until
// finish() succeeds nothing is at `path` but what was there before, and a
// failed write leaves that untouched and no temporary behind.
class SlipPdf {
public:
    SlipPdf(const QString &path, const PrintOptions &options);
    ~SlipPdf();
    SlipPdf(const SlipPdf &) = delete;
    SlipPdf &operator=(const SlipPdf &) = delete;

    // Adds a complete slip on a page of its own, with its identity.
    void addSlip(const paycalc::Slip &slip, const paycalc::Identity &identity);
    // Puts the complete file in place; false, with the reason in `error`
    // (naming the file), when it cannot.
    bool finish(QString *error = nullptr);

private:
    struct Pages;
    std::unique_ptr<Pages> pages_;
};

// Laying out text needs the fonts of a GUI application. A program that
// shows no window (the command line) gets one on the offscreen platform, no
// display touched; Qt's notes about the desktop session are dropped, its
// critical messages go to standard error after `program`. Does nothing when
// an application exists.
void EnsureGuiApplication(const char *program);

// One slip as a PDF file, atomically; false, with the reason, when it cannot be written.
bool WriteSlipPdf(const paycalc::Slip &slip, const PrintOptions &options, const QString &path, QString *error = nullptr);

// Lays the slip out on one A4 portrait page of `device` (a QPrinter or a
// QPdfWriter), scaled down if it would not fit.
void PrintSlip(const paycalc::Slip &slip, const PrintOptions &options, QPagedPaintDevice &device);

// The slip as tab-separated rows (label, base, rate, earnings, deductions),
// with the totals and the net pay, for a paste into a spreadsheet.
QString SlipText(const paycalc::Slip &slip, bool bilingual = false);

} // namespace report
