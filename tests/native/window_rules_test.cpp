#include <gtest/gtest.h>

#include "ui/dock.h"
#include "ui/integer_text.h"

TEST(NormaliseIntegerText, ReadsTheLeadingNumber)
{
    struct Case {
        const char* text;
        const char* expected;
    };
    const Case cases[] = {
        {"007", "7"},
        {"-0", ""},
        {"0", ""},
        {"", ""},
        {"abc", ""},
        {"-", ""},
        {"12ab", "12"},
        {"12-3", "12"},
        {"  -45", "-45"},
        {"+8", "8"},
        {"--8", ""},
        {"99999999999", "2147483647"},
        {"-99999999999", "-2147483648"},
        {"2147483647", "2147483647"},
        {"-2147483648", "-2147483648"},
        {"123456789012345678901234567890", "2147483647"},  // beyond 64 bits: saturates
        {"-123456789012345678901234567890", "-2147483648"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(NormaliseIntegerText(c.text), c.expected) << "text \"" << c.text << "\"";
}

TEST(IntegerInputAccepts, DigitsMinusAndControlCharacters)
{
    for (int ch = 0; ch < 256; ++ch) {
        const bool expected = ch < 32 || ch == '-' || (ch >= '0' && ch <= '9');
        EXPECT_EQ(IntegerInputAccepts(static_cast<unsigned char>(ch)), expected) << "character " << ch;
    }
}

TEST(DockRule, TucksAwayAndBringsBack)
{
    using A = DockMove::Axis;
    // Screen 1024 wide, window 339 x 495.
    const int W = 339, H = 495, S = 1024;
    struct Case {
        const char* situation;
        int x, y, L, T;
        A axis;
        int value;
    };
    const Case cases[] = {
        {"free, pointer away", 5, 5, 300, 100, A::None, 0},
        {"free, pointer over", 400, 200, 300, 100, A::None, 0},
        {"left 0, pointer away", 900, 700, 0, 100, A::Left, 2 - W},
        {"left beyond, pointer away", 900, 700, -50, 100, A::Left, 2 - W},
        {"tucked left, pointer away stays", 900, 700, 2 - W, 100, A::Left, 2 - W},
        {"tucked left, pointer on strip x0", 0, 300, 2 - W, 100, A::Left, 0},
        {"tucked left, pointer on strip x2 (inclusive)", 2, 300, 2 - W, 100, A::Left, 0},
        {"tucked left, pointer at x3", 3, 300, 2 - W, 100, A::Left, 2 - W},
        {"tucked left, pointer at bottom row (inclusive)", 1, 100 + H, 2 - W, 100, A::Left, 0},
        {"right edge exactly, pointer away", 5, 5, S - W, 100, A::Left, S - 2},
        {"tucked right, pointer over strip", S - 1, 300, S - 2, 100, A::Left, S - W},
        {"beyond right, pointer over", S - 10, 300, S - W + 50, 100, A::None, 0},
        {"beyond right, top 1, pointer over", S - 10, 300, S - W + 50, 1, A::Top, 0},
        {"beyond right, pointer away", 5, 5, S - W + 50, 100, A::Left, S - 2},
        {"wholly right of the screen", 5, 5, S + 100, 100, A::Left, S - 2},
        {"top 1, pointer away", 900, 700, 300, 1, A::Top, 2 - H},
        {"top 2, pointer away", 900, 700, 300, 2, A::None, 0},
        {"tucked up, pointer on strip", 400, 0, 300, 2 - H, A::Top, 0},
        {"above top, pointer over", 400, 10, 300, -20, A::Top, 0},
        {"left and top, pointer away: left wins", 900, 700, 0, 0, A::Left, 2 - W},
        {"right and top, pointer away: right wins", 5, 700, S - W, 0, A::Left, S - 2},
        {"left beyond, pointer over", 10, 300, -50, 100, A::Left, 0},
        {"near the bottom edge", 5, 5, 300, 700, A::None, 0},
    };
    for (const Case& c : cases) {
        const DockMove move = DockRule(c.x, c.y, c.L, c.T, W, H, S);
        EXPECT_EQ(move.axis, c.axis) << c.situation;
        if (c.axis != A::None) {
            EXPECT_EQ(move.value, c.value) << c.situation;
        }
    }
}

#include "preview/colour_palette.h"

TEST(ColourPalette, EntriesAndValues)
{
    EXPECT_EQ(PaletteEntryOf(0), 0);
    EXPECT_EQ(PaletteEntryOf(255), 12);
    EXPECT_STREQ(ColourPalette[12].name, "红色");
    EXPECT_EQ(PaletteEntryOf(16711680), 9);
    EXPECT_EQ(PaletteEntryOf(0x606060), 31);
    EXPECT_EQ(PaletteEntryOf(1), kOtherColoursEntry);
    EXPECT_EQ(PaletteEntryOf(0xFF000000), kOtherColoursEntry);
}

TEST(MovePaletteHighlight, WrapsAcrossRowsAndOntoTheButton)
{
    using K = PaletteKey;
    struct Case {
        int from;
        K key;
        int to;
    };
    const Case cases[] = {
        {0, K::Right, 1},   {6, K::Right, 7},   // to the next row
        {31, K::Right, 32}, {32, K::Right, 0},  // onto the button, then round
        {0, K::Left, 32},   {7, K::Left, 6},    // back a row
        {0, K::Down, 7},    {24, K::Down, 31}, {25, K::Down, 32}, {32, K::Down, 0}, {12, K::Up, 5},
        {3, K::Up, 32},     {32, K::Up, 28},   {-1, K::Down, 0},  {-1, K::Left, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MovePaletteHighlight(c.from, c.key), c.to) << "from " << c.from << " key " << static_cast<int>(c.key);
}
