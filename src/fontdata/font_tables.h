#pragma once
// The readers of a font file's tables, one file a table or family of tables, which the
// judge (font_file.cpp) calls in the order an engine needs them: the directory, head and
// maxp, the metrics, cmap, the outlines (glyf and loca, or CFF / CFF2) or the embedded
// bitmaps, OS/2, name and fvar. Each returns the rule a table breaks, or what was read.
#include <memory>
#include <string>
#include <vector>

#include "fontdata/font_file.h"
#include "fontdata/font_reading.h"

namespace font_reading {

constexpr std::uint32_t kTrueType = 0x00010000;
constexpr std::uint32_t kApple = Tag("true");
constexpr std::uint32_t kOpenType = Tag("OTTO");
constexpr std::uint32_t kCollection = Tag("ttcf");

inline bool IsSfntVersion(std::uint32_t version)
{
    return version == kTrueType || version == kApple || version == kOpenType;
}

// The tables of one font that the judge reads; absent ones are empty ranges.
struct Font {
    std::uint32_t version = 0;
    Range head, maxp, hhea, hmtx, cmap, loca, glyf, cff, cff2, os2, name, fvar, eblc, ebdt, cblc, cbdt, sbix;
    std::uint32_t glyphs = 0;
    bool longOffsets = false;
};

// What a cmap table holds, whatever the font's glyph count: every subtable read through,
// none overlapping another, and the characters of the one the system uses.
struct CmapFacts {
    Fault fault;
    std::uint32_t topGlyph = 0;
    std::shared_ptr<const CharacterMap> characters;
};

// A glyf and loca pair read through once for all the fonts that share it: how many glyphs
// from the first are sound, and why the next one is not.
struct GlyphFacts {
    std::uint64_t soundGlyphs = 0;
    Fault next;
};

// A CFF or CFF2 table read through: its fault, or how many glyphs its CharStrings hold.
struct OutlineFacts {
    Fault fault;
    std::uint32_t charStrings = 0;
};

struct NameFacts {
    Fault fault;
    std::u16string family, full;
    std::shared_ptr<const std::vector<LocalName>> families;
    std::shared_ptr<const FontAbout> about;
};

// directory.cpp: the table directory at `at`: every table inside the file, no tag twice
// (an engine reads the first of a repeated tag, a judge might read another).
Fault ReadDirectory(const Range& file, std::size_t at, Font& font);

// metrics.cpp: head (units per em, the loca format), maxp (the glyph count), hhea and hmtx.
Fault CheckHead(Font& font);
Fault CheckMaxp(Font& font);
Fault CheckMetrics(const Font& font);

// cmap.cpp
CmapFacts ReadCmap(const Range& cmap);

// glyf.cpp
GlyphFacts ReadGlyphs(const Range& loca, const Range& glyf, bool longOffsets);

// cff.cpp
OutlineFacts ReadCff(const Range& t);
OutlineFacts ReadCff2(const Range& t);

// name.cpp
NameFacts ReadNames(const Range& t);

// fvar.cpp
std::vector<std::string> ReadAxes(const Range& fvar);

}  // namespace font_reading
