// The open dialog through its real window, drops through the drop-target object and a
// real OLE drag from another program, and the forum notice on closing.
#include <gtest/gtest.h>

#include <atomic>

#include "app/program.h"
#include "fontfiles/forum.h"
#include "support.h"
#include "test_data_object.h"

#include <commdlg.h>
#include <shellapi.h>

namespace {

constexpr int kFileNameCombo = 0x47C;  // cmb13, the Explorer dialog's file-name field
constexpr int kFileNameEdit = 0x480;   // edt1, the older one
constexpr int kFilterCombo = 0x470;    // cmb1, the file types

class FontFiles : public WindowTest {
protected:
    static void SetUpTestSuite() { PrepareProcess(); }
};

// The open dialog of this process owned by the window, once it is shown.
HWND WaitForFileDialog(HWND owner, DWORD milliseconds = 15000)
{
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < milliseconds) {
        for (HWND h = GetWindow(GetDesktopWindow(), GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) {
            char cls[16];
            GetClassNameA(h, cls, sizeof cls);
            if (std::string(cls) == "#32770" && IsWindowVisible(h) && GetWindow(h, GW_OWNER) == owner &&
                GetDlgItem(h, kFilterCombo))
                return h;
        }
        Sleep(50);
    }
    return nullptr;
}

HWND FileNameField(HWND dialog)
{
    HWND field = GetDlgItem(dialog, kFileNameCombo);
    return field ? field : GetDlgItem(dialog, kFileNameEdit);
}

struct DialogVisit {
    std::string filterShown, nameOffered;
    bool ownerDisabled = false;
    POINT centre = {}, ownerCentre = {};
    bool seen = false;
};

// On a thread of its own: waits for the dialog, records what it shows, then types the
// name and presses OK, or (with an empty name) switches the file type and cancels.
std::thread DriveDialog(HWND owner, std::string typeName, DialogVisit& visit)
{
    return std::thread([owner, typeName, &visit] {
        HWND dialog = WaitForFileDialog(owner);
        if (!dialog)
            return;
        Sleep(300);
        visit.seen = true;
        HWND filter = GetDlgItem(dialog, kFilterCombo);
        const int selected = static_cast<int>(SendMessageA(filter, CB_GETCURSEL, 0, 0));
        char text[256] = {};
        SendMessageA(filter, CB_GETLBTEXT, static_cast<WPARAM>(selected), reinterpret_cast<LPARAM>(text));
        visit.filterShown = text;
        // The full path the dialog would give for what its field holds now.
        char offered[MAX_PATH] = {};
        if (!TextOf(FileNameField(dialog)).empty())
            SendMessageA(dialog, CDM_GETFILEPATH, MAX_PATH, reinterpret_cast<LPARAM>(offered));
        visit.nameOffered = offered;
        visit.ownerDisabled = !IsWindowEnabled(owner);
        RECT d, o;
        GetWindowRect(dialog, &d);
        GetWindowRect(owner, &o);
        visit.centre = {(d.left + d.right) / 2, (d.top + d.bottom) / 2};
        visit.ownerCentre = {(o.left + o.right) / 2, (o.top + o.bottom) / 2};
        if (typeName.empty()) {
            SendMessageA(filter, CB_SETCURSEL, 1, 0);
            SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(kFilterCombo, CBN_SELCHANGE), reinterpret_cast<LPARAM>(filter));
            Sleep(300);
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        } else {
            SetWindowTextA(FileNameField(dialog), typeName.c_str());
            PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        }
    });
}

std::string FontPath(int n)
{
    char full[MAX_PATH];
    GetFullPathNameA((ProgramFolder() + "..\\fonts\\qtest" + std::to_string(n) + ".ttf").c_str(), MAX_PATH, full,
                     nullptr);
    return full;
}

}  // namespace

TEST_F(FontFiles, TheOpenDialogFillsThePathBoxAndOffersTheLastPathNextTime)
{
    const std::string chosen = FontPath(3);
    HWND button = W().按钮_打开字体.hwnd();
    W().编辑框_安装文字目录.SetText("typed by hand");

    DialogVisit first;
    std::thread driver = DriveDialog(W().hwnd(), chosen, first);
    SendMessageA(button, BM_CLICK, 0, 0);
    driver.join();
    ASSERT_TRUE(first.seen) << "no open dialog appeared";
    EXPECT_EQ(first.filterShown, "字体资源");
    EXPECT_EQ(first.nameOffered, "") << "the typed path does not reach the dialog";
    EXPECT_TRUE(first.ownerDisabled);
    EXPECT_NEAR(first.centre.x, first.ownerCentre.x, 2);
    EXPECT_NEAR(first.centre.y, first.ownerCentre.y, 2);
    EXPECT_EQ(W().编辑框_安装文字目录.Text(), chosen);
    EXPECT_TRUE(IsWindowEnabled(W().hwnd()));
    EXPECT_EQ(GetFocus(), button);

    // Cancel, after switching to "所有文件": nothing changes, and the next dialog starts
    // with the font filter and the last path again.
    W().编辑框_安装文字目录.SetText("");
    DialogVisit second;
    driver = DriveDialog(W().hwnd(), "", second);
    SendMessageA(button, BM_CLICK, 0, 0);
    driver.join();
    ASSERT_TRUE(second.seen);
    EXPECT_EQ(second.nameOffered, chosen);
    EXPECT_EQ(W().编辑框_安装文字目录.Text(), "");
    EXPECT_EQ(W().通用对话框1.FileName(), chosen);

    DialogVisit third;
    driver = DriveDialog(W().hwnd(), "", third);
    SendMessageA(button, BM_CLICK, 0, 0);
    driver.join();
    EXPECT_EQ(third.filterShown, "字体资源");
}

TEST_F(FontFiles, TheDropTargetFollowsTheEffectRule)
{
    IDropTarget* target = W().拖放对象1.Object();
    TestDataObject text;
    text.OfferText("样本");
    TestDataObject html;
    html.Offer(static_cast<CLIPFORMAT>(RegisterClipboardFormatA("HTML Format")), "<b>x</b>");
    TestDataObject url;
    url.Offer(static_cast<CLIPFORMAT>(RegisterClipboardFormatA("UniformResourceLocator")), "https://example.com");

    struct Case {
        TestDataObject* data;
        DWORD keys, allowed, expected;
    };
    const Case cases[] = {
        {&text, 0, DROPEFFECT_COPY | DROPEFFECT_MOVE, DROPEFFECT_COPY},
        {&text, MK_SHIFT, DROPEFFECT_COPY | DROPEFFECT_MOVE, DROPEFFECT_MOVE},
        {&text, MK_SHIFT, DROPEFFECT_COPY, DROPEFFECT_NONE},
        {&text, MK_CONTROL | MK_SHIFT, DROPEFFECT_COPY | DROPEFFECT_LINK, DROPEFFECT_NONE},
        {&text, 0, DROPEFFECT_LINK, DROPEFFECT_LINK},
        {&html, 0, DROPEFFECT_COPY, DROPEFFECT_NONE},  // HTML and addresses are not taken
        {&url, 0, DROPEFFECT_COPY, DROPEFFECT_NONE},
    };
    for (const Case& c : cases) {
        DWORD effect = c.allowed;
        EXPECT_EQ(target->DragEnter(c.data, c.keys, {0, 0}, &effect), S_OK);
        EXPECT_EQ(effect, c.expected) << "enter, keys " << c.keys << " allowed " << c.allowed;
        effect = c.allowed;
        EXPECT_EQ(target->DragOver(c.keys, {0, 0}, &effect), S_OK);
        EXPECT_EQ(effect, c.expected) << "over";
        EXPECT_EQ(target->DragLeave(), S_OK);
    }
    // After leaving, a move alone asks nothing and allows nothing.
    DWORD effect = DROPEFFECT_COPY;
    target->DragOver(0, {0, 0}, &effect);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    // A second registration is refused.
    EXPECT_FALSE(W().拖放对象1.RegisterDropWindow(W().hwnd()));
}

TEST_F(FontFiles, DropsDeliverTextAndFilesAndAlwaysAnswerFailure)
{
    IDropTarget* target = W().拖放对象1.Object();
    auto drop = [&](TestDataObject& data, DWORD keys) {
        DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
        target->DragEnter(&data, keys, {0, 0}, &effect);
        effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
        return target->Drop(&data, keys, {0, 0}, &effect);
    };
    EditBox& sample = W().编辑框_输入的文字;
    EditBox& path = W().编辑框_安装文字目录;

    TestDataObject both;
    both.OfferText("永和九年");
    both.OfferFiles({"C:\\a.ttf"});
    EXPECT_EQ(drop(both, 0), E_FAIL);
    EXPECT_EQ(sample.Text(), "永和九年");
    EXPECT_EQ(path.Text(), "C:\\a.ttf");

    TestDataObject three;
    three.OfferFiles({"C:\\a.ttf", "C:\\字体\\b.ttf", "D:\\c.fon"});
    EXPECT_EQ(drop(three, 0), E_FAIL);
    EXPECT_EQ(path.Text(), "C:\\a.ttf\r\nC:\\字体\\b.ttf\r\nD:\\c.fon\r\n");
    TestDataObject none;
    none.OfferFiles({});
    drop(none, 0);
    EXPECT_EQ(path.Text(), "");

    // Text that comes with HTML (a browser's selection) is not taken; Ctrl+Shift takes nothing.
    TestDataObject browser;
    browser.OfferText("from a page");
    browser.Offer(static_cast<CLIPFORMAT>(RegisterClipboardFormatA("HTML Format")), "<p>from a page</p>");
    EXPECT_EQ(drop(browser, 0), E_FAIL);
    EXPECT_EQ(sample.Text(), "永和九年");
    TestDataObject refused;
    refused.OfferText("refused");
    refused.OfferFiles({"C:\\refused.ttf"});
    EXPECT_EQ(drop(refused, MK_CONTROL | MK_SHIFT), E_FAIL);
    EXPECT_EQ(sample.Text(), "永和九年");
    EXPECT_EQ(refused.getDataCalls, 0);

    // Text without its terminating NUL is read only as far as its memory block goes.
    TestDataObject unterminated;
    unterminated.Offer(CF_TEXT, "abc");
    drop(unterminated, 0);
    EXPECT_EQ(sample.Text().substr(0, 3), "abc");
    EXPECT_LE(sample.Text().size(), GlobalSize(GlobalAlloc(GMEM_MOVEABLE, 3)));
}

TEST_F(FontFiles, ARealDragFromAnotherProgramDropsAFileAndText)
{
    struct Case {
        Ctl over;
        std::string arguments;
        std::string expectedPath, expectedSample;
    };
    const std::string file = FontPath(5);
    const Case cases[] = {
        {Ctl::列表框_字体, "files \"" + file + "\"", file, ""},
        {Ctl::按钮_安装字体, "text \"dragged text\"", file, "dragged text"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments);
        RECT rc;
        GetWindowRect(W().ControlAt(Index(c.over)).hwnd(), &rc);
        const std::string args = std::to_string((rc.left + rc.right) / 2) + " " +
                                 std::to_string((rc.top + rc.bottom) / 2) + " " + c.arguments;
        auto helper = StartProgram("drag_source.exe", args);
        ASSERT_TRUE(helper->ok);
        // This thread serves the drop target while the other program drags.
        PumpUntil([&] { return WaitForSingleObject(helper->info.hProcess, 0) == WAIT_OBJECT_0; }, 20000);
        EXPECT_NE(helper->WaitForExit(0), STILL_ACTIVE);
        EXPECT_EQ(W().编辑框_安装文字目录.Text(), c.expectedPath);
        EXPECT_EQ(W().编辑框_输入的文字.Text(), c.expectedSample);
    }
}

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
        LoadedWindow window(kMainWiring);
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
    shellExecute = &ShellExecuteA;
}
