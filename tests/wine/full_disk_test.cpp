// A fonts folder on a file system that fills up during the copy (a small tmpfs mounted
// there, with a filler file, by scripts/full-disk-prefix.sh).
#include <gtest/gtest.h>

#include "support.h"

using FullDisk = InstallTest;

TEST_F(FullDisk, ACopyThatFailsPartWayLeavesNothingAndSucceedsOnceThereIsRoom)
{
    const std::string filler = FontsFolder() + "\\filler.bin";
    ASSERT_NE(GetFileAttributesA(filler.c_str()), INVALID_FILE_ATTRIBUTES) << "the small file system is not there";
    const std::set<std::string> before = FontsFolderFiles();

    const Outcome full = InstallFrom(TestFontPath(44));
    EXPECT_EQ(full.text, "安装失败\n\nqtest44.ttf：磁盘空间不足");
    EXPECT_EQ(FontsFolderFiles(), before) << "a part of the copy was left in the fonts folder";
    EXPECT_EQ(RegistryRecord(HKEY_LOCAL_MACHINE, "Quillmoor Test 44 (TrueType)"), "(none)");

    ASSERT_TRUE(DeleteFileA(filler.c_str()));
    const Outcome room = InstallFrom(TestFontPath(44));
    EXPECT_EQ(room.text, "安装成功");
    EXPECT_EQ(RegistryRecord(HKEY_LOCAL_MACHINE, "Quillmoor Test 44 (TrueType)"), "qtest44.ttf");
    EXPECT_EQ(Occurrences(W().列表框_字体, "Quillmoor Test 44"), 1);
}
