#include "window/form_adapter.h"

#include <QCheckBox>
#include <QLineEdit>

#include "window/pick_list.h"

namespace paywindow {

std::string FormAdapter::Text(paycalc::Field field) const
{
    if (const QLineEdit *box = controls_.texts[Slot(field)]) return box->text().toStdString();
    return hidden_[Slot(field)];
}

void FormAdapter::SetText(paycalc::Field field, const std::string &text)
{
    written_.set(Slot(field));
    if (QLineEdit *box = controls_.texts[Slot(field)]) {
        const QString shown = QString::fromStdString(text);
        if (box->text() != shown) box->setText(shown);
        return;
    }
    hidden_[Slot(field)] = text;
}

std::string FormAdapter::ListText(int list) const
{
    return controls_.combos.at(static_cast<std::size_t>(list))->currentText().toStdString();
}

int FormAdapter::ListIndex(int list) const
{
    return controls_.combos.at(static_cast<std::size_t>(list))->currentIndex();
}

paycalc::CheckState FormAdapter::Check() const
{
    switch (controls_.check1->checkState()) {
    case Qt::Checked: return paycalc::CheckState::Checked;
    case Qt::PartiallyChecked: return paycalc::CheckState::Grayed;
    case Qt::Unchecked: break;
    }
    return paycalc::CheckState::Unchecked;
}

} // namespace paywindow
