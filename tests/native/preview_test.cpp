#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "preview/file_preview_rules.h"
#include "preview/font_attribute.h"
#include "preview/number_text.h"

TEST(TextToNumber, ReadsDecimalsAndFullWidthForms)
{
    struct Case {
        std::string text;
        double expected;
    };
    const Case cases[] = {
        {"", 0},
        {"12", 12},
        {"\xA3\xB1\xA3\xB2\xA3\xAE\xA3\xB5", 12.5},  // full-width 12.5
        {"\xA3\xB1\xA3\xB6", 16},                    // full-width 16
        {"\xA3\xAD\xA3\xB8", -8},                    // full-width minus 8
        {"\xA1\xA1 7", 7},                           // full-width space, blank, 7
        {"14pt", 14},
        {".5", 0.5},
        {"5.", 5},
        {"-3.7", -3.7},
        {"+4", 4},
        {"  9", 9},
        {"0x10", 0},
        {"1,000", 1},
        {"1e3", 1000},
        {"1e", 1},
        {"1e+", 1},
        {"2E-1", 0.2},
        {"inf", 0},
        {"nan", 0},
        {"-", 0},
        {".", 0},
        {"小四", 0},
        {"12\xA3", 12},  // a lone lead byte at the end is dropped
        {"\xA3", 0},
        {"4294967297", 4294967297.0},
    };
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(TextToNumber(c.text), c.expected) << "text \"" << c.text << "\"";
    EXPECT_TRUE(std::isinf(TextToNumber("1e400")));
}

TEST(FullWidthToAscii, MapsOnlyTheFullWidthForms)
{
    EXPECT_EQ(FullWidthToAscii("\xA1\xAB\xA1\xEE\xA1\xEF\xA3\xC1"), "~**A");
    EXPECT_EQ(FullWidthToAscii("宋体"), "宋体");
    EXPECT_EQ(FullWidthToAscii("a\xA3"), "a");
}

TEST(TruncateToInteger, GoesTowardZeroAndKeepsTheLow32Bits)
{
    struct Case {
        double value;
        std::int32_t expected;
    };
    const double inf = std::numeric_limits<double>::infinity();
    const Case cases[] = {
        {12.9, 12},
        {-3.7, -3},
        {0.5, 0},
        {4294967297.0, 1},                // 2^32 + 1
        {2147483648.0, -2147483647 - 1},  // 2^31
        {4294967296.0 + 255, 255},
        {-1.0, -1},
        {9223372036854775807.0, 0},   // 2^63 does not fit
        {-9223372036854775808.0, 0},  // -2^63 fits, low bits 0
        {-9.3e18, 0},
        {inf, 0},
        {-inf, 0},
        {std::nan(""), 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TruncateToInteger(c.value), c.expected) << "value " << c.value;
}

TEST(NumberToText, IsPlainDecimal)
{
    EXPECT_EQ(NumberToText(255), "255");
    EXPECT_EQ(NumberToText(-255), "-255");
    EXPECT_EQ(NumberToText(0), "0");
    EXPECT_EQ(NumberToText(-2147483647 - 1), "-2147483648");
}

namespace {

FontDescription Base()
{
    FontDescription d{};
    d.height = -11;
    d.weight = 400;
    d.charSet = 134;
    d.quality = 5;
    std::strcpy(d.faceName, "Tahoma");
    return d;
}

}  // namespace

TEST(ChangeFontAttribute, ChangesOnlyItsOwnFields)
{
    struct Case {
        FontAttribute attribute;
        std::int32_t value;
        std::string face;
        void (*expect)(FontDescription&);  // applies the expected change to a copy of the base
    };
    const Case cases[] = {
        {FontAttribute::Angle, -900, "", [](FontDescription& d) { d.escapement = d.orientation = 2700; }},
        {FontAttribute::Angle, -1, "", [](FontDescription& d) { d.escapement = d.orientation = 3599; }},
        {FontAttribute::Angle, 3600, "", [](FontDescription& d) { d.escapement = d.orientation = 0; }},
        {FontAttribute::Angle, 7250, "", [](FontDescription& d) { d.escapement = d.orientation = 50; }},
        {FontAttribute::Bold, 1, "", [](FontDescription& d) { d.weight = 700; }},
        {FontAttribute::Bold, -5, "", [](FontDescription& d) { d.weight = 700; }},
        {FontAttribute::Bold, 0, "", [](FontDescription& d) { d.weight = 0; }},
        {FontAttribute::Italic, 1, "", [](FontDescription& d) { d.italic = 1; }},
        {FontAttribute::StrikeOut, 2, "", [](FontDescription& d) { d.strikeOut = 1; }},
        {FontAttribute::Underline, 1, "", [](FontDescription& d) { d.underline = 1; }},
        {FontAttribute::Size, 12, "", [](FontDescription& d) { d.height = -16; }},
        {FontAttribute::Size, 9, "", [](FontDescription& d) { d.height = -12; }},
        {FontAttribute::Size, 5, "", [](FontDescription& d) { d.height = -7; }},
        {FontAttribute::Size, 42, "", [](FontDescription& d) { d.height = -56; }},
        {FontAttribute::Size, 0, "", [](FontDescription& d) { d.height = 0; }},
        {FontAttribute::Size, -8, "", [](FontDescription& d) { d.height = 0; }},
        {FontAttribute::Size, 2147483647, "", [](FontDescription& d) { d.height = 1; }},  // MulDiv overflows to -1
        {FontAttribute::FaceName, 0, "黑体", [](FontDescription& d) { std::strcpy(d.faceName, "黑体"); }},
        {FontAttribute::FaceName, 0, "", [](FontDescription& d) { std::strcpy(d.faceName, "宋体"); }},
        {FontAttribute::FaceName, 0, std::string(31, 'x'),
         [](FontDescription& d) { std::memset(d.faceName, 'x', 31); }},
        {FontAttribute::FaceName, 0, std::string(32, 'x'), [](FontDescription& d) { std::strcpy(d.faceName, "宋体"); }},
    };
    for (const Case& c : cases) {
        FontDescription actual = Base();
        FontDescription expected = Base();
        ChangeFontAttribute(actual, c.attribute, c.value, c.face, 96);
        c.expect(expected);
        EXPECT_EQ(std::memcmp(&actual, &expected, sizeof actual), 0)
            << "attribute " << static_cast<int>(c.attribute) << " value " << c.value << " face " << c.face
            << ": height " << actual.height << " weight " << actual.weight << " face " << actual.faceName;
    }
}

TEST(MulDivRounded, RoundsHalfAwayFromZeroLikeThePlatform)
{
    EXPECT_EQ(MulDivRounded(12, 96, 72), 16);
    EXPECT_EQ(MulDivRounded(1, 96, 72), 1);  // 1.33
    EXPECT_EQ(MulDivRounded(3, 1, 2), 2);    // 1.5
    EXPECT_EQ(MulDivRounded(-3, 1, 2), -2);
    EXPECT_EQ(MulDivRounded(5, 120, 72), 8);  // 8.33 at 120 dpi
    EXPECT_EQ(MulDivRounded(1, 1, 0), -1);
    EXPECT_EQ(MulDivRounded(2147483647, 2, 1), -1);
}

TEST(PreviewCaption, NamesTheFamilyTheFileAndHowManyFamilies)
{
    EXPECT_EQ(PreviewCaption("Quillmoor字体查看器1.1", "Fam", "a.ttf", 1),
              "Quillmoor字体查看器1.1 - Fam (a.ttf, 未安装)");
    EXPECT_EQ(PreviewCaption("Quillmoor字体查看器1.1", "Pair A", "p.ttc", 2),
              "Quillmoor字体查看器1.1 - Pair A (p.ttc, 共2个字体, 未安装)");
}

// The preview's refusal in the caption, from the state a fresh preview has.
TEST(RefusalInCaption, GivenBackOnceWhenTheBoxChangesWithNothingShown)
{
    RefusalInCaption refusal;
    EXPECT_FALSE(refusal.TakeBack(false)) << "nothing was refused";
    refusal.Refused();
    EXPECT_FALSE(refusal.TakeBack(true)) << "a file shown keeps its own caption";
    EXPECT_TRUE(refusal.TakeBack(false));
    EXPECT_FALSE(refusal.TakeBack(false)) << "given back once";
}

TEST(RefusedPreviewCaption, NamesTheFileAndWhy)
{
    EXPECT_EQ(RefusedPreviewCaption("Quillmoor字体查看器1.1", "坏.ttf"), "Quillmoor字体查看器1.1 (坏.ttf, 无法预览)");
}
