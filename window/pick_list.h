// A drop-down list of Combo1: its selection changes only by picking an entry
// (mouse, wheel, arrow keys, F4 or Alt+Down); every typed character is
// discarded, so there is no type-ahead search, neither in the closed list
// nor in its open drop-down.
#pragma once

#include <QComboBox>

namespace paywindow {

class PickList final : public QComboBox {
    Q_OBJECT

public:
    explicit PickList(QWidget *parent = nullptr);

    void showPopup() override;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool viewFiltered_ = false;
};

} // namespace paywindow
