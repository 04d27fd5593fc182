// The comparison window: the left side follows the pay-slip window, the
// right side is a second situation with the same controls, filters and
// family-status rule, every line's difference is what paycalc::Compare gives,
// signed and in words; the back pay, the career ladder and the check of an
// official slip agree with paycalc; the comparison prints, saves as PDF
// atomically and copies; every field has a name and the window fits 1072×565.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>

#include <functional>

#include "form1_test_support.h"
#include "paycalc/compare.h"
#include "paycalc/situation.h"
#include "paycalc/situation_inputs.h"
#include "report/compare_report.h"
#include "window/arabic_application.h"
#include "window/compare_situation.h"
#include "window/compare_window.h"
#include "window/form1.h"
#include "window/pick_list.h"

using paycalc::Field;
using paywindow::CompareWindow;

namespace {

QString Utf8(const std::string &text) { return QString::fromStdString(text); }

// A text as read, without the marks that keep amounts left to right.
QString Plain(QString text)
{
    text.remove(QRegularExpression(QStringLiteral("[\\x{200E}\\x{200F}\\x{202A}-\\x{202E}\\x{2066}-\\x{2069}]")));
    return text;
}

QString Cell(const QTableWidget *table, int row, int column) { return Plain(table->item(row, column)->text()); }

QString Shown(const std::string &amount) { return amount.empty() ? QStringLiteral("—") : Utf8(amount); }

int RowOf(Field f)
{
    const auto &lines = report::ComparedLines();
    return static_cast<int>(std::find(lines.begin(), lines.end(), f) - lines.begin());
}

// The text of a PDF as pdftotext reads it, shaped Arabic letters folded back.
QString PdfText(const QString &pdf)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf, QStringLiteral("-")});
    if (!p.waitForFinished(30000) || p.exitCode() != 0) return {};
    return Plain(QString::fromUtf8(p.readAllStandardOutput()).normalized(QString::NormalizationForm_KC));
}

bool InScrollArea(const QWidget *widget)
{
    for (const QWidget *w = widget->parentWidget(); w; w = w->parentWidget())
        if (w->inherits("QScrollArea")) return true;
    return false;
}

QString OutputPath(const QString &name) { return QDir(QStringLiteral(PAYSLIP_TEST_OUTPUT_DIR)).filePath(name); }

// What a change of the second situation does in the window, and the same
// change on a situation value.
struct Change {
    std::function<void(CompareWindow &)> inWindow;
    std::function<void(paycalc::Situation &)> onSituation;
};

Change PickOther(int list, int position)
{
    return {[=](CompareWindow &w) { form1test::PickByKeyboard(w.other()->combo(list), position); },
            [=](paycalc::Situation &s) { s.SetListPosition(list, position); }};
}

Change TypeOther(Field field, const QString &text)
{
    return {[=](CompareWindow &w) {
                QLineEdit *box = w.other()->typed(field);
                form1test::SelectAll(box);
                form1test::TypeText(box, text);
            },
            [=](paycalc::Situation &s) { s.Typed(field) = text.toStdString(); }};
}

Change ClickOtherMutual()
{
    return {[](CompareWindow &w) { QTest::mouseClick(w.other()->check(), Qt::LeftButton); },
            [](paycalc::Situation &s) { s.mutual = !s.mutual; }};
}

CompareWindow *OpenFrom(Form1 &form)
{
    form.compareAction()->trigger();
    return form.findChild<CompareWindow *>(QString(), Qt::FindDirectChildrenOnly);
}

// Every line of the window against a comparison computed here.
void VerifyLines(const CompareWindow &w, const paycalc::Comparison &expected)
{
    const QTableWidget *table = w.linesTable();
    QCOMPARE(table->rowCount(), static_cast<int>(report::ComparedLines().size()));
    for (Field f : report::ComparedLines()) {
        const int row = RowOf(f);
        const paycalc::LineDifference &line = expected.Line(f);
        QCOMPARE(Cell(table, row, CompareWindow::kTitleColumn), report::LineTitle(f));
        QCOMPARE(Cell(table, row, CompareWindow::kBeforeColumn), Shown(line.before));
        QCOMPARE(Cell(table, row, CompareWindow::kAfterColumn), Shown(line.after));
        QCOMPARE(Cell(table, row, CompareWindow::kDifferenceColumn), report::SignedDifference(line.difference));
    }
}

} // namespace

Q_DECLARE_METATYPE(Change)

class CompareWindowTest : public QObject {
    Q_OBJECT

private slots:
    void opensOnceFromTheMainWindow();
    void startsWithTheCurrentSituationOnBothSides();
    void leftSideFollowsTheMainWindow_data();
    void leftSideFollowsTheMainWindow();
    void differencesAreThoseOfCompare_data();
    void differencesAreThoseOfCompare();
    void differencesAreSignedAndSaid_data();
    void differencesAreSignedAndSaid();
    void backPay_data();
    void backPay();
    void ladderShowsEveryEchelonAndMarksTheCurrent();
    void checkAgreesWhenTheAmountsAreOurs();
    void checkFlagsAWrongAmountWithTheExplanation();
    void familyStatusRuleOnTheRight();
    void singleOnTheRightIsTheRulesSituation();
    void rightFieldsFilterKeystrokes_data();
    void rightFieldsFilterKeystrokes();
    void everyFieldHasAnAccessibleName();
    void situationCaptionsAreTheInputsTables();
    void keyboardReachesTheControlsInOrder();
    void pdfIsWrittenAtomicallyAndReadable();
    void pdfIntoAMissingFolderFails();
    void printOnAPdfPrinter();
    void copyPutsTabSeparatedLinesOnTheClipboard();
    void incompleteSlipDisablesTheDocument();
    void fitsAtTheMainWindowsSize();
    void screenshots();
};

void CompareWindowTest::opensOnceFromTheMainWindow()
{
    Form1 form;
    QCOMPARE(form.compareAction()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_M));
    CompareWindow *first = OpenFrom(form);
    QVERIFY(first);
    QVERIFY(first->isWindow());
    QVERIFY(first->isVisible());
    QCOMPARE(first->windowTitle(), QStringLiteral("مقارنة"));
    QCOMPARE(first->layoutDirection(), Qt::RightToLeft);
    form.compareAction()->trigger();
    QCOMPARE(form.findChildren<CompareWindow *>().size(), 1);
    QCOMPARE(OpenFrom(form), first);
    QCOMPARE(first->tabs()->count(), 3);
    QCOMPARE(first->tabs()->tabText(0), QStringLiteral("مقارنة"));
    QCOMPARE(first->tabs()->tabText(1), QStringLiteral("سلم الدرجات"));
    QCOMPARE(first->tabs()->tabText(2), QStringLiteral("مراجعة كشف رسمي"));
    // Closed, it is gone; the next opening starts afresh.
    first->close();
    QTRY_COMPARE(form.findChildren<CompareWindow *>().size(), 0);
    QVERIFY(OpenFrom(form));
}

void CompareWindowTest::startsWithTheCurrentSituationOnBothSides()
{
    Form1 form;
    form1test::PickByKeyboard(form.combo(paycalc::kEchelonList), 3);
    form.text(Field::Text10)->setText(QStringLiteral("1500"));
    CompareWindow *w = OpenFrom(form);
    const paycalc::Situation current = paycalc::SituationOf(form.payForm());
    QCOMPARE(current.echelon, 3);
    QVERIFY(w->other()->situation() == current);
    QCOMPARE(w->other()->combo(paycalc::kEchelonList)->currentText(), QStringLiteral("3"));
    QCOMPARE(w->other()->typed(Field::Text10)->text(), QStringLiteral("1500"));
    // Nothing changes: every difference is 0.00, and the slip is the window's own.
    for (Field f : report::ComparedLines()) {
        QCOMPARE(Cell(w->linesTable(), RowOf(f), CompareWindow::kDifferenceColumn), QStringLiteral("0.00"));
        QCOMPARE(Cell(w->linesTable(), RowOf(f), CompareWindow::kBeforeColumn), form.text(f)->text());
    }
}

void CompareWindowTest::leftSideFollowsTheMainWindow_data()
{
    QTest::addColumn<int>("list"); // -1: a typed field or the box
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("field"); // Field, for a typed text
    QTest::addColumn<QString>("typed");
    QTest::newRow("echelon 10") << int(paycalc::kEchelonList) << 10 << 0 << QString();
    QTest::newRow("category 14") << int(paycalc::kCategoryList) << 13 << 0 << QString();
    QTest::newRow("post 3") << int(paycalc::kPostList) << 3 << 0 << QString();
    QTest::newRow("children 4") << int(paycalc::kChildrenList) << 4 << 0 << QString();
    QTest::newRow("spouse working") << int(paycalc::kSpouseList) << 1 << 0 << QString();
    QTest::newRow("single") << int(paycalc::kFamilyStatusList) << 0 << 0 << QString();
    QTest::newRow("zone typed") << -1 << 0 << int(Field::Text10) << QStringLiteral("2500");
    QTest::newRow("housing typed") << -1 << 0 << int(Field::Text11) << QStringLiteral("800.5");
    QTest::newRow("absence typed") << -1 << 0 << int(Field::Text20) << QStringLiteral("3");
    QTest::newRow("mark typed") << -1 << 0 << int(Field::Text23) << QStringLiteral("35");
    QTest::newRow("mutual off") << -2 << 0 << 0 << QString();
}

void CompareWindowTest::leftSideFollowsTheMainWindow()
{
    QFETCH(int, list);
    QFETCH(int, position);
    QFETCH(int, field);
    QFETCH(QString, typed);
    Form1 form;
    CompareWindow *w = OpenFrom(form);
    const paycalc::Situation otherBefore = w->other()->situation();
    const int refreshes = w->refreshCount();

    if (list >= 0) {
        form1test::PickByKeyboard(form.combo(list), position);
    } else if (list == -1) {
        QLineEdit *box = form.text(static_cast<Field>(field));
        form1test::SelectAll(box);
        form1test::TypeText(box, typed);
    } else {
        QTest::mouseClick(form.check1(), Qt::LeftButton);
    }
    QVERIFY(w->refreshCount() > refreshes);

    // The left side is what the pay-slip window shows, line by line.
    const paycalc::Situation current = paycalc::SituationOf(form.payForm());
    const QList<report::SituationRow> rows = report::SituationRows(current);
    for (int i = 0; i < rows.size(); ++i) QCOMPARE(w->currentValue(i)->text(), rows[i].value);
    for (Field f : report::ComparedLines())
        QCOMPARE(Cell(w->linesTable(), RowOf(f), CompareWindow::kBeforeColumn), form.text(f)->text());
    // The right side keeps its own situation, and the differences are those of the two.
    QVERIFY(w->other()->situation() == otherBefore);
    VerifyLines(*w, paycalc::Compare(current, otherBefore));
}

void CompareWindowTest::differencesAreThoseOfCompare_data()
{
    QTest::addColumn<QList<Change>>("changes");
    QTest::newRow("next echelon") << QList<Change>{PickOther(paycalc::kEchelonList, 8)};
    QTest::newRow("echelon 0") << QList<Change>{PickOther(paycalc::kEchelonList, 0)};
    QTest::newRow("category 12") << QList<Change>{PickOther(paycalc::kCategoryList, 11)};
    QTest::newRow("category 17 echelon 12")
        << QList<Change>{PickOther(paycalc::kCategoryList, 16), PickOther(paycalc::kEchelonList, 12)};
    QTest::newRow("two more children") << QList<Change>{PickOther(paycalc::kChildrenList, 3)};
    QTest::newRow("children over ten") << QList<Change>{PickOther(paycalc::kChildrenList, 4),
                                                        PickOther(paycalc::kOverTenList, 2)};
    QTest::newRow("spouse working") << QList<Change>{PickOther(paycalc::kSpouseList, 1)};
    QTest::newRow("mutual off") << QList<Change>{ClickOtherMutual()};
    QTest::newRow("zone typed") << QList<Change>{TypeOther(Field::Text10, QStringLiteral("2500"))};
    QTest::newRow("housing and absence") << QList<Change>{TypeOther(Field::Text11, QStringLiteral("1200.75")),
                                                          TypeOther(Field::Text20, QStringLiteral("2"))};
    QTest::newRow("post and mark") << QList<Change>{PickOther(paycalc::kPostList, 5),
                                                    TypeOther(Field::Text23, QStringLiteral("20"))};
}

void CompareWindowTest::differencesAreThoseOfCompare()
{
    QFETCH(QList<Change>, changes);
    Form1 form;
    CompareWindow *w = OpenFrom(form);
    paycalc::Situation expected = paycalc::SituationOf(form.payForm());
    for (const Change &change : changes) {
        change.inWindow(*w);
        change.onSituation(expected);
    }
    QVERIFY(w->other()->situation() == expected);
    const paycalc::Comparison comparison = paycalc::Compare(paycalc::SituationOf(form.payForm()), expected);
    QVERIFY(comparison.ok());
    VerifyLines(*w, comparison);
    // The right column is the slip of that situation computed on its own.
    const paycalc::Slip alone = paycalc::ComputeSlip(expected);
    for (Field f : report::ComparedLines())
        QCOMPARE(Cell(w->linesTable(), RowOf(f), CompareWindow::kAfterColumn), Shown(alone.Text(f)));
}

void CompareWindowTest::differencesAreSignedAndSaid_data()
{
    QTest::addColumn<int>("echelon");
    QTest::addColumn<QString>("sign");
    QTest::addColumn<QString>("word");
    QTest::newRow("up") << 12 << QStringLiteral("+") << QStringLiteral("زيادة");
    QTest::newRow("down") << 0 << QStringLiteral("-") << QStringLiteral("نقصان");
}

void CompareWindowTest::differencesAreSignedAndSaid()
{
    QFETCH(int, echelon);
    QFETCH(QString, sign);
    QFETCH(QString, word);
    Form1 form;
    CompareWindow *w = OpenFrom(form);
    form1test::PickByKeyboard(w->other()->combo(paycalc::kEchelonList), echelon);
    const QTableWidgetItem *net = w->linesTable()->item(RowOf(Field::Text21), CompareWindow::kDifferenceColumn);
    QVERIFY2(Plain(net->text()).startsWith(sign), qPrintable(net->text()));
    QVERIFY(net->data(Qt::AccessibleTextRole).toString().startsWith(word));
    QVERIFY(net->toolTip().contains(word));
    // A different colour for rises and falls, the unchanged lines in black.
    const QTableWidgetItem *same = w->linesTable()->item(RowOf(Field::Text8), CompareWindow::kDifferenceColumn);
    QCOMPARE(Plain(same->text()), QStringLiteral("0.00"));
    QVERIFY(same->data(Qt::AccessibleTextRole).toString().startsWith(QStringLiteral("دون تغيير")));
    QVERIFY(net->foreground().color() != same->foreground().color());
    QCOMPARE(report::SignedDifference("12.50"), QStringLiteral("+12.50"));
    QCOMPARE(report::SignedDifference("-3.00"), QStringLiteral("-3.00"));
    QCOMPARE(report::SignedDifference("0.00"), QStringLiteral("0.00"));
    QCOMPARE(report::SignedDifference(""), QStringLiteral("—"));
}

void CompareWindowTest::backPay_data()
{
    QTest::addColumn<int>("months");
    QTest::addColumn<int>("echelon");
    QTest::newRow("1 month") << 1 << 8;
    QTest::newRow("2 months") << 2 << 8;
    QTest::newRow("3 months, one quarter") << 3 << 9;
    QTest::newRow("7 months, two quarters") << 7 << 12;
    QTest::newRow("a year") << 12 << 8;
    QTest::newRow("120 months") << 120 << 12;
    QTest::newRow("a fall over 5 months") << 5 << 2;
}

void CompareWindowTest::backPay()
{
    QFETCH(int, months);
    QFETCH(int, echelon);
    Form1 form;
    CompareWindow *w = OpenFrom(form);
    form1test::PickByKeyboard(w->other()->combo(paycalc::kEchelonList), echelon);
    w->monthsBox()->setValue(months);
    paycalc::Situation other = paycalc::SituationOf(form.payForm());
    other.echelon = echelon;
    const paycalc::BackPay expected = paycalc::ComputeBackPay(
        paycalc::Compare(paycalc::SituationOf(form.payForm()), other), months);
    QCOMPARE(expected.quarters, months / 3);
    QCOMPARE(Plain(w->backPayMonthly()->text()), report::SignedDifference(expected.monthly));
    QCOMPARE(Plain(w->backPayBonus()->text()), report::SignedDifference(expected.bonus));
    QCOMPARE(Plain(w->backPayTotal()->text()), report::SignedDifference(expected.total));
    QVERIFY(w->backPayNote()->text().contains(QStringLiteral("الشهري")));
    QVERIFY(w->backPayNote()->isVisible());
    QCOMPARE(w->monthsBox()->minimum(), 1);
    QCOMPARE(w->monthsBox()->maximum(), 120);
}

void CompareWindowTest::ladderShowsEveryEchelonAndMarksTheCurrent()
{
    Form1 form;
    CompareWindow *w = OpenFrom(form);
    for (int echelon : {7, 0, 12}) {
        form1test::PickByKeyboard(form.combo(paycalc::kEchelonList), echelon);
        const paycalc::Ladder expected = paycalc::ComputeLadder(paycalc::SituationOf(form.payForm()));
        const QTableWidget *table = w->ladderTable();
        QCOMPARE(table->rowCount(), 13);
        for (int r = 0; r < 13; ++r) {
            const paycalc::Slip &slip = expected.steps[static_cast<std::size_t>(r)].slip;
            const bool current = r == echelon;
            QCOMPARE(Cell(table, r, 0).startsWith(QString::number(r)), true);
            // Marked in words, not only by colour.
            QCOMPARE(Cell(table, r, 0).contains(QStringLiteral("الحالية")), current);
            QCOMPARE(table->item(r, 1)->font().underline(), current);
            QCOMPARE(Cell(table, r, 1), Shown(slip.Text(Field::Text21)));
            QCOMPARE(Cell(table, r, 2), Shown(slip.Text(Field::Text3)));
            QCOMPARE(Cell(table, r, 3), Shown(slip.Text(Field::Text15)));
            QCOMPARE(Cell(table, r, 4), Shown(slip.Text(Field::Text22)));
            QCOMPARE(Cell(table, r, 5), report::SignedDifference(expected.steps[static_cast<std::size_t>(r)].netStep));
        }
        QVERIFY(expected.categoryAbove.has_value());
        QVERIFY(Plain(w->categoryAbove()->text()).contains(Utf8(expected.categoryAbove->Text(Field::Text21))));
        QVERIFY(w->categoryAbove()->text().contains(QStringLiteral("الصنف 12")));
    }
    // Category 17 has none above it.
    form1test::PickByKeyboard(form.combo(paycalc::kCategoryList), 16);
    QVERIFY(!w->ladder()->categoryAbove.has_value());
    QVERIFY(w->categoryAbove()->text().contains(QStringLiteral("لا صنف")));
}

void CompareWindowTest::checkAgreesWhenTheAmountsAreOurs()
{
    Form1 form;
    CompareWindow *w = OpenFrom(form);
    w->tabs()->setCurrentIndex(2);
    for (Field f : report::ComparedLines()) {
        QVERIFY(w->verdict(f)->text().isEmpty()); // nothing typed, nothing said
        form1test::TypeText(w->officialField(f), form.text(f)->text());
    }
    QVERIFY(w->check().has_value());
    QCOMPARE(w->check()->lines.size(), report::ComparedLines().size());
    QVERIFY(w->check()->allAgree());
    for (Field f : report::ComparedLines()) {
        QVERIFY2(w->verdict(f)->text().endsWith(QStringLiteral("مطابق")) &&
                     !w->verdict(f)->text().contains(QStringLiteral("غير")),
                 qPrintable(w->verdict(f)->text()));
        QCOMPARE(Plain(w->officialDifference(f)->text()), QStringLiteral("0.00"));
    }
    QVERIFY(w->checkSummary()->text().contains(QStringLiteral("مطابقة")));
    QVERIFY(w->explanations()->toPlainText().trimmed().isEmpty());
}

void CompareWindowTest::checkFlagsAWrongAmountWithTheExplanation()
{
    Form1 form;
    CompareWindow *w = OpenFrom(form);
    const paycalc::Slip ours = paycalc::ComputeSlip(paycalc::SituationOf(form.payForm()), true);
    // The net pay of the official slip is 1.00 short; two other lines are right.
    const double net = form.text(Field::Text21)->text().toDouble();
    const QString wrong = QString::number(net - 1.0, 'f', 2);
    form1test::TypeText(w->officialField(Field::Text21), wrong);
    form1test::TypeText(w->officialField(Field::Text3), form.text(Field::Text3)->text());
    form1test::TypeText(w->officialField(Field::Text15), form.text(Field::Text15)->text());
    QVERIFY(w->check().has_value());
    QCOMPARE(w->check()->lines.size(), std::size_t{3});
    QVERIFY(!w->check()->allAgree());
    QVERIFY(w->verdict(Field::Text21)->text().contains(QStringLiteral("غير مطابق")));
    QCOMPARE(Plain(w->officialDifference(Field::Text21)->text()), QStringLiteral("-1.00"));
    QVERIFY(!w->verdict(Field::Text3)->text().contains(QStringLiteral("غير")));
    QVERIFY(!w->verdict(Field::Text15)->text().contains(QStringLiteral("غير")));
    // Our explanation of the net pay, and of no line that agrees.
    const QString explained = w->explanations()->toPlainText();
    const paycalc::Explanation *e = ours.trace.Find(Field::Text21);
    QVERIFY(e);
    QVERIFY(explained.contains(report::LineTitle(Field::Text21)));
    QVERIFY2(explained.contains(Utf8(e->rule)), qPrintable(explained));
    QVERIFY(!explained.contains(report::LineTitle(Field::Text3)));
    QVERIFY(w->checkSummary()->text().contains(QStringLiteral("1 من 3")));
    // The explanation is the one paycalc::CheckOfficial gives.
    const paycalc::CheckReport expected = paycalc::CheckOfficial(paycalc::SituationOf(form.payForm()),
                                                                 {{Field::Text21, wrong.toStdString()}});
    QCOMPARE(w->verdict(Field::Text21)->toolTip(), Utf8(expected.lines.front().explanation));
    // Corrected, the line agrees.
    form1test::SelectAll(w->officialField(Field::Text21));
    form1test::TypeText(w->officialField(Field::Text21), form.text(Field::Text21)->text());
    QVERIFY(w->check()->allAgree());
}

void CompareWindowTest::familyStatusRuleOnTheRight()
{
    Form1 form;
    CompareWindow *w = OpenFrom(form);
    paywindow::SituationEditor *other = w->other();
    form1test::PickByKeyboard(other->combo(paycalc::kChildrenList), 3);
    form1test::PickByKeyboard(other->combo(paycalc::kOverTenList), 2);
    form1test::PickByKeyboard(other->combo(paycalc::kFamilyStatusList), 0);
    QCOMPARE(other->combo(paycalc::kChildrenList)->currentIndex(), 0);
    QCOMPARE(other->combo(paycalc::kOverTenList)->currentIndex(), 0);
    // A count of children is undone at once while single.
    form1test::PickByKeyboard(other->combo(paycalc::kChildrenList), 2);
    QCOMPARE(other->combo(paycalc::kChildrenList)->currentIndex(), 0);
    paycalc::Situation single = paycalc::SituationOf(form.payForm());
    single.status = 0;
    single.children = 0;
    single.overTen = 0;
    QVERIFY(other->situation() == single);
    VerifyLines(*w, paycalc::Compare(paycalc::SituationOf(form.payForm()), single));
    QVERIFY(w->message()->isHidden());
    // Married again, a count of children stays.
    form1test::PickByKeyboard(other->combo(paycalc::kFamilyStatusList), 1);
    form1test::PickByKeyboard(other->combo(paycalc::kChildrenList), 2);
    QCOMPARE(other->combo(paycalc::kChildrenList)->currentIndex(), 2);
    // The main window is left alone.
    QCOMPARE(form.combo(paycalc::kFamilyStatusList)->currentIndex(), 1);
    QCOMPARE(form.combo(paycalc::kChildrenList)->currentIndex(), 1);
}

// The right side after a pick of "single", and after a count picked while
// single, is what the rule's home makes of the situation.
void CompareWindowTest::singleOnTheRightIsTheRulesSituation()
{
    Form1 form;
    CompareWindow *w = OpenFrom(form);
    paywindow::SituationEditor *other = w->other();
    form1test::PickByKeyboard(other->combo(paycalc::kOverTenList), 4);
    paycalc::Situation expected = other->situation();
    expected.status = 0;
    QVERIFY(paycalc::ApplyFamilyStatusRule(expected));

    form1test::PickByKeyboard(other->combo(paycalc::kFamilyStatusList), 0);
    QVERIFY(other->situation() == expected);
    form1test::PickByKeyboard(other->combo(paycalc::kOverTenList), 1);
    QVERIFY(other->situation() == expected);
    QVERIFY(!paycalc::BreaksFamilyStatusRule(other->situation()));
    QVERIFY(w->message()->isHidden());
}

void CompareWindowTest::rightFieldsFilterKeystrokes_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept");
    QTest::newRow("zone: digits and point")
        << QStringLiteral("Text10") << QStringLiteral("12a.5-+, 7") << QStringLiteral("12.57");
    QTest::newRow("housing: neighbours of the digits")
        << QStringLiteral("Text11") << QStringLiteral("/0:9") << QStringLiteral("09");
    QTest::newRow("housing: other scripts") << QStringLiteral("Text11") << QStringLiteral("٣4") << QStringLiteral("4");
    QTest::newRow("absence: digits and point")
        << QStringLiteral("Text20") << QStringLiteral("3j.5") << QStringLiteral("3.5");
    QTest::newRow("mark: whole numbers") << QStringLiteral("Text23") << QStringLiteral("4.5x") << QStringLiteral("45");
    QTest::newRow("official amount") << QStringLiteral("OfficialText21") << QStringLiteral("4a3-43.1,2")
                                     << QStringLiteral("4343.12");
}

void CompareWindowTest::rightFieldsFilterKeystrokes()
{
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, kept);
    Form1 form;
    CompareWindow *w = OpenFrom(form);
    QLineEdit *box = w->findChild<QLineEdit *>(field);
    QVERIFY(box);
    box->clear();
    form1test::TypeText(box, typed);
    QCOMPARE(box->text(), kept);
    // A paste with a refused character is refused whole.
    QGuiApplication::clipboard()->setText(QStringLiteral("12x"));
    box->clear();
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(box->text(), QString());
    // The lists take no typed character.
    QComboBox *category = w->other()->combo(paycalc::kCategoryList);
    const int before = category->currentIndex();
    form1test::TypeText(category, QStringLiteral("15"));
    QCOMPARE(category->currentIndex(), before);
}

void CompareWindowTest::everyFieldHasAnAccessibleName()
{
    Form1 form;
    CompareWindow *w = OpenFrom(form);
    QStringList missing;
    int named = 0;
    for (QWidget *widget : w->findChildren<QWidget *>()) {
        const bool field = qobject_cast<QLineEdit *>(widget) || qobject_cast<QComboBox *>(widget) ||
                           qobject_cast<QAbstractButton *>(widget) || qobject_cast<QSpinBox *>(widget) ||
                           qobject_cast<QTableWidget *>(widget) || qobject_cast<QTextBrowser *>(widget) ||
                           qobject_cast<QTabWidget *>(widget);
        if (!field || widget->accessibleName().isEmpty() == false) {
            named += field ? 1 : 0;
            continue;
        }
        // The spin box's own line edit, the tab bar's scroll buttons and a
        // table's corner button speak through their owners.
        if (qobject_cast<QSpinBox *>(widget->parentWidget()) || widget->inherits("QToolButton") ||
            qobject_cast<QTableWidget *>(widget->parentWidget()))
            continue;
        if (qobject_cast<QCheckBox *>(widget) && !static_cast<QCheckBox *>(widget)->text().isEmpty() &&
            !widget->accessibleName().isEmpty())
            continue;
        missing << widget->metaObject()->className() + QStringLiteral(" ") + widget->objectName();
    }
    QVERIFY2(missing.isEmpty(), qPrintable(missing.join(QLatin1Char('\n'))));
    QVERIFY(named > 12 + 19 + 5);
    QCOMPARE(w->other()->combo(paycalc::kEchelonList)->accessibleName(), QStringLiteral("إختر الدرجة"));
    QCOMPARE(w->other()->typed(Field::Text10)->accessibleName(), QStringLiteral("منحة المنطقة"));
    QVERIFY(w->officialField(Field::Text21)->accessibleName().contains(QStringLiteral("الراتب الصافي")));
}

// Beside each input of the second situation stands the caption the inputs
// table gives it, as in the pay-slip window.
void CompareWindowTest::situationCaptionsAreTheInputsTables()
{
    Form1 form;
    CompareWindow *w = OpenFrom(form);
    const paywindow::SituationEditor *other = w->other();
    for (const paycalc::SituationInput &in : paycalc::kSituationInputs) {
        QWidget *field = in.list >= 0                         ? static_cast<QWidget *>(other->combo(in.list))
                         : in.input == paycalc::Input::Mutual ? static_cast<QWidget *>(other->check())
                                                              : static_cast<QWidget *>(other->typed(in.field));
        const QString caption = Utf8(std::string(paycalc::CaptionOf(in)));
        QVERIFY2(field, qPrintable(caption));
        QStringList shown;
        for (QLabel *label : other->findChildren<QLabel *>())
            if (label->buddy() == field) shown << label->text();
        QCOMPARE(shown, QStringList{caption});
        if (in.list >= 0) QCOMPARE(paywindow::ListCaption(in.list), caption);
    }
    QCOMPARE(paywindow::CheckCaption(), Utf8(std::string(paycalc::CaptionOf(paycalc::InputOf(paycalc::Input::Mutual)))));
}

void CompareWindowTest::keyboardReachesTheControlsInOrder()
{
    Form1 form;
    CompareWindow *w = OpenFrom(form);
    QApplication::setActiveWindow(w);
    QVERIFY(QTest::qWaitForWindowActive(w));
    const QList<QWidget *> expected = w->other()->tabOrder() +
                                      QList<QWidget *>{w->refillButton(), w->linesTable(), w->monthsBox()};
    expected.front()->setFocus(Qt::TabFocusReason);
    QTRY_COMPARE(QApplication::focusWidget(), expected.front());
    for (qsizetype i = 1; i < expected.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget *focus = QApplication::focusWidget();
        // The spin box takes the focus through its line edit.
        if (focus && focus->parentWidget() == expected[i]) focus = focus->parentWidget();
        QCOMPARE(focus, expected[i]);
    }
    // Ctrl+2 and Ctrl+3 open the tabs; the first typed official field takes the keyboard.
    QTest::keyClick(w, Qt::Key_2, Qt::ControlModifier);
    QCOMPARE(w->tabs()->currentIndex(), 1);
    QTest::keyClick(w, Qt::Key_3, Qt::ControlModifier);
    QCOMPARE(w->tabs()->currentIndex(), 2);
    QCOMPARE(w->officialField(Field::Text1)->focusPolicy() & Qt::TabFocus, Qt::TabFocus);
    QTest::keyClick(w, Qt::Key_1, Qt::ControlModifier);
    QCOMPARE(w->tabs()->currentIndex(), 0);
    QCOMPARE(w->printAction()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_P));
    QCOMPARE(w->pdfAction()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
    QCOMPARE(w->copyAction()->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
    // Escape closes the window.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QTRY_COMPARE(form.findChildren<CompareWindow *>().size(), 0);
}

void CompareWindowTest::pdfIsWrittenAtomicallyAndReadable()
{
    Form1 form;
    CompareWindow *w = OpenFrom(form);
    form1test::PickByKeyboard(w->other()->combo(paycalc::kEchelonList), 9);
    w->monthsBox()->setValue(7);
    form1test::TypeText(w->officialField(Field::Text21), QStringLiteral("1.00"));
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("compare.pdf"));
    {
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("an older file");
    }
    QString error;
    QVERIFY2(w->savePdf(path, &error), qPrintable(error));
    // Only the file named is there, complete.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("compare.pdf")});
    QFile pdf(path);
    QVERIFY(pdf.open(QIODevice::ReadOnly));
    const QByteArray bytes = pdf.readAll();
    QVERIFY(bytes.startsWith("%PDF-"));
    QVERIFY(bytes.trimmed().endsWith("%%EOF"));

    const QString text = PdfText(path);
    QVERIFY2(!text.isEmpty(), "pdftotext read nothing");
    const paycalc::LineDifference &net = w->comparison()->Line(Field::Text21);
    for (const QString &expected :
         {Utf8(net.before), Utf8(net.after), report::SignedDifference(net.difference),
          report::SignedDifference(w->backPay()->total), report::SignedDifference(w->backPay()->monthly),
          Utf8(w->ladder()->steps[12].slip.Text(Field::Text21))})
        QVERIFY2(text.contains(expected), qPrintable(expected + QStringLiteral(" not in:\n") + text));
    for (Field f : report::ComparedLines())
        QVERIFY2(text.contains(Utf8(w->comparison()->Line(f).after)), qPrintable(report::LineTitle(f)));
    QVERIFY(text.contains(QStringLiteral("المخلفات")));
    QVERIFY(text.contains(QStringLiteral("مطابق")));
}

void CompareWindowTest::pdfIntoAMissingFolderFails()
{
    Form1 form;
    CompareWindow *w = OpenFrom(form);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("missing/compare.pdf"));
    QString error;
    QVERIFY(!w->savePdf(path, &error));
    QVERIFY(error.contains(QStringLiteral("compare.pdf")));
    QVERIFY(!QFileInfo::exists(path));
    QVERIFY(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).isEmpty());
}

void CompareWindowTest::printOnAPdfPrinter()
{
    Form1 form;
    CompareWindow *w = OpenFrom(form);
    form1test::PickByKeyboard(w->other()->combo(paycalc::kCategoryList), 12);
    QTemporaryDir dir;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath(QStringLiteral("printed.pdf")));
    QVERIFY(w->printTo(printer));
    const QString text = PdfText(dir.filePath(QStringLiteral("printed.pdf")));
    QVERIFY(text.contains(Utf8(w->comparison()->Line(Field::Text21).after)));
}

void CompareWindowTest::copyPutsTabSeparatedLinesOnTheClipboard()
{
    Form1 form;
    CompareWindow *w = OpenFrom(form);
    form1test::PickByKeyboard(w->other()->combo(paycalc::kChildrenList), 3);
    QGuiApplication::clipboard()->clear();
    w->copyAction()->trigger();
    const QString copied = QGuiApplication::clipboard()->text();
    const QStringList lines = copied.split(QLatin1Char('\n'));
    for (Field f : report::ComparedLines()) {
        const paycalc::LineDifference &line = w->comparison()->Line(f);
        const QString row = QStringList{report::LineTitle(f), Utf8(line.before), Utf8(line.after),
                                        report::SignedDifference(line.difference),
                                        report::ChangeWord(report::ChangeOf(line.difference))}
                                .join(QLatin1Char('\t'));
        QVERIFY2(lines.contains(row), qPrintable(row));
    }
    QVERIFY(copied.contains(report::BackPayNote()));
}

void CompareWindowTest::incompleteSlipDisablesTheDocument()
{
    Form1 form;
    CompareWindow *w = OpenFrom(form);
    w->other()->typed(Field::Text10)->setText(QString(400, QLatin1Char('9')));
    QVERIFY(w->comparison().has_value());
    QVERIFY(!w->comparison()->ok());
    QVERIFY(!w->message()->isHidden());
    QVERIFY(w->message()->text().contains(QStringLiteral("الوضعية الجديدة")));
    QVERIFY(!w->printAction()->isEnabled());
    QVERIFY(!w->pdfAction()->isEnabled());
    QVERIFY(!w->copyAction()->isEnabled());
    QVERIFY(!w->document().has_value());
    QTemporaryDir dir;
    QVERIFY(!w->savePdf(dir.filePath(QStringLiteral("x.pdf"))));
    QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("x.pdf"))));
    QCOMPARE(Plain(w->backPayTotal()->text()), QStringLiteral("—"));
    w->other()->typed(Field::Text10)->setText(QStringLiteral("0"));
    QVERIFY(w->comparison()->ok());
    QVERIFY(w->message()->isHidden());
    QVERIFY(w->copyAction()->isEnabled());
}

void CompareWindowTest::fitsAtTheMainWindowsSize()
{
    Form1 form;
    CompareWindow *w = OpenFrom(form);
    const QSize hint = w->minimumSizeHint();
    QVERIFY2(hint.width() <= 1072 && hint.height() <= 565,
             qPrintable(QStringLiteral("%1×%2").arg(hint.width()).arg(hint.height())));
    w->resize(1072, 565);
    QTest::qWait(0);
    QCOMPARE(w->size(), QSize(1072, 565));
    // Each tab in turn: every row of its table is in view, every control inside the window.
    for (int tab = 0; tab < w->tabs()->count(); ++tab) {
        w->tabs()->setCurrentIndex(tab);
        QCoreApplication::processEvents();
        for (QWidget *child : w->tabs()->currentWidget()->findChildren<QWidget *>()) {
            if (!child->isVisible() || child->isWindow()) continue;
            if (InScrollArea(child)) continue; // the official lines scroll inside their area
            const QRect rect(child->mapTo(w, QPoint(0, 0)), child->size());
            QVERIFY2(w->rect().contains(rect),
                     qPrintable(child->objectName() + QStringLiteral(" ") + child->metaObject()->className()));
        }
    }
    for (QTableWidget *table : {w->linesTable(), w->ladderTable()}) {
        QVERIFY(!table->verticalScrollBar()->isVisible());
        const int last = table->rowCount() - 1;
        QVERIFY(table->viewport()->rect().contains(table->visualItemRect(table->item(last, 0))));
    }
    QVERIFY(!w->linesTable()->horizontalScrollBar()->isVisible());
}

void CompareWindowTest::screenshots()
{
    paywindow::SpeakArabic(*QCoreApplication::instance());
    Form1 form;
    CompareWindow *w = OpenFrom(form);
    w->resize(1072, 565);
    form1test::PickByKeyboard(w->other()->combo(paycalc::kEchelonList), 9);
    form1test::PickByKeyboard(w->other()->combo(paycalc::kChildrenList), 2);
    QApplication::setActiveWindow(w);
    QVERIFY(QTest::qWaitForWindowActive(w));
    QImage shot = w->grab().toImage();
    QVERIFY(shot.save(OutputPath(QStringLiteral("compare.png"))));
    w->monthsBox()->setValue(7);
    QCOMPARE(shot.size(), QSize(1072, 565));
    w->tabs()->setCurrentIndex(1);
    QVERIFY(w->grab().toImage().save(OutputPath(QStringLiteral("compare-ladder.png"))));
    w->tabs()->setCurrentIndex(2);
    for (Field f : {Field::Text1, Field::Text3, Field::Text13, Field::Text15, Field::Text21})
        form1test::TypeText(w->officialField(f), form.text(f)->text());
    w->officialField(Field::Text15)->setText(QStringLiteral("4000"));
    QTest::qWait(0); // the layout takes the new verdicts in
    QVERIFY(w->grab().toImage().save(OutputPath(QStringLiteral("compare-check.png"))));
    QVERIFY(w->savePdf(OutputPath(QStringLiteral("compare.pdf"))));
}

QTEST_MAIN(CompareWindowTest)
#include "tst_compare_window.moc"
