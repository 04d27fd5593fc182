// Qt's side of the keystroke filters shared by the typed fields and the
// lists: which key events type characters, and the engine's filters
// (paycalc/key_rules.h) applied to a QString. It only says whether a key is
// allowed: it changes no text and knows no field's meaning.
#pragma once

#include "paycalc/key_rules.h"

class QKeyEvent;
class QString;

namespace paywindow {

using paycalc::KeyFilter;

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
