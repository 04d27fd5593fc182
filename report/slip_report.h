// The slip as a document to print, to save as PDF or to copy: the title, the
// date, the employee's situation and every line of a recalculated form.
#pragma once

#include <QDate>
#include <QString>

#include "paycalc/pay_form.h"

class QPagedPaintDevice;
class QTextDocument;

namespace report {

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
