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
#include "base/dbcs_text.h"
#include "fontfiles/install_rules.h"
#include "support.h"

namespace {

using Install = InstallTest;

}  // namespace

TEST_F(Install, AGoodFontIsCopiedRegisteredAndListedOnce)
{
    FontChangeCounter counter;

    const std::string source = TestFontPath(35);
    const int listedBefore = W().列表框_字体.Count();
    // A line end after the path: the path box's preview would first add the same family
    // from memory in this process, and this test is about the installed copy.
    const Outcome outcome = InstallFrom(source + "\r\n");
    ASSERT_TRUE(outcome.answered);
    EXPECT_EQ(outcome.text, "安装成功");
    EXPECT_FALSE(outcome.icon);

    const std::string copy = FontsFolder() + "\\qtest35.ttf";
    EXPECT_NE(GetFileAttributesA(copy.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(RegistryRecord(HKEY_LOCAL_MACHINE, "Quillmoor Test 35 (TrueType)"), "qtest35.ttf");
    EXPECT_EQ(Occurrences(W().列表框_字体, "Quillmoor Test 35"), 1);
    EXPECT_EQ(W().列表框_字体.Count(), listedBefore + 1);
    EXPECT_GE(counter.count, 1);

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
    EXPECT_EQ(again.text, "安装失败\n\nqtest35.ttf：已经安装过（字体文件夹中已有同名的文件）");
    EXPECT_TRUE(again.icon);
    GetFileAttributesExA(copy.c_str(), GetFileExInfoStandard, &after);
    EXPECT_EQ(CompareFileTime(&before.ftLastWriteTime, &after.ftLastWriteTime), 0);
    EXPECT_EQ(Occurrences(W().列表框_字体, "Quillmoor Test 35"), 1);
    EXPECT_EQ(RegistryRecord(HKEY_LOCAL_MACHINE, "Quillmoor Test 35 (TrueType) #2"), "(none)");
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
    EXPECT_EQ(outcome.text, "安装失败\n\nnot-a-font.ttf：不是字体文件，或文件已损坏");
    EXPECT_TRUE(outcome.icon);
    EXPECT_EQ(FontsFolderFiles(), before) << "the copy of a rejected file was left in the fonts folder";
    EXPECT_EQ(RegistryRecord(HKEY_LOCAL_MACHINE, "not-a-font.ttf"), "(none)");
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
        {"a file inside the fonts folder", FontsFolder() + "\\already-there.ttf"},
    };
    for (const auto& c : cases) {
        const Outcome outcome = InstallFrom(c.path);
        EXPECT_EQ(outcome.FirstLine(), "安装失败") << c.what;
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
    LoadedWindow window;
    ASSERT_TRUE(window.loaded);
    EXPECT_EQ(Occurrences(window->列表框_字体, "Quillmoor Test 35"), 1);
    EXPECT_EQ(RegistryRecord(HKEY_LOCAL_MACHINE, "Quillmoor Test 35 (TrueType)"), "qtest35.ttf");
}

TEST_F(Install, OpenTypeAndCollectionsGetTheSystemsValueNames)
{
    const Outcome otf = InstallFrom(FixturePath("quillmoor-otf.otf"));
    EXPECT_EQ(otf.text, "安装成功");
    EXPECT_EQ(RegistryRecord(HKEY_LOCAL_MACHINE, "Quillmoor OTF (OpenType)"), "quillmoor-otf.otf");
    EXPECT_EQ(Occurrences(W().列表框_字体, "Quillmoor OTF"), 1);

    const Outcome ttc = InstallFrom(FixturePath("quillmoor-pair.ttc"));
    EXPECT_EQ(ttc.text, "安装成功");
    EXPECT_EQ(RegistryRecord(HKEY_LOCAL_MACHINE, "Quillmoor Pair A & Quillmoor Pair B (TrueType)"),
              "quillmoor-pair.ttc");
    EXPECT_EQ(Occurrences(W().列表框_字体, "Quillmoor Pair A"), 1);
    EXPECT_EQ(Occurrences(W().列表框_字体, "Quillmoor Pair B"), 1);
}

// The outcome box is answered before the list is reloaded: while it is open, the list does
// not yet show the new family.
TEST_F(Install, TheListIsReloadedOnlyAfterTheOutcomeBoxCloses)
{
    W().编辑框_安装文字目录.SetText(TestFontPath(33));
    std::atomic<int> listedWhileOpen{-1};
    std::thread answer([&] {
        HWND box = WaitForDialog("提示", 15000, GetCurrentProcessId());
        if (!box)
            return;
        Sleep(50);
        listedWhileOpen = Occurrences(W().列表框_字体, "Quillmoor Test 33");
        PressButton(box);
    });
    SendMessageA(W().按钮_安装字体.hwnd(), BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitForInstallation(F()));
    answer.join();
    EXPECT_EQ(listedWhileOpen, 0) << "the list was reloaded while the box was open";
    EXPECT_EQ(Occurrences(W().列表框_字体, "Quillmoor Test 33"), 1);
}

// A file previewed, then installed: the reloaded list selects its family and the sample
// shows it installed; the private copy is released.
TEST_F(Install, APreviewedFileOnceInstalledIsSelectedInTheList)
{
    const std::string path = TestFontPath(32);
    W().编辑框_安装文字目录.SetText(path);
    ASSERT_TRUE(WaitForPreview(F()));
    ASSERT_EQ(TextOf(W().hwnd()), "Quillmoor字体查看器1.1 - Quillmoor Test 32 (qtest32.ttf, 未安装)");
    EXPECT_EQ(InstallFrom(path).text, "安装成功");
    const int index = W().列表框_字体.FindExact("Quillmoor Test 32");
    ASSERT_GE(index, 0);
    EXPECT_EQ(W().列表框_字体.Selected(), index);
    EXPECT_STREQ(W().编辑框_输入的文字.FontDescription()->lfFaceName, "Quillmoor Test 32");
    EXPECT_EQ(TextOf(W().hwnd()), "Quillmoor字体查看器1.1");
    EXPECT_EQ(RemoveFontResourceExA(path.c_str(), FR_PRIVATE | FR_NOT_ENUM, nullptr), 0) << "not released";
}

TEST_F(Install, AFontNamedOnlyForTheMacintoshIsInstalledAndListed)
{
    const Outcome outcome = InstallFrom(FixturePath("quillmoor-mac.ttf"));
    EXPECT_EQ(outcome.text, "安装成功");
    EXPECT_EQ(RegistryRecordW(HKEY_LOCAL_MACHINE, L"Quillmoor Mac Caf\u00e9 (TrueType)"), L"quillmoor-mac.ttf");
    EXPECT_EQ(Occurrences(W().列表框_字体, "Quillmoor Mac"), 1);
}

TEST_F(Install, FamiliesOutsideTheCodePageAreRecordedUnderTheirOwnNames)
{
    EXPECT_EQ(InstallFrom(FixturePath("hangul-1.ttf")).text, "安装成功");
    EXPECT_EQ(InstallFrom(FixturePath("hangul-2.ttf")).text, "安装成功");
    EXPECT_EQ(RegistryRecordW(HKEY_LOCAL_MACHINE, L"\uB098\uB214\uC2DC\uD5D8\uAC00 (TrueType)"), L"hangul-1.ttf");
    EXPECT_EQ(RegistryRecordW(HKEY_LOCAL_MACHINE, L"\uB098\uB214\uC2DC\uD5D8\uB098 (TrueType)"), L"hangul-2.ttf");
}

TEST_F(Install, AQuotedPathInstallsTheFileItNames)
{
    const Outcome outcome = InstallFrom("\"" + TestFontPath(41) + "\"");
    EXPECT_EQ(outcome.text, "安装成功");
    EXPECT_EQ(RegistryRecord(HKEY_LOCAL_MACHINE, "Quillmoor Test 41 (TrueType)"), "qtest41.ttf");
    EXPECT_EQ(Occurrences(W().列表框_字体, "Quillmoor Test 41"), 1);
}

TEST_F(Install, ATargetPathOverTheLimitIsRefusedWithNothingWritten)
{
    // C:\ and a 245-character name: the source fits the limit, the copy in the fonts
    // folder would not.
    const std::string name = std::string(241, 'q') + ".ttf";
    const std::string source = "C:\\" + name;
    ASSERT_TRUE(CopyFileA(TestFontPath(42).c_str(), source.c_str(), FALSE));
    const std::set<std::string> before = FontsFolderFiles();
    const Outcome outcome = InstallFrom(source);
    EXPECT_EQ(outcome.text, "安装失败\n\n" + CutInMiddle(name, kLongestNameShown) + "：路径太长");
    EXPECT_TRUE(outcome.icon);
    EXPECT_EQ(FontsFolderFiles(), before);
    EXPECT_EQ(RegistryRecord(HKEY_LOCAL_MACHINE, "Quillmoor Test 42 (TrueType)"), "(none)");
    DeleteFileA(source.c_str());
}

// A Chinese font, with its family named in Chinese and in English: previewed under the
// name for this desktop's language, and once installed selected in the list under
// whichever name the list holds.
TEST_F(Install, AChineseNamedFontIsPreviewedAndSelectedUnderItsListedName)
{
    const std::string path = FixturePath("quillmoor-localised.ttf");
    W().编辑框_安装文字目录.SetText(path);
    ASSERT_TRUE(WaitForPreview(F()));
    EXPECT_EQ(TextOf(W().hwnd()), "Quillmoor字体查看器1.1 - 奎尔本地字体 (quillmoor-localised.ttf, 未安装)");
    EXPECT_EQ(InstallFrom(path).text, "安装成功");
    int index = W().列表框_字体.FindExact("奎尔本地字体");
    if (index < 0)
        index = W().列表框_字体.FindExact("Quillmoor Localised");
    ASSERT_GE(index, 0) << "not listed";
    EXPECT_EQ(W().列表框_字体.Selected(), index);
    EXPECT_EQ(TextOf(W().hwnd()), "Quillmoor字体查看器1.1") << "still previewed as not installed";
}

// A file previewed, then overwritten with a damaged font before it is installed: the
// installation refuses what it reads now, and the preview goes on with the bytes it judged;
// the damaged family is never loaded in this process.
TEST_F(Install, AFileChangedAfterItsPreviewIsNeitherInstalledNorLoaded)
{
    const std::string path = ProgramFolder() + "swapped.ttf";
    ASSERT_TRUE(CopyFileA(TestFontPath(75).c_str(), path.c_str(), FALSE));
    W().编辑框_安装文字目录.SetText(path);
    ASSERT_TRUE(WaitForPreview(F()));
    ASSERT_EQ(TextOf(W().hwnd()), "Quillmoor字体查看器1.1 - Quillmoor Test 75 (swapped.ttf, 未安装)");
    ASSERT_TRUE(CopyFileA(FixturePath("damaged-hhea-zero.ttf").c_str(), path.c_str(), FALSE));

    const Outcome outcome = InstallWhatTheBoxNames();
    EXPECT_EQ(outcome.text, "安装失败\n\nswapped.ttf：不是字体文件，或文件已损坏");
    EXPECT_STREQ(W().编辑框_输入的文字.FontDescription()->lfFaceName, "Quillmoor Test 75");
    // Only a loaded family is found by its name.
    HDC dc = GetDC(nullptr);
    HFONT damaged = CreateFontA(-16, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Quillmoor Damaged");
    HGDIOBJ old = SelectObject(dc, damaged);
    char face[LF_FACESIZE] = {};
    GetTextFaceA(dc, LF_FACESIZE, face);
    SelectObject(dc, old);
    DeleteObject(damaged);
    ReleaseDC(nullptr, dc);
    EXPECT_STRNE(face, "Quillmoor Damaged") << "the damaged file was loaded";
    W().编辑框_安装文字目录.SetText("");
    DeleteFileA(path.c_str());
}

// The trial needs no temporary folder: with TEMP and TMP naming a folder that does not
// exist, or one named outside code page 936, a TrueType file is still tried and installed.
TEST_F(Install, NoTemporaryFolderIsNeeded)
{
    char temp[MAX_PATH] = {}, tmp[MAX_PATH] = {};
    GetEnvironmentVariableA("TEMP", temp, MAX_PATH);
    GetEnvironmentVariableA("TMP", tmp, MAX_PATH);
    CreateDirectoryW(L"C:\\사용자", nullptr);
    const std::pair<const wchar_t*, int> cases[] = {{L"C:\\no-such-folder", 76}, {L"C:\\사용자", 77}};
    for (const auto& [folder, font] : cases) {
        SetEnvironmentVariableW(L"TEMP", folder);
        SetEnvironmentVariableW(L"TMP", folder);
        EXPECT_EQ(InstallFrom(TestFontPath(font) + "\r\n").text, "安装成功") << font;
    }
    SetEnvironmentVariableA("TEMP", temp);
    SetEnvironmentVariableA("TMP", tmp);
}

TEST_F(Install, AFrozenProgramDelaysTheOutcomeByTheTimeoutAtMost)
{
    // Another program whose only thread has stopped answering, with a top-level window.
    auto frozen = StartProgram("window_helper.exe", "freeze");
    ASSERT_TRUE(frozen->ok);
    ASSERT_TRUE(WaitForTopLevel("Frozen", frozen->info.dwProcessId)) << "the frozen window did not appear";
    FontChangeCounter counter;

    W().编辑框_安装文字目录.SetText(TestFontPath(43));
    BoxAnswerer box("提示");
    const DWORD start = GetTickCount();
    PostMessageA(W().按钮_安装字体.hwnd(), BM_CLICK, 0, 0);
    // The box is waited for on another thread; this one keeps the window's messages going.
    ASSERT_TRUE(PumpUntil([&] { return box.answered.load(); }, 20000)) << "no outcome box: the program hung";
    const DWORD elapsed = GetTickCount() - start;
    box.Join();
    PumpMessages(100);
    EXPECT_EQ(box.text, "安装成功");
    // 500 ms for each window of the frozen thread (its own and the hidden ones the system
    // gives every thread), and a margin.
    EXPECT_LT(elapsed, 4000u) << "the frozen program held the outcome for " << elapsed << " ms";
    EXPECT_GE(counter.count, 1) << "a responsive window heard of the new font";
    EXPECT_EQ(Occurrences(W().列表框_字体, "Quillmoor Test 43"), 1);
}
