// Which actions recalculate the slip, and the family-status rule.
#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <QWheelEvent>

#include "form1_test_support.h"
#include "paycalc/slip.h"
#include "paycalc/fields.h"
#include "paycalc/slip.h"
#include "window/form1.h"

using paycalc::Field;
using form1test::ExpectedSlip;
using form1test::SlipDifferences;

Q_DECLARE_METATYPE(paycalc::Field)

namespace {

constexpr int kSingle = 0;
constexpr int kMarried = 1;

// The ways a user picks an entry of a list.
enum class PickBy { Key, Wheel, DropDownClick, DropDownEnter };

// One pick of entry `index`: for the key and the wheel, one step from the
// entry shown.
void Pick(QComboBox *list, int index, PickBy by)
{
    const bool down = index > list->currentIndex();
    switch (by) {
    case PickBy::Key: QTest::keyClick(list, down ? Qt::Key_Down : Qt::Key_Up); return;
    case PickBy::Wheel: {
        const QPointF centre = QRectF(list->rect()).center();
        QWheelEvent wheel(centre, list->mapToGlobal(centre), QPoint(), QPoint(0, down ? -120 : 120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(list, &wheel);
        return;
    }
    case PickBy::DropDownClick:
    case PickBy::DropDownEnter: {
        list->showPopup();
        QAbstractItemView *view = list->view();
        QTRY_VERIFY(view->isVisible());
        const QModelIndex entry = view->model()->index(index, 0);
        view->scrollTo(entry);
        view->setCurrentIndex(entry);
        if (by == PickBy::DropDownEnter) {
            QTest::keyClick(view, Qt::Key_Return);
        } else {
            // The drop-down ignores a release that comes too soon after it opened.
            QTest::qWait(QApplication::doubleClickInterval() + 50);
            QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(entry).center());
        }
        QTRY_VERIFY(!view->isVisible());
        return;
    }
    }
}

} // namespace

Q_DECLARE_METATYPE(PickBy)

class Form1WiringTest : public QObject {
    Q_OBJECT

private slots:
    void pickInAnyListRecalculates_data();
    void pickInAnyListRecalculates();
    void onePickIsOneRun_data();
    void onePickIsOneRun();
    void samePickAgainIsOneRun();
    void changeRightAfterClosingTheDropDownIsOneRun();
    void pickingSingleResetsBothChildrenCounts();
    void childrenPickWhileSingleIsUndoneAtOnce();
    void childrenPickWhileMarriedIsKept();
    void pickInAnotherListReappliesTheRule();
    void pickingSingleGivesTheRulesSituation();
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

void Form1WiringTest::onePickIsOneRun_data()
{
    QTest::addColumn<int>("list");
    QTest::addColumn<int>("index");
    QTest::addColumn<PickBy>("by");

    const struct {
        const char *name;
        int list;
        int index; // one step from the start-up selection
    } picks[] = {
        {"category 10", paycalc::kCategoryList, 9},  {"echelon 8", paycalc::kEchelonList, 8},
        {"children 2", paycalc::kChildrenList, 2},   {"over ten 1", paycalc::kOverTenList, 1},
        {"post 1", paycalc::kPostList, 1},           {"single", paycalc::kFamilyStatusList, kSingle},
        {"spouse working", paycalc::kSpouseList, 1},
    };
    const struct {
        const char *name;
        PickBy by;
    } ways[] = {{"key", PickBy::Key},
                {"wheel", PickBy::Wheel},
                {"drop-down click", PickBy::DropDownClick},
                {"drop-down Enter", PickBy::DropDownEnter}};
    for (const auto &way : ways)
        for (const auto &pick : picks)
            QTest::addRow("%s, %s", pick.name, way.name) << pick.list << pick.index << way.by;
}

// Qt reports a pick as a change of the list's text and then as its
// activation; the slip is computed once, after the family-status rule. A pick
// of "عازب" with a child resets both children counts in that one run.
void Form1WiringTest::onePickIsOneRun()
{
    QFETCH(int, list);
    QFETCH(int, index);
    QFETCH(PickBy, by);

    Form1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(form.combo(paycalc::kChildrenList)->currentText(), QStringLiteral("1"));
    const int runs = form.recalculationCount();

    Pick(form.combo(list), index, by);

    QCOMPARE(form.combo(list)->currentIndex(), index);
    QCOMPARE(form.recalculationCount(), runs + 1);
    if (list == paycalc::kFamilyStatusList) {
        QCOMPARE(form.combo(paycalc::kChildrenList)->currentText(), QStringLiteral("0"));
        QCOMPARE(form.combo(paycalc::kOverTenList)->currentText(), QStringLiteral("0"));
        QCOMPARE(form.text(Field::Text17)->text(), QStringLiteral("0.00"));
    }
    QCOMPARE(SlipDifferences(form, ExpectedSlip(form)), QString());
    // Nothing is left waiting to run once the events are handled.
    QCoreApplication::processEvents();
    QCOMPARE(form.recalculationCount(), runs + 1);
}

// Picking the entry already shown changes no text; the pick still applies
// the rule and recalculates, once.
void Form1WiringTest::samePickAgainIsOneRun()
{
    Form1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.combo(paycalc::kFamilyStatusList)->setCurrentIndex(kSingle); // by the program: no rule
    QCOMPARE(form.combo(paycalc::kChildrenList)->currentText(), QStringLiteral("1"));
    const int runs = form.recalculationCount();

    Pick(form.combo(paycalc::kFamilyStatusList), kSingle, PickBy::DropDownEnter);

    QCOMPARE(form.recalculationCount(), runs + 1);
    QCOMPARE(form.combo(paycalc::kChildrenList)->currentText(), QStringLiteral("0"));
    QCOMPARE(SlipDifferences(form, ExpectedSlip(form)), QString());
}

// A drop-down closed without a pick, then a change by the program before the
// events are handled: the change still recalculates, once.
void Form1WiringTest::changeRightAfterClosingTheDropDownIsOneRun()
{
    Form1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QComboBox *post = form.combo(paycalc::kPostList);
    post->showPopup();
    QTRY_VERIFY(post->view()->isVisible());
    QTest::keyClick(post->view(), Qt::Key_Escape);
    QTRY_VERIFY(!post->view()->isVisible());
    const int runs = form.recalculationCount();

    post->hidePopup();
    post->setCurrentIndex(4);

    QTRY_COMPARE(form.recalculationCount(), runs + 1);
    QCOMPARE(SlipDifferences(form, ExpectedSlip(form)), QString());
    QCoreApplication::processEvents();
    QCOMPARE(form.recalculationCount(), runs + 1);
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

// The window's lists after a pick of "single" are what the rule's home makes
// of the situation, and so is the slip.
void Form1WiringTest::pickingSingleGivesTheRulesSituation()
{
    Form1 form;
    form1test::PickByKeyboard(form.combo(paycalc::kChildrenList), 3);
    form1test::PickByKeyboard(form.combo(paycalc::kOverTenList), 2);
    paycalc::Situation expected;
    expected.children = 3;
    expected.overTen = 2;
    expected.status = kSingle;
    QVERIFY(paycalc::ApplyFamilyStatusRule(expected));

    form1test::PickByKeyboard(form.combo(paycalc::kFamilyStatusList), kSingle);

    for (int list = 0; list < paycalc::kComboCount; ++list)
        QCOMPARE(form.combo(list)->currentIndex(), expected.ListPosition(list));
    const paycalc::Slip slip = paycalc::ComputeSlip(expected);
    QVERIFY(slip.ok());
    for (Field line : paycalc::kComputedFields) QCOMPARE(form.payForm().Text(line), slip.Text(line));
}

void Form1WiringTest::listChangeWithoutPickRecalculatesWithoutTheRule()
{
    Form1 form;
    const int runs = form.recalculationCount();
    form.combo(paycalc::kFamilyStatusList)->setCurrentIndex(kSingle);

    QCOMPARE(form.recalculationCount(), runs + 1); // at once, without waiting for a pick
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
    QTest::newRow("housing allowance") << Field::Text11 << QStringLiteral("12.5") << QStringLiteral("012.5")
                                       << Field::Text12;
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
