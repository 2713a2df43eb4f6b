// cmap: every subtable inside the table and none overlapping another, formats 0, 4, 6, 12
// and 13 read through (the others' extents only), and the characters of the subtable the
// system reads, as ranges.
#include <algorithm>
#include <map>

#include "fontdata/font_tables.h"

namespace font_reading {

namespace {

// The characters one cmap subtable maps, built range by range: each added range starts
// after the last one, and one that touches it is joined to it.
class Ranges {
public:
    void Add(char32_t first, char32_t last)
    {
        if (!ranges_.empty() && ranges_.back().last + 1 == first)
            ranges_.back().last = last;
        else
            ranges_.push_back({first, last});
    }
    std::vector<CharRange> Take() { return std::move(ranges_); }

private:
    std::vector<CharRange> ranges_;
};

// What one cmap subtable holds, whatever the font's glyph count: its extent in the cmap
// table, the highest glyph id it maps to, and the characters it maps to a glyph other
// than 0. A subtable is judged once, however many encoding records point at it.
struct Subtable {
    Fault fault;
    std::uint32_t format = 0;
    std::uint64_t end = 0;       // past its last byte, in the cmap table
    std::uint32_t topGlyph = 0;  // the highest glyph id it maps any character to
    std::vector<CharRange> mapped;
};

void Raise(std::uint32_t& top, std::uint32_t glyph)
{
    top = std::max(top, glyph);
}

// Format 4: segments in order; a segment without a glyph id array maps its characters to
// one run of glyph ids (checked as a run); one with an array reads its own part of the
// array, which no other segment shares.
Fault ReadFormat4(const Range& s, Subtable& out)
{
    if (s.size() < 14)
        return {"cmap", "format 4 cut short"};
    const std::uint32_t segmentsX2 = s.U16(6);
    if (segmentsX2 == 0)
        return {"cmap", "format 4 without segments"};
    if (segmentsX2 % 2 != 0)
        return {"cmap", "format 4 with an odd segment count"};
    if (!s.Has(14, 4ull * segmentsX2 + 2))
        return {"cmap", "format 4 segments past the subtable"};
    const std::size_t ends = 14, starts = 16 + segmentsX2, deltas = starts + segmentsX2, ranges = deltas + segmentsX2;
    std::int64_t previousEnd = -1;
    Ranges mapped;
    std::vector<std::pair<std::uint64_t, std::uint64_t>> arrays;
    for (std::size_t i = 0; i < segmentsX2 / 2; ++i) {
        const std::uint32_t end = s.U16(ends + 2 * i), start = s.U16(starts + 2 * i);
        const std::uint32_t delta = s.U16(deltas + 2 * i), range = s.U16(ranges + 2 * i);
        if (start > end)
            return {"cmap", "format 4 segment starting after its end"};
        if (static_cast<std::int64_t>(start) <= previousEnd)
            return {"cmap", "format 4 segments out of order"};
        previousEnd = end;
        const std::uint32_t last = std::min<std::uint32_t>(end, 0xFFFE);  // 0xFFFF maps nothing
        if (start > last)
            continue;
        const std::uint32_t count = last - start + 1;
        if (range == 0) {
            // Glyph ids (c + delta) mod 65536: one run, which may not wrap past 0xFFFF.
            const std::uint32_t low = (start + delta) & 0xFFFF;
            if (low + count - 1 > 0xFFFF)
                return {"cmap", "format 4 delta wrapping past 0xFFFF"};
            Raise(out.topGlyph, low + count - 1);
            if (low == 0 && count > 1)
                mapped.Add(start + 1, last);
            else if (low != 0)
                mapped.Add(start, last);
            continue;
        }
        const std::uint64_t array = ranges + 2 * i + range;
        if (!s.Has(array, 2ull * count))
            return {"cmap", "format 4 glyph ids past the subtable"};
        arrays.push_back({array, array + 2ull * count});
        for (std::uint32_t k = 0; k < count; ++k) {
            std::uint32_t glyph = s.U16(static_cast<std::size_t>(array + 2ull * k));
            if (glyph != 0)
                glyph = (glyph + delta) & 0xFFFF;
            Raise(out.topGlyph, glyph);
            if (glyph != 0)
                mapped.Add(start + k, start + k);
        }
    }
    if (Overlap(std::move(arrays)))
        return {"cmap", "format 4 segments sharing glyph ids"};
    out.mapped = mapped.Take();
    return nullptr;
}

// Formats 12 and 13: groups in order, each a range of characters mapped to a run of glyph
// ids (12) or to one glyph (13), checked as ranges.
Fault ReadGroups(const Range& s, bool oneGlyph, Subtable& out)
{
    if (s.size() < 16)
        return {"cmap", "format 12 or 13 cut short"};
    const std::uint32_t groups = s.U32(12);
    if (!s.Has(16, 12ull * groups))
        return {"cmap", "format 12 or 13 groups past the subtable"};
    std::int64_t previousEnd = -1;
    Ranges mapped;
    for (std::size_t g = 0; g < groups; ++g) {
        const std::size_t at = 16 + 12 * g;
        const std::uint32_t start = s.U32(at), end = s.U32(at + 4), glyph = s.U32(at + 8);
        if (start > end)
            return {"cmap", "format 12 or 13 group starting after its end"};
        if (end > 0x10FFFF)
            return {"cmap", "format 12 or 13 past U+10FFFF"};
        if (static_cast<std::int64_t>(start) <= previousEnd)
            return {"cmap", "format 12 or 13 groups out of order"};
        previousEnd = end;
        const std::uint64_t top = oneGlyph ? glyph : glyph + static_cast<std::uint64_t>(end - start);
        if (top > 0xFFFF)
            return {"cmap", "format 12 or 13 glyph id past 0xFFFF"};
        Raise(out.topGlyph, static_cast<std::uint32_t>(top));
        if (glyph != 0)
            mapped.Add(start, end);
        else if (!oneGlyph && start < end)
            mapped.Add(start + 1, end);
    }
    out.mapped = mapped.Take();
    return nullptr;
}

Subtable ReadSubtable(const Range& cmap, std::uint32_t offset)
{
    Subtable out;
    auto fail = [&](const char* rule) {
        out.fault = {"cmap", rule};
        return out;
    };
    if (!cmap.Has(offset, 4))
        return fail("a subtable past the table");
    const std::uint32_t format = cmap.U16(offset);
    out.format = format;
    std::uint64_t length;
    switch (format) {
    case 0: case 2: case 4: case 6:
        length = cmap.U16(offset + 2);
        break;
    case 8: case 10: case 12: case 13:
        if (!cmap.Has(offset, 8))
            return fail("a subtable header past the table");
        length = cmap.U32(offset + 4);
        break;
    case 14:
        if (!cmap.Has(offset, 6))
            return fail("a subtable header past the table");
        length = cmap.U32(offset + 2);
        break;
    default:
        return fail("a subtable of an unknown format");
    }
    if (!cmap.Has(offset, length))
        return fail("a subtable longer than the table");
    out.end = offset + length;
    const Range s = cmap.Sub(offset, static_cast<std::size_t>(length));
    switch (format) {
    case 0: {
        if (s.size() < 262)
            return fail("format 0 cut short");
        Ranges mapped;
        for (std::uint32_t c = 0; c < 256; ++c) {
            const std::uint32_t glyph = s.U8(6 + c);
            Raise(out.topGlyph, glyph);
            if (glyph != 0)
                mapped.Add(c, c);
        }
        out.mapped = mapped.Take();
        return out;
    }
    case 4:
        out.fault = ReadFormat4(s, out);
        return out;
    case 6: {
        if (s.size() < 10)
            return fail("format 6 cut short");
        const std::uint32_t first = s.U16(6), count = s.U16(8);
        if (!s.Has(10, 2ull * count))
            return fail("format 6 glyph ids past the subtable");
        Ranges mapped;
        for (std::uint32_t i = 0; i < count; ++i) {
            const std::uint32_t glyph = s.U16(10 + 2 * i);
            Raise(out.topGlyph, glyph);
            if (glyph != 0)
                mapped.Add(first + i, first + i);
        }
        out.mapped = mapped.Take();
        return out;
    }
    case 12:
    case 13:
        out.fault = ReadGroups(s, format == 13, out);
        return out;
    default:
        return out;  // read by no engine the program meets, and inside the table
    }
}

// Which subtable's characters the font shows, as Windows picks it: (3,10) format 12 or 13,
// then (3,1), then (3,0) (a symbol font), then the Unicode platform's, full Unicode first,
// then the rest. Format 14 holds variation sequences, which map no character by
// themselves: it is never the font's map. 0: never chosen.
int SubtableRank(std::uint32_t platform, std::uint32_t encoding, std::uint32_t format)
{
    if (format == 14)
        return 0;
    const bool full = format == 12 || format == 13;
    if (platform == 3 && encoding == 10 && full)
        return 7;
    if (platform == 3 && encoding == 1)
        return 6;
    if (platform == 3 && encoding == 0)
        return 5;
    if (platform == 0 && full)
        return 4;
    if (platform == 0)
        return 3;
    if (platform == 3)
        return 2;
    return 1;
}

// An even sample of at most kMostSampleCharacters characters of the ranges, ascending.
std::vector<char32_t> Sample(const std::vector<CharRange>& ranges)
{
    std::uint64_t all = 0;
    for (const CharRange& r : ranges)
        all += r.last - r.first + 1ull;
    const std::uint64_t wanted = std::min<std::uint64_t>(all, kMostSampleCharacters);
    std::vector<char32_t> sample;
    sample.reserve(static_cast<std::size_t>(wanted));
    std::size_t r = 0;
    std::uint64_t before = 0;  // characters in the ranges before ranges[r]
    for (std::uint64_t i = 0; i < wanted; ++i) {
        const std::uint64_t index = i * all / wanted;
        while (index >= before + (ranges[r].last - ranges[r].first + 1ull)) {
            before += ranges[r].last - ranges[r].first + 1ull;
            ++r;
        }
        sample.push_back(static_cast<char32_t>(ranges[r].first + (index - before)));
    }
    return sample;
}

}  // namespace

CmapFacts ReadCmap(const Range& cmap)
{
    CmapFacts facts;
    if (!cmap.present()) {
        facts.fault = {"cmap", "absent"};
        return facts;
    }
    if (cmap.size() < 4) {
        facts.fault = {"cmap", "cut short"};
        return facts;
    }
    if (cmap.U16(0) != 0) {
        facts.fault = {"cmap", "unknown version"};
        return facts;
    }
    const std::uint32_t records = cmap.U16(2);
    if (!cmap.Has(4, 8ull * records)) {
        facts.fault = {"cmap", "encoding records past the table"};
        return facts;
    }
    std::map<std::uint32_t, Subtable> subtables;  // by offset in the table
    const Subtable* best = nullptr;
    int bestRank = 0;
    for (std::uint32_t i = 0; i < records; ++i) {
        const std::size_t record = 4 + 8 * static_cast<std::size_t>(i);
        const std::uint32_t offset = cmap.U32(record + 4);
        auto [subtable, fresh] = subtables.try_emplace(offset);
        if (fresh)
            subtable->second = ReadSubtable(cmap, offset);
        if (subtable->second.fault) {
            facts.fault = subtable->second.fault;
            return facts;
        }
        facts.topGlyph = std::max(facts.topGlyph, subtable->second.topGlyph);
        const int rank = SubtableRank(cmap.U16(record), cmap.U16(record + 2), subtable->second.format);
        if (rank > bestRank) {
            bestRank = rank;
            best = &subtable->second;
        }
    }
    std::vector<std::pair<std::uint64_t, std::uint64_t>> extents;
    for (const auto& [offset, subtable] : subtables)
        extents.push_back({offset, subtable.end});
    if (Overlap(std::move(extents))) {
        facts.fault = {"cmap", "two subtables overlapping"};
        return facts;
    }
    auto characters = std::make_shared<CharacterMap>();
    if (best) {
        characters->ranges = best->mapped;
        characters->sample = Sample(characters->ranges);
    }
    facts.characters = std::move(characters);
    return facts;
}

}  // namespace font_reading
