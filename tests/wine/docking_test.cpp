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
