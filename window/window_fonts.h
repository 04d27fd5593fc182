// The window's fonts: Arial 12 pt bold where it is installed, otherwise an
// installed font that writes Arabic, so Arabic is always shaped and joined.
// Fonts only: no control's size or position is decided here.
#pragma once

#include <QFont>
#include <QString>

namespace paywindow {

// The font of the window and of every control without a font of its own.
// The choice is made once per run.
QFont WindowFont();

// The window's family at another size and weight.
QFont WindowFont(qreal points, bool bold);

// `font`, made smaller if need be so that every line of `text` fits in
// `width` pixels. The sizes of the window are made for Arial; a substitute
// font may be wider.
QFont FitToWidth(const QFont &font, const QString &text, int width);

// `font`, made smaller if need be so that `text`, wrapped at word boundaries,
// fits in `width` × `height` pixels.
QFont FitToBox(const QFont &font, const QString &text, int width, int height);

} // namespace paywindow
