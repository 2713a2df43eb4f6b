// TextToNumber and TruncateToInteger on any bytes: no crash, no undefined behaviour,
// and the number read agrees with reading the ASCII form again.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "preview/number_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const double value = TextToNumber(text);
    const std::int32_t whole = TruncateToInteger(value);
    (void)TruncateToInteger(std::fabs(value));
    if (std::isnan(value))
        std::abort();  // the decimal form never reads as NaN
    const double again = TextToNumber(FullWidthToAscii(text));
    if (!(again == value))
        std::abort();
    if (std::fabs(value) < 1e9 && whole != static_cast<std::int32_t>(value))
        std::abort();
    return 0;
}
