// The loaded window against the layout, read back from the real windows.
#include <gtest/gtest.h>

#include "support.h"

namespace {

struct Expected {
    Ctl control;
    const char* className;
    int parent;  // a control, or kMainWindow
    RECT rect;   // left, top, width, height in the parent's client area
    bool visible, tabStop;
    const char* caption;
};

constexpr int G(Ctl c)
{
    return Index(c);
}

// clang-format off
const Expected kExpected[] = {
    {Ctl::时钟_靠,          "QuillmoorInvisible",    G(Ctl::分组框_字体列表), {60, 104, 40, 40},   false, false, ""},
    {Ctl::透明标签2,        "QuillmoorTransLabel",   G(Ctl::分组框_字体颜色), {16, 14, 128, 16},   true,  false, "十进制"},
    {Ctl::编辑框_颜色,      "Edit",                  G(Ctl::分组框_字体颜色), {12, 13, 128, 20},   true,  true,  ""},
    {Ctl::拖放对象1,        "QuillmoorInvisible",    G(Ctl::分组框_字体列表), {28, 144, 64, 32},   false, false, ""},
    {Ctl::按钮_安装字体,    "Button",                kMainWindow,             {176, 408, 152, 24}, true,  true,  "安装字体"},
    {Ctl::按钮_刷新,        "Button",                kMainWindow,             {176, 384, 152, 24}, true,  true,  "刷新字体列表"},
    {Ctl::通用对话框1,      "QuillmoorInvisible",    kMainWindow,             {112, 392, 48, 24},  false, false, ""},
    {Ctl::按钮_打开字体,    "Button",                kMainWindow,             {280, 439, 48, 24},  true,  true,  "……"},
    {Ctl::编辑框_安装文字目录, "Edit",               kMainWindow,             {8, 440, 264, 24},   true,  true,  ""},
    {Ctl::颜色选择器1,      "QuillmoorColourPicker", G(Ctl::分组框_字体颜色), {12, 41, 128, 20},   true,  true,  ""},
    {Ctl::分组框_字体颜色,  "Button",                kMainWindow,             {176, 307, 152, 70}, true,  false, "字体颜色"},
    {Ctl::组合框_字体大小,  "ComboBox",              G(Ctl::分组框_字体大小), {12, 22, 128, -1},   true,  true,  ""},
    {Ctl::分组框_字体大小,  "Button",                kMainWindow,             {176, 248, 152, 56}, true,  false, "字体大小"},
    {Ctl::组合框_效果,      "ComboBox",              G(Ctl::分组框_字体样式), {80, 18, 64, -1},    true,  true,  "无"},
    {Ctl::组合框_字形,      "ComboBox",              G(Ctl::分组框_字体样式), {8, 18, 72, -1},     true,  true,  "常规"},
    {Ctl::分组框_字体样式,  "Button",                kMainWindow,             {176, 193, 152, 56}, true,  false, "字体样式"},
    {Ctl::列表框_字体,      "ListBox",               G(Ctl::分组框_字体列表), {7, 16, 149, 216},   true,  true,  ""},
    {Ctl::分组框_字体列表,  "Button",                kMainWindow,             {4, 192, 164, 240},  true,  false, "字体列表"},
    {Ctl::编辑框_输入的文字, "Edit",                 kMainWindow,             {3, 6, 325, 184},    true,  true,  ""},
};
// clang-format on

LONG StyleOf(HWND h)
{
    return GetWindowLongA(h, GWL_STYLE);
}

LONG ExStyleOf(HWND h)
{
    return GetWindowLongA(h, GWL_EXSTYLE);
}

class Layout : public ::testing::Test {
protected:
    static void SetUpTestSuite() { window_ = new LoadedWindow(); }
    static void TearDownTestSuite()
    {
        delete window_;
        window_ = nullptr;
    }
    static MainWindow& W() { return **window_; }
    static HWND H(Ctl c) { return W().ControlAt(Index(c)).hwnd(); }
    static LoadedWindow* window_;
};
LoadedWindow* Layout::window_ = nullptr;

}  // namespace

TEST_F(Layout, MainWindowIsFixedCentredAndCaptioned)
{
    ASSERT_TRUE(window_->loaded);
    HWND hwnd = W().hwnd();
    EXPECT_EQ(TextOf(hwnd), "Quillmoor字体查看器1.1");
    RECT rc;
    GetWindowRect(hwnd, &rc);
    EXPECT_EQ(rc.right - rc.left, 339);
    EXPECT_EQ(rc.bottom - rc.top, 495);
    EXPECT_EQ(rc.left, (GetSystemMetrics(SM_CXSCREEN) - 339) / 2);
    EXPECT_EQ(rc.top, (GetSystemMetrics(SM_CYSCREEN) - 495) / 2);

    const LONG style = StyleOf(hwnd);
    EXPECT_TRUE(style & WS_VISIBLE);
    EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_FALSE(style & WS_CHILD);
    EXPECT_FALSE(ExStyleOf(hwnd) & WS_EX_TOPMOST);
    EXPECT_EQ(GetWindow(hwnd, GW_OWNER), nullptr);
    EXPECT_EQ(GetClassLongPtrA(hwnd, GCLP_HBRBACKGROUND), static_cast<ULONG_PTR>(COLOR_BTNFACE + 1));
}

TEST_F(Layout, EveryControlHasItsClassParentRectangleCaptionAndFlags)
{
    ASSERT_TRUE(window_->loaded);
    const HFONT gui = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    for (const Expected& e : kExpected) {
        SCOPED_TRACE(W().RowAt(Index(e.control)).name);
        HWND h = H(e.control);
        ASSERT_TRUE(IsWindow(h));
        char cls[64];
        GetClassNameA(h, cls, sizeof cls);
        EXPECT_STRCASEEQ(cls, e.className);
        HWND parent = e.parent == kMainWindow ? W().hwnd() : W().ControlAt(e.parent).hwnd();
        EXPECT_EQ(GetParent(h), parent);

        RECT rc;
        GetWindowRect(h, &rc);
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rc), 2);
        EXPECT_EQ(rc.left, e.rect.left);
        EXPECT_EQ(rc.top, e.rect.top);
        EXPECT_EQ(rc.right - rc.left, e.rect.right);
        if (e.rect.bottom >= 0) {
            EXPECT_EQ(rc.bottom - rc.top, e.rect.bottom);
        }

        EXPECT_EQ(IsWindowVisible(h) != 0, e.visible);
        EXPECT_EQ((StyleOf(h) & WS_TABSTOP) != 0, e.tabStop);
        EXPECT_TRUE(IsWindowEnabled(h));
        if (std::string(e.className) != "QuillmoorInvisible" && std::string(e.className) != "QuillmoorTransLabel" &&
            std::string(e.className) != "QuillmoorColourPicker") {
            EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(h, WM_GETFONT, 0, 0)), gui);
        }
        EXPECT_EQ(TextOf(h), e.caption);
    }
}

TEST_F(Layout, StackingIsLayoutOrderFirstOnTop)
{
    ASSERT_TRUE(window_->loaded);
    // Walk each parent's children from the top and compare with the layout order.
    std::vector<HWND> parents = {W().hwnd()};
    for (int i = 0; i < kControlCount; ++i) {
        if (W().RowAt(i).kind == Kind::GroupBox)
            parents.push_back(W().ControlAt(i).hwnd());
    }
    for (HWND parent : parents) {
        std::vector<HWND> expected;
        for (int i = 0; i < kControlCount; ++i) {
            if (GetParent(W().ControlAt(i).hwnd()) == parent)
                expected.push_back(W().ControlAt(i).hwnd());
        }
        std::vector<HWND> actual;
        for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
            actual.push_back(c);
        EXPECT_EQ(actual, expected) << "children of " << TextOf(parent);
    }
    // The hint label lies above the colour box it covers.
    EXPECT_EQ(GetWindow(H(Ctl::透明标签2), GW_HWNDNEXT), H(Ctl::编辑框_颜色));
}

TEST_F(Layout, EditBoxesHaveTheirStyles)
{
    ASSERT_TRUE(window_->loaded);
    const LONG sample = StyleOf(H(Ctl::编辑框_输入的文字));
    EXPECT_TRUE(sample & ES_MULTILINE);
    EXPECT_TRUE(sample & WS_HSCROLL);
    EXPECT_TRUE(sample & WS_VSCROLL);
    EXPECT_TRUE(sample & ES_AUTOHSCROLL) << "no word wrap";
    EXPECT_FALSE(sample & ES_NOHIDESEL);
    for (Ctl c : {Ctl::编辑框_颜色, Ctl::编辑框_安装文字目录}) {
        const LONG style = StyleOf(H(c));
        EXPECT_FALSE(style & ES_MULTILINE);
        EXPECT_TRUE(style & ES_AUTOHSCROLL);
        EXPECT_FALSE(style & ES_NOHIDESEL);
    }
    for (Ctl c : {Ctl::编辑框_输入的文字, Ctl::编辑框_颜色, Ctl::编辑框_安装文字目录, Ctl::列表框_字体}) {
        EXPECT_TRUE(ExStyleOf(H(c)) & WS_EX_CLIENTEDGE) << W().RowAt(Index(c)).name;
    }
    EXPECT_TRUE(W().编辑框_颜色.IntegerInput());
    EXPECT_FALSE(W().编辑框_输入的文字.IntegerInput());
    EXPECT_EQ(W().编辑框_输入的文字.TextColour(), 0u);
    EXPECT_EQ(W().编辑框_输入的文字.BackColour(), 0xFFFFFFu);
    EXPECT_FALSE(W().编辑框_输入的文字.FontDescription().has_value());
    for (Ctl c : {Ctl::编辑框_输入的文字, Ctl::编辑框_颜色, Ctl::编辑框_安装文字目录})
        EXPECT_GE(static_cast<DWORD>(SendMessageA(H(c), EM_GETLIMITTEXT, 0, 0)), 0x7FFFFFFEu);
}

TEST_F(Layout, ListsAndCombosHaveTheirItemsAndStyles)
{
    ASSERT_TRUE(window_->loaded);
    struct Combo {
        Ctl control;
        LONG type;
        std::vector<std::string> items;
        int selected;
    };
    const Combo combos[] = {
        {Ctl::组合框_字形, CBS_DROPDOWNLIST, {"常规", "斜体", "粗体", "粗斜体"}, 0},
        {Ctl::组合框_效果, CBS_DROPDOWNLIST, {"无", "下划线", "删除线", "删+下"}, 0},
    };
    for (const Combo& c : combos) {
        ComboBox& combo = static_cast<ComboBox&>(W().ControlAt(Index(c.control)));
        EXPECT_EQ(StyleOf(combo.hwnd()) & 3, c.type);
        EXPECT_FALSE(StyleOf(combo.hwnd()) & CBS_SORT);
        std::vector<std::string> items;
        for (int i = 0; i < combo.Count(); ++i)
            items.push_back(combo.ItemText(i));
        EXPECT_EQ(items, c.items);
        EXPECT_EQ(combo.Selected(), c.selected);
    }
    const LONG sizeStyle = StyleOf(H(Ctl::组合框_字体大小));
    EXPECT_EQ(sizeStyle & 3, CBS_DROPDOWN);
    EXPECT_FALSE(sizeStyle & CBS_SORT);
    EXPECT_EQ(W().组合框_字体大小.Selected(), -1);
    EXPECT_EQ(W().组合框_字体大小.Text(), "");
    for (Ctl c : {Ctl::组合框_字形, Ctl::组合框_效果, Ctl::组合框_字体大小}) {
        // The field and its dropped list together are at least 160 pixels tall. Windows
        // reports the dropped rectangle from the field's top; Wine reports the list alone.
        RECT field, dropped;
        GetWindowRect(H(c), &field);
        SendMessageA(H(c), CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
        const LONG whole =
            std::max(dropped.bottom - field.top, (field.bottom - field.top) + (dropped.bottom - dropped.top));
        EXPECT_GE(whole, 160) << W().RowAt(Index(c)).name;
    }

    const LONG listStyle = StyleOf(H(Ctl::列表框_字体));
    EXPECT_FALSE(listStyle & LBS_SORT);
    EXPECT_FALSE(listStyle & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL));
    EXPECT_EQ(W().列表框_字体.Selected(), -1);
    // One pixel more than the platform gives a list box of this font.
    HWND probe = CreateWindowA("LISTBOX", "", WS_CHILD, 0, 0, 10, 10, W().hwnd(), nullptr, nullptr, nullptr);
    SendMessageA(probe, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    EXPECT_EQ(SendMessageA(H(Ctl::列表框_字体), LB_GETITEMHEIGHT, 0, 0),
              SendMessageA(probe, LB_GETITEMHEIGHT, 0, 0) + 1);
    DestroyWindow(probe);
}

TEST_F(Layout, InvisibleControlsAndPickerStartAsLaidOut)
{
    ASSERT_TRUE(window_->loaded);
    EXPECT_EQ(W().颜色选择器1.Colour(), 0u);
    EXPECT_EQ(W().时钟_靠.Interval(), 100u);
    EXPECT_EQ(W().透明标签2.TextColour(), 0xC0C0C0u);
    EXPECT_TRUE(ExStyleOf(H(Ctl::透明标签2)) & WS_EX_TRANSPARENT);
}
