// Text for right-to-left pages and windows: UTF-8 from the engine made a
// QString, and runs of text kept in their own direction inside the other.
#pragma once

#include <QChar>
#include <QString>

#include <string_view>

namespace report {

inline QString Utf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// An amount, a file name or a shortcut kept reading left to right (its sign
// in front of its digits) inside Arabic text.
inline QString LeftToRight(const QString &text) { return QChar(0x202A) + text + QChar(0x202C); }

// Arabic kept reading from the right where the surrounding direction is left
// to right (menus and tooltips of an application that runs left to right).
inline QString RightToLeft(const QString &text) { return QChar(0x202B) + text + QChar(0x202C); }

} // namespace report
