#include "base/font_file.h"

#include <array>
#include <optional>

namespace {

constexpr std::uint32_t Tag(const char (&t)[5])
{
    return static_cast<std::uint32_t>(static_cast<unsigned char>(t[0])) << 24 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(t[1])) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(t[2])) << 8 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(t[3]));
}

constexpr std::uint32_t kTrueType = 0x00010000;
constexpr std::uint32_t kApple = Tag("true");
constexpr std::uint32_t kOpenType = Tag("OTTO");
constexpr std::uint32_t kCollection = Tag("ttcf");

// What failed; nullptr when nothing did.
using Fault = const char*;

// Big-endian reads within a range of the file that is known to lie inside it: Has()
// first, then read. The whole file is one such range, and so is each table.
class Range {
public:
    Range() = default;
    explicit Range(std::span<const std::uint8_t> b) : b_(b) {}
    bool present() const { return b_.data() != nullptr; }
    std::size_t size() const { return b_.size(); }
    bool Has(std::uint64_t at, std::uint64_t count) const { return at <= b_.size() && count <= b_.size() - at; }
    Range Sub(std::size_t at, std::size_t count) const { return Range(b_.subspan(at, count)); }
    std::uint32_t U8(std::size_t at) const { return b_[at]; }
    std::uint32_t U16(std::size_t at) const { return static_cast<std::uint32_t>(b_[at]) << 8 | b_[at + 1]; }
    std::int32_t S16(std::size_t at) const { return static_cast<std::int16_t>(U16(at)); }
    std::uint32_t U32(std::size_t at) const { return U16(at) << 16 | U16(at + 2); }

private:
    std::span<const std::uint8_t> b_;
};

bool IsSfntVersion(std::uint32_t version)
{
    return version == kTrueType || version == kApple || version == kOpenType;
}

// The tables of one font that the judge reads; absent ones are empty ranges.
struct Font {
    std::uint32_t version = 0;
    Range head, maxp, hhea, hmtx, cmap, loca, glyf, cff, cff2, os2, name;
    std::uint32_t glyphs = 0;
    bool longOffsets = false;
};

Fault ReadDirectory(const Range& file, std::size_t at, Font& font)
{
    if (!file.Has(at, 12))
        return "directory";
    font.version = file.U32(at);
    const std::uint32_t tables = file.U16(at + 4);
    if (!IsSfntVersion(font.version) || tables == 0 || tables > kMostTables || !file.Has(at + 12, tables * 16ull))
        return "directory";
    const std::pair<std::uint32_t, Range Font::*> known[] = {
        {Tag("head"), &Font::head}, {Tag("maxp"), &Font::maxp}, {Tag("hhea"), &Font::hhea},
        {Tag("hmtx"), &Font::hmtx}, {Tag("cmap"), &Font::cmap}, {Tag("loca"), &Font::loca},
        {Tag("glyf"), &Font::glyf}, {Tag("CFF "), &Font::cff},  {Tag("CFF2"), &Font::cff2},
        {Tag("OS/2"), &Font::os2},  {Tag("name"), &Font::name},
    };
    for (std::uint32_t t = 0; t < tables; ++t) {
        const std::size_t entry = at + 12 + static_cast<std::size_t>(t) * 16;
        const std::uint32_t tag = file.U32(entry), offset = file.U32(entry + 8), length = file.U32(entry + 12);
        if (!file.Has(offset, length))
            return "directory";  // a table past the end
        for (const auto& [knownTag, member] : known) {
            if (tag == knownTag)
                font.*member = file.Sub(offset, length);
        }
    }
    return nullptr;
}

Fault CheckHead(Font& font)
{
    const Range& head = font.head;
    if (!head.present() || head.size() < 54)
        return "head";
    const std::uint32_t unitsPerEm = head.U16(18);
    const std::int32_t locFormat = head.S16(50);
    if (unitsPerEm < 16 || unitsPerEm > 16384 || (locFormat != 0 && locFormat != 1))
        return "head";
    font.longOffsets = locFormat == 1;
    return nullptr;
}

Fault CheckMaxp(Font& font)
{
    if (!font.maxp.present() || font.maxp.size() < 6)
        return "maxp";
    font.glyphs = font.maxp.U16(4);
    return font.glyphs == 0 ? "maxp" : nullptr;
}

Fault CheckMetrics(const Font& font)
{
    if (!font.hhea.present() || font.hhea.size() < 36)
        return "hhea";
    const std::uint32_t metrics = font.hhea.U16(34);
    if (metrics == 0 || metrics > font.glyphs)
        return "hhea";
    if (!font.hmtx.present() || !font.hmtx.Has(0, 4ull * metrics + 2ull * (font.glyphs - metrics)))
        return "hmtx";
    return nullptr;
}

// The characters of one cmap subtable (the whole subtable is `s`), each mapped to a glyph
// below the glyph count.
Fault CheckFormat4(const Range& s, std::uint32_t glyphs, std::vector<char32_t>& characters)
{
    if (s.size() < 14)
        return "cmap";
    const std::uint32_t segmentsX2 = s.U16(6);
    if (segmentsX2 == 0 || segmentsX2 % 2 != 0 || !s.Has(14, 4ull * segmentsX2 + 2))
        return "cmap";
    const std::size_t ends = 14, starts = 16 + segmentsX2, deltas = starts + segmentsX2, ranges = deltas + segmentsX2;
    std::int64_t previousEnd = -1;
    for (std::size_t i = 0; i < segmentsX2 / 2; ++i) {
        const std::uint32_t end = s.U16(ends + 2 * i), start = s.U16(starts + 2 * i);
        const std::uint32_t delta = s.U16(deltas + 2 * i), range = s.U16(ranges + 2 * i);
        if (start > end || static_cast<std::int64_t>(start) <= previousEnd)
            return "cmap";
        previousEnd = end;
        for (std::uint32_t c = start; c <= end && c != 0xFFFF; ++c) {
            std::uint32_t glyph;
            if (range == 0) {
                glyph = (c + delta) & 0xFFFF;
            } else {
                const std::uint64_t at = ranges + 2 * i + range + 2ull * (c - start);
                if (!s.Has(at, 2))
                    return "cmap";
                glyph = s.U16(static_cast<std::size_t>(at));
                if (glyph != 0)
                    glyph = (glyph + delta) & 0xFFFF;
            }
            if (glyph >= glyphs)
                return "cmap";
            if (glyph != 0)
                characters.push_back(c);
        }
    }
    return nullptr;
}

Fault CheckFormat12(const Range& s, std::uint32_t glyphs, std::vector<char32_t>& characters)
{
    if (s.size() < 16)
        return "cmap";
    const std::uint32_t groups = s.U32(12);
    if (!s.Has(16, 12ull * groups))
        return "cmap";
    std::int64_t previousEnd = -1;
    for (std::size_t g = 0; g < groups; ++g) {
        const std::size_t at = 16 + 12 * g;
        const std::uint32_t start = s.U32(at), end = s.U32(at + 4), glyph = s.U32(at + 8);
        if (start > end || end > 0x10FFFF || static_cast<std::int64_t>(start) <= previousEnd ||
            glyph + static_cast<std::uint64_t>(end - start) >= glyphs)
            return "cmap";
        previousEnd = end;
        for (std::uint32_t c = start; c <= end; ++c) {
            if (glyph + (c - start) != 0)
                characters.push_back(c);
        }
    }
    return nullptr;
}

Fault CheckSubtable(const Range& cmap, std::uint32_t offset, std::uint32_t glyphs, std::vector<char32_t>& characters)
{
    if (!cmap.Has(offset, 4))
        return "cmap";
    const std::uint32_t format = cmap.U16(offset);
    std::uint64_t length;
    switch (format) {
    case 0: case 2: case 4: case 6:
        length = cmap.U16(offset + 2);
        break;
    case 8: case 10: case 12: case 13:
        if (!cmap.Has(offset, 8))
            return "cmap";
        length = cmap.U32(offset + 4);
        break;
    case 14:
        if (!cmap.Has(offset, 6))
            return "cmap";
        length = cmap.U32(offset + 2);
        break;
    default:
        return "cmap";
    }
    if (!cmap.Has(offset, length))
        return "cmap";
    const Range s = cmap.Sub(offset, static_cast<std::size_t>(length));
    switch (format) {
    case 0:
        if (s.size() < 262)
            return "cmap";
        for (std::uint32_t c = 0; c < 256; ++c) {
            const std::uint32_t glyph = s.U8(6 + c);
            if (glyph >= glyphs)
                return "cmap";
            if (glyph != 0)
                characters.push_back(c);
        }
        return nullptr;
    case 4:
        return CheckFormat4(s, glyphs, characters);
    case 6: {
        if (s.size() < 10)
            return "cmap";
        const std::uint32_t first = s.U16(6), count = s.U16(8);
        if (!s.Has(10, 2ull * count))
            return "cmap";
        for (std::uint32_t i = 0; i < count; ++i) {
            const std::uint32_t glyph = s.U16(10 + 2 * i);
            if (glyph >= glyphs)
                return "cmap";
            if (glyph != 0)
                characters.push_back(first + i);
        }
        return nullptr;
    }
    case 12:
        return CheckFormat12(s, glyphs, characters);
    default:
        return nullptr;  // read by no engine the program meets, and inside the table
    }
}

// Which subtable's characters the font shows, as the system picks it: full Unicode first.
int SubtableRank(std::uint32_t platform, std::uint32_t encoding)
{
    if (platform == 3 && encoding == 10)
        return 5;
    if (platform == 0)
        return 4;
    if (platform == 3 && encoding == 1)
        return 3;
    if (platform == 3 && encoding == 0)
        return 2;
    return 1;
}

Fault CheckCmap(const Font& font, FontFace& face)
{
    const Range& cmap = font.cmap;
    if (!cmap.present() || cmap.size() < 4 || cmap.U16(0) != 0)
        return "cmap";
    const std::uint32_t subtables = cmap.U16(2);
    if (!cmap.Has(4, 8ull * subtables))
        return "cmap";
    int bestRank = 0;
    for (std::uint32_t i = 0; i < subtables; ++i) {
        const std::size_t record = 4 + 8 * static_cast<std::size_t>(i);
        std::vector<char32_t> characters;
        if (Fault fault = CheckSubtable(cmap, cmap.U32(record + 4), font.glyphs, characters))
            return fault;
        const int rank = SubtableRank(cmap.U16(record), cmap.U16(record + 2));
        if (rank > bestRank) {
            bestRank = rank;
            face.characters = std::move(characters);
        }
    }
    if (face.characters.size() > kMostSampleCharacters) {
        std::vector<char32_t> sample;
        const std::size_t all = face.characters.size();
        for (std::size_t i = 0; i < kMostSampleCharacters; ++i)
            sample.push_back(face.characters[i * all / kMostSampleCharacters]);
        face.characters = std::move(sample);
    }
    return nullptr;
}

Fault CheckGlyphs(const Font& font)
{
    const Range &loca = font.loca, &glyf = font.glyf;
    if (!loca.present())
        return "loca";
    if (!glyf.present())
        return "glyf";
    const std::size_t entry = font.longOffsets ? 4 : 2;
    if (!loca.Has(0, (font.glyphs + 1ull) * entry))
        return "loca";
    auto offset = [&](std::size_t i) -> std::uint64_t {
        return font.longOffsets ? loca.U32(4 * i) : 2ull * loca.U16(2 * i);
    };
    std::uint64_t start = offset(0);
    if (start > glyf.size())
        return "loca";
    for (std::size_t g = 0; g < font.glyphs; ++g) {
        const std::uint64_t end = offset(g + 1);
        if (end < start || end > glyf.size())
            return "loca";
        const std::uint64_t slot = end - start;
        if (slot > 0) {
            // The glyph's header (contour count and bounds), and a simple glyph's contour
            // ends and instruction length, lie inside its slot.
            if (slot < 10)
                return "glyf";
            const std::int32_t contours = glyf.S16(static_cast<std::size_t>(start));
            if (contours > 0 && 12 + 2ull * static_cast<std::uint32_t>(contours) > slot)
                return "glyf";
        }
        start = end;
    }
    return nullptr;
}

// A CFF INDEX: its item count, where it ends, and where its first item lies.
struct Index {
    std::uint32_t count = 0;
    std::size_t end = 0, firstStart = 0, firstEnd = 0;
};

// The INDEX at `at`, when its offset size and every offset are sound and its data lies in
// the table. CFF counts items in 2 bytes, CFF2 in 4.
std::optional<Index> ReadIndex(const Range& t, std::size_t at, std::size_t countBytes)
{
    if (!t.Has(at, countBytes))
        return std::nullopt;
    Index index;
    index.count = countBytes == 2 ? t.U16(at) : t.U32(at);
    if (index.count == 0) {
        index.end = at + countBytes;
        return index;
    }
    const std::size_t sizeAt = at + countBytes;
    if (!t.Has(sizeAt, 1))
        return std::nullopt;
    const std::uint32_t offSize = t.U8(sizeAt);
    const std::uint64_t offsets = (index.count + 1ull) * offSize;
    if (offSize < 1 || offSize > 4 || !t.Has(sizeAt + 1, offsets))
        return std::nullopt;
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
        return std::nullopt;
    for (std::size_t i = 1; i <= index.count; ++i) {
        const std::uint32_t next = offset(i);
        if (next < previous)
            return std::nullopt;
        if (i == 1)
            index.firstEnd = base + next;
        previous = next;
    }
    if (!t.Has(base, previous))
        return std::nullopt;
    index.firstStart = base + 1;
    index.end = base + previous;
    return index;
}

// What the program needs of a top DICT: the CharStrings offset (operator 17) and the
// Private DICT's size and offset (18), when the DICT's encoding is sound.
struct TopDict {
    std::optional<std::int64_t> charStrings;
    std::optional<std::pair<std::int64_t, std::int64_t>> privateDict;
};

std::optional<TopDict> ReadDict(const Range& t, std::size_t from, std::size_t to)
{
    TopDict dict;
    std::vector<std::int64_t> operands;
    std::size_t p = from;
    while (p < to) {
        const std::uint32_t b0 = t.U8(p);
        std::int64_t value = 0;
        if (b0 <= 21) {
            ++p;
            if (b0 == 12) {
                if (p >= to)
                    return std::nullopt;
                ++p;  // two-byte operators: none the program reads
            } else if (b0 == 17 && !operands.empty()) {
                dict.charStrings = operands.back();
            } else if (b0 == 18 && operands.size() >= 2) {
                dict.privateDict = {{operands[operands.size() - 2], operands.back()}};
            }
            operands.clear();
            continue;
        }
        if (b0 == 28) {
            if (p + 3 > to)
                return std::nullopt;
            value = t.S16(p + 1);
            p += 3;
        } else if (b0 == 29) {
            if (p + 5 > to)
                return std::nullopt;
            value = static_cast<std::int32_t>(t.U32(p + 1));
            p += 5;
        } else if (b0 == 30) {  // a real number: nibbles up to the end nibble 0xF
            for (++p;; ++p) {
                if (p >= to)
                    return std::nullopt;
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
                return std::nullopt;
            const std::int64_t magnitude = (static_cast<std::int64_t>(b0 >= 251 ? b0 - 251 : b0 - 247) << 8) +
                                           t.U8(p + 1) + 108;
            value = b0 >= 251 ? -magnitude : magnitude;
            p += 2;
        } else {
            return std::nullopt;  // reserved
        }
        if (operands.size() >= 513)
            return std::nullopt;
        operands.push_back(value);
    }
    return dict;
}

// The CharStrings INDEX counts every glyph of the font, and the Private DICT lies inside.
Fault CheckOutlineIndexes(const Range& t, const TopDict& dict, std::size_t countBytes, std::uint32_t glyphs)
{
    if (!dict.charStrings || *dict.charStrings < 0 || *dict.charStrings >= static_cast<std::int64_t>(t.size()))
        return "CFF";
    const std::optional<Index> charStrings = ReadIndex(t, static_cast<std::size_t>(*dict.charStrings), countBytes);
    if (!charStrings || charStrings->count != glyphs)
        return "CFF";
    if (dict.privateDict) {
        const auto [size, offset] = *dict.privateDict;
        if (size < 0 || offset < 0 || !t.Has(static_cast<std::uint64_t>(offset), static_cast<std::uint64_t>(size)))
            return "CFF";
    }
    return nullptr;
}

Fault CheckCff(const Range& t, std::uint32_t glyphs)
{
    if (!t.Has(0, 4) || t.U8(0) != 1)
        return "CFF";
    const std::uint32_t headerSize = t.U8(2), offSize = t.U8(3);
    if (headerSize < 4 || offSize < 1 || offSize > 4)
        return "CFF";
    // Name, Top DICT, String and Global Subr INDEXes, one after the other.
    const std::optional<Index> names = ReadIndex(t, headerSize, 2);
    const std::optional<Index> top = names ? ReadIndex(t, names->end, 2) : std::nullopt;
    const std::optional<Index> strings = top ? ReadIndex(t, top->end, 2) : std::nullopt;
    const std::optional<Index> subrs = strings ? ReadIndex(t, strings->end, 2) : std::nullopt;
    if (!subrs || top->count == 0)
        return "CFF";
    const std::optional<TopDict> dict = ReadDict(t, top->firstStart, top->firstEnd);
    return dict ? CheckOutlineIndexes(t, *dict, 2, glyphs) : "CFF";
}

Fault CheckCff2(const Range& t, std::uint32_t glyphs)
{
    if (!t.Has(0, 5) || t.U8(0) != 2)
        return "CFF";
    const std::uint32_t headerSize = t.U8(2), dictLength = t.U16(3);
    if (headerSize < 5 || !t.Has(headerSize, dictLength))
        return "CFF";
    const std::optional<TopDict> dict = ReadDict(t, headerSize, headerSize + dictLength);
    if (!dict || !ReadIndex(t, headerSize + dictLength, 4))  // the Global Subr INDEX
        return "CFF";
    return CheckOutlineIndexes(t, *dict, 4, glyphs);
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

// The family (1) and full (4) names: Windows-platform Unicode records first, US English
// before other languages; else Macintosh Roman ones, English first. Every record must lie
// inside the string storage.
Fault ReadNames(const Range& t, FontFace& face)
{
    if (!t.present() || t.size() < 6)
        return "name";
    const std::uint32_t count = t.U16(2), storage = t.U16(4);
    if (!t.Has(6, 12ull * count) || storage > t.size())
        return "name";
    std::u16string family, full;
    int familyRank = 0, fullRank = 0;
    for (std::size_t r = 0; r < count; ++r) {
        const std::size_t record = 6 + r * 12;
        const std::uint32_t platform = t.U16(record), encoding = t.U16(record + 2);
        const std::uint32_t language = t.U16(record + 4), id = t.U16(record + 6);
        const std::uint32_t size = t.U16(record + 8), offset = t.U16(record + 10);
        if (!t.Has(static_cast<std::uint64_t>(storage) + offset, size))
            return "name";
        if (id != 1 && id != 4)
            continue;
        const std::size_t at = storage + offset;
        std::u16string text;
        int rank;
        if (platform == 3 && (encoding == 0 || encoding == 1 || encoding == 10)) {
            rank = language == 0x0409 ? 4 : 3;
            for (std::size_t i = 0; i + 1 < size; i += 2)
                text.push_back(static_cast<char16_t>(t.U16(at + i)));
        } else if (platform == 1 && encoding == 0) {
            rank = language == 0 ? 2 : 1;
            for (std::size_t i = 0; i < size; ++i) {
                const std::uint32_t byte = t.U8(at + i);
                text.push_back(byte < 0x80 ? static_cast<char16_t>(byte) : kMacRoman[byte - 0x80]);
            }
        } else {
            continue;
        }
        while (!text.empty() && text.back() == u'\0')
            text.pop_back();
        if (text.empty())
            continue;
        std::u16string& name = id == 1 ? family : full;
        int& bestRank = id == 1 ? familyRank : fullRank;
        if (rank > bestRank) {
            name = std::move(text);
            bestRank = rank;
        }
    }
    if (family.empty() && full.empty())
        return "name";
    face.family = family.empty() ? full : family;
    face.full = full.empty() ? family : full;
    return nullptr;
}

// The font whose table directory starts at `at`, judged table by table.
Fault ReadMember(const Range& file, std::size_t at, FontFace& face)
{
    Font font;
    if (Fault fault = ReadDirectory(file, at, font))
        return fault;
    Fault fault = CheckHead(font);
    if (!fault)
        fault = CheckMaxp(font);
    if (!fault)
        fault = CheckMetrics(font);
    if (!fault)
        fault = CheckCmap(font, face);
    if (!fault) {
        face.cff = font.version == kOpenType;
        if (!face.cff)
            fault = CheckGlyphs(font);
        else if (font.cff.present())
            fault = CheckCff(font.cff, font.glyphs);
        else if (font.cff2.present())
            fault = CheckCff2(font.cff2, font.glyphs);
        else
            fault = "CFF";
    }
    if (!fault && font.os2.present() && font.os2.size() < 78)
        fault = "OS/2";
    if (!fault)
        fault = ReadNames(font.name, face);
    return fault;
}

}  // namespace

FontFileFacts ReadFontFile(std::span<const std::uint8_t> bytes)
{
    const Range file(bytes);
    FontFileFacts facts;
    if (!file.Has(0, 4))
        return facts;
    const std::uint32_t tag = file.U32(0);
    std::vector<std::size_t> members;
    if (tag == kCollection) {
        facts.format = FontFileFacts::Format::Collection;
        const std::uint32_t version = file.Has(0, 12) ? file.U32(4) : 0, count = file.Has(0, 12) ? file.U32(8) : 0;
        if ((version != 0x00010000 && version != 0x00020000) || count == 0 || count > kMostMembers ||
            !file.Has(12, count * 4ull)) {
            facts.fault = "collection";
            return facts;
        }
        for (std::size_t m = 0; m < count; ++m)
            members.push_back(file.U32(12 + m * 4));
    } else if (IsSfntVersion(tag)) {
        facts.format = FontFileFacts::Format::Sfnt;
        members.push_back(0);
    } else {
        return facts;
    }
    for (std::size_t at : members) {
        FontFace face;
        if (Fault fault = ReadMember(file, at, face)) {
            facts.fault = fault;
            facts.faces.clear();
            return facts;
        }
        facts.faces.push_back(std::move(face));
    }
    facts.sound = true;
    return facts;
}

std::uint64_t ContentKey(std::span<const std::uint8_t> bytes)
{
    std::uint64_t key = 14695981039346656037ull;
    for (const std::uint8_t byte : bytes) {
        key ^= byte;
        key *= 1099511628211ull;
    }
    return key;
}

std::string CopyExtension(const std::string& fileName)
{
    const std::size_t dot = fileName.rfind('.');
    if (dot == std::string::npos || fileName.size() - dot < 2 || fileName.size() - dot > 5)
        return ".tmp";
    for (std::size_t i = dot + 1; i < fileName.size(); ++i) {
        const char c = fileName[i];
        if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')))
            return ".tmp";
    }
    return fileName.substr(dot);
}
