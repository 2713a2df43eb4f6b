// The judge of a whole TrueType/OpenType font: sound fonts and their names, the fonts of
// this machine, the fixtures each with its reason, and the rules of the tables the whole
// font's reader judges itself.
#include "judge_support.h"

TEST(ReadFontFile, JudgesSoundFilesAndReadsTheirNames)
{
    using F = FontFileFacts::Format;
    struct Case {
        std::string file;
        F format;
        std::vector<std::u16string> families, fulls;
        bool cff;
    };
    const Case cases[] = {
        {"quillmoor-names.ttf", F::Sfnt, {u"Quillmoor Names"}, {u"Quillmoor Names Regular"}, false},
        {"quillmoor-otf.otf", F::Sfnt, {u"Quillmoor OTF"}, {u"Quillmoor OTF"}, true},
        {"quillmoor-pair.ttc", F::Collection, {u"Quillmoor Pair A", u"Quillmoor Pair B"},
         {u"Quillmoor Pair A", u"Quillmoor Pair B"}, false},
        // Named on the Macintosh platform only, in Mac Roman.
        {"quillmoor-mac.ttf", F::Sfnt, {u"Quillmoor Mac"}, {u"Quillmoor Mac Café"}, false},
        {"hangul-1.ttf", F::Sfnt, {u"나눔시험가"}, {u"나눔시험가"}, false},
    };
    for (const Case& c : cases) {
        const FontFileFacts facts = ReadFontFile(Fixture(c.file));
        EXPECT_EQ(facts.format, c.format) << c.file;
        EXPECT_TRUE(facts.sound) << c.file << ": " << facts.fault;
        ASSERT_EQ(facts.faces.size(), c.families.size()) << c.file;
        for (std::size_t i = 0; i < c.families.size(); ++i) {
            EXPECT_TRUE(facts.faces[i].family == c.families[i]) << c.file;
            EXPECT_TRUE(facts.faces[i].full == c.fulls[i]) << c.file;
            EXPECT_EQ(facts.faces[i].cff, c.cff) << c.file;
        }
    }
    // The characters the cmap maps: the test fonts are cut down to Basic Latin, the CFF
    // one has the space and the capitals.
    std::vector<char32_t> latin;
    for (char32_t c = 0x20; c < 0x7F; ++c)
        latin.push_back(c);
    EXPECT_EQ(ReadFontFile(Fixture("quillmoor-names.ttf")).faces[0].characters->sample, latin);
    std::vector<char32_t> capitals{U' '};
    for (char32_t c = U'A'; c <= U'Z'; ++c)
        capitals.push_back(c);
    EXPECT_EQ(ReadFontFile(Fixture("quillmoor-otf.otf")).faces[0].characters->sample, capitals);
}

TEST(ReadFontFile, JudgesTheFontsOfThisMachine)
{
    // Real fonts the set-up installs: a TrueType font and a 5 MB CJK collection, whose
    // tens of thousands of characters come as an even sample.
    const FontFileFacts dejavu = ReadFontFile(FileBytes("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"));
    EXPECT_TRUE(dejavu.sound) << dejavu.fault;
    const FontFileFacts wqy = ReadFontFile(FileBytes("/usr/share/fonts/truetype/wqy/wqy-microhei.ttc"));
    EXPECT_TRUE(wqy.sound) << wqy.fault;
    ASSERT_EQ(wqy.faces.size(), 2u);
    EXPECT_EQ(wqy.faces[0].characters->sample.size(), kMostSampleCharacters);
    EXPECT_TRUE(std::is_sorted(wqy.faces[0].characters->sample.begin(), wqy.faces[0].characters->sample.end()));
    EXPECT_TRUE(FamilyFor(wqy.faces[0], 0x0804) == u"文泉驿微米黑");
    EXPECT_TRUE(wqy.faces[0].family == u"WenQuanYi Micro Hei");

    // Every TrueType and OpenType file of the machine's font packages, and Wine's own.
    int files = 0;
    for (const char* folder : {"/usr/share/fonts", QUILLMOOR_WINE_FONTS}) {
        if (!std::filesystem::exists(folder))
            continue;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
            std::string extension = entry.path().extension().string();
            std::transform(extension.begin(), extension.end(), extension.begin(),
                           [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
            if (!entry.is_regular_file() ||
                (extension != ".ttf" && extension != ".otf" && extension != ".ttc" && extension != ".otc"))
                continue;
            const FontFileFacts facts = ReadFontFile(FileBytes(entry.path().string()));
            EXPECT_TRUE(facts.sound) << entry.path() << ": " << facts.fault;
            ++files;
        }
    }
    EXPECT_GE(files, 2);
}

TEST(ReadFontFile, RefusesEachDamageForItsOwnReason)
{
    // One damaged file per rule, each with the table the judge must name.
    std::ifstream list(std::string(QUILLMOOR_FIXTURES) + "/damaged.txt");
    std::string file, fault;
    int damaged = 0;
    while (list >> file >> fault) {
        const FontFileFacts facts = ReadFontFile(Fixture(file));
        EXPECT_NE(facts.format, FontFileFacts::Format::Other) << file;
        EXPECT_FALSE(facts.sound) << file;
        EXPECT_EQ(facts.fault, fault) << file;
        EXPECT_TRUE(facts.faces.empty()) << file;
        ++damaged;
    }
    EXPECT_GE(damaged, 19) << "the fixture list was not read";

    // Files that are not TrueType or OpenType are left to the system.
    const std::pair<const char*, std::vector<std::uint8_t>> others[] = {
        {"empty", {}},
        {"text", {'h', 'e', 'l', 'l', 'o'}},
        {"an unknown version", {0x12, 0x34, 0x56, 0x78, 0, 1, 0, 0, 0, 0, 0, 0}},
    };
    for (const auto& [what, bytes] : others) {
        const FontFileFacts facts = ReadFontFile(bytes);
        EXPECT_EQ(facts.format, FontFileFacts::Format::Other) << what;
        EXPECT_FALSE(facts.sound) << what;
    }
}

TEST(ReadFontFile, TheBuiltFontsAreSoundWithTheirNamesAndCharacters)
{
    for (const Outlines outlines : {Outlines::TrueType, Outlines::Cff, Outlines::Cff2}) {
        const FontFileFacts facts = ReadFontFile(FontBuilder(outlines).Build());
        ASSERT_TRUE(facts.sound) << facts.fault;
        ASSERT_EQ(facts.faces.size(), 1u);
        const FontFace& face = facts.faces[0];
        EXPECT_EQ(face.cff, outlines != Outlines::TrueType);
        EXPECT_TRUE(face.family == u"Quillmoor Built");
        EXPECT_TRUE(face.full == u"Quillmoor Built Regular");
        ASSERT_EQ(face.families->size(), 2u);
        EXPECT_TRUE(FamilyFor(face, 0x0804) == u"奎尔测试");
        EXPECT_TRUE(FamilyFor(face, 0x0409) == u"Quillmoor Built");
        EXPECT_TRUE(FamilyFor(face, 0x0411) == u"Quillmoor Built");  // Japanese: none, US English
        // The full-Unicode subtable (format 12) is the one the system uses.
        EXPECT_EQ(face.characters->ranges, (std::vector<CharRange>{{U'A', U'B'}, {0x20000, 0x20001}}));
        EXPECT_EQ(face.characters->sample, (std::vector<char32_t>{U'A', U'B', 0x20000, 0x20001}));
    }
}

TEST(WholeFont, EachRuleRefusesAFontThatBreaksOnlyIt)
{
    const Rule rules[] = {
        // OS/2, which the whole font's reader judges.
        {"OS/2 cut short", T, [](FontBuilder& f) { f.tables["OS/2"].resize(77); }, "OS/2: cut short"},
        // Rules that a fixture of another rule of the same table could hide.
        {"OS/2 cut short by one byte", T, [](FontBuilder& f) { f.lengths["OS/2"] = 77; }, "OS/2: cut short"},
    };
    ExpectEachRuleRefuses(rules);
}
