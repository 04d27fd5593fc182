// A recalculation stopped by an error: the message, the lines left empty, and
// the recovery once the input is corrected.
#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "tests/memory_form.h"
#include "form1_test_support.h"
#include "paycalc/fields.h"
#include "paycalc/recalculate.h"
#include "window/form1.h"

using paycalc::Field;
using form1test::ExpectedSlip;
using form1test::SlipDifferences;

Q_DECLARE_METATYPE(paycalc::Field)

namespace {

const std::string kNotRewritten = "not rewritten";

// The slip the computation leaves when it stops on the window's inputs:
// the lines it reached hold their new text, the others kNotRewritten.
paycalc::MemoryForm StoppedSlip(const Form1 &form, bool &stopped)
{
    paycalc::MemoryForm slip = form1test::InputsOf(form);
    for (Field line : paycalc::kComputedFields) slip.SetText(line, kNotRewritten);
    stopped = false;
    try {
        paycalc::RecalculateAll(slip);
    } catch (const paycalc::RecalcError &) {
        stopped = true;
    }
    return slip;
}

QString Title(Field field) { return QString::fromStdString(paycalc::FieldTitle(field)); }

// Checks the window against the computation stopped on the same inputs: the
// lines reached show their text, the others are empty.
QString StoppedSlipDifferences(Form1 &form)
{
    bool stopped = false;
    const paycalc::MemoryForm slip = StoppedSlip(form, stopped);
    if (!stopped) return QStringLiteral("the computation did not stop");
    QString differences;
    int empty = 0;
    for (Field line : paycalc::kComputedFields) {
        const std::string expected = slip.Text(line) == kNotRewritten ? std::string() : slip.Text(line);
        const std::string shown = form.payForm().Text(line);
        if (shown.empty()) ++empty;
        if (shown != expected)
            differences += QStringLiteral("%1: \"%2\" instead of \"%3\"\n")
                               .arg(QString::fromUtf8(paycalc::FieldName(line).data(),
                                                      static_cast<qsizetype>(paycalc::FieldName(line).size())),
                                    QString::fromStdString(shown), QString::fromStdString(expected));
    }
    if (empty == 0) differences += QStringLiteral("no line was left empty\n");
    return differences;
}

QString Digits(int count, QChar digit = QLatin1Char('9')) { return QString(count, digit); }

} // namespace

class Form1ErrorsTest : public QObject {
    Q_OBJECT

private slots:
    void overflowingTypedAmount_data();
    void overflowingTypedAmount();
    void overflowTypedKeyByKey();
    void arithmeticOverflowNamesTheTypedInput();
    void twoHugeAmountsAreBothNamed();
    void windowStaysUsableWhileInError();
    void messageIsAccessible();
};

void Form1ErrorsTest::overflowingTypedAmount_data()
{
    QTest::addColumn<Field>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("pasted"); // pasted, or set by the program

    QTest::newRow("zone: 400 nines pasted") << Field::Text10 << Digits(400) << true;
    QTest::newRow("zone: 1E400 set") << Field::Text10 << QStringLiteral("1E400") << false;
    QTest::newRow("housing: 400 nines pasted") << Field::Text11 << Digits(400) << true;
    QTest::newRow("absence: 400 nines pasted") << Field::Text20 << Digits(400) << true;
    QTest::newRow("mark: 400 nines pasted") << Field::Text23 << Digits(400) << true;
}

void Form1ErrorsTest::overflowingTypedAmount()
{
    QFETCH(Field, field);
    QFETCH(QString, text);
    QFETCH(bool, pasted);

    Form1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QLineEdit *box = form.text(field);
    if (pasted) {
        form1test::SelectAll(box);
        QGuiApplication::clipboard()->setText(text);
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    } else {
        box->setText(text);
    }
    QCOMPARE(box->text(), text);

    QVERIFY(form.messageLabel()->isVisible());
    QVERIFY2(form.messageLabel()->text().contains(Title(field)), qPrintable(form.messageLabel()->text()));
    QCOMPARE(StoppedSlipDifferences(form), QString());

    // Correcting the field clears the message and brings the slip back.
    form1test::SelectAll(box);
    QTest::keyClick(box, Qt::Key_5);
    QCOMPARE(box->text(), QStringLiteral("5"));
    QVERIFY(!form.messageLabel()->isVisible());
    QVERIFY(form.messageLabel()->text().isEmpty());
    QCOMPARE(SlipDifferences(form, ExpectedSlip(form)), QString());
}

void Form1ErrorsTest::overflowTypedKeyByKey()
{
    Form1 form;
    QLineEdit *box = form.text(Field::Text10);
    box->end(false);
    QTest::keyClicks(box, Digits(400));
    QVERIFY(!form.messageLabel()->isHidden());
    QCOMPARE(StoppedSlipDifferences(form), QString());
    QVERIFY(form.text(Field::Text21)->text().isEmpty());

    // Backspace until the number fits again.
    while (!form.messageLabel()->isHidden() && !box->text().isEmpty()) QTest::keyClick(box, Qt::Key_Backspace);
    QVERIFY(box->text().size() > 1);
    QCOMPARE(SlipDifferences(form, ExpectedSlip(form)), QString());
    QVERIFY(!form.text(Field::Text21)->text().isEmpty());
}

void Form1ErrorsTest::arithmeticOverflowNamesTheTypedInput()
{
    // Days of absence that read as a number but overflow the deduction.
    Form1 form;
    form.text(Field::Text20)->setText(Digits(308));
    QVERIFY(!form.messageLabel()->isHidden());
    QVERIFY2(form.messageLabel()->text().contains(Title(Field::Text20)), qPrintable(form.messageLabel()->text()));
    QVERIFY(!form.messageLabel()->text().contains(Title(Field::Text10))); // the zone allowance is fine
    QCOMPARE(StoppedSlipDifferences(form), QString());
    QVERIFY(form.text(Field::Text19)->text().isEmpty());
    QVERIFY(form.text(Field::Text21)->text().isEmpty());

    form.text(Field::Text20)->setText(QStringLiteral("1"));
    QVERIFY(form.messageLabel()->isHidden());
    QCOMPARE(SlipDifferences(form, ExpectedSlip(form)), QString());
}

void Form1ErrorsTest::twoHugeAmountsAreBothNamed()
{
    // Each alone leaves a taxable amount the income tax can take; together
    // they do not.
    Form1 form;
    const QString huge = QStringLiteral("2") + QString(38, QLatin1Char('0'));
    form.text(Field::Text10)->setText(huge);
    QVERIFY(form.messageLabel()->isHidden());
    form.text(Field::Text11)->setText(huge);
    QVERIFY(!form.messageLabel()->isHidden());
    QVERIFY2(form.messageLabel()->text().contains(Title(Field::Text10)), qPrintable(form.messageLabel()->text()));
    QVERIFY(form.messageLabel()->text().contains(Title(Field::Text11)));
    QCOMPARE(StoppedSlipDifferences(form), QString());
}

void Form1ErrorsTest::windowStaysUsableWhileInError()
{
    Form1 form;
    form.text(Field::Text11)->setText(Digits(400));
    QVERIFY(!form.messageLabel()->isHidden());

    // Other inputs still recalculate, and still stop at the same input.
    form1test::PickByKeyboard(form.combo(paycalc::kCategoryList), 14);
    QCOMPARE(form.combo(paycalc::kCategoryList)->currentText(), QStringLiteral("15"));
    QVERIFY(!form.messageLabel()->isHidden());
    QCOMPARE(StoppedSlipDifferences(form), QString());

    QLineEdit *housing = form.text(Field::Text11);
    form1test::SelectAll(housing);
    QTest::keyClick(housing, Qt::Key_Backspace);
    QCOMPARE(housing->text(), QString());
    QVERIFY(form.messageLabel()->isHidden());
    QCOMPARE(SlipDifferences(form, ExpectedSlip(form)), QString());
}

void Form1ErrorsTest::messageIsAccessible()
{
    Form1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.text(Field::Text10)->setText(Digits(400));
    QAccessibleInterface *message = QAccessible::queryAccessibleInterface(form.messageLabel());
    QVERIFY(message);
    QVERIFY(!message->text(QAccessible::Name).isEmpty());
    QCOMPARE(message->text(QAccessible::Description), form.messageLabel()->text());
    QVERIFY(form.messageLabel()->text().contains(Title(Field::Text10)));
}

QTEST_MAIN(Form1ErrorsTest)
#include "tst_form1_errors.moc"
