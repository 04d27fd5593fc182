// The keystroke filters of the typed fields, as Qt's key events and texts
// reach them; which characters pass is the engine's (paycalc/key_rules.h).
#include "window/key_filters.h"

#include <QKeyEvent>
#include <QString>

namespace paywindow {

bool IsCharacterKey(const QKeyEvent &event)
{
    if (event.text().isEmpty()) return false; // arrows, Home, End, function keys
    switch (event.key()) {
    case Qt::Key_Delete:
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return false;
    default: break;
    }
    // Ctrl or Meta make a shortcut, except Ctrl+Alt, which is how some
    // keyboards type AltGr characters.
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    const bool altGr = modifiers.testFlag(Qt::ControlModifier) && modifiers.testFlag(Qt::AltModifier);
    return altGr || !(modifiers & (Qt::ControlModifier | Qt::MetaModifier));
}

QString FilterTyped(KeyFilter filter, const QString &typed)
{
    return QString::fromStdString(paycalc::FilterTyped(filter, typed.toStdString()));
}

bool FilterAcceptsText(KeyFilter filter, const QString &text)
{
    return paycalc::FilterAcceptsText(filter, text.toStdString());
}

} // namespace paywindow
