// Installation without the rights to write the system's fonts folder: run by
// scripts/run-as-user.sh as an unprivileged Unix user on a prefix of its own whose
// drive_c/windows/Fonts belongs to root.
#include <gtest/gtest.h>

#include <shlobj.h>

#include "base/dbcs_text.h"
#include "fontfiles/install_rules.h"
#include "support.h"

namespace {

std::string UsersOwnFontsFolder()
{
    char local[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, local);
    return std::string(local) + "\\Microsoft\\Windows\\Fonts";
}

class PerUser : public UninstallTest {
protected:
    void SetUp() override
    {
        UninstallTest::SetUp();
        // The simulation holds: the system's folder cannot be written here.
        const std::string probe = FontsFolder() + "\\probe.tmp";
        HANDLE file = CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
        ASSERT_EQ(file, INVALID_HANDLE_VALUE) << "the system's fonts folder is writable: not a user without rights";
        ASSERT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    }
};

}  // namespace

TEST_F(PerUser, AFontGoesIntoTheUsersOwnFolderAndRecord)
{
    const std::set<std::string> system = FontsFolderFiles();
    const std::set<std::string> machine = RegistryRecords(HKEY_LOCAL_MACHINE);
    FontChangeCounter counter;

    const Outcome outcome = InstallFrom(TestFontPath(45));
    ASSERT_TRUE(outcome.answered);
    EXPECT_EQ(outcome.text, "安装成功");
    EXPECT_FALSE(outcome.icon);
    const std::string copy = UsersOwnFontsFolder() + "\\qtest45.ttf";
    EXPECT_NE(GetFileAttributesA(copy.c_str()), INVALID_FILE_ATTRIBUTES) << copy;
    EXPECT_EQ(RegistryRecord(HKEY_CURRENT_USER, "Quillmoor Test 45 (TrueType)"), copy);
    EXPECT_EQ(Occurrences(W().列表框_字体, "Quillmoor Test 45"), 1);
    EXPECT_GE(counter.count, 1);
    EXPECT_EQ(FontsFolderFiles(), system);
    EXPECT_EQ(RegistryRecords(HKEY_LOCAL_MACHINE), machine);

    // The same file again: the user's copy exists, so it fails and changes nothing.
    const std::set<std::string> user = FontsFolderFiles(UsersOwnFontsFolder());
    EXPECT_EQ(InstallFrom(TestFontPath(45)).text, "安装失败\n\nqtest45.ttf：已经安装过（字体文件夹中已有同名的文件）");
    EXPECT_EQ(FontsFolderFiles(UsersOwnFontsFolder()), user);
}

TEST_F(PerUser, TheUsersOwnFontIsUninstalledByTheUser)
{
    ASSERT_EQ(InstallFrom(TestFontPath(57) + "\r\n").text, "安装成功");
    const std::string copy = UsersOwnFontsFolder() + "\\qtest57.ttf";
    ASSERT_EQ(RegistryRecord(HKEY_CURRENT_USER, "Quillmoor Test 57 (TrueType)"), copy);
    Select("Quillmoor Test 57");
    const Shown shown = ByDeleteKey();
    EXPECT_EQ(shown.question, "确定要卸载字体“Quillmoor Test 57”吗？\n\n" + CutInMiddle(copy, kLongestNameShown));
    EXPECT_EQ(shown.outcome, "卸载成功");
    EXPECT_EQ(GetFileAttributesA(copy.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(RegistryRecord(HKEY_CURRENT_USER, "Quillmoor Test 57 (TrueType)"), "(none)");
    EXPECT_EQ(Occurrences(W().列表框_字体, "Quillmoor Test 57"), 0);
}

TEST_F(PerUser, AMachineFontIsRefusedWithoutTheRights)
{
    // The run put a font file in the system's folder as its owner: recorded and added as the
    // system would have it.
    const std::string file = FontsFolder() + "\\uninstall-key.ttf";
    ASSERT_NE(GetFileAttributesA(file.c_str()), INVALID_FILE_ATTRIBUTES) << file;
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts", 0, nullptr,
                              0, KEY_SET_VALUE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(key, "Quillmoor Key (TrueType)", 0, REG_SZ, reinterpret_cast<const BYTE*>("uninstall-key.ttf"), 18);
    RegCloseKey(key);
    ASSERT_GT(AddFontResourceA(file.c_str()), 0);
    W().Raise(Index(Ctl::按钮_刷新), Event::Clicked, {});
    Select("Quillmoor Key");
    const Shown shown = ByDeleteKey();
    EXPECT_EQ(shown.question, "");
    EXPECT_EQ(shown.outcome, "卸载失败\n\n没有删除系统字体的权限");
    EXPECT_NE(GetFileAttributesA(file.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(RegistryRecord(HKEY_LOCAL_MACHINE, "Quillmoor Key (TrueType)"), "uninstall-key.ttf");
    EXPECT_EQ(Occurrences(W().列表框_字体, "Quillmoor Key"), 1);
}

TEST_F(PerUser, ARejectedFileLeavesNothingInEitherFolder)
{
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string fake = std::string(temp) + "not-a-font-either.ttf";
    HANDLE file = CreateFileA(fake.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << fake;
    DWORD written;
    WriteFile(file, "just text\r\n", 11, &written, nullptr);
    CloseHandle(file);

    SHCreateDirectoryExA(nullptr, UsersOwnFontsFolder().c_str(), nullptr);
    const std::set<std::string> system = FontsFolderFiles();
    const std::set<std::string> user = FontsFolderFiles(UsersOwnFontsFolder());
    const std::set<std::string> records = RegistryRecords(HKEY_CURRENT_USER);
    const Outcome outcome = InstallFrom(fake);
    EXPECT_EQ(outcome.text, "安装失败\n\nnot-a-font-either.ttf：不是字体文件，或文件已损坏");
    EXPECT_TRUE(outcome.icon);
    EXPECT_EQ(FontsFolderFiles(), system);
    EXPECT_EQ(FontsFolderFiles(UsersOwnFontsFolder()), user) << "the rejected copy stayed in the user's folder";
    EXPECT_EQ(RegistryRecords(HKEY_CURRENT_USER), records);
    DeleteFileA(fake.c_str());
}

namespace {

// Neither the system's fonts folder nor the user's own may be written (run-as-user.sh with
// QUILLMOOR_DENY_USER_FONTS=1).
class NoRights : public InstallTest {
protected:
    void SetUp() override
    {
        InstallTest::SetUp();
        for (const std::string& folder : {FontsFolder(), UsersOwnFontsFolder()}) {
            HANDLE file = CreateFileA((folder + "\\probe.tmp").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
            ASSERT_EQ(file, INVALID_HANDLE_VALUE) << folder << " is writable";
        }
    }
};

}  // namespace

TEST_F(NoRights, TheBoxSaysSoAndNothingIsLeftInEitherFolderOrKey)
{
    const std::set<std::string> system = FontsFolderFiles();
    const std::set<std::string> user = FontsFolderFiles(UsersOwnFontsFolder());
    const std::set<std::string> machine = RegistryRecords(HKEY_LOCAL_MACHINE);
    const std::set<std::string> own = RegistryRecords(HKEY_CURRENT_USER);
    FontChangeCounter counter;

    const Outcome outcome = InstallFrom(TestFontPath(68));
    EXPECT_EQ(outcome.text, "安装失败\n\nqtest68.ttf：没有写入字体文件夹的权限");
    EXPECT_EQ(outcome.which, BoxIcon::Error);
    EXPECT_EQ(counter.count, 0);
    EXPECT_EQ(FontsFolderFiles(), system);
    EXPECT_EQ(FontsFolderFiles(UsersOwnFontsFolder()), user);
    EXPECT_EQ(RegistryRecords(HKEY_LOCAL_MACHINE), machine);
    EXPECT_EQ(RegistryRecords(HKEY_CURRENT_USER), own);
}
