// The font and size lists of the real window, against the real font enumeration.
#include <gtest/gtest.h>

#include <algorithm>

#include "catalogue/font_lists.h"
#include "support.h"

namespace {

int CALLBACK CollectFace(const LOGFONTA* font, const TEXTMETRICA*, DWORD, LPARAM out)
{
    reinterpret_cast<std::vector<std::string>*>(out)->push_back(font->lfFaceName);
    return 1;
}

// The catalogue the window must show, worked out here: every family of every character
// set, by its face name, as the system reports them now; last report first, and a run of
// equal names counted once.
std::vector<std::string> ExpectedCatalogue()
{
    std::vector<std::string> reports;
    LOGFONTA request = {};
    request.lfCharSet = DEFAULT_CHARSET;
    HDC screen = GetDC(nullptr);
    EnumFontFamiliesExA(screen, &request, &CollectFace, reinterpret_cast<LPARAM>(&reports), 0);
    ReleaseDC(nullptr, screen);
    std::reverse(reports.begin(), reports.end());
    reports.erase(std::unique(reports.begin(), reports.end()), reports.end());
    return reports;
}

std::vector<std::string> ItemsOf(const ListBox& list)
{
    std::vector<std::string> items;
    for (int i = 0; i < list.Count(); ++i)
        items.push_back(list.ItemText(i));
    return items;
}

}  // namespace

TEST(FontList, StartsWithTheCatalogueInItsOrder)
{
    LoadedWindow window;
    ASSERT_TRUE(window.loaded);
    const std::vector<std::string> expected = ExpectedCatalogue();
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(ItemsOf(window->列表框_字体), expected);
    EXPECT_EQ(window.features.catalogue.Names().Items(), expected);
    EXPECT_EQ(window->列表框_字体.Selected(), -1);
    // Families known to be on this machine, each once: the set-up installs them.
    for (const char* family : {"DejaVu Sans", "文泉驿微米黑", "@文泉驿微米黑"})
        EXPECT_EQ(std::count(expected.begin(), expected.end(), family), 1) << family;
    // Vertical variants of the East Asian faces are listed as reported.
    bool vertical = false;
    for (const std::string& name : expected)
        vertical |= !name.empty() && name[0] == '@';
    EXPECT_TRUE(vertical) << "the WenQuanYi fonts should give @ variants";
}

TEST(SizeList, HoldsTheEightyEightSizesInOrder)
{
    LoadedWindow window;
    ASSERT_TRUE(window.loaded);
    const ComboBox& sizes = window->组合框_字体大小;
    ASSERT_EQ(sizes.Count(), 88);
    EXPECT_EQ(sizes.ItemText(0), "1");
    EXPECT_EQ(sizes.ItemText(9), "10");
    EXPECT_EQ(sizes.ItemText(71), "72");
    EXPECT_EQ(sizes.ItemText(72), "初号");
    EXPECT_EQ(sizes.ItemText(87), "八号");
    EXPECT_EQ(sizes.Selected(), -1);
    EXPECT_EQ(sizes.Text(), "");
}

TEST(FontList, RefreshShowsEachFamilyOnceAndKeepsTheSelection)
{
    LoadedWindow window;
    ASSERT_TRUE(window.loaded);
    ListBox& list = window->列表框_字体;
    const std::vector<std::string> before = ItemsOf(list);
    ASSERT_GT(before.size(), 2u);
    // The user picks the second family.
    SetFocus(list.hwnd());
    SendMessageA(list.hwnd(), WM_KEYDOWN, VK_DOWN, 0);
    SendMessageA(list.hwnd(), WM_KEYDOWN, VK_DOWN, 0);
    ASSERT_EQ(list.Selected(), 1);
    const std::string chosen = list.ItemText(1);
    window->编辑框_输入的文字.SetText("样本");
    const HFONT font = reinterpret_cast<HFONT>(SendMessageA(window->编辑框_输入的文字.hwnd(), WM_GETFONT, 0, 0));

    SendMessageA(window->按钮_刷新.hwnd(), BM_CLICK, 0, 0);
    SendMessageA(window->按钮_刷新.hwnd(), BM_CLICK, 0, 0);
    EXPECT_EQ(ItemsOf(list), before);
    EXPECT_EQ(list.ItemText(list.Selected()), chosen);
    EXPECT_EQ(window->组合框_字体大小.Count(), 88);
    EXPECT_EQ(window->编辑框_输入的文字.Text(), "样本");
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(window->编辑框_输入的文字.hwnd(), WM_GETFONT, 0, 0)), font);
}

TEST(FontList, RefreshListsFontsAddedMeanwhile)
{
    LoadedWindow window;
    ASSERT_TRUE(window.loaded);
    ListBox& list = window->列表框_字体;
    const int before = list.Count();
    const int added = 30;
    for (int n = 1; n <= added; ++n)
        ASSERT_GT(AddFontResourceExA(TestFontPath(n).c_str(), FR_PRIVATE, nullptr), 0) << TestFontPath(n);

    SendMessageA(window->按钮_刷新.hwnd(), BM_CLICK, 0, 0);
    EXPECT_EQ(ItemsOf(list), ExpectedCatalogue());
    EXPECT_EQ(list.Count(), before + added);
    EXPECT_NE(list.FindExact("Quillmoor Test 7"), -1);
    // More names than the box can show: its scroll bar is there after the one repaint.
    EXPECT_TRUE(GetWindowLongA(list.hwnd(), GWL_STYLE) & WS_VSCROLL);

    for (int n = 1; n <= added; ++n)
        RemoveFontResourceExA(TestFontPath(n).c_str(), FR_PRIVATE, nullptr);
    SendMessageA(window->按钮_刷新.hwnd(), BM_CLICK, 0, 0);
    EXPECT_EQ(list.Count(), before);
    EXPECT_EQ(list.Selected(), -1);
}
