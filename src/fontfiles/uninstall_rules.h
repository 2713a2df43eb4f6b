#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

// Taking a family out: which recorded files belong to it, whether it may go, what the
// user is asked, and how a removal that fails half-way is undone.

// A font file of a fonts folder as its registry value records it, with the family names
// of each font the file holds.
struct RecordedFile {
    // The values that record it: usually one, but a file may be named by two (by its bare
    // name and by its full path, say), and both go with it.
    std::vector<std::u16string> valueNames;
    std::u16string path;
    bool perUser = false;  // the user's value and folder, else the machine's
    struct Face {
        std::vector<std::u16string> families;  // every family name, in every language
        std::u16string shown;                   // the one the desktop shows
        // Known only from the registry value's name (the file could not be read): its
        // "families" are the full names the value gives, a family's name followed by
        // its style.
        bool byValueName = false;
    };
    std::vector<Face> faces;
};

// The faces a value's name gives for a file that cannot be read: the full names it joins
// with " & ", without the " (TrueType)" or " (OpenType)" after them.
std::vector<RecordedFile::Face> FacesFromValueName(std::u16string_view valueName);

// The files that hold the family under any of its names (ASCII letters compared without
// case, as the system compares family names), in the order they were recorded, each file
// once with every value that records it. A face known only by its value's name holds the
// family when one of its full names is the family's, or the family's followed by style
// words only ("Bold", "Light Italic"): "X Foo Bar" is not a style of "X Foo".
std::vector<RecordedFile> FilesOfFamily(const std::vector<RecordedFile>& files, std::u16string_view family);

// The other families those files hold (a collection of several), each once, as the
// desktop shows it, in the order they come.
std::vector<std::u16string> OtherFamilies(const std::vector<RecordedFile>& files, std::u16string_view family);

// Why a family is not taken out.
enum class UninstallRefusal {
    NotFromFontsFolder,  // no file of a fonts folder holds it
    InterfaceFont,       // the system's interface draws with it
    NoRights,            // a machine-wide file, and the machine's fonts may not be changed
};
const char* UninstallReason(UninstallRefusal refusal);

// Why a removal under way failed, everything done before undone.
inline constexpr const char* kFontFileInUse = "字体文件正被其他程序使用，请关闭它们后再试";
inline constexpr const char* kUninstallRefused = "系统拒绝了这次卸载";

// Whether the family may go: refused when none of the files holds it, when one of its
// names is an interface font's face, or when a file is the machine's and the program may
// not change the machine's fonts; in that order.
std::optional<UninstallRefusal> JudgeUninstall(const std::vector<RecordedFile>& files, std::u16string_view family,
                                               const std::vector<std::u16string>& interfaceFaces,
                                               bool mayChangeMachineFonts);

// The question, in code page 936 with the names already in it: "确定要卸载字体“<family>”吗？",
// a blank line, the files one per line cut in the middle like the install box's names, and
// for a collection of several families a blank line and "也包含字体：" with them.
std::string UninstallQuestion(const std::string& family, const std::vector<std::string>& paths,
                              const std::vector<std::string>& otherFamilies);

// The outcome box's text: "卸载成功", or "卸载失败", a blank line and the reason.
std::string UninstallOutcome(const char* failure);

// Once every file is out of the system's table, unrecorded and free to delete, the removal
// cannot be undone: each file goes to the Recycle Bin, or is deleted where the Recycle Bin
// refuses it; a file that cannot be deleted either is put back whole (recorded and added
// again). What became of the files, for the outcome box.
struct RemovalOutcome {
    std::vector<std::string> deletedForGood;  // the Recycle Bin refused them
    struct Kept {
        std::string path;
        const char* reason;
    };
    std::vector<Kept> kept;  // put back
};

// "卸载成功", or "部分卸载成功" when a file was put back; then, after a blank line, the
// files deleted for good ("回收站未能接收以下文件，已将其永久删除：" and the files) and the
// files put back ("以下文件未能删除，已恢复原状：" and each file with its reason), each
// cut in the middle like the install box's names.
std::string UninstallOutcome(const RemovalOutcome& outcome);

// The steps of a removal, file by file, each of which can be undone: the font out of the
// system's table, its registry values deleted, the file moved aside (which fails while
// another program holds it open), and the file made free to delete (a read-only file
// made writable, and opened for deletion alone). Nothing is deleted before every step of
// every file has succeeded.
struct RemovalStep {
    enum Kind { RemoveFont, DeleteValue, MoveAside, Unprotect };
    Kind kind;
    std::size_t file;
    friend bool operator==(const RemovalStep&, const RemovalStep&) = default;
};
std::vector<RemovalStep> RemovalPlan(std::size_t files);

// The steps that undo the first `done` steps of the plan, last first: each undoes one
// (the font added again, the value written back, the file moved back).
std::vector<RemovalStep> UndoPlan(const std::vector<RemovalStep>& plan, std::size_t done);
