// The inputs of one situation, as the pay-slip window has them: the seven
// lists, the mutual-insurance box and the four typed fields, with the same
// entries, captions, keystroke filters and family-status rule. The
// comparison window edits its second situation here.
// Inputs only, no pay rule here: every amount shown for the situation comes
// from a slip computed by paycalc.
#pragma once

#include <array>

#include <QGroupBox>

#include "paycalc/situation.h"

class QCheckBox;
class QLineEdit;

namespace paywindow {

class PickList;

class SituationEditor final : public QGroupBox {
    Q_OBJECT

public:
    explicit SituationEditor(const QString &title, QWidget *parent = nullptr);

    // The situation the controls hold.
    paycalc::Situation situation() const;
    // Puts a situation into the controls; emits changed() once.
    void setSituation(const paycalc::Situation &situation);

    PickList *combo(int list) const { return combos_.at(static_cast<std::size_t>(list)); }
    QCheckBox *check() const { return check_; }
    // Text10, Text11, Text20 or Text23.
    QLineEdit *typed(paycalc::Field field) const;
    // The inputs in the pay-slip window's keyboard order.
    QList<QWidget *> tabOrder() const;

signals:
    // Any input changed; the family-status rule has been applied.
    void changed();

private:
    void onPicked();

    std::array<PickList *, paycalc::kComboCount> combos_{};
    QCheckBox *check_ = nullptr;
    QLineEdit *zone_ = nullptr;
    QLineEdit *housing_ = nullptr;
    QLineEdit *absence_ = nullptr;
    QLineEdit *mark_ = nullptr;
    bool filling_ = false;
};

// The captions of the lists and the box, as the pay-slip window labels them:
// those of the inputs table.
QString ListCaption(int list);
QString CheckCaption();

} // namespace paywindow
