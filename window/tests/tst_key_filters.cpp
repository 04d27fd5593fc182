// The keystroke filters, typing and pasting into the typed fields, the list
// key handler, and the display fields that take no input.
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QTest>

#include <memory>

#include "form1_test_support.h"
#include "paycalc/fields.h"
#include "window/filtered_line_edit.h"
#include "window/form1.h"

using paycalc::Field;
using form1test::SelectAll;
using form1test::TypeText;

Q_DECLARE_METATYPE(paycalc::Field)

class KeyFiltersTest : public QObject {
    Q_OBJECT

private slots:
    void filterCodes_data();
    void filterCodes();
    void typing_data();
    void typing();
    void editingKeysKeepWorking();
    void shortcutsKeepWorking();
    void paste_data();
    void paste();
    void drop_data();
    void drop();
    void acceptedPasteRecalculatesOnce();
    void listsDiscardTypedCharacters_data();
    void listsDiscardTypedCharacters();
    void listsStillPickWithArrowKeys();
    void openListHasNoTypeAheadSearch();
    void displayFieldsTakeNoInput();
};

void KeyFiltersTest::filterCodes_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("amount"); // gWriteOnleNumber
    QTest::addColumn<int>("whole");  // gWriteOnleNumber1

    QTest::newRow("0 (48)") << 48 << 48 << 48;
    QTest::newRow("5 (53)") << 53 << 53 << 53;
    QTest::newRow("9 (57)") << 57 << 57 << 57;
    QTest::newRow("backspace (8)") << 8 << 8 << 8;
    QTest::newRow("point (46)") << 46 << 46 << 0;
    QTest::newRow("slash (47)") << 47 << 0 << 0;
    QTest::newRow("colon (58)") << 58 << 0 << 0;
    QTest::newRow("minus (45)") << 45 << 0 << 0;
    QTest::newRow("plus (43)") << 43 << 0 << 0;
    QTest::newRow("comma (44)") << 44 << 0 << 0;
    QTest::newRow("blank (32)") << 32 << 0 << 0;
    QTest::newRow("Enter (13)") << 13 << 0 << 0;
    QTest::newRow("Escape (27)") << 27 << 0 << 0;
    QTest::newRow("Ctrl+C (3)") << 3 << 0 << 0;
    QTest::newRow("Ctrl+V (22)") << 22 << 0 << 0;
    QTest::newRow("Ctrl+X (24)") << 24 << 0 << 0;
    QTest::newRow("A (65)") << 65 << 0 << 0;
    QTest::newRow("e (101)") << 101 << 0 << 0;
    QTest::newRow("E (69)") << 69 << 0 << 0;
    QTest::newRow("DEL (127)") << 127 << 0 << 0;
    QTest::newRow("128") << 128 << 0 << 0;
    QTest::newRow("alef (1575)") << 1575 << 0 << 0;
    QTest::newRow("Arabic-Indic five (1637)") << 1637 << 0 << 0;
    QTest::newRow("-1") << -1 << 0 << 0;
    QTest::newRow("-32768") << -32768 << 0 << 0;
    QTest::newRow("32767") << 32767 << 0 << 0;
}

void KeyFiltersTest::filterCodes()
{
    QFETCH(int, code);
    QFETCH(int, amount);
    QFETCH(int, whole);

    qint16 key = static_cast<qint16>(code);
    QCOMPARE(int(Form1::gWriteOnleNumber(key)), amount);
    QCOMPARE(int(key), code); // never changed
    QCOMPARE(int(Form1::gWriteOnleNumber1(key)), whole);
    QCOMPARE(int(key), code);
}

void KeyFiltersTest::typing_data()
{
    QTest::addColumn<Field>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("text"); // after Ctrl+A and the typing

    QTest::newRow("zone: digits and points") << Field::Text10 << QStringLiteral("1.2.3") << QStringLiteral("1.2.3");
    QTest::newRow("zone: no minus") << Field::Text10 << QStringLiteral("-5") << QStringLiteral("5");
    QTest::newRow("zone: no plus, comma, blank, letter")
        << Field::Text10 << QStringLiteral("+, e7") << QStringLiteral("7");
    QTest::newRow("zone: nothing typed") << Field::Text10 << QStringLiteral("-+a") << QStringLiteral("0");
    QTest::newRow("zone: other scripts") << Field::Text10 << QStringLiteral("٥۵ب") << QStringLiteral("0");
    QTest::newRow("housing") << Field::Text11 << QStringLiteral("12.50") << QStringLiteral("12.50");
    QTest::newRow("housing: no exponent") << Field::Text11 << QStringLiteral("1E3") << QStringLiteral("13");
    QTest::newRow("mark: no point") << Field::Text23 << QStringLiteral("3.5") << QStringLiteral("35");
    QTest::newRow("mark: no minus") << Field::Text23 << QStringLiteral("-20") << QStringLiteral("20");
    QTest::newRow("absence: point") << Field::Text20 << QStringLiteral("2.5") << QStringLiteral("2.5");
    QTest::newRow("absence: no letters") << Field::Text20 << QStringLiteral("abc7") << QStringLiteral("7");
}

void KeyFiltersTest::typing()
{
    QFETCH(Field, field);
    QFETCH(QString, typed);
    QFETCH(QString, text);

    Form1 form;
    QLineEdit *box = form.text(field);
    box->setText(QStringLiteral("0"));
    SelectAll(box);
    TypeText(box, typed);
    QCOMPARE(box->text(), text);
}

void KeyFiltersTest::editingKeysKeepWorking()
{
    Form1 form;
    QLineEdit *box = form.text(Field::Text10);
    box->setText(QStringLiteral("1234"));
    box->end(false);
    QTest::keyClick(box, Qt::Key_Left);
    QTest::keyClick(box, Qt::Key_Backspace);
    QCOMPARE(box->text(), QStringLiteral("124"));
    QTest::keyClick(box, Qt::Key_Home);
    QTest::keyClick(box, Qt::Key_Delete);
    QCOMPARE(box->text(), QStringLiteral("24"));
    QTest::keyClick(box, Qt::Key_Return);
    QTest::keyClick(box, Qt::Key_Escape);
    QCOMPARE(box->text(), QStringLiteral("24"));
}

void KeyFiltersTest::shortcutsKeepWorking()
{
    Form1 form;
    QLineEdit *box = form.text(Field::Text11);
    box->setText(QStringLiteral("250"));
    SelectAll(box);
    QCOMPARE(box->selectedText(), QStringLiteral("250"));
    QTest::keyClick(box, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("250"));
    QTest::keyClick(box, Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(box->text(), QString());
    QTest::keyClick(box, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(box->text(), QStringLiteral("250"));
}

namespace {

enum class PasteBy { CtrlV, ShiftInsert, ContextMenu };

} // namespace

Q_DECLARE_METATYPE(PasteBy)

void KeyFiltersTest::paste_data()
{
    QTest::addColumn<Field>("field");
    QTest::addColumn<PasteBy>("by");
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<bool>("accepted");

    const struct {
        const char *name;
        Field field;
        const char *clipboard;
        bool accepted;
    } cases[] = {
        {"zone: amount", Field::Text10, "1250.75", true},
        {"zone: letter inside", Field::Text10, "12a5", false},
        {"zone: negative", Field::Text10, "-300", false},
        {"zone: exponent", Field::Text10, "1E400", false},
        {"zone: blank", Field::Text10, "1 000", false},
        {"zone: line break", Field::Text10, "12\n3", false},
        // The control-character rule shared with the staff lists and the
        // command line: a pasted backspace passes the filter, not the rule.
        {"zone: backspace inside", Field::Text10, "12\b3", false},
        {"mark: backspace at start", Field::Text23, "\b35", false},
        {"zone: tab at end", Field::Text10, "12\t", false},
        {"zone: escape", Field::Text10,
         "\x1b"
         "12",
         false},
        {"absence: delete", Field::Text20, "2\x7f", false},
        {"zone: Arabic-Indic digits", Field::Text10, "١٢", false},
        {"housing: amount", Field::Text11, "3000", true},
        {"mark: whole", Field::Text23, "35", true},
        {"mark: point", Field::Text23, "35.5", false},
        {"absence: point", Field::Text20, "2.5", true},
        {"absence: words", Field::Text20, "2 days", false},
    };
    for (const auto &c : cases) {
        for (PasteBy by : {PasteBy::CtrlV, PasteBy::ShiftInsert, PasteBy::ContextMenu}) {
            const char *how = by == PasteBy::CtrlV ? "Ctrl+V" : by == PasteBy::ShiftInsert ? "Shift+Insert" : "menu";
            QTest::addRow("%s, %s", c.name, how) << c.field << by << QString::fromUtf8(c.clipboard) << c.accepted;
        }
    }
}

void KeyFiltersTest::paste()
{
    QFETCH(Field, field);
    QFETCH(PasteBy, by);
    QFETCH(QString, clipboard);
    QFETCH(bool, accepted);

    Form1 form;
    auto *box = qobject_cast<paywindow::FilteredLineEdit *>(form.text(field));
    QVERIFY(box);
    box->setText(QStringLiteral("7"));
    SelectAll(box);
    QGuiApplication::clipboard()->setText(clipboard);

    switch (by) {
    case PasteBy::CtrlV: QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier); break;
    case PasteBy::ShiftInsert: QTest::keyClick(box, Qt::Key_Insert, Qt::ShiftModifier); break;
    case PasteBy::ContextMenu: {
        std::unique_ptr<QMenu> menu(box->createContextMenu());
        auto *pasteAction = menu->findChild<QAction *>(QStringLiteral("edit-paste"));
        QVERIFY(pasteAction);
        pasteAction->trigger();
        break;
    }
    }
    QCOMPARE(box->text(), accepted ? clipboard : QStringLiteral("7"));
}

void KeyFiltersTest::drop_data()
{
    QTest::addColumn<Field>("field");
    QTest::addColumn<QString>("dropped");
    QTest::addColumn<bool>("accepted");

    QTest::newRow("zone: amount") << Field::Text10 << QStringLiteral("450.5") << true;
    QTest::newRow("zone: words") << Field::Text10 << QStringLiteral("450 DA") << false;
    QTest::newRow("mark: point") << Field::Text23 << QStringLiteral("4.5") << false;
    QTest::newRow("mark: whole") << Field::Text23 << QStringLiteral("45") << true;
    QTest::newRow("net pay: display field") << Field::Text21 << QStringLiteral("1") << false;
}

void KeyFiltersTest::drop()
{
    QFETCH(Field, field);
    QFETCH(QString, dropped);
    QFETCH(bool, accepted);

    Form1 form;
    QLineEdit *box = form.text(field);
    const QString before = box->text();
    if (!box->isReadOnly()) box->setText(QString());
    const QString start = box->text();

    QMimeData data;
    data.setText(dropped);
    const QPoint at = box->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(box, &enter);
    QCOMPARE(enter.isAccepted(), accepted);
    QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(box, &drop);

    QCOMPARE(box->text(), accepted ? dropped : start);
    if (box->isReadOnly()) QCOMPARE(box->text(), before);
}

void KeyFiltersTest::acceptedPasteRecalculatesOnce()
{
    Form1 form;
    QLineEdit *box = form.text(Field::Text10);
    SelectAll(box);
    QGuiApplication::clipboard()->setText(QStringLiteral("4000"));
    const QString netBefore = form.text(Field::Text21)->text();
    const int runs = form.recalculationCount();

    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);

    QCOMPARE(box->text(), QStringLiteral("4000"));
    QCOMPARE(form.recalculationCount(), runs + 1);
    QVERIFY(form.text(Field::Text21)->text() != netBefore);
    QCOMPARE(form1test::SlipDifferences(form, form1test::ExpectedSlip(form)), QString());
}

void KeyFiltersTest::listsDiscardTypedCharacters_data()
{
    QTest::addColumn<int>("list");
    QTest::addColumn<QString>("typed");

    QTest::newRow("category: digits") << int(paycalc::kCategoryList) << QStringLiteral("1592");
    QTest::newRow("echelon: digits") << int(paycalc::kEchelonList) << QStringLiteral("0123");
    QTest::newRow("children: digits") << int(paycalc::kChildrenList) << QStringLiteral("5");
    QTest::newRow("over ten: blank") << int(paycalc::kOverTenList) << QStringLiteral(" 3");
    QTest::newRow("post: Arabic letters") << int(paycalc::kPostList) << QStringLiteral("مدير");
    QTest::newRow("family status: Arabic letter") << int(paycalc::kFamilyStatusList) << QStringLiteral("ع");
    QTest::newRow("spouse: Arabic letter") << int(paycalc::kSpouseList) << QStringLiteral("ع");
}

void KeyFiltersTest::listsDiscardTypedCharacters()
{
    QFETCH(int, list);
    QFETCH(QString, typed);

    Form1 form;
    QComboBox *combo = form.combo(list);
    const int index = combo->currentIndex();
    const int runs = form.recalculationCount();

    TypeText(combo, typed);
    QTest::keyClick(combo, Qt::Key_Backspace);
    QTest::keyClick(combo, Qt::Key_Return);
    QTest::keyClick(combo, Qt::Key_Escape);

    QCOMPARE(combo->currentIndex(), index);
    QCOMPARE(form.recalculationCount(), runs);
    QVERIFY(!combo->isEditable());
}

void KeyFiltersTest::listsStillPickWithArrowKeys()
{
    Form1 form;
    QComboBox *category = form.combo(paycalc::kCategoryList);
    QTest::keyClick(category, Qt::Key_Down);
    QCOMPARE(category->currentText(), QStringLiteral("12"));
    QTest::keyClick(category, Qt::Key_Up);
    QTest::keyClick(category, Qt::Key_Up);
    QCOMPARE(category->currentText(), QStringLiteral("10"));
    QTest::keyClick(category, Qt::Key_Home);
    QCOMPARE(category->currentText(), QStringLiteral("1"));
}

void KeyFiltersTest::openListHasNoTypeAheadSearch()
{
    Form1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QComboBox *category = form.combo(paycalc::kCategoryList);
    category->showPopup();
    QAbstractItemView *view = category->view();
    QTRY_VERIFY(view->isVisible());

    TypeText(view, QStringLiteral("3"));
    QCOMPARE(view->currentIndex().row(), 10);
    QTest::keyClick(view, Qt::Key_Down); // the arrows still move through the entries
    QTest::keyClick(view, Qt::Key_Return);

    QTRY_VERIFY(!view->isVisible());
    QCOMPARE(category->currentText(), QStringLiteral("12"));
}

void KeyFiltersTest::displayFieldsTakeNoInput()
{
    Form1 form;
    QGuiApplication::clipboard()->setText(QStringLiteral("5"));
    for (Field field : paycalc::kComputedFields) {
        QLineEdit *box = form.text(field);
        if (!box) continue; // hidden working field
        const QString before = box->text();
        QVERIFY2(box->isReadOnly(), qPrintable(box->objectName()));
        QCOMPARE(box->focusPolicy(), Qt::ClickFocus); // to select and copy, not to type
        TypeText(box, QStringLiteral("5"));
        QTest::keyClick(box, Qt::Key_Backspace);
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(box->text(), before);
    }
}

QTEST_MAIN(KeyFiltersTest)
#include "tst_key_filters.moc"
