#include "window/pick_list.h"

#include <QAbstractItemView>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QTimer>
#include <QWheelEvent>

#include "window/key_filters.h"

namespace paywindow {

namespace {

// In the open drop-down, Enter, Escape and the arrows still pick or close;
// printable characters would only start a search.
bool IsSearchKey(const QKeyEvent &event) { return IsCharacterKey(event) && event.text().front().isPrint(); }

} // namespace

PickList::PickList(QWidget *parent) : QComboBox(parent)
{
    setEditable(false);
    // Connected before anyone else's: the pick is known to the list before
    // the window handles it.
    connect(this, &QComboBox::activated, this, [this] { changeWaiting_ = false; });
    connect(this, &QComboBox::currentTextChanged, this, &PickList::onTextChanged);
}

void PickList::beginPick() { ++picking_; }

// A change of text that no activation followed is reported after all, so
// that no change of the list goes unnoticed.
void PickList::endPick()
{
    if (--picking_ > 0 || !changeWaiting_) return;
    changeWaiting_ = false;
    emit changedWithoutPick(currentText());
}

void PickList::onTextChanged(const QString &text)
{
    if (picking_ > 0) {
        changeWaiting_ = true; // the activation follows at once
        return;
    }
    emit changedWithoutPick(text);
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

// The drop-down closes just before it hands over the entry picked in it (a
// click or Enter), or without a pick (Escape, a click outside). Either way
// the pick, if any, is made before control returns to the event loop.
void PickList::hidePopup()
{
    QComboBox::hidePopup();
    beginPick();
    QTimer::singleShot(0, this, &PickList::endPick);
}

void PickList::keyPressEvent(QKeyEvent *event)
{
    if (IsCharacterKey(*event)) {
        event->accept(); // every typed character is discarded, backspace included
        return;
    }
    beginPick(); // the arrows, Page Up and Down, Home and End pick
    QComboBox::keyPressEvent(event);
    endPick();
}

void PickList::wheelEvent(QWheelEvent *event)
{
    beginPick();
    QComboBox::wheelEvent(event);
    endPick();
}

void PickList::inputMethodEvent(QInputMethodEvent *event)
{
    event->accept(); // composed text is typed text too
}

bool PickList::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == view() && event->type() == QEvent::KeyPress && IsSearchKey(*static_cast<QKeyEvent *>(event)))
        return true;
    return QComboBox::eventFilter(watched, event);
}

} // namespace paywindow
