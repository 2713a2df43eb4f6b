// The font-information window: opened from the font list's and the sample box's context
// menus and by Alt+Enter, its texts for an installed family and for a previewed file, its
// ways to close, its place on the screen; and the sample box's edit commands, which its
// menu keeps.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <fstream>
#include <thread>

#include "controls/text_window.h"
#include "fontinfo/font_info.h"
#include "fontinfo/info_text.h"
#include "preview/preview.h"
#include "support.h"

namespace {

constexpr const char* kWqy = "文泉驿微米黑";

// Real input, sent without waiting: what it opens is modal, and the watcher below ends it.
void SendKeys(std::initializer_list<std::pair<WORD, bool>> strokes)
{
    SendKeyStrokes(strokes);
}

void SendWith(WORD modifier, WORD key)
{
    SendKeys({{modifier, true}, {key, true}, {key, false}, {modifier, false}});
}

void SendRightClick(POINT at)
{
    SetCursorPos(at.x, at.y);
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_MOUSE;
    input[0].mi.dwFlags = MOUSEEVENTF_RIGHTDOWN;
    input[1].mi.dwFlags = MOUSEEVENTF_RIGHTUP;
    SendInput(2, input, sizeof(INPUT));
}

std::wstring WindowTextW(HWND hwnd)
{
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

std::wstring Wide(const char* utf8)
{
    std::wstring out(64, L'\0');
    out.resize(static_cast<std::size_t>(MultiByteToWideChar(936, 0, utf8, -1, out.data(), 64) - 1));
    return out;
}

// How the watcher ends the information window.
enum class Close { EscapeKey, EnterKey, Button };

// On a thread of its own: waits for this process's context menu, records its items and
// answers it with a key (Esc, or an item's access key); then, when a window is expected,
// waits for the information window, records it once its files have been looked for, and
// closes it.
class Watcher {
public:
    Watcher(WORD menuKey, bool expectWindow, Close close = Close::EscapeKey)
        : thread_([=, this] { Run(menuKey, expectWindow, close); })
    {
    }
    ~Watcher()
    {
        if (thread_.joinable())
            thread_.join();
    }
    // Keeps the test thread's messages going until the watcher is done.
    bool Wait()
    {
        const bool ended = PumpUntil([this] { return done.load(); }, 30000);
        thread_.join();
        return ended;
    }

    std::vector<std::pair<std::string, bool>> items;  // text, enabled
    std::wstring caption, text;
    RECT rect = {};
    HWND owner = nullptr;
    bool ownerDisabled = false, ownerEnabledAfter = false;
    std::atomic<bool> done{false};

private:
    void Run(WORD menuKey, bool expectWindow, Close close)
    {
        if (menuKey != 0)
            AnswerContextMenu(menuKey, items);
        if (expectWindow) {
            if (HWND window = WaitForProcessWindow("QuillmoorTextWindow", 10000)) {
                HWND edit = FindWindowExA(window, nullptr, "EDIT", nullptr);
                const DWORD until = GetTickCount() + 20000;
                do {
                    text = WindowTextW(edit);
                    Sleep(20);
                } while (text.find(Wide("正在查找")) != std::wstring::npos && GetTickCount() < until);
                caption = WindowTextW(window);
                GetWindowRect(window, &rect);
                owner = GetWindow(window, GW_OWNER);
                ownerDisabled = owner && !IsWindowEnabled(owner);
                SetForegroundWindow(window);
                Sleep(50);
                if (close == Close::Button) {
                    HWND button = FindWindowExA(window, nullptr, "BUTTON", nullptr);
                    RECT rc;
                    GetWindowRect(button, &rc);
                    ClickAt({(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2});
                } else {
                    const WORD key = close == Close::EscapeKey ? VK_ESCAPE : VK_RETURN;
                    SendKeys({{key, true}, {key, false}});
                }
                for (int i = 0; i < 200 && IsWindow(window); ++i)
                    Sleep(20);
                ownerEnabledAfter = !IsWindow(window) && owner && IsWindowEnabled(owner);
            }
        }
        done = true;
    }

    std::thread thread_;
};

class FontInfoTest : public ForegroundWindowTest {
protected:
    int Select(const std::string& family)
    {
        const int index = SelectListed(W(), family);
        EXPECT_GE(index, 0) << family;
        return index;
    }
    std::string SampleFace() { return W().编辑框_输入的文字.FontDescription()->lfFaceName; }
    std::vector<std::pair<std::string, bool>> ListMenu(bool selected)
    {
        return {{"字体信息(&I)…", selected}, {"卸载字体(&U)…", selected}};
    }
};

std::wstring W8(const std::string& gbk)
{
    std::wstring out(gbk.size() + 1, L'\0');
    out.resize(static_cast<std::size_t>(
        MultiByteToWideChar(936, 0, gbk.c_str(), static_cast<int>(gbk.size()), out.data(), static_cast<int>(out.size()))));
    return out;
}

bool Has(const std::wstring& text, const std::string& gbk)
{
    return text.find(W8(gbk)) != std::wstring::npos;
}

}  // namespace

TEST_F(FontInfoTest, ARightClickSelectsTheItemFirstThenItsMenuOpensTheInformation)
{
    ListBox& list = W().列表框_字体;
    const int wqy = list.FindExact(kWqy);
    ASSERT_GE(wqy, 0);
    list.SetSelected(-1);
    SendMessageA(list.hwnd(), LB_SETTOPINDEX, static_cast<WPARAM>(wqy), 0);
    RECT item;
    SendMessageA(list.hwnd(), LB_GETITEMRECT, static_cast<WPARAM>(wqy), reinterpret_cast<LPARAM>(&item));
    POINT at = {item.left + 10, (item.top + item.bottom) / 2};
    ClientToScreen(list.hwnd(), &at);

    Watcher watcher('I', true);
    SendRightClick(at);
    ASSERT_TRUE(watcher.Wait());
    // Selected as a left click selects, and the sample shows it, before the menu opened.
    EXPECT_EQ(list.Selected(), wqy);
    EXPECT_EQ(SampleFace(), kWqy);
    EXPECT_EQ(watcher.items, ListMenu(true));
    EXPECT_TRUE(watcher.caption == W8(std::string("字体信息 - ") + kWqy));
    EXPECT_EQ(watcher.owner, W().hwnd());
    EXPECT_TRUE(watcher.ownerDisabled);
    EXPECT_TRUE(watcher.ownerEnabledAfter);
}

TEST_F(FontInfoTest, TheWindowOfAnInstalledChineseFamily)
{
    Select(kWqy);
    W().编辑框_输入的文字.SetText("永和九年，岁在癸丑 abc");
    Watcher watcher(0, true, Close::Button);
    SendWith(VK_MENU, VK_RETURN);
    ASSERT_TRUE(watcher.Wait());
    const std::wstring& text = watcher.text;
    for (const char* line : {"字体：文泉驿微米黑\r\n", "名称：WenQuanYi Micro Hei", "名称：文泉驿微米黑",
                             "格式：TrueType 轮廓\r\n", "字体集合：第 1 个，共 2 个\r\n",
                             "每 em 单位数：2048\r\n", "版权：",
                             // Not a file of a fonts folder: Wine takes it from the host.
                             "文件：不在字体文件夹中\r\n",
                             "\r\n\r\n通用规范汉字表一级：3500/3500\r\n通用规范汉字表二级：2989/3000\r\n"
                             "通用规范汉字表三级：1340/1605\r\nGB 2312：6763/6763\r\nGBK：20923/20923\r\n"
                             "GB 18030：20904/27484\r\nBig5：13062/13062\r\nHKSCS：2287/4579\r\n\r\n"
                             "示例文字中缺少的字：无"})
        EXPECT_TRUE(Has(text, line)) << line;
    EXPECT_TRUE(text.ends_with(W8("示例文字中缺少的字：无")));
    EXPECT_TRUE(watcher.ownerEnabledAfter);
}

TEST_F(FontInfoTest, ThePreviewedFileFromTheSampleBoxsMenu)
{
    const std::string path = TestFontPath(71);
    W().编辑框_安装文字目录.SetText(path);
    ASSERT_TRUE(WaitForPreview(F()));
    ASSERT_EQ(SampleFace(), "Quillmoor Test 71");
    W().编辑框_输入的文字.SetText("Abc 汉字\r\n汉 z");
    SetFocus(W().编辑框_输入的文字.hwnd());
    PumpMessages(50);

    Watcher watcher('I', true, Close::EnterKey);
    SendWith(VK_SHIFT, VK_F10);
    ASSERT_TRUE(watcher.Wait());
    const std::vector<std::pair<std::string, bool>> items = {
        {"撤销(&U)", false}, {"剪切(&T)", false}, {"复制(&C)", false}, {"粘贴(&P)", IsClipboardFormatAvailable(CF_TEXT) != 0},
        {"删除(&D)", false}, {"全选(&A)", true},  {"字体信息(&I)…", true}};
    EXPECT_EQ(watcher.items, items);
    EXPECT_TRUE(watcher.caption == W8("字体信息 - Quillmoor Test 71"));
    std::ifstream file(path, std::ios::binary | std::ios::ate);
    const std::string size = std::to_string(static_cast<long long>(file.tellg()));
    std::string grouped;
    for (std::size_t i = 0; i < size.size(); ++i)
        grouped += (i > 0 && (size.size() - i) % 3 == 0 ? "," : "") + size.substr(i, 1);
    EXPECT_TRUE(Has(watcher.text, "样式：Quillmoor Test 71\r\n")) << path;
    EXPECT_TRUE(Has(watcher.text, "文件：" + path + "，" + grouped + " 字节\r\n未安装\r\n"));
    EXPECT_TRUE(Has(watcher.text, "字体：Quillmoor Test 71\r\n"));
    EXPECT_TRUE(Has(watcher.text, "GB 2312：0/6763\r\n"));
    EXPECT_TRUE(watcher.text.ends_with(W8("示例文字中缺少的字：汉字")));
}

TEST_F(FontInfoTest, AltEnterOnTheSampleBoxShowsTheChosenFamily)
{
    Select(kWqy);
    SetFocus(W().编辑框_输入的文字.hwnd());
    W().编辑框_输入的文字.SetText("x");
    PumpMessages(50);
    Watcher watcher(0, true);
    SendWith(VK_MENU, VK_RETURN);
    ASSERT_TRUE(watcher.Wait());
    EXPECT_TRUE(watcher.caption == W8(std::string("字体信息 - ") + kWqy));
    // Alt+Enter is no new line in the sample.
    EXPECT_EQ(W().编辑框_输入的文字.Text(), "x");
}

TEST_F(FontInfoTest, WithNothingSelectedTheListsEntryIsGreyAndAltEnterDoesNothing)
{
    ListBox& list = W().列表框_字体;
    list.SetSelected(-1);
    SetFocus(list.hwnd());
    PumpMessages(50);
    Watcher watcher(VK_ESCAPE, false);
    SendWith(VK_SHIFT, VK_F10);
    ASSERT_TRUE(watcher.Wait());
    EXPECT_EQ(watcher.items, ListMenu(false));

    SendWith(VK_MENU, VK_RETURN);
    PumpMessages(300);
    EXPECT_EQ(FindOwnedWindow(W().hwnd(), "QuillmoorTextWindow"), nullptr);
}

TEST_F(FontInfoTest, TheFilesOfAnInstalledFamilyAreFoundInTheFontsFolder)
{
    // A font of the user's own, as Windows installs one for a user.
    char local[MAX_PATH] = {};
    ASSERT_TRUE(GetEnvironmentVariableA("LOCALAPPDATA", local, MAX_PATH));
    std::string folder = local;
    for (const char* part : {"\\Microsoft", "\\Windows", "\\Fonts"})
        CreateDirectoryA((folder += part).c_str(), nullptr);
    const std::string target = folder + "\\qinfo72.ttf";
    ASSERT_TRUE(CopyFileA(TestFontPath(72).c_str(), target.c_str(), FALSE));
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts", 0, nullptr, 0,
                              KEY_SET_VALUE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(key, "Quillmoor Test 72 (TrueType)", 0, REG_SZ, reinterpret_cast<const BYTE*>(target.c_str()),
                   static_cast<DWORD>(target.size() + 1));
    ASSERT_GT(AddFontResourceA(target.c_str()), 0);
    W().Raise(Index(Ctl::按钮_刷新), Event::Clicked, {});
    Select("Quillmoor Test 72");

    Watcher watcher(0, true);
    SendWith(VK_MENU, VK_RETURN);
    const bool ended = watcher.Wait();

    RemoveFontResourceA(target.c_str());
    RegDeleteValueA(key, "Quillmoor Test 72 (TrueType)");
    RegCloseKey(key);
    DeleteFileA(target.c_str());
    ASSERT_TRUE(ended);
    const HANDLE file = CreateFileA(TestFontPath(72).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    const DWORD size = GetFileSize(file, nullptr);
    CloseHandle(file);
    std::string grouped = std::to_string(size);
    for (int at = static_cast<int>(grouped.size()) - 3; at > 0; at -= 3)
        grouped.insert(static_cast<std::size_t>(at), ",");
    EXPECT_TRUE(Has(watcher.text, "样式：Quillmoor Test 72\r\n版本：Version"));
    EXPECT_TRUE(Has(watcher.text, "文件：" + target + "，" + grouped + " 字节\r\n")) << target;
    EXPECT_FALSE(Has(watcher.text, "未安装"));
}

TEST_F(FontInfoTest, PlacedInsideTheWorkAreaWithTheMainWindowAtAnEdge)
{
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    const RECT main = WindowRectOf(W().hwnd());
    const int width = main.right - main.left, height = main.bottom - main.top;
    const POINT places[] = {{work.left, work.top},
                            {work.right - width / 3, work.bottom - height / 3},
                            {work.left - 2 * width / 3, work.top + 10}};
    Select(kWqy);
    for (const POINT& at : places) {
        MoveWindow(W().hwnd(), at.x, at.y, width, height, TRUE);
        SetFocus(W().列表框_字体.hwnd());
        PumpMessages(50);
        Watcher watcher(0, true);
        SendWith(VK_MENU, VK_RETURN);
        ASSERT_TRUE(watcher.Wait());
        EXPECT_GE(watcher.rect.left, work.left) << at.x << "," << at.y;
        EXPECT_GE(watcher.rect.top, work.top) << at.x << "," << at.y;
        EXPECT_LE(watcher.rect.right, work.right) << at.x << "," << at.y;
        EXPECT_LE(watcher.rect.bottom, work.bottom) << at.x << "," << at.y;
    }
}

TEST_F(FontInfoTest, TheSampleBoxsEditCommandsStillWorkThroughItsMenu)
{
    EditBox& sample = W().编辑框_输入的文字;
    sample.SetText("quillmoor");
    SetFocus(sample.hwnd());
    SendMessageA(sample.hwnd(), EM_SETSEL, 0, -1);
    PumpMessages(50);
    {
        Watcher copy('C', false);
        SendWith(VK_SHIFT, VK_F10);
        ASSERT_TRUE(copy.Wait());
    }
    PumpMessages(100);
    SendMessageA(sample.hwnd(), EM_SETSEL, 0, -1);
    {
        Watcher cut('T', false);
        SendKeys({{VK_APPS, true}, {VK_APPS, false}});
        ASSERT_TRUE(cut.Wait());
    }
    PumpMessages(100);
    EXPECT_EQ(sample.Text(), "");
    {
        Watcher paste('P', false);
        SendWith(VK_SHIFT, VK_F10);
        ASSERT_TRUE(paste.Wait());
        EXPECT_TRUE(std::find(paste.items.begin(), paste.items.end(), std::make_pair(std::string("粘贴(&P)"), true)) !=
                    paste.items.end());
    }
    PumpMessages(100);
    EXPECT_EQ(sample.Text(), "quillmoor");
}

// A font named in 5,000 languages: the window shows a few lines of names and counts the
// rest, and the main window answers throughout.
TEST_F(FontInfoTest, AFontOfThousandsOfNamesNeverFreezesTheProgram)
{
    W().编辑框_安装文字目录.SetText(FixturePath("many-names.ttf"));
    ASSERT_TRUE(WaitForPreview(F()));
    ASSERT_EQ(SampleFace(), "Quillmoor Many");
    SetFocus(W().编辑框_输入的文字.hwnd());
    PumpMessages(50);

    SilenceProbe probe(W().hwnd());
    Watcher watcher(0, true);
    SendWith(VK_MENU, VK_RETURN);
    const bool ended = watcher.Wait();
    const DWORD slowest = probe.Stop();
    ASSERT_TRUE(ended);
    EXPECT_LT(slowest, 500u) << "the main window did not answer for " << slowest << " ms";
    const std::wstring& text = watcher.text;
    std::size_t lines = 0;
    for (std::size_t at = text.find(W8("名称：")); at != std::wstring::npos; at = text.find(W8("名称："), at + 1))
        ++lines;
    EXPECT_EQ(lines, kMostNameLines + 1) << "name lines, and one that counts the rest";
    EXPECT_TRUE(Has(text, "名称：另有 " + std::to_string(4998 - (kMostNameLines - 1)) + " 个\r\n"));
    EXPECT_TRUE(Has(text, "名称：Quillmoor Many（"));
}
