#include "fontdata/font_file.h"

#include <algorithm>
#include <map>
#include <optional>
#include <tuple>

#include "fontdata/bitmap_tables.h"
#include "fontdata/font_tables.h"

using namespace font_reading;

namespace {

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
        if (added)
            known->second = ReadCmap(cmap);
        return known->second;
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
