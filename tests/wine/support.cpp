#include "support.h"

#include "fontfiles/uninstall.h"

#include "fontcheck/font_trial.h"

#include <algorithm>

#include <gtest/gtest.h>

#include <shlobj.h>

#include "app/program.h"
#include "app/wiring.h"
#include "catalogue/font_lists.h"
#include "fontfiles/font_files.h"
#include "preview/file_preview.h"

void PumpMessages(DWORD milliseconds)
{
    PumpUntil([] { return false; }, milliseconds);
}

bool PumpUntil(const std::function<bool()>& condition, DWORD milliseconds)
{
    const DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (condition())
            return true;
        if (GetTickCount() - start >= milliseconds)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

std::string ProgramFolder()
{
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, n);
    return folder.substr(0, folder.find_last_of('\\') + 1);
}

std::string TextOf(HWND hwnd)
{
    int length = GetWindowTextLengthA(hwnd);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    int got = GetWindowTextA(hwnd, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
    return text;
}

namespace {

struct Search {
    const char* caption;
    DWORD processId;
    bool dialogOnly;
    HWND found;
};

BOOL CALLBACK FindProc(HWND hwnd, LPARAM lp)
{
    auto* search = reinterpret_cast<Search*>(lp);
    char cls[32];
    GetClassNameA(hwnd, cls, sizeof cls);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if ((search->dialogOnly && std::string(cls) != "#32770") || !IsWindowVisible(hwnd) ||
        TextOf(hwnd) != search->caption || (search->processId && pid != search->processId))
        return TRUE;
    search->found = hwnd;
    return FALSE;
}

// A visible top-level window with this caption (a dialog, where asked), waited for.
HWND WaitForWindow(const char* caption, DWORD processId, bool dialogOnly, DWORD milliseconds)
{
    const DWORD start = GetTickCount();
    do {
        Search search{caption, processId, dialogOnly, nullptr};
        EnumWindows(&FindProc, reinterpret_cast<LPARAM>(&search));
        if (search.found)
            return search.found;
        Sleep(20);
    } while (GetTickCount() - start < milliseconds);
    return nullptr;
}

}  // namespace

HWND WaitForDialog(const char* caption, DWORD milliseconds, DWORD processId)
{
    return WaitForWindow(caption, processId, true, milliseconds);
}

HWND WaitForTopLevel(const char* caption, DWORD processId, DWORD milliseconds)
{
    return WaitForWindow(caption, processId, false, milliseconds);
}

std::string MessageBoxText(HWND box)
{
    std::string longest;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char cls[32];
        GetClassNameA(child, cls, sizeof cls);
        if (lstrcmpiA(cls, "Static") != 0)
            continue;
        std::string text = TextOf(child);
        if (text.size() > longest.size())
            longest = text;
    }
    return longest;
}

bool BoxHasIcon(HWND box)
{
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON && IsWindowVisible(child) &&
            SendMessageA(child, STM_GETICON, 0, 0))
            return true;
    }
    return false;
}

HWND WaitForFileDialog(HWND owner, DWORD milliseconds)
{
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < milliseconds) {
        HWND h = nullptr;
        if (owner) {
            h = FindOwnedWindow(owner, "#32770", 0, GetCurrentProcessId());
        } else {
            while ((h = FindWindowExA(nullptr, h, "#32770", nullptr))) {
                DWORD process = 0;
                GetWindowThreadProcessId(h, &process);
                if (process == GetCurrentProcessId() && GetDlgItem(h, kFilterCombo))
                    break;
            }
        }
        if (h && IsWindowVisible(h) && GetDlgItem(h, kFilterCombo))
            return h;
        Sleep(50);
    }
    return nullptr;
}

HWND FileNameField(HWND dialog)
{
    HWND field = GetDlgItem(dialog, kFileNameCombo);
    return field ? field : GetDlgItem(dialog, kFileNameEdit);
}

BoxIcon IconOf(HWND box)
{
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON || !IsWindowVisible(child))
            continue;
        const HICON icon = reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
        if (!icon)
            continue;
        // The system's icons are shared: the box shows the very handle LoadIcon gives.
        if (icon == LoadIconA(nullptr, IDI_WARNING))
            return BoxIcon::Warning;
        if (icon == LoadIconA(nullptr, IDI_ERROR))
            return BoxIcon::Error;
        return BoxIcon::Other;
    }
    return BoxIcon::None;
}

void PressButton(HWND dialog, int id)
{
    HWND button = GetDlgItem(dialog, id);
    if (button)
        SendMessageA(button, BM_CLICK, 0, 0);
    else
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
}

BoxAnswerer::BoxAnswerer(std::string caption, int button, DWORD milliseconds, const BoxAnswerer* after)
{
    thread_ = std::thread([this, caption = std::move(caption), button, milliseconds, after] {
        const DWORD until = GetTickCount() + milliseconds;
        HWND box = nullptr;
        if (after) {
            while (!after->answered && !cancelled_ && GetTickCount() < until)
                Sleep(10);
            // The box answered before may still be closing.
            while (!cancelled_ && GetTickCount() < until) {
                box = WaitForDialog(caption.c_str(), 100, GetCurrentProcessId());
                if (box && box != after->box)
                    break;
                box = nullptr;
                Sleep(10);
            }
        } else {
            box = WaitForDialog(caption.c_str(), milliseconds, GetCurrentProcessId());
        }
        if (!box)
            return;
        this->box = box;
        Sleep(50);  // let the box finish showing itself
        text = MessageBoxText(box);
        style = GetWindowLongA(box, GWL_STYLE);
        hasIcon = BoxHasIcon(box);
        icon = IconOf(box);
        owner = GetWindow(box, GW_OWNER);
        if (button == kCloseBox) {
            PostMessageA(box, WM_SYSCOMMAND, SC_CLOSE, 0);
        } else if (button == kEscapeKey) {
            HWND target = GetDlgItem(box, IDOK) ? GetDlgItem(box, IDOK) : box;
            PostMessageA(target, WM_KEYDOWN, VK_ESCAPE, 1);
            PostMessageA(target, WM_KEYUP, VK_ESCAPE, 0xC0000001);
        } else {
            PressButton(box, button);
        }
        answered = true;
    });
}

BoxAnswerer::~BoxAnswerer()
{
    Join();
}

bool BoxAnswerer::Join()
{
    if (thread_.joinable())
        thread_.join();
    return answered;
}

LoadedWindow::LoadedWindow(const WiringFor& wiring)
{
    // A font file named in the path box is tried in a child: the product, never the test
    // program itself (which would run its tests again).
    features.trials.UseProgram(ProgramFolder() + "quillmoor.exe");
    wiring_ = wiring(features);
    window_ = std::make_unique<MainWindow>(kMainLayout, wiring_);
    loaded = window_->Load();
    PumpMessages(50);
}

LoadedWindow::LoadedWindow(std::span<const WiringRow> rows)
    : LoadedWindow([rows](Features&) { return std::vector<WiringRow>(rows.begin(), rows.end()); })
{
}

LoadedWindow::~LoadedWindow()
{
    window_.reset();
    PumpMessages(20);
    // Only the quit message of the destroyed window is left; it must not end a later test's loop.
    MSG msg;
    while (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

std::unique_ptr<StartedProcess> StartProgram(const std::string& exeName, const std::string& arguments)
{
    auto process = std::make_unique<StartedProcess>();
    std::string path = ProgramFolder() + exeName;
    std::string commandLine = "\"" + path + "\" " + arguments;
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    process->ok = CreateProcessA(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                                 &process->info) != 0;
    return process;
}

DWORD StartedProcess::WaitForExit(DWORD milliseconds)
{
    if (!ok)
        return 0xDEADBEEF;
    if (WaitForSingleObject(info.hProcess, milliseconds) != WAIT_OBJECT_0)
        return STILL_ACTIVE;
    DWORD code = 0;
    GetExitCodeProcess(info.hProcess, &code);
    return code;
}

StartedProcess::~StartedProcess()
{
    if (!ok)
        return;
    if (WaitForSingleObject(info.hProcess, 0) != WAIT_OBJECT_0)
        TerminateProcess(info.hProcess, 99);
    CloseHandle(info.hProcess);
    CloseHandle(info.hThread);
}

HWND FindOwnedWindow(HWND owner, const char* className, DWORD milliseconds, DWORD processId)
{
    const DWORD start = GetTickCount();
    for (;;) {
        for (HWND h = GetWindow(GetDesktopWindow(), GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) {
            char cls[64];
            GetClassNameA(h, cls, sizeof cls);
            DWORD pid = 0;
            GetWindowThreadProcessId(h, &pid);
            if (lstrcmpiA(cls, className) == 0 && GetWindow(h, GW_OWNER) == owner && (!processId || pid == processId))
                return h;
        }
        if (GetTickCount() - start >= milliseconds)
            return nullptr;
        Sleep(50);
    }
}

std::string TestFontPath(int n)
{
    char full[MAX_PATH];
    GetFullPathNameA((ProgramFolder() + "..\\fonts\\qtest" + std::to_string(n) + ".ttf").c_str(), MAX_PATH, full,
                     nullptr);
    return full;
}

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

std::string FixturePath(const std::string& name)
{
    char full[MAX_PATH];
    GetFullPathNameA((ProgramFolder() + "..\\fixtures\\" + name).c_str(), MAX_PATH, full, nullptr);
    return full;
}

std::string FontsFolder()
{
    char folder[MAX_PATH] = {};
    SHGetSpecialFolderPathA(nullptr, folder, CSIDL_FONTS, FALSE);
    return folder;
}

std::set<std::string> FontsFolderFiles(const std::string& folder)
{
    std::set<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do
        names.insert(found.cFileName);
    while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}


std::string RegistryRecord(HKEY root, const std::string& valueName)
{
    char data[1024] = {};
    DWORD size = sizeof data;
    if (RegGetValueA(root, kFontsKey, valueName.c_str(), RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS)
        return "(none)";
    return data;
}

std::wstring RegistryRecordW(HKEY root, const std::wstring& valueName)
{
    wchar_t data[1024] = {};
    DWORD size = sizeof data;
    if (RegGetValueW(root, L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts", valueName.c_str(),
                     RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS)
        return L"(none)";
    return data;
}

std::set<std::string> RegistryRecords(HKEY root)
{
    std::set<std::string> records;
    HKEY key;
    if (RegOpenKeyExA(root, kFontsKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return records;
    for (DWORD i = 0;; ++i) {
        char name[1024], data[1024];
        DWORD nameSize = sizeof name, dataSize = sizeof data;
        if (RegEnumValueA(key, i, name, &nameSize, nullptr, nullptr, reinterpret_cast<BYTE*>(data), &dataSize) !=
            ERROR_SUCCESS)
            break;
        records.insert(std::string(name) + "=" + std::string(data, dataSize));
    }
    RegCloseKey(key);
    return records;
}

int Occurrences(const ListBox& list, const std::string& name)
{
    int n = 0;
    for (int i = 0; i < list.Count(); ++i)
        n += list.ItemText(i) == name;
    return n;
}

namespace {
LRESULT CALLBACK CountFontChanges(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_FONTCHANGE)
        ++FontChangeCounter::count;
    return DefWindowProcA(hwnd, msg, wp, lp);
}
}  // namespace

FontChangeCounter::FontChangeCounter()
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = &CountFontChanges;
    wc.lpszClassName = "FontChangeCounter";
    RegisterClassA(&wc);
    count = 0;
    hwnd_ =
        CreateWindowA("FontChangeCounter", "counter", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
}

FontChangeCounter::~FontChangeCounter()
{
    DestroyWindow(hwnd_);
}

void InstallTest::SetUpTestSuite()
{
    PrepareProcess();
}

bool WaitForPreview(const Features& features, DWORD milliseconds)
{
    return PumpUntil([&] { return !features.preview.Running(); }, milliseconds);
}

bool WaitForInstallation(const Features& features, DWORD milliseconds)
{
    return PumpUntil([&] { return !features.installer.Running(); }, milliseconds);
}

InstallTest::Outcome InstallTest::InstallFrom(const std::string& path)
{
    W().编辑框_安装文字目录.SetText(path);
    WaitForPreview(F());
    return InstallWhatTheBoxNames();
}

InstallTest::Outcome InstallTest::InstallWhatTheBoxNames()
{
    BoxAnswerer box("提示");
    SendMessageA(W().按钮_安装字体.hwnd(), BM_CLICK, 0, 0);
    // The press works off the window's thread: this one keeps the window's messages going
    // until the press has ended and its outcome box has closed.
    WaitForInstallation(F());
    Outcome outcome;
    outcome.answered = box.Join();
    outcome.text = box.text;
    outcome.icon = box.hasIcon;
    outcome.which = box.icon;
    return outcome;
}

void SendKeyStrokes(std::initializer_list<std::pair<WORD, bool>> strokes)
{
    std::vector<INPUT> inputs;
    for (const auto& [key, down] : strokes) {
        INPUT input = {};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
        input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(key, MAPVK_VK_TO_VSC));
        input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
        inputs.push_back(input);
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

namespace {

BOOL CALLBACK FindProcessWindow(HWND hwnd, LPARAM data)
{
    auto* want = reinterpret_cast<std::pair<const char*, HWND>*>(data);
    char cls[64] = {};
    GetClassNameA(hwnd, cls, sizeof cls);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid == GetCurrentProcessId() && IsWindowVisible(hwnd) && lstrcmpiA(cls, want->first) == 0) {
        want->second = hwnd;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

HWND WaitForProcessWindow(const char* className, DWORD milliseconds)
{
    const DWORD until = GetTickCount() + milliseconds;
    do {
        std::pair<const char*, HWND> want{className, nullptr};
        EnumWindows(&FindProcessWindow, reinterpret_cast<LPARAM>(&want));
        if (want.second)
            return want.second;
        Sleep(20);
    } while (GetTickCount() < until);
    return nullptr;
}

bool AnswerContextMenu(WORD key, std::vector<std::pair<std::string, bool>>& items, DWORD milliseconds)
{
    HWND menuWindow = WaitForProcessWindow("#32768", milliseconds);
    if (!menuWindow)
        return false;
    HMENU menu = reinterpret_cast<HMENU>(SendMessageA(menuWindow, MN_GETHMENU, 0, 0));
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        char text[128] = {};
        GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
        const UINT state = GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION);
        if (!(state & MF_SEPARATOR))
            items.emplace_back(text, !(state & (MF_GRAYED | MF_DISABLED)));
    }
    Sleep(50);
    SendKeyStrokes({{key, true}, {key, false}});
    return true;
}

void Keys(std::initializer_list<std::pair<WORD, bool>> strokes)
{
    SendKeyStrokes(strokes);
    PumpMessages(60);
}

void Press(WORD key)
{
    Keys({{key, true}, {key, false}});
}

// The close box at the right end of a window's title bar.
POINT CloseBoxOf(HWND window)
{
    const RECT rc = WindowRectOf(window);
    const int frame = GetSystemMetrics(SM_CXFIXEDFRAME);
    const int button = GetSystemMetrics(SM_CXSIZE), caption = GetSystemMetrics(SM_CYCAPTION);
    return {rc.right - frame - button / 2 - 1, rc.top + frame + caption / 2};
}

void PressWith(WORD modifier, WORD key)
{
    Keys({{modifier, true}, {key, true}, {key, false}, {modifier, false}});
}

void TypeAscii(const std::string& text)
{
    for (char ch : text) {
        const SHORT scan = VkKeyScanA(ch);
        const WORD key = LOBYTE(scan);
        if (HIBYTE(scan) & 1)
            PressWith(VK_SHIFT, key);
        else
            Press(key);
    }
}

void Click(POINT screen)
{
    SetCursorPos(screen.x, screen.y);
    PumpMessages(30);
    ClickAt(screen);
    PumpMessages(150);
}

namespace {
struct ChildSearch {
    int id;
    HWND found;
};

BOOL CALLBACK FindById(HWND hwnd, LPARAM lp)
{
    auto* search = reinterpret_cast<ChildSearch*>(lp);
    if (GetDlgCtrlID(hwnd) == search->id) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}
}  // namespace

// A control of the program's window by its place in the layout (ids follow the layout).
HWND ControlOf(HWND window, Ctl c)
{
    ChildSearch search{MainWindow::kFirstControlId + Index(c), nullptr};
    EnumChildWindows(window, &FindById, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The control that has the keyboard focus in the program, as its layout slot's id: the
// size box's field counts as the size box.
int FocusedId(DWORD thread)
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(thread, &info) || !info.hwndFocus)
        return -1;
    HWND focus = info.hwndFocus;
    char cls[32] = {};
    GetClassNameA(GetParent(focus), cls, sizeof cls);
    if (lstrcmpiA(cls, "ComboBox") == 0)
        focus = GetParent(focus);
    return GetDlgCtrlID(focus);
}

// An item of the program's list, read from outside as another program would. Wine
// answers an ANSI LB_GETTEXT from another process in UTF-16, overrunning a buffer sized
// for the ANSI text; the wide message is answered as asked.
std::string ListItem(HWND list, int index)
{
    const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length <= 0)
        return {};
    std::wstring wide(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT got =
        SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(wide.data()));
    wide.resize(static_cast<std::size_t>(got > 0 ? got : 0));
    std::string text(wide.size() * 2 + 1, '\0');
    const int bytes = WideCharToMultiByte(CP_ACP, 0, wide.c_str(), static_cast<int>(wide.size()), text.data(),
                                          static_cast<int>(text.size()), nullptr, nullptr);
    text.resize(static_cast<std::size_t>(bytes > 0 ? bytes : 0));
    return text;
}

// A control's text, asked of the control itself (GetWindowText does not ask a window of
// another process). The buffer has room for twice the length, as for ListItem.
std::string TextIn(HWND hwnd)
{
    const LRESULT length = SendMessageA(hwnd, WM_GETTEXTLENGTH, 0, 0);
    std::string text(static_cast<std::size_t>(length > 0 ? length : 0) * 2 + 2, '\0');
    const LRESULT got = SendMessageA(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
    return text;
}

RECT ClientOnScreen(HWND hwnd)
{
    RECT rc;
    GetClientRect(hwnd, &rc);
    MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

POINT Centre(const RECT& rc)
{
    return {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

// The screen's pixels inside a rectangle, row by row.
std::vector<COLORREF> ScreenPixels(const RECT& rc)
{
    std::vector<COLORREF> pixels;
    HDC screen = GetDC(nullptr);
    for (int y = rc.top; y < rc.bottom; ++y)
        for (int x = rc.left; x < rc.right; ++x)
            pixels.push_back(GetPixel(screen, x, y));
    ReleaseDC(nullptr, screen);
    return pixels;
}

POINT PaletteCellOnScreen(HWND popup, int entry)
{
    const int edge = GetSystemMetrics(SM_CXEDGE);
    const int cell = std::max(18, 2 * edge + 7), inset = 2 * edge + 2;
    const RECT p = WindowRectOf(popup);
    return {p.left + inset + (entry % 7) * cell + cell / 2, p.top + inset + (entry / 7) * cell + cell / 2};
}

SilenceProbe::SilenceProbe(HWND window)
    : thread_([this, window] {
          while (running_) {
              const DWORD start = GetTickCount();
              DWORD_PTR ignored = 0;
              SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 20000, &ignored);
              slowest_ = std::max<DWORD>(slowest_, GetTickCount() - start);
              Sleep(10);
          }
          ended_ = true;
      })
{
}

SilenceProbe::~SilenceProbe()
{
    if (thread_.joinable())
        Stop();
}

DWORD SilenceProbe::Stop()
{
    running_ = false;
    PumpUntil([this] { return ended_.load(); }, 30000);
    thread_.join();
    return slowest_;
}

void UninstallTest::SetUp()
{
    InstallTest::SetUp();
    SetForegroundWindow(W().hwnd());
    PumpMessages(50);
}

int SelectListed(MainWindow& window, const std::string& family)
{
    ListBox& list = window.列表框_字体;
    const int index = list.FindExact(family);
    if (index < 0)
        return index;
    list.SetSelected(index);
    window.Raise(Index(Ctl::列表框_字体), Event::SelectionChanged, {});
    SetFocus(list.hwnd());
    PumpMessages(50);
    return index;
}

void UninstallTest::Select(const std::string& family)
{
    ASSERT_GE(SelectListed(W(), family), 0) << family;
}

UninstallTest::Shown UninstallTest::Run(const std::function<void()>& start, int answer)
{
    Shown shown;
    // The list has the keyboard, in the foreground window (a box closed before may have
    // left the foreground elsewhere).
    SetForegroundWindow(W().hwnd());
    SetFocus(W().列表框_字体.hwnd());
    PumpMessages(50);
    // Both answerers from the start: a quick removal shows its outcome box inside the loop
    // that waits for the question's answer.
    BoxAnswerer first("提示", answer, 20000);
    BoxAnswerer outcome("提示", IDOK, 40000, &first);
    start();
    if (!PumpUntil([&] { return first.answered.load(); }, 20000)) {
        ADD_FAILURE() << "no box was shown";
        outcome.Cancel();
    }
    first.Join();
    const bool asked = first.text.starts_with("确定要卸载字体");
    (asked ? shown.question : shown.outcome) = first.text;
    if (!asked || answer != IDYES) {
        EXPECT_TRUE(PumpUntil([&] { return !F().uninstaller.Running(); }, 20000));
        outcome.Cancel();  // no second box comes
        return shown;
    }
    EXPECT_TRUE(PumpUntil([&] { return outcome.answered.load() && !F().uninstaller.Running(); }, 30000));
    outcome.Join();
    PumpMessages(100);
    shown.outcome = outcome.text;
    return shown;
}

UninstallTest::Shown UninstallTest::ByMenu(int answer)
{
    std::vector<std::pair<std::string, bool>> items;
    std::thread menu([&] { AnswerContextMenu('U', items); });
    Shown shown =
        Run([] { SendKeyStrokes({{VK_SHIFT, true}, {VK_F10, true}, {VK_F10, false}, {VK_SHIFT, false}}); }, answer);
    menu.join();
    EXPECT_TRUE(std::find(items.begin(), items.end(), std::make_pair(std::string("卸载字体(&U)…"), true)) !=
                items.end());
    return shown;
}

UninstallTest::Shown UninstallTest::ByDeleteKey(int answer)
{
    return Run([] { SendKeyStrokes({{VK_DELETE, true}, {VK_DELETE, false}}); }, answer);
}
