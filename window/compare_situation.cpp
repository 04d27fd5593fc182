#include "window/compare_situation.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

#include "paycalc/key_rules.h"
#include "window/filtered_line_edit.h"
#include "window/form1.h"
#include "window/pick_list.h"
#include "report/text_direction.h"

namespace paywindow {

using paycalc::Field;
using report::Utf8;

SituationEditor::SituationEditor(const QString &title, QWidget *parent) : QGroupBox(title, parent)
{
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(6, 4, 6, 4);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(3);

    // A caption beside its field, read from the right; the field says the
    // caption to a screen reader.
    const auto place = [&](const QString &caption, const QString &name, QWidget *field, int row, int column,
                           int span = 1, int labelSpan = 1) {
        auto *label = new QLabel(caption, this);
        label->setBuddy(field);
        grid->addWidget(label, row, column, 1, labelSpan);
        grid->addWidget(field, row, column + labelSpan, 1, span);
        field->setAccessibleName(name);
    };
    // setSituation announces its changes once, when it is done.
    const auto changedUnlessFilling = [this] {
        if (!filling_) emit changed();
    };

    for (int list = 0; list < paycalc::kComboCount; ++list) {
        auto *combo = new PickList(this);
        combo->setObjectName(QStringLiteral("Combo1(%1)").arg(list));
        for (const std::string &entry : paycalc::ComboEntries(list)) combo->addItem(Utf8(entry));
        combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        combo->setMinimumContentsLength(list == paycalc::kPostList ? 8 : 2);
        controls_.combos[static_cast<std::size_t>(list)] = combo;
        // A pick applies the family-status rule; any other change of a list
        // (a selection set by the program) only counts as a change.
        connect(combo, &QComboBox::activated, this, [this] {
            Form1::ApplyFamilyStatusRule(controls_);
            emit changed();
        });
        connect(combo, &QComboBox::currentIndexChanged, this, changedUnlessFilling);
    }
    auto *check = new QCheckBox(QStringLiteral("مشترك"), this);
    controls_.check1 = check;
    check->setObjectName(QStringLiteral("Check1"));
    check->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed); // a click beside it is no click on it
    connect(check, &QCheckBox::toggled, this, changedUnlessFilling);

    // The same filters as the pay-slip window: amounts and the days of
    // absence take digits and the point, the mark whole numbers.
    for (Field field : paycalc::kTypedFields) {
        auto *box = new FilteredLineEdit(paycalc::KeyFilterOf(field), this);
        box->setObjectName(Utf8(paycalc::FieldName(field)));
        box->setAlignment(Qt::AlignCenter);
        box->setText(Utf8(paycalc::InitialText(field)));
        connect(box, &QLineEdit::textChanged, this, changedUnlessFilling);
        controls_.texts[static_cast<std::size_t>(paycalc::Index(field))] = box;
    }

    const auto listRow = [&](int list, int row, int column, int span = 1) {
        place(ListCaption(list), CaptionTitle(ListCaption(list)), combo(list), row, column, span);
    };
    const auto typedRow = [&](Field field, int row, int column, int span = 1, int labelSpan = 1) {
        place(Utf8(paycalc::FieldCaption(field)), Utf8(paycalc::FieldTitle(field)), typed(field), row, column, span,
              labelSpan);
    };
    listRow(paycalc::kCategoryList, 0, 0);
    listRow(paycalc::kEchelonList, 0, 2);
    listRow(paycalc::kPostList, 1, 0, 3);
    listRow(paycalc::kChildrenList, 2, 0);
    listRow(paycalc::kOverTenList, 2, 2);
    listRow(paycalc::kFamilyStatusList, 3, 0);
    listRow(paycalc::kSpouseList, 3, 2);
    place(CheckCaption(), CaptionTitle(CheckCaption()), check, 4, 0);
    typedRow(Field::Text20, 4, 2);
    typedRow(Field::Text10, 5, 0);
    typedRow(Field::Text11, 5, 2);
    typedRow(Field::Text23, 6, 0, 2, 2); // a long caption: two columns for it
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);

    setSituation(paycalc::Situation{});
}

void SituationEditor::setSituation(const paycalc::Situation &situation)
{
    filling_ = true;
    for (int list = 0; list < paycalc::kComboCount; ++list) combo(list)->setCurrentIndex(situation.ListPosition(list));
    check()->setChecked(situation.mutual);
    for (Field field : paycalc::kTypedFields) typed(field)->setText(QString::fromStdString(situation.Typed(field)));
    filling_ = false;
    emit changed();
}

} // namespace paywindow
