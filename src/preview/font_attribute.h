#pragma once
#include <cstdint>
#include <string>

// The platform's logical-font record, field for field (60 bytes), so that the rules
// that change it stay free of the platform's headers.
struct FontDescription {
    std::int32_t height;
    std::int32_t width;
    std::int32_t escapement;
    std::int32_t orientation;
    std::int32_t weight;
    std::uint8_t italic;
    std::uint8_t underline;
    std::uint8_t strikeOut;
    std::uint8_t charSet;
    std::uint8_t outPrecision;
    std::uint8_t clipPrecision;
    std::uint8_t quality;
    std::uint8_t pitchAndFamily;
    char faceName[32];
};
static_assert(sizeof(FontDescription) == 60);

enum class FontAttribute { Angle, Bold, Italic, StrikeOut, Underline, Size, FaceName };

// The face used where a face name is empty or too long for the record.
inline constexpr const char* kFallbackFace = "宋体";

// Changes one attribute of the description. value is used by every attribute but
// FaceName, which uses face; pixelsPerInch is the screen's vertical resolution.
void ChangeFontAttribute(FontDescription& description, FontAttribute attribute, std::int32_t value,
                         const std::string& face, int pixelsPerInch);

// The platform's MulDiv: a * b / c rounded half away from zero, -1 on overflow or c = 0.
std::int32_t MulDivRounded(std::int32_t a, std::int32_t b, std::int32_t c);
