// Installing several files in one press, and the reasons the outcome box gives: the real
// button, the real box, the real fonts folders and font registry of this test's prefix.
#include <gtest/gtest.h>

#include <shlobj.h>

#include <algorithm>
#include <set>

#include "fontfiles/install_rules.h"
#include "base/dbcs_text.h"
#include "support.h"

namespace {

using Install = InstallTest;

// A folder of this test's own for the files it makes.
std::string Workspace()
{
    const std::string folder = ProgramFolder() + "many";
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder + "\\";
}

std::string WriteText(const std::string& name, const std::string& text)
{
    const std::string path = Workspace() + name;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
    return path;
}

std::string UserFontsFolder()
{
    char local[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, local);
    return std::string(local) + "\\Microsoft\\Windows\\Fonts";
}

// Everything an installation may change: both fonts folders and both keys.
struct Scene {
    std::set<std::string> system = FontsFolderFiles();
    std::set<std::string> user = FontsFolderFiles(UserFontsFolder());
    std::set<std::string> machine = RegistryRecords(HKEY_LOCAL_MACHINE);
    std::set<std::string> own = RegistryRecords(HKEY_CURRENT_USER);
};

std::set<std::string> Added(const std::set<std::string>& before, const std::set<std::string>& after)
{
    std::set<std::string> added;
    std::set_difference(after.begin(), after.end(), before.begin(), before.end(), std::inserter(added, added.end()));
    return added;
}

// One file of a mix: where it is, and what must become of it.
struct Item {
    std::string path;
    InstallResult expected;
};

std::string NameOf(const std::string& path)
{
    return path.substr(path.find_last_of('\\') + 1);
}

// The reason lines the box must show for these items, in their order.
std::string ReasonLines(const std::vector<Item>& items)
{
    std::string lines;
    for (const Item& item : items) {
        if (item.expected == InstallResult::Installed)
            continue;
        if (!lines.empty())
            lines += "\n";
        lines += CutInMiddle(NameOf(item.path).empty() ? item.path : NameOf(item.path), kLongestNameShown) + "：" +
                 InstallReason(item.expected);
    }
    return lines;
}

std::string BoxText(const std::vector<Item>& items)
{
    std::string text;
    for (const Item& item : items)
        text += item.path + "\r\n";
    return text;
}

}  // namespace

// Every mix of sound and refused files: the box's first line, its reasons and icon, what is
// in both fonts folders and both keys afterwards, and one broadcast or none.
TEST_F(Install, EachMixGivesItsBoxItsFilesAndOneBroadcastAtMost)
{
    // One refused file per reason this prefix can show.
    const std::string dup = FontsFolder() + "\\qtest46.ttf";
    ASSERT_TRUE(CopyFileA(TestFontPath(46).c_str(), dup.c_str(), FALSE));
    const std::string sameName = Workspace() + "qtest46.ttf";
    ASSERT_TRUE(CopyFileA(TestFontPath(47).c_str(), sameName.c_str(), FALSE));
    const std::string text = WriteText("readme.ttf", "just text\r\n");
    const std::string readOnlyText = WriteText("locked-text.ttf", "read-only text\r\n");
    SetFileAttributesA(readOnlyText.c_str(), FILE_ATTRIBUTE_READONLY);
    const std::string held = Workspace() + "held.ttf";
    ASSERT_TRUE(CopyFileA(TestFontPath(48).c_str(), held.c_str(), FALSE));
    HANDLE holder = CreateFileA(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    const std::string longName = "C:\\" + std::string(241, 'q') + ".ttf";
    ASSERT_TRUE(CopyFileA(TestFontPath(49).c_str(), longName.c_str(), FALSE));
    const std::vector<Item> refused = {
        {sameName, InstallResult::AlreadyInstalled},
        {text, InstallResult::NotAFont},
        {readOnlyText, InstallResult::NotAFont},
        {FixturePath("damaged-glyf-cut.ttf"), InstallResult::NotAFont},
        {Workspace() + "missing.ttf", InstallResult::Missing},
        {held, InstallResult::InUse},
        {Workspace(), InstallResult::Folder},
        {longName, InstallResult::PathTooLong},
    };

    // A read-only font: installed as a file of the program's own, with normal attributes.
    const std::string readOnlyFont = Workspace() + "qtest52.ttf";
    ASSERT_TRUE(CopyFileA(TestFontPath(52).c_str(), readOnlyFont.c_str(), FALSE));
    SetFileAttributesA(readOnlyFont.c_str(), FILE_ATTRIBUTE_READONLY);

    struct Mix {
        const char* what;
        std::vector<Item> items;
        std::string firstLine;
        BoxIcon icon;
        std::vector<int> installed;  // test fonts that become installed
    };
    std::vector<Mix> mixes = {
        {"all sound",
         {{TestFontPath(50), InstallResult::Installed},
          {TestFontPath(51), InstallResult::Installed},
          {readOnlyFont, InstallResult::Installed}},
         "安装成功",
         BoxIcon::None,
         {50, 51, 52}},
        {"all refused, one per reason", refused, "安装失败", BoxIcon::Error, {}},
        {"sound and refused mixed, a file listed twice",
         {{TestFontPath(53), InstallResult::Installed},
          {Workspace() + "missing.ttf", InstallResult::Missing},
          {TestFontPath(54), InstallResult::Installed},
          {text, InstallResult::NotAFont},
          {TestFontPath(53), InstallResult::AlreadyInstalled}},
         "部分安装成功",
         BoxIcon::Warning,
         {53, 54}},
    };
    // Each reason alone: the same box, with a single reason.
    for (const Item& item : refused)
        mixes.push_back({"one file", {item}, "安装失败", BoxIcon::Error, {}});

    for (const Mix& mix : mixes) {
        SCOPED_TRACE(std::string(mix.what) + ": " + NameOf(mix.items.front().path));
        const Scene before;
        FontChangeCounter counter;
        // Blank lines and a line of spaces name nothing.
        const Outcome outcome = InstallFrom("\r\n   \r\n" + BoxText(mix.items) + "\r\n");
        ASSERT_TRUE(outcome.answered);
        EXPECT_EQ(outcome.FirstLine(), mix.firstLine);
        EXPECT_EQ(outcome.Reasons(), ReasonLines(mix.items));
        EXPECT_EQ(outcome.which, mix.icon);
        EXPECT_EQ(counter.count, mix.installed.empty() ? 0 : 1) << "broadcasts";

        const Scene after;
        std::set<std::string> files, records;
        for (int n : mix.installed) {
            const std::string name = n == 52 ? "qtest52.ttf" : NameOf(TestFontPath(n));
            files.insert(name);
            EXPECT_EQ(RegistryRecord(HKEY_LOCAL_MACHINE, "Quillmoor Test " + std::to_string(n) + " (TrueType)"), name);
            EXPECT_EQ(Occurrences(W().列表框_字体, "Quillmoor Test " + std::to_string(n)), 1);
        }
        EXPECT_EQ(Added(before.system, after.system), files);
        EXPECT_EQ(after.system.size(), before.system.size() + files.size()) << "a file was left or taken";
        EXPECT_EQ(Added(before.machine, after.machine).size(), files.size());
        EXPECT_EQ(after.user, before.user);
        EXPECT_EQ(after.own, before.own);
    }
    CloseHandle(holder);

    const DWORD copied = GetFileAttributesA((FontsFolder() + "\\qtest52.ttf").c_str());
    EXPECT_FALSE(copied & FILE_ATTRIBUTE_READONLY) << "the source's read-only attribute was carried over";
    SetFileAttributesA(readOnlyFont.c_str(), FILE_ATTRIBUTE_NORMAL);
    SetFileAttributesA(readOnlyText.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(longName.c_str());
}

// A thousand paths of which one names a font, and a box of 32,000 characters of paths: the
// sound file is installed, twenty refused ones are named and the rest counted.
TEST_F(Install, AThousandPathsAndAFullBoxAreReadWhole)
{
    std::string box;
    for (int i = 0; i < 1000; ++i)
        box += i == 600 ? TestFontPath(55) + "\r\n" : Workspace() + "gone-" + std::to_string(i) + ".ttf\r\n";
    Outcome outcome = InstallFrom(box);
    EXPECT_EQ(outcome.FirstLine(), "部分安装成功");
    EXPECT_EQ(outcome.which, BoxIcon::Warning);
    const std::string reasons = outcome.Reasons();
    EXPECT_EQ(std::count(reasons.begin(), reasons.end(), '\n'), 20);
    EXPECT_EQ(reasons.substr(0, reasons.find('\n')), "gone-0.ttf：" + std::string(InstallReason(InstallResult::Missing)));
    EXPECT_EQ(reasons.substr(reasons.rfind('\n') + 1), "……另有 979 个文件未能安装。");
    EXPECT_EQ(RegistryRecord(HKEY_LOCAL_MACHINE, "Quillmoor Test 55 (TrueType)"), "qtest55.ttf");

    // 32,000 characters, the sound file last.
    box.clear();
    for (int i = 0; box.size() < 32000 - TestFontPath(56).size() - 2; ++i)
        box += Workspace() + "gone-" + std::to_string(i) + ".ttf\r\n";
    box.resize(32000 - TestFontPath(56).size() - 2, 'x');
    box += "\r\n" + TestFontPath(56);
    ASSERT_EQ(box.size(), 32000u);
    W().编辑框_安装文字目录.SetText(box);
    ASSERT_EQ(W().编辑框_安装文字目录.Text().size(), 32000u) << "the path box did not take the whole text";
    outcome = InstallWhatTheBoxNames();
    EXPECT_EQ(outcome.FirstLine(), "部分安装成功");
    EXPECT_EQ(RegistryRecord(HKEY_LOCAL_MACHINE, "Quillmoor Test 56 (TrueType)"), "qtest56.ttf");
    EXPECT_EQ(Occurrences(W().列表框_字体, "Quillmoor Test 56"), 1);
}

// A family of eight files dragged from another program through the real drop, then
// installed in one press.
TEST_F(Install, EightDroppedFilesAreInstalledInOnePress)
{
    std::string arguments;
    std::string expectedBox;
    for (int n = 57; n <= 64; ++n) {
        arguments += " \"" + TestFontPath(n) + "\"";
        expectedBox += (expectedBox.empty() ? "\"" : " \"") + TestFontPath(n) + "\"";
    }
    const RECT rc = WindowRectOf(W().列表框_字体.hwnd());
    const std::string args = std::to_string((rc.left + rc.right) / 2) + " " + std::to_string((rc.top + rc.bottom) / 2) +
                             " files" + arguments;
    auto helper = StartProgram("drag_source.exe", args);
    ASSERT_TRUE(helper->ok);
    // This thread serves the drop target while the other program drags.
    PumpUntil([&] { return WaitForSingleObject(helper->info.hProcess, 0) == WAIT_OBJECT_0; }, 20000);
    ASSERT_EQ(W().编辑框_安装文字目录.Text(), expectedBox) << "the drop did not arrive";
    EXPECT_EQ(TextOf(W().hwnd()), "Quillmoor字体查看器1.1 - 8 个字体文件");

    const Scene before;
    FontChangeCounter counter;
    const Outcome outcome = InstallWhatTheBoxNames();
    EXPECT_EQ(outcome.text, "安装成功");
    EXPECT_EQ(outcome.which, BoxIcon::None);
    EXPECT_EQ(counter.count, 1);
    EXPECT_EQ(Added(before.system, Scene().system).size(), 8u);
    for (int n = 57; n <= 64; ++n)
        EXPECT_EQ(Occurrences(W().列表框_字体, "Quillmoor Test " + std::to_string(n)), 1) << n;
}

// Three files chosen in the open dialog (the common item dialog), then installed.
TEST_F(Install, ThreeFilesChosenInTheDialogAreInstalled)
{
    const std::vector<std::string> files = {TestFontPath(65), TestFontPath(66), TestFontPath(67)};
    bool itemDialog = false;
    std::thread driver([&] {
        HWND dialog = WaitForFileDialog(W().hwnd());
        if (!dialog)
            return;
        itemDialog = !GetDlgItem(dialog, kFileNameCombo);
        Sleep(300);
        std::string names;
        for (const std::string& file : files)
            names += "\"" + file + "\" ";
        SetWindowTextA(FileNameField(dialog), names.c_str());
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    });
    SendMessageA(W().按钮_打开字体.hwnd(), BM_CLICK, 0, 0);
    driver.join();
    EXPECT_TRUE(itemDialog);
    // The open dialog's own form, readable in the one-line box; the caption counts them.
    ASSERT_EQ(W().编辑框_安装文字目录.Text(), "\"" + files[0] + "\" \"" + files[1] + "\" \"" + files[2] + "\"");

    FontChangeCounter counter;
    const Outcome outcome = InstallWhatTheBoxNames();
    EXPECT_EQ(outcome.text, "安装成功");
    EXPECT_EQ(counter.count, 1);
    for (int n = 65; n <= 67; ++n)
        EXPECT_EQ(RegistryRecord(HKEY_LOCAL_MACHINE, "Quillmoor Test " + std::to_string(n) + " (TrueType)"),
                  "qtest" + std::to_string(n) + ".ttf");
}

// Two files of one family in one press, a sound one and one whose every advance width is
// 0: each gets the verdict it would get alone, whichever comes first. The trial's child
// holds the first file's font when it tries the second, under the same family name.
TEST_F(Install, EachFileOfAFamilyGetsTheVerdictItWouldGetAlone)
{
    const std::string pSound = FixturePath("width-p-sound.ttf"), pZero = FixturePath("width-p-zero.ttf");
    const std::string qSound = FixturePath("width-q-sound.ttf"), qZero = FixturePath("width-q-zero.ttf");
    const std::vector<Item> orders[] = {
        {{pSound, InstallResult::Installed}, {pZero, InstallResult::NotAFont}},
        {{qZero, InstallResult::NotAFont}, {qSound, InstallResult::Installed}},
    };
    for (const std::vector<Item>& items : orders) {
        SCOPED_TRACE(NameOf(items.front().path) + " first");
        const Outcome outcome = InstallFrom(BoxText(items));
        ASSERT_TRUE(outcome.answered);
        EXPECT_EQ(outcome.FirstLine(), "部分安装成功");
        EXPECT_EQ(outcome.Reasons(), ReasonLines(items));
    }
    EXPECT_EQ(RegistryRecord(HKEY_LOCAL_MACHINE, "Quillmoor Width P (TrueType)"), "width-p-sound.ttf");
    EXPECT_EQ(RegistryRecord(HKEY_LOCAL_MACHINE, "Quillmoor Width Q (TrueType)"), "width-q-sound.ttf");
    EXPECT_EQ(GetFileAttributesA((FontsFolder() + "\\width-p-zero.ttf").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetFileAttributesA((FontsFolder() + "\\width-q-zero.ttf").c_str()), INVALID_FILE_ATTRIBUTES);
}

// A font whose cmap is (3,1) format 4 and (0,5) format 14: its characters are the format 4
// ones, which the trial draws, so zero widths are found; the sound one installs.
TEST_F(Install, TheTrialDrawsTheCharactersOfTheSubtableWindowsReads)
{
    const std::vector<Item> items = {{FixturePath("variations-zero.ttf"), InstallResult::NotAFont},
                                     {FixturePath("variations.ttf"), InstallResult::Installed}};
    const Outcome outcome = InstallFrom(BoxText(items));
    ASSERT_TRUE(outcome.answered);
    EXPECT_EQ(outcome.FirstLine(), "部分安装成功");
    EXPECT_EQ(outcome.Reasons(), ReasonLines(items));
    EXPECT_EQ(Occurrences(W().列表框_字体, "Quillmoor Variations"), 1);
}

// A colour emoji font of bitmaps alone (CBLC and CBDT, no outlines), Debian's, unpacked by
// the set-up: judged by its own tables and installed.
TEST_F(Install, AFontOfColourBitmapsAloneInstalls)
{
    const std::string emoji = ProgramFolder() + "..\\..\\emoji-font\\usr\\share\\fonts\\truetype\\noto\\NotoColorEmoji.ttf";
    ASSERT_NE(GetFileAttributesA(emoji.c_str()), INVALID_FILE_ATTRIBUTES) << emoji << ": scripts/setup.sh unpacks it";
    const Outcome outcome = InstallFrom(emoji + "\r\n");
    ASSERT_TRUE(outcome.answered);
    EXPECT_EQ(outcome.text, "安装成功");
    EXPECT_EQ(RegistryRecord(HKEY_LOCAL_MACHINE, "Noto Color Emoji (TrueType)"), "NotoColorEmoji.ttf");
}
