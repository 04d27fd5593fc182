// The slip as a document to print, to save as PDF or to copy: the title, the
// date, the employee's situation and every line of a recalculated form.
// No pay rule here: every amount is a field of the form as recalculated; what
// each line says is in slip_content.h, how it is laid out in slip_report.cpp.
#pragma once

#include <QDate>
#include <QList>
#include <QString>

#include <memory>

#include "paycalc/identity.h"
#include "paycalc/pay_form.h"
#include "paycalc/slip_table.h"

class QPagedPaintDevice;
class QTextDocument;

namespace report {

struct PrintOptions {
    QDate printed = QDate::currentDate();
    bool bilingual = false; // each label also in French
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

    // Adds the slip of a recalculated form on a page of its own, with its identity.
    void addSlip(const paycalc::PayForm &form, const paycalc::Identity &identity);
    // Puts the complete file in place; false, with the reason in `error`
    // (naming the file), when it cannot.
    bool finish(QString *error = nullptr);

private:
    struct Pages;
    std::unique_ptr<Pages> pages_;
};

// One slip as a PDF file, atomically; false, with the reason, when it cannot be written.
// Laying out text needs the fonts of a GUI application. A program that
// shows no window (the command line) gets one on the offscreen platform, no
// display touched; Qt's notes about the desktop session are dropped, its
// critical messages go to standard error after `program`. Does nothing when
// an application exists.
void EnsureGuiApplication(const char *program);

bool WriteSlipPdf(const paycalc::PayForm &form, const PrintOptions &options, const QString &path,
                  QString *error = nullptr);

// The rows of the slip's table, in print order, as the engine's slip states
// them (paycalc/slip_table.h): every amount is a field of the form as shown (the
// typed zone and housing allowances as ReadAmount reads them, shown to the
// cent). Earnings and deductions add up to the net pay; subtotals (main pay,
// pay subject to social security, taxable amount) are bases of the lines
// after them and are not added.
using RowKind = paycalc::LineKind;
struct SlipRow {
    QString label; // Arabic; "Arabic / French" when bilingual
    RowKind kind;
    QString amount;
    QString base; // what a rate applies to, when the slip states one
    QString rate;
};
QList<SlipRow> SlipRows(const paycalc::PayForm &form, bool bilingual = false);

// The totals of the engine's slip, as text for the page.
struct SlipTotals {
    bool computed = false; // false only when a sum overflows
    QString earnings;      // sum of the earnings column
    QString deductions;    // sum of the deductions column
    QString difference;    // earnings - deductions
    QString netPay;        // Text21, the slip's net pay
    // netPay - difference when they differ, else empty: a typed allowance
    // with more than two decimals counts as typed in the pay and shows
    // rounded to the cent on its line.
    QString rounding;
};
SlipTotals TotalsOf(const paycalc::SlipTable &slip);
SlipTotals TotalsOf(const paycalc::PayForm &form);

// Net pay (Text21) in Arabic words; empty when too large to write in words.
QString NetPayInWords(const paycalc::PayForm &form);

// The slip as right-to-left rich text, for a form whose recalculation succeeded.
QString SlipHtml(const paycalc::PayForm &form, const PrintOptions &options);

// Lays the slip out on one A4 portrait page of `device` (a QPrinter or a
// QPdfWriter), scaled down if it would not fit.
void PrintSlip(const paycalc::PayForm &form, const PrintOptions &options, QPagedPaintDevice &device);

// The slip as tab-separated rows (label, base, rate, earnings, deductions),
// with the totals and the net pay, for a paste into a spreadsheet.
QString SlipText(const paycalc::PayForm &form, bool bilingual = false);

} // namespace report
