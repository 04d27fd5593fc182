// The slip as a document to print, to save as PDF or to copy: the title, the
// date, the employee's situation and every line of a recalculated form.
#pragma once

#include <QDate>
#include <QString>

#include <memory>

#include "paycalc/pay_form.h"

class QPagedPaintDevice;
class QTextDocument;

namespace report {

// Who the slip is for, printed in the header only when given.
struct Identity {
    QString name;
    QString number;    // employee number
    QString workplace;
    bool isEmpty() const { return name.isEmpty() && number.isEmpty() && workplace.isEmpty(); }
};

struct PrintOptions {
    QDate printed = QDate::currentDate();
    bool bilingual = false; // each label also in French
    Identity identity;
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
    void addSlip(const paycalc::PayForm &form, const Identity &identity);
    // Puts the complete file in place; false, with the reason in `error`
    // (naming the file), when it cannot.
    bool finish(QString *error = nullptr);

private:
    struct Pages;
    std::unique_ptr<Pages> pages_;
};

// One slip as a PDF file, atomically; false, with the reason, when it cannot be written.
bool WriteSlipPdf(const paycalc::PayForm &form, const PrintOptions &options, const QString &path,
                  QString *error = nullptr);

// The slip as right-to-left rich text, for a form whose recalculation succeeded.
QString SlipHtml(const paycalc::PayForm& form, const QDate& printed);

// Lays the slip out on A4 portrait pages of `device` (a QPrinter or a QPdfWriter).
void PrintSlip(const paycalc::PayForm& form, const QDate& printed, QPagedPaintDevice& device);

// Writes the slip as a PDF file; returns false when the file cannot be written.
bool WriteSlipPdf(const paycalc::PayForm& form, const QDate& printed, const QString& path);

// The slip as plain text: one line per amount, label then amount, marked to
// read right to left.
QString SlipText(const paycalc::PayForm& form);

} // namespace report
