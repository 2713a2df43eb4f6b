// The character map: the subtable Windows reads, and the rules of each format.
#include "judge_support.h"

namespace {

// A cmap of the given encoding records, each over a subtable of its own: format 4 or 12
// mapping `first`..`last` to glyphs from 1, or an empty format 14 (variation sequences).
struct CmapRecord {
    std::uint32_t platform, encoding, format;
    char32_t first = 0, last = 0;
};

Bytes CmapOf(const std::vector<CmapRecord>& records)
{
    Bytes subtables;
    std::vector<std::uint32_t> offsets;
    const std::size_t head = 4 + 8 * records.size();
    for (const CmapRecord& r : records) {
        offsets.push_back(static_cast<std::uint32_t>(head + subtables.size()));
        Bytes s;
        if (r.format == 4) {
            // Two segments: first..last by a delta, and the closing 0xFFFF.
            s = FontBuilder::Be16s({4, 32, 0, 4, 0, 0, 0, static_cast<std::uint32_t>(r.last), 0xFFFF, 0,
                                    static_cast<std::uint32_t>(r.first), 0xFFFF,
                                    (1u - static_cast<std::uint32_t>(r.first)) & 0xFFFF, 1, 0, 0});
        } else if (r.format == 12) {
            s = FontBuilder::Be16s({12, 0});
            for (std::uint32_t v : {28u, 0u, 1u, static_cast<std::uint32_t>(r.first), static_cast<std::uint32_t>(r.last), 1u})
                FontBuilder::Put(s, 4, v);
        } else {
            s = FontBuilder::Be16s({14});
            FontBuilder::Put(s, 4, 10);
            FontBuilder::Put(s, 4, 0);
        }
        subtables.insert(subtables.end(), s.begin(), s.end());
    }
    Bytes b = FontBuilder::Be16s({0, static_cast<std::uint32_t>(records.size())});
    for (std::size_t i = 0; i < records.size(); ++i) {
        FontBuilder::Put(b, 2, records[i].platform);
        FontBuilder::Put(b, 2, records[i].encoding);
        FontBuilder::Put(b, 4, offsets[i]);
    }
    b.insert(b.end(), subtables.begin(), subtables.end());
    return b;
}

}  // namespace

TEST(ReadFontFile, TakesTheCharactersFromTheSubtableWindowsReads)
{
    // Each subtable maps a range of its own, so the characters read tell which was chosen.
    const CmapRecord full{3, 10, 12, U'F', U'G'}, bmp{3, 1, 4, U'B', U'C'}, symbol{3, 0, 4, 0xF041, 0xF042},
        unicodeFull{0, 4, 12, U'U', U'V'}, unicodeBmp{0, 3, 4, U'X', U'Y'}, variations{0, 5, 14},
        fullAsFormat4{3, 10, 4, U'P', U'Q'};
    const std::pair<std::vector<CmapRecord>, CharRange> cases[] = {
        // Unicode-platform records never come before the Windows ones, and format 14 maps
        // nothing by itself: a font of (3,1) and (0,5) has the (3,1) characters.
        {{variations, bmp}, {U'B', U'C'}},
        {{bmp, variations}, {U'B', U'C'}},
        {{unicodeFull, unicodeBmp, bmp}, {U'B', U'C'}},
        {{unicodeBmp, symbol}, {0xF041, 0xF042}},
        {{bmp, full, unicodeFull}, {U'F', U'G'}},
        {{fullAsFormat4, bmp}, {U'B', U'C'}},  // (3,10) is read as format 12 or 13 only
        {{symbol, bmp}, {U'B', U'C'}},
        {{unicodeBmp, unicodeFull, variations}, {U'U', U'V'}},
        {{unicodeBmp, variations}, {U'X', U'Y'}},
    };
    for (const auto& [records, expected] : cases) {
        FontBuilder builder;
        builder.tables["cmap"] = CmapOf(records);
        const FontFileFacts facts = ReadFontFile(builder.Build());
        ASSERT_TRUE(facts.sound) << facts.reason;
        EXPECT_EQ(facts.faces[0].characters->ranges, std::vector<CharRange>{expected})
            << "first record " << records[0].platform << "," << records[0].encoding;
        // What an installed font's tables give is the same choice.
        FontBuilder::Bytes cmap = CmapOf(records);
        const std::optional<FontFace> installed = ReadFontTables(
            {builder.tables["head"], builder.tables["maxp"], cmap, builder.tables["name"], builder.tables["OS/2"], {}});
        ASSERT_TRUE(installed);
        EXPECT_EQ(installed->characters->ranges, std::vector<CharRange>{expected});
    }
    // A font whose only subtable is format 14 maps no character.
    FontBuilder only;
    only.tables["cmap"] = CmapOf({variations});
    const FontFileFacts facts = ReadFontFile(only.Build());
    ASSERT_TRUE(facts.sound) << facts.reason;
    EXPECT_TRUE(facts.faces[0].characters->ranges.empty());
}

TEST(CmapTable, EachRuleRefusesAFontThatBreaksOnlyIt)
{
    const Rule rules[] = {
        // cmap: the table, its records and formats 0, 4, 6, 12 and 13.
        {"cmap version 1", T, in("cmap", 0, 1), "cmap: unknown version"},
        {"cmap absent", T, [](FontBuilder& f) { f.tables.erase("cmap"); }, "cmap: absent"},
        {"encoding records past the table", T, in("cmap", 2, 0x2000), "cmap: encoding records past the table"},
        {"a subtable past the table", T, in("cmap", 8, 0x10000, 4), "cmap: a subtable past the table"},
        {"a subtable of an unknown format", T, in("cmap", FontBuilder::kFormat4, 3), "cmap: a subtable of an unknown format"},
        {"a subtable longer than the table", T, in("cmap", FontBuilder::kFormat12 + 4, 0x10000, 4), "cmap: a subtable longer than the table"},
        {"two subtables overlapping", T, in("cmap", FontBuilder::kFormat6 + 2, 16), "cmap: two subtables overlapping"},
        {"format 0 cut short", T, in("cmap", FontBuilder::kFormat0 + 2, 261), "cmap: format 0 cut short"},
        {"format 0 past the last glyph", T, in("cmap", FontBuilder::kFormat0 + 6 + 'A', 4, 1), "cmap: a glyph id past the last glyph"},
        {"format 4 with an odd segment count", T, in("cmap", FontBuilder::kFormat4 + 6, 5), "cmap: format 4 with an odd segment count"},
        {"format 4 segments out of order", T,
         [](FontBuilder& f) {
             Set16(f.tables["cmap"], kEnds + 2, 0x43);
             Set16(f.tables["cmap"], kStarts + 2, 0x42);
         },
         "cmap: format 4 segments out of order"},
        {"format 4 segment starting after its end", T, in("cmap", kStarts + 2, 0x63), "cmap: format 4 segment starting after its end"},
        {"format 4 delta past the last glyph", T, in("cmap", kDeltas, (3 - 0x41) & 0xFFFF), "cmap: a glyph id past the last glyph"},
        {"format 4 delta wrapping past 0xFFFF", T, in("cmap", kDeltas, 0xFFFF - 0x41), "cmap: format 4 delta wrapping past 0xFFFF"},
        {"format 4 glyph ids past the subtable", T, in("cmap", kRangeOffsets + 2, 6), "cmap: format 4 glyph ids past the subtable"},
        {"format 4 glyph id past the last glyph", T, in("cmap", kGlyphIds, 9), "cmap: a glyph id past the last glyph"},
        {"format 4 segments sharing glyph ids", T,
         [](FontBuilder& f) {
             Set16(f.tables["cmap"], kDeltas, 0);
             Set16(f.tables["cmap"], kRangeOffsets, 6);
         },
         "cmap: format 4 segments sharing glyph ids"},
        {"format 6 glyph ids past the subtable", T, in("cmap", FontBuilder::kFormat6 + 8, 3), "cmap: format 6 glyph ids past the subtable"},
        {"format 6 past the last glyph", T, in("cmap", FontBuilder::kFormat6 + 10, 4), "cmap: a glyph id past the last glyph"},
        {"format 12 groups past the subtable", T, in("cmap", FontBuilder::kFormat12 + 12, 3, 4), "cmap: format 12 or 13 groups past the subtable"},
        {"format 12 group starting after its end", T, in("cmap", kGroups + 12, 0x20002, 4), "cmap: format 12 or 13 group starting after its end"},
        {"format 12 groups out of order", T, in("cmap", kGroups + 12, 0x42, 4), "cmap: format 12 or 13 groups out of order"},
        {"format 12 past U+10FFFF", T,
         [](FontBuilder& f) {
             Set32(f.tables["cmap"], kGroups + 12, 0x10FFFF);
             Set32(f.tables["cmap"], kGroups + 16, 0x110000);
         },
         "cmap: format 12 or 13 past U+10FFFF"},
        {"format 12 past the last glyph", T, in("cmap", kGroups + 20, 3, 4), "cmap: a glyph id past the last glyph"},
        {"format 13 past the last glyph", T, in("cmap", kGroups13 + 8, 4, 4), "cmap: a glyph id past the last glyph"},
        // Rules that a fixture of another rule of the same table could hide.
        {"a format 12 header past the table", T,
         [](FontBuilder& f) {
             Bytes& cmap = f.tables["cmap"];
             Set32(cmap, 4 + 8 + 4, static_cast<std::uint32_t>(cmap.size()));  // the (3,10) record
             cmap.insert(cmap.end(), {0, 12, 0, 0, 0, 0});
         },
         "cmap: a subtable header past the table"},
        {"a format 14 header past the table", T,
         [](FontBuilder& f) {
             Bytes& cmap = f.tables["cmap"];
             Set32(cmap, 4 + 8 * 4 + 4, static_cast<std::uint32_t>(cmap.size()));  // the (0,5) record
             cmap.insert(cmap.end(), {0, 14, 0, 0});
         },
         "cmap: a subtable header past the table"},
        {"cmap cut short", T, [](FontBuilder& f) { f.lengths["cmap"] = 3; }, "cmap: cut short"},
        {"format 4 with no segments", T, in("cmap", FontBuilder::kFormat4 + 6, 0), "cmap: format 4 without segments"},
        {"format 4 cut short", T, in("cmap", FontBuilder::kFormat4 + 2, 12), "cmap: format 4 cut short"},
        {"format 4 segments past the subtable", T, in("cmap", FontBuilder::kFormat4 + 6, 8),
         "cmap: format 4 segments past the subtable"},
        {"format 6 cut short", T, in("cmap", FontBuilder::kFormat6 + 2, 9), "cmap: format 6 cut short"},
        {"format 12 cut short", T, in("cmap", FontBuilder::kFormat12 + 4, 15, 4), "cmap: format 12 or 13 cut short"},
        {"format 12 glyph 0xFFFFFFFF wrapping to 0", T, in("cmap", kGroups + 8, 0xFFFFFFFF, 4),
         "cmap: format 12 or 13 glyph id past 0xFFFF"},
        {"format 13 glyph past 0xFFFF", T, in("cmap", kGroups13 + 8, 0x10000, 4),
         "cmap: format 12 or 13 glyph id past 0xFFFF"},
        {"format 13 group inverted", T, in("cmap", kGroups13, 0x4E02, 4),
         "cmap: format 12 or 13 group starting after its end"},
        {"the last subtable's length past the table", T, in("cmap", FontBuilder::kFormat13 + 4, 32, 4),
         "cmap: a subtable longer than the table"},
    };
    ExpectEachRuleRefuses(rules);
}
