// The window's own control behaviours: the colour box's integer input, the hint label
// and the keyboard, on the real window with real pointer and key input.
#include <gtest/gtest.h>

#include "support.h"

namespace {

using Behaviour = ForegroundWindowTest;

}  // namespace

TEST_F(Behaviour, TheColourBoxTakesDigitsAndMinusAndNormalisesOnLeaving)
{
    EditBox& box = W().编辑框_颜色;
    SetFocus(box.hwnd());
    Type(box.hwnd(), "12a-3");
    EXPECT_EQ(box.Text(), "12-3");
    SetFocus(W().编辑框_输入的文字.hwnd());
    EXPECT_EQ(box.Text(), "12");
    EXPECT_EQ(W().颜色选择器1.Colour(), 12u) << "the rewrite applied the colour";

    struct Case {
        const char* pasted;
        const char* left;
    };
    const Case cases[] = {{"007", "7"}, {"0", ""}, {"-0", ""}, {"abc", ""}, {"99999999999", "2147483647"}};
    for (const Case& c : cases) {
        SetFocus(box.hwnd());
        SetWindowTextA(box.hwnd(), c.pasted);  // as a paste: not filtered
        EXPECT_EQ(box.Text(), c.pasted);
        SetFocus(W().编辑框_输入的文字.hwnd());
        EXPECT_EQ(box.Text(), c.left) << "pasted " << c.pasted;
    }
    EXPECT_EQ(W().颜色选择器1.Colour(), 2147483647u);
}

TEST_F(Behaviour, TheHintGoesOnTheFirstPressOnly)
{
    HWND label = W().透明标签2.hwnd();
    HWND box = W().编辑框_颜色.hwnd();
    // Tab focus, typing and program writes leave it.
    SetFocus(box);
    Type(box, "5");
    W().编辑框_颜色.SetText("7");
    EXPECT_TRUE(IsWindow(label));

    const POINT spot = CentreOf(label);
    ClickAt(spot);
    ASSERT_TRUE(PumpUntil([&] { return !IsWindow(label); }, 2000)) << "the press did not remove the hint";
    EXPECT_FALSE(W().透明标签2.Exists());
    SetFocus(W().编辑框_输入的文字.hwnd());
    ClickAt(spot);
    EXPECT_TRUE(PumpUntil([&] { return GetFocus() == box; }, 2000)) << "the same spot now lands in the colour box";
}

TEST_F(Behaviour, EscAndEnterDoNotCloseOrMoveAndEnterStartsALineInTheSample)
{
    HWND sample = W().编辑框_输入的文字.hwnd();
    SetFocus(sample);
    for (WPARAM key : {VK_ESCAPE, VK_RETURN, VK_F1}) {
        MSG down = {sample, WM_KEYDOWN, key, 1, 0, {}};
        if (!W().PreTranslate(down)) {
            TranslateMessage(&down);
            DispatchMessageA(&down);
        }
        PumpMessages(30);
    }
    EXPECT_TRUE(IsWindow(W().hwnd()));
    EXPECT_EQ(GetFocus(), sample);
    EXPECT_EQ(W().编辑框_输入的文字.Text(), "\r\n");
}

TEST_F(Behaviour, TheSizeFieldTakesTextOfAnyLength)
{
    HWND field = FindWindowExA(W().组合框_字体大小.hwnd(), nullptr, "Edit", nullptr);
    ASSERT_TRUE(field);
    // Replacing the selection is input, held to the field's limit (30,000 by default).
    const std::string text(40000, '7');
    SendMessageA(field, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
    EXPECT_EQ(GetWindowTextLengthA(field), 40000);
}
