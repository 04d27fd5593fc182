#include "tests/memory_form.h"
#include "form1_test_support.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>

#include "paycalc/recalculate.h"
#include "window/form1.h"

namespace form1test {

using paycalc::Field;

paycalc::MemoryForm InputsOf(const Form1 &form)
{
    paycalc::MemoryForm inputs;
    for (int list = 0; list < paycalc::kComboCount; ++list) {
        inputs.Select(list, form.combo(list)->currentIndex());
        inputs.SetListText(list, form.combo(list)->currentText().toStdString());
    }
    for (Field typed : paycalc::kTypedFields) inputs.SetText(typed, form.text(typed)->text().toStdString());
    inputs.SetCheck(form.check1()->isChecked() ? paycalc::CheckState::Checked : paycalc::CheckState::Unchecked);
    return inputs;
}

paycalc::MemoryForm ExpectedSlip(const Form1 &form)
{
    paycalc::MemoryForm slip = InputsOf(form);
    paycalc::RecalculateAll(slip);
    return slip;
}

QString SlipDifferences(Form1 &form, const paycalc::MemoryForm &expected)
{
    QString differences;
    for (int i = 0; i < paycalc::kFieldCount; ++i) {
        const auto field = static_cast<Field>(i);
        const std::string shown = form.payForm().Text(field);
        if (shown != expected.Text(field))
            differences += QStringLiteral("%1: window \"%2\", computation \"%3\"\n")
                               .arg(QString::fromUtf8(paycalc::FieldName(field).data(),
                                                      static_cast<qsizetype>(paycalc::FieldName(field).size())),
                                    QString::fromStdString(shown), QString::fromStdString(expected.Text(field)));
    }
    return differences;
}

QString ComputedTexts(Form1 &form)
{
    QString texts;
    for (Field field : paycalc::kComputedFields)
        texts += QString::fromStdString(form.payForm().Text(field)) + QLatin1Char(';');
    return texts;
}

void PickByKeyboard(QComboBox *list, int index)
{
    while (list->currentIndex() != index) {
        const int before = list->currentIndex();
        QTest::keyClick(list, index > before ? Qt::Key_Down : Qt::Key_Up);
        if (list->currentIndex() == before) return; // held by a rule: the pick is undone at once
    }
}

void TypeCharacter(QWidget *widget, QChar c)
{
    const int key = c.isDigit() && c.unicode() < 128    ? Qt::Key_0 + (c.unicode() - u'0')
                    : c.unicode() < 128 && c.isLetter() ? Qt::Key_A + (c.toUpper().unicode() - u'A')
                    : c.unicode() < 128                 ? c.unicode()
                                                        : 0;
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(c));
    QCoreApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(c));
    QCoreApplication::sendEvent(widget, &release);
}

void TypeText(QWidget *widget, const QString &text)
{
    for (QChar c : text) TypeCharacter(widget, c);
}

void SelectAll(QWidget *widget) { QTest::keyClick(widget, Qt::Key_A, Qt::ControlModifier); }

} // namespace form1test
