#include "window/compare_situation.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>

#include "paycalc/situation.h"
#include "paycalc/situation_inputs.h"
#include "window/filtered_line_edit.h"
#include "window/form1.h"
#include "window/form1_layout.h"
#include "window/pick_list.h"
#include "report/text_direction.h"

namespace paywindow {

using paycalc::Field;

namespace {

using report::Utf8;

} // namespace

QString ListCaption(int list) { return Utf8(paycalc::CaptionOf(paycalc::InputOfList(list))); }

QString CheckCaption() { return Utf8(paycalc::CaptionOf(paycalc::InputOf(paycalc::Input::Mutual))); }

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

    for (int list = 0; list < paycalc::kComboCount; ++list) {
        auto *combo = new PickList(this);
        combo->setObjectName(QStringLiteral("Combo1(%1)").arg(list));
        for (const std::string &entry : paycalc::ComboEntries(list)) combo->addItem(Utf8(entry));
        combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        combo->setMinimumContentsLength(list == paycalc::kPostList ? 8 : 2);
        combos_[static_cast<std::size_t>(list)] = combo;
        // A pick applies the family-status rule; any other change of a list
        // (a selection set by the program) only counts as a change.
        connect(combo, &QComboBox::activated, this, &SituationEditor::onPicked);
        connect(combo, &QComboBox::currentIndexChanged, this, [this] {
            if (!filling_) emit changed();
        });
    }
    check_ = new QCheckBox(QStringLiteral("مشترك"), this);
    check_->setObjectName(QStringLiteral("Check1"));
    check_->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed); // a click beside it is no click on it
    connect(check_, &QCheckBox::toggled, this, [this] {
        if (!filling_) emit changed();
    });

    const auto typedField = [&](Field field, KeyFilter filter) {
        auto *box = new FilteredLineEdit(filter, this);
        box->setObjectName(Utf8(paycalc::FieldName(field)));
        box->setAlignment(Qt::AlignCenter);
        box->setText(Utf8(paycalc::InitialText(field)));
        connect(box, &QLineEdit::textChanged, this, [this] {
            if (!filling_) emit changed();
        });
        return box;
    };
    // The same filters as the pay-slip window: amounts and the days of
    // absence take digits and the point, the mark whole numbers.
    zone_ = typedField(Field::Text10, &Form1::gWriteOnleNumber);
    housing_ = typedField(Field::Text11, &Form1::gWriteOnleNumber);
    absence_ = typedField(Field::Text20, &Form1::gWriteOnleNumber);
    mark_ = typedField(Field::Text23, &Form1::gWriteOnleNumber1);

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
    place(CheckCaption(), CaptionTitle(CheckCaption()), check_, 4, 0);
    typedRow(Field::Text20, 4, 2);
    typedRow(Field::Text10, 5, 0);
    typedRow(Field::Text11, 5, 2);
    typedRow(Field::Text23, 6, 0, 2, 2); // a long caption: two columns for it
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);

    setSituation(paycalc::Situation{});
}

QLineEdit *SituationEditor::typed(Field field) const
{
    switch (field) {
    case Field::Text10: return zone_;
    case Field::Text11: return housing_;
    case Field::Text20: return absence_;
    case Field::Text23: return mark_;
    default: return nullptr;
    }
}

QList<QWidget *> SituationEditor::tabOrder() const
{
    return {combo(paycalc::kCategoryList),
            combo(paycalc::kEchelonList),
            combo(paycalc::kPostList),
            combo(paycalc::kChildrenList),
            combo(paycalc::kOverTenList),
            combo(paycalc::kFamilyStatusList),
            combo(paycalc::kSpouseList),
            check_,
            absence_,
            zone_,
            housing_,
            mark_};
}

paycalc::Situation SituationEditor::situation() const
{
    paycalc::Situation s;
    for (int list = 0; list < paycalc::kComboCount; ++list) s.SetListPosition(list, combo(list)->currentIndex());
    s.mutual = check_->isChecked();
    for (Field field : paycalc::kTypedFields) s.Typed(field) = typed(field)->text().toStdString();
    return s;
}

void SituationEditor::setSituation(const paycalc::Situation &situation)
{
    filling_ = true;
    for (int list = 0; list < paycalc::kComboCount; ++list) combo(list)->setCurrentIndex(situation.ListPosition(list));
    check_->setChecked(situation.mutual);
    for (Field field : paycalc::kTypedFields) typed(field)->setText(QString::fromStdString(situation.Typed(field)));
    filling_ = false;
    emit changed();
}

// The family-status rule (a single employee's children counts held at 0),
// whichever list was picked; the change that follows covers them.
void SituationEditor::onPicked()
{
    const auto held = paycalc::ListsHeldAtZero(combo(paycalc::kFamilyStatusList)->currentIndex());
    if (!held.empty()) {
        filling_ = true;
        for (int list : held) combo(list)->setCurrentIndex(0);
        filling_ = false;
    }
    emit changed();
}

} // namespace paywindow
