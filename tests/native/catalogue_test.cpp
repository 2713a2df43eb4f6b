#include <gtest/gtest.h>

#include "catalogue/font_names.h"
#include "catalogue/font_sizes.h"

using Names = std::vector<std::string>;

TEST(ReduceFontNames, WalksBackwardsAndCollapsesOnlyAdjacentRepeats)
{
    const std::string name31(31, 'N');
    struct Case {
        Names reports, expected;
    };
    const Case cases[] = {
        {{}, {}},
        {{"P", "P", "P", "Q", "R", "R"}, {"R", "Q", "P"}},
        {{"P", "P", "Q", "P"}, {"P", "Q", "P"}},
        {{"宋体", "@宋体"}, {"@宋体", "宋体"}},                      // vertical variants stay
        {{"Arial", "arial", "ARIAL"}, {"ARIAL", "arial", "Arial"}},  // case counts
        {{"P", "", ""}, {"P"}},                                      // empty names at the end go
        {{"", "", "P"}, {"P", ""}},                                  // elsewhere they stay, once
        {{"", ""}, {}},
        {{"P ", "P"}, {"P", "P "}},  // nothing is trimmed
        {{name31, name31}, {name31}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ReduceFontNames(c.reports), c.expected);
}

TEST(SizeList, HoldsTheNumbersThenTheNamedSizes)
{
    const Names items = SizeListItems();
    ASSERT_EQ(items.size(), 88u);
    EXPECT_EQ(items[0], "1");
    EXPECT_EQ(items[8], "9");
    EXPECT_EQ(items[9], "10");
    EXPECT_EQ(items[71], "72");
    EXPECT_EQ(items[72], "初号");
    EXPECT_EQ(items[81], "小四");
    EXPECT_EQ(items[87], "八号");
}
