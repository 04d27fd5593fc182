// The slip leaving the window: the four buttons below the picture, their
// actions and shortcuts, the context menu, the copy to the clipboard, the
// PDF file, the printout and its preview, and none of them while the slip
// is incomplete.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QFileDialog>
#include <QFrame>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolTip>

#include <csignal>
#include <sys/resource.h>

#include "form1_test_support.h"
#include "paycalc/fields.h"
#include "report/slip_report.h"
#include "window/arabic_application.h"
#include "window/form1.h"
#include "window/slip_actions.h"
#include "window/window_fonts.h"

using paycalc::Field;

namespace {

QString Utf8(const std::string &text) { return QString::fromStdString(text); }

// The free corner of the left-hand column, below the message of a stopped
// recalculation, in pixels (twips 240..4335 × 7350..8400).
const QRect kFreeCorner(240 / 15, 7350 / 15, (4335 - 240) / 15, (8400 - 7350) / 15);

QRect RectInWindow(const QWidget &form, const QWidget &widget)
{
    return {widget.mapTo(&form, QPoint(0, 0)), widget.size()};
}

bool IsWithin(const QWidget *widget, const QWidget *ancestor)
{
    for (const QWidget *w = widget; w; w = w->parentWidget())
        if (w == ancestor) return true;
    return false;
}

// The visible controls of the window that overlap `widget`, other than its
// own parents and the controls inside it.
QStringList Overlapping(const Form1 &form, const QWidget *widget)
{
    QStringList names;
    const QRect rect = RectInWindow(form, *widget);
    for (const QWidget *other : form.findChildren<QWidget *>()) {
        if (!other->isVisible() || other->isWindow()) continue;
        if (IsWithin(widget, other) || IsWithin(other, widget)) continue;
        if (RectInWindow(form, *other).intersects(rect)) names << other->objectName();
    }
    return names;
}

QString Digits400() { return QString(400, QLatin1Char('9')); }

// The text of a PDF as pdftotext reads it, with the shaped forms of the
// Arabic letters folded back and the direction marks taken out.
QString PdfText(const QString &pdf)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf, QStringLiteral("-")});
    if (!p.waitForFinished(30000) || p.exitCode() != 0) return {};
    QString text = QString::fromUtf8(p.readAllStandardOutput()).normalized(QString::NormalizationForm_KC);
    text.remove(QRegularExpression(QStringLiteral("[\\x{200E}\\x{200F}\\x{202A}-\\x{202E}\\x{2066}-\\x{2069}]")));
    return text;
}

QString OutputPath(const QString &name) { return QDir(QStringLiteral(PAYSLIP_TEST_OUTPUT_DIR)).filePath(name); }

void ShowActive(Form1 &form)
{
    form.show();
    QApplication::setActiveWindow(&form);
    QVERIFY(QTest::qWaitForWindowActive(&form));
}

QList<QAction *> Actions(const Form1 &form)
{
    return {form.printAction(), form.previewAction(), form.pdfAction(),
            form.copyAction(),  form.compareAction(), form.batchAction()};
}

} // namespace

class Form1SlipActionsTest : public QObject {
    Q_OBJECT

private slots:
    void init() { QGuiApplication::clipboard()->clear(); }

    void buttonsSitInTheFreeCorner();
    void buttonsHaveNamesTooltipsAndTheWindowsLook();
    void windowKeepsItsSizeAndTabOrder();
    void actionsHaveTheirShortcuts();
    void copySlipPutsEveryLineOnTheClipboard();
    void copyShortcutCopiesTheSlip();
    void ctrlCInATypedFieldCopiesItsSelection();
    void buttonsTriggerTheirActions();
    void savePdfWritesOnlyTheNamedFile();
    void savePdfIntoAMissingFolderFails();
    void savePdfFailureKeepsThePreviousFile();
    void frenchLabelsAreARememberedSetting();
    void pdfDialogWritesTheFileChosen();
    void pdfDialogWarnsWhenTheFileCannotBeWritten();
    void printSlipOnAPdfPrinter();
    void previewShowsTheSlip();
    void incompleteSlipDoesNotLeaveTheWindow();
    void contextMenuOnBackgroundAndDisplayFields();
    void typedFieldsKeepTheirEditMenu();
    void screenshots();
};

void Form1SlipActionsTest::buttonsSitInTheFreeCorner()
{
    Form1 form;
    ShowActive(form);
    const QList<QPushButton *> buttons = form.slipButtons();
    QCOMPARE(buttons.size(), 6);
    for (bool stopped : {false, true}) {
        // With the message of a stopped recalculation in view too.
        if (stopped) form.text(Field::Text10)->setText(Digits400());
        QCOMPARE(form.messageLabel()->isVisible(), stopped);
        for (QPushButton *button : buttons) {
            const QRect rect = RectInWindow(form, *button);
            QVERIFY2(button->isVisible(), qPrintable(button->objectName()));
            QVERIFY2(kFreeCorner.contains(rect), qPrintable(button->objectName()));
            QVERIFY2(form.rect().contains(rect), qPrintable(button->objectName()));
            QCOMPARE(Overlapping(form, button), QStringList());
            QVERIFY(rect.width() >= 80 && rect.height() >= 25);
        }
        // The panel that holds them overlaps nothing else either.
        QWidget *panel = buttons.front()->parentWidget();
        QVERIFY(panel != &form);
        QVERIFY(kFreeCorner.contains(RectInWindow(form, *panel)));
        QCOMPARE(Overlapping(form, panel), QStringList());
    }
    // Read from the right: print, preview, PDF; then copy, compare, batch.
    QVERIFY(buttons[0]->x() > buttons[1]->x() && buttons[1]->x() > buttons[2]->x());
    QVERIFY(buttons[3]->x() > buttons[4]->x() && buttons[4]->x() > buttons[5]->x());
    QVERIFY(buttons[0]->y() < buttons[3]->y());
}

void Form1SlipActionsTest::buttonsHaveNamesTooltipsAndTheWindowsLook()
{
    Form1 form;
    QSet<QString> names;
    const QList<QAction *> actions = Actions(form);
    for (qsizetype i = 0; i < actions.size(); ++i) {
        QPushButton *button = form.slipButtons()[i];
        QVERIFY2(!button->accessibleName().isEmpty(), qPrintable(button->objectName()));
        names << button->accessibleName();
        const QString shortcut = actions[i]->shortcut().toString(QKeySequence::NativeText);
        QVERIFY2(button->toolTip().contains(shortcut), qPrintable(button->toolTip()));
        QVERIFY(button->toolTip().contains(button->accessibleName()));
        QCOMPARE(button->font().family(), paywindow::WindowFont().family());
        QVERIFY(button->font().bold());
        QVERIFY(button->font().pointSizeF() <= paywindow::WindowFont().pointSizeF());
        QCOMPARE(button->layoutDirection(), Qt::RightToLeft);
        QVERIFY(button->isEnabled());
    }
    QCOMPARE(names.size(), 6);
    QCOMPARE(form.slipButtons()[0]->text(), QStringLiteral("طباعة"));
    QCOMPARE(form.slipButtons()[1]->text(), QStringLiteral("معاينة"));
    QCOMPARE(form.slipButtons()[2]->text(), QStringLiteral("حفظ PDF"));
    QCOMPARE(form.slipButtons()[3]->text(), QStringLiteral("نسخ الكشف"));
    QCOMPARE(form.slipButtons()[4]->text(), QStringLiteral("مقارنة"));
    QCOMPARE(form.slipButtons()[5]->text(), QStringLiteral("كشوف مجمعة"));
    // The panel in the colour of the links-and-credits group.
    const QWidget *panel = form.slipButtons().front()->parentWidget();
    QCOMPARE(panel->palette().color(QPalette::Window), QColor(192, 192, 255));
    QVERIFY(panel->autoFillBackground());
}

void Form1SlipActionsTest::windowKeepsItsSizeAndTabOrder()
{
    Form1 form;
    QCOMPARE(form.size(), QSize(1072, 565));
    QCOMPARE(form.minimumSize(), form.maximumSize());
    // The buttons are reached by their shortcuts, not by Tab, whose order
    // ends with the two link buttons.
    for (QPushButton *button : form.slipButtons()) QCOMPARE(button->focusPolicy(), Qt::NoFocus);
}

void Form1SlipActionsTest::actionsHaveTheirShortcuts()
{
    Form1 form;
    QCOMPARE(form.printAction()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_P));
    QCOMPARE(form.previewAction()->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P));
    QCOMPARE(form.pdfAction()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
    QCOMPARE(form.copyAction()->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
    for (QAction *action : Actions(form)) {
        QCOMPARE(action->shortcutContext(), Qt::WindowShortcut);
        QVERIFY(form.actions().contains(action));
        QVERIFY(action->isEnabled());
        QVERIFY(!action->text().isEmpty());
    }
}

void Form1SlipActionsTest::copySlipPutsEveryLineOnTheClipboard()
{
    Form1 form;
    form.text(Field::Text20)->setText(QStringLiteral("2"));
    QVERIFY(form.copySlip());
    const QString copied = QGuiApplication::clipboard()->text();
    QCOMPARE(copied, report::SlipText(form.slip()));
    // Tab-separated rows of five cells (label, base, rate, earnings,
    // deductions), a paste into a spreadsheet gives columns.
    QMap<QString, QStringList> rows;
    for (const QString &line : copied.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QStringList cells = line.split(QLatin1Char('\t'));
        QCOMPARE(cells.size(), 5);
        rows[cells[0]] = cells;
    }
    // Each computed line in its row: earnings in the fourth cell, deductions
    // in the fifth, subtotals in the second.
    const struct {
        Field field;
        int cell;
    } expected[] = {{Field::Text1, 3},  {Field::Text2, 3},  {Field::Text3, 1},  {Field::Text4, 3},  {Field::Text5, 3},
                    {Field::Text6, 3},  {Field::Text7, 3},  {Field::Text8, 3},  {Field::Text9, 3},  {Field::Text12, 1},
                    {Field::Text13, 4}, {Field::Text15, 4}, {Field::Text16, 4}, {Field::Text17, 3}, {Field::Text18, 3},
                    {Field::Text19, 4}, {Field::Text21, 3}, {Field::Text22, 3}};
    for (const auto &line : expected) {
        const QString title = Utf8(paycalc::FieldTitle(line.field));
        QVERIFY2(rows.contains(title), qPrintable(title));
        QCOMPARE(rows[title].value(line.cell), form.text(line.field)->text());
    }
    QCOMPARE(rows.value(QStringLiteral("مجموع المستحقات")).value(3),
             QString::fromStdString(form.slip().Totals().earnings));
    QCOMPARE(rows.value(QStringLiteral("مجموع الاقتطاعات")).value(4),
             QString::fromStdString(form.slip().Totals().deductions));
    QVERIFY(!copied.contains(QStringLiteral("43432.12"))); // two days of absence change the net pay
}

void Form1SlipActionsTest::copyShortcutCopiesTheSlip()
{
    Form1 form;
    ShowActive(form);
    QTest::keyClick(&form, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), report::SlipText(form.slip()));
    QVERIFY(QGuiApplication::clipboard()->text().contains(QStringLiteral("43432.12")));

    // From inside a typed field too.
    QGuiApplication::clipboard()->clear();
    QLineEdit *zone = form.text(Field::Text10);
    zone->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), zone);
    QTest::keyClick(zone, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), report::SlipText(form.slip()));
    QCOMPARE(zone->text(), QStringLiteral("0")); // nothing typed

    // And from a list, whose keys pick entries.
    QGuiApplication::clipboard()->clear();
    QComboBox *category = form.combo(paycalc::kCategoryList);
    category->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), category);
    QTest::keyClick(category, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), report::SlipText(form.slip()));
    QCOMPARE(category->currentText(), QStringLiteral("11"));
}

void Form1SlipActionsTest::ctrlCInATypedFieldCopiesItsSelection()
{
    Form1 form;
    ShowActive(form);
    QLineEdit *zone = form.text(Field::Text10);
    zone->setText(QStringLiteral("1234.5"));
    zone->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), zone);
    zone->setSelection(1, 3);
    QCOMPARE(zone->selectedText(), QStringLiteral("234"));
    QTest::keyClick(zone, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("234"));
    QCOMPARE(zone->text(), QStringLiteral("1234.5"));
}

void Form1SlipActionsTest::buttonsTriggerTheirActions()
{
    Form1 form;
    const QList<QAction *> actions = Actions(form);
    for (qsizetype i = 0; i < actions.size(); ++i) {
        int triggered = 0;
        // Counted first, before the action opens its dialog: the dialogs
        // are kept out of this test by disconnecting them.
        QObject::disconnect(actions[i], &QAction::triggered, nullptr, nullptr);
        QObject::connect(actions[i], &QAction::triggered, &form, [&triggered] { ++triggered; });
        QTest::mouseClick(form.slipButtons()[i], Qt::LeftButton);
        QVERIFY2(triggered == 1, qPrintable(form.slipButtons()[i]->objectName()));
    }
}

void Form1SlipActionsTest::savePdfWritesOnlyTheNamedFile()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    Form1 form;
    const QString name = QStringLiteral("كشف-الراتب.pdf");
    QVERIFY(form.savePdf(dir.filePath(name)));
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
             QStringList{name});
    const QString text = PdfText(dir.filePath(name));
    QVERIFY2(!text.isEmpty(), "pdftotext read nothing");
    QVERIFY(text.contains(QStringLiteral("43432.12")));
    QVERIFY(text.contains(QStringLiteral("الراتب الصافي")));
    for (Field f : paycalc::kSlipLines)
        if (!paycalc::IsTypedField(f))
            QVERIFY2(text.contains(form.text(f)->text()), qPrintable(form.text(f)->objectName()));
}

void Form1SlipActionsTest::savePdfIntoAMissingFolderFails()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    Form1 form;
    QVERIFY(!form.savePdf(dir.filePath(QStringLiteral("missing/slip.pdf"))));
    QVERIFY(QDir(dir.path()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot));
}

// The French labels: a setting the window remembers (the print dialog's
// box changes it), used by the PDF and the printer alike.
void Form1SlipActionsTest::frenchLabelsAreARememberedSetting()
{
    QStandardPaths::setTestModeEnabled(true); // not the user's own settings
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    Form1 form;
    const bool before = paywindow::SlipActions::bilingual();
    paywindow::SlipActions::setBilingual(true);
    QVERIFY(paywindow::SlipActions::bilingual());
    QVERIFY(form.savePdf(dir.filePath(QStringLiteral("fr.pdf"))));
    paywindow::SlipActions::setBilingual(false);
    QVERIFY(form.savePdf(dir.filePath(QStringLiteral("ar.pdf"))));
    paywindow::SlipActions::setBilingual(before);
    QVERIFY(PdfText(dir.filePath(QStringLiteral("fr.pdf"))).contains(QStringLiteral("Net à payer")));
    QVERIFY(!PdfText(dir.filePath(QStringLiteral("ar.pdf"))).contains(QStringLiteral("Net à payer")));
}

// A write that fails part way (the process's file-size limit, as a full
// disk would) is a failure, and the file that was there keeps its bytes.
void Form1SlipActionsTest::savePdfFailureKeepsThePreviousFile()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("slip.pdf"));
    Form1 form;
    QVERIFY(form.savePdf(path));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();

    form.text(Field::Text20)->setText(QStringLiteral("3"));
    rlimit saved{};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 4096;
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool saved4k = form.savePdf(path);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    QVERIFY(!saved4k);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), before);
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
             QStringList{QStringLiteral("slip.pdf")});
}

// The action's own path: the file dialog proposes a name, the user picks a
// file, and that file is written.
void Form1SlipActionsTest::pdfDialogWritesTheFileChosen()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString chosen = dir.filePath(QStringLiteral("chosen.pdf"));
    Form1 form;
    ShowActive(form);
    QString proposed;
    bool answered = false;
    QTimer::singleShot(0, &form, [&] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (!dialog) return;
        proposed = dialog->selectedFiles().value(0);
        dialog->selectFile(chosen);
        static_cast<QDialog *>(dialog)->accept(); // as the Save button does
        answered = true;
    });
    QTest::keyClick(&form, Qt::Key_S, Qt::ControlModifier);
    QVERIFY(answered);
    QVERIFY2(proposed.endsWith(QStringLiteral("كشف-الراتب.pdf")), qPrintable(proposed));
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{QStringLiteral("chosen.pdf")});
    QVERIFY(PdfText(chosen).contains(QStringLiteral("43432.12")));
}

void Form1SlipActionsTest::pdfDialogWarnsWhenTheFileCannotBeWritten()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString chosen = dir.filePath(QStringLiteral("missing/slip.pdf"));
    Form1 form;
    ShowActive(form);
    QString warning;
    Qt::LayoutDirection direction = Qt::LeftToRight;
    QTimer::singleShot(0, &form, [&] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (!dialog) return;
        // The warning comes once the file dialog is answered.
        QTimer::singleShot(0, &form, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box) return;
            warning = box->text();
            direction = box->layoutDirection();
            QVERIFY(box->grab().toImage().save(OutputPath(QStringLiteral("pdf-warning.png"))));
            box->accept();
        });
        dialog->selectFile(chosen);
        static_cast<QDialog *>(dialog)->accept();
    });
    form.pdfAction()->trigger();
    QVERIFY2(warning.contains(QStringLiteral("تعذر حفظ الكشف")), qPrintable(warning));
    QVERIFY(warning.contains(QDir::toNativeSeparators(chosen)));
    QCOMPARE(direction, Qt::RightToLeft);
    QVERIFY(QDir(dir.path()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
}

void Form1SlipActionsTest::printSlipOnAPdfPrinter()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("printed.pdf"));
    Form1 form;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    QVERIFY(form.printSlip(printer));
    QCOMPARE(printer.pageLayout().pageSize().id(), QPageSize::A4);
    QCOMPARE(printer.pageLayout().orientation(), QPageLayout::Portrait);
    const QString text = PdfText(file);
    QVERIFY(text.contains(QStringLiteral("43432.12")));
    QVERIFY(text.contains(QStringLiteral("كشف الراتب جانفي 2016")));
}

void Form1SlipActionsTest::previewShowsTheSlip()
{
    Form1 form;
    ShowActive(form);
    int pages = -1;
    QString title;
    QTimer::singleShot(0, &form, [&] {
        auto *dialog = qobject_cast<QPrintPreviewDialog *>(QApplication::activeModalWidget());
        if (!dialog) return;
        title = dialog->windowTitle();
        if (auto *preview = dialog->findChild<QPrintPreviewWidget *>()) pages = preview->pageCount();
        dialog->reject();
    });
    QTest::keyClick(&form, Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(pages, 1);
    QVERIFY(!title.isEmpty());
}

void Form1SlipActionsTest::incompleteSlipDoesNotLeaveTheWindow()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    Form1 form;
    ShowActive(form);
    form.text(Field::Text10)->setText(Digits400());
    QVERIFY(form.messageLabel()->isVisible());

    // The slip's own actions wait for a complete slip; comparing and the
    // batch stay available.
    const QList<QAction *> actions = Actions(form);
    for (qsizetype i = 0; i < actions.size(); ++i) {
        const bool slipAction = i < 4;
        QVERIFY2(actions[i]->isEnabled() != slipAction, qPrintable(actions[i]->text()));
        QVERIFY2(form.slipButtons()[i]->isEnabled() != slipAction, qPrintable(form.slipButtons()[i]->objectName()));
    }
    QVERIFY(!form.copySlip());
    QTest::keyClick(&form, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    QVERIFY(QGuiApplication::clipboard()->text().isEmpty());
    QVERIFY(!form.savePdf(dir.filePath(QStringLiteral("slip.pdf"))));
    QTest::keyClick(&form, Qt::Key_S, Qt::ControlModifier); // no dialog opens: the test would wait on it
    QVERIFY(QDir(dir.path()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath(QStringLiteral("printed.pdf")));
    QVERIFY(!form.printSlip(printer));
    QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("printed.pdf"))));

    // Corrected, everything is available again.
    form.text(Field::Text10)->setText(QStringLiteral("100"));
    QVERIFY(form.messageLabel()->isHidden());
    for (QAction *action : Actions(form)) QVERIFY2(action->isEnabled(), qPrintable(action->text()));
    for (QPushButton *button : form.slipButtons()) QVERIFY2(button->isEnabled(), qPrintable(button->objectName()));
    QVERIFY(form.copySlip());
    QCOMPARE(QGuiApplication::clipboard()->text(), report::SlipText(form.slip()));
}

void Form1SlipActionsTest::contextMenuOnBackgroundAndDisplayFields()
{
    Form1 form;
    ShowActive(form);
    // A display field has a menu of its own, which copies its amount before
    // the same actions.
    QWidget *const targets[] = {&form, form.text(Field::Text21), form.text(Field::Text1),
                                form.findChild<QLabel *>(QStringLiteral("Label26")),
                                form.findChild<QWidget *>(QStringLiteral("Image2"))};
    for (QWidget *target : targets) {
        QVERIFY(target);
        const QPoint at = target->rect().center();
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, target->mapToGlobal(at));
        QCoreApplication::sendEvent(target, &event);
        QMenu *menu = nullptr;
        QTRY_VERIFY((menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())) != nullptr);
        const bool field = qobject_cast<QLineEdit *>(target) != nullptr;
        QCOMPARE(menu->objectName(), field ? QStringLiteral("FieldMenu") : QStringLiteral("SlipMenu"));
        QList<QAction *> entries = menu->actions();
        entries.removeIf([](QAction *a) { return a->isSeparator(); });
        if (field) QVERIFY(entries.takeFirst()->text().contains(QStringLiteral("نسخ")));
        QCOMPARE(entries, Actions(form));
        QCOMPARE(menu->layoutDirection(), Qt::RightToLeft);
        menu->close();
        QTRY_VERIFY(!QApplication::activePopupWidget());
    }
}

void Form1SlipActionsTest::typedFieldsKeepTheirEditMenu()
{
    Form1 form;
    ShowActive(form);
    QLineEdit *zone = form.text(Field::Text10);
    const QPoint at = zone->rect().center();
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, zone->mapToGlobal(at));
    QCoreApplication::sendEvent(zone, &event);
    QMenu *menu = nullptr;
    QTRY_VERIFY((menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())) != nullptr);
    QVERIFY(menu->objectName() != QStringLiteral("SlipMenu"));
    QVERIFY(!menu->actions().contains(form.copyAction()));
    menu->close();
    QTRY_VERIFY(!QApplication::activePopupWidget());
}

// The window with its buttons, in the state of a stopped recalculation, its
// menu, a button's tooltip and the print preview, as the program shows them
// (in Arabic, right to left), saved next to the test for anyone to look at.
// Last, since it changes the language of the whole test program.
void Form1SlipActionsTest::screenshots()
{
    paywindow::SpeakArabic(*QCoreApplication::instance());
    QCOMPARE(QGuiApplication::layoutDirection(), Qt::RightToLeft);
    if (QFileInfo::exists(
            QDir(QLibraryInfo::path(QLibraryInfo::TranslationsPath)).filePath(QStringLiteral("qtbase_ar.qm"))))
        QVERIFY(QCoreApplication::translate("QPrintPreviewDialog", "Print Preview") != QStringLiteral("Print Preview"));

    Form1 form;
    ShowActive(form);
    QImage shot = form.grab().toImage();
    QCOMPARE(shot.size(), QSize(1072, 565));
    QVERIFY(shot.save(OutputPath(QStringLiteral("form1-actions.png"))));

    form.text(Field::Text10)->setText(Digits400());
    shot = form.grab().toImage();
    QVERIFY(shot.save(OutputPath(QStringLiteral("form1-actions-stopped.png"))));

    form.text(Field::Text10)->setText(QStringLiteral("0"));
    const QPoint at(kFreeCorner.center().x(), 200);
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, form.mapToGlobal(at));
    QCoreApplication::sendEvent(&form, &event);
    QMenu *menu = nullptr;
    QTRY_VERIFY((menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())) != nullptr);
    QVERIFY(menu->grab().toImage().save(OutputPath(QStringLiteral("form1-menu.png"))));
    menu->close();

    QPushButton *print = form.slipButtons().front();
    QToolTip::showText(print->mapToGlobal(print->rect().center()), print->toolTip(), print);
    QWidget *tip = nullptr;
    QTRY_VERIFY((tip = [] {
                    for (QWidget *w : QApplication::topLevelWidgets())
                        if (w->objectName() == QStringLiteral("qtooltip_label") && w->isVisible()) return w;
                    return static_cast<QWidget *>(nullptr);
                }()) != nullptr);
    QVERIFY(tip->grab().toImage().save(OutputPath(QStringLiteral("print-button-tooltip.png"))));
    QToolTip::hideText();

    bool previewed = false;
    QTimer::singleShot(0, &form, [&] {
        auto *dialog = qobject_cast<QPrintPreviewDialog *>(QApplication::activeModalWidget());
        if (!dialog) return;
        dialog->resize(800, 600);
        previewed = dialog->grab().toImage().save(OutputPath(QStringLiteral("print-preview.png")));
        dialog->reject();
    });
    form.previewAction()->trigger();
    QVERIFY(previewed);
}

QTEST_MAIN(Form1SlipActionsTest)
#include "tst_form1_slip_actions.moc"
