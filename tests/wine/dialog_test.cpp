// The open dialog through its real window: the filter, the path it fills in, the path
// it offers next time, and cancelling.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "app/program.h"
#include "controls/common_dialog.h"
#include "support.h"

#include <commdlg.h>

#include <functional>

namespace {

// OLE drops and the common dialogs need the process prepared as the program prepares it.
class FontFiles : public WindowTest {
protected:
    static void SetUpTestSuite() { PrepareProcess(); }
};

struct DialogVisit {
    std::string filterShown, nameOffered;
    bool itemDialog = false;  // the common item dialog, not the older one
    bool ownerDisabled = false;
    POINT centre = {}, ownerCentre = {};
    RECT rect = {};
    bool seen = false;
    // Runs on the driver's thread while the dialog is open, before it is answered.
    std::function<void(HWND dialog)> whileOpen;
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
        visit.itemDialog = !GetDlgItem(dialog, kFileNameCombo);
        visit.nameOffered = TextOf(FileNameField(dialog));
        visit.ownerDisabled = !IsWindowEnabled(owner);
        RECT d, o;
        GetWindowRect(dialog, &d);
        GetWindowRect(owner, &o);
        visit.centre = {(d.left + d.right) / 2, (d.top + d.bottom) / 2};
        visit.ownerCentre = {(o.left + o.right) / 2, (o.top + o.bottom) / 2};
        visit.rect = d;
        if (visit.whileOpen)
            visit.whileOpen(dialog);
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

}  // namespace

TEST_F(FontFiles, TheOpenDialogFillsThePathBoxAndOffersTheLastPathNextTime)
{
    const std::string chosen = TestFontPath(3);
    HWND button = W().按钮_打开字体.hwnd();
    W().编辑框_安装文字目录.SetText("typed by hand");

    DialogVisit first;
    std::thread driver = DriveDialog(W().hwnd(), chosen, first);
    SendMessageA(button, BM_CLICK, 0, 0);
    driver.join();
    ASSERT_TRUE(first.seen) << "no open dialog appeared";
    EXPECT_TRUE(first.itemDialog);
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

TEST_F(FontFiles, TheDialogStaysOnTheScreenAndTheWindowStaysPutUnderIt)
{
    HWND hwnd = W().hwnd();
    const RECT start = WindowRectOf(hwnd);
    const int width = start.right - start.left, height = start.bottom - start.top;
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    struct Case {
        const char* where;
        int left;
    };
    const Case cases[] = {{"flush left", work.left}, {"flush right", work.right - width}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.where);
        // The pointer on the window, so that it does not tuck itself away before the click.
        MoveWindow(hwnd, c.left, 100, width, height, TRUE);
        SetCursorPos(c.left + width / 2, 100 + height / 2);
        PumpMessages(300);
        ASSERT_EQ(WindowRectOf(hwnd).left, c.left);

        DialogVisit visit;
        RECT duringDialog = {};
        visit.whileOpen = [&](HWND dialog) {
            // The pointer onto the dialog, away from the window: the window stays.
            const RECT d = WindowRectOf(dialog);
            const RECT w = WindowRectOf(hwnd);
            SetCursorPos(c.left == work.left ? d.right - 20 : d.left + 20, (d.top + d.bottom) / 2);
            POINT p;
            GetCursorPos(&p);
            EXPECT_FALSE(p.x >= w.left && p.x <= w.right && p.y >= w.top && p.y <= w.bottom)
                << "the pointer should be on the dialog only";
            Sleep(700);
            duringDialog = WindowRectOf(hwnd);
        };
        std::thread driver = DriveDialog(hwnd, "", visit);
        SendMessageA(W().按钮_打开字体.hwnd(), BM_CLICK, 0, 0);
        driver.join();
        ASSERT_TRUE(visit.seen);
        EXPECT_GE(visit.rect.left, work.left);
        EXPECT_LE(visit.rect.right, work.right);
        EXPECT_GE(visit.rect.top, work.top);
        EXPECT_LE(visit.rect.bottom, work.bottom);
        EXPECT_EQ(duringDialog.left, c.left) << "the window moved while its dialog was in use";
        SetCursorPos(c.left + width / 2, 100 + height / 2);
        PumpMessages(200);
    }
}

// Where the common item dialog cannot be created (here: a thread without COM), the older
// dialog is shown, and takes several files too.
TEST(OlderDialog, TakesSeveralFilesWhereTheItemDialogCannotBeCreated)
{
    const std::string one = TestFontPath(1), two = TestFontPath(2);
    const std::string folder = one.substr(0, one.find_last_of('\\'));
    char previous[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, previous);
    // With no path given, the dialog starts in the current folder.
    SetCurrentDirectoryA(folder.c_str());

    bool confirmed = false, itemDialog = true;
    std::vector<std::string> chosen;
    std::thread shower([&] {
        CommonDlg dialog;  // no window: no owner
        dialog.SetFilter("字体资源|*.ttf|所有文件|*.*");
        dialog.SetAllowMultiSelect(true);
        confirmed = dialog.OpenDialog();
        chosen = dialog.FileNames();
    });
    HWND shown = WaitForFileDialog(nullptr);
    if (shown) {
        itemDialog = !GetDlgItem(shown, kFileNameCombo);
        Sleep(300);
        SetWindowTextA(FileNameField(shown), "\"qtest1.ttf\" \"qtest2.ttf\"");
        PostMessageA(shown, WM_COMMAND, IDOK, 0);
    }
    shower.join();
    SetCurrentDirectoryA(previous);
    ASSERT_TRUE(shown) << "no dialog appeared";
    EXPECT_FALSE(itemDialog);
    EXPECT_TRUE(confirmed);
    EXPECT_EQ(chosen, (std::vector<std::string>{one, two}));
}
