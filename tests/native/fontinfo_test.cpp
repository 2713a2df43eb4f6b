#include <gtest/gtest.h>

#include <iconv.h>

#include <fstream>
#include <iterator>
#include <vector>

#include "fontdata/font_file.h"
#include "fontinfo/coverage.h"
#include "fontinfo/info_text.h"

namespace {

// What code page 936 decodes, by the C library's GBK: every lead byte 0x81-0xFE with every
// trail byte 0x40-0xFE but 0x7F.
std::vector<CharRange> GbkIdeographs()
{
    iconv_t gbk = iconv_open("UTF-32LE", "GBK");
    EXPECT_NE(gbk, reinterpret_cast<iconv_t>(-1));
    std::vector<char32_t> decoded;
    for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
        for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
            if (trail == 0x7F)
                continue;
            char in[2] = {static_cast<char>(lead), static_cast<char>(trail)};
            char32_t out = 0;
            char* from = in;
            char* to = reinterpret_cast<char*>(&out);
            std::size_t left = 2, room = sizeof out;
            if (iconv(gbk, &from, &left, &to, &room) != static_cast<std::size_t>(-1) && room == 0)
                decoded.push_back(out);
            iconv(gbk, nullptr, nullptr, nullptr, nullptr);
        }
    }
    iconv_close(gbk);
    return IdeographsAmong(decoded);
}

std::vector<std::u16string> Lines(const std::u16string& text)
{
    std::vector<std::u16string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find(u"\r\n", start)) != std::u16string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    lines.push_back(text.substr(start));
    return lines;
}

}  // namespace

TEST(Coverage, CountsEverySetWholeNoneAndPart)
{
    const std::vector<CharRange> gbk = GbkIdeographs();
    const std::vector<CharRange> everything = {{0, 0x10FFFF}};
    // The sets' sizes, as the standards give them.
    const std::vector<std::u16string> whole = {u"通用规范汉字表一级：3500/3500", u"通用规范汉字表二级：3000/3000",
                                            u"通用规范汉字表三级：1605/1605", u"GB 2312：6763/6763",
                                            u"GBK：20923/20923",             u"GB 18030：27484/27484",
                                            u"Big5：13062/13062",            u"HKSCS：4579/4579"};
    EXPECT_EQ(Lines(CoverageLines(CountCoverage(everything, gbk))), whole);
    for (const CoverageCount& count : CountCoverage({}, gbk))
        EXPECT_EQ(count.covered, 0u);
    // 一 (U+4E00) is in every set but HKSCS; 丂 (U+4E02) in GBK and GB 18030 only.
    const std::vector<CharRange> two = {{0x4E00, 0x4E00}, {0x4E02, 0x4E02}};
    const std::vector<std::uint32_t> expected = {1, 0, 0, 1, 2, 2, 1, 0};
    const std::vector<CoverageCount> counts = CountCoverage(two, gbk);
    ASSERT_EQ(counts.size(), expected.size());
    for (std::size_t i = 0; i < counts.size(); ++i)
        EXPECT_EQ(counts[i].covered, expected[i]) << i;
}

TEST(Coverage, WenQuanYiMicroHeiAgainstFiguresWorkedOutSeparately)
{
    std::ifstream file("/usr/share/fonts/truetype/wqy/wqy-microhei.ttc", std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    const FontFileFacts facts = ReadFontFile(bytes);
    ASSERT_TRUE(facts.sound) << facts.fault;
    ASSERT_TRUE(FamilyFor(facts.faces[0], 0x0804) == u"文泉驿微米黑");
    const std::vector<std::u16string> expected = {u"通用规范汉字表一级：3500/3500", u"通用规范汉字表二级：2989/3000",
                                               u"通用规范汉字表三级：1340/1605", u"GB 2312：6763/6763",
                                               u"GBK：20923/20923",             u"GB 18030：20904/27484",
                                               u"Big5：13062/13062",            u"HKSCS：2287/4579"};
    EXPECT_EQ(Lines(CoverageLines(CountCoverage(facts.faces[0].characters->ranges, GbkIdeographs()))), expected);
}

TEST(MissingCharacters, EachOnceInOrderWithoutSpacesOrControls)
{
    const std::vector<CharRange> mapped = {{U'A', U'Z'}, {0x4E00, 0x4E00}};
    struct Case {
        std::u32string text, expected;
        std::size_t most;
    };
    const Case cases[] = {
        {U"ABC", U"", 200},
        {U"A b\tC\r\n一二三二", U"b二三", 200},
        {U"　 \u00A0x", U"x", 200},           // ideographic and no-break spaces aside
        {U"abcdef", U"abc", 3},               // the first ones only
        {U"\U00020000a\U00020000", U"\U00020000a", 200},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MissingCharacters(c.text, mapped, c.most), c.expected);
    EXPECT_TRUE(Maps(mapped, U'A'));
    EXPECT_TRUE(Maps(mapped, U'Z'));
    EXPECT_FALSE(Maps(mapped, U'@'));
    EXPECT_FALSE(Maps(mapped, U'['));
    EXPECT_FALSE(Maps({}, U'A'));
}

TEST(InfoText, EveryItemOnItsLineAndTheCoverageAtTheEnd)
{
    FontInfo info;
    info.family = u"奎尔宋体";
    info.names = {{u"奎尔宋体", u"中文(中国)"}, {u"Quillmoor Song", u"英语(美国)"}, {u"奎尔宋体", u"中文(台湾)"}};
    info.styles = {{u"Quillmoor Song Regular", u"Version 1.00", {{u"C:\\windows\\Fonts\\qsong.ttc", 5177387}}},
                   {u"Quillmoor Song Bold", u"", {}}};
    info.files = FilesState::Searched;
    info.cff2 = info.cff = true;
    info.axes = {"wght", "wdth"};
    info.member = 1;
    info.members = 2;
    info.glyphs = 30000;
    info.unitsPerEm = 1000;
    info.about.copyright = u"© 2026 奎尔";
    info.about.licence = u"Line one\nline two\r\nline three";
    info.coverage = {{u"GB 2312", 6763, 6763}, {u"Big5", 1, 13062}};
    info.missing = U"\U00020000龘";
    const std::u16string expected =
        u"字体：奎尔宋体\r\n"
        u"名称：奎尔宋体（中文(中国)、中文(台湾)）\r\n"
        u"名称：Quillmoor Song（英语(美国)）\r\n"
        u"样式：Quillmoor Song Regular\r\n"
        u"版本：Version 1.00\r\n"
        u"文件：C:\\windows\\Fonts\\qsong.ttc，5,177,387 字节\r\n"
        u"样式：Quillmoor Song Bold\r\n"
        u"文件：不在字体文件夹中\r\n"
        u"格式：CFF2 轮廓\r\n"
        u"可变字体，轴：wght, wdth\r\n"
        u"字体集合：第 2 个，共 2 个\r\n"
        u"字形数：30000\r\n"
        u"每 em 单位数：1000\r\n"
        u"版权：© 2026 奎尔\r\n"
        u"许可证：Line one\r\nline two\r\nline three\r\n"
        u"\r\n"
        u"GB 2312：6763/6763\r\nBig5：1/13062\r\n"
        u"\r\n"
        u"示例文字中缺少的字：\U00020000龘";
    EXPECT_TRUE(InfoText(info) == expected);

    // Still looking through the folders; and a file not installed.
    info.files = FilesState::Searching;
    EXPECT_NE(InfoText(info).find(u"样式：Quillmoor Song Bold\r\n文件：正在查找字体文件夹…\r\n"), std::u16string::npos);
    info.files = FilesState::NotInstalled;
    info.styles = {{u"Quillmoor Song Regular", u"Version 1.00", {}}};
    info.otherFiles = {{u"D:\\下载\\qsong.ttc", 999}};
    info.missing.clear();
    const std::u16string file = InfoText(info);
    EXPECT_NE(file.find(u"版本：Version 1.00\r\n文件：D:\\下载\\qsong.ttc，999 字节\r\n未安装\r\n格式"), std::u16string::npos);
    EXPECT_TRUE(file.ends_with(u"示例文字中缺少的字：无"));
    // Embedded bitmaps, alone or beside outlines.
    info.cff = info.cff2 = false;
    info.bitmaps = "CBDT";
    EXPECT_NE(InfoText(info).find(u"格式：TrueType 轮廓，另有位图（CBDT）\r\n"), std::u16string::npos);
    info.outlines = false;
    EXPECT_NE(InfoText(info).find(u"格式：位图（CBDT）\r\n"), std::u16string::npos);
    EXPECT_TRUE(InfoCaption(u"奎尔宋体") == u"字体信息 - 奎尔宋体");
}

TEST(InfoText, NumbersAndCharacters)
{
    const std::pair<std::uint64_t, std::u16string> numbers[] = {
        {0, u"0"}, {999, u"999"}, {1000, u"1,000"}, {5177387, u"5,177,387"}, {18446744073709551615ull, u"18,446,744,073,709,551,615"}};
    for (const auto& [n, text] : numbers)
        EXPECT_TRUE(GroupedNumber(n) == text) << n;
    const std::u16string text = u"a汉\U00020000\U0010FFFF";
    EXPECT_EQ(Characters(text), U"a汉\U00020000\U0010FFFF");
    EXPECT_TRUE(Utf16(Characters(text)) == text);
    // An unpaired surrogate stays as it is.
    const std::u16string lone = {u'x', static_cast<char16_t>(0xD800), u'y'};
    EXPECT_EQ(Characters(lone), (std::u32string{U'x', 0xD800, U'y'}));
}

TEST(GroupNames, AFontOfThousandsOfNamesShowsAFewLinesAndCountsTheRest)
{
    // One name in 5,000 languages, and 10,000 names of a language each.
    std::vector<LocalName> names;
    for (std::uint16_t language = 1; language <= 5000; ++language)
        names.push_back({u"Quillmoor Many", language});
    for (int i = 0; i < 10000; ++i)
        names.push_back({u"Name " + std::u16string(1, static_cast<char16_t>(0x4E00 + i)), 0x0804});
    const NameGroups groups = GroupNames(names);
    ASSERT_EQ(groups.shown.size(), kMostNameLines);
    EXPECT_TRUE(groups.shown[0].text == u"Quillmoor Many");
    EXPECT_EQ(groups.shown[0].languages.size(), kMostLanguagesAName);
    EXPECT_EQ(groups.shown[0].moreLanguages, 5000 - kMostLanguagesAName);
    EXPECT_EQ(groups.more, 10000 - (kMostNameLines - 1));
    // Few names: all of them, in the font's order.
    const NameGroups few = GroupNames({{u"奎尔宋体", 0x0804}, {u"Quillmoor Song", 0x0409}, {u"奎尔宋体", 0x0404}});
    ASSERT_EQ(few.shown.size(), 2u);
    EXPECT_EQ(few.shown[0].languages, (std::vector<std::uint16_t>{0x0804, 0x0404}));
    EXPECT_EQ(few.more, 0u);

    FontInfo info;
    info.family = u"Quillmoor Many";
    info.names = {{u"Quillmoor Many", u"中文(中国)", 0}, {u"Quillmoor Many", u"英语(美国)", 4998}};
    info.moreNames = 9981;
    const std::u16string text = InfoText(info);
    EXPECT_NE(text.find(u"名称：Quillmoor Many（中文(中国)、英语(美国) 等 5000 种语言）\r\n名称：另有 9981 个\r\n"),
              std::u16string::npos);
}
