// Bad texts in the four typed fields, given five ways: typed key by key,
// typed in one key event, pasted with Ctrl+V, committed by an input method,
// and set directly, past the keystroke filters, as a script could deliver
// them. Whatever the text, the window either shows the slip a fresh
// computation gives for what the field now holds, or, when an amount is too
// large for a line, its message naming the field with every line the
// computation did not reach left empty; and a corrected field brings the
// start-up slip back.
#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <memory>

#include "tests/memory_form.h"
#include "window/tests/form1_test_support.h"
#include "paycalc/fields.h"
#include "paycalc/recalculate.h"
#include "slip_checks.h"
#include "window/form1.h"

using paycalc::Field;

Q_DECLARE_METATYPE(paycalc::Field)

namespace {

// The field keeps the text it had: every character was refused.
const QString kUnchanged = QStringLiteral("(unchanged)");
// The slip cannot be computed: an amount overflows a line.
const QString kStops = QStringLiteral("(stops)");

const QString kStartupNetPay = QStringLiteral("43432.12");

struct BadText {
    const char *name;
    QString text;
    QString typedAmount;  // what typing it leaves in Text10, Text11 or Text20
    QString typedMark;    // what typing it leaves in Text23 (no point)
    QString pastedAmount; // what pasting it leaves in Text10, Text11 or Text20
    QString pastedMark;   // what pasting it leaves in Text23
    QString readsAs;      // the number the slip counts when the text is set directly, or kStops
};

QString Times(int count, char16_t c) { return QString(count, QChar(c)); }

QList<BadText> BadTexts()
{
    const QString tenThousandLetters = Times(10000, u'x');
    const QString tenThousandDigits = QStringLiteral("1") + Times(9999, u'0');
    const QString fourHundredNines = Times(400, u'9');
    return {
        // Typing an empty text: Backspace over the whole text. Pasting an
        // empty clipboard over it empties the field as well.
        {"empty", QString(), QString(), QString(), QString(), QString(), QStringLiteral("0")},
        {"letters only", QStringLiteral("abc"), kUnchanged, kUnchanged, kUnchanged, kUnchanged, QStringLiteral("0")},
        {"two points", QStringLiteral("1.2.3"), QStringLiteral("1.2.3"), QStringLiteral("123"), QStringLiteral("1.2.3"),
         kUnchanged, QStringLiteral("1.2")},
        {"leading and trailing blanks", QStringLiteral("  12  "), QStringLiteral("12"), QStringLiteral("12"),
         kUnchanged, kUnchanged, QStringLiteral("12")},
        {"a minus sign", QStringLiteral("-5"), QStringLiteral("5"), QStringLiteral("5"), kUnchanged, kUnchanged,
         QStringLiteral("-5")},
        {"10,000 letters", tenThousandLetters, kUnchanged, kUnchanged, kUnchanged, kUnchanged, QStringLiteral("0")},
        {"1 and 9,999 zeros", tenThousandDigits, tenThousandDigits, tenThousandDigits, tenThousandDigits,
         tenThousandDigits, kStops},
        {"Arabic-Indic digits", QStringLiteral("٣٤٥"), kUnchanged, kUnchanged, kUnchanged, kUnchanged,
         QStringLiteral("0")},
        {"Persian digits", QStringLiteral("۳۴۵"), kUnchanged, kUnchanged, kUnchanged, kUnchanged, QStringLiteral("0")},
        {"Devanagari digits", QStringLiteral("३४५"), kUnchanged, kUnchanged, kUnchanged, kUnchanged, QStringLiteral("0")},
        {"full-width digits", QStringLiteral("１２３"), kUnchanged, kUnchanged, kUnchanged, kUnchanged,
         QStringLiteral("0")},
        {"ASCII then Arabic-Indic digits", QStringLiteral("12٣٤"), QStringLiteral("12"), QStringLiteral("12"),
         kUnchanged, kUnchanged, QStringLiteral("12")},
        {"mathematical digits", QStringLiteral("𝟏𝟐"), kUnchanged, kUnchanged, kUnchanged, kUnchanged, QStringLiteral("0")},
        // The Arabic decimal separator is refused like any character beyond
        // ASCII: typed, the digits around it run together.
        {"Arabic decimal separator", QStringLiteral("12٫5"), QStringLiteral("125"), QStringLiteral("125"), kUnchanged,
         kUnchanged, QStringLiteral("12")},
        // Blanks, tabs and line feeds inside count for nothing when read.
        {"a tab and a line feed inside", QStringLiteral("1\t2\n5"), QStringLiteral("125"), QStringLiteral("125"),
         kUnchanged, kUnchanged, QStringLiteral("125")},
        {"1E400", QStringLiteral("1E400"), QStringLiteral("1400"), QStringLiteral("1400"), kUnchanged, kUnchanged, kStops},
        {"1E307", QStringLiteral("1E307"), QStringLiteral("1307"), QStringLiteral("1307"), kUnchanged, kUnchanged, kStops},
        {"400 nines", fourHundredNines, fourHundredNines, fourHundredNines, fourHundredNines, fourHundredNines, kStops},
    };
}

// The text a typed field holds when the window opens.
QString StartupText(Field field)
{
    const std::string_view text = paycalc::InitialText(field);
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

enum class Column { Typed, OneKeyEvent, Pasted, InputMethod, Set };

// One row for every typed field and every bad text: the text and what the
// field holds afterwards (kUnchanged: its start-up text).
void AddRows(Column column)
{
    QTest::addColumn<Field>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("result");
    QTest::addColumn<QString>("readsAs");

    for (Field field : paycalc::kTypedFields) {
        const bool mark = field == Field::Text23;
        for (const BadText &bad : BadTexts()) {
            const QString typed = mark ? bad.typedMark : bad.typedAmount;
            const QString pasted = mark ? bad.pastedMark : bad.pastedAmount;
            // A key event that carries no character, or an input method
            // that commits nothing, makes no edit: the selected text stays.
            QString result = bad.text;
            switch (column) {
            case Column::Typed: result = typed; break;
            case Column::OneKeyEvent: result = bad.text.isEmpty() ? kUnchanged : typed; break;
            case Column::Pasted: result = pasted; break;
            case Column::InputMethod: result = bad.text.isEmpty() ? kUnchanged : pasted; break;
            case Column::Set: break;
            }
            if (result == kUnchanged) result = StartupText(field);
            const QByteArray name = (hardening::Name(field) + QStringLiteral(": ") + QLatin1String(bad.name)).toUtf8();
            QTest::newRow(name.constData()) << field << bad.text << result << bad.readsAs;
        }
    }
}

} // namespace

class BadInputTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void typedKeyByKey_data();
    void typedKeyByKey();
    void typedInOneKeyEvent_data();
    void typedInOneKeyEvent();
    void pastedWithCtrlV_data();
    void pastedWithCtrlV();
    void committedByInputMethod_data();
    void committedByInputMethod();
    void setDirectly_data();
    void setDirectly();

    void emptyClipboardPastedOverAnAmount();

private:
    // The window agrees with the computation; when it stops, the message
    // names `field`, and the window still answers the check box.
    void verifyOutcome(Field field);
    // Putting the field's start-up text back clears the message and shows
    // the start-up slip again.
    void verifyRecovery(Field field, bool asUser);

    std::unique_ptr<Form1> form_;
};

void BadInputTest::init()
{
    form_ = std::make_unique<Form1>();
    form_->show();
    QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
    QCOMPARE(form_->text(Field::Text21)->text(), kStartupNetPay);
}

void BadInputTest::cleanup() { form_.reset(); }

void BadInputTest::verifyOutcome(Field field)
{
    Form1 &form = *form_;
    hardening::SlipCheck check = hardening::CheckSlip(form);
    QVERIFY2(check.problems.isEmpty(), qPrintable(check.problems));
    if (!check.stopped) return;

    const QString message = form.messageLabel()->text();
    QVERIFY2(message.contains(hardening::Title(field)), qPrintable(message));

    // Still usable while in error: the check box recalculates both ways.
    const int runs = form.recalculationCount();
    QTest::keyClick(form.check1(), Qt::Key_Space);
    QVERIFY(!form.check1()->isChecked());
    QVERIFY(form.recalculationCount() > runs);
    check = hardening::CheckSlip(form);
    QVERIFY2(check.problems.isEmpty(), qPrintable(check.problems));
    QTest::keyClick(form.check1(), Qt::Key_Space);
    QVERIFY(form.check1()->isChecked());
    check = hardening::CheckSlip(form);
    QVERIFY2(check.problems.isEmpty(), qPrintable(check.problems));
    QVERIFY(check.stopped);
    QVERIFY2(form.messageLabel()->text().contains(hardening::Title(field)), qPrintable(form.messageLabel()->text()));
}

void BadInputTest::verifyRecovery(Field field, bool asUser)
{
    Form1 &form = *form_;
    QLineEdit *box = form.text(field);
    const QString initial = StartupText(field);
    if (asUser) {
        form1test::SelectAll(box);
        form1test::TypeText(box, initial);
    } else {
        box->setText(initial);
    }
    QCOMPARE(box->text(), initial);
    QVERIFY(form.messageLabel()->isHidden());
    QVERIFY(form.messageLabel()->text().isEmpty());
    QCOMPARE(form1test::SlipDifferences(form, hardening::StartupSlip()), QString());
    QCOMPARE(form.text(Field::Text21)->text(), kStartupNetPay);
}

void BadInputTest::typedKeyByKey_data() { AddRows(Column::Typed); }

// The whole text of the field is selected, then the bad text typed over it:
// the first character the filter lets through replaces the selection, the
// refused ones change nothing.
void BadInputTest::typedKeyByKey()
{
    QFETCH(Field, field);
    QFETCH(QString, text);
    QFETCH(QString, result);

    QLineEdit *box = form_->text(field);
    form1test::SelectAll(box);
    QCOMPARE(box->selectedText(), box->text());
    if (text.isEmpty()) QTest::keyClick(box, Qt::Key_Backspace);
    else form1test::TypeText(box, text);

    QCOMPARE(box->text(), result);
    verifyOutcome(field);
    if (QTest::currentTestFailed()) return;
    verifyRecovery(field, true);
}

void BadInputTest::typedInOneKeyEvent_data() { AddRows(Column::OneKeyEvent); }

// The whole text in one key event, as a keyboard with key compression or a
// macro tool delivers it: the characters the filter lets through go in.
void BadInputTest::typedInOneKeyEvent()
{
    QFETCH(Field, field);
    QFETCH(QString, text);
    QFETCH(QString, result);

    QLineEdit *box = form_->text(field);
    form1test::SelectAll(box);
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, text);
    QCoreApplication::sendEvent(box, &press);
    QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, text);
    QCoreApplication::sendEvent(box, &release);

    QCOMPARE(box->text(), result);
    verifyOutcome(field);
    if (QTest::currentTestFailed()) return;
    verifyRecovery(field, true);
}

void BadInputTest::pastedWithCtrlV_data() { AddRows(Column::Pasted); }

// Pasted over the whole text: a paste the filter refuses leaves the field
// as it was.
void BadInputTest::pastedWithCtrlV()
{
    QFETCH(Field, field);
    QFETCH(QString, text);
    QFETCH(QString, result);

    QLineEdit *box = form_->text(field);
    form1test::SelectAll(box);
    QGuiApplication::clipboard()->setText(text);
    QCOMPARE(QGuiApplication::clipboard()->text(), text);
    const int runs = form_->recalculationCount();
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);

    QCOMPARE(box->text(), result);
    if (result != StartupText(field)) QVERIFY(form_->recalculationCount() > runs);
    verifyOutcome(field);
    if (QTest::currentTestFailed()) return;
    verifyRecovery(field, true);
}

void BadInputTest::committedByInputMethod_data() { AddRows(Column::InputMethod); }

// Committed over the whole text, as an on-screen keyboard or a compose
// method delivers text: the filter takes or refuses the commit as a whole.
void BadInputTest::committedByInputMethod()
{
    QFETCH(Field, field);
    QFETCH(QString, text);
    QFETCH(QString, result);

    QLineEdit *box = form_->text(field);
    form1test::SelectAll(box);
    QInputMethodEvent commit;
    commit.setCommitString(text);
    QCoreApplication::sendEvent(box, &commit);

    QCOMPARE(box->text(), result);
    verifyOutcome(field);
    if (QTest::currentTestFailed()) return;
    verifyRecovery(field, true);
}

void BadInputTest::setDirectly_data() { AddRows(Column::Set); }

// Set by the program, past the filters: the slip counts what the text reads
// as, the leading number or 0.
void BadInputTest::setDirectly()
{
    QFETCH(Field, field);
    QFETCH(QString, text);
    QFETCH(QString, readsAs);

    QLineEdit *box = form_->text(field);
    box->setText(text);
    QCOMPARE(box->text(), text);
    verifyOutcome(field);
    if (QTest::currentTestFailed()) return;

    const hardening::SlipCheck check = hardening::CheckSlip(*form_);
    if (readsAs == kStops) {
        QVERIFY(check.stopped);
        QVERIFY(!form_->messageLabel()->isHidden());
    } else {
        QVERIFY(!check.stopped);
        // The same slip as with the plain number typed in.
        paycalc::MemoryForm plain = form1test::InputsOf(*form_);
        plain.SetText(field, readsAs.toStdString());
        paycalc::RecalculateAll(plain);
        QCOMPARE(hardening::ComputedDifferences(*form_, plain), QString());
    }
    verifyRecovery(field, false);
}

// An empty clipboard pasted over a selected amount empties the field, as
// Backspace would, and the slip counts 0.
void BadInputTest::emptyClipboardPastedOverAnAmount()
{
    QLineEdit *box = form_->text(Field::Text10);
    box->setText(QStringLiteral("1500"));
    QVERIFY(form_->text(Field::Text21)->text() != kStartupNetPay);
    QGuiApplication::clipboard()->clear();
    form1test::SelectAll(box);
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(box->text(), QString());
    QCOMPARE(form_->text(Field::Text21)->text(), kStartupNetPay);
    const hardening::SlipCheck check = hardening::CheckSlip(*form_);
    QVERIFY2(check.problems.isEmpty(), qPrintable(check.problems));
}

QTEST_MAIN(BadInputTest)
#include "tst_bad_input.moc"
