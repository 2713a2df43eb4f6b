// The sample box's font and colour, driven through the real controls' notifications.
#include <gtest/gtest.h>

#include "preview/preview.h"
#include "support.h"

namespace {

class Preview : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        HDC screen = GetDC(nullptr);
        dpi_ = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(nullptr, screen);
    }
    // The font the sample box shows now, as the platform describes it.
    LOGFONTA Shown()
    {
        LOGFONTA lf = {};
        HFONT font = reinterpret_cast<HFONT>(SendMessageA(W().编辑框_输入的文字.hwnd(), WM_GETFONT, 0, 0));
        EXPECT_EQ(GetObjectA(font, sizeof lf, &lf), static_cast<int>(sizeof lf));
        return lf;
    }
    LONG Height(int points) { return -MulDiv(points, dpi_, 72); }

    // Picks the item as a user does: drop the list, move to it, press Enter; then lets
    // the posted item-chosen event run.
    void Pick(ComboBox& combo, int index)
    {
        HWND target = combo.hwnd();
        SetFocus(target);
        SendMessageA(target, CB_SHOWDROPDOWN, TRUE, 0);
        SendMessageA(target, CB_SETCURSEL, static_cast<WPARAM>(index), 0);  // the highlight
        SendMessageA(target, WM_KEYDOWN, VK_RETURN, 0);
        PumpMessages(50);
        ASSERT_EQ(combo.Selected(), index);
    }
    // Types the text one character at a time; a double-byte character arrives whole, as
    // the input method delivers it.
    void Type(HWND edit, const std::string& text)
    {
        std::wstring wide(text.size(), L'\0');
        wide.resize(static_cast<std::size_t>(MultiByteToWideChar(936, 0, text.data(), static_cast<int>(text.size()),
                                                                 wide.data(), static_cast<int>(wide.size()))));
        for (wchar_t ch : wide)
            SendMessageW(edit, WM_CHAR, ch, 1);
    }
    HWND SizeField() { return FindWindowExA(W().组合框_字体大小.hwnd(), nullptr, "Edit", nullptr); }

    int dpi_ = 96;
};

}  // namespace

TEST_F(Preview, StartsInTheDefaultGuiFontUntilAChoice)
{
    EXPECT_EQ(reinterpret_cast<HGDIOBJ>(SendMessageA(W().编辑框_输入的文字.hwnd(), WM_GETFONT, 0, 0)),
              GetStockObject(DEFAULT_GUI_FONT));
    // Choosing the item already shown still applies it.
    Pick(W().组合框_字形, 0);
    LOGFONTA gui;
    GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof gui, &gui);
    const LOGFONTA lf = Shown();
    EXPECT_EQ(lf.lfWeight, 0) << "regular is the don't-care weight, not 400";
    EXPECT_STREQ(lf.lfFaceName, gui.lfFaceName);
    EXPECT_EQ(lf.lfHeight, gui.lfHeight);
    EXPECT_EQ(lf.lfQuality, PROOF_QUALITY);
    EXPECT_EQ(lf.lfCharSet, DEFAULT_CHARSET);
    // The stored description keeps the default font's own values of the forced fields.
    EXPECT_EQ(W().编辑框_输入的文字.FontDescription()->lfCharSet, gui.lfCharSet);
}

TEST_F(Preview, StyleEffectSizeAndFaceCombine)
{
    Pick(W().组合框_字形, 3);  // 粗斜体
    LOGFONTA lf = Shown();
    EXPECT_EQ(lf.lfWeight, 700);
    EXPECT_EQ(lf.lfItalic, 1);

    Pick(W().组合框_效果, 3);  // 删+下
    lf = Shown();
    EXPECT_EQ(lf.lfStrikeOut, 1);
    EXPECT_EQ(lf.lfUnderline, 1);
    EXPECT_EQ(lf.lfWeight, 700);

    Pick(W().组合框_效果, 1);  // 下划线
    lf = Shown();
    EXPECT_EQ(lf.lfStrikeOut, 0);
    EXPECT_EQ(lf.lfUnderline, 1);

    Pick(W().组合框_字体大小, 81);  // 小四
    EXPECT_EQ(Shown().lfHeight, Height(12));
    Pick(W().组合框_字体大小, 72);  // 初号
    EXPECT_EQ(Shown().lfHeight, Height(42));
    Pick(W().组合框_字体大小, 87);  // 八号
    EXPECT_EQ(Shown().lfHeight, Height(5));
    Pick(W().组合框_字体大小, 9);  // 10
    EXPECT_EQ(Shown().lfHeight, Height(10));

    ListBox& faces = W().列表框_字体;
    SetFocus(faces.hwnd());
    SendMessageA(faces.hwnd(), WM_KEYDOWN, VK_DOWN, 0);
    ASSERT_GE(faces.Selected(), 0);
    lf = Shown();
    EXPECT_STREQ(lf.lfFaceName, faces.ItemText(faces.Selected()).c_str());
    EXPECT_EQ(lf.lfHeight, Height(10));
    EXPECT_EQ(lf.lfWeight, 700);
    EXPECT_EQ(lf.lfItalic, 1);
    EXPECT_EQ(lf.lfUnderline, 1);

    Pick(W().组合框_字形, 0);  // 常规: the rest stays
    lf = Shown();
    EXPECT_EQ(lf.lfWeight, 0);
    EXPECT_EQ(lf.lfItalic, 0);
    EXPECT_EQ(lf.lfUnderline, 1);
    EXPECT_EQ(lf.lfHeight, Height(10));
}

TEST_F(Preview, TypedSizesApplyAtEveryKeystroke)
{
    HWND field = SizeField();
    ASSERT_TRUE(field);
    Type(field, "1");
    EXPECT_EQ(Shown().lfHeight, Height(1));
    Type(field, "2");
    EXPECT_EQ(Shown().lfHeight, Height(12));
    Type(field, ".9");
    EXPECT_EQ(Shown().lfHeight, Height(12));

    struct Case {
        std::string typed;
        LONG height;
    };
    const Case cases[] = {
        {"小四", 0},                       // names count only when chosen from the list
        {"\xA3\xB1\xA3\xB6", Height(16)},  // full-width 16
        {"14pt", Height(14)},
        {"-8", 0},
        {"abc", 0},
    };
    for (const Case& c : cases) {
        SetWindowTextA(field, "");
        Type(field, c.typed);
        EXPECT_EQ(TextOf(field), c.typed);
        EXPECT_EQ(Shown().lfHeight, c.height) << "typed \"" << c.typed << "\"";
    }
}

TEST_F(Preview, AnEmptyOrTooLongFaceShowsSongTi)
{
    ApplyFontFace(W());  // nothing selected: the empty face
    EXPECT_STREQ(Shown().lfFaceName, "宋体");
    SetFontAttribute(W().编辑框_输入的文字, FontAttribute::FaceName, std::string(31, 'Q'));
    EXPECT_EQ(std::string(W().编辑框_输入的文字.FontDescription()->lfFaceName), std::string(31, 'Q'));
    SetFontAttribute(W().编辑框_输入的文字, FontAttribute::FaceName, std::string(32, 'Q'));
    EXPECT_STREQ(W().编辑框_输入的文字.FontDescription()->lfFaceName, "宋体");
}

TEST_F(Preview, FontChangesKeepTheSampleBoxSizeAndReplaceTheOldFont)
{
    HWND sample = W().编辑框_输入的文字.hwnd();
    RECT before;
    GetWindowRect(sample, &before);
    SetFontAttribute(W().编辑框_输入的文字, FontAttribute::Size, 72);
    const HFONT first = W().编辑框_输入的文字.Font();
    SetFontAttribute(W().编辑框_输入的文字, FontAttribute::Bold, 1);
    RECT after;
    GetWindowRect(sample, &after);
    EXPECT_TRUE(EqualRect(&before, &after));
    LOGFONTA unused;
    EXPECT_EQ(GetObjectA(first, sizeof unused, &unused), 0) << "the replaced font object is deleted";
    EXPECT_EQ(W().编辑框_输入的文字.FontDescription()->lfEscapement, 0);
    SetFontAttribute(W().编辑框_输入的文字, FontAttribute::Angle, -1);
    EXPECT_EQ(Shown().lfEscapement, 3599);
}

TEST_F(Preview, ASingleLineBoxGrowsToItsFont)
{
    EditBox& box = W().编辑框_安装文字目录;
    RECT before;
    GetWindowRect(box.hwnd(), &before);
    SetFontAttribute(box, FontAttribute::Size, 40);
    RECT after;
    GetWindowRect(box.hwnd(), &after);
    EXPECT_GT(after.bottom - after.top, before.bottom - before.top);
    EXPECT_EQ(after.right - after.left, before.right - before.left);
    EXPECT_EQ(after.top, before.top);
}
