// Two situations side by side as a document: every line before and after
// with its difference, the back pay a late change is owed, the career ladder
// of the situation and the check of an official slip. The same document is
// printed, written as an A4 right-to-left PDF, or copied as tab-separated
// text. Every amount in it is a line of a slip paycalc computed, or a
// difference, product or sum that paycalc showed; nothing is computed here.
#pragma once

#include <QDate>
#include <QList>
#include <QString>

#include <optional>
#include <string>
#include <vector>

#include "paycalc/compare.h"

class QPagedPaintDevice;

namespace report {

// The lines a comparison shows: every amount line of the slip the
// recalculation writes, in the window's reading order (the typed zone and
// housing allowances are part of the situation, the hidden working fields
// are left out).
const std::vector<paycalc::Field> &ComparedLines();

// A line's caption, as the slip window labels it.
QString LineTitle(paycalc::Field field);

// Which way a difference goes; Unknown when there is none (a line missing
// from a slip).
enum class Change { Unknown, Same, Up, Down };
Change ChangeOf(const std::string &difference);

// A difference with its sign always written: "+12.50" for a rise, "-3.00"
// for a fall, "0.00" when nothing changes, "—" when there is no difference.
QString SignedDifference(const std::string &difference);

// The word that says the same as the sign: "زيادة", "نقصان", "دون تغيير".
QString ChangeWord(Change change);

// One input of a situation, as a person reads it: "الصنف" / "11".
struct SituationRow {
    QString label;
    QString value;
};
QList<SituationRow> SituationRows(const paycalc::Situation &situation);

// What the document holds; the optional parts appear when present.
struct ComparisonDocument {
    paycalc::Comparison comparison; // before: the current situation; after: the other one
    std::optional<paycalc::BackPay> backPay;
    std::optional<paycalc::Ladder> ladder; // of the current situation
    std::optional<paycalc::CheckReport> check;
    QDate printed = QDate::currentDate();
};

// The sentence that goes with every back-pay figure.
QString BackPayNote();

// Whether the ladder's step is the situation's own echelon.
bool IsCurrentEchelon(const paycalc::Ladder &ladder, const paycalc::LadderStep &step);

// The ladder's title, its columns (echelon, net pay, main pay, income tax,
// bonus, the step in net pay from the echelon before), an echelon as a row
// names it ("7 ◄ الحالية" for the situation's own), and the same echelon in
// the category above as a sentence (only when the ladder has it).
QString LadderTitle(const paycalc::Ladder &ladder);
QStringList LadderColumns();
QString EchelonLabel(const paycalc::Ladder &ladder, const paycalc::LadderStep &step);
QString CategoryAboveText(const paycalc::Ladder &ladder);

// An explanation as paycalc writes it (the rule, a line feed, the
// computation) as rich text: the rule right to left, the computation in a
// block of its own under it, left to right.
QString ExplanationHtml(const std::string &explanation);

// The words of a check: "مطابق" when both amounts read to the same cents,
// "غير مطابق" otherwise.
QString AgreementWord(bool agrees);

// Lays the document out on A4 portrait pages of `device` (a QPrinter or a
// QPdfWriter).
void PrintComparison(const ComparisonDocument &document, QPagedPaintDevice &device);

// Writes the document as a PDF, atomically: the file at `path` is either the
// complete new document or what was there before. False, with the reason in
// `error` (naming the file), when it cannot be written.
bool WriteComparisonPdf(const ComparisonDocument &document, const QString &path, QString *error = nullptr);

// The document as plain text, one row a line and the columns separated by
// tabs, for a spreadsheet or a message.
QString ComparisonText(const ComparisonDocument &document);

} // namespace report
