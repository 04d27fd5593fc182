// The window with the keyboard, the mouse and a screen reader: the amounts
// can be selected and copied one by one, each display field has a menu that
// copies its amount beside the slip's actions, and every push button takes
// Enter and Return as it takes Space, without any being a default button.
#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QUrl>

#include <string>

#include "paycalc/fields.h"
#include "paycalc/pay_form.h"
#include "window/form1.h"

using paycalc::Field;

Q_DECLARE_METATYPE(paycalc::Field)

namespace {

void ShowActive(Form1 &form)
{
    form.show();
    QApplication::setActiveWindow(&form);
    QVERIFY(QTest::qWaitForWindowActive(&form));
}

QList<QAction *> SlipActions(const Form1 &form)
{
    return {form.printAction(), form.previewAction(), form.pdfAction(),
            form.copyAction(),  form.compareAction(), form.batchAction()};
}

// Receives the pages the link buttons hand to the desktop's browser.
class Browser final : public QObject {
    Q_OBJECT

public:
    Browser() { QDesktopServices::setUrlHandler(QStringLiteral("http"), this, "open"); }
    ~Browser() override { QDesktopServices::unsetUrlHandler(QStringLiteral("http")); }
    QList<QUrl> opened;

public slots:
    void open(const QUrl &url) { opened << url; }
};

QMenu *OpenContextMenu(QWidget *target)
{
    const QPoint at = target->rect().center();
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, target->mapToGlobal(at));
    QCoreApplication::sendEvent(target, &event);
    QMenu *menu = nullptr;
    if (!QTest::qWaitFor([&] { return (menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())) != nullptr; }))
        return nullptr;
    return menu;
}

} // namespace

class Form1KeyboardTest : public QObject {
    Q_OBJECT

private slots:
    void displayField_data();
    void displayFieldTakesFocusOnClickOnly();
    void displayField();
    void selectionCopiedWithCtrlC();
    void wholeAmountCopiedWithCtrlAAndCtrlC();
    void fieldMenuCopiesBesideTheSlipActions();
    void fieldMenuCopiesTheSelectionOnly();
    void screenReaderMovesIntoDisplayFields();
    void enterClicksTheFocusedButton_data();
    void enterClicksTheFocusedButton();
    void noButtonIsTheDefault();
};

void Form1KeyboardTest::displayField_data()
{
    QTest::addColumn<Field>("field");
    for (Field field : paycalc::kComputedFields)
        if (field != Field::Text2000 && field != Field::Text2001)
            QTest::newRow(std::string(paycalc::FieldName(field)).c_str()) << field;
}

// A click gives a display field the focus; Tab never does, and the field
// stays locked.
void Form1KeyboardTest::displayFieldTakesFocusOnClickOnly()
{
    Form1 form;
    ShowActive(form);
    for (Field field : paycalc::kComputedFields) {
        QLineEdit *box = form.text(field);
        if (!box) continue;
        QCOMPARE(box->focusPolicy(), Qt::ClickFocus);
        QVERIFY(box->isReadOnly());
    }
    // A whole round of Tab, from the first list back to it, meets no display field.
    form.combo(paycalc::kCategoryList)->setFocus();
    for (int i = 0; i < 20; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        auto *box = qobject_cast<QLineEdit *>(QApplication::focusWidget());
        QVERIFY2(!box || !box->isReadOnly(), qPrintable(QApplication::focusWidget()->objectName()));
    }
}

// Each display field: a click gives it the focus, typing leaves it as it is.
void Form1KeyboardTest::displayField()
{
    QFETCH(Field, field);
    Form1 form;
    ShowActive(form);
    QLineEdit *box = form.text(field);
    const QString before = box->text();
    QTest::mouseClick(box, Qt::LeftButton, {}, box->rect().center());
    QVERIFY(box->hasFocus());
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("5"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backspace);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(box->text(), before);
}

// Part of the net pay, selected with the mouse, then Ctrl+C.
void Form1KeyboardTest::selectionCopiedWithCtrlC()
{
    Form1 form;
    ShowActive(form);
    QLineEdit *net = form.text(Field::Text21);
    QCOMPARE(net->text(), QStringLiteral("43432.12"));
    QGuiApplication::clipboard()->setText(QStringLiteral("nothing yet"));

    // Drag across the middle of the amount.
    const int y = net->height() / 2;
    const int middle = net->width() / 2;
    const int half = net->fontMetrics().horizontalAdvance(net->text()) / 4;
    QTest::mousePress(net, Qt::LeftButton, {}, QPoint(middle - half, y));
    QTest::mouseMove(net, QPoint(middle + half, y));
    QTest::mouseRelease(net, Qt::LeftButton, {}, QPoint(middle + half, y));
    QVERIFY(net->hasFocus());
    const QString selected = net->selectedText();
    QVERIFY(!selected.isEmpty());
    QVERIFY(selected.size() < net->text().size());
    QVERIFY(net->text().contains(selected));

    QTest::keyClick(net, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), selected);
    QCOMPARE(net->text(), QStringLiteral("43432.12"));
}

// The keyboard alone: a click, Ctrl+A, Ctrl+C, for every display field.
void Form1KeyboardTest::wholeAmountCopiedWithCtrlAAndCtrlC()
{
    Form1 form;
    ShowActive(form);
    for (Field field : paycalc::kComputedFields) {
        QLineEdit *box = form.text(field);
        if (!box) continue;
        QGuiApplication::clipboard()->setText(QStringLiteral("nothing yet"));
        QTest::mouseClick(box, Qt::LeftButton, {}, box->rect().center());
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(box, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), QString::fromStdString(form.payForm().Text(field)));
    }
}

// A right click on a display field: "نسخ" first, then the slip's actions; with
// nothing selected, the whole amount is copied.
void Form1KeyboardTest::fieldMenuCopiesBesideTheSlipActions()
{
    Form1 form;
    ShowActive(form);
    for (Field field : {Field::Text21, Field::Text1, Field::Text15, Field::Text22}) {
        QLineEdit *box = form.text(field);
        box->deselect();
        QMenu *menu = OpenContextMenu(box);
        QVERIFY(menu);
        QCOMPARE(menu->objectName(), QStringLiteral("FieldMenu"));
        QCOMPARE(menu->layoutDirection(), Qt::RightToLeft);
        QList<QAction *> entries = menu->actions();
        entries.removeIf([](QAction *a) { return a->isSeparator(); });
        QVERIFY(entries.size() == 7);
        QAction *copy = entries.takeFirst();
        QVERIFY(copy->text().contains(QStringLiteral("نسخ")));
        QVERIFY(copy->isEnabled());
        QCOMPARE(entries, SlipActions(form));

        QGuiApplication::clipboard()->setText(QStringLiteral("nothing yet"));
        copy->trigger();
        menu->close();
        QTRY_VERIFY(!QApplication::activePopupWidget());
        QCOMPARE(QGuiApplication::clipboard()->text(), QString::fromStdString(form.payForm().Text(field)));
    }
}

void Form1KeyboardTest::fieldMenuCopiesTheSelectionOnly()
{
    Form1 form;
    ShowActive(form);
    QLineEdit *tax = form.text(Field::Text15);
    tax->setSelection(0, 3);
    const QString selected = tax->selectedText();
    QCOMPARE(selected, tax->text().left(3));
    QMenu *menu = OpenContextMenu(tax);
    QVERIFY(menu);
    QCOMPARE(tax->selectedText(), selected); // the right click keeps the selection
    QGuiApplication::clipboard()->clear();
    menu->actions().front()->trigger();
    menu->close();
    QTRY_VERIFY(!QApplication::activePopupWidget());
    QCOMPARE(QGuiApplication::clipboard()->text(), selected);

    // The menu of a typed field is still its edit menu.
    QMenu *edit = OpenContextMenu(form.text(Field::Text10));
    QVERIFY(edit);
    QVERIFY(edit->objectName() != QStringLiteral("FieldMenu"));
    QVERIFY(!edit->actions().contains(form.printAction()));
    edit->close();
    QTRY_VERIFY(!QApplication::activePopupWidget());
}

// A screen reader finds each amount by its name, read-only and focusable,
// and can move its focus into it.
void Form1KeyboardTest::screenReaderMovesIntoDisplayFields()
{
    Form1 form;
    ShowActive(form);
    for (Field field : paycalc::kComputedFields) {
        QLineEdit *box = form.text(field);
        if (!box) continue;
        QAccessibleInterface *reader = QAccessible::queryAccessibleInterface(box);
        QVERIFY(reader);
        QCOMPARE(reader->text(QAccessible::Name), QString::fromStdString(paycalc::FieldTitle(field)));
        QCOMPARE(reader->text(QAccessible::Value), box->text());
        QVERIFY(reader->state().focusable);
        QVERIFY(reader->state().readOnly);
        QAccessibleActionInterface *actions = reader->actionInterface();
        QVERIFY(actions);
        QVERIFY(actions->actionNames().contains(QAccessibleActionInterface::setFocusAction()));
        actions->doAction(QAccessibleActionInterface::setFocusAction());
        QVERIFY2(box->hasFocus(), qPrintable(box->objectName()));
        QVERIFY(reader->state().focused);
    }
}

void Form1KeyboardTest::enterClicksTheFocusedButton_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("key");
    for (const char *name : {"Command5", "Command2", "PrintButton", "PreviewButton", "PdfButton", "CopyButton",
                             "CompareButton", "BatchButton"}) {
        QTest::addRow("%s Return", name) << QString::fromLatin1(name) << int(Qt::Key_Return);
        QTest::addRow("%s Enter", name) << QString::fromLatin1(name) << int(Qt::Key_Enter);
    }
}

void Form1KeyboardTest::enterClicksTheFocusedButton()
{
    QFETCH(QString, button);
    QFETCH(int, key);
    Form1 form;
    ShowActive(form);
    Browser browser;
    auto *pressed = form.findChild<QPushButton *>(button);
    QVERIFY(pressed);
    // What the slip buttons would open (dialogs, windows) stays closed: their
    // actions keep still, the click itself is what is checked.
    for (QAction *action : SlipActions(form)) action->blockSignals(true);
    if (pressed->focusPolicy() != Qt::NoFocus) {
        pressed->setFocus();
        QVERIFY(pressed->hasFocus());
    }
    QSignalSpy clicks(pressed, &QPushButton::clicked);

    QTest::keyClick(pressed, Qt::Key(key), key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
    QCOMPARE(clicks.size(), 1);
    QTest::keyClick(pressed, Qt::Key_Space);
    QCOMPARE(clicks.size(), 2);
    // With a modifier, Enter is no click.
    QTest::keyClick(pressed, Qt::Key(key), Qt::ShiftModifier);
    QCOMPARE(clicks.size(), 2);

    if (button == QStringLiteral("Command5"))
        QCOMPARE(browser.opened, QList<QUrl>({Form1::homePage(), Form1::homePage()}));
    else if (button == QStringLiteral("Command2"))
        QCOMPARE(browser.opened, QList<QUrl>({Form1::contactPage(), Form1::contactPage()}));
    else QVERIFY(browser.opened.isEmpty());
    for (QAction *action : SlipActions(form)) action->blockSignals(false);
}

// Enter in a typed field or a list clicks nothing: there is no default button.
void Form1KeyboardTest::noButtonIsTheDefault()
{
    Form1 form;
    ShowActive(form);
    Browser browser;
    const QList<QPushButton *> buttons = form.findChildren<QPushButton *>();
    QCOMPARE(buttons.size(), 8);
    QList<QSignalSpy *> spies;
    for (QPushButton *button : buttons) spies << new QSignalSpy(button, &QPushButton::clicked);
    for (QAction *action : SlipActions(form)) action->blockSignals(true);

    for (QWidget *focus :
         {static_cast<QWidget *>(form.text(Field::Text10)), static_cast<QWidget *>(form.text(Field::Text23)),
          static_cast<QWidget *>(form.combo(paycalc::kPostList)), static_cast<QWidget *>(form.check1())}) {
        focus->setFocus();
        QTest::keyClick(focus, Qt::Key_Return);
        QTest::keyClick(focus, Qt::Key_Enter, Qt::KeypadModifier);
    }
    form.command2()->setFocus(); // a focused button does not become the default either
    for (QPushButton *button : buttons) {
        QVERIFY2(!button->isDefault(), qPrintable(button->objectName()));
        QVERIFY2(!button->autoDefault(), qPrintable(button->objectName()));
    }
    for (QSignalSpy *spy : spies) QCOMPARE(spy->size(), 0);
    QVERIFY(browser.opened.isEmpty());
    qDeleteAll(spies);
    for (QAction *action : SlipActions(form)) action->blockSignals(false);
}

QTEST_MAIN(Form1KeyboardTest)
#include "tst_form1_keyboard.moc"
