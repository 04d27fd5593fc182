// Amounts as text: the two conversions every line of the slip goes through,
// and the few number conversions the computation relies on.
//
// An amount lives as text. Arithmetic happens on doubles between ReadAmount
// and ShowAmount, and every result that a later line needs is read back from
// the text it was shown as, so each line's rounding to cents carries on.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace paydata {

// Why a conversion or an arithmetic step could not give a number.
enum class FailureKind : std::uint8_t {
    Overflow,         // beyond the range of the target type
    InvalidOperation, // a result that is not a number
    DivisionByZero,
    NoSuchRow, // a table or list asked for a row it does not have
};

std::string_view FailureName(FailureKind kind);

class ConversionError : public std::runtime_error {
public:
    explicit ConversionError(FailureKind kind);
    FailureKind kind() const noexcept { return kind_; }

private:
    FailureKind kind_;
};

// Reads the leading decimal number of a text. Blanks, tabs and line feeds are
// removed wherever they stand; then the longest leading part of the form
// [sign] digits [. digits] [E [sign] digits] is read (digits may be missing on
// either side of the point). No digit gives 0. A number beyond the range of a
// double throws ConversionError(Overflow); one too small for it gives 0.
double ReadAmount(std::string_view text);

// Writes an amount with the pattern "0.00": rounded first to 15 significant
// digits, then to cents with halves away from zero; a point as separator, no
// grouping, never an exponent. A value that rounds to zero is written without
// a minus sign. Throws ConversionError(Overflow) for a value that is not
// finite, or so close to the largest double that its text would not read back.
std::string ShowAmount(double value);

// Nearest 16-bit integer, ties to even; outside -32768..32767 throws Overflow.
std::int16_t ToInt16(double value);

// Nearest single-precision number, ties to even; beyond its range throws Overflow.
float ToSingle(double value);

// Drops the fraction, toward zero.
double Truncate(double value);

// Checked arithmetic: every result is tested, and an overflow, an invalid
// operation or a division by zero throws ConversionError.
double Add(double a, double b);
double Sub(double a, double b);
double Mul(double a, double b);
double Div(double a, double b);

} // namespace paydata
