#include "tests/memory_form.h"

namespace paycalc {

MemoryForm::MemoryForm() : check_(kMutualTickedAtStartup ? CheckState::Checked : CheckState::Unchecked)
{
    for (int f = 0; f < kFieldCount; ++f)
        texts_[static_cast<std::size_t>(f)] = std::string(InitialText(static_cast<Field>(f)));
    for (int list = 0; list < kComboCount; ++list) {
        combos_[static_cast<std::size_t>(list)].entries = ComboEntries(list);
        Select(list, kStartupSelection[static_cast<std::size_t>(list)]);
    }
}

std::string MemoryForm::Text(Field field) const { return texts_[static_cast<std::size_t>(field)]; }

void MemoryForm::SetText(Field field, const std::string &text) { texts_[static_cast<std::size_t>(field)] = text; }

std::string MemoryForm::ListText(int list) const { return combos_.at(static_cast<std::size_t>(list)).text; }

int MemoryForm::ListIndex(int list) const { return combos_.at(static_cast<std::size_t>(list)).index; }

CheckState MemoryForm::Check() const { return check_; }

void MemoryForm::Select(int list, int index)
{
    Combo &combo = combos_.at(static_cast<std::size_t>(list));
    if (index < 0 || index >= static_cast<int>(combo.entries.size())) {
        combo.index = -1;
        combo.text.clear();
        return;
    }
    combo.index = index;
    combo.text = combo.entries[static_cast<std::size_t>(index)];
}

void MemoryForm::SetListText(int list, std::string text)
{
    combos_.at(static_cast<std::size_t>(list)).text = std::move(text);
}

int MemoryForm::ListCount(int list) const
{
    return static_cast<int>(combos_.at(static_cast<std::size_t>(list)).entries.size());
}

void FillForm(MemoryForm &form, const Situation &situation)
{
    for (int list = 0; list < kComboCount; ++list) form.Select(list, situation.ListPosition(list));
    form.SetCheck(situation.mutual ? CheckState::Checked : CheckState::Unchecked);
    for (Field typed : kTypedFields) form.SetText(typed, situation.Typed(typed));
}

} // namespace paycalc
