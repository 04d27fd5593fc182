#include "window/pick_list.h"

#include <QAbstractItemView>
#include <QInputMethodEvent>
#include <QKeyEvent>

#include "window/key_filters.h"

namespace paywindow {

namespace {

// In the open drop-down, Enter, Escape and the arrows still pick or close;
// printable characters would only start a search.
bool IsSearchKey(const QKeyEvent &event)
{
    return IsCharacterKey(event) && event.text().front().isPrint();
}

} // namespace

PickList::PickList(QWidget *parent) : QComboBox(parent)
{
    setEditable(false);
}

void PickList::showPopup()
{
    // The drop-down is made on first use, so it is watched from then on.
    if (!viewFiltered_) {
        view()->installEventFilter(this);
        viewFiltered_ = true;
    }
    QComboBox::showPopup();
}

void PickList::keyPressEvent(QKeyEvent *event)
{
    if (IsCharacterKey(*event)) {
        event->accept(); // every typed character is discarded, backspace included
        return;
    }
    QComboBox::keyPressEvent(event);
}

void PickList::inputMethodEvent(QInputMethodEvent *event)
{
    event->accept(); // composed text is typed text too
}

bool PickList::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == view() && event->type() == QEvent::KeyPress &&
        IsSearchKey(*static_cast<QKeyEvent *>(event)))
        return true;
    return QComboBox::eventFilter(watched, event);
}

} // namespace paywindow
