// The page every printed document shares: A4 and its margins, the fonts, tables read from the right,
// the creator the PDF names, and the PDF file written atomically with the one wording of its errors.
// No document and no amount here: what goes on the pages is the slip's or the comparison's.
#pragma once

#include <QPageLayout>
#include <QSaveFile>
#include <QString>
#include <QStringList>

#include <memory>

class QPdfWriter;
class QTextDocument;

namespace report {

// A4 portrait, 12 mm margins left and right, 10 mm at the top and bottom.
QPageLayout A4Layout();

// The printing size of the slip's text, and the comparison's, which has fewer columns.
inline constexpr qreal kSlipPoints = 8.5;
inline constexpr qreal kComparisonPoints = 9;

// The program and its version, as every PDF names its creator.
QString Creator();

// Qt's rich-text tables do not reliably lay their columns out right to left,
// so every table is written left to right with its cells in reverse: the
// first cell of a row (its label) stands at the right, as it is read.
// TableRow writes a row so.
QString TableRow(QStringList cells, const QString &attributes = {});

// Fills `document` with right-to-left rich text to print, in the printing
// font (Arial or else the Arabic fonts a Linux desktop has) at `points`, and
// keeps Qt from turning its tables back once it has read them.
void SetPrintHtml(QTextDocument &document, qreal points, const QString &html);

// "cannot write PATH: why", the file named as the system names it.
QString CannotWrite(const QString &path, const QString &why);

// A PDF file written atomically: until commit() succeeds nothing is at the
// path but what was there before, and a failed write leaves that untouched
// and no temporary behind. Its pages are A4, its creator Creator().
class PdfFile {
public:
    PdfFile(const QString &path, const QString &title);
    ~PdfFile();
    PdfFile(const PdfFile &) = delete;
    PdfFile &operator=(const PdfFile &) = delete;

    // What to paint on; nullptr when the file could not be opened.
    QPdfWriter *writer() const { return writer_.get(); }
    bool failed() const { return !error_.isEmpty(); }
    // Records why the file cannot be written (the first reason is kept).
    void fail(const QString &why);
    // Once every painter on the writer has ended: puts the complete file in
    // place; false, with the reason naming the file, when it cannot (and
    // then nothing is left of it).
    bool commit(QString *error = nullptr);

private:
    bool discard(QString *error);

    QString path_;
    QString error_;
    // Destroyed in reverse order: the writer, then the file, which discards
    // its temporary unless committed.
    QSaveFile file_;
    std::unique_ptr<QPdfWriter> writer_;
};

} // namespace report
