// The program's life seen from outside: the real executable and the fatal paths.
#include <gtest/gtest.h>

#include <ole2.h>

#include <array>

#include "base/runtime_error.h"
#include "catalogue/font_lists.h"
#include "support.h"
#include "win/message_box.h"
#include "win/ole.h"

namespace {

struct AtCreation {
    bool called = false;
    bool visible = true;
    int fonts = -1, sizes = -1;
} atCreation;

void WatchCreation(MainWindow& w)
{
    atCreation.called = true;
    atCreation.visible = IsWindowVisible(w.hwnd()) != 0;
    atCreation.fonts = w.列表框_字体.Count();
    atCreation.sizes = w.组合框_字体大小.Count();
}

}  // namespace

TEST(Lifecycle, CreationCompleteRunsWhileHiddenAfterTheStartUpFill)
{
    LoadedWindow window([](Features& features) {
        std::vector<WiringRow> wiring = WiringWithoutForum(features);
        wiring.push_back({kMainWindow, Event::CreationComplete, &WatchCreation});
        return wiring;
    });
    ASSERT_TRUE(window.loaded);
    ASSERT_TRUE(atCreation.called);
    EXPECT_FALSE(atCreation.visible);
    EXPECT_GT(atCreation.fonts, 0);
    EXPECT_EQ(atCreation.sizes, 88);
    EXPECT_TRUE(IsWindowVisible(window->hwnd()));
}

TEST(Lifecycle, ClosingTheProgramEndsItWithCodeZero)
{
    auto program = StartProgram("quillmoor.exe");
    ASSERT_TRUE(program->ok);
    HWND window = WaitForTopLevel("Quillmoor字体查看器1.1", program->info.dwProcessId);
    ASSERT_TRUE(window) << "the main window did not appear";
    PostMessageA(window, WM_CLOSE, 0, 0);
    // The forum notice, where the program shows one, is answered.
    if (HWND notice = WaitForDialog("提示", 3000, program->info.dwProcessId))
        PressButton(notice);
    EXPECT_EQ(program->WaitForExit(), 0u);
}

namespace {

BOOL CALLBACK FindSampleBox(HWND hwnd, LPARAM out)
{
    char cls[16] = {};
    GetClassNameA(hwnd, cls, sizeof cls);
    if (lstrcmpiA(cls, "Edit") == 0 && (GetWindowLongA(hwnd, GWL_STYLE) & ES_MULTILINE)) {
        *reinterpret_cast<HWND*>(out) = hwnd;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

TEST(Lifecycle, MegabytesOfTextFromAnotherProgramDoNotCloseIt)
{
    auto program = StartProgram("quillmoor.exe");
    ASSERT_TRUE(program->ok);
    HWND window = WaitForTopLevel("Quillmoor字体查看器1.1", program->info.dwProcessId);
    ASSERT_TRUE(window);
    HWND sample = nullptr;
    EnumChildWindows(window, &FindSampleBox, reinterpret_cast<LPARAM>(&sample));
    ASSERT_TRUE(sample);

    // This process is the other program: 2 MB of text sent to the sample box.
    const std::string text(2 * 1024 * 1024, 'x');
    DWORD_PTR result = 0;
    SendMessageTimeoutA(sample, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_NORMAL, 5000, &result);
    Sleep(500);
    EXPECT_EQ(program->WaitForExit(0), static_cast<DWORD>(STILL_ACTIVE));
    EXPECT_TRUE(IsWindowVisible(window)) << "the program started closing";
    EXPECT_EQ(WaitForDialog("提示", 500, program->info.dwProcessId), nullptr) << "the forum notice came up";
    // Kept whole or refused whole, never cut.
    const LRESULT length = SendMessageA(sample, WM_GETTEXTLENGTH, 0, 0);
    EXPECT_TRUE(length == 0 || length == static_cast<LRESULT>(text.size())) << length;

    PostMessageA(window, WM_CLOSE, 0, 0);
    if (HWND notice = WaitForDialog("提示", 5000, program->info.dwProcessId))
        PressButton(notice);
    EXPECT_EQ(program->WaitForExit(), 0u);
}

TEST(Lifecycle, FatalErrorsShowTheirBoxAndEndWithMinusOne)
{
    struct Case {
        const char* argument;
        std::string text;
    };
    const Case cases[] = {
        {"load", LoadFailureText()},
        {"below", FatalErrorText(4, "数组成员引用下标必须大于等于1")},
        {"above", FatalErrorText(1, "数组成员引用下标超出定义范围")},
        {"proc", FatalErrorText(4, "数组成员引用下标必须大于等于1")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.argument);
        auto probe = StartProgram("fatal_probe.exe", c.argument);
        ASSERT_TRUE(probe->ok);
        HWND box = WaitForDialog("错误", 15000, probe->info.dwProcessId);
        ASSERT_TRUE(box) << "no error box";
        EXPECT_EQ(MessageBoxText(box), c.text);
        // The error icon: a static control showing an icon.
        bool icon = false;
        for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            icon |= (GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON;
        EXPECT_TRUE(icon);
        PressButton(box);
        EXPECT_EQ(probe->WaitForExit(), static_cast<DWORD>(-1));
    }
}

namespace {

std::string VersionText(const std::vector<char>& block, const char* name)
{
    char* value = nullptr;
    UINT length = 0;
    const std::string path = std::string("\\StringFileInfo\\080403a8\\") + name;
    if (!VerQueryValueA(block.data(), path.c_str(), reinterpret_cast<void**>(&value), &length) || !value)
        return "(none)";
    return value;
}

}  // namespace

TEST(Product, CarriesItsVersionIconAndManifest)
{
    const std::string exe = ProgramFolder() + "quillmoor.exe";
    const DWORD size = GetFileVersionInfoSizeA(exe.c_str(), nullptr);
    ASSERT_GT(size, 0u);
    std::vector<char> block(size);
    ASSERT_TRUE(GetFileVersionInfoA(exe.c_str(), 0, size, block.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(1, 1));
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
    EXPECT_EQ(fixed->dwProductVersionMS, MAKELONG(1, 1));
    EXPECT_EQ(VersionText(block, "FileDescription"), "Quillmoor字体查看器");
    EXPECT_EQ(VersionText(block, "ProductName"), "Quillmoor字体查看器");
    EXPECT_EQ(VersionText(block, "FileVersion"), "1.1.0.0");

    HMODULE module = LoadLibraryExA(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_TRUE(module);
    EXPECT_TRUE(FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(14))) << "no icon group";  // RT_GROUP_ICON
    HRSRC manifest = FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));                 // RT_MANIFEST
    ASSERT_TRUE(manifest);
    const char* text = static_cast<const char*>(LockResource(LoadResource(module, manifest)));
    const std::string xml(text, SizeofResource(module, manifest));
    EXPECT_NE(xml.find("requestedExecutionLevel level=\"asInvoker\""), std::string::npos);
    FreeLibrary(module);
}

// Every box is task-modal unless it is system-modal, and its answers come back as the
// program's codes.
TEST(MessageBoxes, TaskModalUnlessSystemModalAndAnswersAsCodes)
{
    HWND other = CreateWindowExA(0, "STATIC", "another window", WS_OVERLAPPED | WS_VISIBLE, 0, 0, 120, 60, nullptr,
                                 nullptr, nullptr, nullptr);
    ASSERT_TRUE(other);
    struct Case {
        unsigned style;
        int button, code;
        bool systemModal;
    };
    const Case cases[] = {
        {MB_OK, IDOK, 0, false},           {MB_OKCANCEL, IDCANCEL, 1, false},
        {MB_ABORTRETRYIGNORE, IDABORT, 2, false}, {MB_ABORTRETRYIGNORE, IDRETRY, 3, false},
        {MB_ABORTRETRYIGNORE, IDIGNORE, 4, false}, {MB_YESNO, IDYES, 5, false},
        {MB_YESNO | MB_SYSTEMMODAL, IDNO, 6, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        std::atomic<bool> otherEnabled{true}, seen{false};
        std::thread answer([&] {
            HWND box = WaitForDialog("模态", 10000, GetCurrentProcessId());
            if (!box)
                return;
            Sleep(50);
            otherEnabled = IsWindowEnabled(other) != 0;
            seen = true;
            PressButton(box, c.button);
        });
        const int code = ShowMessage("问一问", c.style, "模态");
        answer.join();
        ASSERT_TRUE(seen);
        EXPECT_EQ(code, c.code);
        // A task-modal box disables the thread's other windows while it is open.
        EXPECT_EQ(otherEnabled, c.systemModal);
        EXPECT_TRUE(IsWindowEnabled(other));
    }
    DestroyWindow(other);
}

// Where the thread's COM was set up another way, OLE is not started, the window takes no
// drops, and ending the program leaves the thread's COM as it was.
TEST(Lifecycle, WithoutOleTheWindowTakesNoDropsAndCOMIsLeftAlone)
{
    std::thread([] {
        ASSERT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
        EXPECT_FALSE(StartOle());
        {
            LoadedWindow window;
            ASSERT_TRUE(window.loaded);
            EXPECT_NE(RevokeDragDrop(window->hwnd()), S_OK) << "registered for drops";
        }
        EndOle();
        // Still initialised by this thread's own call: a second one only counts.
        EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_FALSE);
        CoUninitialize();
        CoUninitialize();
    }).join();
}
