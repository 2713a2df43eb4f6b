#include <gtest/gtest.h>

#include "base/dbcs_text.h"
#include "fontfiles/font_file.h"
#include "fontfiles/install_rules.h"

using namespace std::string_literals;

TEST(InstalledFileName, TakesTheLastComponent)
{
    struct Case {
        std::string path, expected;
    };
    const Case cases[] = {
        {"C:\\fonts\\a.ttf", "a.ttf"},
        {"C:/fonts/b.ttf", "b.ttf"},
        {"C:c.ttf", "c.ttf"},
        {"d.ttf", "d.ttf"},
        {"C:\\x/y:z.ttf", "z.ttf"},
        {"C:\\dir\\", ""},
        {"C:\\\xB1\x5C.ttf", "\xB1\x5C.ttf"},  // second byte looks like "\"
        {"C:\\" + std::string(300, 'n') + ".ttf", std::string(255, 'n')},
        {"C:\\" + std::string(254, 'n') + "\xD7\xD6", std::string(254, 'n')},  // no half character
    };
    for (const Case& c : cases)
        EXPECT_EQ(InstalledFileName(c.path), c.expected) << c.path;
    EXPECT_EQ(JoinPath("C:\\windows\\Fonts", "a.ttf"), "C:\\windows\\Fonts\\a.ttf");
    EXPECT_EQ(CutText("ab\xD7\xD6", 3), "ab");
}

namespace {

// A minimal sfnt with one name table holding the given (id, language, UTF-16) records.
std::vector<std::uint8_t> Sfnt(std::uint32_t version, const std::vector<std::tuple<int, int, std::u16string>>& records)
{
    std::vector<std::uint8_t> b;
    auto put16 = [&](std::uint32_t v) {
        b.push_back(static_cast<std::uint8_t>(v >> 8));
        b.push_back(static_cast<std::uint8_t>(v));
    };
    auto put32 = [&](std::uint32_t v) {
        put16(v >> 16);
        put16(v & 0xFFFF);
    };
    put32(version);
    put16(1);
    put16(0);
    put16(0);
    put16(0);
    const std::size_t nameOffset = 12 + 16;
    std::vector<std::uint8_t> strings;
    std::vector<std::uint8_t> table;
    auto t16 = [&](std::uint32_t v) {
        table.push_back(static_cast<std::uint8_t>(v >> 8));
        table.push_back(static_cast<std::uint8_t>(v));
    };
    t16(0);
    t16(static_cast<std::uint32_t>(records.size()));
    t16(static_cast<std::uint32_t>(6 + 12 * records.size()));
    for (const auto& [id, language, text] : records) {
        t16(3);
        t16(1);
        t16(static_cast<std::uint32_t>(language));
        t16(static_cast<std::uint32_t>(id));
        t16(static_cast<std::uint32_t>(text.size() * 2));
        t16(static_cast<std::uint32_t>(strings.size()));
        for (char16_t ch : text) {
            strings.push_back(static_cast<std::uint8_t>(ch >> 8));
            strings.push_back(static_cast<std::uint8_t>(ch));
        }
    }
    table.insert(table.end(), strings.begin(), strings.end());
    put32(0x6E616D65);
    put32(0);
    put32(static_cast<std::uint32_t>(nameOffset));
    put32(static_cast<std::uint32_t>(table.size()));
    b.insert(b.end(), table.begin(), table.end());
    return b;
}

std::vector<std::u16string> Names(const std::vector<std::uint8_t>& bytes)
{
    return ReadFontFile(bytes).names;
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
        const std::size_t at = b.size();
        Put32(b, 12 + 4 * m, static_cast<std::uint32_t>(at));
        // The member's table offsets count from the file's start.
        std::vector<std::uint8_t> member = members[m];
        const std::uint32_t tables = static_cast<std::uint32_t>(member[4]) << 8 | member[5];
        for (std::uint32_t t = 0; t < tables; ++t) {
            const std::size_t entry = 12 + 16 * t + 8;
            const std::uint32_t offset = static_cast<std::uint32_t>(member[entry]) << 24 | member[entry + 1] << 16 |
                                         member[entry + 2] << 8 | member[entry + 3];
            Put32(member, entry, offset + static_cast<std::uint32_t>(at));
        }
        b.insert(b.end(), member.begin(), member.end());
    }
    return b;
}

}  // namespace

TEST(ReadFontFile, PrefersTheFullNameInEnglish)
{
    EXPECT_EQ(Names(Sfnt(0x00010000, {{1, 0x0409, u"Fam"}, {4, 0x0804, u"宋体 粗"}, {4, 0x0409, u"Fam Bold"}})),
              std::vector<std::u16string>{u"Fam Bold"});
    EXPECT_EQ(Names(Sfnt(0x4F54544F, {{1, 0x0409, u"Only Family"}})), std::vector<std::u16string>{u"Only Family"});
    EXPECT_TRUE(Names(Sfnt(0x00010000, {{2, 0x0409, u"Regular"}})).empty());
}

TEST(ReadFontFile, JudgesTheFormatAndTheTableDirectory)
{
    using F = FontFileFacts::Format;
    const std::vector<std::uint8_t> sound = Sfnt(0x00010000, {{4, 0x0409, u"Sound"}});
    auto damaged = [&](std::size_t at, std::uint32_t value, int bytes) {
        std::vector<std::uint8_t> b = sound;
        for (int i = 0; i < bytes; ++i)
            b[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * (bytes - 1 - i)));
        return b;
    };
    std::vector<std::uint8_t> cut = sound;
    cut.resize(cut.size() - 4);
    struct Case {
        const char* what;
        std::vector<std::uint8_t> bytes;
        F format;
        bool sound, cff;
    };
    const Case cases[] = {
        {"TrueType", sound, F::Sfnt, true, false},
        {"OpenType with CFF outlines", Sfnt(0x4F54544F, {{4, 0x0409, u"C"}}), F::Sfnt, true, true},
        {"Apple's TrueType tag", Sfnt(0x74727565, {{4, 0x0409, u"A"}}), F::Sfnt, true, false},
        {"not a font: left to the system", Sfnt(0x12345678, {{4, 0x0409, u"X"}}), F::Other, false, false},
        {"empty", {}, F::Other, false, false},
        {"table count 0xFFFF", damaged(4, 0xFFFF, 2), F::Sfnt, false, false},
        {"table count 0", damaged(4, 0, 2), F::Sfnt, false, false},
        {"name table far past the end", damaged(12 + 8, 0x7FFFFFF0, 4), F::Sfnt, false, false},
        {"name table longer than the file", damaged(12 + 12, 0x10000, 4), F::Sfnt, false, false},
        {"name record count 0xFFFF", damaged(28 + 2, 0xFFFF, 2), F::Sfnt, false, false},
        {"string storage at 0xFFFF", damaged(28 + 4, 0xFFFF, 2), F::Sfnt, false, false},
        {"cut short", cut, F::Sfnt, false, false},
        {"no readable name", Sfnt(0x00010000, {{2, 0x0409, u"Regular"}}), F::Sfnt, false, false},
    };
    for (const Case& c : cases) {
        const FontFileFacts facts = ReadFontFile(c.bytes);
        EXPECT_EQ(facts.format, c.format) << c.what;
        EXPECT_EQ(facts.sound, c.sound) << c.what;
        EXPECT_EQ(facts.cff, c.cff) << c.what;
    }
}

TEST(ReadFontFile, ReadsEveryMemberOfACollection)
{
    const auto a = Sfnt(0x00010000, {{4, 0x0409, u"Member A"}});
    const auto b = Sfnt(0x00010000, {{4, 0x0409, u"Member B"}});
    const FontFileFacts two = ReadFontFile(Collection({a, b}));
    EXPECT_EQ(two.format, FontFileFacts::Format::Collection);
    EXPECT_TRUE(two.sound);
    EXPECT_EQ(two.names, (std::vector<std::u16string>{u"Member A", u"Member B"}));
    EXPECT_TRUE(ReadFontFile(Collection({Sfnt(0x4F54544F, {{4, 0x0409, u"C"}})})).cff);

    // Both members at the same offset: the same font twice is still readable.
    std::vector<std::uint8_t> overlapping = Collection({a, b});
    Put32(overlapping, 16, 20);
    EXPECT_EQ(ReadFontFile(overlapping).names, (std::vector<std::u16string>{u"Member A", u"Member A"}));

    auto broken = [&](std::size_t at, std::uint32_t value) {
        std::vector<std::uint8_t> bytes = Collection({a, b});
        Put32(bytes, at, value);
        return bytes;
    };
    std::vector<std::uint8_t> truncated = Collection({a, b});
    truncated.resize(truncated.size() - 10);
    std::vector<std::uint8_t> headerOnly = Collection({a, b});
    headerOnly.resize(14);
    const std::pair<const char*, std::vector<std::uint8_t>> bad[] = {
        {"member count 0", broken(8, 0)},
        {"member count 0xFFFFFFFF", broken(8, 0xFFFFFFFF)},
        {"member offset past the end", broken(16, 0x00FFFFFF)},
        {"member offset into the header", broken(16, 4)},
        {"member offset pointing at the collection", broken(16, 0)},
        {"unknown version", broken(4, 0x00030000)},
        {"last member cut short", truncated},
        {"offsets cut short", headerOnly},
    };
    for (const auto& [what, bytes] : bad) {
        const FontFileFacts facts = ReadFontFile(bytes);
        EXPECT_EQ(facts.format, FontFileFacts::Format::Collection) << what;
        EXPECT_FALSE(facts.sound) << what;
    }
}

TEST(FontRegistryName, NamesTheFontAsTheSystemsInstallerDoes)
{
    struct Case {
        std::vector<std::string> names;
        bool cff;
        std::string expected;
    };
    const Case cases[] = {
        {{"Fam Bold"}, false, "Fam Bold (TrueType)"},
        {{"Fam CFF"}, true, "Fam CFF (OpenType)"},
        {{"Member A", "Member B"}, false, "Member A & Member B (TrueType)"},
        {{}, false, "old.fon"},
        {{""}, true, "old.fon"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FontRegistryName(c.names, c.cff, "old.fon"), c.expected);
}

TEST(UnquotedPath, OnePairOfQuotesAroundOnePath)
{
    const std::pair<std::string, std::string> cases[] = {
        {"\"C:\\fonts\\a.ttf\"", "C:\\fonts\\a.ttf"},
        {"C:\\fonts\\a.ttf", "C:\\fonts\\a.ttf"},
        {"\"C:\\\xD7\xD6.ttf\"", "C:\\\xD7\xD6.ttf"},
        {"\"\"", ""},
        {"\"", "\""},
        {"\"a.ttf", "\"a.ttf"},
        {"a.ttf\"", "a.ttf\""},
        {"\"a\" \"b\"", "\"a\" \"b\""},
        {" \"a.ttf\"", " \"a.ttf\""},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(UnquotedPath(text), expected) << text;
    EXPECT_TRUE(FitsPathLimit(std::string(259, 'x')));
    EXPECT_FALSE(FitsPathLimit(std::string(260, 'x')));
}
