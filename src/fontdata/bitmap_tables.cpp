#include "fontdata/bitmap_tables.h"

#include <map>
#include <set>
#include <tuple>

namespace font_reading {

namespace {

// The bytes an engine reads of a glyph's data before its image, by image format: small
// metrics (5 bytes), big metrics (8), and CBDT's image length after them (4).
std::uint64_t ImageHeader(std::uint32_t format)
{
    switch (format) {
    case 1: case 2: case 8: return 5;
    case 6: case 7: case 9: return 8;
    case 17: return 5 + 4;
    case 18: return 8 + 4;
    case 19: return 4;
    default: return 0;  // 5: metrics in the index, bits only
    }
}

bool KnownImageFormat(std::uint32_t format, bool colour)
{
    return colour ? format == 17 || format == 18 || format == 19
                  : format == 1 || format == 2 || format == 5 || format == 6 || format == 7 || format == 8 ||
                        format == 9;
}

// One glyph's data, [start, end) in the data table.
Fault CheckGlyph(const Range& data, std::uint64_t start, std::uint64_t end, std::uint32_t format, bool colour)
{
    const char* table = colour ? "CBDT" : "EBDT";
    if (end < start)
        return {table, "glyph offsets descending"};
    if (!data.Has(start, end - start))
        return {table, "glyph data past the table"};
    if (start == end)
        return nullptr;  // no image at this size
    const std::uint64_t header = ImageHeader(format);
    if (end - start < header)
        return {table, "glyph data shorter than its header"};
    if (format >= 17) {
        const std::uint64_t length = data.U32(static_cast<std::size_t>(start + header - 4));
        if (length > end - start - header)
            return {table, "image length past the glyph"};
    }
    return nullptr;
}

// Glyph ids a subtable of `first`..`last` names, each inside that range and after the one
// before.
Fault CheckGlyphId(std::uint32_t glyph, std::uint32_t first, std::uint32_t last, std::int64_t& previous,
                   const char* table)
{
    if (glyph < first || glyph > last)
        return {table, "glyph id outside its index subtable"};
    if (static_cast<std::int64_t>(glyph) <= previous)
        return {table, "glyph ids out of order"};
    previous = glyph;
    return nullptr;
}

// One index subtable, for glyphs first..last, at `at` in the location table: its extent
// there, or a fault.
Fault ReadIndexSubtable(const Range& t, std::uint64_t place, std::uint32_t first, std::uint32_t last, const Range& data,
                        bool colour, std::uint64_t& end)
{
    const char* table = colour ? "CBLC" : "EBLC";
    if (!t.Has(place, 8))
        return {table, "index subtable past the table"};
    const std::size_t at = static_cast<std::size_t>(place);  // inside the table
    const std::uint32_t indexFormat = t.U16(at), imageFormat = t.U16(at + 2);
    const std::uint64_t imageData = t.U32(at + 4);
    if (!KnownImageFormat(imageFormat, colour))
        return {table, "unknown image format"};
    const std::uint64_t count = last - first + 1ull;
    switch (indexFormat) {
    case 1:
    case 3: {
        // An offset a glyph, and one past the last.
        const std::uint64_t size = indexFormat == 1 ? 4 : 2;
        if (!t.Has(at + 8, (count + 1) * size))
            return {table, "glyph offsets past the table"};
        end = at + 8 + (count + 1) * size;
        auto offset = [&](std::uint64_t i) -> std::uint64_t {
            const std::size_t place = static_cast<std::size_t>(at + 8 + i * size);
            return indexFormat == 1 ? t.U32(place) : t.U16(place);
        };
        std::uint64_t start = offset(0);
        for (std::uint64_t i = 0; i < count; ++i) {
            const std::uint64_t next = offset(i + 1);
            if (Fault fault = CheckGlyph(data, imageData + start, imageData + next, imageFormat, colour))
                return fault;
            start = next;
        }
        return nullptr;
    }
    case 2:
    case 5: {
        // Every glyph's image of one size, one after the other; format 5 names its glyphs.
        if (!t.Has(at + 8, 12))
            return {table, "index subtable past the table"};
        const std::uint64_t imageSize = t.U32(at + 8);
        std::uint64_t glyphs = count;
        end = at + 20;
        if (indexFormat == 5) {
            if (!t.Has(at + 20, 4))
                return {table, "index subtable past the table"};
            glyphs = t.U32(at + 20);
            if (!t.Has(at + 24, 2 * glyphs))
                return {table, "glyph ids past the table"};
            end = at + 24 + 2 * glyphs;
            std::int64_t previous = -1;
            for (std::uint64_t i = 0; i < glyphs; ++i) {
                if (Fault fault = CheckGlyphId(t.U16(static_cast<std::size_t>(at + 24 + 2 * i)), first, last, previous,
                                               table))
                    return fault;
            }
        }
        if (glyphs > 0 && imageSize < ImageHeader(imageFormat))
            return {colour ? "CBDT" : "EBDT", "glyph data shorter than its header"};
        if (!data.Has(imageData, glyphs * imageSize))
            return {colour ? "CBDT" : "EBDT", "glyph data past the table"};
        if (imageFormat >= 17) {
            for (std::uint64_t i = 0; i < glyphs; ++i) {
                const std::uint64_t start = imageData + i * imageSize;
                if (Fault fault = CheckGlyph(data, start, start + imageSize, imageFormat, colour))
                    return fault;
            }
        }
        return nullptr;
    }
    case 4: {
        // Glyph id and offset pairs, and one past the last.
        if (!t.Has(at + 8, 4))
            return {table, "index subtable past the table"};
        const std::uint64_t glyphs = t.U32(at + 8);
        if (!t.Has(at + 12, (glyphs + 1) * 4))
            return {table, "glyph offsets past the table"};
        end = at + 12 + (glyphs + 1) * 4;
        std::int64_t previous = -1;
        for (std::uint64_t i = 0; i < glyphs; ++i) {
            const std::size_t pair = static_cast<std::size_t>(at + 12 + 4 * i);
            if (Fault fault = CheckGlyphId(t.U16(pair), first, last, previous, table))
                return fault;
            if (Fault fault = CheckGlyph(data, imageData + t.U16(pair + 2), imageData + t.U16(pair + 6), imageFormat,
                                         colour))
                return fault;
        }
        return nullptr;
    }
    }
    return {table, "unknown index format"};
}

}  // namespace

Fault ReadBitmapLocations(const Range& t, const Range& data, std::uint32_t glyphs, bool colour)
{
    const char* table = colour ? "CBLC" : "EBLC";
    const char* dataTable = colour ? "CBDT" : "EBDT";
    const std::uint32_t major = colour ? 3 : 2;
    if (t.size() < 8)
        return {table, "cut short"};
    if (t.U16(0) != major)
        return {table, "unknown version"};
    if (!data.present())
        return {dataTable, "absent"};
    if (data.size() < 4)
        return {dataTable, "cut short"};
    if (data.U16(0) != major)
        return {dataTable, "unknown version"};
    const std::uint32_t strikes = t.U32(4);
    if (!t.Has(8, 48ull * strikes))
        return {table, "strikes past the table"};
    // Each subtable read once, whatever names it, and none overlapping another: the bytes
    // read of them add up to the table's size at most, which bounds the work before the
    // overlap itself is looked for.
    std::set<std::tuple<std::uint64_t, std::uint32_t, std::uint32_t>> read;
    std::map<std::uint64_t, std::uint64_t> extents;  // start, end
    std::uint64_t covered = 0;
    for (std::uint64_t s = 0; s < strikes; ++s) {
        const std::size_t strike = static_cast<std::size_t>(8 + 48 * s);
        const std::uint64_t array = t.U32(strike), subtables = t.U32(strike + 8);
        const std::uint32_t start = t.U16(strike + 40), end = t.U16(strike + 42);
        if (start > end)
            return {table, "strike glyphs inverted"};
        if (end >= glyphs)
            return {table, "strike glyph past the last glyph"};
        if (!t.Has(array, 8 * subtables))
            return {table, "index subtables past the table"};
        std::int64_t previousLast = -1;
        for (std::uint64_t i = 0; i < subtables; ++i) {
            const std::size_t entry = static_cast<std::size_t>(array + 8 * i);
            const std::uint32_t first = t.U16(entry), last = t.U16(entry + 2);
            if (first > last)
                return {table, "index glyphs inverted"};
            if (last >= glyphs)
                return {table, "index glyph past the last glyph"};
            if (static_cast<std::int64_t>(first) <= previousLast)
                return {table, "index subtables out of order"};
            previousLast = last;
            const std::uint64_t at = array + t.U32(entry + 4);
            if (!read.insert({at, first, last}).second)
                continue;
            std::uint64_t subtableEnd = at;
            if (Fault fault = ReadIndexSubtable(t, at, first, last, data, colour, subtableEnd))
                return fault;
            if (!extents.emplace(at, subtableEnd).second)
                return {table, "index subtables overlapping"};
            covered += subtableEnd - at;
            if (covered > t.size())
                return {table, "index subtables larger than the table"};
        }
    }
    std::vector<std::pair<std::uint64_t, std::uint64_t>> spans(extents.begin(), extents.end());
    if (Overlap(std::move(spans)))
        return {table, "index subtables overlapping"};
    return nullptr;
}

Fault ReadSbix(const Range& t, std::uint32_t glyphs)
{
    if (t.size() < 8)
        return {"sbix", "cut short"};
    if (t.U16(0) != 1)
        return {"sbix", "unknown version"};
    const std::uint64_t strikes = t.U32(4);
    if (!t.Has(8, 4 * strikes))
        return {"sbix", "strikes past the table"};
    // Each strike read once, and none overlapping another: their headers add up to the
    // table's size at most, which bounds the work before the overlap is looked for.
    std::set<std::uint64_t> read;
    std::vector<std::pair<std::uint64_t, std::uint64_t>> extents;
    std::uint64_t covered = 0;
    for (std::uint64_t s = 0; s < strikes; ++s) {
        const std::uint64_t strike = t.U32(static_cast<std::size_t>(8 + 4 * s));
        if (!read.insert(strike).second)
            continue;
        // ppem, ppi, then an offset a glyph and one past the last, from the strike's start.
        const std::uint64_t header = 4 + 4 * (glyphs + 1ull);
        if (!t.Has(strike, header))
            return {"sbix", "strike past the table"};
        covered += header;
        if (covered > t.size())
            return {"sbix", "strike headers larger than the table"};
        extents.push_back({strike, strike + header});
        auto offset = [&](std::uint64_t g) { return t.U32(static_cast<std::size_t>(strike + 4 + 4 * g)); };
        std::uint64_t start = offset(0);
        for (std::uint64_t g = 0; g < glyphs; ++g) {
            const std::uint64_t next = offset(g + 1);
            if (next < start)
                return {"sbix", "glyph offsets descending"};
            if (!t.Has(strike + start, next - start))
                return {"sbix", "glyph data past the table"};
            // Origin offsets and the graphic's type before its data.
            if (next > start && next - start < 8)
                return {"sbix", "glyph data shorter than its header"};
            start = next;
        }
    }
    if (Overlap(std::move(extents)))
        return {"sbix", "strikes overlapping"};
    return nullptr;
}

}  // namespace font_reading
