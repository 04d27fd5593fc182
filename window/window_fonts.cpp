#include "window/window_fonts.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QStringList>

#include <algorithm>
#include <cmath>

namespace paywindow {

namespace {

constexpr qreal kWindowPoints = 12;
constexpr qreal kSmallestPoints = 6;

QString ChooseFamily()
{
    // Looked up in the list of installed families: asking for one family by
    // name would run it through the system's alias rules, which costs more at
    // start-up than the whole list.
    const QStringList arabic = QFontDatabase::families(QFontDatabase::Arabic);
    const QString arial = QStringLiteral("Arial");
    if (arabic.contains(arial)) return arial;
    // Substitutes that write Arabic: Naskh first, the style of Arial's own
    // Arabic and the narrowest, so the captions keep close to their size.
    for (const char *family : {"Noto Naskh Arabic", "Noto Sans Arabic", "DejaVu Sans"}) {
        const QString name = QString::fromLatin1(family);
        if (arabic.contains(name)) return name;
    }
    return arabic.isEmpty() ? arial : arabic.front();
}

// Captions that do not fit are set a notch or more smaller. The sizes keep
// to a coarse scale (12, 10.5, 9 pt ...) so that few font sizes have to be
// loaded: each size is a font engine of its own (two with a font that has
// no Latin letters, one for the Arabic text and one for the digits), and
// loading them is the largest cost of the window's start-up.
constexpr qreal kNotch = 1.5;

qreal NotchBelow(qreal points) { return std::max(kSmallestPoints, (std::ceil(points / kNotch) - 1) * kNotch); }

} // namespace

QFont WindowFont()
{
    static const QFont font = [] {
        QFont f(ChooseFamily());
        f.setPointSizeF(kWindowPoints);
        f.setBold(true);
        // Unhinted glyphs keep their widths in proportion to the size, and
        // start up faster than glyphs run through the font's hinting.
        f.setHintingPreference(QFont::PreferNoHinting);
        return f;
    }();
    return font;
}

QFont WindowFont(qreal points, bool bold)
{
    QFont font = WindowFont();
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

QFont FitToWidth(const QFont &font, const QString &text, int width)
{
    // Unhinted text widths grow in proportion to the size, so a bold caption
    // is measured with the window's own font, already loaded, and no font
    // size is loaded that will not be shown.
    QFont measured = font;
    if (font.bold() && font.family() == WindowFont().family()) measured = WindowFont();
    const QFontMetricsF metrics(measured);
    qreal widest = 0;
    for (const QString &line : text.split(QLatin1Char('\n')))
        widest = std::max(widest, metrics.horizontalAdvance(line));
    const qreal needed = widest * font.pointSizeF() / measured.pointSizeF();
    if (needed <= width) return font;
    QFont fitted = font;
    const qreal points = std::floor(font.pointSizeF() * width / needed / kNotch) * kNotch;
    fitted.setPointSizeF(std::max(kSmallestPoints, points));
    return fitted;
}

QFont FitToBox(const QFont &font, const QString &text, int width, int height)
{
    // The needed over the available room; wrapped text needs about the
    // square of the scale in area.
    const auto overflow = [&](const QFont &f) {
        const QFontMetricsF metrics(f);
        const QRectF needed = metrics.boundingRect(QRectF(0, 0, width, height), Qt::TextWordWrap | Qt::AlignCenter, text);
        return std::max(needed.width() / width, std::sqrt(needed.height() / height));
    };
    // The largest size of the scale, at most the font's own, that fits. Text
    // widths grow in proportion to the size, so the first guess is usually
    // the answer.
    QFont fitted = font;
    for (qreal ratio = overflow(fitted); ratio > 1 && fitted.pointSizeF() > kSmallestPoints; ratio = overflow(fitted)) {
        const qreal guess = std::floor(fitted.pointSizeF() / ratio / kNotch) * kNotch;
        fitted.setPointSizeF(std::max(kSmallestPoints, std::min(guess, NotchBelow(fitted.pointSizeF()))));
    }
    return fitted;
}

} // namespace paywindow
