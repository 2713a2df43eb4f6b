#include "preview/font_attribute.h"

#include <cstdlib>
#include <cstring>

std::int32_t MulDivRounded(std::int32_t a, std::int32_t b, std::int32_t c)
{
    if (c == 0)
        return -1;
    std::int64_t product = static_cast<std::int64_t>(a) * b;
    std::int64_t divisor = c;
    if (divisor < 0) {
        product = -product;
        divisor = -divisor;
    }
    const std::int64_t half = divisor / 2;
    const std::int64_t result = product >= 0 ? (product + half) / divisor : (product - half) / divisor;
    if (result > 2147483647 || result < -2147483647)
        return -1;
    return static_cast<std::int32_t>(result);
}

void ChangeFontAttribute(FontDescription& d, FontAttribute attribute, std::int32_t value, const std::string& face,
                         int pixelsPerInch)
{
    switch (attribute) {
    case FontAttribute::Angle: {
        std::int32_t angle = value % 3600;
        if (angle < 0)
            angle += 3600;
        d.escapement = angle;
        d.orientation = angle;
        break;
    }
    case FontAttribute::Bold:
        d.weight = value != 0 ? 700 : 0;
        break;
    case FontAttribute::Italic:
        d.italic = value != 0 ? 1 : 0;
        break;
    case FontAttribute::StrikeOut:
        d.strikeOut = value != 0 ? 1 : 0;
        break;
    case FontAttribute::Underline:
        d.underline = value != 0 ? 1 : 0;
        break;
    case FontAttribute::Size: {
        const std::int32_t points = value < 0 ? 0 : value;
        d.height = -MulDivRounded(points, pixelsPerInch, 72);
        break;
    }
    case FontAttribute::FaceName: {
        const std::string& name = face.empty() || face.size() >= sizeof d.faceName ? std::string(kFallbackFace) : face;
        std::memcpy(d.faceName, name.c_str(), name.size() + 1);
        break;
    }
    }
}
