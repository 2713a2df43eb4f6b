// Installing font files into this test's own prefix: the real fonts folder, the real
// font registry, the real message boxes.
#include <gtest/gtest.h>

#include <shlobj.h>

#include <algorithm>
#include <set>

#include "app/program.h"
#include "app/wiring.h"
#include "catalogue/font_lists.h"
#include "fontfiles/font_files.h"
#include "support.h"

namespace {

constexpr const char* kFontsKey = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts";

std::string FontsFolder()
{
    char folder[MAX_PATH];
    SHGetSpecialFolderPathA(nullptr, folder, CSIDL_FONTS, FALSE);
    return folder;
}

std::set<std::string> FontsFolderFiles()
{
    std::set<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((FontsFolder() + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do
        names.insert(found.cFileName);
    while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

std::string RegistryRecord(const std::string& valueName)
{
    char data[MAX_PATH] = {};
    DWORD size = sizeof data;
    if (RegGetValueA(HKEY_LOCAL_MACHINE, kFontsKey, valueName.c_str(), RRF_RT_REG_SZ, nullptr, data, &size) !=
        ERROR_SUCCESS)
        return "(none)";
    return data;
}

int Occurrences(const ListBox& list, const std::string& name)
{
    int n = 0;
    for (int i = 0; i < list.Count(); ++i)
        n += list.ItemText(i) == name;
    return n;
}

// A top-level window that counts the font-change broadcasts it receives.
int fontChanges = 0;
LRESULT CALLBACK CountFontChanges(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_FONTCHANGE)
        ++fontChanges;
    return DefWindowProcA(hwnd, msg, wp, lp);
}

class Install : public WindowTest {
protected:
    static void SetUpTestSuite() { PrepareProcess(); }

    struct Outcome {
        std::string text;
        bool icon = false;
        bool answered = false;
    };
    // Puts the text in the path box, clicks 安装字体 and answers the box it shows.
    Outcome InstallFrom(const std::string& path)
    {
        W().编辑框_安装文字目录.SetText(path);
        BoxAnswerer box("提示");
        SendMessageA(W().按钮_安装字体.hwnd(), BM_CLICK, 0, 0);
        Outcome outcome;
        outcome.answered = box.Join();
        outcome.text = box.text;
        outcome.icon = box.hasIcon;
        return outcome;
    }
};

}  // namespace

TEST_F(Install, AGoodFontIsCopiedRegisteredAndListedOnce)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = &CountFontChanges;
    wc.lpszClassName = "FontChangeCounter";
    RegisterClassA(&wc);
    HWND counter =
        CreateWindowA("FontChangeCounter", "counter", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    fontChanges = 0;

    const std::string source = TestFontPath(35);
    const int listedBefore = W().列表框_字体.Count();
    const Outcome outcome = InstallFrom(source);
    ASSERT_TRUE(outcome.answered);
    EXPECT_EQ(outcome.text, "安装成功");
    EXPECT_FALSE(outcome.icon);

    const std::string copy = FontsFolder() + "\\qtest35.ttf";
    EXPECT_NE(GetFileAttributesA(copy.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(RegistryRecord("Quillmoor Test 35 (TrueType)"), "qtest35.ttf");
    EXPECT_EQ(Occurrences(W().列表框_字体, "Quillmoor Test 35"), 1);
    EXPECT_EQ(W().列表框_字体.Count(), listedBefore + 1);
    EXPECT_GE(fontChanges, 1);
    DestroyWindow(counter);

    // The font was added from the installed copy, and the user's file is free.
    EXPECT_TRUE(RemoveFontResourceA(copy.c_str()));
    EXPECT_GT(AddFontResourceA(copy.c_str()), 0);
    HANDLE exclusive = CreateFileA(source.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(exclusive, INVALID_HANDLE_VALUE);
    CloseHandle(exclusive);

    // The same file again fails and leaves the first copy as it was.
    WIN32_FILE_ATTRIBUTE_DATA before, after;
    GetFileAttributesExA(copy.c_str(), GetFileExInfoStandard, &before);
    const Outcome again = InstallFrom(source);
    EXPECT_EQ(again.text, "安装失败");
    EXPECT_TRUE(again.icon);
    GetFileAttributesExA(copy.c_str(), GetFileExInfoStandard, &after);
    EXPECT_EQ(CompareFileTime(&before.ftLastWriteTime, &after.ftLastWriteTime), 0);
    EXPECT_EQ(Occurrences(W().列表框_字体, "Quillmoor Test 35"), 1);
    EXPECT_EQ(RegistryRecord("Quillmoor Test 35 (TrueType) #2"), "(none)");
}

TEST_F(Install, ARejectedFileLeavesNothingBehind)
{
    const std::string fake = ProgramFolder() + "not-a-font.ttf";
    HANDLE file = CreateFileA(fake.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written;
    WriteFile(file, "just text\r\n", 11, &written, nullptr);
    CloseHandle(file);

    const std::set<std::string> before = FontsFolderFiles();
    const Outcome outcome = InstallFrom(fake);
    EXPECT_EQ(outcome.text, "安装失败");
    EXPECT_TRUE(outcome.icon);
    EXPECT_EQ(FontsFolderFiles(), before) << "the copy of a rejected file was left in the fonts folder";
    EXPECT_EQ(RegistryRecord("not-a-font.ttf"), "(none)");
    // Nothing blocks a later attempt with the same name: a real font under that name goes in.
    CopyFileA(TestFontPath(36).c_str(), fake.c_str(), FALSE);
    EXPECT_EQ(InstallFrom(fake).text, "安装成功");
    DeleteFileA(fake.c_str());
}

TEST_F(Install, BadSourcesFailAndChangeNothing)
{
    const std::string held = TestFontPath(37);
    HANDLE holder = CreateFileA(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    CopyFileA(TestFontPath(38).c_str(), (FontsFolder() + "\\already-there.ttf").c_str(), FALSE);

    const std::set<std::string> before = FontsFolderFiles();
    const struct {
        const char* what;
        std::string path;
    } cases[] = {
        {"an empty box", ""},
        {"a folder", ProgramFolder()},
        {"a missing file", ProgramFolder() + "missing.ttf"},
        {"a file held open without sharing", held},
        {"several dropped paths", TestFontPath(39) + "\r\n" + TestFontPath(40) + "\r\n"},
        {"a file inside the fonts folder", FontsFolder() + "\\already-there.ttf"},
    };
    for (const auto& c : cases) {
        const Outcome outcome = InstallFrom(c.path);
        EXPECT_EQ(outcome.text, "安装失败") << c.what;
        EXPECT_TRUE(outcome.icon) << c.what;
        EXPECT_EQ(FontsFolderFiles(), before) << c.what;
    }
    CloseHandle(holder);
    EXPECT_EQ(Occurrences(W().列表框_字体, "Quillmoor Test 37"), 0);
}

TEST_F(Install, ARelativePathResolvesAgainstTheProgramFolder)
{
    ASSERT_TRUE(CopyFileA(TestFontPath(34).c_str(), (ProgramFolder() + "qtest34.ttf").c_str(), FALSE));
    const Outcome outcome = InstallFrom("qtest34.ttf");
    EXPECT_EQ(outcome.text, "安装成功");
    EXPECT_NE(GetFileAttributesA((FontsFolder() + "\\qtest34.ttf").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(Occurrences(W().列表框_字体, "Quillmoor Test 34"), 1);
}

// Run in a new Wine session of the same prefix, after the one that installed.
TEST(AfterRestart, TheInstalledFontIsStillThere)
{
    if (!InstalledFontNames)
        InstalledFontNames.emplace();
    LoadedWindow window;
    ASSERT_TRUE(window.loaded);
    EXPECT_EQ(Occurrences(window->列表框_字体, "Quillmoor Test 35"), 1);
    EXPECT_EQ(RegistryRecord("Quillmoor Test 35 (TrueType)"), "qtest35.ttf");
}
