// Form1 after start-up: the lists filled and selected, the first slip shown.
#include <QCheckBox>
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

class Form1StartupTest : public QObject {
    Q_OBJECT

private slots:
    void listsAreFilledAndSelected_data();
    void listsAreFilledAndSelected();
    void numericListsAreNotSortedAsText();
    void slipIsTheComputationOfTheStartupInputs();
    void slipShowsTheWorkedFigures();
    void typedFieldsHoldTheirInitialTexts();
    void oneRecalculationAtStartup();
    void noMessageAtStartup();
};

void Form1StartupTest::listsAreFilledAndSelected_data()
{
    QTest::addColumn<int>("list");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("shown");

    QTest::newRow("Combo1(0) category") << int(paycalc::kCategoryList) << 17 << QStringLiteral("11");
    QTest::newRow("Combo1(1) echelon") << int(paycalc::kEchelonList) << 13 << QStringLiteral("7");
    QTest::newRow("Combo1(2) children") << int(paycalc::kChildrenList) << 13 << QStringLiteral("1");
    QTest::newRow("Combo1(3) over ten") << int(paycalc::kOverTenList) << 13 << QStringLiteral("0");
    QTest::newRow("Combo1(4) specific post") << int(paycalc::kPostList) << 11 << QString();
    QTest::newRow("Combo1(5) family status") << int(paycalc::kFamilyStatusList) << 2 << QStringLiteral("متزوج");
    QTest::newRow("Combo1(6) spouse") << int(paycalc::kSpouseList) << 2 << QStringLiteral("ماكثة");
}

void Form1StartupTest::listsAreFilledAndSelected()
{
    QFETCH(int, list);
    QFETCH(int, count);
    QFETCH(QString, shown);

    Form1 form;
    QComboBox *combo = form.combo(list);
    QCOMPARE(combo->count(), count);
    const std::vector<std::string> entries = paycalc::ComboEntries(list);
    QCOMPARE(static_cast<std::size_t>(combo->count()), entries.size());
    for (int i = 0; i < combo->count(); ++i)
        QCOMPARE(combo->itemText(i), QString::fromStdString(entries[static_cast<std::size_t>(i)]));
    QCOMPARE(combo->currentIndex(), paycalc::kStartupSelection[static_cast<std::size_t>(list)]);
    QCOMPARE(combo->currentText(), shown);
    QVERIFY(!combo->isEditable());
}

void Form1StartupTest::numericListsAreNotSortedAsText()
{
    Form1 form;
    QCOMPARE(form.combo(paycalc::kCategoryList)->itemText(0), QStringLiteral("1"));
    QCOMPARE(form.combo(paycalc::kCategoryList)->itemText(9), QStringLiteral("10"));
    QCOMPARE(form.combo(paycalc::kCategoryList)->itemText(16), QStringLiteral("17"));
    for (int list : {paycalc::kEchelonList, paycalc::kChildrenList, paycalc::kOverTenList}) {
        QCOMPARE(form.combo(list)->itemText(0), QStringLiteral("0"));
        QCOMPARE(form.combo(list)->itemText(10), QStringLiteral("10"));
        QCOMPARE(form.combo(list)->itemText(12), QStringLiteral("12"));
    }
    QCOMPARE(form.combo(paycalc::kPostList)->itemText(0), QString());
}

void Form1StartupTest::slipIsTheComputationOfTheStartupInputs()
{
    Form1 form;
    paycalc::MemoryForm startup; // the inputs as the window defines them
    paycalc::RecalculateAll(startup);
    QCOMPARE(form1test::SlipDifferences(form, startup), QString());
}

void Form1StartupTest::slipShowsTheWorkedFigures()
{
    Form1 form;
    QVERIFY(form.check1()->isChecked());
    QCOMPARE(form.text(Field::Text1)->text(), QStringLiteral("22410.00"));
    QCOMPARE(form.text(Field::Text2)->text(), QStringLiteral("7830.00"));
    QCOMPARE(form.text(Field::Text16)->text(), QStringLiteral("571.47"));
    QCOMPARE(form.text(Field::Text21)->text(), QStringLiteral("43432.12"));
    QCOMPARE(form.text(Field::Text22)->text(), QStringLiteral("29719.87"));
}

void Form1StartupTest::typedFieldsHoldTheirInitialTexts()
{
    Form1 form;
    QCOMPARE(form.text(Field::Text10)->text(), QStringLiteral("0"));
    QCOMPARE(form.text(Field::Text11)->text(), QStringLiteral("0"));
    QCOMPARE(form.text(Field::Text20)->text(), QStringLiteral("0"));
    QCOMPARE(form.text(Field::Text23)->text(), QStringLiteral("40"));
}

void Form1StartupTest::oneRecalculationAtStartup()
{
    Form1 form;
    QCOMPARE(form.recalculationCount(), 1);
}

void Form1StartupTest::noMessageAtStartup()
{
    Form1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QVERIFY(!form.messageLabel()->isVisible());
    QVERIFY(form.messageLabel()->text().isEmpty());
}

QTEST_MAIN(Form1StartupTest)
#include "tst_form1_startup.moc"
