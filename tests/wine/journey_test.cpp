// The real program through a user's whole journey: quillmoor.exe started as a user starts
// it (its own process preparation, its own message loop), driven only by real input from
// outside (keys and clicks through SendInput, a drag from another program), and read back
// from outside (the screen's pixels, the windows' texts). Runs in a prefix of its own
// whose web browser is a recorder (scripts/journey-prefix.sh).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <numeric>
#include <fstream>
#include <vector>

#include "fontfiles/forum.h"
#include "support.h"

namespace {

constexpr const char* kCaption = "Quillmoor字体查看器1.1";
constexpr DWORD kWait = 5000;

// ------------------------------------------------------------- the reference rendering

// An edit box of this process made as the sample box is, showing the text in red in a
// font built from the same choices; on the screen at (0, 0), away from the program.
class Reference {
public:
    Reference(const std::string& face, int points, const std::string& text, SIZE size)
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = &Proc;
        wc.lpszClassName = "JourneyReference";
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        RegisterClassA(&wc);
        host_ = CreateWindowExA(WS_EX_TOOLWINDOW, "JourneyReference", "", WS_POPUP | WS_VISIBLE, 0, 0, size.cx, size.cy,
                                nullptr, nullptr, nullptr, nullptr);
        edit_ = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "",
                                WS_CHILD | WS_VISIBLE | ES_LEFT | ES_MULTILINE | ES_WANTRETURN | ES_AUTOHSCROLL |
                                    ES_AUTOVSCROLL | WS_HSCROLL | WS_VSCROLL,
                                0, 0, size.cx, size.cy, host_, nullptr, nullptr, nullptr);
        // The sample box's font as the user chose it, written out: the GUI font's
        // description with the family and the size in points (a point is 1/72 inch).
        LOGFONTA font;
        GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font);
        HDC screen = GetDC(nullptr);
        const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(nullptr, screen);
        font.lfHeight = -((points * dpi + 36) / 72);
        lstrcpynA(font.lfFaceName, face.c_str(), LF_FACESIZE);
        font.lfCharSet = DEFAULT_CHARSET;
        font.lfOutPrecision = OUT_DEFAULT_PRECIS;
        font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
        font.lfQuality = PROOF_QUALITY;
        font.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
        font_ = CreateFontIndirectA(&font);
        SendMessageA(edit_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
        SendMessageA(edit_, EM_LIMITTEXT, 0, 0);
        SetWindowTextA(edit_, text.c_str());
        SendMessageA(edit_, EM_SETSEL, text.size(), text.size());
        RedrawWindow(host_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        PumpMessages(200);
    }
    ~Reference()
    {
        DestroyWindow(host_);
        DeleteObject(font_);
    }
    HWND edit() const { return edit_; }

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
    {
        if (msg == WM_CTLCOLOREDIT) {
            SetTextColor(reinterpret_cast<HDC>(wp), RGB(255, 0, 0));
            SetBkColor(reinterpret_cast<HDC>(wp), RGB(255, 255, 255));
            return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
        }
        return DefWindowProcA(hwnd, msg, wp, lp);
    }
    HWND host_ = nullptr, edit_ = nullptr;
    HFONT font_ = nullptr;
};

// The lines the prefix's browser recorder wrote: one per address it was asked to open.
std::vector<std::string> BrowserLog()
{
    std::string prefix = getenv("WINEPREFIX") ? getenv("WINEPREFIX") : "";
    for (char& ch : prefix)
        ch = ch == '/' ? '\\' : ch;
    std::ifstream log("Z:" + prefix + "\\browser.log");
    std::vector<std::string> lines;
    for (std::string line; std::getline(log, line);)
        if (!line.empty())
            lines.push_back(line);
    return lines;
}

bool WaitFor(const std::function<bool()>& condition, DWORD milliseconds = kWait)
{
    return PumpUntil(condition, milliseconds);
}

}  // namespace

TEST(Journey, FromStartToCloseWithRealInputOnly)
{
    auto program = StartProgram("quillmoor.exe");
    ASSERT_TRUE(program->ok);
    const DWORD pid = program->info.dwProcessId;
    HWND window = WaitForTopLevel(kCaption, pid);
    ASSERT_TRUE(window) << "the main window did not appear";
    const DWORD thread = GetWindowThreadProcessId(window, nullptr);
    HWND sample = ControlOf(window, Ctl::编辑框_输入的文字);
    HWND list = ControlOf(window, Ctl::列表框_字体);
    HWND size = ControlOf(window, Ctl::组合框_字体大小);
    HWND picker = ControlOf(window, Ctl::颜色选择器1);
    HWND colour = ControlOf(window, Ctl::编辑框_颜色);
    HWND path = ControlOf(window, Ctl::编辑框_安装文字目录);
    HWND install = ControlOf(window, Ctl::按钮_安装字体);
    ASSERT_TRUE(sample && list && size && picker && colour && path && install);
    ASSERT_GT(SendMessageA(list, LB_GETCOUNT, 0, 0), 0) << "the list is filled before the window shows";

    // Tab through every tab stop in order, and back to the start.
    Click(Centre(ClientOnScreen(sample)));
    ASSERT_TRUE(
        WaitFor([&] { return FocusedId(thread) == MainWindow::kFirstControlId + Index(Ctl::编辑框_输入的文字); }));
    const Ctl order[] = {Ctl::列表框_字体,   Ctl::组合框_字形,         Ctl::组合框_效果,      Ctl::组合框_字体大小,
                         Ctl::颜色选择器1,   Ctl::编辑框_安装文字目录, Ctl::按钮_打开字体,    Ctl::按钮_刷新,
                         Ctl::按钮_安装字体, Ctl::编辑框_颜色,         Ctl::编辑框_输入的文字};
    for (Ctl next : order) {
        Press(VK_TAB);
        const int expected = MainWindow::kFirstControlId + Index(next);
        EXPECT_TRUE(WaitFor([&] { return FocusedId(thread) == expected; }, 2000))
            << "Tab should reach id " << expected << ", the focus is on id " << FocusedId(thread);
    }
    EXPECT_EQ(TextIn(sample), "") << "Tab is not a character in the sample";

    // A family: the first listed one that draws letters, clicked where it is shown.
    const int itemHeight = static_cast<int>(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0));
    const int top = static_cast<int>(SendMessageA(list, LB_GETTOPINDEX, 0, 0));
    const RECT listArea = ClientOnScreen(list);
    const int visible = (listArea.bottom - listArea.top) / itemHeight;
    int chosen = -1;
    std::string family, seen;
    for (int i = top; i < top + visible && chosen < 0; ++i) {
        const std::string name = ListItem(list, i);
        seen += name + "; ";
        if (name.rfind("DejaVu", 0) == 0 || name == "Tahoma" || name.rfind("WenQuanYi", 0) == 0) {
            chosen = i;
            family = name;
        }
    }
    ASSERT_GE(chosen, 0) << "no text family among the visible items: " << seen;
    Click({(listArea.left + listArea.right) / 2, listArea.top + (chosen - top) * itemHeight + itemHeight / 2});
    EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), chosen);

    // A named size from the drop-down, by keyboard: 小初 (36 points) is item 73. The list
    // opens with Alt+Down; the first Down selects "1".
    Click(Centre(ClientOnScreen(size)));
    PressWith(VK_MENU, VK_DOWN);
    for (int i = 0; i <= 73; ++i)
        Press(VK_DOWN);
    Press(VK_RETURN);
    EXPECT_TRUE(WaitFor([&] { return SendMessageA(size, CB_GETCURSEL, 0, 0) == 73; }))
        << "selected: " << SendMessageA(size, CB_GETCURSEL, 0, 0);
    EXPECT_EQ(TextIn(size), "小初");

    // A sample text, typed.
    Click(Centre(ClientOnScreen(sample)));
    TypeAscii("Quillmoor");
    EXPECT_TRUE(WaitFor([&] { return TextIn(sample) == "Quillmoor"; })) << "sample: " << TextIn(sample);

    // Red from the palette, with the mouse: the sixth cell of the second row.
    Click(Centre(ClientOnScreen(picker)));
    HWND popup = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        popup = FindWindowA("QuillmoorColourPopup", nullptr);
        return popup && IsWindowVisible(popup);
    })) << "the palette did not open";
    Click(PaletteCellOnScreen(popup, 12));
    EXPECT_TRUE(WaitFor([&] { return TextIn(colour) == "255"; })) << "colour box: " << TextIn(colour);

    // The sample is drawn in red, in the chosen family and size: as this process draws it.
    RedrawWindow(sample, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    PumpMessages(300);
    const RECT shown = ClientOnScreen(sample);
    const std::vector<COLORREF> drawn = ScreenPixels(shown);
    EXPECT_GT(std::count(drawn.begin(), drawn.end(), RGB(255, 0, 0)), 50) << "no red in the sample";
    {
        const RECT outer = WindowRectOf(sample);
        Reference reference(family, 36, "Quillmoor", {outer.right - outer.left, outer.bottom - outer.top});
        const std::vector<COLORREF> expected = ScreenPixels(ClientOnScreen(reference.edit()));
        ASSERT_EQ(expected.size(), drawn.size());
        const auto differing = std::inner_product(drawn.begin(), drawn.end(), expected.begin(), std::size_t{0},
                                                  std::plus<>(), std::not_equal_to<>());
        EXPECT_EQ(differing, 0u) << "the sample differs from " << family << " at 36 points in red";
        // The same text in the default GUI font would not match.
        Reference other("Tahoma" == family ? "DejaVu Sans" : "Tahoma", 12, "Quillmoor",
                        {outer.right - outer.left, outer.bottom - outer.top});
        EXPECT_NE(ScreenPixels(ClientOnScreen(other.edit())), drawn);
    }

    // A font file dragged from another program onto the window, then installed.
    const std::string font = TestFontPath(1);
    const POINT onList = Centre(ClientOnScreen(list));
    auto drag = StartProgram("drag_source.exe",
                             std::to_string(onList.x) + " " + std::to_string(onList.y) + " files \"" + font + "\"");
    ASSERT_TRUE(drag->ok);
    drag->WaitForExit(15000);
    EXPECT_TRUE(WaitFor([&] { return TextIn(path) == font; })) << "path box: " << TextIn(path);
    Click(Centre(ClientOnScreen(install)));
    HWND box = WaitForDialog("提示", 15000, pid);
    ASSERT_TRUE(box) << "no outcome box";
    Sleep(100);
    EXPECT_EQ(MessageBoxText(box), "安装成功");
    Click(Centre(WindowRectOf(GetDlgItem(box, IDOK))));
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(box); }));

    // The new family, found in the list by its first letter and selected.
    Click({(listArea.left + listArea.right) / 2, listArea.top + itemHeight / 2});
    TypeAscii("Q");
    EXPECT_TRUE(WaitFor([&] {
        return ListItem(list, static_cast<int>(SendMessageA(list, LB_GETCURSEL, 0, 0))) == "Quillmoor Test 1";
    })) << "selected: "
        << ListItem(list, static_cast<int>(SendMessageA(list, LB_GETCURSEL, 0, 0)));

    // Closed with the close box; the notice comes while the window is already hidden, and
    // the forum is opened once, after it.
    EXPECT_TRUE(BrowserLog().empty());
    Click(CloseBoxOf(window));
    HWND notice = WaitForDialog("提示", 10000, pid);
    ASSERT_TRUE(notice) << "no notice on closing";
    Sleep(100);
    EXPECT_EQ(MessageBoxText(notice), "将打开Varnholt论坛");
    EXPECT_FALSE(IsWindowVisible(window)) << "the window should be hidden under the notice";
    EXPECT_TRUE(BrowserLog().empty()) << "the forum opened before the notice was answered";
    Click(Centre(WindowRectOf(GetDlgItem(notice, IDOK))));
    EXPECT_EQ(program->WaitForExit(), 0u);
    EXPECT_TRUE(WaitFor([] { return !BrowserLog().empty(); }, 10000));
    PumpMessages(500);
    EXPECT_EQ(BrowserLog(), std::vector<std::string>{kForumAddress});
}
