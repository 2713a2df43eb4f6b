// Uninstalling a family in this test's own prefix: the real fonts folder, the real font
// registry, the real menu and message boxes, another program holding a file open.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>
#include <cstdlib>

#include "fontfiles/uninstall.h"
#include "support.h"

namespace {

using Uninstall = UninstallTest;

bool Exists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The Recycle Bin of this desktop: Wine keeps it in the Unix user's trash.
std::string TrashFolder()
{
    const char* home = std::getenv("HOME");
    std::string folder = std::string("Z:") + (home ? home : "/root") + "/.local/share/Trash/files";
    std::replace(folder.begin(), folder.end(), '/', '\\');
    return folder;
}

// How many files of that name, or that name with a suffix, the Recycle Bin holds.
int Trashed(const std::string& name)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((TrashFolder() + "\\" + name + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return 0;
    int count = 0;
    do
        ++count;
    while (FindNextFileA(search, &found));
    FindClose(search);
    return count;
}

// Another program that holds the file open without sharing it, once it does; null when it
// did not.
std::unique_ptr<StartedProcess> HoldOpen(const std::string& file)
{
    auto holder = StartProgram("window_helper.exe", "hold \"" + file + "\"");
    const bool held = holder->ok && PumpUntil([&] {
        HANDLE probe = CreateFileA(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                   nullptr, OPEN_EXISTING, 0, nullptr);
        if (probe == INVALID_HANDLE_VALUE)
            return true;
        CloseHandle(probe);
        return false;
    });
    return held ? std::move(holder) : nullptr;
}

}  // namespace

TEST_F(Uninstall, AFamilyOfTwoFilesGoesWholeByTheMenuAndComesBack)
{
    const std::string regular = FixturePath("uninstall-regular.ttf"), bold = FixturePath("uninstall-bold.ttf");
    ASSERT_EQ(InstallFrom(regular + "\r\n" + bold + "\r\n").text, "安装成功");
    const std::string folder = FontsFolder();
    ASSERT_TRUE(Exists(folder + "\\uninstall-regular.ttf") && Exists(folder + "\\uninstall-bold.ttf"));
    ListBox& list = W().列表框_字体;
    Select("Quillmoor Uninstall");
    const int index = list.Selected();
    const std::string neighbour = list.ItemText(index + 1 < list.Count() ? index + 1 : index - 1);

    const int trashedBefore = Trashed("uninstall-regular.ttf") + Trashed("uninstall-bold.ttf");
    FontChangeCounter counter;
    FontChangeCounter::count = 0;
    // The window answers throughout: the look and the removal run off its thread.
    SilenceProbe probe(W().hwnd());
    const Shown shown = ByMenu();
    const DWORD slowest = probe.Stop();
    EXPECT_LT(slowest, 1000u) << "the window did not answer for " << slowest << " ms";
    EXPECT_EQ(shown.question, "确定要卸载字体“Quillmoor Uninstall”吗？\n\n" + folder + "\\uninstall-regular.ttf\n" +
                                  folder + "\\uninstall-bold.ttf");
    EXPECT_EQ(shown.outcome, "卸载成功");
    EXPECT_FALSE(Exists(folder + "\\uninstall-regular.ttf"));
    EXPECT_FALSE(Exists(folder + "\\uninstall-bold.ttf"));
    // In the Recycle Bin (under a name of its own when one of that name is there already).
    if (Exists(TrashFolder())) {
        EXPECT_EQ(Trashed("uninstall-regular.ttf") + Trashed("uninstall-bold.ttf"), trashedBefore + 2) << TrashFolder();
    }
    EXPECT_EQ(RegistryRecord(HKEY_LOCAL_MACHINE, "Quillmoor Uninstall (TrueType)"), "(none)");
    EXPECT_EQ(RegistryRecord(HKEY_LOCAL_MACHINE, "Quillmoor Uninstall Bold (TrueType)"), "(none)");
    EXPECT_EQ(FontChangeCounter::count, 1);
    EXPECT_EQ(Occurrences(list, "Quillmoor Uninstall"), 0);
    EXPECT_EQ(list.ItemText(list.Selected()), neighbour);
    EXPECT_EQ(SampleFace(), neighbour);

    EXPECT_EQ(InstallFrom(regular + "\r\n" + bold + "\r\n").text, "安装成功");
    EXPECT_EQ(Occurrences(list, "Quillmoor Uninstall"), 1);
    EXPECT_EQ(RegistryRecord(HKEY_LOCAL_MACHINE, "Quillmoor Uninstall (TrueType)"), "uninstall-regular.ttf");
}

TEST_F(Uninstall, NoChangesNothingAndTheDeleteKeyAsksToo)
{
    ASSERT_EQ(InstallFrom(FixturePath("uninstall-answer.ttf") + "\r\n").text, "安装成功");
    Select("Quillmoor Answer");
    const std::string file = FontsFolder() + "\\uninstall-answer.ttf";
    const Shown no = ByDeleteKey(IDNO);
    EXPECT_EQ(no.question, "确定要卸载字体“Quillmoor Answer”吗？\n\n" + file);
    EXPECT_EQ(no.outcome, "");
    EXPECT_TRUE(Exists(file));
    EXPECT_EQ(RegistryRecord(HKEY_LOCAL_MACHINE, "Quillmoor Answer (TrueType)"), "uninstall-answer.ttf");
    EXPECT_EQ(W().列表框_字体.ItemText(W().列表框_字体.Selected()), "Quillmoor Answer");

    const Shown yes = ByDeleteKey();
    EXPECT_EQ(yes.outcome, "卸载成功");
    EXPECT_FALSE(Exists(file));
    EXPECT_EQ(Occurrences(W().列表框_字体, "Quillmoor Answer"), 0);
}

TEST_F(Uninstall, AHostFontNoFontsFolderHoldsIsRefused)
{
    Select("文泉驿微米黑");
    const std::set<std::string> before = FontsFolderFiles();
    const Shown shown = ByDeleteKey();
    EXPECT_EQ(shown.question, "");
    EXPECT_EQ(shown.outcome, "卸载失败\n\n这个字体不是从字体文件夹安装的");
    EXPECT_EQ(FontsFolderFiles(), before);
    EXPECT_GE(W().列表框_字体.FindExact("文泉驿微米黑"), 0);
}

TEST_F(Uninstall, AFileAnotherProgramHoldsOpenRefusesAndEverythingIsRestored)
{
    ASSERT_EQ(InstallFrom(FixturePath("uninstall-held.ttf") + "\r\n").text, "安装成功");
    const std::string file = FontsFolder() + "\\uninstall-held.ttf";
    auto holder = HoldOpen(file);
    ASSERT_TRUE(holder);
    Select("Quillmoor Held");
    const std::set<std::string> before = FontsFolderFiles();
    const Shown shown = ByMenu();
    TerminateProcess(holder->info.hProcess, 0);
    holder->WaitForExit();
    EXPECT_EQ(shown.outcome, "卸载失败\n\n字体文件正被其他程序使用，请关闭它们后再试");
    EXPECT_EQ(FontsFolderFiles(), before);
    EXPECT_EQ(RegistryRecord(HKEY_LOCAL_MACHINE, "Quillmoor Held (TrueType)"), "uninstall-held.ttf");
    // Added again: still listed, and still the selection.
    EXPECT_EQ(Occurrences(W().列表框_字体, "Quillmoor Held"), 1);
    EXPECT_EQ(W().列表框_字体.ItemText(W().列表框_字体.Selected()), "Quillmoor Held");
    // Once the other program lets go, it goes.
    EXPECT_EQ(ByMenu().outcome, "卸载成功");
    EXPECT_FALSE(Exists(file));
}

TEST_F(Uninstall, TheFontTheInterfaceDrawsWithIsRefused)
{
    ASSERT_EQ(InstallFrom(FixturePath("uninstall-interface.ttf") + "\r\n").text, "安装成功");
    NONCLIENTMETRICSA metrics = {};
    metrics.cbSize = sizeof metrics;
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0));
    NONCLIENTMETRICSA changed = metrics;
    lstrcpyA(changed.lfMessageFont.lfFaceName, "Quillmoor Interface");
    ASSERT_TRUE(SystemParametersInfoA(SPI_SETNONCLIENTMETRICS, sizeof changed, &changed, 0));
    Select("Quillmoor Interface");
    const Shown shown = ByDeleteKey();
    SystemParametersInfoA(SPI_SETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    EXPECT_EQ(shown.outcome, "卸载失败\n\n系统界面正在使用这个字体");
    EXPECT_TRUE(Exists(FontsFolder() + "\\uninstall-interface.ttf"));
    EXPECT_EQ(RegistryRecord(HKEY_LOCAL_MACHINE, "Quillmoor Interface (TrueType)"), "uninstall-interface.ttf");
}

TEST_F(Uninstall, WithNothingSelectedTheEntryIsGreyAndDeleteDoesNothing)
{
    W().列表框_字体.SetSelected(-1);
    SetFocus(W().列表框_字体.hwnd());
    std::vector<std::pair<std::string, bool>> items;
    std::thread menu([&] { AnswerContextMenu(VK_ESCAPE, items); });
    SendKeyStrokes({{VK_SHIFT, true}, {VK_F10, true}, {VK_F10, false}, {VK_SHIFT, false}});
    PumpMessages(600);
    menu.join();
    EXPECT_TRUE(std::find(items.begin(), items.end(), std::make_pair(std::string("卸载字体(&U)…"), false)) !=
                items.end());
    SendKeyStrokes({{VK_DELETE, true}, {VK_DELETE, false}});
    PumpMessages(300);
    EXPECT_FALSE(F().uninstaller.Running());
}

namespace {

void SetMachineValue(const std::string& name, const std::string& data)
{
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts", 0,
                            KEY_SET_VALUE, &key),
              ERROR_SUCCESS);
    RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                   static_cast<DWORD>(data.size() + 1));
    RegCloseKey(key);
}

}  // namespace

// A file recorded by two values, by its bare name and by its full path: one file in the
// question, and both values go with it.
TEST_F(Uninstall, AFileNamedByTwoValuesGoesOnceWithBoth)
{
    ASSERT_EQ(InstallFrom(FixturePath("uninstall-twice.ttf") + "\r\n").text, "安装成功");
    const std::string file = FontsFolder() + "\\uninstall-twice.ttf";
    SetMachineValue("Quillmoor Twice Again (TrueType)", file);
    Select("Quillmoor Twice");
    const Shown shown = ByMenu();
    EXPECT_EQ(shown.question, "确定要卸载字体“Quillmoor Twice”吗？\n\n" + file);
    EXPECT_EQ(shown.outcome, "卸载成功");
    EXPECT_FALSE(Exists(file));
    EXPECT_EQ(RegistryRecord(HKEY_LOCAL_MACHINE, "Quillmoor Twice (TrueType)"), "(none)");
    EXPECT_EQ(RegistryRecord(HKEY_LOCAL_MACHINE, "Quillmoor Twice Again (TrueType)"), "(none)");
}

// Another program holds the file of "Quillmoor Foo Bar", whose names cannot then be read:
// its value's name does not make it a file of "Quillmoor Foo".
TEST_F(Uninstall, AHeldFileOfALongerFamilyIsNotTaken)
{
    ASSERT_EQ(InstallFrom(FixturePath("uninstall-foo.ttf") + "\r\n" + FixturePath("uninstall-foo-bar.ttf") + "\r\n").text,
              "安装成功");
    const std::string foo = FontsFolder() + "\\uninstall-foo.ttf", fooBar = FontsFolder() + "\\uninstall-foo-bar.ttf";
    auto holder = HoldOpen(fooBar);
    ASSERT_TRUE(holder);
    Select("Quillmoor Foo");
    const Shown shown = ByMenu();
    TerminateProcess(holder->info.hProcess, 0);
    holder->WaitForExit();
    EXPECT_EQ(shown.question, "确定要卸载字体“Quillmoor Foo”吗？\n\n" + foo);
    EXPECT_EQ(shown.outcome, "卸载成功");
    EXPECT_FALSE(Exists(foo));
    EXPECT_TRUE(Exists(fooBar));
    EXPECT_EQ(RegistryRecord(HKEY_LOCAL_MACHINE, "Quillmoor Foo Bar (TrueType)"), "uninstall-foo-bar.ttf");
    EXPECT_EQ(Occurrences(W().列表框_字体, "Quillmoor Foo Bar"), 1);
}

// The Recycle Bin cannot take files (its folder cannot be made: this test runs with
// XDG_DATA_HOME below a plain file), and the family's second file is read-only. Nothing
// is lost before every step that can fail has succeeded; then both files are deleted,
// and the outcome says so. No value is written back for a file that is gone.
TEST_F(Uninstall, WithoutARecycleBinTheFilesAreDeletedAndTheOutcomeSaysSo)
{
    ASSERT_EQ(InstallFrom(FixturePath("uninstall-recycle.ttf") + "\r\n" + FixturePath("uninstall-recycle-bold.ttf") +
                          "\r\n")
                  .text,
              "安装成功");
    const std::string regular = FontsFolder() + "\\uninstall-recycle.ttf";
    const std::string bold = FontsFolder() + "\\uninstall-recycle-bold.ttf";
    ASSERT_TRUE(SetFileAttributesA(bold.c_str(), FILE_ATTRIBUTE_READONLY));
    Select("Quillmoor Recycle");
    const Shown shown = ByMenu();
    EXPECT_EQ(shown.outcome, "卸载成功\n\n回收站未能接收以下文件，已将其永久删除：\n" + regular + "\n" + bold);
    EXPECT_FALSE(Exists(regular));
    EXPECT_FALSE(Exists(bold));
    EXPECT_EQ(RegistryRecord(HKEY_LOCAL_MACHINE, "Quillmoor Recycle (TrueType)"), "(none)");
    EXPECT_EQ(RegistryRecord(HKEY_LOCAL_MACHINE, "Quillmoor Recycle Bold (TrueType)"), "(none)");
    EXPECT_EQ(Occurrences(W().列表框_字体, "Quillmoor Recycle"), 0);
}
