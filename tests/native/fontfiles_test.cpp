#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <set>
#include <vector>

#include "base/command_line.h"
#include "base/dbcs_text.h"
#include "base/font_file.h"
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
    EXPECT_EQ(ReadFontFile(Fixture("quillmoor-names.ttf")).faces[0].characters, latin);
    std::vector<char32_t> capitals{U' '};
    for (char32_t c = U'A'; c <= U'Z'; ++c)
        capitals.push_back(c);
    EXPECT_EQ(ReadFontFile(Fixture("quillmoor-otf.otf")).faces[0].characters, capitals);
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
    EXPECT_EQ(wqy.faces[0].characters.size(), kMostSampleCharacters);
    EXPECT_TRUE(std::is_sorted(wqy.faces[0].characters.begin(), wqy.faces[0].characters.end()));
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
    const std::tuple<const char*, std::vector<std::uint8_t>, const char*> bad[] = {
        {"member count 0", broken(8, 0), "collection"},
        {"member count 0xFFFFFFFF", broken(8, 0xFFFFFFFF), "collection"},
        {"unknown version", broken(4, 0x00030000), "collection"},
        {"offsets cut short", headerOnly, "collection"},
        {"member offset past the end", broken(16, 0x00FFFFFF), "directory"},
        {"member offset into the header", broken(16, 4), "directory"},
        {"member offset pointing at the collection", broken(16, 0), "directory"},
        {"last member cut short", truncated, "directory"},
    };
    for (const auto& [what, bytes, fault] : bad) {
        const FontFileFacts facts = ReadFontFile(bytes);
        EXPECT_EQ(facts.format, FontFileFacts::Format::Collection) << what;
        EXPECT_FALSE(facts.sound) << what;
        EXPECT_EQ(facts.fault, fault) << what;
    }
}

TEST(FontRegistryName, NamesTheFontAsTheSystemsInstallerDoes)
{
    struct Case {
        std::vector<std::u16string> names;
        bool cff;
        std::u16string expected;
    };
    const Case cases[] = {
        {{u"Fam Bold"}, false, u"Fam Bold (TrueType)"},
        {{u"Fam CFF"}, true, u"Fam CFF (OpenType)"},
        {{u"Member A", u"Member B"}, false, u"Member A & Member B (TrueType)"},
        {{u"나눔고딕"}, false, u"나눔고딕 (TrueType)"},
        {{}, false, u"old.fon"},
        {{u""}, true, u"old.fon"},
    };
    for (const Case& c : cases)
        EXPECT_TRUE(FontRegistryName(c.names, c.cff, u"old.fon") == c.expected);
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

TEST(InstallPaths, OnePerLineBlankLinesAndQuotesIgnored)
{
    using Paths = std::vector<std::string>;
    struct Case {
        std::string text;
        Paths expected;
    };
    const Case cases[] = {
        {"", {}},
        {"C:\\a.ttf", {"C:\\a.ttf"}},
        {"C:\\a.ttf\r\nC:\\b.ttf\r\n", {"C:\\a.ttf", "C:\\b.ttf"}},
        {"C:\\a.ttf\nC:\\b.ttf\rC:\\c.ttf", {"C:\\a.ttf", "C:\\b.ttf", "C:\\c.ttf"}},
        {"\r\n\r\n   \r\n\t\r\nC:\\a.ttf\r\n\r\n", {"C:\\a.ttf"}},
        {"  \"C:\\my fonts\\a.ttf\"  \r\n\"C:\\b.ttf\"", {"C:\\my fonts\\a.ttf", "C:\\b.ttf"}},
        {"\"   \"\r\n\"\"", {}},
        {"C:\\a.ttf\r\nC:\\a.ttf\r\n", {"C:\\a.ttf", "C:\\a.ttf"}},  // each stands alone
        {"C:\\\xB1\x5C.ttf\r\n", {"C:\\\xB1\x5C.ttf"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(InstallPaths(c.text), c.expected) << c.text;

    // A box of 32,000 characters of paths: every one of them, nothing more.
    std::string box;
    int count = 0;
    while (box.size() < 32000) {
        box += "C:\\fonts\\family-" + std::to_string(count++) + ".ttf\r\n";
    }
    const Paths paths = InstallPaths(box);
    ASSERT_EQ(paths.size(), static_cast<std::size_t>(count));
    EXPECT_EQ(paths.back(), "C:\\fonts\\family-" + std::to_string(count - 1) + ".ttf");
}

TEST(ReportInstallation, FirstLineIconAndAReasonPerRefusedFile)
{
    using R = InstallResult;
    using Icon = InstallReport::Icon;
    struct Case {
        const char* what;
        std::vector<FileOutcome> outcomes;
        std::string text;
        Icon icon;
    };
    const Case cases[] = {
        {"all installed", {{"C:\\a.ttf", R::Installed}, {"C:\\b.ttf", R::Installed}}, "安装成功", Icon::None},
        {"one refused", {{"C:\\a.ttf", R::AlreadyInstalled}}, "安装失败\n\na.ttf：已经安装过（字体文件夹中已有同名的文件）",
         Icon::Error},
        {"all refused",
         {{"C:\\x\\a.txt", R::NotAFont}, {"D:\\b.ttf", R::InUse}},
         "安装失败\n\na.txt：不是字体文件，或文件已损坏\nb.ttf：无法读取：另一个程序正在使用这个文件，请关闭它后再试",
         Icon::Error},
        {"mixed",
         {{"C:\\a.ttf", R::Installed}, {"C:\\b.ttf", R::Missing}, {"C:\\c.ttf", R::Installed}},
         "部分安装成功\n\nb.ttf：无法读取：找不到这个文件", Icon::Warning},
        {"a folder ending in a separator", {{"C:\\fonts\\", R::Folder}},
         "安装失败\n\nC:\\fonts\\：这是文件夹，不是字体文件", Icon::Error},
        {"nothing named", {}, "安装失败\n\n没有指定要安装的字体文件。", Icon::Error},
    };
    for (const Case& c : cases) {
        const InstallReport report = ReportInstallation(c.outcomes);
        EXPECT_EQ(report.text, c.text) << c.what;
        EXPECT_EQ(report.icon, c.icon) << c.what;
    }
    // Every reason is its own, and none is empty.
    std::set<std::string> reasons;
    for (R r : {R::AlreadyInstalled, R::NotAFont, R::Missing, R::InUse, R::Unreadable, R::Folder, R::NoRights,
                R::DiskFull, R::PathTooLong, R::Failed})
        reasons.insert(InstallReason(r));
    EXPECT_EQ(reasons.size(), 10u);
    EXPECT_EQ(reasons.count(""), 0u);
}

TEST(ReportInstallation, NamesTwentyRefusedFilesAndCountsTheRest)
{
    std::vector<FileOutcome> outcomes;
    for (int i = 0; i < 999; ++i)
        outcomes.push_back({"C:\\missing-" + std::to_string(i) + ".ttf", InstallResult::Missing});
    outcomes.insert(outcomes.begin() + 500, {"C:\\sound.ttf", InstallResult::Installed});
    const std::string text = ReportInstallation(outcomes).text;
    EXPECT_EQ(text.substr(0, text.find('\n')), "部分安装成功");
    // The first line, a blank one, twenty reasons and the count: 23 lines.
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 23 - 1);
    EXPECT_NE(text.find("missing-19.ttf："), std::string::npos);
    EXPECT_EQ(text.find("missing-20.ttf"), std::string::npos);
    EXPECT_EQ(text.substr(text.rfind('\n') + 1), "……另有 979 个文件未能安装。");

    // Exactly twenty: no count line.
    outcomes.resize(20);
    const std::string twenty = ReportInstallation(outcomes).text;
    EXPECT_EQ(std::count(twenty.begin(), twenty.end(), '\n'), 22 - 1);
}

TEST(CopyExtension, TheFilesOwnWhenItIsShortAndPlain)
{
    EXPECT_EQ(CopyExtension("a.ttf"), ".ttf");
    EXPECT_EQ(CopyExtension("a.b.OTC"), ".OTC");
    EXPECT_EQ(CopyExtension("noextension"), ".tmp");
    EXPECT_EQ(CopyExtension("a."), ".tmp");
    EXPECT_EQ(CopyExtension("a.toolong"), ".tmp");
    EXPECT_EQ(CopyExtension("a.t f"), ".tmp");
    EXPECT_EQ(CopyExtension("dir.d\\file"), ".tmp");
}

TEST(ContentKey, DiffersWithEveryByte)
{
    const std::vector<std::uint8_t> a = {1, 2, 3, 4}, b = {1, 2, 3, 5}, c = {1, 2, 3, 4, 0};
    EXPECT_EQ(ContentKey(a), ContentKey(std::vector<std::uint8_t>{1, 2, 3, 4}));
    EXPECT_NE(ContentKey(a), ContentKey(b));
    EXPECT_NE(ContentKey(a), ContentKey(c));
}
