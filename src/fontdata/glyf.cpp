// loca and glyf: every glyph's slot inside glyf, and its header inside its slot.
#include "fontdata/font_tables.h"

namespace font_reading {

// loca and each glyph's header, from the first glyph on, as far as loca has entries: the
// glyph count a font may have with these tables is the number found sound.
GlyphFacts ReadGlyphs(const Range& loca, const Range& glyf, bool longOffsets)
{
    GlyphFacts facts;
    const std::size_t entry = longOffsets ? 4 : 2;
    const std::size_t entries = loca.size() / entry;
    auto offset = [&](std::size_t i) -> std::uint64_t {
        return longOffsets ? loca.U32(4 * i) : 2ull * loca.U16(2 * i);
    };
    facts.next = {"loca", "fewer entries than glyphs"};
    if (entries == 0)
        return facts;
    std::uint64_t start = offset(0);
    if (start > glyf.size()) {
        facts.next = {"loca", "first glyph past glyf"};
        return facts;
    }
    for (std::size_t g = 0; g + 1 < entries; ++g) {
        const std::uint64_t end = offset(g + 1);
        if (end < start) {
            facts.next = {"loca", "offsets descending"};
            return facts;
        }
        if (end > glyf.size()) {
            facts.next = {"loca", "a glyph past glyf"};
            return facts;
        }
        const std::uint64_t slot = end - start;
        if (slot > 0) {
            // The glyph's header (contour count and bounds), and a simple glyph's contour
            // ends and instruction length, lie inside its slot.
            if (slot < 10) {
                facts.next = {"glyf", "a glyph shorter than its header"};
                return facts;
            }
            const std::int32_t contours = glyf.S16(static_cast<std::size_t>(start));
            if (contours > 0 && 12 + 2ull * static_cast<std::uint32_t>(contours) > slot) {
                facts.next = {"glyf", "contour ends past the glyph"};
                return facts;
            }
        }
        ++facts.soundGlyphs;
        start = end;
    }
    facts.next = {"loca", "fewer entries than glyphs"};
    return facts;  // loca ends here: a font with more glyphs has too short a loca
}

}  // namespace font_reading
