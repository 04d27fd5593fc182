// The keystroke filters of the typed fields.
#include "window/key_filters.h"

#include <QKeyEvent>
#include <QString>

#include "paydata/text_rules.h"
#include "window/form1.h"

namespace {

constexpr qint16 kBackspace = 8;
constexpr qint16 kPoint = 46;
constexpr qint16 kDigitZero = 48;
constexpr qint16 kDigitNine = 57;
constexpr char16_t kLastAscii = 127;

} // namespace

// Amounts: digits, backspace and the decimal point. The filter looks at one
// keystroke at a time; it neither counts points nor limits the length.
qint16 Form1::gWriteOnleNumber(qint16 &IntKeyAscii)
{
    qint16 result = 0;
    if (IntKeyAscii >= kDigitZero && IntKeyAscii <= kDigitNine) result = IntKeyAscii;
    if (IntKeyAscii == kBackspace) result = kBackspace;
    if (IntKeyAscii == kPoint) result = kPoint;
    return result;
}

// Whole numbers: digits and backspace.
qint16 Form1::gWriteOnleNumber1(qint16 &IntKeyAscii)
{
    qint16 result = 0;
    if (IntKeyAscii >= kDigitZero && IntKeyAscii <= kDigitNine) result = IntKeyAscii;
    if (IntKeyAscii == kBackspace) result = kBackspace;
    return result;
}

namespace paywindow {

qint16 KeyCode(QChar c)
{
    return c.unicode() <= kLastAscii ? static_cast<qint16>(c.unicode()) : qint16{0};
}

bool IsCharacterKey(const QKeyEvent &event)
{
    if (event.text().isEmpty()) return false; // arrows, Home, End, function keys
    switch (event.key()) {
    case Qt::Key_Delete:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return false;
    default:
        break;
    }
    // Ctrl or Meta make a shortcut, except Ctrl+Alt, which is how some
    // keyboards type AltGr characters.
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    const bool altGr = modifiers.testFlag(Qt::ControlModifier) && modifiers.testFlag(Qt::AltModifier);
    return altGr || !(modifiers & (Qt::ControlModifier | Qt::MetaModifier));
}

QString FilterTyped(KeyFilter filter, const QString &typed)
{
    QString passed;
    for (QChar c : typed) {
        qint16 code = KeyCode(c);
        const qint16 result = filter(code);
        if (result != 0) passed += QChar(static_cast<char16_t>(result));
    }
    return passed;
}

bool FilterAcceptsText(KeyFilter filter, const QString &text)
{
    // The rule of every text read from outside: no control character.
    if (paydata::FindControlCharacter(text.toStdString(), paydata::LineBreaks::Refused)) return false;
    for (QChar c : text) {
        qint16 code = KeyCode(c);
        // Code 0: a character beyond ASCII, which no filter lets through.
        if (code == 0 || filter(code) != code) return false;
    }
    return true;
}

} // namespace paywindow
