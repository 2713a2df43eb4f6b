#include <gtest/gtest.h>

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
