#include "window/filtered_line_edit.h"

#include <QAction>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>

namespace paywindow {

namespace {
// QLineEdit keeps every edit for undo and never trims its history, so a long
// session of typing would keep growing it: the history starts afresh after
// this many edits.
constexpr int kHistoryEdits = 200;
} // namespace

FilteredLineEdit::FilteredLineEdit(KeyFilter filter, QWidget *parent) : QLineEdit(parent), filter_(filter)
{
    connect(this, &QLineEdit::textEdited, this, &FilteredLineEdit::countEdit);
}

void FilteredLineEdit::countEdit()
{
    if (++editsSinceHistoryStart_ < kHistoryEdits) return;
    // Setting the same text starts the undo history afresh and changes
    // nothing else: no change signal, the cursor and selection put back.
    const int cursor = cursorPosition();
    const int selectionFrom = selectionStart();
    const qsizetype selected = selectedText().size();
    setText(text());
    if (selectionFrom >= 0 && selected > 0) {
        const bool cursorAtStart = cursor == selectionFrom;
        setSelection(cursorAtStart ? selectionFrom + static_cast<int>(selected) : selectionFrom,
                     cursorAtStart ? -static_cast<int>(selected) : static_cast<int>(selected));
    } else {
        setCursorPosition(cursor);
    }
    editsSinceHistoryStart_ = 0;
}

void FilteredLineEdit::pasteFrom(QClipboard::Mode mode)
{
    const QString text = QGuiApplication::clipboard()->text(mode);
    if (!isReadOnly() && FilterAcceptsText(filter_, text)) insert(text);
}

void FilteredLineEdit::keyPressEvent(QKeyEvent *event)
{
    if (event->matches(QKeySequence::Paste)) { // Ctrl+V, Shift+Insert
        pasteFrom(QClipboard::Clipboard);
        event->accept();
        return;
    }
    if (!IsCharacterKey(*event)) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    const QString passed = FilterTyped(filter_, event->text());
    if (passed == event->text()) {
        QLineEdit::keyPressEvent(event);
    } else if (!passed.isEmpty()) {
        // Several characters in one event (key compression): keep those the
        // filter lets through.
        QKeyEvent kept(event->type(), event->key(), event->modifiers(), passed, event->isAutoRepeat(),
                       static_cast<quint16>(event->count()));
        QLineEdit::keyPressEvent(&kept);
        event->setAccepted(kept.isAccepted());
    } else {
        event->accept(); // discarded keystroke: nothing happens
    }
}

void FilteredLineEdit::inputMethodEvent(QInputMethodEvent *event)
{
    if (event->commitString().isEmpty() || FilterAcceptsText(filter_, event->commitString())) {
        QLineEdit::inputMethodEvent(event);
        return;
    }
    // The composed text is refused: end the composition without inserting it.
    QInputMethodEvent refused;
    QLineEdit::inputMethodEvent(&refused);
}

QMenu *FilteredLineEdit::createContextMenu()
{
    QMenu *menu = createStandardContextMenu();
    // The Paste entry is the one wired to QLineEdit::paste (by name in older
    // Qt versions, by member pointer in newer ones).
    for (QAction *action : menu->actions()) {
        const bool paste = disconnect(action, SIGNAL(triggered()), this, SLOT(paste())) ||
                           disconnect(action, &QAction::triggered, this, &QLineEdit::paste);
        if (!paste) continue;
        action->setObjectName(QStringLiteral("edit-paste"));
        connect(action, &QAction::triggered, this, [this] { pasteFrom(QClipboard::Clipboard); });
    }
    return menu;
}

void FilteredLineEdit::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu *menu = createContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

void FilteredLineEdit::mouseReleaseEvent(QMouseEvent *event)
{
    // The middle button pastes the selection of the X11 clipboard.
    if (event->button() == Qt::MiddleButton && QGuiApplication::clipboard()->supportsSelection()) {
        if (!isReadOnly()) {
            deselect();
            pasteFrom(QClipboard::Selection);
        }
        event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

bool FilteredLineEdit::acceptsDrop(const QDropEvent &event) const
{
    return !isReadOnly() && event.mimeData()->hasText() && FilterAcceptsText(filter_, event.mimeData()->text());
}

void FilteredLineEdit::dragEnterEvent(QDragEnterEvent *event)
{
    if (acceptsDrop(*event)) QLineEdit::dragEnterEvent(event);
    else event->ignore();
}

void FilteredLineEdit::dragMoveEvent(QDragMoveEvent *event)
{
    if (acceptsDrop(*event)) QLineEdit::dragMoveEvent(event);
    else event->ignore();
}

void FilteredLineEdit::dropEvent(QDropEvent *event)
{
    if (acceptsDrop(*event)) QLineEdit::dropEvent(event);
    else event->ignore();
}

} // namespace paywindow
