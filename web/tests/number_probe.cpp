// Prints what the engine's number seam (paydata/number_text.h) makes of many
// doubles and texts, one line each: built natively (std::to_chars and
// std::from_chars) and for the browser (its own fallback), the two outputs
// must be the same bytes. Usage: number_probe [COUNT]
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <cstring>
#include <string>

#include "paydata/number_text.h"

namespace {

// The bits of a double and the reverse (the browser's library has no std::bit_cast).
unsigned long long Bits(double v)
{
    unsigned long long bits = 0;
    std::memcpy(&bits, &v, sizeof v);
    return bits;
}

double FromBits(std::uint64_t bits)
{
    double v = 0;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

void Write(double v)
{
    const std::string scientific(paydata::ScientificText(v, 14)), general(paydata::GeneralText(v, 15)),
        single(paydata::GeneralText(static_cast<float>(v), 7));
    std::printf("%016llx %s %s %s %s\n", Bits(v), paydata::FixedText(v).c_str(), scientific.c_str(), general.c_str(),
                single.c_str());
}

void Read(const std::string &text)
{
    double v = -1;
    const auto [ptr, ec] = paydata::ReadDouble(text.data(), text.data() + text.size(), v);
    const char *outcome = ec == std::errc()                      ? "read"
                          : ec == std::errc::result_out_of_range ? "out-of-range"
                                                                 : "invalid";
    std::printf("%s %d %s %016llx\n", text.c_str(), static_cast<int>(ptr - text.data()), outcome, Bits(v));
}

} // namespace

int main(int argc, char **argv)
{
    const long count = argc > 1 ? std::atol(argv[1]) : 100000;
    std::mt19937_64 random(2016);
    for (int e = -1074; e <= 1023; ++e) Write(std::ldexp(1.0, e)); // the powers of two, where gaps change
    for (long i = 0; i < count; ++i) {
        const std::uint64_t r = random();
        const double bits = FromBits(r & ~(std::uint64_t{1} << 63));
        if (std::isfinite(bits)) Write(bits);
        const double cents = static_cast<double>(static_cast<std::int64_t>(r % 1'000'000'000'000'000));
        Write((r & 16 ? -cents : cents) / 100); // amounts
        // Texts: digits, an optional point and an exponent, out of range at both ends too.
        std::string text = std::to_string(r % 100000);
        if (r & 1) text += "." + std::to_string((r >> 20) % 1000000);
        if (r & 2) text += "e" + std::string((r & 4) ? "-" : "") + std::to_string((r >> 40) % 400);
        if (r & 8) text += "x";
        Read(text);
    }
    for (const char *text : {"", ".", "1.", ".5", "1e", "1e+5", "2.4703282292062328e-324", "2.4703282292062327e-324",
                             "1.7976931348623158e308", "1.7976931348623159e308", "0e999", "00.000e-9999"})
        Read(text);
}
