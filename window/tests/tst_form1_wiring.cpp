// Which actions recalculate the slip, and the family-status rule.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include "form1_test_support.h"
#include "paycalc/fields.h"
#include "window/form1.h"

using paycalc::Field;
using form1test::ExpectedSlip;
using form1test::SlipDifferences;

Q_DECLARE_METATYPE(paycalc::Field)

namespace {

constexpr int kSingle = 0;
constexpr int kMarried = 1;

} // namespace

class Form1WiringTest : public QObject {
    Q_OBJECT

private slots:
    void pickInAnyListRecalculates_data();
    void pickInAnyListRecalculates();
    void pickingSingleResetsBothChildrenCounts();
    void childrenPickWhileSingleIsUndoneAtOnce();
    void childrenPickWhileMarriedIsKept();
    void pickInAnotherListReappliesTheRule();
    void listChangeWithoutPickRecalculatesWithoutTheRule();
    void typedChangeRecalculates_data();
    void typedChangeRecalculates();
    void backspaceThatEmptiesAFieldRecalculates_data();
    void backspaceThatEmptiesAFieldRecalculates();
    void check1ClickRecalculatesBothWays();
    void check1SpaceKeyRecalculates();
};

void Form1WiringTest::pickInAnyListRecalculates_data()
{
    QTest::addColumn<int>("list");
    QTest::addColumn<int>("index");
    QTest::addColumn<Field>("changed"); // a line the pick must change

    QTest::newRow("category 3") << int(paycalc::kCategoryList) << 2 << Field::Text1;
    QTest::newRow("echelon 12") << int(paycalc::kEchelonList) << 12 << Field::Text2;
    QTest::newRow("children 4") << int(paycalc::kChildrenList) << 4 << Field::Text17;
    QTest::newRow("over ten 2") << int(paycalc::kOverTenList) << 2 << Field::Text17;
    QTest::newRow("post 6") << int(paycalc::kPostList) << 6 << Field::Text9;
    QTest::newRow("single") << int(paycalc::kFamilyStatusList) << kSingle << Field::Text18;
    QTest::newRow("spouse working") << int(paycalc::kSpouseList) << 1 << Field::Text18;
}

void Form1WiringTest::pickInAnyListRecalculates()
{
    QFETCH(int, list);
    QFETCH(int, index);
    QFETCH(Field, changed);

    Form1 form;
    const QString before = form.text(changed)->text();
    const int runs = form.recalculationCount();
    form1test::PickByKeyboard(form.combo(list), index);

    QCOMPARE(form.combo(list)->currentIndex(), index);
    QVERIFY(form.recalculationCount() > runs);
    QVERIFY(form.text(changed)->text() != before);
    QCOMPARE(SlipDifferences(form, ExpectedSlip(form)), QString());
}

void Form1WiringTest::pickingSingleResetsBothChildrenCounts()
{
    Form1 form;
    form1test::PickByKeyboard(form.combo(paycalc::kOverTenList), 1);
    QCOMPARE(form.combo(paycalc::kOverTenList)->currentText(), QStringLiteral("1"));

    form1test::PickByKeyboard(form.combo(paycalc::kFamilyStatusList), kSingle);

    QCOMPARE(form.combo(paycalc::kChildrenList)->currentText(), QStringLiteral("0"));
    QCOMPARE(form.combo(paycalc::kOverTenList)->currentText(), QStringLiteral("0"));
    QCOMPARE(form.text(Field::Text17)->text(), QStringLiteral("0.00"));
    QCOMPARE(form.text(Field::Text18)->text(), QStringLiteral("0.00"));
    QCOMPARE(SlipDifferences(form, ExpectedSlip(form)), QString());
}

void Form1WiringTest::childrenPickWhileSingleIsUndoneAtOnce()
{
    Form1 form;
    form1test::PickByKeyboard(form.combo(paycalc::kFamilyStatusList), kSingle);
    const QString slip = form1test::ComputedTexts(form);

    QComboBox *children = form.combo(paycalc::kChildrenList);
    for (int i = 0; i < 3; ++i) QTest::keyClick(children, Qt::Key_Down); // "picks" 1, 2, 3 in turn

    QCOMPARE(children->currentText(), QStringLiteral("0"));
    QCOMPARE(form1test::ComputedTexts(form), slip);
    QCOMPARE(SlipDifferences(form, ExpectedSlip(form)), QString());
}

void Form1WiringTest::childrenPickWhileMarriedIsKept()
{
    Form1 form;
    QCOMPARE(form.combo(paycalc::kFamilyStatusList)->currentIndex(), kMarried);
    form1test::PickByKeyboard(form.combo(paycalc::kChildrenList), 3);
    form1test::PickByKeyboard(form.combo(paycalc::kSpouseList), 1);

    QCOMPARE(form.combo(paycalc::kChildrenList)->currentText(), QStringLiteral("3"));
    QVERIFY(form.text(Field::Text2000) == nullptr); // a hidden working field has no control
    QCOMPARE(form.payForm().Text(Field::Text2000), std::string("900.00"));
    QCOMPARE(SlipDifferences(form, ExpectedSlip(form)), QString());
}

void Form1WiringTest::pickInAnotherListReappliesTheRule()
{
    Form1 form;
    form1test::PickByKeyboard(form.combo(paycalc::kFamilyStatusList), kSingle);
    // A change made by the program is no pick: the rule does not run.
    form.combo(paycalc::kChildrenList)->setCurrentIndex(3);
    QCOMPARE(form.combo(paycalc::kChildrenList)->currentText(), QStringLiteral("3"));

    form1test::PickByKeyboard(form.combo(paycalc::kSpouseList), 1);

    QCOMPARE(form.combo(paycalc::kChildrenList)->currentText(), QStringLiteral("0"));
    QCOMPARE(SlipDifferences(form, ExpectedSlip(form)), QString());
}

void Form1WiringTest::listChangeWithoutPickRecalculatesWithoutTheRule()
{
    Form1 form;
    const int runs = form.recalculationCount();
    form.combo(paycalc::kFamilyStatusList)->setCurrentIndex(kSingle);

    QVERIFY(form.recalculationCount() > runs);
    QCOMPARE(form.combo(paycalc::kChildrenList)->currentText(), QStringLiteral("1"));
    QCOMPARE(form.text(Field::Text18)->text(), QStringLiteral("0.00"));
    QCOMPARE(SlipDifferences(form, ExpectedSlip(form)), QString());
}

void Form1WiringTest::typedChangeRecalculates_data()
{
    QTest::addColumn<Field>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("text");
    QTest::addColumn<Field>("changed");

    QTest::newRow("zone allowance") << Field::Text10 << QStringLiteral("5") << QStringLiteral("05") << Field::Text12;
    QTest::newRow("housing allowance") << Field::Text11 << QStringLiteral("12.5") << QStringLiteral("012.5") << Field::Text12;
    QTest::newRow("days of absence") << Field::Text20 << QStringLiteral("2") << QStringLiteral("02") << Field::Text19;
    QTest::newRow("performance mark") << Field::Text23 << QStringLiteral("0") << QStringLiteral("400") << Field::Text22;
}

void Form1WiringTest::typedChangeRecalculates()
{
    QFETCH(Field, field);
    QFETCH(QString, typed);
    QFETCH(QString, text);
    QFETCH(Field, changed);

    Form1 form;
    QLineEdit *box = form.text(field);
    box->end(false);
    const QString before = form.text(changed)->text();
    const int runs = form.recalculationCount();

    QTest::keyClicks(box, typed);

    QCOMPARE(box->text(), text);
    QCOMPARE(form.recalculationCount(), runs + static_cast<int>(typed.size())); // one per keystroke
    QVERIFY(form.text(changed)->text() != before);
    QCOMPARE(SlipDifferences(form, ExpectedSlip(form)), QString());
}

void Form1WiringTest::backspaceThatEmptiesAFieldRecalculates_data()
{
    QTest::addColumn<Field>("field");
    QTest::addColumn<QString>("start");
    QTest::addColumn<Field>("changed");

    QTest::newRow("zone allowance") << Field::Text10 << QStringLiteral("900") << Field::Text12;
    QTest::newRow("housing allowance") << Field::Text11 << QStringLiteral("7") << Field::Text12;
    QTest::newRow("days of absence") << Field::Text20 << QStringLiteral("3") << Field::Text19;
    QTest::newRow("performance mark") << Field::Text23 << QStringLiteral("40") << Field::Text22;
}

void Form1WiringTest::backspaceThatEmptiesAFieldRecalculates()
{
    QFETCH(Field, field);
    QFETCH(QString, start);
    QFETCH(Field, changed);

    Form1 form;
    QLineEdit *box = form.text(field);
    box->setText(start);
    box->end(false);
    QCOMPARE(SlipDifferences(form, ExpectedSlip(form)), QString());
    const QString before = form.text(changed)->text();
    const int runs = form.recalculationCount();

    for (int i = 0; i < start.size(); ++i) QTest::keyClick(box, Qt::Key_Backspace);

    QCOMPARE(box->text(), QString());
    QCOMPARE(form.recalculationCount(), runs + static_cast<int>(start.size()));
    QVERIFY(form.text(changed)->text() != before);
    QCOMPARE(SlipDifferences(form, ExpectedSlip(form)), QString());
}

void Form1WiringTest::check1ClickRecalculatesBothWays()
{
    Form1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCheckBox *check = form.check1();

    int runs = form.recalculationCount();
    QTest::mouseClick(check, Qt::LeftButton);
    QVERIFY(!check->isChecked());
    QVERIFY(form.recalculationCount() > runs);
    QCOMPARE(form.text(Field::Text16)->text(), QStringLiteral("0.00"));
    QCOMPARE(form.text(Field::Text21)->text(), QStringLiteral("44003.59"));
    QCOMPARE(SlipDifferences(form, ExpectedSlip(form)), QString());

    runs = form.recalculationCount();
    QTest::mouseClick(check, Qt::LeftButton);
    QVERIFY(check->isChecked());
    QVERIFY(form.recalculationCount() > runs);
    QCOMPARE(form.text(Field::Text21)->text(), QStringLiteral("43432.12"));
    QCOMPARE(SlipDifferences(form, ExpectedSlip(form)), QString());
}

void Form1WiringTest::check1SpaceKeyRecalculates()
{
    Form1 form;
    QCheckBox *check = form.check1();
    const int runs = form.recalculationCount();
    QTest::keyClick(check, Qt::Key_Space);
    QVERIFY(!check->isChecked());
    QVERIFY(form.recalculationCount() > runs);
    QCOMPARE(SlipDifferences(form, ExpectedSlip(form)), QString());
}

QTEST_MAIN(Form1WiringTest)
#include "tst_form1_wiring.moc"
