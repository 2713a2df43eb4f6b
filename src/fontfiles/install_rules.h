#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The font filter the open button sets on every click.
inline constexpr const char* kFontFilter = "字体资源|*.fon;*.fnt;*.ttf;*.fot;*.otf;*.ttc;*.otc|所有文件|*.*";

// Whether a path fits the system's limit (MAX_PATH, 260 with the terminating NUL).
inline constexpr std::size_t kPathLimit = 260;
bool FitsPathLimit(const std::string& path);

// The file name a font is installed under: the text after the last "\", "/" or ":" of
// the full path, cut to 255 bytes.
std::string InstalledFileName(const std::string& fullPath);

// "%s\%s".
std::string JoinPath(const std::string& folder, const std::string& name);

// The value name the system's installer gives a font in its registry: the full names of
// the file's fonts joined by " & " (one for a single font, every member of a collection),
// with " (OpenType)" for CFF outlines and " (TrueType)" otherwise; the file name when no
// name was read (a .fon file). In UTF-16, as the font names are: a name outside the
// ANSI code page survives.
std::u16string FontRegistryName(const std::vector<std::u16string>& fontNames, bool cff, const std::u16string& fileName);

// The files the path box names, in order. A line wholly in the open dialog's form, each
// path in double quotes separated by blanks ("C:\a.ttf" "C:\b.ttf", or one quoted path),
// names those paths; any other line is one path, as it is (a pasted list, one per line: a
// lone CR or LF ends a line too). Blanks around a line are dropped, and blank lines name
// nothing. A line with a lone quote or a quote inside a path is taken as it is: no Windows
// path holds a double quote, so it names no file. CR, LF, blanks and quotes are never GBK
// trail bytes.
std::vector<std::string> InstallPaths(const std::string& boxText);

// The window's caption while the path box names several files: "<caption> - 3 个字体文件";
// the caption as it is for one file or none.
std::string FileCountCaption(const std::string& caption, std::size_t files);

// The count in the caption as the path box changes: while the box names several files the
// caption says how many; when it names one or none again, the caption this count gave is
// taken back, and only that one (a preview's caption stays).
class NamedFilesCount {
public:
    // The caption to show for a box that names `files` files, or nothing to change.
    std::optional<std::string> Update(const std::string& caption, std::size_t files);

private:
    bool counted_ = false;  // the caption says how many files the box names
};

// What became of one file.
enum class InstallResult {
    Installed,
    AlreadyInstalled,  // a file of that name is in a fonts folder already
    NotAFont,          // not a font file, or a damaged one
    Missing,           // no such file
    InUse,             // another program holds it open
    Unreadable,        // cannot be read for another reason
    Folder,            // a folder, not a file
    NoRights,          // neither fonts folder may be written
    DiskFull,
    PathTooLong,
    Device,            // a device's name (NUL, COM1, \\.\COM1), not a file
    TrialTimedOut,     // trying the font took too long
    TrialCrashed,      // the system's font engine crashed on it while it was tried
    BadScalableTarget,  // a .fot whose TrueType file is missing, damaged or refused
    Failed,            // anything else the system refused
};

struct FileOutcome {
    std::string path;
    InstallResult result = InstallResult::Failed;
};

// The reason given for a file that was not installed, in plain words.
const char* InstallReason(InstallResult result);

// The outcome box: its text and which icon it shows.
struct InstallReport {
    enum class Icon { None, Warning, Error };
    std::string text;
    Icon icon = Icon::Error;
};

// Whether the path names a device rather than a file: a name in the "\\.\" namespace, or
// one whose last component is a reserved device name (CON, PRN, AUX, NUL, COM1-COM9,
// LPT1-LPT9, CONIN$, CONOUT$), with or without an extension, in any case.
bool IsDeviceName(const std::string& path);

// At most this many refused files are named; the rest are counted.
inline constexpr std::size_t kReasonsShown = 20;
// A refused file's name is cut in its middle to this many bytes, so that the box fits any
// screen.
inline constexpr std::size_t kLongestNameShown = 64;

// The first line says how it went: "安装成功" when every file was installed (and nothing
// follows), "安装失败" when none was (the error icon), "部分安装成功" otherwise (the warning
// icon). Then a blank line and one line per refused file, its name and the reason; after
// kReasonsShown of them, how many more there are. A box that named no file says so.
InstallReport ReportInstallation(const std::vector<FileOutcome>& outcomes);

// The window's caption while a press of the install button is under way, on file
// `reached` of `total`: "<caption> - 正在检查字体 3/60…".
std::string InstallProgressCaption(const std::string& caption, std::size_t reached, std::size_t total);
