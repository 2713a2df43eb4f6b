// Docking, the colour box's integer input, the hint label, the keyboard, and the text
// colour through the picker's popup and the colour dialog, on the real window with real
// pointer and key input where the platform takes it.
#include <gtest/gtest.h>

#include <atomic>

#include "preview/colour_palette.h"
#include "preview/preview.h"
#include "support.h"

#include <commctrl.h>

namespace {

void ClickAt(POINT screen)
{
    SetCursorPos(screen.x, screen.y);
    INPUT input[2] = {};
    input[0].type = INPUT_MOUSE;
    input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    input[1].type = INPUT_MOUSE;
    input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, input, sizeof(INPUT));
}

POINT CentreOf(HWND hwnd)
{
    RECT rc;
    GetWindowRect(hwnd, &rc);
    return {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

RECT WindowRectOf(HWND hwnd)
{
    RECT rc;
    GetWindowRect(hwnd, &rc);
    return rc;
}

void Type(HWND edit, const std::string& text)
{
    for (char ch : text)
        SendMessageA(edit, WM_CHAR, static_cast<unsigned char>(ch), 1);
}

class Behaviour : public WindowTest {
protected:
    void SetUp() override
    {
        SetCursorPos(1000, 740);  // well away from the centred window
        WindowTest::SetUp();
        SetForegroundWindow(W().hwnd());
        PumpMessages(50);
    }
};

// Counts moves and repaints of one window and its children while it lives.
struct Watch {
    static inline HWND target = nullptr;
    static inline std::atomic<int> moves{0}, paints{0};
    HHOOK sent, got;
    explicit Watch(HWND hwnd)
    {
        target = hwnd;
        moves = paints = 0;
        sent = SetWindowsHookExA(WH_CALLWNDPROC, &Sent, nullptr, GetCurrentThreadId());
        got = SetWindowsHookExA(WH_GETMESSAGE, &Got, nullptr, GetCurrentThreadId());
    }
    ~Watch()
    {
        UnhookWindowsHookEx(sent);
        UnhookWindowsHookEx(got);
    }
    static bool Ours(HWND h) { return h == target || IsChild(target, h); }
    static LRESULT CALLBACK Sent(int code, WPARAM wp, LPARAM lp)
    {
        auto* m = reinterpret_cast<CWPSTRUCT*>(lp);
        if (code >= 0 && m->message == WM_WINDOWPOSCHANGING && m->hwnd == target)
            ++moves;
        return CallNextHookEx(nullptr, code, wp, lp);
    }
    static LRESULT CALLBACK Got(int code, WPARAM wp, LPARAM lp)
    {
        auto* m = reinterpret_cast<MSG*>(lp);
        if (code >= 0 && wp == PM_REMOVE && m->message == WM_PAINT && Ours(m->hwnd))
            ++paints;
        return CallNextHookEx(nullptr, code, wp, lp);
    }
};

}  // namespace

TEST_F(Behaviour, DocksAtTheLeftEdgeAndComesBackUnderThePointer)
{
    HWND hwnd = W().hwnd();
    const RECT start = WindowRectOf(hwnd);
    const int width = start.right - start.left;
    MoveWindow(hwnd, 0, start.top, width, start.bottom - start.top, TRUE);
    ASSERT_TRUE(PumpUntil([&] { return WindowRectOf(hwnd).left == 2 - width; }, 2000))
        << "left is " << WindowRectOf(hwnd).left;
    EXPECT_EQ(WindowRectOf(hwnd).top, start.top);
    EXPECT_EQ(WindowRectOf(hwnd).right - WindowRectOf(hwnd).left, width);

    SetCursorPos(1, start.top + 100);  // on the two visible columns
    ASSERT_TRUE(PumpUntil([&] { return WindowRectOf(hwnd).left == 0; }, 2000));
    SetCursorPos(1000, 740);
    ASSERT_TRUE(PumpUntil([&] { return WindowRectOf(hwnd).left == 2 - width; }, 2000));
}

TEST_F(Behaviour, DocksAtTheTopOnlyFromTopOne)
{
    HWND hwnd = W().hwnd();
    const RECT start = WindowRectOf(hwnd);
    const int width = start.right - start.left, height = start.bottom - start.top;
    MoveWindow(hwnd, 200, 2, width, height, TRUE);
    PumpMessages(400);
    EXPECT_EQ(WindowRectOf(hwnd).top, 2) << "top 2 is free";
    MoveWindow(hwnd, 200, 1, width, height, TRUE);
    ASSERT_TRUE(PumpUntil([&] { return WindowRectOf(hwnd).top == 2 - height; }, 2000));
    EXPECT_EQ(WindowRectOf(hwnd).left, 200);
}

TEST_F(Behaviour, AnIdleWindowIsNeitherMovedNorRepainted)
{
    PumpMessages(300);
    {
        Watch watch(W().hwnd());
        PumpMessages(1500);
        EXPECT_EQ(Watch::moves, 0);
        EXPECT_EQ(Watch::paints, 0);
    }
    // A tucked window stays put too.
    const RECT start = WindowRectOf(W().hwnd());
    MoveWindow(W().hwnd(), 0, start.top, start.right - start.left, start.bottom - start.top, TRUE);
    PumpMessages(400);
    Watch watch(W().hwnd());
    PumpMessages(1000);
    EXPECT_EQ(Watch::moves, 0);
}

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

namespace {

class Colour : public Behaviour {
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

}  // namespace

TEST_F(Colour, ThePopupOffersTheThirtyTwoNamedColoursBelowThePicker)
{
    HWND popup = OpenPopup();
    ASSERT_TRUE(popup);
    const RECT picker = WindowRectOf(Picker().hwnd());
    const RECT below = WindowRectOf(popup);
    EXPECT_EQ(below.left, picker.left);
    EXPECT_EQ(below.top, picker.bottom);

    HWND tips = nullptr;
    for (HWND h = GetWindow(GetDesktopWindow(), GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) {
        char cls[64];
        GetClassNameA(h, cls, sizeof cls);
        if (lstrcmpiA(cls, TOOLTIPS_CLASSA) == 0 && GetWindow(h, GW_OWNER) == popup)
            tips = h;
    }
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
    for (HWND h = GetWindow(GetDesktopWindow(), GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) {
        char cls[64];
        GetClassNameA(h, cls, sizeof cls);
        if (lstrcmpiA(cls, TOOLTIPS_CLASSA) != 0 || GetWindow(h, GW_OWNER) != popup)
            continue;
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
            HWND dialog = nullptr;
            for (HWND h = GetWindow(GetDesktopWindow(), GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) {
                char cls[16];
                GetClassNameA(h, cls, sizeof cls);
                DWORD pid = 0;
                GetWindowThreadProcessId(h, &pid);
                if (pid == process && std::string(cls) == "#32770" && IsWindowVisible(h) &&
                    GetWindow(h, GW_OWNER) == owner)
                    dialog = h;
            }
            if (dialog) {
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
