#include "fontdata/font_file.h"

#include <algorithm>
#include <array>
#include <map>
#include <optional>
#include <tuple>

#include "fontdata/bitmap_tables.h"
#include "fontdata/font_reading.h"

using namespace font_reading;

namespace {

constexpr std::uint32_t kTrueType = 0x00010000;
constexpr std::uint32_t kApple = Tag("true");
constexpr std::uint32_t kOpenType = Tag("OTTO");
constexpr std::uint32_t kCollection = Tag("ttcf");

bool IsSfntVersion(std::uint32_t version)
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

// The table directory at `at`: every table inside the file, no tag twice (an engine reads
// the first of a repeated tag, a judge might read another).
Fault ReadDirectory(const Range& file, std::size_t at, Font& font)
{
    if (!file.Has(at, 12))
        return {"directory", "header past the end"};
    font.version = file.U32(at);
    const std::uint32_t tables = file.U16(at + 4);
    if (!IsSfntVersion(font.version))
        return {"directory", "unknown version"};
    if (tables == 0)
        return {"directory", "no tables"};
    if (tables > kMostTables)
        return {"directory", "too many tables"};
    if (!file.Has(at + 12, tables * 16ull))
        return {"directory", "records past the end"};
    const std::pair<std::uint32_t, Range Font::*> known[] = {
        {Tag("head"), &Font::head}, {Tag("maxp"), &Font::maxp}, {Tag("hhea"), &Font::hhea},
        {Tag("hmtx"), &Font::hmtx}, {Tag("cmap"), &Font::cmap}, {Tag("loca"), &Font::loca},
        {Tag("glyf"), &Font::glyf}, {Tag("CFF "), &Font::cff},  {Tag("CFF2"), &Font::cff2},
        {Tag("OS/2"), &Font::os2},  {Tag("name"), &Font::name}, {Tag("fvar"), &Font::fvar},
        {Tag("EBLC"), &Font::eblc}, {Tag("EBDT"), &Font::ebdt}, {Tag("CBLC"), &Font::cblc},
        {Tag("CBDT"), &Font::cbdt}, {Tag("sbix"), &Font::sbix},
    };
    std::vector<std::uint32_t> tags;
    for (std::uint32_t t = 0; t < tables; ++t) {
        const std::size_t entry = at + 12 + static_cast<std::size_t>(t) * 16;
        const std::uint32_t tag = file.U32(entry), offset = file.U32(entry + 8), length = file.U32(entry + 12);
        if (!file.Has(offset, length))
            return {"directory", "a table past the end"};
        tags.push_back(tag);
        for (const auto& [knownTag, member] : known) {
            if (tag == knownTag)
                font.*member = file.Sub(offset, length);
        }
    }
    std::sort(tags.begin(), tags.end());
    if (std::adjacent_find(tags.begin(), tags.end()) != tags.end())
        return {"directory", "a tag twice"};
    return nullptr;
}

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

// A CFF INDEX: its item count, where it ends, and where its first item lies.
struct Index {
    std::uint32_t count = 0;
    std::size_t end = 0, firstStart = 0, firstEnd = 0;
};

// The INDEX at `at`, when its offset size and every offset are sound (ascending from 1)
// and its data lies in the table. CFF counts items in 2 bytes, CFF2 in 4. `part` names the
// INDEX in a fault.
Fault ReadIndex(const Range& t, std::size_t at, std::size_t countBytes, const char* part, Index& index)
{
    const char* table = "CFF";
    if (!t.Has(at, countBytes))
        return {table, "INDEX count past the table", part};
    index = Index();
    index.count = countBytes == 2 ? t.U16(at) : t.U32(at);
    if (index.count == 0) {
        index.end = at + countBytes;
        return nullptr;
    }
    const std::size_t sizeAt = at + countBytes;
    if (!t.Has(sizeAt, 1))
        return {table, "INDEX offset size past the table", part};
    const std::uint32_t offSize = t.U8(sizeAt);
    const std::uint64_t offsets = (index.count + 1ull) * offSize;
    if (offSize < 1 || offSize > 4)
        return {table, "INDEX offset size not 1 to 4", part};
    if (!t.Has(sizeAt + 1, offsets))
        return {table, "INDEX offsets past the table", part};
    auto offset = [&](std::size_t i) {
        std::uint32_t value = 0;
        for (std::size_t k = 0; k < offSize; ++k)
            value = value << 8 | t.U8(sizeAt + 1 + i * offSize + k);
        return value;
    };
    // Offsets count from the byte before the data, so the first is 1.
    const std::size_t base = sizeAt + static_cast<std::size_t>(offsets);
    std::uint32_t previous = offset(0);
    if (previous != 1)
        return {table, "INDEX not starting at 1", part};
    for (std::size_t i = 1; i <= index.count; ++i) {
        const std::uint32_t next = offset(i);
        if (next < previous)
            return {table, "INDEX offsets descending", part};
        if (i == 1)
            index.firstEnd = base + next;
        previous = next;
    }
    if (!t.Has(base, previous))
        return {table, "INDEX data past the table", part};
    index.firstStart = base + 1;
    index.end = base + previous;
    return nullptr;
}

// What the program needs of a top DICT: the CharStrings offset (operator 17) and the
// Private DICT's size and offset (18), when the DICT's encoding is sound.
struct TopDict {
    std::optional<std::int64_t> charStrings;
    std::optional<std::pair<std::int64_t, std::int64_t>> privateDict;
};

// The most operands a DICT holds before its operator (CFF2's maxstack limit).
constexpr std::size_t kMostOperands = 513;

// A CFF DICT. CFF2 has operators of its own, which are reserved in CFF: vsindex (22),
// blend (23), vstore (24) and maxstack (25).
Fault ReadDict(const Range& t, std::size_t from, std::size_t to, bool cff2, TopDict& dict)
{
    const char* table = "CFF";
    const char* part = cff2 ? "CFF2 Top DICT" : "Top DICT";
    std::vector<std::int64_t> operands;
    std::size_t p = from;
    while (p < to) {
        const std::uint32_t b0 = t.U8(p);
        std::int64_t value = 0;
        if (b0 <= 21 || (cff2 && b0 <= 25)) {
            ++p;
            if (b0 == 12) {
                if (p >= to)
                    return {table, "DICT two-byte operator cut short", part};
                ++p;  // two-byte operators: none the program reads
            } else if (b0 == 17 && !operands.empty()) {
                dict.charStrings = operands.back();
            } else if (b0 == 18 && operands.size() >= 2) {
                dict.privateDict = {{operands[operands.size() - 2], operands.back()}};
            }
            if (b0 != 23)  // blend leaves its results on the stack
                operands.clear();
            continue;
        }
        if (b0 == 28) {
            if (p + 3 > to)
                return {table, "DICT 16-bit operand cut short", part};
            value = t.S16(p + 1);
            p += 3;
        } else if (b0 == 29) {
            if (p + 5 > to)
                return {table, "DICT 32-bit operand cut short", part};
            value = static_cast<std::int32_t>(t.U32(p + 1));
            p += 5;
        } else if (b0 == 30) {  // a real number: nibbles up to the end nibble 0xF
            for (++p;; ++p) {
                if (p >= to)
                    return {table, "DICT real number without its end", part};
                const std::uint32_t byte = t.U8(p);
                if ((byte >> 4) == 0xF || (byte & 0xF) == 0xF)
                    break;
            }
            ++p;
        } else if (b0 >= 32 && b0 <= 246) {
            value = static_cast<std::int64_t>(b0) - 139;
            ++p;
        } else if (b0 >= 247 && b0 <= 254) {
            if (p + 2 > to)
                return {table, "DICT two-byte operand cut short", part};
            const std::int64_t magnitude = (static_cast<std::int64_t>(b0 >= 251 ? b0 - 251 : b0 - 247) << 8) +
                                           t.U8(p + 1) + 108;
            value = b0 >= 251 ? -magnitude : magnitude;
            p += 2;
        } else {
            return {table, "DICT reserved operator", part};
        }
        if (operands.size() >= kMostOperands)
            return {table, "DICT operand stack past 513", part};
        operands.push_back(value);
    }
    return nullptr;
}

// The CharStrings INDEX lies in the table, and so does the Private DICT.
OutlineFacts ReadOutlineIndexes(const Range& t, const TopDict& dict, std::size_t countBytes)
{
    const char* table = "CFF";
    if (!dict.charStrings)
        return {{table, "no CharStrings"}};
    if (*dict.charStrings < 0 || *dict.charStrings >= static_cast<std::int64_t>(t.size()))
        return {{table, "CharStrings past the table"}};
    Index charStrings;
    if (Fault fault = ReadIndex(t, static_cast<std::size_t>(*dict.charStrings), countBytes, countBytes == 2 ? "CharStrings" : "CFF2 CharStrings", charStrings))
        return {fault};
    if (dict.privateDict) {
        const auto [size, offset] = *dict.privateDict;
        if (size < 0 || offset < 0 || !t.Has(static_cast<std::uint64_t>(offset), static_cast<std::uint64_t>(size)))
            return {{table, "Private DICT past the table"}};
    }
    return {nullptr, charStrings.count};
}

OutlineFacts ReadCff(const Range& t)
{
    if (!t.Has(0, 4))
        return {{"CFF", "header cut short"}};
    if (t.U8(0) != 1)
        return {{"CFF", "unknown major version"}};
    const std::uint32_t headerSize = t.U8(2), offSize = t.U8(3);
    if (headerSize < 4)
        return {{"CFF", "header size below 4"}};
    if (offSize < 1 || offSize > 4)
        return {{"CFF", "header offset size not 1 to 4"}};
    // Name, Top DICT, String and Global Subr INDEXes, one after the other.
    Index names, top, strings, subrs;
    if (Fault fault = ReadIndex(t, headerSize, 2, "Name", names))
        return {fault};
    if (Fault fault = ReadIndex(t, names.end, 2, "Top DICT", top))
        return {fault};
    if (Fault fault = ReadIndex(t, top.end, 2, "String", strings))
        return {fault};
    if (Fault fault = ReadIndex(t, strings.end, 2, "Global Subr", subrs))
        return {fault};
    if (top.count == 0)
        return {{"CFF", "no Top DICT"}};
    TopDict dict;
    if (Fault fault = ReadDict(t, top.firstStart, top.firstEnd, false, dict))
        return {fault};
    return ReadOutlineIndexes(t, dict, 2);
}

OutlineFacts ReadCff2(const Range& t)
{
    if (!t.Has(0, 5))
        return {{"CFF", "CFF2 header cut short"}};
    if (t.U8(0) != 2)
        return {{"CFF", "CFF2 unknown major version"}};
    const std::uint32_t headerSize = t.U8(2), dictLength = t.U16(3);
    if (headerSize < 5)
        return {{"CFF", "CFF2 header size below 5"}};
    if (!t.Has(headerSize, dictLength))
        return {{"CFF", "CFF2 Top DICT past the table"}};
    TopDict dict;
    if (Fault fault = ReadDict(t, headerSize, headerSize + dictLength, true, dict))
        return {fault};
    Index subrs;
    if (Fault fault = ReadIndex(t, headerSize + dictLength, 4, "CFF2 Global Subr", subrs))
        return {fault};
    return ReadOutlineIndexes(t, dict, 4);
}

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

// Mac Roman's upper half in Unicode.
constexpr std::array<char16_t, 128> kMacRoman = {
    u'Ä', u'Å', u'Ç', u'É', u'Ñ', u'Ö', u'Ü', u'á', u'à', u'â', u'ä', u'ã', u'å', u'ç', u'é', u'è',
    u'ê', u'ë', u'í', u'ì', u'î', u'ï', u'ñ', u'ó', u'ò', u'ô', u'ö', u'õ', u'ú', u'ù', u'û', u'ü',
    u'†', u'°', u'¢', u'£', u'§', u'•', u'¶', u'ß', u'®', u'©', u'™', u'´', u'¨', u'≠', u'Æ', u'Ø',
    u'∞', u'±', u'≤', u'≥', u'¥', u'µ', u'∂', u'∑', u'∏', u'π', u'∫', u'ª', u'º', u'Ω', u'æ', u'ø',
    u'¿', u'¡', u'¬', u'√', u'ƒ', u'≈', u'∆', u'«', u'»', u'…', u'\u00A0', u'À', u'Ã', u'Õ', u'Œ', u'œ',
    u'–', u'—', u'“', u'”', u'‘', u'’', u'÷', u'◊', u'ÿ', u'Ÿ', u'⁄', u'€', u'‹', u'›', u'ﬁ', u'ﬂ',
    u'‡', u'·', u'‚', u'„', u'‰', u'Â', u'Ê', u'Á', u'Ë', u'È', u'Í', u'Î', u'Ï', u'Ì', u'Ó', u'Ô',
    u'\xF8FF', u'Ò', u'Ú', u'Û', u'Ù', u'ı', u'ˆ', u'˜', u'¯', u'˘', u'˙', u'˚', u'¸', u'˝', u'˛', u'ˇ',
};

// The names of a font: the family (1) and full (4) names, Windows-platform Unicode
// records first, US English before other languages; else Macintosh Roman ones, English
// first. Every family name is kept with its language, one per language. Every record must
// lie inside the string storage. Records may share their text: what is decoded is bounded
// by the table's own size, and a name is at most kLongestName characters (the texts about
// the font, a licence say, kLongestText).
constexpr std::size_t kLongestName = 256, kLongestText = 4096;

// The name ids read: the family and the full name, and what a font says about itself.
constexpr std::uint32_t kCopyright = 0, kFamily = 1, kFull = 4, kVersion = 5, kTrademark = 7, kManufacturer = 8,
                        kDesigner = 9, kLicence = 13, kLicenceUrl = 14, kIds = 15;
constexpr bool IsRead(std::uint32_t id)
{
    return id == kCopyright || id == kFamily || id == kFull || id == kVersion || id == kTrademark ||
           id == kManufacturer || id == kDesigner || id == kLicence || id == kLicenceUrl;
}

NameFacts ReadNames(const Range& t)
{
    NameFacts facts;
    const auto refused = [](const char* rule) {
        NameFacts f;
        f.fault = {"name", rule};
        return f;
    };
    if (!t.present())
        return refused("absent");
    if (t.size() < 6)
        return refused("cut short");
    const std::uint32_t count = t.U16(2), storage = t.U16(4);
    if (!t.Has(6, 12ull * count))
        return refused("records past the table");
    if (storage > t.size())
        return refused("storage past the table");
    std::uint64_t budget = t.size() + 4096;
    std::array<std::u16string, kIds> best;  // by id: the text of the best rank so far
    std::array<int, kIds> bestRank = {};
    std::vector<LocalName> windowsFamilies, macFamilies;
    // Which languages have a family name already, per platform: looked up for every record.
    std::vector<bool> windowsLanguages(0x10000), macLanguages(0x10000);
    for (std::size_t r = 0; r < count; ++r) {
        const std::size_t record = 6 + r * 12;
        const std::uint32_t platform = t.U16(record), encoding = t.U16(record + 2);
        const std::uint32_t language = t.U16(record + 4), id = t.U16(record + 6);
        const std::uint32_t size = t.U16(record + 8), offset = t.U16(record + 10);
        if (!t.Has(static_cast<std::uint64_t>(storage) + offset, size))
            return refused("a name past the storage");
        if (id >= kIds || !IsRead(id))
            continue;
        const bool windows = platform == 3 && (encoding == 0 || encoding == 1 || encoding == 10);
        const bool mac = platform == 1 && encoding == 0;
        if (!windows && !mac)
            continue;
        const std::uint16_t lang = mac ? (language == 0 ? kUsEnglish : 0) : static_cast<std::uint16_t>(language);
        const int rank = windows ? (language == kUsEnglish ? 4 : 3) : (language == 0 ? 2 : 1);
        std::vector<LocalName>& families = windows ? windowsFamilies : macFamilies;
        std::vector<bool>& languages = windows ? windowsLanguages : macLanguages;
        const bool wanted = rank > bestRank[id] || (id == kFamily && !languages[lang]);
        const std::size_t longest = id == kFamily || id == kFull ? kLongestName : kLongestText;
        const std::size_t bytes = std::min<std::size_t>(size, windows ? 2 * longest : longest);
        if (!wanted || budget < bytes)
            continue;
        budget -= bytes;
        const std::size_t at = storage + offset;
        std::u16string text;
        if (windows) {
            for (std::size_t i = 0; i + 1 < bytes; i += 2)
                text.push_back(static_cast<char16_t>(t.U16(at + i)));
        } else {
            for (std::size_t i = 0; i < bytes; ++i) {
                const std::uint32_t byte = t.U8(at + i);
                text.push_back(byte < 0x80 ? static_cast<char16_t>(byte) : kMacRoman[byte - 0x80]);
            }
        }
        while (!text.empty() && text.back() == u'\0')
            text.pop_back();
        if (text.empty())
            continue;
        if (id == kFamily && !languages[lang]) {
            languages[lang] = true;
            families.push_back({text, lang});
        }
        if (rank > bestRank[id]) {
            best[id] = std::move(text);
            bestRank[id] = rank;
        }
    }
    const std::u16string &family = best[kFamily], &full = best[kFull];
    if (family.empty() && full.empty())
        return refused("no family and no full name");
    facts.family = family.empty() ? full : family;
    facts.full = full.empty() ? family : full;
    std::vector<LocalName>& families = windowsFamilies.empty() ? macFamilies : windowsFamilies;
    if (families.empty())
        families.push_back({facts.family, kUsEnglish});
    facts.families = std::make_shared<const std::vector<LocalName>>(std::move(families));
    facts.about = std::make_shared<const FontAbout>(FontAbout{best[kCopyright], best[kVersion], best[kTrademark],
                                                              best[kManufacturer], best[kDesigner], best[kLicence],
                                                              best[kLicenceUrl]});
    return facts;
}

// The axes of a variable font (fvar), by their tags: each record inside the table.
std::vector<std::string> ReadAxes(const Range& fvar)
{
    std::vector<std::string> axes;
    if (!fvar.present() || fvar.size() < 16)
        return axes;
    const std::uint32_t first = fvar.U16(4), count = fvar.U16(8), size = fvar.U16(10);
    if (size < 4 || !fvar.Has(first, static_cast<std::uint64_t>(count) * size))
        return axes;
    constexpr std::uint32_t kMostAxes = 64;  // real fonts have a handful
    for (std::uint32_t i = 0; i < count && i < kMostAxes; ++i) {
        const std::size_t at = first + static_cast<std::size_t>(i) * size;
        std::string tag;
        for (std::size_t k = 0; k < 4; ++k)
            tag.push_back(static_cast<char>(fvar.U8(at + k)));
        axes.push_back(tag);
    }
    return axes;
}

// Reads the fonts of one file. What is read of a table (or a cmap subtable) is kept by
// its place in the file, so that a table shared by the members of a collection, or a
// subtable named by many encoding records, is read once.
class Judge {
public:
    explicit Judge(const Range& file) : file_(file) {}

    // The font whose table directory starts at `at`, judged table by table.
    Fault ReadMember(std::size_t at, FontFace& face)
    {
        Font font;
        if (Fault fault = ReadDirectory(file_, at, font))
            return fault;
        return ReadFace(font, face, true);
    }

    // The font's tables read into the face; with `outlines`, the metrics and the outlines
    // judged too, else left to the system that hands the tables out.
    Fault ReadFace(Font& font, FontFace& face, bool outlines)
    {
        if (Fault fault = CheckHead(font))
            return fault;
        if (Fault fault = CheckMaxp(font))
            return fault;
        if (outlines) {
            if (Fault fault = CheckMetrics(font))
                return fault;
        }
        const CmapFacts& cmap = Cmap(font.cmap);
        if (cmap.fault)
            return cmap.fault;
        if (cmap.topGlyph >= font.glyphs)
            return {"cmap", "a glyph id past the last glyph"};
        face.characters = cmap.characters;
        face.cff = font.version == kOpenType;
        face.cff2 = face.cff && !font.cff.present() && font.cff2.present();
        if (outlines) {
            // Embedded bitmaps, which an engine draws at their sizes: a bitmap-only font
            // (colour emoji) has nothing else.
            const std::pair<const char*, const Range*> bitmaps[] = {
                {"EBDT", &font.eblc}, {"CBDT", &font.cblc}, {"sbix", &font.sbix}};
            for (const auto& [kind, table] : bitmaps) {
                if (!table->present())
                    continue;
                if (Fault fault = Bitmaps(font, kind))
                    return fault;
                face.bitmaps += (face.bitmaps.empty() ? "" : ", ") + std::string(kind);
            }
        }
        if (outlines && !face.cff && !font.loca.present() && !font.glyf.present() && !face.bitmaps.empty()) {
            face.outlines = false;
        } else if (outlines && !face.cff) {
            if (!font.loca.present())
                return {"loca", "absent"};
            if (!font.glyf.present())
                return {"glyf", "absent"};
            const GlyphFacts& glyphs = Glyphs(font);
            if (font.glyphs > glyphs.soundGlyphs)
                return glyphs.next;
        } else if (outlines) {
            const Range& table = font.cff.present() ? font.cff : font.cff2;
            if (!table.present())
                return {"CFF", "absent"};
            const OutlineFacts& outlineFacts = Outlines(table, font.cff.present());
            if (outlineFacts.fault)
                return outlineFacts.fault;
            if (outlineFacts.charStrings != font.glyphs)
                return {"CFF", "CharStrings not counting every glyph"};
        }
        if (font.os2.present() && font.os2.size() < 78)
            return {"OS/2", "cut short"};
        if (font.os2.present()) {
            face.weight = static_cast<std::uint16_t>(std::clamp<std::uint32_t>(font.os2.U16(4), 1, 1000));
            face.italic = (font.os2.U16(62) & 1) != 0;
        } else {
            face.weight = (font.head.U16(44) & 1) != 0 ? 700 : 400;
            face.italic = (font.head.U16(44) & 2) != 0;
        }
        const NameFacts& names = Names(font.name);
        if (names.fault)
            return names.fault;
        face.family = names.family;
        face.full = names.full;
        face.families = names.families;
        face.about = names.about;
        face.glyphs = font.glyphs;
        face.unitsPerEm = font.head.U16(18);
        face.axes = ReadAxes(font.fvar);
        return nullptr;
    }

private:
    const CmapFacts& Cmap(const Range& cmap)
    {
        const auto [known, added] = cmaps_.try_emplace(cmap.Place());
        if (!added)
            return known->second;
        CmapFacts& facts = known->second;
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

    const GlyphFacts& Glyphs(const Font& font)
    {
        const auto key = std::make_tuple(font.loca.Place(), font.glyf.Place(), font.longOffsets);
        const auto [known, added] = glyphs_.try_emplace(key);
        if (added)
            known->second = ReadGlyphs(font.loca, font.glyf, font.longOffsets);
        return known->second;
    }

    const OutlineFacts& Outlines(const Range& table, bool cff)
    {
        const auto [known, added] = outlines_.try_emplace(table.Place());
        if (added)
            known->second = cff ? ReadCff(table) : ReadCff2(table);
        return known->second;
    }

    const Fault& Bitmaps(const Font& font, const std::string& kind)
    {
        const Range& table = kind == "EBDT" ? font.eblc : kind == "CBDT" ? font.cblc : font.sbix;
        const Range& data = kind == "EBDT" ? font.ebdt : font.cbdt;
        const auto key = std::make_tuple(table.Place(), data.Place(), font.glyphs, kind);
        const auto [known, added] = bitmaps_.try_emplace(key);
        if (added)
            known->second = kind == "sbix" ? ReadSbix(table, font.glyphs)
                                           : ReadBitmapLocations(table, data, font.glyphs, kind == "CBDT");
        return known->second;
    }

    const NameFacts& Names(const Range& name)
    {
        const auto [known, added] = names_.try_emplace(name.Place());
        if (added)
            known->second = ReadNames(name);
        return known->second;
    }

    Range file_;
    using Place = std::pair<std::size_t, std::size_t>;
    std::map<Place, CmapFacts> cmaps_;
    std::map<std::tuple<Place, Place, bool>, GlyphFacts> glyphs_;
    std::map<Place, OutlineFacts> outlines_;
    std::map<Place, NameFacts> names_;
    std::map<std::tuple<Place, Place, std::uint32_t, std::string>, Fault> bitmaps_;
};

}  // namespace

FontFileFacts ReadFontFile(std::span<const std::uint8_t> bytes)
{
    const Range file(bytes);
    FontFileFacts facts;
    if (!file.Has(0, 4))
        return facts;
    const auto refuse = [&facts](Fault fault) {
        facts.fault = fault.table;
        facts.reason = fault.Text();
        facts.faces.clear();
        return facts;
    };
    const std::uint32_t tag = file.U32(0);
    std::vector<std::size_t> members;
    if (tag == kCollection) {
        facts.format = FontFileFacts::Format::Collection;
        if (!file.Has(0, 12))
            return refuse({"collection", "header cut short"});
        const std::uint32_t version = file.U32(4), count = file.U32(8);
        if (version != 0x00010000 && version != 0x00020000)
            return refuse({"collection", "unknown version"});
        if (count == 0)
            return refuse({"collection", "no members"});
        if (count > kMostMembers)
            return refuse({"collection", "too many members"});
        if (!file.Has(12, count * 4ull))
            return refuse({"collection", "member offsets past the end"});
        for (std::size_t m = 0; m < count; ++m)
            members.push_back(file.U32(12 + m * 4));
    } else if (IsSfntVersion(tag)) {
        facts.format = FontFileFacts::Format::Sfnt;
        members.push_back(0);
    } else {
        return facts;
    }
    // Members at the same place are one font named twice; members whose table directories
    // overlap are not fonts of their own.
    std::map<std::size_t, FontFace> read;
    std::vector<std::pair<std::uint64_t, std::uint64_t>> directories;
    Judge judge(file);
    for (std::size_t at : members) {
        auto [member, fresh] = read.try_emplace(at);
        if (fresh) {
            if (Fault fault = judge.ReadMember(at, member->second))
                return refuse(fault);
            directories.push_back({at, at + 12 + 16ull * file.U16(at + 4)});
        }
        facts.faces.push_back(member->second);
    }
    if (Overlap(std::move(directories)))
        return refuse({"collection", "member directories overlapping"});
    facts.sound = true;
    return facts;
}

std::u16string FamilyFor(const FontFace& face, std::uint16_t language)
{
    return face.families ? PreferredName(*face.families, language, face.family) : face.family;
}

std::u16string PreferredName(const std::vector<LocalName>& names, std::uint16_t language,
                             const std::u16string& fallback)
{
    for (const std::uint16_t wanted : {language, kUsEnglish}) {
        for (const LocalName& name : names) {
            if (name.language == wanted)
                return name.text;
        }
    }
    return names.empty() ? fallback : names.front().text;
}

std::optional<FontNames> ReadNameTable(std::span<const std::uint8_t> table)
{
    const NameFacts facts = ReadNames(Range(table));
    if (facts.fault)
        return std::nullopt;
    return FontNames{facts.family, facts.full, facts.families, facts.about};
}

std::vector<std::vector<TableRecord>> FontTableRecords(std::span<const std::uint8_t> start)
{
    const Range file(start);
    if (!file.Has(0, 4))
        return {};
    std::vector<std::size_t> members;
    if (file.U32(0) == kCollection) {
        if (!file.Has(0, 12))
            return {};
        const std::uint32_t count = file.U32(8);
        if (count == 0 || count > kMostMembers || !file.Has(12, 4ull * count))
            return {};
        for (std::size_t m = 0; m < count; ++m)
            members.push_back(file.U32(12 + 4 * m));
    } else if (IsSfntVersion(file.U32(0))) {
        members.push_back(0);
    } else {
        return {};
    }
    std::vector<std::vector<TableRecord>> fonts;
    for (std::size_t at : members) {
        if (!file.Has(at, 12) || !IsSfntVersion(file.U32(at)))
            return {};
        const std::uint32_t tables = file.U16(at + 4);
        if (tables > kMostTables || !file.Has(at + 12, 16ull * tables))
            return {};
        std::vector<TableRecord>& records = fonts.emplace_back();
        for (std::size_t t = 0; t < tables; ++t) {
            const std::size_t record = at + 12 + 16 * t;
            records.push_back({file.U32(record), file.U32(record + 8), file.U32(record + 12)});
        }
    }
    return fonts;
}

std::optional<std::vector<std::uint8_t>> WithOwnFamilies(std::span<const std::uint8_t> bytes,
                                                         const std::vector<std::u16string>& families)
{
    const std::vector<std::vector<TableRecord>> fonts = FontTableRecords(bytes);
    if (fonts.empty() || fonts.size() != families.size())
        return std::nullopt;
    std::vector<std::uint8_t> out(bytes.begin(), bytes.end());
    auto put16 = [&out](std::uint32_t v) {
        out.push_back(static_cast<std::uint8_t>(v >> 8));
        out.push_back(static_cast<std::uint8_t>(v));
    };
    auto set32 = [&out](std::size_t at, std::uint64_t v) {
        for (std::size_t i = 0; i < 4; ++i)
            out[at + i] = static_cast<std::uint8_t>(v >> (24 - 8 * i));
    };
    // Where each member's directory starts: the file's start, or the collection's offsets.
    const Range file(bytes);
    std::vector<std::size_t> directories;
    if (file.U32(0) == kCollection) {
        for (std::size_t m = 0; m < fonts.size(); ++m)
            directories.push_back(file.U32(12 + 4 * m));
    } else {
        directories.push_back(0);
    }
    for (std::size_t m = 0; m < fonts.size(); ++m) {
        const std::u16string& family = families[m];
        const std::u16string style = u"Regular";
        // Family (1), subfamily (2) and full name (4): the US English Windows records.
        const std::pair<std::uint32_t, const std::u16string*> records[] = {{1, &family}, {2, &style}, {4, &family}};
        while (out.size() % 4 != 0)
            out.push_back(0);
        const std::size_t at = out.size();
        put16(0);
        put16(3);
        put16(6 + 12 * 3);
        std::uint32_t offset = 0;
        for (const auto& [id, text] : records) {
            for (std::uint32_t v : {3u, 1u, std::uint32_t{kUsEnglish}, id, static_cast<std::uint32_t>(2 * text->size()),
                                    offset})
                put16(v);
            offset += static_cast<std::uint32_t>(2 * text->size());
        }
        for (const auto& [id, text] : records) {
            for (char16_t c : *text)
                put16(c);
        }
        const std::size_t length = out.size() - at;
        // The member's name record, or none: then the font keeps the names it had.
        const std::size_t directory = directories[m];
        for (std::size_t t = 0; t < fonts[m].size(); ++t) {
            if (fonts[m][t].tag != Tag("name"))
                continue;
            const std::size_t record = directory + 12 + 16 * t;
            std::uint32_t sum = 0;
            for (std::size_t i = at; i < out.size(); i += 4) {
                std::uint32_t word = 0;
                for (std::size_t k = 0; k < 4; ++k)
                    word = word << 8 | (i + k < out.size() ? out[i + k] : 0u);
                sum += word;
            }
            set32(record + 4, sum);
            set32(record + 8, at);
            set32(record + 12, length);
        }
    }
    return out;
}

std::vector<TablePlace> NameTablePlaces(std::span<const std::uint8_t> start)
{
    std::vector<TablePlace> places;
    for (const std::vector<TableRecord>& font : FontTableRecords(start)) {
        std::optional<TablePlace> name;
        for (const TableRecord& record : font) {
            if (record.tag == Tag("name"))
                name = TablePlace{record.offset, record.length};
        }
        if (!name)
            return {};
        places.push_back(*name);
    }
    return places;
}

std::optional<FontFace> ReadFontTables(const FontTables& tables)
{
    // Each table is a range of its own; the judge keeps what it read by place, and the
    // tables' places differ by kind, never within one.
    const auto range = [](std::span<const std::uint8_t> t) { return t.data() ? Range(t) : Range(); };
    Font font;
    font.version = tables.cff || tables.cff2 ? kOpenType : kTrueType;
    font.head = range(tables.head);
    font.maxp = range(tables.maxp);
    font.cmap = range(tables.cmap);
    font.name = range(tables.name);
    font.os2 = range(tables.os2);
    font.fvar = range(tables.fvar);
    Judge judge{Range()};
    FontFace face;
    if (judge.ReadFace(font, face, false))
        return std::nullopt;
    face.cff2 = tables.cff2 && !tables.cff;
    face.outlines = tables.outlines;
    face.bitmaps = tables.bitmaps;
    return face;
}

std::optional<CollectionPlace> CollectionMember(std::span<const std::uint8_t> start, std::span<const std::uint8_t> name)
{
    const Range file(start);
    if (!file.Has(0, 12) || file.U32(0) != kCollection)
        return std::nullopt;
    const std::uint32_t count = file.U32(8);
    if (count == 0 || count > kMostMembers || !file.Has(12, 4ull * count))
        return std::nullopt;
    // The checksum of a table: its big-endian 32-bit words summed, the last one padded.
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i < name.size(); i += 4) {
        std::uint32_t word = 0;
        for (std::size_t k = 0; k < 4; ++k)
            word = word << 8 | (i + k < name.size() ? name[i + k] : 0u);
        sum += word;
    }
    for (std::size_t m = 0; m < count; ++m) {
        const std::size_t at = file.U32(12 + 4 * m);
        if (!file.Has(at, 12))
            return std::nullopt;
        const std::uint32_t tables = file.U16(at + 4);
        if (tables > kMostTables || !file.Has(at + 12, 16ull * tables))
            return std::nullopt;
        for (std::size_t t = 0; t < tables; ++t) {
            const std::size_t record = at + 12 + 16 * t;
            if (file.U32(record) == Tag("name") && file.U32(record + 4) == sum && file.U32(record + 12) == name.size())
                return CollectionPlace{m, count};
        }
    }
    return std::nullopt;
}
