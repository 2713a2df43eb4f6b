#pragma once
#include <cstdint>
#include <string>

// Full-width GBK digits, signs, point and letters become ASCII; then the text is read
// as a plain decimal number up to the first character that does not fit (no digits: 0).
double TextToNumber(const std::string& text);

// Toward zero through a signed 64-bit integer (0 when out of its range or not finite),
// then the low 32 bits as a signed number.
std::int32_t TruncateToInteger(double value);

// "%d".
std::string NumberToText(std::int32_t value);

// The first step of TextToNumber on its own: the GBK full-width forms as ASCII.
std::string FullWidthToAscii(const std::string& text);
