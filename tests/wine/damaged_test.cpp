// Damaged TrueType, OpenType and collection files, in a prefix of their own: every one is
// refused whole, and the prefix still starts afterwards (the last step is in wine.cmake).
// So is a file that the program's judge passes but whose trial fails in the child.
#include <gtest/gtest.h>

#include <fstream>

#include "support.h"
#include "win/font_trial.h"

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
        EXPECT_EQ(outcome.text, "安装失败");
        EXPECT_TRUE(outcome.icon);
        EXPECT_EQ(FontsFolderFiles(), folder);
        EXPECT_EQ(RegistryRecords(HKEY_LOCAL_MACHINE), records);
        EXPECT_EQ(counter.count, 0) << "nothing was installed, so nothing is announced";
        EXPECT_EQ(Occurrences(W().列表框_字体, "Quillmoor Damaged"), 0);
    }
}

// A child that faults, or hangs until it is killed, refuses a font the judge passed.
TEST_F(Damaged, AFailedTrialRefusesASoundFile)
{
    UseFontTrialProgram(ProgramFolder() + "trial_stand_in.exe");
    const std::set<std::string> folder = FontsFolderFiles();
    const std::set<std::string> records = RegistryRecords(HKEY_LOCAL_MACHINE);
    const std::pair<const char*, int> cases[] = {{"fault", 42}, {"hang", 43}, {"refuse", 44}};
    for (const auto& [mode, font] : cases) {
        SCOPED_TRACE(mode);
        SetEnvironmentVariableA("QUILLMOOR_STAND_IN", mode);
        const DWORD start = GetTickCount();
        const Outcome outcome = InstallFrom(TestFontPath(font));
        const DWORD took = GetTickCount() - start;
        EXPECT_EQ(outcome.text, "安装失败");
        EXPECT_EQ(FontsFolderFiles(), folder);
        EXPECT_EQ(RegistryRecords(HKEY_LOCAL_MACHINE), records);
        if (std::string(mode) == "hang") {
            EXPECT_GE(took + 100, kFontTrialTimeoutMs) << "killed before its time";
            EXPECT_LT(took, kFontTrialTimeoutMs + 5000) << "not killed";
        }
    }
    SetEnvironmentVariableA("QUILLMOOR_STAND_IN", nullptr);
    // The product's own trial passes the same kind of file.
    UseFontTrialProgram(ProgramFolder() + "quillmoor.exe");
    EXPECT_EQ(InstallFrom(TestFontPath(45)).text, "安装成功");
}
