// A typed field whose every insertion passes a keystroke filter: typed keys
// character by character, pasted and dropped text as a whole.
// It does not decide which characters a field takes (key_filters.h does)
// and computes nothing.
#pragma once

#include <QClipboard>
#include <QLineEdit>

#include "window/key_filters.h"

class QMenu;

namespace paywindow {

class FilteredLineEdit final : public QLineEdit {
    Q_OBJECT

public:
    explicit FilteredLineEdit(KeyFilter filter, QWidget *parent = nullptr);

    // The standard context menu, its Paste entry going through the filter.
    QMenu *createContextMenu();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    // Inserts the clipboard's text at the cursor (replacing the selection)
    // when the filter accepts all of it; otherwise leaves the field as it is.
    void pasteFrom(QClipboard::Mode mode);
    bool acceptsDrop(const QDropEvent &event) const;
    void countEdit();

    KeyFilter filter_;
    int editsSinceHistoryStart_ = 0;
};

} // namespace paywindow
