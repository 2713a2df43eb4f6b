#include <gtest/gtest.h>

#include <iconv.h>

#include <fstream>
#include <iterator>
#include <vector>

#include "fontdata/font_file.h"
#include "fontinfo/coverage.h"

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

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
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
    const std::vector<std::string> whole = {"通用规范汉字表一级：3500/3500", "通用规范汉字表二级：3000/3000",
                                            "通用规范汉字表三级：1605/1605", "GB 2312：6763/6763",
                                            "GBK：20923/20923",             "GB 18030：27484/27484",
                                            "Big5：13062/13062",            "HKSCS：4579/4579"};
    EXPECT_EQ(Lines(CoverageLines(CountCoverage(everything, gbk))), whole);
    for (const CoverageCount& count : CountCoverage({}, gbk))
        EXPECT_EQ(count.covered, 0u) << count.name;
    // 一 (U+4E00) is in every set but HKSCS; 丂 (U+4E02) in GBK and GB 18030 only.
    const std::vector<CharRange> two = {{0x4E00, 0x4E00}, {0x4E02, 0x4E02}};
    const std::vector<std::uint32_t> expected = {1, 0, 0, 1, 2, 2, 1, 0};
    const std::vector<CoverageCount> counts = CountCoverage(two, gbk);
    ASSERT_EQ(counts.size(), expected.size());
    for (std::size_t i = 0; i < counts.size(); ++i)
        EXPECT_EQ(counts[i].covered, expected[i]) << counts[i].name;
}

TEST(Coverage, WenQuanYiMicroHeiAgainstFiguresWorkedOutSeparately)
{
    std::ifstream file("/usr/share/fonts/truetype/wqy/wqy-microhei.ttc", std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    const FontFileFacts facts = ReadFontFile(bytes);
    ASSERT_TRUE(facts.sound) << facts.fault;
    ASSERT_TRUE(FamilyFor(facts.faces[0], 0x0804) == u"文泉驿微米黑");
    const std::vector<std::string> expected = {"通用规范汉字表一级：3500/3500", "通用规范汉字表二级：2989/3000",
                                               "通用规范汉字表三级：1340/1605", "GB 2312：6763/6763",
                                               "GBK：20923/20923",             "GB 18030：20904/27484",
                                               "Big5：13062/13062",            "HKSCS：2287/4579"};
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
