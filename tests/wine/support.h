#pragma once
#include <windows.h>

#include <atomic>
#include <functional>
#include <set>
#include <memory>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "app/features.h"
#include "app/wiring.h"
#include "quiet_wiring.h"
#include "window/main_window.h"

// Dispatches this thread's messages for about the given time.
void PumpMessages(DWORD milliseconds);
// Dispatches messages until the condition holds or the time runs out; returns the condition.
bool PumpUntil(const std::function<bool()>& condition, DWORD milliseconds = 5000);

// On a thread of its own, asks the window for an answer (WM_NULL) again and again until
// Stop(), and keeps the longest wait: how long the window went without answering.
class SilenceProbe {
public:
    explicit SilenceProbe(HWND window);
    ~SilenceProbe();
    SilenceProbe(const SilenceProbe&) = delete;
    SilenceProbe& operator=(const SilenceProbe&) = delete;
    // Ends the asking, this thread's messages going on until the last ask is answered (the
    // window may be this thread's); the longest wait in milliseconds.
    DWORD Stop();

private:
    std::atomic<bool> running_{true}, ended_{false};
    std::atomic<DWORD> slowest_{0};
    std::thread thread_;
};

// The folder of the running test executable, with a trailing backslash.
std::string ProgramFolder();

// A top-level dialog (class #32770) with this caption, in any process; waits for it.
HWND WaitForDialog(const char* caption, DWORD milliseconds = 10000, DWORD processId = 0);
// The text of a message box: its longest static text.
std::string MessageBoxText(HWND box);
// Presses the box's button with this identifier (IDOK by default).
void PressButton(HWND dialog, int id = IDOK);

// Ways to close a box besides its buttons.
inline constexpr int kCloseBox = -1;
inline constexpr int kEscapeKey = -2;

// The icon a message box shows: none, the system's warning or error icon, or another.
enum class BoxIcon { None, Warning, Error, Other };

// Waits, on a thread of its own, for a message box with the caption, records its text
// and style, and closes it with the given button (or kCloseBox, kEscapeKey).
// Keeps this thread's messages going until the install button's press has ended, its
// outcome box included; false when it had not ended in time.
bool WaitForInstallation(const Features& features, DWORD milliseconds = 60000);

// Keeps this thread's messages going until the path box's file has been read, judged and
// tried for its preview; false when that had not ended in time.
bool WaitForPreview(const Features& features, DWORD milliseconds = 30000);

class BoxAnswerer {
public:
    // Answers the first box of that caption of this process; with `after`, the first one
    // after the box `after` answers (for a box that may appear inside the loop that is
    // waiting for `after`: made beforehand, it is ready whenever the box comes).
    explicit BoxAnswerer(std::string caption, int button = IDOK, DWORD milliseconds = 15000,
                         const BoxAnswerer* after = nullptr);
    ~BoxAnswerer();
    // Waits for the thread; true when a box was seen and answered.
    bool Join();
    // No box is to come: one made with `after` stops waiting.
    void Cancel() { cancelled_ = true; }
    std::string text;
    LONG style = 0;
    bool hasIcon = false;
    BoxIcon icon = BoxIcon::None;
    std::atomic<bool> answered{false};
    HWND owner = nullptr;
    std::atomic<HWND> box{nullptr};  // the box answered

private:
    std::atomic<bool> cancelled_{false};
    std::thread thread_;
};


// What a loaded window is wired with, made for its features.
using WiringFor = std::function<std::vector<WiringRow>(Features&)>;

// The program's window loaded in this process as the program loads it, with features of
// its own (their trials' child is the product) and the wiring made for them (by default
// the program's without the forum notice); destroyed (without the message loop) at the end.
class LoadedWindow {
public:
    explicit LoadedWindow(const WiringFor& wiring = &WiringWithoutForum);
    // Rows of the test's own, bound to no feature.
    explicit LoadedWindow(std::span<const WiringRow> rows);
    ~LoadedWindow();
    MainWindow& operator*() { return *window_; }
    MainWindow* operator->() { return window_.get(); }
    bool loaded = false;
    Features features;

private:
    std::vector<WiringRow> wiring_;
    std::unique_ptr<MainWindow> window_;
};

// Runs a program of the build folder and waits until it has a top-level window with
// this caption (if given). The handle is owned by the caller.
struct StartedProcess {
    PROCESS_INFORMATION info = {};
    bool ok = false;
    DWORD WaitForExit(DWORD milliseconds = 20000);
    ~StartedProcess();
};
std::unique_ptr<StartedProcess> StartProgram(const std::string& exeName, const std::string& arguments = {});
HWND WaitForTopLevel(const char* caption, DWORD processId, DWORD milliseconds = 15000);

// The open dialogs' controls: the older Explorer dialog's file-name field is a combo box,
// the common item dialog's an edit box; both have the file-type combo box.
inline constexpr int kFileNameCombo = 0x47C;  // cmb13
inline constexpr int kFileNameEdit = 0x480;   // edt1
inline constexpr int kFilterCombo = 0x470;    // cmb1
// The open dialog of this process owned by `owner` (any owner, for null), once it is shown.
HWND WaitForFileDialog(HWND owner, DWORD milliseconds = 15000);
HWND FileNameField(HWND dialog);

// Whether a message box shows an icon, and which of the system's it is.
bool BoxHasIcon(HWND box);
BoxIcon IconOf(HWND box);

// Window text of any window.
std::string TextOf(HWND hwnd);

// The first top-level window of this class (case-insensitive) that `owner` owns, in
// any process or only in processId; waited for up to `milliseconds`.
HWND FindOwnedWindow(HWND owner, const char* className, DWORD milliseconds = 0, DWORD processId = 0);

// The full path of the build's test font number n ("Quillmoor Test n").
std::string TestFontPath(int n);

// Real pointer input: the cursor to the point, then a left click there.
void ClickAt(POINT screen);
POINT CentreOf(HWND hwnd);
RECT WindowRectOf(HWND hwnd);
// Characters as WM_CHAR messages, byte by byte, as typing them would send.
void Type(HWND edit, const std::string& text);

// A fixture with the program's window loaded for each test.
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        window_ = std::make_unique<LoadedWindow>([this](Features& f) { return Wiring(f); });
        ASSERT_TRUE(window_->loaded);
    }
    virtual std::vector<WiringRow> Wiring(Features& features) { return WiringWithoutForum(features); }
    MainWindow& W() { return **window_; }
    Features& F() { return window_->features; }
    std::unique_ptr<LoadedWindow> window_;
};

// The window loaded and in the foreground, with the pointer well away from it.
class ForegroundWindowTest : public WindowTest {
protected:
    void SetUp() override
    {
        SetCursorPos(1000, 740);
        WindowTest::SetUp();
        SetForegroundWindow(W().hwnd());
        PumpMessages(50);
    }
};

// ------------------------------------------------ driving another process's window
// Real input through SendInput, and reads that ask the controls themselves.
void Keys(std::initializer_list<std::pair<WORD, bool>> strokes);
// The same strokes without waiting for them: for keys that open something modal.
void SendKeyStrokes(std::initializer_list<std::pair<WORD, bool>> strokes);
// A visible top-level window of this class in this process, waited for.
HWND WaitForProcessWindow(const char* className, DWORD milliseconds);
// For a thread other than the window's: waits for this process's context menu, records its
// entries (text, enabled; separators left out) and answers it with a key (Esc, or an
// entry's access key). False when no menu came.
bool AnswerContextMenu(WORD key, std::vector<std::pair<std::string, bool>>& items, DWORD milliseconds = 10000);
void Press(WORD key);
void PressWith(WORD modifier, WORD key);
void TypeAscii(const std::string& text);
// The pointer to the point, a pause, a real click there.
void Click(POINT screen);
// The close box at the right end of a window's title bar.
POINT CloseBoxOf(HWND window);
// A control of the program's window by its place in the layout (ids follow the layout).
HWND ControlOf(HWND window, Ctl c);
// The slot id of the control with the keyboard focus in that thread (a combo box's field
// counts as the combo box), or -1.
int FocusedId(DWORD thread);
// An item of a list box of another process (read in UTF-16: see the definition).
std::string ListItem(HWND list, int index);
// A control's text, asked of the control (GetWindowText does not ask another process).
std::string TextIn(HWND hwnd);
RECT ClientOnScreen(HWND hwnd);
POINT Centre(const RECT& rc);
// The screen point at the centre of a palette cell (0 to 31, rows of seven) of the
// open colour popup, laid out as the popup lays out its cells.
POINT PaletteCellOnScreen(HWND popup, int entry);
// The screen's pixels inside a rectangle, row by row.
std::vector<COLORREF> ScreenPixels(const RECT& rc);

// The build's generated font files other than the numbered test fonts: fixtures/NAME.
std::string FixturePath(const std::string& name);

// The system's fonts folder, and the names of the files in it.
std::string FontsFolder();
std::set<std::string> FontsFolderFiles(const std::string& folder = FontsFolder());
// A value of the font registry under root (HKLM or HKCU), or "(none)".
// The data of a value of the fonts key, read through the wide calls; L"(none)" when missing.
std::wstring RegistryRecordW(HKEY root, const std::wstring& valueName);
std::string RegistryRecord(HKEY root, const std::string& valueName);
// Every value name and data of the font registry under root.
std::set<std::string> RegistryRecords(HKEY root);
// How often the list shows exactly this name.
int Occurrences(const ListBox& list, const std::string& name);

// A top-level window of this thread that counts the WM_FONTCHANGE broadcasts it hears.
class FontChangeCounter {
public:
    FontChangeCounter();
    ~FontChangeCounter();
    static inline int count = 0;

private:
    HWND hwnd_;
};

// The window loaded in a process prepared as the program prepares it, with a way to
// install through the real button and read the real outcome box.
class InstallTest : public WindowTest {
protected:
    static void SetUpTestSuite();

    struct Outcome {
        std::string text;
        bool icon = false;
        BoxIcon which = BoxIcon::None;
        bool answered = false;
        // The box's first line, and what follows the blank line after it.
        std::string FirstLine() const { return text.substr(0, text.find('\n')); }
        std::string Reasons() const { return text.find("\n\n") == std::string::npos ? "" : text.substr(text.find("\n\n") + 2); }
    };
    // Puts the text in the path box, clicks 安装字体 and answers the box it shows.
    Outcome InstallFrom(const std::string& path);
    // Clicks 安装字体 with the path box as it is, and answers the box.
    Outcome InstallWhatTheBoxNames();
};

// Selects the family in the font list as a click does (the sample shows it) and gives the
// list the keyboard; its index, or -1 when it is not listed.
int SelectListed(MainWindow& window, const std::string& family);

// Installing, then taking families out through the real menu and keys, with the real
// boxes answered.
class UninstallTest : public InstallTest {
protected:
    void SetUp() override;
    // What an uninstall showed: the question (when asked) and the outcome box.
    struct Shown {
        std::string question, outcome;
    };
    // Selects the family in the list, as a click does, and gives the list the keyboard.
    void Select(const std::string& family);
    // The selected family's uninstall started by the list's context menu and its entry, or
    // by the Delete key; the question answered with `answer`, the outcome box with OK.
    Shown ByMenu(int answer = IDYES);
    Shown ByDeleteKey(int answer = IDYES);
    std::string SampleFace() { return W().编辑框_输入的文字.FontDescription()->lfFaceName; }

private:
    Shown Run(const std::function<void()>& start, int answer);
};
