// The forum notice on closing, and the one shell call after it.
#include <gtest/gtest.h>

#include "app/program.h"
#include "app/wiring.h"
#include "fontfiles/forum.h"
#include "support.h"

#include <shellapi.h>

namespace {

struct ShellCall {
    HWND owner;
    std::string verb, address;
    INT show;
    int count = 0;
} shellCall;

HINSTANCE WINAPI RecordShellCall(HWND owner, LPCSTR verb, LPCSTR address, LPCSTR parameters, LPCSTR folder, INT show)
{
    shellCall.owner = owner;
    shellCall.verb = verb ? verb : "";
    shellCall.address = address ? address : "";
    shellCall.show = show;
    EXPECT_EQ(parameters, nullptr);
    EXPECT_EQ(folder, nullptr);
    ++shellCall.count;
    return reinterpret_cast<HINSTANCE>(42);
}

}  // namespace

TEST(Forum, ClosingShowsTheNoticeThenOpensTheForumHoweverTheNoticeIsClosed)
{
    PrepareProcess();
    shellExecute = &RecordShellCall;
    struct Case {
        const char* how;
        int button;
        bool withExplorer;
    };
    const Case cases[] = {{"OK", IDOK, false}, {"close box", kCloseBox, true}, {"Esc", kEscapeKey, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.how);
        shellCall = {};
        HWND explorer = nullptr;
        if (c.withExplorer)
            explorer = CreateWindowA("STATIC", "Microsoft Internet Explorer", WS_OVERLAPPED, 0, 0, 10, 10, nullptr,
                                     nullptr, nullptr, nullptr);
        LoadedWindow window(&MainWiring);
        ASSERT_TRUE(window.loaded);
        HWND main = window->hwnd();
        BoxAnswerer notice("提示", c.button);
        PostMessageA(main, WM_CLOSE, 0, 0);
        PumpUntil([&] { return !IsWindow(main); }, 20000);
        ASSERT_TRUE(notice.Join());
        EXPECT_EQ(notice.text, "将打开Varnholt论坛");
        EXPECT_FALSE(notice.hasIcon);
        EXPECT_EQ(notice.owner, nullptr);
        EXPECT_EQ(shellCall.count, 1);
        EXPECT_EQ(shellCall.owner, explorer);
        EXPECT_EQ(shellCall.verb, "open");
        EXPECT_EQ(shellCall.address, kForumAddress);
        EXPECT_EQ(shellCall.show, SW_SHOWNORMAL);
        if (explorer)
            DestroyWindow(explorer);
    }
    shellExecute = &ShellExecuteA;  // the real call, for what follows in this process
}
