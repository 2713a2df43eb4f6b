#pragma once
// A font's embedded bitmaps, which an engine draws instead of outlines at the sizes they
// are made for, and which are all a bitmap-only font (a colour emoji font) has: EBLC with
// EBDT (monochrome and grey bitmaps), CBLC with CBDT (colour images), and sbix (images
// by size). Each strike's index, every glyph's place in the data table, and the headers
// an engine reads before the image lie inside their tables; glyph ids are below the
// font's glyph count. The cost is linear in the tables' size: no index subtable or sbix
// strike is read twice, and subtables do not overlap.
#include "fontdata/font_reading.h"

namespace font_reading {

// EBLC and EBDT (`colour` false), or CBLC and CBDT (true).
Fault ReadBitmapLocations(const Range& locations, const Range& data, std::uint32_t glyphs, bool colour);

Fault ReadSbix(const Range& sbix, std::uint32_t glyphs);

}  // namespace font_reading
