// A drop-down list of Combo1 whose selection changes only by a pick (mouse,
// wheel, arrows, F4, Alt+Down): typed characters are discarded, so there is no
// type-ahead search, closed or open. QComboBox reports a pick twice (a change
// of text, then activated()); this list reports it once, by activated(), and
// as changedWithoutPick() only the changes no pick follows (set by the program).
// It knows nothing of the slip: the family-status rule and the recalculation
// are Form1's.
#pragma once

#include <QComboBox>

namespace paywindow {

class PickList final : public QComboBox {
    Q_OBJECT

public:
    explicit PickList(QWidget *parent = nullptr);

    void showPopup() override;
    void hidePopup() override;

signals:
    // The list's text changed other than by a pick.
    void changedWithoutPick(const QString &text);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // While a user action that may pick runs, a change of the text waits
    // for the activation that follows it.
    void beginPick();
    void endPick();
    void onTextChanged(const QString &text);

    bool viewFiltered_ = false;
    int picking_ = 0;            // nested user actions that may pick
    bool changeWaiting_ = false; // a change of text seen while picking, no activation yet
};

} // namespace paywindow
