// Screen-edge docking on the real window, driven by the real pointer position.
#include <gtest/gtest.h>

#include <atomic>

#include "support.h"

namespace {

using Docking = ForegroundWindowTest;

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

TEST_F(Docking, DocksAtTheLeftEdgeAndComesBackUnderThePointer)
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

TEST_F(Docking, DocksAtTheTopOnlyFromTopOne)
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

TEST_F(Docking, AnIdleWindowIsNeitherMovedNorRepainted)
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

TEST_F(Docking, ThePopupKeepsTheWindowInPlaceWhileThePointerIsOnIt)
{
    HWND hwnd = W().hwnd();
    const RECT start = WindowRectOf(hwnd);
    const int width = start.right - start.left, height = start.bottom - start.top;
    MoveWindow(hwnd, 0, 200, width, height, TRUE);
    SetCursorPos(width / 2, 300);
    PumpMessages(300);
    ASSERT_EQ(WindowRectOf(hwnd).left, 0);

    ColorPicker& picker = W().颜色选择器1;
    SendMessageA(picker.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    HWND popup = picker.PopupWindow();
    ASSERT_TRUE(popup && IsWindowVisible(popup));
    const RECT p = WindowRectOf(popup);
    const RECT w = WindowRectOf(hwnd);
    // The last row, "其它颜色...", lies below the window's bottom edge.
    const POINT lastRow = {(p.left + p.right) / 2, p.bottom - 6};
    ASSERT_GT(lastRow.y, w.bottom) << "the popup's last row should be below the window";
    SetCursorPos(lastRow.x, lastRow.y);
    PumpMessages(700);
    EXPECT_EQ(WindowRectOf(hwnd).left, 0) << "the window tucked away under its own popup";
    EXPECT_EQ(picker.PopupWindow(), popup);
    EXPECT_TRUE(IsWindowVisible(popup));

    // With the popup still open and the pointer elsewhere, nothing is tucked either.
    SetCursorPos(1000, 740);
    PumpMessages(500);
    EXPECT_EQ(WindowRectOf(hwnd).left, 0);
    SendMessageA(popup, WM_KEYDOWN, VK_ESCAPE, 1);
    ASSERT_TRUE(PumpUntil([&] { return picker.PopupWindow() == nullptr; }, 2000));
    ASSERT_TRUE(PumpUntil([&] { return WindowRectOf(hwnd).left == 2 - width; }, 2000))
        << "once the popup is gone the window tucks away as before";
}
