// Form1 as the computation sees it: the named text boxes, the lists' texts
// and selections and the mutual-insurance box, over the window's controls.
// The two hidden working fields are kept as plain texts.
// It only reads and writes the controls' texts: no pay rule and no rounding
// here, and no signal.
#pragma once

#include <array>
#include <bitset>
#include <string>

#include "paycalc/pay_form.h"
#include "window/form1_layout.h"

namespace paywindow {

class FormAdapter final : public paycalc::PayForm {
public:
    explicit FormAdapter(const Form1Controls &controls) : controls_(controls) {}

    std::string Text(paycalc::Field field) const override;
    void SetText(paycalc::Field field, const std::string &text) override;
    std::string ListText(int list) const override;
    int ListIndex(int list) const override;
    paycalc::CheckState Check() const override;

    // Starts a run: from now on, remembers which fields are written.
    void BeginRun() { written_.reset(); }
    // Whether `field` was written since the run began.
    bool Written(paycalc::Field field) const { return written_.test(Slot(field)); }

private:
    static std::size_t Slot(paycalc::Field field) { return static_cast<std::size_t>(paycalc::Index(field)); }

    const Form1Controls &controls_;
    std::array<std::string, paycalc::kFieldCount> hidden_; // Text2000, Text2001
    std::bitset<paycalc::kFieldCount> written_;
};

} // namespace paywindow
