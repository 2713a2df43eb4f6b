// Damaged TrueType, OpenType and collection files, in a prefix of their own: every one is
// refused whole, and the prefix still starts afterwards (the last step is in wine.cmake).
// So is a file that the program's judge passes but whose trial fails in the child.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <fstream>
#include <iterator>
#include <set>
#include <thread>

#include "fontfiles/font_files.h"
#include "fontfiles/install_rules.h"
#include "support.h"
#include "fontcheck/font_trial.h"

using Damaged = InstallTest;

namespace {

// Every damaged fixture the build made, one per rule of the judge (fixtures/damaged.txt).
std::vector<std::string> DamagedFixtures()
{
    std::ifstream list(FixturePath("damaged.txt"));
    std::vector<std::string> files;
    std::string file, fault;
    while (list >> file >> fault)
        files.push_back(file);
    return files;
}

}  // namespace

TEST_F(Damaged, EveryDamagedFontIsRefusedAndLeavesNothing)
{
    const std::vector<std::string> files = DamagedFixtures();
    ASSERT_GE(files.size(), 19u);
    const std::set<std::string> folder = FontsFolderFiles();
    const std::set<std::string> records = RegistryRecords(HKEY_LOCAL_MACHINE);
    for (const std::string& file : files) {
        SCOPED_TRACE(file);
        FontChangeCounter counter;
        const Outcome outcome = InstallFrom(FixturePath(file));
        ASSERT_TRUE(outcome.answered);
        EXPECT_EQ(outcome.text, "安装失败\n\n" + file + "：不是字体文件，或文件已损坏");
        EXPECT_TRUE(outcome.icon);
        EXPECT_EQ(FontsFolderFiles(), folder);
        EXPECT_EQ(RegistryRecords(HKEY_LOCAL_MACHINE), records);
        EXPECT_EQ(counter.count, 0) << "nothing was installed, so nothing is announced";
        EXPECT_EQ(Occurrences(W().列表框_字体, "Quillmoor Damaged"), 0);
    }
}

// A child that faults, or hangs until it is killed, refuses a font the judge passed, each
// with a reason of its own.
TEST_F(Damaged, AFailedTrialRefusesASoundFile)
{
    F().trials.UseProgram(ProgramFolder() + "trial_stand_in.exe");
    const std::set<std::string> folder = FontsFolderFiles();
    const std::set<std::string> records = RegistryRecords(HKEY_LOCAL_MACHINE);
    const std::tuple<const char*, int, InstallResult> cases[] = {{"fault", 42, InstallResult::TrialCrashed},
                                                                 {"hang", 43, InstallResult::TrialTimedOut},
                                                                 {"refuse", 44, InstallResult::NotAFont}};
    for (const auto& [mode, font, result] : cases) {
        SCOPED_TRACE(mode);
        SetEnvironmentVariableA("QUILLMOOR_STAND_IN", mode);
        const DWORD start = GetTickCount();
        // A line end after the path: the path box's preview would try the file first.
        const Outcome outcome = InstallFrom(TestFontPath(font) + "\r\n");
        const DWORD took = GetTickCount() - start;
        EXPECT_EQ(outcome.text, "安装失败\n\nqtest" + std::to_string(font) + ".ttf：" + InstallReason(result));
        EXPECT_EQ(FontsFolderFiles(), folder);
        EXPECT_EQ(RegistryRecords(HKEY_LOCAL_MACHINE), records);
        if (std::string(mode) == "hang") {
            EXPECT_GE(took + 100, kFontTrialTimeoutMs) << "killed before its time";
            EXPECT_LT(took, kFontTrialTimeoutMs + 5000) << "not killed";
        }
    }
    SetEnvironmentVariableA("QUILLMOOR_STAND_IN", nullptr);
    // The product's own trial passes the same kind of file.
    F().trials.UseProgram(ProgramFolder() + "quillmoor.exe");
    EXPECT_EQ(InstallFrom(TestFontPath(45)).text, "安装成功");
}

namespace {

std::vector<char> BytesOf(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

}  // namespace

// The file is overwritten with another font while it is being installed, after it was
// read and judged (by the trial's child): what lands is the version that was checked.
TEST_F(Damaged, AFileChangedDuringTheInstallationIsInstalledAsItWasRead)
{
    const std::string source = ProgramFolder() + "changing.ttf";
    ASSERT_TRUE(CopyFileA(TestFontPath(46).c_str(), source.c_str(), FALSE));
    F().trials.UseProgram(ProgramFolder() + "trial_stand_in.exe");
    SetEnvironmentVariableA("QUILLMOOR_STAND_IN", "replace");
    SetEnvironmentVariableA("QUILLMOOR_REPLACE_TARGET", source.c_str());
    SetEnvironmentVariableA("QUILLMOOR_REPLACE_WITH", TestFontPath(47).c_str());

    // A line end after the path keeps the path box's preview from trying the file first:
    // its verdict would be found by the installation, and no trial would run during it.
    const Outcome outcome = InstallFrom(source + "\r\n");

    SetEnvironmentVariableA("QUILLMOOR_STAND_IN", nullptr);
    F().trials.UseProgram(ProgramFolder() + "quillmoor.exe");
    ASSERT_EQ(BytesOf(source), BytesOf(TestFontPath(47))) << "the file did not change during the installation";
    EXPECT_EQ(outcome.text, "安装成功");
    EXPECT_EQ(BytesOf(FontsFolder() + "\\changing.ttf"), BytesOf(TestFontPath(46)))
        << "the installed copy is not the file that was read and checked";
    EXPECT_EQ(RegistryRecord(HKEY_LOCAL_MACHINE, "Quillmoor Test 46 (TrueType)"), "changing.ttf");
    DeleteFileA(source.c_str());
}

// A press whose child hangs: the window answers throughout, shows how far the press got,
// takes no second press, and says the trial ran out of time. One child serves the press:
// it is started again only after the one that hung was killed.
TEST_F(Damaged, TheWindowAnswersThroughoutAPressWhoseChildHangs)
{
    F().trials.UseProgram(ProgramFolder() + "trial_stand_in.exe");
    SetEnvironmentVariableA("QUILLMOOR_STAND_IN", "hang");
    const std::string box = TestFontPath(50) + "\r\n" + TestFontPath(51) + "\r\n";
    W().编辑框_安装文字目录.SetText(box);

    SilenceProbe probe(W().hwnd());
    BoxAnswerer answer("提示");
    SendMessageA(W().按钮_安装字体.hwnd(), BM_CLICK, 0, 0);
    std::set<std::string> captions;
    bool disabled = true;
    PumpUntil(
        [&] {
            if (F().installer.Running()) {
                captions.insert(TextOf(W().hwnd()));
                disabled = disabled && !IsWindowEnabled(W().按钮_安装字体.hwnd()) &&
                           !IsWindowEnabled(W().编辑框_安装文字目录.hwnd());
            }
            return !F().installer.Running() && answer.answered.load();
        },
        30000);
    const DWORD slowest = probe.Stop();
    answer.Join();
    SetEnvironmentVariableA("QUILLMOOR_STAND_IN", nullptr);
    F().trials.UseProgram(ProgramFolder() + "quillmoor.exe");

    EXPECT_LT(slowest, 1000u) << "the window did not answer for " << slowest << " ms";
    EXPECT_TRUE(disabled) << "the install button or the path box took input during the press";
    EXPECT_TRUE(captions.count("Quillmoor字体查看器1.1 - 正在检查字体 1/2…")) << "no progress shown";
    EXPECT_TRUE(captions.count("Quillmoor字体查看器1.1 - 正在检查字体 2/2…")) << "no progress shown";
    const std::string timedOut = InstallReason(InstallResult::TrialTimedOut);
    EXPECT_EQ(answer.text, "安装失败\n\nqtest50.ttf：" + timedOut + "\nqtest51.ttf：" + timedOut);
    EXPECT_TRUE(IsWindowEnabled(W().按钮_安装字体.hwnd()));
    EXPECT_TRUE(IsWindowEnabled(W().编辑框_安装文字目录.hwnd()));
    // Back to what it said before the press: the box still names two files.
    EXPECT_EQ(TextOf(W().hwnd()), "Quillmoor字体查看器1.1 - 2 个字体文件");
}

// The older formats are judged too: a .fot stands for the TrueType file it names, which
// must itself be sound; a .fon from Wine's own fonts goes in.
TEST_F(Damaged, OlderFormatsAreJudgedAndAFotByTheFileItNames)
{
    const std::string folder = ProgramFolder() + "older\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    ASSERT_TRUE(CopyFileA(FixturePath("damaged-hhea-zero.ttf").c_str(), (folder + "broken.ttf").c_str(), FALSE));
    const std::string fot = folder + "broken.fot";
    DeleteFileA(fot.c_str());
    ASSERT_TRUE(CreateScalableFontResourceA(0, fot.c_str(), "broken.ttf", folder.c_str()));
    const std::set<std::string> before = FontsFolderFiles();
    EXPECT_EQ(InstallFrom(fot).text, "安装失败\n\nbroken.fot：" +
                                         std::string(InstallReason(InstallResult::BadScalableTarget)));
    EXPECT_EQ(FontsFolderFiles(), before);

    // A font resource file without a face name.
    std::vector<char> fon(4096, 0);
    fon[0] = 0x00;
    fon[1] = 0x03;  // version 3
    fon[2] = static_cast<char>(0x00);
    fon[3] = 0x10;  // size 4096
    fon[88] = 10;   // pixel height
    fon[95] = 0x20;
    fon[96] = static_cast<char>(0xFF);
    {
        std::ofstream out(folder + "broken.fnt", std::ios::binary);
        out.write(fon.data(), static_cast<std::streamsize>(fon.size()));
    }
    EXPECT_EQ(InstallFrom(folder + "broken.fnt").text, "安装失败\n\nbroken.fnt：不是字体文件，或文件已损坏");

    // Wine's own Courier, unpacked by the set-up beside the build folders.
    const std::string wineFon = ProgramFolder() + "..\\..\\wine-fonts\\usr\\share\\wine\\fonts\\coure.fon";
    ASSERT_TRUE(CopyFileA(wineFon.c_str(), (folder + "qm-coure.fon").c_str(), FALSE)) << wineFon;
    EXPECT_EQ(InstallFrom(folder + "qm-coure.fon").text, "安装成功");
}

// A .fot names a TrueType file outside the fonts folder, which could change after the
// installation: what goes in is that file's judged bytes, under its own name, and the
// .fot is not kept. Changing the outside file afterwards changes nothing installed.
TEST_F(Damaged, AFotInstallsTheJudgedTrueTypeFileItself)
{
    const std::string folder = ProgramFolder() + "pointer\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string trueType = folder + "qtest80.ttf", fot = folder + "qtest80.fot";
    ASSERT_TRUE(CopyFileA(TestFontPath(80).c_str(), trueType.c_str(), FALSE));
    DeleteFileA(fot.c_str());
    ASSERT_TRUE(CreateScalableFontResourceA(0, fot.c_str(), trueType.c_str(), nullptr));
    EXPECT_EQ(InstallFrom(fot).text, "安装成功");
    const std::string installed = FontsFolder() + "\\qtest80.ttf";
    EXPECT_NE(GetFileAttributesA(installed.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetFileAttributesA((FontsFolder() + "\\qtest80.fot").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(RegistryRecord(HKEY_LOCAL_MACHINE, "Quillmoor Test 80 (TrueType)"), "qtest80.ttf");
    // The outside file replaced by a damaged one: the installed copy is the judged bytes.
    ASSERT_TRUE(CopyFileA(FixturePath("damaged-hhea-zero.ttf").c_str(), trueType.c_str(), FALSE));
    std::ifstream a(installed, std::ios::binary), b(TestFontPath(80), std::ios::binary);
    EXPECT_TRUE(std::equal(std::istreambuf_iterator<char>(a), std::istreambuf_iterator<char>(),
                           std::istreambuf_iterator<char>(b), std::istreambuf_iterator<char>()));
}

// A path typed and 安装字体 pressed at once: the preview and the press want the same bytes
// tried, and one trial serves both.
TEST_F(Damaged, ThePreviewAndAPressOfTheSameBytesShareOneTrial)
{
    const std::string log = ProgramFolder() + "trials.log";
    DeleteFileA(log.c_str());
    F().trials.UseProgram(ProgramFolder() + "trial_stand_in.exe");
    SetEnvironmentVariableA("QUILLMOOR_STAND_IN", "count");
    SetEnvironmentVariableA("QUILLMOOR_COUNT_FILE", log.c_str());
    W().编辑框_安装文字目录.SetText(TestFontPath(79));
    const Outcome outcome = InstallWhatTheBoxNames();
    ASSERT_TRUE(WaitForPreview(F()));
    SetEnvironmentVariableA("QUILLMOOR_STAND_IN", nullptr);
    F().trials.UseProgram(ProgramFolder() + "quillmoor.exe");
    EXPECT_EQ(outcome.text, "安装成功");
    std::ifstream lines(log);
    int trials = 0;
    for (std::string line; std::getline(lines, line);)
        ++trials;
    EXPECT_EQ(trials, 1) << "the same bytes were tried more than once";
}
