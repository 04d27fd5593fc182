// The inputs of one situation, as the pay-slip window has them: the seven
// lists, the mutual-insurance box and the four typed fields, with the same
// entries, captions, keystroke filters and family-status rule. The
// comparison window edits its second situation here.
// Inputs only, no pay rule here: every amount shown for the situation comes
// from a slip computed by paycalc.
#pragma once

#include <QGroupBox>

#include "paycalc/slip.h"
#include "window/form_adapter.h"

namespace paywindow {

class SituationEditor final : public QGroupBox {
    Q_OBJECT

public:
    explicit SituationEditor(const QString &title, QWidget *parent = nullptr);

    // The situation the controls hold.
    paycalc::Situation situation() const { return paycalc::SituationOf(form_); }
    // Puts a situation into the controls; emits changed() once.
    void setSituation(const paycalc::Situation &situation);

    PickList *combo(int list) const { return controls_.combos.at(static_cast<std::size_t>(list)); }
    QCheckBox *check() const { return controls_.check1; }
    // Text10, Text11, Text20 or Text23; null for any other field.
    QLineEdit *typed(paycalc::Field field) const { return controls_.texts[static_cast<std::size_t>(Index(field))]; }
    // The inputs in the pay-slip window's keyboard order.
    QList<QWidget *> tabOrder() const { return InputOrder(controls_); }

signals:
    // Any input changed; the family-status rule has been applied.
    void changed();

private:
    Form1Controls controls_;
    FormAdapter form_{controls_};
    bool filling_ = false;
};

} // namespace paywindow
