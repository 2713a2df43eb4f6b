#include "preview/number_text.h"

#include <cmath>
#include <cstdlib>

std::string FullWidthToAscii(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto lead = static_cast<unsigned char>(text[i]);
        if (lead == 0)
            break;
        if (lead < 0x80) {
            out.push_back(static_cast<char>(lead));
            continue;
        }
        if (i + 1 >= text.size() || text[i + 1] == '\0')
            break;  // a lead byte without its second byte is dropped
        const auto trail = static_cast<unsigned char>(text[++i]);
        if (lead == 0xA1 && trail == 0xA1)
            out.push_back(' ');
        else if (lead == 0xA1 && trail == 0xAB)
            out.push_back('~');
        else if (lead == 0xA1 && (trail == 0xEE || trail == 0xEF))
            out.push_back('*');
        else if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE)
            out.push_back(static_cast<char>(trail - 0x80));
        else {
            out.push_back(static_cast<char>(lead));
            out.push_back(static_cast<char>(trail));
        }
    }
    return out;
}

namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool IsBlank(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

}  // namespace

double TextToNumber(const std::string& text)
{
    const std::string ascii = FullWidthToAscii(text);
    // Take only the decimal form out of the text, so that strtod cannot see hexadecimal,
    // infinities, NaNs or the locale's separators.
    std::size_t i = 0;
    while (i < ascii.size() && IsBlank(ascii[i]))
        ++i;
    std::string number;
    if (i < ascii.size() && (ascii[i] == '+' || ascii[i] == '-'))
        number.push_back(ascii[i++]);
    bool digits = false;
    while (i < ascii.size() && IsDigit(ascii[i])) {
        number.push_back(ascii[i++]);
        digits = true;
    }
    if (i < ascii.size() && ascii[i] == '.') {
        number.push_back(ascii[i++]);
        while (i < ascii.size() && IsDigit(ascii[i])) {
            number.push_back(ascii[i++]);
            digits = true;
        }
    }
    if (!digits)
        return 0.0;
    if (i < ascii.size() && (ascii[i] == 'e' || ascii[i] == 'E')) {
        std::size_t j = i + 1;
        std::string exponent = "e";
        if (j < ascii.size() && (ascii[j] == '+' || ascii[j] == '-'))
            exponent.push_back(ascii[j++]);
        if (j < ascii.size() && IsDigit(ascii[j])) {
            while (j < ascii.size() && IsDigit(ascii[j]))
                exponent.push_back(ascii[j++]);
            number += exponent;
        }
    }
    // The "C" locale's strtod reads exactly this form; overflow gives an infinity.
    return std::strtod(number.c_str(), nullptr);
}

std::int32_t TruncateToInteger(double value)
{
    if (!std::isfinite(value))
        return 0;
    const double whole = std::trunc(value);
    // The int64 range is [-2^63, 2^63); both bounds are exact doubles.
    if (whole < -9223372036854775808.0 || whole >= 9223372036854775808.0)
        return 0;
    const auto wide = static_cast<std::int64_t>(whole);
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(wide)));
}

std::string NumberToText(std::int32_t value)
{
    return std::to_string(value);
}
