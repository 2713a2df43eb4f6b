#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <set>
#include <vector>

#include "base/command_line.h"
#include "base/dbcs_text.h"
#include "fontdata/font_file.h"
#include "controls/drop_rules.h"
#include "fontfiles/install_rules.h"
#include "fontfiles/uninstall_rules.h"
#include "base/dbcs_text.h"

using namespace std::string_literals;

TEST(InstalledFileName, TakesTheLastComponent)
{
    struct Case {
        std::string path, expected;
    };
    const Case cases[] = {
        {"C:\\fonts\\a.ttf", "a.ttf"},
        {"C:/fonts/b.ttf", "b.ttf"},
        {"C:c.ttf", "c.ttf"},
        {"d.ttf", "d.ttf"},
        {"C:\\x/y:z.ttf", "z.ttf"},
        {"C:\\dir\\", ""},
        {"C:\\\xB1\x5C.ttf", "\xB1\x5C.ttf"},  // second byte looks like "\"
        {"C:\\" + std::string(300, 'n') + ".ttf", std::string(255, 'n')},
        {"C:\\" + std::string(254, 'n') + "\xD7\xD6", std::string(254, 'n')},  // no half character
    };
    for (const Case& c : cases)
        EXPECT_EQ(InstalledFileName(c.path), c.expected) << c.path;
    EXPECT_EQ(JoinPath("C:\\windows\\Fonts", "a.ttf"), "C:\\windows\\Fonts\\a.ttf");
    EXPECT_EQ(CutText("ab\xD7\xD6", 3), "ab");
}

TEST(FontRegistryName, NamesTheFontAsTheSystemsInstallerDoes)
{
    struct Case {
        std::vector<std::u16string> names;
        bool cff;
        std::u16string expected;
    };
    const Case cases[] = {
        {{u"Fam Bold"}, false, u"Fam Bold (TrueType)"},
        {{u"Fam CFF"}, true, u"Fam CFF (OpenType)"},
        {{u"Member A", u"Member B"}, false, u"Member A & Member B (TrueType)"},
        {{u"나눔고딕"}, false, u"나눔고딕 (TrueType)"},
        {{}, false, u"old.fon"},
        {{u""}, true, u"old.fon"},
    };
    for (const Case& c : cases)
        EXPECT_TRUE(FontRegistryName(c.names, c.cff, u"old.fon") == c.expected);
}

TEST(UnquotedPath, OnePairOfQuotesAroundOnePath)
{
    const std::pair<std::string, std::string> cases[] = {
        {"\"C:\\fonts\\a.ttf\"", "C:\\fonts\\a.ttf"},
        {"C:\\fonts\\a.ttf", "C:\\fonts\\a.ttf"},
        {"\"C:\\\xD7\xD6.ttf\"", "C:\\\xD7\xD6.ttf"},
        {"\"\"", ""},
        {"\"", "\""},
        {"\"a.ttf", "\"a.ttf"},
        {"a.ttf\"", "a.ttf\""},
        {"\"a\" \"b\"", "\"a\" \"b\""},
        {" \"a.ttf\"", " \"a.ttf\""},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(UnquotedPath(text), expected) << text;
    EXPECT_TRUE(FitsPathLimit(std::string(259, 'x')));
    EXPECT_FALSE(FitsPathLimit(std::string(260, 'x')));
}

TEST(InstallPaths, OnePerLineBlankLinesAndQuotesIgnored)
{
    using Paths = std::vector<std::string>;
    struct Case {
        std::string text;
        Paths expected;
    };
    const Case cases[] = {
        {"", {}},
        {"C:\\a.ttf", {"C:\\a.ttf"}},
        {"C:\\a.ttf\r\nC:\\b.ttf\r\n", {"C:\\a.ttf", "C:\\b.ttf"}},
        {"C:\\a.ttf\nC:\\b.ttf\rC:\\c.ttf", {"C:\\a.ttf", "C:\\b.ttf", "C:\\c.ttf"}},
        {"\r\n\r\n   \r\n\t\r\nC:\\a.ttf\r\n\r\n", {"C:\\a.ttf"}},
        {"  \"C:\\my fonts\\a.ttf\"  \r\n\"C:\\b.ttf\"", {"C:\\my fonts\\a.ttf", "C:\\b.ttf"}},
        {"\"   \"\r\n\"\"", {}},
        {"C:\\a.ttf\r\nC:\\a.ttf\r\n", {"C:\\a.ttf", "C:\\a.ttf"}},  // each stands alone
        {"C:\\\xB1\x5C.ttf\r\n", {"C:\\\xB1\x5C.ttf"}},
        // The open dialog's form: quoted paths separated by blanks, several on a line.
        {"\"C:\\a.ttf\" \"C:\\my fonts\\b.ttf\" \"C:\\c.ttf\"", {"C:\\a.ttf", "C:\\my fonts\\b.ttf", "C:\\c.ttf"}},
        {" \"C:\\a.ttf\"\t  \"C:\\b.ttf\" ", {"C:\\a.ttf", "C:\\b.ttf"}},  // mixed blanks
        {"\"C:\\b.ttf\"\"C:\\c.ttf\" ", {"\"C:\\b.ttf\"\"C:\\c.ttf\""}},  // nothing between
        {"\"C:\\a.ttf\" \"C:\\b.ttf\"\r\nC:\\c.ttf\r\n\"C:\\d.ttf\"", {"C:\\a.ttf", "C:\\b.ttf", "C:\\c.ttf", "C:\\d.ttf"}},
        // A quote inside a name, a lone quote, text between: the line as it is, which names
        // no file (no Windows path holds a quote).
        {"\"C:\\a\"b.ttf\"", {"\"C:\\a\"b.ttf\""}},
        {"\"C:\\a.ttf", {"\"C:\\a.ttf"}},
        {"\"C:\\a.ttf\" and \"C:\\b.ttf\"", {"\"C:\\a.ttf\" and \"C:\\b.ttf\""}},
        {"\"\xB1\x5C.ttf\" \"\xB1\x5C\\b.ttf\"", {"\xB1\x5C.ttf", "\xB1\x5C\\b.ttf"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(InstallPaths(c.text), c.expected) << c.text;

    // A box of 32,000 characters of paths: every one of them, nothing more.
    std::string box;
    int count = 0;
    while (box.size() < 32000) {
        box += "C:\\fonts\\family-" + std::to_string(count++) + ".ttf\r\n";
    }
    const Paths paths = InstallPaths(box);
    ASSERT_EQ(paths.size(), static_cast<std::size_t>(count));
    EXPECT_EQ(paths.back(), "C:\\fonts\\family-" + std::to_string(count - 1) + ".ttf");
    EXPECT_EQ(InstallPaths(JoinDroppedPaths(paths)), paths);  // and the same in the dialog's form
}

// The installer's count as the path box changes, from the state a fresh installer has.
TEST(NamedFilesCount, TakesBackOnlyTheCaptionItGave)
{
    NamedFilesCount count;
    const std::pair<std::size_t, std::optional<std::string>> steps[] = {
        {1, std::nullopt},      // one file: the caption is someone else's (a preview's)
        {0, std::nullopt},
        {3, "Q - 3 个字体文件"},
        {2, "Q - 2 个字体文件"},
        {1, "Q"},               // its own count taken back
        {1, std::nullopt},      // and nothing more
        {0, std::nullopt},
        {4, "Q - 4 个字体文件"},
        {0, "Q"},
    };
    for (const auto& [files, caption] : steps)
        EXPECT_EQ(count.Update("Q", files), caption) << files << " files";
}

TEST(FileCountCaption, OnlyForSeveralFiles)
{
    EXPECT_EQ(FileCountCaption("Q", 0), "Q");
    EXPECT_EQ(FileCountCaption("Q", 1), "Q");
    EXPECT_EQ(FileCountCaption("Quillmoor字体查看器1.1", 3), "Quillmoor字体查看器1.1 - 3 个字体文件");
}

TEST(ReportInstallation, FirstLineIconAndAReasonPerRefusedFile)
{
    using R = InstallResult;
    using Icon = InstallReport::Icon;
    struct Case {
        const char* what;
        std::vector<FileOutcome> outcomes;
        std::string text;
        Icon icon;
    };
    const Case cases[] = {
        {"all installed", {{"C:\\a.ttf", R::Installed}, {"C:\\b.ttf", R::Installed}}, "安装成功", Icon::None},
        {"one refused", {{"C:\\a.ttf", R::AlreadyInstalled}}, "安装失败\n\na.ttf：已经安装过（字体文件夹中已有同名的文件）",
         Icon::Error},
        {"all refused",
         {{"C:\\x\\a.txt", R::NotAFont}, {"D:\\b.ttf", R::InUse}},
         "安装失败\n\na.txt：不是字体文件，或文件已损坏\nb.ttf：无法读取：另一个程序正在使用这个文件，请关闭它后再试",
         Icon::Error},
        {"mixed",
         {{"C:\\a.ttf", R::Installed}, {"C:\\b.ttf", R::Missing}, {"C:\\c.ttf", R::Installed}},
         "部分安装成功\n\nb.ttf：无法读取：找不到这个文件", Icon::Warning},
        {"a folder ending in a separator", {{"C:\\fonts\\", R::Folder}},
         "安装失败\n\nC:\\fonts\\：这是文件夹，不是字体文件", Icon::Error},
        {"nothing named", {}, "安装失败\n\n没有指定要安装的字体文件。", Icon::Error},
    };
    for (const Case& c : cases) {
        const InstallReport report = ReportInstallation(c.outcomes);
        EXPECT_EQ(report.text, c.text) << c.what;
        EXPECT_EQ(report.icon, c.icon) << c.what;
    }
    // Every reason is its own, and none is empty.
    std::set<std::string> reasons;
    for (R r : {R::AlreadyInstalled, R::NotAFont, R::Missing, R::InUse, R::Unreadable, R::Folder, R::NoRights,
                R::DiskFull, R::PathTooLong, R::Failed})
        reasons.insert(InstallReason(r));
    EXPECT_EQ(reasons.size(), 10u);
    EXPECT_EQ(reasons.count(""), 0u);
}

TEST(ReportInstallation, NamesTwentyRefusedFilesAndCountsTheRest)
{
    std::vector<FileOutcome> outcomes;
    for (int i = 0; i < 999; ++i)
        outcomes.push_back({"C:\\missing-" + std::to_string(i) + ".ttf", InstallResult::Missing});
    outcomes.insert(outcomes.begin() + 500, {"C:\\sound.ttf", InstallResult::Installed});
    const std::string text = ReportInstallation(outcomes).text;
    EXPECT_EQ(text.substr(0, text.find('\n')), "部分安装成功");
    // The first line, a blank one, twenty reasons and the count: 23 lines.
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 23 - 1);
    EXPECT_NE(text.find("missing-19.ttf："), std::string::npos);
    EXPECT_EQ(text.find("missing-20.ttf"), std::string::npos);
    EXPECT_EQ(text.substr(text.rfind('\n') + 1), "……另有 979 个文件未能安装。");

    // Exactly twenty: no count line.
    outcomes.resize(20);
    const std::string twenty = ReportInstallation(outcomes).text;
    EXPECT_EQ(std::count(twenty.begin(), twenty.end(), '\n'), 22 - 1);
}

TEST(IsDeviceName, ReservedNamesInAnyCaseWithOrWithoutAnExtension)
{
    const std::pair<const char*, bool> cases[] = {
        {"NUL", true},          {"nul", true},          {"C:\\fonts\\COM1", true}, {"C:\\fonts\\com9.ttf", true},
        {"LPT1", true},         {"\\\\.\\COM1", true},  {"\\\\.\\PhysicalDrive0", true},
        {"con .ttf", true},     {"CONOUT$", true},      {"aux", true},
        {"COM0", false},        {"COM10", false},       {"NULL.ttf", false},       {"C:\\NUL\\a.ttf", false},
        {"console.ttf", false}, {"C:\\fonts\\a.ttf", false}, {"\\\\server\\share\\NUL.txt", true},
    };
    for (const auto& [path, device] : cases)
        EXPECT_EQ(IsDeviceName(path), device) << path;
    EXPECT_STRNE(InstallReason(InstallResult::Device), InstallReason(InstallResult::NotAFont));
    EXPECT_STRNE(InstallReason(InstallResult::TrialTimedOut), InstallReason(InstallResult::NotAFont));
    EXPECT_STRNE(InstallReason(InstallResult::TrialCrashed), InstallReason(InstallResult::NotAFont));
}

TEST(ReportInstallation, CutsLongNamesInTheMiddleSoThatTheBoxFits)
{
    const std::string longName = std::string(120, 'a') + "测试" + std::string(121, 'b') + ".ttf";  // 245 bytes
    const std::string line(32000, 'x');
    const InstallReport report = ReportInstallation(
        {{"C:\\fonts\\" + longName, InstallResult::NotAFont}, {line, InstallResult::Missing}});
    std::size_t longest = 0, start = 0;
    while (start <= report.text.size()) {
        std::size_t end = report.text.find('\n', start);
        if (end == std::string::npos)
            end = report.text.size();
        longest = std::max(longest, end - start);
        start = end + 1;
    }
    EXPECT_LE(longest, kLongestNameShown + std::string("：").size() +
                           std::string(InstallReason(InstallResult::NotAFont)).size());
    EXPECT_NE(report.text.find("\naaaaa"), std::string::npos);  // the name's start and end stay
    EXPECT_NE(report.text.find("b.ttf：" + std::string(InstallReason(InstallResult::NotAFont))),
              std::string::npos);
}

namespace {

RecordedFile Recorded(const char16_t* path, bool perUser, std::vector<RecordedFile::Face> faces)
{
    return {{std::u16string(u"value ") + path}, path, perUser, std::move(faces)};
}

}  // namespace

TEST(FilesOfFamily, UnderAnyOfItsNamesWithCollectionsOfSeveralFamilies)
{
    const std::vector<RecordedFile> files = {
        Recorded(u"a.ttf", false, {{{u"Quillmoor Song", u"奎尔宋体"}, u"奎尔宋体"}}),
        Recorded(u"b.ttf", true, {{{u"Quillmoor Sans"}, u"Quillmoor Sans"}}),
        Recorded(u"ab.ttc", false,
                 {{{u"Quillmoor Song", u"奎尔宋体"}, u"奎尔宋体"}, {{u"Quillmoor Mono"}, u"Quillmoor Mono"},
                  {{u"Quillmoor Sans"}, u"Quillmoor Sans"}}),
        Recorded(u"bitmap.fon", false, {}),
    };
    const auto paths = [](const std::vector<RecordedFile>& found) {
        std::vector<std::u16string> p;
        for (const RecordedFile& f : found)
            p.push_back(f.path);
        return p;
    };
    EXPECT_EQ(paths(FilesOfFamily(files, u"奎尔宋体")), (std::vector<std::u16string>{u"a.ttf", u"ab.ttc"}));
    EXPECT_EQ(paths(FilesOfFamily(files, u"QUILLMOOR song")), (std::vector<std::u16string>{u"a.ttf", u"ab.ttc"}));
    EXPECT_EQ(paths(FilesOfFamily(files, u"Quillmoor Sans")), (std::vector<std::u16string>{u"b.ttf", u"ab.ttc"}));
    EXPECT_TRUE(FilesOfFamily(files, u"Quillmoor").empty());
    EXPECT_EQ(OtherFamilies(FilesOfFamily(files, u"奎尔宋体"), u"奎尔宋体"),
              (std::vector<std::u16string>{u"Quillmoor Mono", u"Quillmoor Sans"}));
    EXPECT_TRUE(OtherFamilies(FilesOfFamily(files, u"Quillmoor Mono"), u"Quillmoor Mono").size() == 2);

    // A file another program holds: known by its value's name only.
    const std::vector<RecordedFile::Face> byName = FacesFromValueName(u"Quillmoor Held Bold & Quillmoor Heldout (TrueType)");
    ASSERT_EQ(byName.size(), 2u);
    EXPECT_TRUE(byName[0].families == std::vector<std::u16string>{u"Quillmoor Held Bold"});
    const std::vector<RecordedFile> held = {Recorded(u"held.ttf", false, byName)};
    EXPECT_EQ(FilesOfFamily(held, u"quillmoor held").size(), 1u);
    EXPECT_EQ(FilesOfFamily(held, u"Quillmoor Heldout").size(), 1u);
    EXPECT_TRUE(FilesOfFamily(held, u"Quillmoor Hel").empty());
    EXPECT_TRUE(OtherFamilies(held, u"Quillmoor Held").empty());

    // A value's name takes a family only with a style after it: the held file of
    // "X Foo Bar" is not a file of "X Foo".
    const std::vector<RecordedFile> longer = {
        Recorded(u"xfoobar.ttf", false, FacesFromValueName(u"X Foo Bar (TrueType)")),
        Recorded(u"xfoobarbold.ttf", false, FacesFromValueName(u"X Foo Bar Bold (TrueType)")),
        Recorded(u"xfoo.ttf", false, {{{u"X Foo"}, u"X Foo"}}),
        Recorded(u"xfoolight.ttf", false, FacesFromValueName(u"X Foo Light Italic (TrueType)")),
    };
    EXPECT_EQ(paths(FilesOfFamily(longer, u"X Foo")), (std::vector<std::u16string>{u"xfoo.ttf", u"xfoolight.ttf"}));
    EXPECT_EQ(paths(FilesOfFamily(longer, u"X Foo Bar")),
              (std::vector<std::u16string>{u"xfoobar.ttf", u"xfoobarbold.ttf"}));
}

TEST(FilesOfFamily, AFileNamedByTwoValuesIsOneFileWithBoth)
{
    // One file recorded by its bare name and by its full path: the fonts folder look gives
    // both values the same path.
    RecordedFile byName = Recorded(u"C:\\windows\\Fonts\\twice.ttf", false, {{{u"Quillmoor Twice"}, u"Quillmoor Twice"}});
    byName.valueNames = {u"Quillmoor Twice (TrueType)"};
    RecordedFile byPath = byName;
    byPath.valueNames = {u"Quillmoor Twice #2 (TrueType)"};
    byPath.path = u"C:\\WINDOWS\\fonts\\TWICE.TTF";
    const std::vector<RecordedFile> found = FilesOfFamily({byName, byPath}, u"Quillmoor Twice");
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].valueNames,
              (std::vector<std::u16string>{u"Quillmoor Twice (TrueType)", u"Quillmoor Twice #2 (TrueType)"}));
    // The user's value of a file of the same name is another file.
    RecordedFile own = byName;
    own.perUser = true;
    EXPECT_EQ(FilesOfFamily({byName, own}, u"Quillmoor Twice").size(), 2u);
}

TEST(JudgeUninstall, RefusedInOrderNotFromTheFolderTheInterfaceNoRights)
{
    const std::vector<RecordedFile> files = {
        Recorded(u"a.ttf", false, {{{u"Quillmoor Song", u"奎尔宋体"}, u"奎尔宋体"}}),
        Recorded(u"b.ttf", true, {{{u"Quillmoor Sans"}, u"Quillmoor Sans"}}),
    };
    const std::vector<std::u16string> ui = {u"Tahoma", u"quillmoor song"};
    struct Case {
        const char16_t* family;
        std::vector<std::u16string> ui;
        bool rights;
        std::optional<UninstallRefusal> expected;
    };
    const Case cases[] = {
        {u"Quillmoor Song", {}, true, std::nullopt},
        {u"文泉驿微米黑", {}, true, UninstallRefusal::NotFromFontsFolder},
        {u"文泉驿微米黑", ui, false, UninstallRefusal::NotFromFontsFolder},
        // The interface uses it under its English name; the list shows the Chinese one.
        {u"奎尔宋体", ui, false, UninstallRefusal::InterfaceFont},
        {u"奎尔宋体", {}, false, UninstallRefusal::NoRights},
        // The user's own font needs no rights over the machine's.
        {u"Quillmoor Sans", ui, false, std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(JudgeUninstall(files, c.family, c.ui, c.rights), c.expected);
    EXPECT_STREQ(UninstallReason(UninstallRefusal::NoRights), "没有删除系统字体的权限");
}

TEST(UninstallQuestion, FilesCutInTheMiddleAndTheOtherFamilies)
{
    const std::string longPath = "C:\\windows\\Fonts\\" + std::string(100, 'x') + ".ttf";
    EXPECT_EQ(UninstallQuestion("奎尔宋体", {"C:\\windows\\Fonts\\a.ttf", "C:\\windows\\Fonts\\b.ttf"}, {}),
              "确定要卸载字体“奎尔宋体”吗？\n\nC:\\windows\\Fonts\\a.ttf\nC:\\windows\\Fonts\\b.ttf");
    const std::string text = UninstallQuestion("Quillmoor Mono", {longPath}, {"奎尔宋体", "Quillmoor Sans"});
    EXPECT_EQ(text.substr(text.find("\n\n") + 2, text.rfind("\n\n") - text.find("\n\n") - 2),
              CutInMiddle(longPath, kLongestNameShown));
    EXPECT_TRUE(text.ends_with("\n\n也包含字体：奎尔宋体、Quillmoor Sans"));
    EXPECT_EQ(UninstallOutcome(nullptr), "卸载成功");
    EXPECT_EQ(UninstallOutcome("没有删除系统字体的权限"), "卸载失败\n\n没有删除系统字体的权限");
}

TEST(UninstallOutcome, SaysWhichFilesWereDeletedForGoodAndWhichWerePutBack)
{
    EXPECT_EQ(UninstallOutcome(RemovalOutcome{}), "卸载成功");
    EXPECT_EQ(UninstallOutcome(RemovalOutcome{{"C:\\windows\\Fonts\\a.ttf", "C:\\windows\\Fonts\\b.ttf"}, {}}),
              "卸载成功\n\n回收站未能接收以下文件，已将其永久删除：\nC:\\windows\\Fonts\\a.ttf\nC:\\windows\\Fonts\\b.ttf");
    EXPECT_EQ(UninstallOutcome(RemovalOutcome{{"C:\\a.ttf"}, {{"C:\\b.ttf", kFontFileInUse}}}),
              std::string("部分卸载成功\n\n回收站未能接收以下文件，已将其永久删除：\nC:\\a.ttf\n\n以下文件未能删除，已恢复原状：\nC:\\b.ttf：") +
                  kFontFileInUse);
}

TEST(RemovalPlan, EachFileInFourStepsUndoneLastFirst)
{
    using S = RemovalStep;
    const std::vector<S> plan = RemovalPlan(2);
    EXPECT_EQ(plan, (std::vector<S>{{S::RemoveFont, 0}, {S::DeleteValue, 0}, {S::MoveAside, 0}, {S::Unprotect, 0},
                                    {S::RemoveFont, 1}, {S::DeleteValue, 1}, {S::MoveAside, 1}, {S::Unprotect, 1}}));
    // The second file's move failed: everything before it is undone, last first.
    EXPECT_EQ(UndoPlan(plan, 6), (std::vector<S>{{S::DeleteValue, 1}, {S::RemoveFont, 1}, {S::Unprotect, 0},
                                                 {S::MoveAside, 0}, {S::DeleteValue, 0}, {S::RemoveFont, 0}}));
    EXPECT_TRUE(UndoPlan(plan, 0).empty());
    EXPECT_EQ(UndoPlan(plan, 99).size(), plan.size());
}
