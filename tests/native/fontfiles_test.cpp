#include <gtest/gtest.h>

#include "base/dbcs_text.h"
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

}  // namespace

TEST(FontNameFromFile, PrefersTheFullNameInEnglish)
{
    EXPECT_EQ(
        FontNameFromFile(Sfnt(0x00010000, {{1, 0x0409, u"Fam"}, {4, 0x0804, u"宋体 粗"}, {4, 0x0409, u"Fam Bold"}})),
        u"Fam Bold");
    EXPECT_EQ(FontNameFromFile(Sfnt(0x4F54544F, {{1, 0x0409, u"Only Family"}})), u"Only Family");
    EXPECT_EQ(FontNameFromFile(Sfnt(0x00010000, {{2, 0x0409, u"Regular"}})), std::nullopt);
    EXPECT_EQ(FontNameFromFile(Sfnt(0x12345678, {{4, 0x0409, u"X"}})), std::nullopt);
    EXPECT_EQ(FontNameFromFile({}), std::nullopt);
    std::vector<std::uint8_t> cut = Sfnt(0x00010000, {{4, 0x0409, u"Cut short"}});
    cut.resize(cut.size() - 4);
    EXPECT_EQ(FontNameFromFile(cut), std::nullopt);
    EXPECT_EQ(FontRegistryName(std::string("Fam Bold"), "fam.ttf"), "Fam Bold (TrueType)");
    EXPECT_EQ(FontRegistryName(std::nullopt, "old.fon"), "old.fon");
}
