// A pay form held in memory, filled the way the window fills itself at
// start-up: initial texts, the list entries and the default selections. The
// tests, the benchmarks and the fuzzers recalculate on it.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "paycalc/pay_form.h"
#include "paycalc/situation.h"

namespace paycalc {

class MemoryForm final : public PayForm {
public:
    // Lists filled and selected as at start-up; no recalculation yet.
    MemoryForm();

    std::string Text(Field field) const override;
    void SetText(Field field, const std::string &text) override;
    std::string ListText(int list) const override;
    int ListIndex(int list) const override;
    CheckState Check() const override;

    // Picks entry `index` of Combo1(list) (-1 clears the selection); the
    // list's text becomes that entry.
    void Select(int list, int index);
    // Changes the list's text without picking an entry.
    void SetListText(int list, std::string text);
    void SetCheck(CheckState state) { check_ = state; }
    int ListCount(int list) const;

private:
    struct Combo {
        std::vector<std::string> entries;
        int index = -1;
        std::string text;
    };
    std::array<std::string, kFieldCount> texts_;
    std::array<Combo, kComboCount> combos_;
    CheckState check_;
};

// Puts the situation into the form's lists, check box and typed fields, as
// picks and typing in the window would.
void FillForm(MemoryForm &form, const Situation &situation);

} // namespace paycalc
