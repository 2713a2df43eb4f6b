#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "fontdata/digest.h"
#include "fontdata/font_file.h"
#include "fontdata/font_resource.h"
#include "font_builder.h"

namespace {

std::vector<std::uint8_t> FileBytes(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    EXPECT_TRUE(file) << path;
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// The fixtures the build makes (scripts/make-font-fixtures.py).
std::vector<std::uint8_t> Fixture(const std::string& name)
{
    return FileBytes(std::string(QUILLMOOR_FIXTURES) + "/" + name);
}

std::uint32_t Get32(const std::vector<std::uint8_t>& b, std::size_t at)
{
    return static_cast<std::uint32_t>(b[at]) << 24 | static_cast<std::uint32_t>(b[at + 1]) << 16 |
           static_cast<std::uint32_t>(b[at + 2]) << 8 | b[at + 3];
}

void Put32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (24 - 8 * i));
}

// A collection of the given fonts, each placed after the header at its own offset.
std::vector<std::uint8_t> Collection(const std::vector<std::vector<std::uint8_t>>& members)
{
    std::vector<std::uint8_t> b(12 + 4 * members.size(), 0);
    Put32(b, 0, 0x74746366);
    Put32(b, 4, 0x00010000);
    Put32(b, 8, static_cast<std::uint32_t>(members.size()));
    for (std::size_t m = 0; m < members.size(); ++m) {
        while (b.size() % 4 != 0)
            b.push_back(0);
        const std::size_t at = b.size();
        Put32(b, 12 + 4 * m, static_cast<std::uint32_t>(at));
        // The member's table offsets count from the file's start.
        std::vector<std::uint8_t> member = members[m];
        const std::uint32_t tables = static_cast<std::uint32_t>(member[4]) << 8 | member[5];
        for (std::uint32_t t = 0; t < tables; ++t) {
            const std::size_t entry = 12 + 16 * t + 8;
            Put32(member, entry, Get32(member, entry) + static_cast<std::uint32_t>(at));
        }
        b.insert(b.end(), member.begin(), member.end());
    }
    return b;
}

}  // namespace

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

TEST(Sha256, MatchesTheStandardsVectorsAcrossBlockEdges)
{
    auto hex = [](const Digest& d) {
        std::string text;
        for (std::uint8_t byte : d) {
            text.push_back("0123456789abcdef"[byte >> 4]);
            text.push_back("0123456789abcdef"[byte & 15]);
        }
        return text;
    };
    auto bytes = [](const std::string& text) { return std::vector<std::uint8_t>(text.begin(), text.end()); };
    EXPECT_EQ(hex(Sha256({})), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(hex(Sha256(bytes("abc"))), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_EQ(hex(Sha256(bytes("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"))),
              "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
    EXPECT_EQ(hex(Sha256(std::vector<std::uint8_t>(1000000, 'a'))),
              "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
    // Lengths around the edges of the 64-byte blocks and of the padding.
    const std::pair<std::size_t, const char*> edges[] = {
        {55, "e7313d333c272e639f790978283f9eb392e843d0f29b7016828bb1daa4aac70b"},
        {56, "4324d65f3c103567f5589c710bc08f8523f929a9272e3af36fc968e52abc6c27"},
        {63, "81c80242132f230c3bd41b3e63bbcff16107339549214a99614ff26664625055"},
        {64, "39e3d7b6b5d075d37d053ad89b24b41bef4f3c29760c84447cab3f3be1882241"},
        {65, "aacca6ff74fdbb296d165a45cecfa04e5127bc008770fbbdd48006f2d2fae95e"},
        {119, "9ce7368e4daf32341631b492e80359dc9f594b48453cd0dd5bf0b19279cc177e"},
        {120, "7836b787757e95e58b3ca5aec90b1b004e8deba1e50e9675af9cabf1a13a04b5"},
        {1000, "1e9bc38cbf860b9ec31918b065f9b52476c549a782e0e7990bed8ce3868d2371"},
    };
    for (const auto& [length, expected] : edges) {
        std::vector<std::uint8_t> data(length);
        for (std::size_t i = 0; i < length; ++i)
            data[i] = static_cast<std::uint8_t>(i * 7 + 3);
        EXPECT_EQ(hex(Sha256(data)), expected) << length << " bytes";
    }
}

namespace {

using Bytes = FontBuilder::Bytes;
using Outlines = FontBuilder::Outlines;

void Set16(Bytes& b, std::size_t at, std::uint32_t v)
{
    FontBuilder::Set(b, at, 2, v);
}
void Set32(Bytes& b, std::size_t at, std::uint32_t v)
{
    FontBuilder::Set(b, at, 4, v);
}

// Places in the built cmap: format 4's arrays (ends, starts, deltas, range offsets, glyph
// ids), format 12's and 13's groups.
constexpr std::size_t kEnds = FontBuilder::kFormat4 + 14, kStarts = kEnds + 8, kDeltas = kStarts + 6,
                      kRangeOffsets = kDeltas + 6, kGlyphIds = kRangeOffsets + 6;
constexpr std::size_t kGroups = FontBuilder::kFormat12 + 16, kGroups13 = FontBuilder::kFormat13 + 16;

struct Rule {
    const char* what;
    Outlines outlines;
    std::function<void(FontBuilder&)> change;
    const char* reason;  // the table, then the rule
};

}  // namespace

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

TEST(ReadFontFile, ReadsWhatAFontSaysAboutItself)
{
    FontBuilder builder(Outlines::Cff2);
    builder.tables["name"] = FontBuilder::Name({{1, 0x0409, u"Quillmoor Built"},
                                                {4, 0x0409, u"Quillmoor Built Regular"},
                                                {0, 0x0804, u"版权所有"},
                                                {0, 0x0409, u"Copyright Quillmoor"},
                                                {5, 0x0409, u"Version 1.002"},
                                                {7, 0x0409, u"Quillmoor is a trademark"},
                                                {8, 0x0409, u"Quillmoor Foundry"},
                                                {9, 0x0409, u"A. Designer"},
                                                {13, 0x0409, std::u16string(5000, u'L')},
                                                {14, 0x0409, u"https://quillmoor.example/licence"}});
    // fvar: two axes of 20 bytes from offset 16.
    FontBuilder::Bytes fvar = FontBuilder::Be16s({1, 0, 16, 2, 2, 20, 0, 0});
    for (const char* tag : {"wght", "wdth"}) {
        fvar.insert(fvar.end(), tag, tag + 4);
        fvar.resize(fvar.size() + 16, 0);
    }
    builder.tables["fvar"] = fvar;
    const FontFileFacts facts = ReadFontFile(builder.Build());
    ASSERT_TRUE(facts.sound) << facts.fault;
    const FontFace& face = facts.faces[0];
    EXPECT_EQ(face.glyphs, 4u);
    EXPECT_EQ(face.unitsPerEm, 1000u);
    EXPECT_EQ(face.axes, (std::vector<std::string>{"wght", "wdth"}));
    ASSERT_TRUE(face.about);
    EXPECT_TRUE(face.about->copyright == u"Copyright Quillmoor");  // US English first
    EXPECT_TRUE(face.about->version == u"Version 1.002");
    EXPECT_TRUE(face.about->trademark == u"Quillmoor is a trademark");
    EXPECT_TRUE(face.about->manufacturer == u"Quillmoor Foundry");
    EXPECT_TRUE(face.about->designer == u"A. Designer");
    EXPECT_EQ(face.about->licence.size(), 4096u);  // a text is cut at 4,096 characters
    EXPECT_TRUE(face.about->licenceUrl == u"https://quillmoor.example/licence");
    const FontFileFacts plain = ReadFontFile(FontBuilder().Build());
    EXPECT_TRUE(plain.faces[0].axes.empty());
    EXPECT_TRUE(plain.faces[0].about->licence.empty());
}

TEST(ReadFontFile, EachRuleRefusesAFontThatBreaksOnlyIt)
{
    const Outlines T = Outlines::TrueType, C = Outlines::Cff, C2 = Outlines::Cff2;
    auto in = [](const char* tag, std::size_t at, std::uint32_t value, int size = 2) {
        return [=](FontBuilder& f) { FontBuilder::Set(f.tables[tag], at, size, value); };
    };
    const Rule rules[] = {
        // The table directory.
        {"a table past the end of the file", T, [](FontBuilder& f) { f.lengths["name"] = 1 << 20; }, "directory: a table past the end"},
        {"hhea named twice", T, [](FontBuilder& f) { f.twice = {"hhea"}; }, "directory: a tag twice"},
        {"cmap named twice", T, [](FontBuilder& f) { f.twice = {"cmap"}; }, "directory: a tag twice"},
        // head, maxp, hhea, hmtx.
        {"head cut short", T, [](FontBuilder& f) { f.lengths["head"] = 53; }, "head: cut short"},
        {"head absent", T, [](FontBuilder& f) { f.tables.erase("head"); }, "head: absent"},
        {"units per em 0", T, in("head", 18, 0), "head: units per em below 16"},
        {"units per em 16385", T, in("head", 18, 16385), "head: units per em above 16384"},
        {"a loca format of 7", T, in("head", 50, 7), "head: unknown loca format"},
        {"maxp cut short", T, [](FontBuilder& f) { f.lengths["maxp"] = 5; }, "maxp: cut short"},
        {"no glyphs", T, in("maxp", 4, 0), "maxp: no glyphs"},
        {"hhea cut short", T, [](FontBuilder& f) { f.lengths["hhea"] = 35; }, "hhea: cut short"},
        {"no metrics", T, in("hhea", 34, 0), "hhea: no metrics"},
        {"more metrics than glyphs", T, in("hhea", 34, 5), "hhea: more metrics than glyphs"},
        {"hmtx cut short", T, [](FontBuilder& f) { f.tables["hmtx"].resize(11); }, "hmtx: cut short"},
        // cmap: the table and its records.
        {"cmap version 1", T, in("cmap", 0, 1), "cmap: unknown version"},
        {"cmap absent", T, [](FontBuilder& f) { f.tables.erase("cmap"); }, "cmap: absent"},
        {"encoding records past the table", T, in("cmap", 2, 0x2000), "cmap: encoding records past the table"},
        {"a subtable past the table", T, in("cmap", 8, 0x10000, 4), "cmap: a subtable past the table"},
        {"a subtable of an unknown format", T, in("cmap", FontBuilder::kFormat4, 3), "cmap: a subtable of an unknown format"},
        {"a subtable longer than the table", T, in("cmap", FontBuilder::kFormat12 + 4, 0x10000, 4), "cmap: a subtable longer than the table"},
        {"two subtables overlapping", T, in("cmap", FontBuilder::kFormat6 + 2, 16), "cmap: two subtables overlapping"},
        // Format 0.
        {"format 0 cut short", T, in("cmap", FontBuilder::kFormat0 + 2, 261), "cmap: format 0 cut short"},
        {"format 0 past the last glyph", T, in("cmap", FontBuilder::kFormat0 + 6 + 'A', 4, 1), "cmap: a glyph id past the last glyph"},
        // Format 4.
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
        // Format 6.
        {"format 6 glyph ids past the subtable", T, in("cmap", FontBuilder::kFormat6 + 8, 3), "cmap: format 6 glyph ids past the subtable"},
        {"format 6 past the last glyph", T, in("cmap", FontBuilder::kFormat6 + 10, 4), "cmap: a glyph id past the last glyph"},
        // Formats 12 and 13.
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
        // TrueType outlines.
        {"loca absent", T, [](FontBuilder& f) { f.tables.erase("loca"); }, "loca: absent"},
        {"loca cut short", T, [](FontBuilder& f) { f.tables["loca"].resize(8); }, "loca: fewer entries than glyphs"},
        {"loca descending", T, in("loca", 2, 12), "loca: offsets descending"},
        {"loca past glyf", T, in("loca", 8, 20), "loca: a glyph past glyf"},
        {"glyf absent", T, [](FontBuilder& f) { f.tables.erase("glyf"); }, "glyf: absent"},
        {"a glyph shorter than its header", T, in("loca", 2, 4), "glyf: a glyph shorter than its header"},
        {"a glyph's contour ends past its slot", T, in("glyf", 0, 3), "glyf: contour ends past the glyph"},
        // CFF and CFF2 outlines.
        {"CFF version 3", C, in("CFF ", 0, 3, 1), "CFF: unknown major version"},
        {"CFF header size 3", C, in("CFF ", 2, 3, 1), "CFF: header size below 4"},
        {"CFF INDEX not starting at 1", C, in("CFF ", 4 + 3, 2, 1), "CFF: Name: INDEX not starting at 1"},
        {"CFF INDEX offsets descending", C, in("CFF ", 37 + 3 + 2, 1, 1), "CFF: CharStrings: INDEX offsets descending"},
        {"CFF with a reserved operator", C,
         [](FontBuilder& f) {
             Bytes& t = f.tables["CFF "];
             std::fill(t.begin() + 11 + 5 + 6, t.begin() + 11 + 5 + 10, 139);
             t[11 + 5 + 10] = 24;
         },
         "CFF: Top DICT: DICT reserved operator"},
        {"CFF CharStrings short of the glyph count", C,
         [](FontBuilder& f) {
             Set16(f.tables["maxp"], 4, 5);
             f.tables["hmtx"].resize(14);
         },
         "CFF: CharStrings not counting every glyph"},
        {"CFF Private DICT past the table", C, in("CFF ", 11 + 5 + 7, 200, 4), "CFF: Private DICT past the table"},
        {"CFF absent", C, [](FontBuilder& f) { f.tables.erase("CFF "); }, "CFF: absent"},
        {"CFF2 version 3", C2, in("CFF2", 0, 3, 1), "CFF: CFF2 unknown major version"},
        {"CFF2 Top DICT past the table", C2, in("CFF2", 3, 200), "CFF: CFF2 Top DICT past the table"},
        {"CFF2 CharStrings short of the glyph count", C2,
         [](FontBuilder& f) {
             Set16(f.tables["maxp"], 4, 5);
             f.tables["hmtx"].resize(14);
         },
         "CFF: CharStrings not counting every glyph"},
        // OS/2 and name.
        {"OS/2 cut short", T, [](FontBuilder& f) { f.tables["OS/2"].resize(77); }, "OS/2: cut short"},
        {"name absent", T, [](FontBuilder& f) { f.tables.erase("name"); }, "name: absent"},
        {"name records past the table", T, in("name", 2, 99), "name: records past the table"},
        {"name storage past the table", T, in("name", 4, 0xFFFF), "name: storage past the table"},
        {"a name past the storage", T, in("name", 6 + 8, 0x1000), "name: a name past the storage"},
        {"no family and no full name", T,
         [](FontBuilder& f) { f.tables["name"] = FontBuilder::Name({{2, 0x0409, u"Regular"}}); }, "name: no family and no full name"},
        // Rules that a fixture of another rule of the same table could hide.
        {"1,109 tables", T,
         [](FontBuilder& f) {
             for (int i = 0; f.tables.size() < 1109; ++i)
                 f.tables["z" + std::to_string(1000 + i).substr(1)] = {};
         },
         "directory: too many tables"},
        {"hmtx absent", T, [](FontBuilder& f) { f.tables.erase("hmtx"); }, "hmtx: absent"},
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
        {"CFF without a Top DICT", C,
         [](FontBuilder& f) { f.tables["CFF "] = {1, 0, 4, 1, 0, 1, 1, 1, 3, 'Q', 'm', 0, 0, 0, 0, 0, 0}; },
         "CFF: no Top DICT"},
        {"hhea absent", T, [](FontBuilder& f) { f.tables.erase("hhea"); }, "hhea: absent"},
        {"maxp absent", T, [](FontBuilder& f) { f.tables.erase("maxp"); }, "maxp: absent"},
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
        {"a composite glyph in an 8-byte slot", T,
         [](FontBuilder& f) {
             Set16(f.tables["loca"], 2, 4);
             Set16(f.tables["glyf"], 0, 0xFFFF);
         },
         "glyf: a glyph shorter than its header"},
        {"loca's first glyph past glyf", T, in("loca", 0, 40), "loca: first glyph past glyf"},
        {"CFF header cut short", C, [](FontBuilder& f) { f.lengths["CFF "] = 3; }, "CFF: header cut short"},
        {"CFF header offSize 0", C, in("CFF ", 3, 0, 1), "CFF: header offset size not 1 to 4"},
        {"CFF header offSize 5", C, in("CFF ", 3, 5, 1), "CFF: header offset size not 1 to 4"},
        {"CFF Name INDEX offSize 5", C, in("CFF ", 4 + 2, 5, 1), "CFF: Name: INDEX offset size not 1 to 4"},
        {"CFF Name INDEX data past the table", C, in("CFF ", 4 + 3 + 1, 0xFF, 1),
         "CFF: Name: INDEX data past the table"},
        {"CFF String INDEX with a bad offset size", C, in("CFF ", 33 + 1, 1, 1),
         "CFF: String: INDEX offset size not 1 to 4"},
        {"CFF Global Subr INDEX with a bad offset size", C, in("CFF ", 35 + 1, 1, 1),
         "CFF: Global Subr: INDEX offset size not 1 to 4"},
        {"CFF CharStrings offsets past the table", C, in("CFF ", 37, 0x7FFF),
         "CFF: CharStrings: INDEX offsets past the table"},
        {"CFF CharStrings count past the table", C,
         [](FontBuilder& f) {
             Set32(f.tables["CFF "], 11 + 5 + 1, static_cast<std::uint32_t>(f.tables["CFF "].size() - 1));
         },
         "CFF: CharStrings: INDEX count past the table"},
        {"CFF CharStrings offset size past the table", C,
         [](FontBuilder& f) {
             Set32(f.tables["CFF "], 11 + 5 + 1, static_cast<std::uint32_t>(f.tables["CFF "].size() - 2));
         },
         "CFF: CharStrings: INDEX offset size past the table"},
        {"CFF CharStrings past the table", C, in("CFF ", 11 + 5 + 1, 0x7FFFFFFF, 4),
         "CFF: CharStrings past the table"},
        {"CFF without CharStrings", C, in("CFF ", 11 + 5 + 5, 15, 1), "CFF: no CharStrings"},
        {"CFF DICT 16-bit operand cut short", C, in("CFF ", 11 + 5 + 16, 28, 1),
         "CFF: Top DICT: DICT 16-bit operand cut short"},
        {"CFF DICT 32-bit operand cut short", C, in("CFF ", 11 + 5 + 16, 29, 1),
         "CFF: Top DICT: DICT 32-bit operand cut short"},
        {"CFF DICT two-byte operand cut short", C, in("CFF ", 11 + 5 + 16, 247, 1),
         "CFF: Top DICT: DICT two-byte operand cut short"},
        {"CFF DICT two-byte operator cut short", C, in("CFF ", 11 + 5 + 16, 12, 1),
         "CFF: Top DICT: DICT two-byte operator cut short"},
        {"CFF DICT real number without its end", C, in("CFF ", 11 + 5 + 16, 30, 1),
         "CFF: Top DICT: DICT real number without its end"},
        {"CFF2 header cut short", C2, [](FontBuilder& f) { f.lengths["CFF2"] = 4; }, "CFF: CFF2 header cut short"},
        {"CFF2 header size 4", C2, in("CFF2", 2, 4, 1), "CFF: CFF2 header size below 5"},
        {"CFF2 Global Subr INDEX past the table", C2,
         [](FontBuilder& f) { f.tables["CFF2"].resize(5 + 19 + 2); },
         "CFF: CFF2 Global Subr: INDEX count past the table"},
        {"CFF2 DICT of 514 operands", C2,
         [](FontBuilder& f) {
             Bytes t = {2, 0, 5};
             FontBuilder::Put(t, 2, 514);
             t.resize(t.size() + 514, 139);
             FontBuilder::Put(t, 4, 0);
             f.tables["CFF2"] = t;
         },
         "CFF: CFF2 Top DICT: DICT operand stack past 513"},
        {"OS/2 cut short by one byte", T, [](FontBuilder& f) { f.lengths["OS/2"] = 77; }, "OS/2: cut short"},
        {"name cut short", T, [](FontBuilder& f) { f.lengths["name"] = 5; }, "name: cut short"},
    };
    // A directory whose records run past the end of the file.
    std::vector<std::uint8_t> cut = FontBuilder().Build();
    cut.resize(12 + 16 * 2);
    EXPECT_EQ(ReadFontFile(cut).reason, "directory: records past the end");
    for (const Rule& rule : rules) {
        FontBuilder font(rule.outlines);
        rule.change(font);
        const FontFileFacts facts = ReadFontFile(font.Build());
        EXPECT_EQ(facts.format, FontFileFacts::Format::Sfnt) << rule.what;
        EXPECT_FALSE(facts.sound) << rule.what;
        EXPECT_EQ(facts.reason, rule.reason) << rule.what;
        EXPECT_EQ(facts.fault, std::string(rule.reason).substr(0, std::string(rule.reason).find(':'))) << rule.what;
        EXPECT_TRUE(facts.faces.empty()) << rule.what;
    }
}

namespace {

// A raster font resource of version 3 built byte by byte: characters A and B, 8 by 10
// pixels, named "Qm Raster".
class FntBuilder {
public:
    FntBuilder()
    {
        bytes.assign(148, 0);
        Set16(0, 0x0300);
        Set16(66, 0);                  // raster
        Set16(88, 10);                 // pixel height
        bytes[95] = 'A';               // first character
        bytes[96] = 'B';               // last
        for (int c = 0; c < 3; ++c) {  // A, B and the one past the last: width 8, 10 bytes each
            Put16(8);
            Put32(static_cast<std::uint32_t>(148 + 3 * 6 + 10 * c));
        }
        bytes.resize(bytes.size() + 30, 0x5A);
        Set32(113, 148 + 18);
        Set32(105, static_cast<std::uint32_t>(bytes.size()));
        for (char c : std::string("Qm Raster"))
            bytes.push_back(static_cast<std::uint8_t>(c));
        bytes.push_back(0);
        Set32(2, static_cast<std::uint32_t>(bytes.size()));
    }
    void Set16(std::size_t at, std::uint32_t v)
    {
        bytes[at] = static_cast<std::uint8_t>(v);
        bytes[at + 1] = static_cast<std::uint8_t>(v >> 8);
    }
    void Set32(std::size_t at, std::uint32_t v)
    {
        Set16(at, v & 0xFFFF);
        Set16(at + 2, v >> 16);
    }
    void Put16(std::uint32_t v)
    {
        bytes.push_back(static_cast<std::uint8_t>(v));
        bytes.push_back(static_cast<std::uint8_t>(v >> 8));
    }
    void Put32(std::uint32_t v)
    {
        Put16(v & 0xFFFF);
        Put16(v >> 16);
    }
    std::vector<std::uint8_t> bytes;
};

// The headers of an NE executable (its NE header at 0x40, its resource table at 0x80), in
// a file of `size` bytes.
std::vector<std::uint8_t> NeHeaders(std::size_t size)
{
    std::vector<std::uint8_t> b(size, 0);
    b[0] = 'M';
    b[1] = 'Z';
    b[0x3C] = 0x40;
    b[0x40] = 'N';
    b[0x41] = 'E';
    b[0x40 + 0x24] = 0x40;
    return b;
}

// An NE executable holding the font resource.
std::vector<std::uint8_t> NeFile(const std::vector<std::uint8_t>& font, std::uint32_t shift = 4)
{
    std::vector<std::uint8_t> b = NeHeaders(0x100);
    std::size_t at = 0x80;
    auto put16 = [&](std::uint32_t v) {
        b[at++] = static_cast<std::uint8_t>(v);
        b[at++] = static_cast<std::uint8_t>(v >> 8);
    };
    put16(shift);
    put16(0x8008);  // one font
    put16(1);
    at += 4;
    put16(0x200 >> shift);  // at 0x200
    put16(static_cast<std::uint32_t>((font.size() + (1u << shift) - 1) >> shift));
    at += 8;
    put16(0);
    b.resize(0x200, 0);
    b.insert(b.end(), font.begin(), font.end());
    return b;
}

// A scalable font resource as the system makes one (CreateScalableFontResource): a font
// directory whose font is marked scalable, and the TrueType file's name.
std::vector<std::uint8_t> FotFile(const std::string& trueTypeFile)
{
    std::vector<std::uint8_t> b = NeHeaders(0x200);
    const std::uint8_t table[] = {4, 0,                                          // shift
                                  0x07, 0x80, 1, 0, 0, 0, 0, 0, 0x10, 0, 0x08, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                  0xCC, 0x80, 1, 0, 0, 0, 0, 0, 0x18, 0, 0x01, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                  0, 0};
    std::copy(std::begin(table), std::end(table), b.begin() + 0x80);
    b[0x100 + 4 + 66] = 0x03;  // the font directory at 0x100: count, ordinal, then the header
    b[0x100 + 4 + 67] = 0x40;  // dfType: scalable
    b[0x100] = 1;
    std::copy(trueTypeFile.begin(), trueTypeFile.end(), b.begin() + 0x180);  // the name at 0x180
    return b;
}

std::uint32_t Le32(const std::vector<std::uint8_t>& b, std::size_t at)
{
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

}  // namespace

TEST(ReadFontResource, ReadsSoundFontResourcesExecutablesAndScalableOnes)
{
    using F = FontResourceFacts::Format;
    const FontResourceFacts fnt = ReadFontResource(FntBuilder().bytes);
    EXPECT_EQ(fnt.format, F::Fnt);
    ASSERT_TRUE(fnt.sound) << fnt.fault;
    EXPECT_EQ(fnt.faces, std::vector<std::string>{"Qm Raster"});
    const FontResourceFacts fon = ReadFontResource(NeFile(FntBuilder().bytes));
    EXPECT_EQ(fon.format, F::Fon);
    ASSERT_TRUE(fon.sound) << fon.fault;
    EXPECT_EQ(fon.faces, std::vector<std::string>{"Qm Raster"});

    // A scalable font resource as the system makes one (CreateScalableFontResource).
    const FontResourceFacts fot = ReadFontResource(FotFile("qtest70.ttf"));
    EXPECT_EQ(fot.format, F::Fot);
    ASSERT_TRUE(fot.sound) << fot.fault;
    EXPECT_EQ(fot.scalableFile, "qtest70.ttf");

    // Every .fon file Wine's font package brings.
    int files = 0;
    if (std::filesystem::exists(QUILLMOOR_WINE_FONTS)) {
        for (const auto& entry : std::filesystem::directory_iterator(QUILLMOOR_WINE_FONTS)) {
            if (entry.path().extension() != ".fon")
                continue;
            const FontResourceFacts facts = ReadFontResource(FileBytes(entry.path().string()));
            EXPECT_EQ(facts.format, F::Fon) << entry.path();
            EXPECT_TRUE(facts.sound) << entry.path() << ": " << facts.fault;
            EXPECT_FALSE(facts.faces.empty()) << entry.path();
            ++files;
        }
    }
    EXPECT_GE(files, 10) << "Wine's fonts were not unpacked in " << QUILLMOOR_WINE_FONTS;
    EXPECT_EQ(ReadFontResource(std::vector<std::uint8_t>{'h', 'i'}).format, F::Other);
}

TEST(ReadFontResource, EachRuleRefusesAResourceThatBreaksOnlyIt)
{
    struct Case {
        const char* what;
        std::function<std::vector<std::uint8_t>()> make;
        const char* reason;  // the part, then the rule
    };
    // The executable of a sound font resource with some of its bytes changed.
    auto ne = [](std::vector<std::pair<std::size_t, std::uint8_t>> changes) {
        return [=] {
            std::vector<std::uint8_t> b = NeFile(FntBuilder().bytes);
            for (const auto& [at, value] : changes)
                b[at] = value;
            return b;
        };
    };
    auto fnt = [](const std::function<void(FntBuilder&)>& change) {
        return [=] {
            FntBuilder f;
            change(f);
            return f.bytes;
        };
    };
    const Case cases[] = {
        {"a size past the file", fnt([](FntBuilder& f) { f.Set32(2, static_cast<std::uint32_t>(f.bytes.size() + 1)); }),
         "font: size past the resource"},
        {"a size smaller than the header", fnt([](FntBuilder& f) { f.Set32(2, 100); }), "font: size below its header"},
        {"a header cut short", fnt([](FntBuilder& f) { f.bytes.resize(100); }), "font: header cut short"},
        {"the first character after the last", fnt([](FntBuilder& f) { f.bytes[95] = 'C'; }),
         "font: first character after the last"},
        {"no pixel height", fnt([](FntBuilder& f) { f.Set16(88, 0); }), "font: no pixel height"},
        {"a pixel height of 1,025", fnt([](FntBuilder& f) { f.Set16(88, 1025); }), "font: pixel height past 1024"},
        {"a character table past the font", fnt([](FntBuilder& f) { f.bytes[96] = 0xFF; }),
         "font: character table past the font"},
        {"a bitmap past the font", fnt([](FntBuilder& f) { f.Set32(148 + 6 + 2, 0xFFF0); }),
         "font: a character past the font"},
        {"a bitmap taller than the font", fnt([](FntBuilder& f) { f.Set16(88, 40); }),
         "font: a character past the font"},
        {"the bits past the font", fnt([](FntBuilder& f) { f.Set32(113, 0x10000); }), "font: bits past the font"},
        {"a face name past the font", fnt([](FntBuilder& f) { f.Set32(105, 0x10000); }),
         "font: face name past the font"},
        {"a face name without its end", fnt([](FntBuilder& f) { f.bytes.back() = 'x'; }),
         "font: face name without its end"},
        {"an empty face name", fnt([](FntBuilder& f) { f.bytes[Le32(f.bytes, 105)] = 0; }), "font: empty face name"},
        {"a DOS header cut short", [] {
             std::vector<std::uint8_t> b = NeFile(FntBuilder().bytes);
             b.resize(0x30);
             return b;
         }, "executable: DOS header cut short"},
        {"an executable header past the file", ne({{0x3C, 0xF0}, {0x3D, 0xFF}}), "executable: NE header past the end"},
        {"not an NE executable", ne({{0x41, 'X'}}), "executable: not NE"},
        {"a resource past the file", ne({{0x8A, 0xFF}, {0x8B, 0x7F}}), "resources: a resource past the end"},
        {"a resource table without its end", ne({{0x40 + 0x24, 0xF0}, {0x40 + 0x25, 0xFF}}),
         "resources: table past the end"},
        {"resource entries past the file", ne({{0x84, 0xFF}, {0x85, 0xFF}}), "resources: entries past the end"},
        // A resource table at the very end of the file: its shift, then nothing, or a type
        // whose header is cut.
        {"resource types past the file", [] {
             std::vector<std::uint8_t> b = NeHeaders(0x100);
             b[0x40 + 0x24] = 0x100 - 2 - 0x40;
             return b;
         }, "resources: type past the end"},
        {"a resource type's header past the file", [] {
             std::vector<std::uint8_t> b = NeHeaders(0x100);
             b[0x40 + 0x24] = 0x100 - 4 - 0x40;
             b[0xFC] = 4;
             b[0xFE] = 0x08;
             b[0xFF] = 0x80;
             return b;
         }, "resources: type header past the end"},
        {"an alignment shift of 16", [] { return NeFile(FntBuilder().bytes, 16); }, "resources: alignment shift past 15"},
        {"an executable without fonts", ne({{0x82, 0x01}}), "resources: no fonts"},  // another resource type
        {"a damaged font inside", [] {
             FntBuilder f;
             f.Set16(88, 0);
             return NeFile(f.bytes);
         }, "font: no pixel height"},
        {"a font of an unknown version inside", [] {
             FntBuilder f;
             f.bytes[1] = 0x01;
             return NeFile(f.bytes);
         }, "font: unknown version"},
        {"a scalable font without its file", [] { return FotFile(""); }, "resources: a scalable font without its file"},
    };
    for (const Case& c : cases) {
        const FontResourceFacts facts = ReadFontResource(c.make());
        EXPECT_NE(facts.format, FontResourceFacts::Format::Other) << c.what;
        EXPECT_FALSE(facts.sound) << c.what;
        EXPECT_EQ(facts.reason, c.reason) << c.what;
        EXPECT_EQ(facts.fault, std::string(c.reason).substr(0, std::string(c.reason).find(':'))) << c.what;
    }
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

namespace {

// Colour bitmaps for the built font's glyphs 1-3 in one strike: CBLC with one index
// subtable of format 1 (image format 17), and CBDT with each glyph's small metrics, image
// length and 4 bytes of image.
constexpr std::size_t kCblcStrike = 8, kCblcArray = 56, kCblcSubtable = 64, kCblcOffsets = 72;
constexpr std::size_t kCbdtGlyph = 13;  // 5 + 4 + 4

Bytes Cblc()
{
    Bytes b = FontBuilder::Be16s({3, 0});
    FontBuilder::Put(b, 4, 1);  // one strike
    Bytes strike(48, 0);
    FontBuilder::Set(strike, 0, 4, kCblcArray);
    FontBuilder::Set(strike, 4, 4, 8 + 8 + 16);
    FontBuilder::Set(strike, 8, 4, 1);
    FontBuilder::Set(strike, 40, 2, 1);  // glyphs 1-3
    FontBuilder::Set(strike, 42, 2, 3);
    strike[44] = strike[45] = 16;  // ppem
    strike[46] = 32;               // bit depth
    b.insert(b.end(), strike.begin(), strike.end());
    for (std::uint32_t v : {1u, 3u})
        FontBuilder::Put(b, 2, v);
    FontBuilder::Put(b, 4, kCblcSubtable - kCblcArray);
    for (std::uint32_t v : {1u, 17u})
        FontBuilder::Put(b, 2, v);
    FontBuilder::Put(b, 4, 4);  // the images after CBDT's header
    for (std::uint32_t g = 0; g <= 3; ++g)
        FontBuilder::Put(b, 4, static_cast<std::uint32_t>(g * kCbdtGlyph));
    return b;
}

Bytes Cbdt()
{
    Bytes b = FontBuilder::Be16s({3, 0});
    for (int g = 0; g < 3; ++g) {
        b.insert(b.end(), {16, 16, 0, 16, 16});  // small metrics
        FontBuilder::Put(b, 4, 4);
        b.insert(b.end(), {0x89, 'P', 'N', 'G'});
    }
    return b;
}

// The same CBLC with glyphs 1-3's index subtable in another format: 2 (one image size,
// big metrics), 4 (glyph id and offset pairs) or 5 (one size, the glyphs named).
Bytes CblcOfIndexFormat(std::uint32_t format)
{
    Bytes t = Cblc();
    t.resize(kCblcSubtable);
    for (std::uint32_t v : {format, 17u})
        FontBuilder::Put(t, 2, v);
    FontBuilder::Put(t, 4, 4);
    if (format == 4) {
        FontBuilder::Put(t, 4, 3);
        for (std::uint32_t g = 0; g <= 3; ++g) {
            FontBuilder::Put(t, 2, g < 3 ? g + 1 : 0);
            FontBuilder::Put(t, 2, static_cast<std::uint32_t>(g * kCbdtGlyph));
        }
        return t;
    }
    FontBuilder::Put(t, 4, kCbdtGlyph);
    t.resize(t.size() + 8, 0);  // big metrics
    if (format == 5) {
        FontBuilder::Put(t, 4, 3);
        for (std::uint32_t g = 1; g <= 3; ++g)
            FontBuilder::Put(t, 2, g);
    }
    return t;
}

// A font of colour bitmaps alone: no glyf or loca.
FontBuilder ColourFont()
{
    FontBuilder f;
    f.tables.erase("glyf");
    f.tables.erase("loca");
    f.tables["CBLC"] = Cblc();
    f.tables["CBDT"] = Cbdt();
    return f;
}

// sbix of the given strikes, each at its offset from the table's start (0: after the
// last one placed), each with glyph 0 empty and glyphs 1-3 of 12 bytes.
Bytes Sbix(std::vector<std::uint32_t> at = {0})
{
    Bytes b = FontBuilder::Be16s({1, 1});
    FontBuilder::Put(b, 4, static_cast<std::uint32_t>(at.size()));
    const std::size_t offsets = b.size();
    b.resize(b.size() + 4 * at.size(), 0);
    for (std::size_t s = 0; s < at.size(); ++s) {
        const std::size_t strike = at[s] != 0 ? at[s] : b.size();
        FontBuilder::Set(b, offsets + 4 * s, 4, static_cast<std::uint32_t>(strike));
        if (b.size() < strike + 4 + 4 * 5 + 36)
            b.resize(strike + 4 + 4 * 5 + 36, 0);
        FontBuilder::Set(b, strike, 2, 16);
        FontBuilder::Set(b, strike + 2, 2, 72);
        const std::uint32_t first = 4 + 4 * 5;
        for (std::uint32_t g = 0; g <= 4; ++g)
            FontBuilder::Set(b, strike + 4 + 4 * g, 4, g == 0 ? first : first + 12 * (g - 1));
        for (std::size_t g = 0; g < 3; ++g)
            std::copy_n("png ", 4, b.begin() + static_cast<std::ptrdiff_t>(strike + first + 12 * g + 4));
    }
    return b;
}

// sbix of `count` strikes, one every 4 bytes, each overlapping the next: a run of offsets
// that all say 24 (each glyph empty), which reads the same from any of them.
Bytes OverlappingSbix(std::uint32_t count)
{
    Bytes b = FontBuilder::Be16s({1, 1});
    FontBuilder::Put(b, 4, count);
    const std::uint32_t first = 8 + 4 * count;
    for (std::uint32_t s = 0; s < count; ++s)
        FontBuilder::Put(b, 4, first + 4 * s);
    for (std::uint32_t i = 0; i < count + 6 + 6; ++i)
        FontBuilder::Put(b, 4, 24);
    return b;
}

}  // namespace

TEST(ReadFontFile, BitmapOnlyFontsAreJudgedByTheirOwnTables)
{
    const FontFileFacts colour = ReadFontFile(ColourFont().Build());
    ASSERT_TRUE(colour.sound) << colour.reason;
    // The same images through index formats 2, 4 and 5: sound too.
    for (const std::uint32_t format : {2u, 4u, 5u}) {
        FontBuilder font = ColourFont();
        font.tables["CBLC"] = CblcOfIndexFormat(format);
        const FontFileFacts facts = ReadFontFile(font.Build());
        EXPECT_TRUE(facts.sound) << "index format " << format << ": " << facts.reason;
    }
    EXPECT_FALSE(colour.faces[0].outlines);
    EXPECT_EQ(colour.faces[0].bitmaps, "CBDT");
    FontBuilder sbix;
    sbix.tables.erase("glyf");
    sbix.tables.erase("loca");
    sbix.tables["sbix"] = Sbix();
    const FontFileFacts images = ReadFontFile(sbix.Build());
    ASSERT_TRUE(images.sound) << images.reason;
    EXPECT_EQ(images.faces[0].bitmaps, "sbix");
    // Outlines and bitmaps: both judged.
    FontBuilder both;
    both.tables["CBLC"] = Cblc();
    both.tables["CBDT"] = Cbdt();
    const FontFileFacts mixed = ReadFontFile(both.Build());
    ASSERT_TRUE(mixed.sound) << mixed.reason;
    EXPECT_TRUE(mixed.faces[0].outlines);
    EXPECT_EQ(mixed.faces[0].bitmaps, "CBDT");
    // A font of neither is still refused for its missing outlines.
    FontBuilder neither;
    neither.tables.erase("glyf");
    neither.tables.erase("loca");
    EXPECT_EQ(ReadFontFile(neither.Build()).reason, "loca: absent");

    // The fixtures' fonts of bitmaps alone: CBLC index format 1, EBLC formats 2 and 5, sbix.
    for (const char* kind : {"CBDT", "EBDT", "sbix"}) {
        std::string name = std::string("bitmaps-") + kind + ".ttf";
        std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        const FontFileFacts facts = ReadFontFile(Fixture(name));
        EXPECT_TRUE(facts.sound) << name << ": " << facts.reason;
        ASSERT_EQ(facts.faces.size(), 1u) << name;
        EXPECT_FALSE(facts.faces[0].outlines) << name;
        EXPECT_EQ(facts.faces[0].bitmaps, kind) << name;
    }
    // The colour emoji font Debian ships, unpacked by the set-up.
    if (std::filesystem::exists(QUILLMOOR_EMOJI_FONT)) {
        const FontFileFacts emoji = ReadFontFile(FileBytes(QUILLMOOR_EMOJI_FONT));
        EXPECT_TRUE(emoji.sound) << emoji.reason;
        ASSERT_EQ(emoji.faces.size(), 1u);
        EXPECT_FALSE(emoji.faces[0].outlines);
        EXPECT_EQ(emoji.faces[0].bitmaps, "CBDT");
    } else {
        ADD_FAILURE() << "no " << QUILLMOOR_EMOJI_FONT << ": scripts/setup.sh unpacks it";
    }
}

TEST(ReadFontFile, EachBitmapRuleRefusesAFontThatBreaksOnlyIt)
{
    using Change = std::function<void(FontBuilder&)>;
    auto cblc = [](std::size_t at, std::uint32_t value, int size) -> Change {
        return [=](FontBuilder& f) { FontBuilder::Set(f.tables["CBLC"], at, size, value); };
    };
    auto cbdt = [](std::size_t at, std::uint32_t value, int size) -> Change {
        return [=](FontBuilder& f) { FontBuilder::Set(f.tables["CBDT"], at, size, value); };
    };
    auto withIndex = [](std::uint32_t format, std::function<void(Bytes&)> change) -> Change {
        return [=](FontBuilder& f) {
            Bytes t = CblcOfIndexFormat(format);
            change(t);
            f.tables["CBLC"] = t;
        };
    };
    auto sbix = [](std::function<void(Bytes&)> change) -> Change {
        return [=](FontBuilder& f) {
            f.tables["sbix"] = Sbix();
            change(f.tables["sbix"]);
        };
    };
    const std::pair<const char*, Change> rules[] = {
        {"CBLC: cut short", [](FontBuilder& f) { f.lengths["CBLC"] = 7; }},
        {"CBLC: unknown version", cblc(0, 2, 2)},
        {"CBDT: absent", [](FontBuilder& f) { f.tables.erase("CBDT"); }},
        {"CBDT: cut short", [](FontBuilder& f) { f.lengths["CBDT"] = 3; }},
        {"CBDT: unknown version", cbdt(0, 2, 2)},
        {"CBLC: strikes past the table", cblc(4, 2, 4)},
        {"CBLC: strike glyphs inverted", cblc(kCblcStrike + 40, 4, 2)},
        {"CBLC: strike glyph past the last glyph", cblc(kCblcStrike + 42, 4, 2)},
        {"CBLC: index subtables past the table", cblc(kCblcStrike + 8, 9, 4)},
        {"CBLC: index subtables out of order",
         [](FontBuilder& f) {
             // A second entry, for glyphs 2-3, over the same subtable.
             Bytes& t = f.tables["CBLC"];
             FontBuilder::Set(t, kCblcStrike + 8, 4, 2);
             FontBuilder::Set(t, kCblcArray + 4, 4, 16);
             t.insert(t.begin() + kCblcArray + 8, {0, 2, 0, 3, 0, 0, 0, 16});
         }},
        {"CBLC: index glyphs inverted",
         [](FontBuilder& f) {
             FontBuilder::Set(f.tables["CBLC"], kCblcArray, 2, 3);
             FontBuilder::Set(f.tables["CBLC"], kCblcArray + 2, 2, 1);
         }},
        {"CBLC: index glyph past the last glyph", cblc(kCblcArray + 2, 4, 2)},
        {"CBLC: index subtable past the table", cblc(kCblcArray + 4, 0x1000, 4)},
        {"CBLC: index subtable past the table", [](FontBuilder& f) {
              FontBuilder::Set(f.tables["CBLC"], kCblcArray + 4, 4, static_cast<std::uint32_t>(f.tables["CBLC"].size() - kCblcArray - 4));
          }},
        {"CBLC: unknown index format", cblc(kCblcSubtable, 6, 2)},
        {"CBLC: unknown image format", cblc(kCblcSubtable + 2, 1, 2)},
        {"CBLC: glyph offsets past the table", [](FontBuilder& f) { f.lengths["CBLC"] = kCblcOffsets + 12; }},
        {"CBDT: glyph offsets descending", cblc(kCblcOffsets + 4, 2 * kCbdtGlyph + 1, 4)},
        {"CBDT: glyph data past the table", cblc(kCblcOffsets + 12, 100, 4)},
        {"CBDT: glyph data shorter than its header", cblc(kCblcOffsets + 4, 8, 4)},
        {"CBDT: image length past the glyph", cbdt(4 + 5, 5, 4)},
        {"sbix: cut short", [](FontBuilder& f) {
              f.tables["sbix"] = Sbix();
              f.lengths["sbix"] = 7;
          }},
        {"sbix: unknown version", sbix([](Bytes& b) { FontBuilder::Set(b, 0, 2, 2); })},
        {"sbix: strikes past the table", sbix([](Bytes& b) { FontBuilder::Set(b, 4, 4, 0x1000); })},
        {"sbix: strike past the table", sbix([](Bytes& b) { FontBuilder::Set(b, 8, 4, 0x1000); })},
        {"sbix: glyph offsets descending", sbix([](Bytes& b) { FontBuilder::Set(b, 12 + 4 + 8, 4, 20); })},
        {"sbix: glyph data past the table", sbix([](Bytes& b) { FontBuilder::Set(b, 12 + 4 + 16, 4, 0x1000); })},
        {"sbix: glyph data shorter than its header", sbix([](Bytes& b) { FontBuilder::Set(b, 12 + 4 + 8, 4, 24 + 4); })},
        {"sbix: strikes overlapping", [](FontBuilder& f) { f.tables["sbix"] = OverlappingSbix(2); }},
        // Many: refused once their headers add up to more than the table, before each is read.
        {"sbix: strike headers larger than the table", [](FontBuilder& f) { f.tables["sbix"] = OverlappingSbix(200); }},
        {"CBLC: index subtables larger than the table",
         [](FontBuilder& f) {
             // 999 glyphs, each in an index subtable of its own, every subtable 4 bytes after
             // the last in a run of words that reads as a subtable from any of them (index
             // format 1, image format 17, images at 0x00010011, every glyph empty): refused
             // once they add up to more than the table, before each is read.
             constexpr std::uint32_t kGlyphs = 1000, kWord = 0x00010011;
             FontBuilder::Set(f.tables["maxp"], 4, 2, kGlyphs);
             f.tables["hmtx"].resize(4 * 2 + 2 * (kGlyphs - 2), 0);
             Bytes t = FontBuilder::Be16s({3, 0});
             FontBuilder::Put(t, 4, 1);
             const std::uint32_t array = 8 + 48, run = array + 8 * (kGlyphs - 1);
             Bytes strike(48, 0);
             FontBuilder::Set(strike, 0, 4, array);
             FontBuilder::Set(strike, 8, 4, kGlyphs - 1);
             FontBuilder::Set(strike, 40, 2, 1);
             FontBuilder::Set(strike, 42, 2, kGlyphs - 1);
             t.insert(t.end(), strike.begin(), strike.end());
             for (std::uint32_t g = 1; g < kGlyphs; ++g) {
                 FontBuilder::Put(t, 2, g);
                 FontBuilder::Put(t, 2, g);
                 FontBuilder::Put(t, 4, run - array + 4 * (g - 1));
             }
             for (std::uint32_t w = 0; w < kGlyphs + 4; ++w)
                 FontBuilder::Put(t, 4, kWord);
             f.tables["CBLC"] = t;
             Bytes data = FontBuilder::Be16s({3, 0});
             data.resize(2 * kWord + 4, 0);
             f.tables["CBDT"] = data;
         }},
        // Index formats 2, 4 and 5 (format 1 is the built font's).
        {"CBLC: index subtable past the table", withIndex(2, [](Bytes& t) { t.resize(kCblcSubtable + 8 + 11); })},
        {"CBDT: glyph data shorter than its header", withIndex(2, [](Bytes& t) { FontBuilder::Set(t, kCblcSubtable + 8, 4, 8); })},
        {"CBDT: glyph data past the table", withIndex(2, [](Bytes& t) { FontBuilder::Set(t, kCblcSubtable + 8, 4, 100); })},
        {"CBDT: image length past the glyph", withIndex(2, [](Bytes& t) { FontBuilder::Set(t, kCblcSubtable + 8, 4, 12); })},
        {"CBLC: index subtable past the table", withIndex(5, [](Bytes& t) { t.resize(kCblcSubtable + 8 + 12 + 3); })},
        {"CBLC: glyph ids past the table", withIndex(5, [](Bytes& t) { FontBuilder::Set(t, kCblcSubtable + 20, 4, 100); })},
        {"CBLC: glyph id outside its index subtable", withIndex(5, [](Bytes& t) { FontBuilder::Set(t, kCblcSubtable + 24, 2, 0); })},
        {"CBLC: glyph ids out of order", withIndex(5, [](Bytes& t) { FontBuilder::Set(t, kCblcSubtable + 26, 2, 1); })},
        {"CBLC: index subtable past the table", withIndex(4, [](Bytes& t) { t.resize(kCblcSubtable + 8 + 3); })},
        {"CBLC: glyph offsets past the table", withIndex(4, [](Bytes& t) { FontBuilder::Set(t, kCblcSubtable + 8, 4, 100); })},
        {"CBLC: glyph id outside its index subtable", withIndex(4, [](Bytes& t) { FontBuilder::Set(t, kCblcSubtable + 12, 2, 0); })},
        {"CBLC: glyph ids out of order", withIndex(4, [](Bytes& t) { FontBuilder::Set(t, kCblcSubtable + 16, 2, 1); })},
        {"CBDT: glyph offsets descending", withIndex(4, [](Bytes& t) { FontBuilder::Set(t, kCblcSubtable + 18, 2, 30); })},
        // Two entries over one subtable for other glyphs, and two subtables overlapping.
        {"CBLC: index subtables overlapping",
         [](FontBuilder& f) {
             Bytes& t = f.tables["CBLC"];
             FontBuilder::Set(t, kCblcStrike + 8, 4, 2);
             FontBuilder::Set(t, kCblcArray, 4, 0x00010001);  // glyph 1 alone
             FontBuilder::Set(t, kCblcArray + 4, 4, 16);
             t.insert(t.begin() + kCblcArray + 8, {0, 2, 0, 3, 0, 0, 0, 16});
         }},
        {"CBLC: index subtables overlapping",
         [](FontBuilder& f) {
             // Glyph 1 in a subtable of format 2 whose last 8 bytes are also the header of
             // glyphs 2-3's (format 2, image format 17, images after glyph 1's).
             Bytes t = Cblc();
             t.resize(kCblcSubtable);
             FontBuilder::Set(t, kCblcStrike + 8, 4, 2);
             FontBuilder::Set(t, kCblcArray, 4, 0x00010001);
             t.insert(t.begin() + kCblcArray + 8, {0, 2, 0, 3, 0, 0, 0, 16 + 12});
             FontBuilder::Set(t, kCblcArray + 4, 4, 16);
             for (std::uint32_t v : {2u, 17u})
                 FontBuilder::Put(t, 2, v);
             FontBuilder::Put(t, 4, 4);
             FontBuilder::Put(t, 4, kCbdtGlyph);
             for (std::uint32_t v : {2u, 17u})
                 FontBuilder::Put(t, 2, v);
             FontBuilder::Put(t, 4, 4 + kCbdtGlyph);
             FontBuilder::Put(t, 4, kCbdtGlyph);
             t.resize(t.size() + 8, 0);
             f.tables["CBLC"] = t;
         }},
    };
    for (const auto& [reason, change] : rules) {
        FontBuilder font = ColourFont();
        if (std::string(reason).starts_with("sbix")) {
            font.tables.erase("CBLC");
            font.tables.erase("CBDT");
        }
        change(font);
        const FontFileFacts facts = ReadFontFile(font.Build());
        EXPECT_FALSE(facts.sound) << reason;
        EXPECT_EQ(facts.reason, reason);
    }
}
