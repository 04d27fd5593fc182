// The batch dialog "كشوف مجمعة", headless: the preview of a staff file, a run
// with its outputs, refused rows and totals, a cancel that leaves no file,
// right to left and reachable by keyboard, opened from the main window.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cstdint>
#include <fstream>

#include "batch/batch.h"
#include "paycalc/situation.h"
#include "window/batch_dialog.h"
#include "window/form1.h"

using paywindow::BatchDialog;

namespace {

QString Example(const char *name) { return QDir(QStringLiteral(PAYSLIP_EXAMPLES)).filePath(QLatin1String(name)); }
QString OutputPath(const QString &name) { return QDir(QStringLiteral(PAYSLIP_TEST_OUTPUT_DIR)).filePath(name); }

// Runs the dialog and waits for the end of the run.
bool RunToTheEnd(BatchDialog &dialog)
{
    QSignalSpy done(&dialog, &BatchDialog::runFinished);
    QTest::mouseClick(dialog.runButton(), Qt::LeftButton);
    return done.wait(60000);
}

QStringList Names(const QDir &dir) { return dir.entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot); }

} // namespace

class BatchDialogTest : public QObject {
    Q_OBJECT

private slots:
    void previewShowsColumnsAndFirstRows();
    void unreadableFileCannotRun();
    void defaultsShownBeforeARun_data();
    void defaultsShownBeforeARun();
    void requiredColumnMissingCannotRun_data();
    void requiredColumnMissingCannotRun();
    void controlCharacterInTheFileNameCannotRun();
    void controlCharacterInAnOutputNameIsRefused_data();
    void controlCharacterInAnOutputNameIsRefused();
    void runWritesTheOutputsAndShowsRefusedRowsAndTotals();
    void cancelLeavesNoFile();
    void choicesLockedWhileRunning();
    void rightToLeftAndReachableByKeyboard();
    void openedFromTheMainWindow();
    void screenshot();
};

void BatchDialogTest::previewShowsColumnsAndFirstRows()
{
    BatchDialog dialog;
    dialog.setStaffFile(Example("staff-with-mistakes.csv"));
    const batch::Preview p = batch::ReadPreview(Example("staff-with-mistakes.csv").toStdString(), 10);
    QVERIFY(p.ok);
    // A line-number column, then the file's columns by their header names.
    QCOMPARE(dialog.preview()->columnCount(), static_cast<int>(p.header.size()) + 1);
    QCOMPARE(dialog.preview()->horizontalHeaderItem(1)->text(), QStringLiteral("الاسم"));
    QCOMPARE(dialog.preview()->rowCount(), 10);
    QCOMPARE(dialog.preview()->item(0, 0)->text(), QStringLiteral("2"));
    QCOMPARE(dialog.preview()->item(0, 1)->text(), QStringLiteral("حسان بوعزة"));
    // Each column says what it is: a situation value by the window's label, or carried.
    const QString found = dialog.columnsFound()->text();
    QVERIFY2(found.contains(QStringLiteral("الدرجة (إختر الدرجة)")), qPrintable(found));
    QVERIFY2(found.contains(QStringLiteral("الاسم (ينقل كما هو)")), qPrintable(found));
    QVERIFY(dialog.runButton()->isEnabled());
}

void BatchDialogTest::unreadableFileCannotRun()
{
    QTemporaryDir dir;
    BatchDialog dialog;
    dialog.setStaffFile(dir.filePath(QStringLiteral("missing.csv")));
    // Said in Arabic, naming the file.
    const QString said = dialog.columnsFound()->text();
    QVERIFY2(said.contains(QStringLiteral("تعذرت قراءة الملف")), qPrintable(said));
    QVERIFY2(said.contains(dir.filePath(QStringLiteral("missing.csv"))), qPrintable(said));
    QVERIFY2(!said.contains(QStringLiteral("cannot read")), qPrintable(said));
    QCOMPARE(dialog.preview()->rowCount(), 0);
    QVERIFY(!dialog.runButton()->isEnabled());
}

namespace {
QString WriteStaff(const QTemporaryDir &dir, const QByteArray &text)
{
    const QString path = dir.filePath(QStringLiteral("staff.csv"));
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) file.write(text);
    return path;
}
} // namespace

void BatchDialogTest::defaultsShownBeforeARun_data()
{
    QTest::addColumn<QByteArray>("staff");
    QTest::addColumn<QStringList>("shown"); // parts of the defaults line; empty for none
    QTest::newRow("every column") << QByteArray("name;category;echelon;post;children;over_ten;status;spouse;mutual;"
                                                "zone;housing;absence;mark\nA;11;7;0;1;0;married;home;yes;0;0;0;40\n")
                                  << QStringList{};
    QTest::newRow("no children") << QByteArray("name;category;echelon;status\nA;11;7;married\n")
                                 << QStringList{
                                        QStringLiteral("لا عمود «عدد الأولاد»: يحسب لكل صف 1 من الأولاد، وللأعزب 0")};
    QTest::newRow("only the required ones")
        << QByteArray("الصنف;الدرجة\n11;7\n")
        << QStringList{QStringLiteral("قيم مفترضة : "), QStringLiteral("لا عمود «الحالة العائلية»: يحسب كل صف متزوج"),
                       QStringLiteral("لا عمود «علامة المردودية (3 اشهر)»: يحسب لكل صف علامة المردودية 40")};
}

void BatchDialogTest::defaultsShownBeforeARun()
{
    QFETCH(QByteArray, staff);
    QFETCH(QStringList, shown);
    QTemporaryDir dir;
    BatchDialog dialog;
    dialog.show();
    dialog.setStaffFile(WriteStaff(dir, staff));
    // Before any run: the line is there, and the run is the user's choice.
    QVERIFY(!dialog.isRunning());
    QVERIFY(dialog.runButton()->isEnabled());
    const QString said = dialog.defaultedColumns()->text();
    QCOMPARE(dialog.defaultedColumns()->isVisible(), !shown.isEmpty());
    if (shown.isEmpty()) QVERIFY2(said.isEmpty(), qPrintable(said));
    for (const QString &part : shown)
        QVERIFY2(said.contains(part), qPrintable(part + QStringLiteral(" not in ") + said));
    // The same notes as the command line's, one for each column left out.
    const batch::Preview p = batch::ReadPreview(dir.filePath(QStringLiteral("staff.csv")).toStdString());
    for (const batch::Message &note : p.defaulted)
        QVERIFY2(said.contains(QString::fromStdString(note.arabic)), qPrintable(said));
    QVERIFY2(!said.contains(QStringLiteral("every row")), qPrintable(said));
}

void BatchDialogTest::requiredColumnMissingCannotRun_data()
{
    QTest::addColumn<QByteArray>("staff");
    QTest::addColumn<QStringList>("said");
    QTest::newRow("no category") << QByteArray("name;echelon\nA;7\n")
                                 << QStringList{QStringLiteral(
                                        "العمود الإلزامي غير موجود: «الصنف» (عنوانه category أو الصنف أو الفئة)")};
    QTest::newRow("no echelon") << QByteArray("name;الصنف\nA;11\n")
                                << QStringList{QStringLiteral(
                                       "«الدرجة» (عنوانه echelon أو إختر الدرجة أو الدرجة أو اختر الدرجة)")};
    QTest::newRow("neither") << QByteArray("name;children\nA;1\n")
                             << QStringList{QStringLiteral("الأعمدة الإلزامية غير موجودة: «الصنف»"),
                                            QStringLiteral("، «الدرجة»")};
}

void BatchDialogTest::requiredColumnMissingCannotRun()
{
    QFETCH(QByteArray, staff);
    QFETCH(QStringList, said);
    QTemporaryDir dir;
    BatchDialog dialog;
    dialog.setStaffFile(WriteStaff(dir, staff));
    const QString text = dialog.columnsFound()->text();
    for (const QString &part : said) QVERIFY2(text.contains(part), qPrintable(text));
    QVERIFY2(!text.contains(QStringLiteral("required")), qPrintable(text));
    QVERIFY(!dialog.runButton()->isEnabled());
    QVERIFY(dialog.defaultedColumns()->text().isEmpty());
}

void BatchDialogTest::controlCharacterInTheFileNameCannotRun()
{
    QTemporaryDir dir;
    // The file is there: only its typed name is at fault.
    const QString path = dir.filePath(QStringLiteral("staff\u0007.csv"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("category;echelon\n11;7\n");
    file.close();
    BatchDialog dialog;
    dialog.setStaffFile(path);
    const QString said = dialog.columnsFound()->text();
    QVERIFY2(said.contains(QStringLiteral("محرف التحكم U+0007")), qPrintable(said));
    QVERIFY(!dialog.runButton()->isEnabled());
    QCOMPARE(dialog.preview()->rowCount(), 0);
}

void BatchDialogTest::controlCharacterInAnOutputNameIsRefused_data()
{
    QTest::addColumn<bool>("pdf");
    QTest::newRow("table") << false;
    QTest::newRow("pdf") << true;
}

// A typed output name with a control character starts no run and writes nothing.
void BatchDialogTest::controlCharacterInAnOutputNameIsRefused()
{
    QFETCH(bool, pdf);
    QTemporaryDir dir;
    BatchDialog dialog;
    dialog.show();
    dialog.setStaffFile(Example("staff-with-mistakes.csv"));
    dialog.tableOutput()->setChecked(!pdf);
    dialog.pdfOutput()->setChecked(pdf);
    (pdf ? dialog.pdfFile() : dialog.tableFile())->setText(dir.filePath(QStringLiteral("slips\u001b.out")));
    QSignalSpy done(&dialog, &BatchDialog::runFinished);
    QTest::mouseClick(dialog.runButton(), Qt::LeftButton);
    QVERIFY(!dialog.isRunning());
    QVERIFY(!done.wait(200));
    const QString said = dialog.status()->text();
    QVERIFY2(said.contains(QStringLiteral("محرف التحكم U+001B")), qPrintable(said));
    QVERIFY2(said.contains(pdf ? QStringLiteral("المطبوعة") : QStringLiteral("جدول")), qPrintable(said));
    QVERIFY(Names(QDir(dir.path())).isEmpty());
    QVERIFY(dialog.runButton()->isEnabled());
}

void BatchDialogTest::runWritesTheOutputsAndShowsRefusedRowsAndTotals()
{
    QTemporaryDir dir;
    BatchDialog dialog;
    dialog.show();
    dialog.setStaffFile(Example("staff-with-mistakes.csv"));
    dialog.tableOutput()->setChecked(true);
    dialog.tableFile()->setText(dir.filePath(QStringLiteral("slips.xlsx")));
    dialog.totalsOutput()->setChecked(true);
    QVERIFY(RunToTheEnd(dialog));
    QVERIFY(!dialog.isRunning());

    batch::Options options;
    options.input = Example("staff-with-mistakes.csv").toStdString();
    options.summary = true;
    const batch::Result expected = batch::Execute(options, {});
    QCOMPARE(dialog.lastResult().exitCode, batch::kExitSomeRefused);
    QVERIFY(QFile::exists(dir.filePath(QStringLiteral("slips.xlsx"))));
    // Every refused row in the list, with its line, column, text and its
    // message in Arabic (the English one is the command line's).
    QCOMPARE(dialog.refusedRows()->rowCount(), static_cast<int>(expected.refusals.size()));
    for (int row = 0; row < dialog.refusedRows()->rowCount(); ++row) {
        const batch::Refusal &r = expected.refusals[static_cast<std::size_t>(row)];
        QCOMPARE(dialog.refusedRows()->item(row, 0)->text(), QString::number(r.line));
        QCOMPARE(dialog.refusedRows()->item(row, 1)->text(), QString::fromStdString(r.column));
        QCOMPARE(dialog.refusedRows()->item(row, 2)->text(), QString::fromStdString(r.text));
        const QString message = dialog.refusedRows()->item(row, 3)->text();
        QVERIFY2(!r.arabic.empty(), r.message.c_str());
        QCOMPARE(message, QString::fromStdString(r.arabic));
        QVERIFY2(!message.contains(QString::fromStdString(r.message)), qPrintable(message));
    }
    // The category's refusal, worded as the window words it.
    QVERIFY(
        !dialog.refusedRows()->findItems(QStringLiteral("الصنف عدد صحيح من 1 إلى 17، لا '18'"), Qt::MatchExactly).isEmpty());
    // Every line's total, beside its title.
    QCOMPARE(dialog.totals()->rowCount(), static_cast<int>(batch::kTableLines.size()));
    for (std::size_t k = 0; k < batch::kTableLines.size(); ++k) {
        const int row = static_cast<int>(k);
        QCOMPARE(dialog.totals()->item(row, 1)->text(),
                 QString::fromStdString(std::string(paycalc::LineName(batch::kTableLines[k]))));
        QCOMPARE(dialog.totals()->item(row, 2)->text(), QString::fromStdString(expected.totals[k]));
    }
    const QString status = dialog.status()->text();
    QVERIFY2(status.contains(QString::number(expected.counts.computed)) &&
                 status.contains(QString::number(expected.counts.refused)),
             qPrintable(status));
}

namespace {
// A staff list of `rows` employees, each row a different situation from `seed`.
QString WriteLargeStaff(const QTemporaryDir &dir, const QString &name, int rows, int seed)
{
    const QString path = dir.filePath(name);
    std::ofstream out(path.toStdString());
    out << "name;category;echelon;children\n";
    for (int i = 0; i < rows; ++i)
        out << "E" << seed << '-' << i << ';' << 1 + (i + seed) % 17 << ';' << (i + seed) % 13 << ';' << (i + seed) % 5
            << '\n';
    return path;
}

QPushButton *Button(const BatchDialog &dialog, const char *name)
{
    return dialog.findChild<QPushButton *>(QLatin1String(name));
}

QByteArray Contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
} // namespace

void BatchDialogTest::cancelLeavesNoFile()
{
    QTemporaryDir dir;
    // Enough rows that the run is still going when the cancel comes.
    const QString staff = dir.filePath(QStringLiteral("staff.csv"));
    {
        std::ofstream out(staff.toStdString());
        out << "name;category;echelon;zone\n";
        for (int i = 0; i < 300000; ++i)
            out << "E" << i << ';' << 1 + i % 17 << ';' << i % 13 << ';' << i % 3000 << ".50\n";
    }
    BatchDialog dialog;
    dialog.show();
    dialog.setStaffFile(staff);
    dialog.tableOutput()->setChecked(true);
    dialog.tableFile()->setText(dir.filePath(QStringLiteral("slips.csv")));
    QSignalSpy done(&dialog, &BatchDialog::runFinished);
    QTest::mouseClick(dialog.runButton(), Qt::LeftButton);
    QVERIFY(dialog.isRunning());
    QVERIFY(dialog.cancelButton()->isEnabled());
    QTest::mouseClick(dialog.cancelButton(), Qt::LeftButton);
    QVERIFY(done.wait(60000));
    QVERIFY(dialog.lastResult().cancelled);
    QCOMPARE(Names(QDir(dir.path())), QStringList{QStringLiteral("staff.csv")});
    QVERIFY(dialog.status()->text().contains(QStringLiteral("لم يكتب أي ملف")));
    QVERIFY(dialog.runButton()->isEnabled());
    // A cancelled run unlocks the choices too.
    QVERIFY(Button(dialog, "ChooseStaffFile")->isEnabled());
    QVERIFY(dialog.staffFile()->isEnabled());
    QVERIFY(dialog.tableFile()->isEnabled());
}

void BatchDialogTest::choicesLockedWhileRunning()
{
    QTemporaryDir dir;
    const QString staff = WriteLargeStaff(dir, QStringLiteral("staff.csv"), 60000, 0);
    const QString other = WriteLargeStaff(dir, QStringLiteral("other.csv"), 7, 3);
    BatchDialog dialog;
    dialog.show();
    dialog.setStaffFile(staff);
    dialog.tableOutput()->setChecked(true);
    dialog.tableFile()->setText(dir.filePath(QStringLiteral("slips.csv")));
    dialog.pdfOutput()->setChecked(false);
    QVERIFY(Button(dialog, "ChooseStaffFile")->isEnabled());
    QVERIFY(dialog.tableFile()->isEnabled());

    QSignalSpy done(&dialog, &BatchDialog::runFinished);
    QTest::mouseClick(dialog.runButton(), Qt::LeftButton);
    QVERIFY(dialog.isRunning());
    // Every choice is locked for the run; only the cancel stays usable.
    // clang-format off
    const QList<QWidget *> locked{dialog.staffFile(),   Button(dialog, "ChooseStaffFile"), dialog.tableOutput(),
                                  dialog.tableFile(),   Button(dialog, "ChooseTableFile"), dialog.pdfOutput(),
                                  dialog.pdfFile(),     Button(dialog, "ChoosePdfFile"),   dialog.totalsOutput(),
                                  dialog.asTyped(),     dialog.runButton()};
    // clang-format on
    for (QWidget *w : locked) QVERIFY2(!w->isEnabled(), qPrintable(w->objectName()));
    QVERIFY(dialog.cancelButton()->isEnabled());

    // Trying to choose another staff file: the button does nothing (should a
    // file dialog open all the same, it is closed unanswered), and the file
    // the browsing would set is refused while the run works.
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [] {
        if (auto *box = QApplication::activeModalWidget()) box->close();
    });
    answer.start(50);
    Button(dialog, "ChooseStaffFile")->click();
    dialog.setStaffFile(other);
    QVERIFY(dialog.isRunning());
    QCOMPARE(dialog.staffFile()->text(), staff);

    QVERIFY(done.wait(120000));
    // The run read the file it started on, whole: the same counts and the
    // same table as a run of that file alone.
    batch::Options options;
    options.input = staff.toStdString();
    options.out = dir.filePath(QStringLiteral("expected.csv")).toStdString();
    const batch::Result expected = batch::Execute(options, {});
    QCOMPARE(dialog.lastResult().exitCode, expected.exitCode);
    QCOMPARE(dialog.lastResult().counts.read, std::uint64_t{60000});
    QCOMPARE(dialog.lastResult().counts.computed, expected.counts.computed);
    QVERIFY(expected.counts.computed > 50000);
    const QByteArray table = Contents(dir.filePath(QStringLiteral("slips.csv")));
    QVERIFY(!table.isEmpty());
    QVERIFY(table == Contents(dir.filePath(QStringLiteral("expected.csv"))));

    // Unlocked again after the run, as they were.
    for (QWidget *w : QList<QWidget *>{dialog.staffFile(), Button(dialog, "ChooseStaffFile"), dialog.tableOutput(),
                                       dialog.tableFile(), Button(dialog, "ChooseTableFile"), dialog.pdfOutput(),
                                       dialog.totalsOutput(), dialog.asTyped(), dialog.runButton()})
        QVERIFY2(w->isEnabled(), qPrintable(w->objectName()));
    QVERIFY(!dialog.pdfFile()->isEnabled()); // the PDF is not chosen
    QVERIFY(!dialog.cancelButton()->isEnabled());
}

void BatchDialogTest::rightToLeftAndReachableByKeyboard()
{
    BatchDialog dialog;
    dialog.setStaffFile(Example("staff.csv"));
    dialog.tableOutput()->setChecked(true);
    dialog.pdfOutput()->setChecked(true);
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QCOMPARE(dialog.layoutDirection(), Qt::RightToLeft);
    // Tab reaches every control a user needs.
    QList<QWidget *> wanted{dialog.staffFile(), dialog.tableOutput(), dialog.tableFile(),
                            dialog.pdfOutput(), dialog.pdfFile(),     dialog.totalsOutput(),
                            dialog.asTyped(),   dialog.runButton(),   dialog.refusedRows()};
    dialog.staffFile()->setFocus();
    QSet<QWidget *> reached;
    for (int i = 0; i < 40; ++i) {
        reached.insert(QApplication::focusWidget());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    for (QWidget *w : wanted) QVERIFY2(reached.contains(w), qPrintable(w->objectName()));
    // The labelled file field is reached by its label's buddy.
    QVERIFY(!dialog.staffFile()->accessibleName().isEmpty());
}

void BatchDialogTest::openedFromTheMainWindow()
{
    Form1 form;
    form.show();
    QVERIFY(form.batchAction()->text().contains(QStringLiteral("كشوف مجمعة…")));
    form.batchAction()->trigger();
    auto *dialog = form.findChild<BatchDialog *>();
    QVERIFY(dialog);
    QVERIFY(dialog->isVisible());
    form.batchAction()->trigger(); // raised again, not a second one
    QCOMPARE(form.findChildren<BatchDialog *>().size(), 1);
}

void BatchDialogTest::screenshot()
{
    BatchDialog dialog;
    dialog.resize(860, 900); // room for most of the refused rows
    dialog.show();
    dialog.setStaffFile(Example("staff-with-mistakes.csv"));
    QTemporaryDir dir;
    dialog.tableOutput()->setChecked(true);
    dialog.tableFile()->setText(dir.filePath(QStringLiteral("slips.csv")));
    QVERIFY(RunToTheEnd(dialog));
    QVERIFY(dialog.grab().toImage().save(OutputPath(QStringLiteral("batch-dialog.png"))));
}

QTEST_MAIN(BatchDialogTest)
#include "tst_batch_dialog.moc"
