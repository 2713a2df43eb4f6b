// head, maxp, hhea and hmtx: the units, the glyph count and the metrics every glyph has.
#include "fontdata/font_tables.h"

namespace font_reading {

Fault CheckHead(Font& font)
{
    const Range& head = font.head;
    if (!head.present())
        return {"head", "absent"};
    if (head.size() < 54)
        return {"head", "cut short"};
    const std::uint32_t unitsPerEm = head.U16(18);
    const std::int32_t locFormat = head.S16(50);
    if (unitsPerEm < 16)
        return {"head", "units per em below 16"};
    if (unitsPerEm > 16384)
        return {"head", "units per em above 16384"};
    if (locFormat != 0 && locFormat != 1)
        return {"head", "unknown loca format"};
    font.longOffsets = locFormat == 1;
    return nullptr;
}

Fault CheckMaxp(Font& font)
{
    if (!font.maxp.present())
        return {"maxp", "absent"};
    if (font.maxp.size() < 6)
        return {"maxp", "cut short"};
    font.glyphs = font.maxp.U16(4);
    if (font.glyphs == 0)
        return {"maxp", "no glyphs"};
    return nullptr;
}

Fault CheckMetrics(const Font& font)
{
    if (!font.hhea.present())
        return {"hhea", "absent"};
    if (font.hhea.size() < 36)
        return {"hhea", "cut short"};
    const std::uint32_t metrics = font.hhea.U16(34);
    if (metrics == 0)
        return {"hhea", "no metrics"};
    if (metrics > font.glyphs)
        return {"hhea", "more metrics than glyphs"};
    if (!font.hmtx.present())
        return {"hmtx", "absent"};
    if (!font.hmtx.Has(0, 4ull * metrics + 2ull * (font.glyphs - metrics)))
        return {"hmtx", "cut short"};
    return nullptr;
}

}  // namespace font_reading
