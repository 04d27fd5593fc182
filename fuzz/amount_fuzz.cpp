// Any bytes through ReadAmount; any finite double through ShowAmount and back.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "fuzz/shown_amount.h"
#include "paydata/amount.h"

using fuzzcheck::Fail;
using fuzzcheck::IsShownAmount;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    std::string_view text(reinterpret_cast<const char *>(data), size);
    try {
        double value = paydata::ReadAmount(text);
        if (!std::isfinite(value)) Fail("ReadAmount gave a value that is not finite");
    } catch (const paydata::ConversionError &e) {
        if (e.kind() != paydata::FailureKind::Overflow) Fail("ReadAmount failed other than by overflow");
    }

    if (size >= sizeof(double)) {
        double x;
        std::memcpy(&x, data, sizeof x);
        if (std::isfinite(x)) {
            std::string shown;
            try {
                shown = paydata::ShowAmount(x);
            } catch (const paydata::ConversionError &) {
                // Only where 15 digits round past the largest double.
                if (std::fabs(x) < 1.79769313486231e308) Fail("ShowAmount refused an ordinary amount");
                return 0;
            }
            if (!IsShownAmount(shown)) Fail("ShowAmount wrote a text that is not an amount");
            double back = paydata::ReadAmount(shown);
            // The nearest double to the decimal text, as the C library reads it.
            if (back != std::strtod(shown.c_str(), nullptr)) Fail("ReadAmount did not give back the amount shown");
            if (paydata::ShowAmount(back) != shown) Fail("showing the read-back amount changed it");
        }
    }
    return 0;
}
