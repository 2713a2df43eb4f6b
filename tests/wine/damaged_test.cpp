// Damaged TrueType files and collections, in a prefix of their own: every one is refused
// whole, and the prefix still starts afterwards (the last step is in wine.cmake).
#include <gtest/gtest.h>

#include "support.h"

using Damaged = InstallTest;

TEST_F(Damaged, EveryDamagedFontIsRefusedAndLeavesNothing)
{
    const char* const files[] = {
        "damaged-table-count.ttf", "damaged-name-count.ttf", "damaged-name-storage.ttf", "damaged-name-offset.ttf",
        "damaged-head-length.ttf", "damaged-truncated.ttf",  "damaged-member.ttc",
    };
    const std::set<std::string> folder = FontsFolderFiles();
    const std::set<std::string> records = RegistryRecords(HKEY_LOCAL_MACHINE);
    for (const char* file : files) {
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
