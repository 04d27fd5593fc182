#include "paydata/amount.h"

#include "paydata/number_text.h"

#include <array>
#include <charconv>
#include <cfloat>
#include <cmath>
#include <limits>
#include <system_error>

namespace paydata {

std::string_view FailureName(FailureKind kind)
{
    switch (kind) {
    case FailureKind::Overflow: return "overflow";
    case FailureKind::InvalidOperation: return "invalid operation";
    case FailureKind::DivisionByZero: return "division by zero";
    case FailureKind::NoSuchRow: return "no such row in a table";
    }
    return "error";
}

ConversionError::ConversionError(FailureKind kind) : std::runtime_error(std::string(FailureName(kind))), kind_(kind) {}

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The characters of a text with blanks, tabs and line feeds taken out, read
// one at a time.
class Compacted {
public:
    explicit Compacted(std::string_view text) : text_(text) { Skip(); }
    bool AtEnd() const { return pos_ >= text_.size(); }
    char Peek() const { return AtEnd() ? '\0' : text_[pos_]; }
    void Next()
    {
        ++pos_;
        Skip();
    }

private:
    void Skip()
    {
        while (pos_ < text_.size() && IsBlank(text_[pos_])) ++pos_;
    }
    std::string_view text_;
    std::size_t pos_ = 0;
};

} // namespace

double ReadAmount(std::string_view text)
{
    Compacted in(text);
    bool negative = false;
    if (in.Peek() == '+' || in.Peek() == '-') {
        negative = in.Peek() == '-';
        in.Next();
    }

    // The unsigned mantissa and exponent, without blanks, for from_chars.
    std::string number;
    bool anyDigit = false;
    bool seenNonZero = false;
    long long intDigits = 0;       // digits before the point, after leading zeros
    long long zerosAfterPoint = 0; // zeros after the point before the first non-zero digit
    const auto readDigits = [&](bool fraction) {
        for (; IsDigit(in.Peek()); in.Next()) {
            const char c = in.Peek();
            if (seenNonZero || c != '0') {
                seenNonZero = true;
                if (!fraction) ++intDigits;
            } else if (fraction) {
                ++zerosAfterPoint;
            }
            number += c;
            anyDigit = true;
        }
    };
    readDigits(false);
    if (in.Peek() == '.') {
        number += '.';
        in.Next();
        readDigits(true);
    }
    if (!anyDigit) return 0.0;
    // The decimal place of the first non-zero digit, to tell overflow from underflow.
    const long long leadingPlace = intDigits > 0 ? intDigits - 1 : -(zerosAfterPoint + 1);

    long long exponent = 0;
    if (in.Peek() == 'E' || in.Peek() == 'e') {
        // The exponent belongs to the number only when digits follow it.
        Compacted ahead = in;
        ahead.Next();
        bool expNegative = false;
        if (ahead.Peek() == '+' || ahead.Peek() == '-') {
            expNegative = ahead.Peek() == '-';
            ahead.Next();
        }
        if (IsDigit(ahead.Peek())) {
            number += 'e';
            if (expNegative) number += '-';
            while (IsDigit(ahead.Peek())) {
                number += ahead.Peek();
                if (exponent < 1'000'000'000) exponent = exponent * 10 + (ahead.Peek() - '0');
                ahead.Next();
            }
            if (expNegative) exponent = -exponent;
        }
    }

    if (!seenNonZero) return negative ? -0.0 : 0.0;

    double value = 0.0;
    const char *first = number.data();
    const char *last = first + number.size();
    auto [ptr, ec] = ReadDouble(first, last, value);
    if (ec == std::errc::result_out_of_range) {
        if (leadingPlace + exponent >= 0) throw ConversionError(FailureKind::Overflow);
        value = 0.0; // too small for a double: nothing to count
    } else if (ec != std::errc() || ptr != last || !std::isfinite(value)) {
        throw ConversionError(FailureKind::Overflow);
    }
    return negative ? -value : value;
}

std::string ShowAmount(double value)
{
    if (!std::isfinite(value)) throw ConversionError(FailureKind::Overflow);

    // 15 significant digits: d.dddddddddddddde±x
    const ShortText scientific = ScientificText(std::fabs(value), 14);
    const char *p = scientific.data();
    std::array<char, 15> digits{};
    digits[0] = *p++;
    ++p; // the point
    for (int i = 1; i < 15; ++i) digits[static_cast<std::size_t>(i)] = *p++;
    ++p;                // 'e'
    if (*p == '+') ++p; // from_chars takes a minus sign only
    int exponent = 0;
    std::from_chars(p, scientific.data() + scientific.size, exponent);

    // The amount in cents, as decimal digits: keep the digits whose place is
    // worth a cent or more, and round the rest half away from zero.
    const int keep = exponent + 3;
    std::string cents;
    if (keep >= 15) {
        cents.assign(digits.data(), digits.size());
        cents.append(static_cast<std::size_t>(keep - 15), '0');
    } else if (keep < 0) {
        cents = "0";
    } else {
        cents.assign(digits.data(), static_cast<std::size_t>(keep));
        if (digits[static_cast<std::size_t>(keep)] >= '5') {
            // Round up: trailing nines become zeros and carry into the digit before them.
            int i = keep - 1;
            for (; i >= 0 && cents[static_cast<std::size_t>(i)] == '9'; --i) cents[static_cast<std::size_t>(i)] = '0';
            if (i < 0) cents.insert(cents.begin(), '1');
            else ++cents[static_cast<std::size_t>(i)];
        }
        if (cents.empty()) cents = "0";
    }

    bool zero = cents.find_first_not_of('0') == std::string::npos;
    if (cents.size() < 3) cents.insert(0, 3 - cents.size(), '0');
    std::string out;
    out.reserve(cents.size() + 2);
    if (value < 0 && !zero) out += '-';
    out.append(cents, 0, cents.size() - 2);
    out += '.';
    out.append(cents, cents.size() - 2, 2);
    // Within a hair of the largest double, the 15-digit rounding can go past
    // it: such a text could not be read back, so it is not an amount.
    if (exponent >= 308) ReadAmount(out); // throws the overflow
    return out;
}

std::int16_t ToInt16(double value)
{
    double rounded = std::nearbyint(value); // ties to even under the default rounding mode
    if (!(rounded >= -32768.0 && rounded <= 32767.0)) throw ConversionError(FailureKind::Overflow);
    return static_cast<std::int16_t>(rounded);
}

float ToSingle(double value)
{
    if (std::isnan(value)) throw ConversionError(FailureKind::InvalidOperation);
    // Half-way between FLT_MAX and the next power of two rounds to infinity.
    constexpr double kLimit = 340282356779733661637539395458142568448.0; // 2^128 - 2^103
    double magnitude = std::fabs(value);
    if (magnitude >= kLimit) throw ConversionError(FailureKind::Overflow);
    if (magnitude > static_cast<double>(FLT_MAX)) return value < 0 ? -FLT_MAX : FLT_MAX;
    return static_cast<float>(value);
}

double Truncate(double value) { return std::trunc(value); }

namespace {
double Checked(double result)
{
    if (std::isnan(result)) throw ConversionError(FailureKind::InvalidOperation);
    if (std::isinf(result)) throw ConversionError(FailureKind::Overflow);
    return result;
}
} // namespace

double Add(double a, double b) { return Checked(a + b); }
double Sub(double a, double b) { return Checked(a - b); }
double Mul(double a, double b) { return Checked(a * b); }
double Div(double a, double b)
{
    if (b == 0.0)
        throw ConversionError(a == 0.0 || std::isnan(a) ? FailureKind::InvalidOperation : FailureKind::DivisionByZero);
    return Checked(a / b);
}

} // namespace paydata
