#include "controls/integer_text.h"

#include <cstdint>
#include <limits>

bool IntegerInputAccepts(unsigned char ch)
{
    return ch < 32 || ch == '-' || (ch >= '0' && ch <= '9');
}

std::string NormaliseIntegerText(const std::string& text)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    // Accumulate the magnitude; beyond the 64-bit range it stays saturated, which the
    // int32 clamp below turns into the nearest bound anyway.
    constexpr std::uint64_t kSaturated = std::uint64_t{1} << 63;
    std::uint64_t magnitude = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        if (magnitude >= kSaturated / 10)
            magnitude = kSaturated;
        else
            magnitude = magnitude * 10 + static_cast<unsigned>(text[i] - '0');
    }
    std::int64_t value;
    if (negative)
        value =
            magnitude >= kSaturated ? std::numeric_limits<std::int64_t>::min() : -static_cast<std::int64_t>(magnitude);
    else
        value =
            magnitude >= kSaturated ? std::numeric_limits<std::int64_t>::max() : static_cast<std::int64_t>(magnitude);
    if (value > std::numeric_limits<std::int32_t>::max())
        value = std::numeric_limits<std::int32_t>::max();
    if (value < std::numeric_limits<std::int32_t>::min())
        value = std::numeric_limits<std::int32_t>::min();
    if (value == 0)
        return {};
    return std::to_string(value);
}
