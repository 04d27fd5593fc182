// Key codes and the character test shared by the typed fields and the lists.
// It only says whether a key is allowed: it changes no text and knows no
// field's meaning.
#pragma once

#include <QtGlobal>

class QChar;
class QKeyEvent;
class QString;

namespace paywindow {

// A keystroke filter: takes the key code of one typed character and gives the
// code to let through, or 0 to discard the keystroke.
using KeyFilter = qint16 (*)(qint16 &IntKeyAscii);

// The key code a typed character carries: its ASCII code. Characters beyond
// ASCII (letters and digits of other scripts) carry 0, which every filter
// discards.
qint16 KeyCode(QChar c);

// Whether a key event types characters, as opposed to moving the cursor,
// deleting forward, changing focus or invoking a shortcut (Ctrl+C, Ctrl+Z...).
// Backspace, Enter and Escape type characters (codes 8, 13, 27).
bool IsCharacterKey(const QKeyEvent &event);

// The characters of a keystroke that `filter` lets through, in order.
QString FilterTyped(KeyFilter filter, const QString &typed);

// Whether `filter` lets every character of a pasted or dropped text through.
// A pasted backspace is no edit, so it is refused like any control character.
bool FilterAcceptsText(KeyFilter filter, const QString &text);

} // namespace paywindow
