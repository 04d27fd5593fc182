// Reading and showing amounts, and the number conversions behind them.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "paydata/amount.h"

using namespace paydata;

namespace {

struct ReadCase {
    std::string text;
    double value;
};

TEST(ReadAmount, LeadingNumberOfTheText)
{
    // clang-format off
    const ReadCase cases[] = {
        {"", 0}, {"أستاذ منسق متوسط", 0}, {"12abc", 12}, {"1.2.3", 1.2}, {"3,5", 3},
        {"1 2", 12}, {".5", 0.5}, {"5.", 5}, {"-5", -5}, {"1E3", 1000}, {"1e3", 1000},
        {"1\t2\n3", 123}, {" - . 5", -0.5}, {"+7", 7}, {"1E", 1}, {"1E+", 1}, {"1E-x", 1},
        {"2.5E-1", 0.25}, {"1 E 2", 100}, {".", 0}, {"-", 0}, {"E5", 0}, {"--5", 0},
        {"0.00", 0}, {"57146.80", 57146.80}, {"5143.21", 5143.21}, {"1E-400", 0},
        {"\r5", 0}, // a carriage return is not a blank: it ends the reading
        {"٣", 0},    // digits of other scripts are not digits here
        {"0000000000000000000000000000012.5", 12.5},
        {std::string(300, '9'), 1e300},
    };
    // clang-format on
    for (const auto &c : cases) EXPECT_EQ(ReadAmount(c.text), c.value) << '"' << c.text << '"';
}

TEST(ReadAmount, BeyondTheRangeOfADoubleIsAnOverflow)
{
    for (const std::string &text :
         std::vector<std::string>{"1E400", "-1E400", "1.8E308", std::string(400, '9'), "9E99999999999999999999"}) {
        try {
            ReadAmount(text);
            ADD_FAILURE() << text << " read without error";
        } catch (const ConversionError &e) {
            EXPECT_EQ(e.kind(), FailureKind::Overflow) << text;
        }
    }
    EXPECT_EQ(ReadAmount("0.000001E-99999999999999"), 0.0);
    EXPECT_EQ(ReadAmount("0E99999"), 0.0);
}

struct ShowCase {
    double value;
    const char *text;
};

TEST(ShowAmount, FifteenDigitsThenCentsHalfAwayFromZero)
{
    // clang-format off
    const ShowCase cases[] = {
        {0, "0.00"}, {0.125, "0.13"}, {2.675, "2.68"}, {1111.095, "1111.10"}, {-0.125, "-0.13"},
        {0.5, "0.50"}, {571.468, "571.47"}, {4111.101, "4111.10"}, {29719.872, "29719.87"},
        {5143.212, "5143.21"}, {0.005, "0.01"}, {0.0049, "0.00"}, {99.995, "100.00"},
        {-99.995, "-100.00"}, {9.999, "10.00"}, {800, "800.00"}, {-0.001, "0.00"}, {-0.0, "0.00"},
        {1e-5, "0.00"}, {1e20, "100000000000000000000.00"}, {123456789012.345, "123456789012.35"},
        {0.1 + 0.2, "0.30"}, {1.005, "1.01"}, {42332.12 / 30 * 30, "42332.12"},
        {std::numeric_limits<double>::denorm_min(), "0.00"},
    };
    // clang-format on
    for (const auto &c : cases) EXPECT_EQ(ShowAmount(c.value), c.text) << c.value;
}

TEST(ShowAmount, NotANumberIsRefused)
{
    EXPECT_THROW(ShowAmount(std::numeric_limits<double>::infinity()), ConversionError);
    EXPECT_THROW(ShowAmount(std::nan("")), ConversionError);
    // 15 digits of the largest double round past it: that text would not read back.
    EXPECT_THROW(ShowAmount(-std::numeric_limits<double>::max()), ConversionError);
    EXPECT_EQ(ReadAmount(ShowAmount(1.79769313486231e308)), 1.79769313486231e308);
}

TEST(ShowAmount, ReadBackGivesTheAmountShown)
{
    std::mt19937_64 random(20160101);
    std::uniform_real_distribution<double> cents(-1e7, 1e7);
    std::uniform_int_distribution<int> exponent(-6, 300);
    for (int i = 0; i < 200000; ++i) {
        double x = i % 2 ? cents(random) : std::ldexp(cents(random), exponent(random) - 20);
        std::string shown = ShowAmount(x);
        ASSERT_EQ(ShowAmount(ReadAmount(shown)), shown) << x;
        ASSERT_NE(shown.find('.'), std::string::npos);
        ASSERT_EQ(shown.size() - shown.find('.'), 3u) << shown;
    }
}

TEST(ShowAmount, ReadBackCarriesTheRoundingIntoLaterLines)
{
    // 45678.90 x 9 % = 4111.101 shows 4111.10, and the taxable amount is
    // reckoned from that: 45678.90 - 4111.10.
    std::string contribution = ShowAmount(Mul(ReadAmount("45678.90"), 0.09));
    EXPECT_EQ(contribution, "4111.10");
    EXPECT_EQ(ShowAmount(Sub(ReadAmount("45678.90"), ReadAmount(contribution))), "41567.80");
}

TEST(NumberConversions, SixteenBitIntegersRoundTiesToEven)
{
    EXPECT_EQ(ToInt16(10), 10);
    EXPECT_EQ(ToInt16(2.5), 2);
    EXPECT_EQ(ToInt16(3.5), 4);
    EXPECT_EQ(ToInt16(-1), -1);
    EXPECT_EQ(ToInt16(-2.5), -2);
    EXPECT_EQ(ToInt16(32767), 32767);
    EXPECT_EQ(ToInt16(-32768), -32768);
    EXPECT_EQ(ToInt16(-32768.5), -32768);
    for (double bad : {32768.0, 32767.5, -32769.0, 1e300, std::nan("")}) {
        try {
            ToInt16(bad);
            ADD_FAILURE() << bad;
        } catch (const ConversionError &e) {
            EXPECT_EQ(e.kind(), FailureKind::Overflow);
        }
    }
}

TEST(NumberConversions, SinglePrecision)
{
    EXPECT_EQ(ToSingle(52003.59), 52003.59f);
    EXPECT_EQ(ToSingle(-500), -500.0f);
    EXPECT_EQ(ToSingle(3.4028235e38), std::numeric_limits<float>::max());
    EXPECT_THROW(ToSingle(1e39), ConversionError);
    EXPECT_THROW(ToSingle(-1e300), ConversionError);
    EXPECT_EQ(Truncate(-4567.891), -4567.0);
    EXPECT_EQ(Truncate(4567.891), 4567.0);
}

TEST(NumberConversions, CheckedArithmetic)
{
    EXPECT_EQ(Add(0.1, 0.2), 0.1 + 0.2);
    EXPECT_EQ(Div(34715.0, 30), 34715.0 / 30);
    auto kind = [](auto &&f) {
        try {
            f();
        } catch (const ConversionError &e) {
            return e.kind();
        }
        return FailureKind::NoSuchRow; // no error: a kind no arithmetic gives
    };
    EXPECT_EQ(kind([] { Add(1e308, 1e308); }), FailureKind::Overflow);
    EXPECT_EQ(kind([] { Mul(-1e300, 1e300); }), FailureKind::Overflow);
    EXPECT_EQ(kind([] { Sub(-1e308, 1e308); }), FailureKind::Overflow);
    EXPECT_EQ(kind([] { Div(1, 0); }), FailureKind::DivisionByZero);
    EXPECT_EQ(kind([] { Div(0, 0); }), FailureKind::InvalidOperation);
    EXPECT_EQ(Mul(1e-300, 1e-300), 0.0); // underflow is not an error
}

} // namespace
