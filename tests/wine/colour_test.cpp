// The text colour through the picker's popup and the colour dialog, on the real window
// with real pointer and key input where the platform takes it.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <vector>

#include "controls/colour_palette.h"
#include "preview/preview.h"
#include "support.h"

#include <commctrl.h>

namespace {

class Colour : public ForegroundWindowTest {
protected:
    ColorPicker& Picker() { return W().颜色选择器1; }
    HWND OpenPopup()
    {
        SendMessageA(Picker().hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        HWND popup = Picker().PopupWindow();
        EXPECT_TRUE(popup && IsWindowVisible(popup));
        return popup;
    }
    void Key(HWND popup, WPARAM key) { SendMessageA(popup, WM_KEYDOWN, key, 1); }
    bool Closed()
    {
        return PumpUntil([&] { return Picker().PopupWindow() == nullptr; }, 2000);
    }
    // Whether the sample box shows a pixel of exactly this colour on the screen.
    bool SampleShows(COLORREF colour)
    {
        HWND sample = W().编辑框_输入的文字.hwnd();
        RedrawWindow(sample, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        RECT rc;
        GetClientRect(sample, &rc);
        HDC dc = GetDC(sample);
        bool found = false;
        for (int y = 0; y < rc.bottom && !found; y += 2)
            for (int x = 0; x < rc.right && !found; x += 2)
                found = GetPixel(dc, x, y) == colour;
        ReleaseDC(sample, dc);
        return found;
    }
};

// What the screen shows over the colour box, the hint label above it included, once its
// group box has been drawn afresh.
std::vector<COLORREF> ColourBoxPixels(HWND box)
{
    RedrawWindow(GetParent(box), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    PumpMessages(50);
    return ScreenPixels(WindowRectOf(box));
}

}  // namespace

TEST_F(Colour, TheHintShowsOnlyWhileTheColourBoxIsEmpty)
{
    const HWND box = W().编辑框_颜色.hwnd();
    const std::vector<COLORREF> empty = ColourBoxPixels(box);
    ASSERT_NE(std::count(empty.begin(), empty.end(), RGB(192, 192, 192)), 0) << "the grey hint is drawn";

    HWND popup = OpenPopup();
    ASSERT_TRUE(popup);
    Key(popup, VK_DOWN);
    for (int i = 0; i < 5; ++i)
        Key(popup, VK_RIGHT);  // 红色
    Key(popup, VK_RETURN);
    ASSERT_TRUE(Closed());
    ASSERT_EQ(W().编辑框_颜色.Text(), "255");
    const std::vector<COLORREF> number = ColourBoxPixels(box);

    W().编辑框_颜色.SetText("");
    EXPECT_EQ(ColourBoxPixels(box), empty) << "the hint comes back over an empty box";
    W().编辑框_颜色.SetText("255");
    EXPECT_EQ(ColourBoxPixels(box), number);

    // The number looks exactly as it does with the label gone: nothing is drawn over it.
    W().透明标签2.Destroy();
    EXPECT_EQ(ColourBoxPixels(box), number) << "the hint was drawn over the number";
}

TEST_F(Colour, ThePopupOffersTheThirtyTwoNamedColoursBelowThePicker)
{
    HWND popup = OpenPopup();
    ASSERT_TRUE(popup);
    const RECT picker = WindowRectOf(Picker().hwnd());
    const RECT below = WindowRectOf(popup);
    EXPECT_EQ(below.left, picker.left);
    EXPECT_EQ(below.top, picker.bottom);

    HWND tips = FindOwnedWindow(popup, TOOLTIPS_CLASSA);
    ASSERT_TRUE(tips);
    ASSERT_EQ(SendMessageA(tips, TTM_GETTOOLCOUNT, 0, 0), 32);
    for (int i = 0; i < 32; ++i) {
        char text[64] = {};
        TTTOOLINFOA tool = {};
        tool.cbSize = sizeof tool;
        tool.lpszText = text;
        ASSERT_TRUE(SendMessageA(tips, TTM_ENUMTOOLSA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&tool)));
        EXPECT_STREQ(text, ColourPalette[static_cast<std::size_t>(tool.uId)].name);
    }
    Key(popup, VK_ESCAPE);
    ASSERT_TRUE(Closed());
}

TEST_F(Colour, PickingRedByKeyboardColoursTheSampleAndWritesTheNumber)
{
    W().编辑框_输入的文字.SetText("■■■■");
    SetFontAttribute(W().编辑框_输入的文字, FontAttribute::Size, 48);
    HWND popup = OpenPopup();
    ASSERT_TRUE(popup);
    Key(popup, VK_DOWN);  // 7
    for (int i = 0; i < 5; ++i)
        Key(popup, VK_RIGHT);  // 12: 红色
    Key(popup, VK_RETURN);
    ASSERT_TRUE(Closed());
    EXPECT_EQ(W().编辑框_输入的文字.TextColour(), 255u);
    EXPECT_EQ(W().编辑框_颜色.Text(), "255");
    EXPECT_EQ(Picker().Colour(), 255u);
    EXPECT_TRUE(SampleShows(RGB(255, 0, 0)));
    EXPECT_EQ(GetFocus(), Picker().hwnd());
}

TEST_F(Colour, PickingRedWithTheMouseThenBlueByKeyboard)
{
    W().编辑框_输入的文字.SetText("■■■■");
    SetFontAttribute(W().编辑框_输入的文字, FontAttribute::Size, 48);
    HWND popup = OpenPopup();
    ASSERT_TRUE(popup);
    // 红色 is the thirteenth cell; find it on the screen by its tooltip's rectangle.
    const RECT popupRect = WindowRectOf(popup);
    POINT cell = {-1, -1};
    if (HWND h = FindOwnedWindow(popup, TOOLTIPS_CLASSA)) {
        TTTOOLINFOA tool = {};
        tool.cbSize = sizeof tool;
        tool.hwnd = popup;
        tool.uId = 12;
        SendMessageA(h, TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&tool));
        cell = {popupRect.left + (tool.rect.left + tool.rect.right) / 2,
                popupRect.top + (tool.rect.top + tool.rect.bottom) / 2};
    }
    ASSERT_GE(cell.x, 0);
    SetCursorPos(cell.x, cell.y);
    PumpMessages(50);
    ClickAt(cell);
    ASSERT_TRUE(Closed());
    SetCursorPos(1000, 740);
    EXPECT_EQ(Picker().Colour(), 255u);
    EXPECT_EQ(W().编辑框_颜色.Text(), "255");
    EXPECT_EQ(W().编辑框_输入的文字.TextColour(), 255u);
    EXPECT_TRUE(SampleShows(RGB(255, 0, 0)));

    popup = OpenPopup();  // red is current: three to the left is 蓝色
    for (int i = 0; i < 3; ++i)
        Key(popup, VK_LEFT);
    Key(popup, VK_RETURN);
    ASSERT_TRUE(Closed());
    EXPECT_EQ(Picker().Colour(), 16711680u);
    EXPECT_EQ(W().编辑框_颜色.Text(), "16711680");
    EXPECT_TRUE(SampleShows(RGB(0, 0, 255)));
}

TEST_F(Colour, CancellingChangesNothing)
{
    W().编辑框_颜色.SetText("-255");
    HWND popup = OpenPopup();
    Key(popup, VK_RIGHT);
    Key(popup, VK_ESCAPE);
    ASSERT_TRUE(Closed());
    popup = OpenPopup();
    SetActiveWindow(W().hwnd());  // a click elsewhere
    ASSERT_TRUE(Closed());
    EXPECT_EQ(W().编辑框_颜色.Text(), "-255");
    EXPECT_EQ(Picker().Colour(), 255u);
}

TEST_F(Colour, TypedColoursKeepTheirTextAndPickingTheSameColourRewritesIt)
{
    SetFocus(W().编辑框_颜色.hwnd());
    Type(W().编辑框_颜色.hwnd(), "-255");
    EXPECT_EQ(W().编辑框_颜色.Text(), "-255");
    EXPECT_EQ(Picker().Colour(), 255u);
    EXPECT_EQ(W().编辑框_输入的文字.TextColour(), 255u);

    HWND popup = OpenPopup();  // red is current and highlighted
    Key(popup, VK_SPACE);
    ASSERT_TRUE(Closed());
    EXPECT_EQ(W().编辑框_颜色.Text(), "255");

    struct Case {
        const char* text;
        COLORREF colour;
    };
    const Case cases[] = {{"", 0}, {"4294967296", 0}, {"4294967551", 255}, {"16777215", 16777215}};
    for (const Case& c : cases) {
        W().编辑框_颜色.SetText(c.text);
        EXPECT_EQ(W().编辑框_输入的文字.TextColour(), c.colour) << c.text;
        EXPECT_EQ(Picker().Colour(), c.colour) << c.text;
        EXPECT_EQ(W().编辑框_颜色.Text(), c.text);
    }
}

TEST_F(Colour, OtherColoursOpensTheColourDialog)
{
    // The dialog is modal: a helper thread sets pure green and presses OK.
    std::atomic<bool> answered{false};
    const DWORD process = GetCurrentProcessId();
    HWND owner = W().hwnd();
    std::thread helper([&] {
        const DWORD start = GetTickCount();
        while (GetTickCount() - start < 15000) {
            HWND dialog = FindOwnedWindow(owner, "#32770", 0, process);
            if (dialog && IsWindowVisible(dialog)) {
                Sleep(200);
                // The red, green and blue fields of the full dialog.
                SetDlgItemTextA(dialog, 706, "0");
                SetDlgItemTextA(dialog, 707, "255");
                SetDlgItemTextA(dialog, 708, "0");
                Sleep(100);
                PressButton(dialog, IDOK);
                answered = true;
                return;
            }
            Sleep(50);
        }
    });
    HWND popup = OpenPopup();
    Key(popup, VK_UP);  // from black, up onto "其它颜色..."
    Key(popup, VK_RETURN);
    PumpUntil([&] { return answered.load() && Picker().PopupWindow() == nullptr; }, 20000);
    PumpMessages(100);
    helper.join();
    ASSERT_TRUE(answered);
    EXPECT_EQ(Picker().Colour(), 65280u);
    EXPECT_EQ(W().编辑框_颜色.Text(), "65280");
}
