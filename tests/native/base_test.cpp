#include <gtest/gtest.h>

#include "base/command_line.h"
#include "base/dbcs_text.h"
#include "base/geometry.h"
#include "base/runtime_error.h"
#include "base/text_list.h"

TEST(TextList, ReadsFromOneToLength)
{
    TextList list({"甲", "乙", "丙"});
    EXPECT_EQ(list.Length(), 3);
    EXPECT_EQ(list.At(1), "甲");
    EXPECT_EQ(list.At(3), "丙");
}

TEST(TextList, OutsideTheListIsAFatalErrorWithItsCode)
{
    struct Case {
        int length, position, code;
        const char* message;
    };
    const Case cases[] = {
        {3, 0, 4, "数组成员引用下标必须大于等于1"}, {3, -5, 4, "数组成员引用下标必须大于等于1"},
        {0, 0, 4, "数组成员引用下标必须大于等于1"}, {3, 4, 1, "数组成员引用下标超出定义范围"},
        {0, 1, 1, "数组成员引用下标超出定义范围"},
    };
    for (const Case& c : cases) {
        TextList list(std::vector<std::string>(static_cast<std::size_t>(c.length), "x"));
        try {
            list.At(c.position);
            ADD_FAILURE() << "position " << c.position << " of " << c.length << " was read";
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.code(), c.code) << "position " << c.position;
            EXPECT_STREQ(e.what(), c.message) << "position " << c.position;
        }
    }
}

TEST(FatalErrorText, IsTheBoxTextByteForByte)
{
    EXPECT_EQ(FatalErrorText(4, kIndexBelowOneMessage),
              "运行时出错!\r\n\r\n错误代码：4\r\n\r\n错误信息：数组成员引用下标必须大于等于1\r\n");
    EXPECT_EQ(LoadFailureText(), "运行时出错!\r\n\r\n错误信息：载入启动窗口失败\r\n");
}

TEST(MovedInside, KeepsABoxOnTheWorkAreaAndMovesItAsLittleAsPossible)
{
    const Rect screen = {0, 0, 1024, 738}, leftMonitor = {-1280, 0, 0, 1024};
    struct Case {
        const char* situation;
        Rect box, area, expected;
    };
    const Case cases[] = {
        {"inside", {100, 100, 758, 600}, screen, {100, 100, 758, 600}},
        {"over the right edge", {526, 50, 1184, 450}, screen, {366, 50, 1024, 450}},
        {"over the left edge", {-159, 50, 499, 450}, screen, {0, 50, 658, 450}},
        {"over the bottom edge", {100, 600, 500, 900}, screen, {100, 438, 500, 738}},
        {"over the top edge", {100, -40, 500, 200}, screen, {100, 0, 500, 240}},
        {"over two edges", {900, 700, 1100, 800}, screen, {824, 638, 1024, 738}},
        {"wider and taller than the area: top-left on it", {-50, -50, 1250, 900}, screen, {0, 0, 1300, 950}},
        {"on a monitor at negative x", {-1400, 10, -1000, 300}, leftMonitor, {-1280, 10, -880, 300}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MovedInside(c.box, c.area), c.expected) << c.situation;
    // A 658-pixel dialog centred on the 339-pixel window flush left starts off the screen.
    EXPECT_EQ(CentredOn({0, 0, 658, 400}, {0, 100, 339, 595}), (Rect{-159, 147, 499, 547}));
}

TEST(SwitchArgument, TakesOneArgumentAfterTheSwitch)
{
    const std::pair<const char*, std::optional<std::string>> cases[] = {
        {"--trial \"C:\\My Fonts\\a.ttf\"", "C:\\My Fonts\\a.ttf"},
        {"--trial C:\\fonts\\a.ttf", "C:\\fonts\\a.ttf"},
        {"  --trial   \"a b.ttf\"  ", "a b.ttf"},
        {"--trial", std::nullopt},
        {"--trial \"\"", std::nullopt},
        {"--trialx a.ttf", std::nullopt},
        {"a.ttf", std::nullopt},
        {"", std::nullopt},
        {"--trial \"a\" \"b\"", std::nullopt},
    };
    for (const auto& [line, expected] : cases)
        EXPECT_EQ(SwitchArgument(line, "--trial"), expected) << line;
}

TEST(PathArgument, OnePathWithOrWithoutQuotes)
{
    const std::pair<const char*, std::optional<std::string>> cases[] = {
        {"\"C:\\My Fonts\\a.ttf\"", "C:\\My Fonts\\a.ttf"},
        {"C:\\My Fonts\\a.ttf", "C:\\My Fonts\\a.ttf"},
        {"  a.ttf ", "a.ttf"},
        {"", std::nullopt},
        {"--quillmoor-font-trial \"a.ttf\"", std::nullopt},
        {"/s", std::nullopt},
        {"\"a.ttf\" \"b.ttf\"", std::nullopt},
    };
    for (const auto& [line, expected] : cases)
        EXPECT_EQ(PathArgument(line), expected) << line;
}

TEST(CutInMiddle, KeepsTheStartAndTheEndAndWholeCharacters)
{
    struct Case {
        std::string text;
        std::size_t most;
        std::string expected;
    };
    const Case cases[] = {
        {"short.ttf", 20, "short.ttf"},
        {"abcdefghijklmnopqrstuvwxyz.ttf", 12, "abcde…z.ttf"},
        {"甲乙丙丁戊己庚辛.ttf", 12, "甲乙…辛.ttf"},  // never half a character
        {"甲乙丙丁戊己庚辛.ttf", 13, "甲乙丙….ttf"},
        {"abcdef", 2, "ab"},
    };
    for (const Case& c : cases) {
        const std::string cut = CutInMiddle(c.text, c.most);
        EXPECT_EQ(cut, c.expected) << c.text << " in " << c.most;
        EXPECT_LE(cut.size(), c.most);
    }
}
