// The table directory and collections: members, overlaps, where each font's names lie, an
// installed font's tables, the member a name table belongs to, renamed copies; and the
// directory's rules.
#include "judge_support.h"

TEST(ReadFontFile, ReadsEveryMemberOfACollection)
{
    const auto a = Fixture("quillmoor-names.ttf");
    const auto b = Fixture("quillmoor-otf.otf");
    const FontFileFacts two = ReadFontFile(Collection({a, b}));
    EXPECT_EQ(two.format, FontFileFacts::Format::Collection);
    ASSERT_TRUE(two.sound) << two.fault;
    ASSERT_EQ(two.faces.size(), 2u);
    EXPECT_TRUE(two.faces[0].family == u"Quillmoor Names");
    EXPECT_TRUE(two.faces[1].family == u"Quillmoor OTF");
    EXPECT_TRUE(two.faces[1].cff);

    // Both members at the same offset: the same font twice is still readable.
    std::vector<std::uint8_t> overlapping = Collection({a, b});
    Put32(overlapping, 16, Get32(overlapping, 12));
    const FontFileFacts same = ReadFontFile(overlapping);
    ASSERT_EQ(same.faces.size(), 2u);
    EXPECT_TRUE(same.faces[1].family == u"Quillmoor Names");

    auto broken = [&](std::size_t at, std::uint32_t value) {
        std::vector<std::uint8_t> bytes = Collection({a, b});
        Put32(bytes, at, value);
        return bytes;
    };
    std::vector<std::uint8_t> truncated = Collection({a, b});
    truncated.resize(truncated.size() - 10);
    std::vector<std::uint8_t> headerOnly = Collection({a, b});
    headerOnly.resize(14);
    // 1,025 members, each the first font: one more than a collection may have.
    std::vector<std::uint8_t> many = Collection({a});
    const std::uint32_t first = Get32(many, 12) + 1024 * 4;
    many.insert(many.begin() + 16, 1024 * 4, 0);
    Put32(many, 8, 1025);
    for (std::size_t m = 0; m < 1025; ++m)
        Put32(many, 12 + 4 * m, first);
    std::vector<std::uint8_t> headerCut = Collection({a, b});
    headerCut.resize(10);
    const std::tuple<const char*, std::vector<std::uint8_t>, const char*> bad[] = {
        {"member count 0", broken(8, 0), "collection: no members"},
        {"member count 0xFFFFFFFF", broken(8, 0xFFFFFFFF), "collection: too many members"},
        {"1,025 members", many, "collection: too many members"},
        {"unknown version", broken(4, 0x00030000), "collection: unknown version"},
        {"header cut short", headerCut, "collection: header cut short"},
        {"offsets cut short", headerOnly, "collection: member offsets past the end"},
        {"member offset past the end", broken(16, 0x00FFFFFF), "directory: header past the end"},
        {"member offset into the header", broken(16, 4), "directory: no tables"},
        {"member offset pointing at the collection", broken(16, 0), "directory: unknown version"},
        {"last member cut short", truncated, "directory: a table past the end"},
    };
    for (const auto& [what, bytes, reason] : bad) {
        const FontFileFacts facts = ReadFontFile(bytes);
        EXPECT_EQ(facts.format, FontFileFacts::Format::Collection) << what;
        EXPECT_FALSE(facts.sound) << what;
        EXPECT_EQ(facts.reason, reason) << what;
    }
}

TEST(ReadFontFile, RefusesMembersWhoseDirectoriesOverlap)
{
    // A member whose table directory starts inside another's: the first font has an empty
    // table, sorted first, whose record reads as the header of a font of the other tables.
    FontBuilder builder;
    builder.tables[std::string("\0\0\0\0", 4)] = {};
    std::vector<std::uint8_t> font = builder.Build();
    const std::uint32_t others = static_cast<std::uint32_t>(builder.tables.size() - 1);
    Put32(font, 12 + 4, 0x00010000);    // checksum: the inner font's version
    Put32(font, 12 + 8, others << 16);  // offset: its table count
    Put32(font, 12 + 12, 0);
    font.resize(std::max<std::size_t>(font.size(), (others << 16) + 64), 0);
    std::vector<std::uint8_t> both = Collection({font});
    both.insert(both.begin() + 16, {0, 0, 0, 0});  // room for a second member's offset
    Put32(both, 8, 2);
    Put32(both, 12, Get32(both, 12) + 4);
    Put32(both, 16, Get32(both, 12) + 12 + 4);
    for (std::uint32_t t = 0; t <= others; ++t)  // the tables moved by the 4 bytes inserted
        Put32(both, Get32(both, 12) + 12 + 16 * t + 8, Get32(both, Get32(both, 12) + 12 + 16 * t + 8) + 4);
    const FontFileFacts alone = ReadFontFile(font);
    ASSERT_TRUE(alone.sound) << alone.fault;
    const FontFileFacts facts = ReadFontFile(both);
    EXPECT_FALSE(facts.sound);
    EXPECT_EQ(facts.reason, "collection: member directories overlapping");
}

TEST(NameTablePlaces, FindEachFontsNamesFromTheFilesStart)
{
    const auto a = Fixture("quillmoor-names.ttf");
    const auto b = Fixture("quillmoor-otf.otf");
    const std::vector<std::uint8_t> pair = Collection({a, b});
    const std::vector<std::uint8_t> wqy = FileBytes("/usr/share/fonts/truetype/wqy/wqy-microhei.ttc");
    for (const auto* file : {&a, &pair, &wqy}) {
        const FontFileFacts facts = ReadFontFile(*file);
        ASSERT_TRUE(facts.sound);
        // What the name tables give alone is what the judge read of the whole file.
        const std::vector<TablePlace> places = NameTablePlaces(std::span(*file).first(std::min<std::size_t>(file->size(), 65536)));
        ASSERT_EQ(places.size(), facts.faces.size());
        for (std::size_t i = 0; i < places.size(); ++i) {
            const std::optional<FontNames> names =
                ReadNameTable(std::span(*file).subspan(places[i].offset, places[i].length));
            ASSERT_TRUE(names);
            EXPECT_TRUE(names->family == facts.faces[i].family);
            EXPECT_TRUE(names->full == facts.faces[i].full);
            ASSERT_EQ(names->families->size(), facts.faces[i].families->size());
            EXPECT_TRUE(names->about->version == facts.faces[i].about->version);
        }
    }
    // A start that does not hold every directory, or is no font's, gives nothing.
    const std::size_t secondDirectory = Get32(pair, 16);
    EXPECT_TRUE(NameTablePlaces(std::span(pair).first(secondDirectory + 8)).empty());
    EXPECT_TRUE(NameTablePlaces(std::span(a).first(20)).empty());
    const std::vector<std::uint8_t> text = {'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd', '!'};
    EXPECT_TRUE(NameTablePlaces(text).empty());
    EXPECT_FALSE(ReadNameTable(text));
}

namespace {

// A table of the member whose directory starts at `at`, as the system hands it out.
std::span<const std::uint8_t> TableOf(const std::vector<std::uint8_t>& file, std::size_t at, const char* tag)
{
    const std::uint32_t want = static_cast<std::uint32_t>(tag[0]) << 24 | static_cast<std::uint32_t>(tag[1]) << 16 |
                               static_cast<std::uint32_t>(tag[2]) << 8 | static_cast<std::uint32_t>(tag[3]);
    const std::uint32_t tables = static_cast<std::uint32_t>(file[at + 4]) << 8 | file[at + 5];
    for (std::uint32_t t = 0; t < tables; ++t) {
        const std::size_t record = at + 12 + 16 * t;
        if (Get32(file, record) == want)
            return std::span(file).subspan(Get32(file, record + 8), Get32(file, record + 12));
    }
    return {};
}

FontTables TablesOf(const std::vector<std::uint8_t>& file, std::size_t at)
{
    return {TableOf(file, at, "head"), TableOf(file, at, "maxp"), TableOf(file, at, "cmap"),
            TableOf(file, at, "name"), TableOf(file, at, "OS/2"), TableOf(file, at, "fvar"),
            !TableOf(file, at, "CFF ").empty(), !TableOf(file, at, "CFF2").empty()};
}

}  // namespace

TEST(ReadFontTables, AnInstalledFontsTablesGiveWhatTheWholeFileGives)
{
    const std::vector<std::uint8_t> wqy = FileBytes("/usr/share/fonts/truetype/wqy/wqy-microhei.ttc");
    const std::vector<std::uint8_t> otf = Fixture("quillmoor-otf.otf");
    FontBuilder cff2Builder(FontBuilder::Outlines::Cff2);
    const std::vector<std::uint8_t> cff2 = cff2Builder.Build();
    const std::vector<std::pair<const std::vector<std::uint8_t>*, std::size_t>> fonts = {
        {&wqy, Get32(wqy, 12)}, {&wqy, Get32(wqy, 16)}, {&otf, 0}, {&cff2, 0}};
    for (const auto& [file, at] : fonts) {
        const FontFileFacts whole = ReadFontFile(*file);
        ASSERT_TRUE(whole.sound);
        const FontFace& expected = whole.faces[file == &wqy && at != Get32(wqy, 12) ? 1 : 0];
        const std::optional<FontFace> face = ReadFontTables(TablesOf(*file, at));
        ASSERT_TRUE(face);
        EXPECT_TRUE(face->family == expected.family);
        EXPECT_TRUE(face->full == expected.full);
        EXPECT_EQ(face->glyphs, expected.glyphs);
        EXPECT_EQ(face->unitsPerEm, expected.unitsPerEm);
        EXPECT_EQ(face->cff, expected.cff);
        EXPECT_EQ(face->cff2, expected.cff2);
        EXPECT_EQ(face->weight, expected.weight);
        EXPECT_EQ(face->characters->ranges, expected.characters->ranges);
        EXPECT_TRUE(face->about->copyright == expected.about->copyright);
    }
    // A table the judge refuses gives nothing.
    FontTables broken = TablesOf(wqy, Get32(wqy, 12));
    broken.cmap = broken.cmap.first(10);
    EXPECT_FALSE(ReadFontTables(broken));
    broken = TablesOf(wqy, Get32(wqy, 12));
    broken.name = {};
    EXPECT_FALSE(ReadFontTables(broken));
}

TEST(CollectionMember, ByTheNameTableItsDirectoryRecords)
{
    const std::vector<std::uint8_t> wqy = FileBytes("/usr/share/fonts/truetype/wqy/wqy-microhei.ttc");
    const std::span<const std::uint8_t> start = std::span(wqy).first(65536);
    EXPECT_EQ(CollectionMember(start, TableOf(wqy, Get32(wqy, 12), "name")), (CollectionPlace{0, 2}));
    EXPECT_EQ(CollectionMember(start, TableOf(wqy, Get32(wqy, 16), "name")), (CollectionPlace{1, 2}));
    // Another font's name table, or a start that is no collection's.
    const std::vector<std::uint8_t> otf = Fixture("quillmoor-otf.otf");
    EXPECT_FALSE(CollectionMember(start, TableOf(otf, 0, "name")));
    EXPECT_FALSE(CollectionMember(otf, TableOf(otf, 0, "name")));
    EXPECT_FALSE(CollectionMember(start.first(14), TableOf(wqy, Get32(wqy, 12), "name")));
}

TEST(WithOwnFamilies, RenamesEachFontAndKeepsEveryOtherTable)
{
    const std::vector<std::uint8_t> single = FontBuilder().Build();
    const std::vector<std::uint8_t> pair = Collection({Fixture("quillmoor-names.ttf"), Fixture("quillmoor-otf.otf")});
    const std::pair<const std::vector<std::uint8_t>*, std::vector<std::u16string>> cases[] = {
        {&single, {u"Own 1"}}, {&pair, {u"Own A", u"Own B"}}};
    for (const auto& [bytes, families] : cases) {
        const std::optional<std::vector<std::uint8_t>> own = WithOwnFamilies(*bytes, families);
        ASSERT_TRUE(own);
        const FontFileFacts before = ReadFontFile(*bytes), after = ReadFontFile(*own);
        ASSERT_TRUE(after.sound) << after.reason;
        ASSERT_EQ(after.faces.size(), families.size());
        const auto tablesBefore = FontTableRecords(*bytes), tablesAfter = FontTableRecords(*own);
        for (std::size_t m = 0; m < families.size(); ++m) {
            EXPECT_TRUE(after.faces[m].family == families[m]);
            EXPECT_TRUE(after.faces[m].full == families[m]);
            EXPECT_EQ(after.faces[m].characters->ranges, before.faces[m].characters->ranges);
            EXPECT_EQ(after.faces[m].glyphs, before.faces[m].glyphs);
            // Every table but the names is where it was, byte for byte.
            ASSERT_EQ(tablesAfter[m].size(), tablesBefore[m].size());
            for (std::size_t t = 0; t < tablesBefore[m].size(); ++t) {
                if (tablesBefore[m][t].tag != 0x6E616D65)  // "name"
                    EXPECT_EQ(tablesAfter[m][t], tablesBefore[m][t]);
                else
                    EXPECT_GE(tablesAfter[m][t].offset, bytes->size());
            }
        }
    }
    EXPECT_FALSE(WithOwnFamilies(single, {u"a", u"b"}));  // one name a font
    EXPECT_FALSE(WithOwnFamilies(std::vector<std::uint8_t>{'t', 'e', 'x', 't'}, {u"a"}));
}

TEST(TableDirectory, EachRuleRefusesAFontThatBreaksOnlyIt)
{
    // A directory whose records run past the end of the file.
    std::vector<std::uint8_t> cut = FontBuilder().Build();
    cut.resize(12 + 16 * 2);
    EXPECT_EQ(ReadFontFile(cut).reason, "directory: records past the end");
    const Rule rules[] = {
        // The table directory.
        {"a table past the end of the file", T, [](FontBuilder& f) { f.lengths["name"] = 1 << 20; }, "directory: a table past the end"},
        {"hhea named twice", T, [](FontBuilder& f) { f.twice = {"hhea"}; }, "directory: a tag twice"},
        {"cmap named twice", T, [](FontBuilder& f) { f.twice = {"cmap"}; }, "directory: a tag twice"},
        // Rules that a fixture of another rule of the same table could hide.
        {"1,109 tables", T,
         [](FontBuilder& f) {
             for (int i = 0; f.tables.size() < 1109; ++i)
                 f.tables["z" + std::to_string(1000 + i).substr(1)] = {};
         },
         "directory: too many tables"},
    };
    ExpectEachRuleRefuses(rules);
}
