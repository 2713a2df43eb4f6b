#include "fontfiles/install_rules.h"

#include <optional>

#include "base/command_line.h"
#include "base/dbcs_text.h"

std::string InstalledFileName(const std::string& fullPath)
{
    return CutText(fullPath.substr(LastComponentStart(fullPath)), 255);
}

std::string JoinPath(const std::string& folder, const std::string& name)
{
    return folder + "\\" + name;
}

bool FitsPathLimit(const std::string& path)
{
    return path.size() < kPathLimit;
}

std::u16string FontRegistryName(const std::vector<std::u16string>& fontNames, bool cff, const std::u16string& fileName)
{
    std::u16string joined;
    for (const std::u16string& name : fontNames) {
        if (name.empty())
            continue;
        if (!joined.empty())
            joined += u" & ";
        joined += name;
    }
    if (joined.empty())
        return fileName;
    return joined + (cff ? u" (OpenType)" : u" (TrueType)");
}

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

}  // namespace

namespace {

// The paths of one line in the open dialog's form, "a" "b" (blanks around and between the
// quoted paths); nothing when the line is not wholly in that form: a lone quote, a quote
// inside a path, or text between the quoted paths.
std::optional<std::vector<std::string>> QuotedPaths(const std::string& line)
{
    std::vector<std::string> paths;
    std::size_t at = 0;
    while (at < line.size()) {
        if (line[at] != '"')
            return std::nullopt;
        const std::size_t close = line.find('"', at + 1);
        if (close == std::string::npos)
            return std::nullopt;
        paths.push_back(line.substr(at + 1, close - at - 1));
        at = close + 1;
        if (at < line.size() && !IsBlank(line[at]))
            return std::nullopt;  // a quote inside a path, or text after the closing one
        while (at < line.size() && IsBlank(line[at]))
            ++at;
    }
    return paths;
}

}  // namespace

std::vector<std::string> InstallPaths(const std::string& boxText)
{
    std::vector<std::string> paths;
    std::size_t start = 0;
    while (start <= boxText.size()) {
        std::size_t end = boxText.find_first_of("\r\n", start);
        if (end == std::string::npos)
            end = boxText.size();
        std::size_t first = start, last = end;
        while (first < last && IsBlank(boxText[first]))
            ++first;
        while (last > first && IsBlank(boxText[last - 1]))
            --last;
        const std::string line = boxText.substr(first, last - first);
        if (const std::optional<std::vector<std::string>> quoted = QuotedPaths(line); quoted && !line.empty()) {
            for (const std::string& path : *quoted) {
                if (path.find_first_not_of(" \t") != std::string::npos)
                    paths.push_back(path);
            }
        } else if (line.find_first_not_of(" \t") != std::string::npos) {
            // A path as it is (a malformed quoted line too: it names no file, and the outcome
            // box says so).
            paths.push_back(line);
        }
        start = end + 1;
    }
    return paths;
}

std::string FileCountCaption(const std::string& caption, std::size_t files)
{
    return files < 2 ? caption : caption + " - " + std::to_string(files) + " 个字体文件";
}

std::optional<std::string> NamedFilesCount::Update(const std::string& caption, std::size_t files)
{
    if (files >= 2) {
        counted_ = true;
        return FileCountCaption(caption, files);
    }
    if (!counted_)
        return std::nullopt;
    counted_ = false;
    return caption;
}

bool IsDeviceName(const std::string& path)
{
    if (path.rfind("\\\\.\\", 0) == 0 || path.rfind("//./", 0) == 0)
        return true;
    std::string name = path.substr(LastComponentStart(path));
    name = name.substr(0, name.find('.'));
    while (!name.empty() && (name.back() == ' ' || name.back() == '\t'))
        name.pop_back();
    for (char& c : name)
        c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    if (name == "CON" || name == "PRN" || name == "AUX" || name == "NUL" || name == "CONIN$" || name == "CONOUT$")
        return true;
    return name.size() == 4 && (name.rfind("COM", 0) == 0 || name.rfind("LPT", 0) == 0) && name[3] >= '1' &&
           name[3] <= '9';
}

const char* InstallReason(InstallResult result)
{
    switch (result) {
    case InstallResult::Installed:
        return "已安装";
    case InstallResult::AlreadyInstalled:
        return "已经安装过（字体文件夹中已有同名的文件）";
    case InstallResult::NotAFont:
        return "不是字体文件，或文件已损坏";
    case InstallResult::Missing:
        return "无法读取：找不到这个文件";
    case InstallResult::InUse:
        return "无法读取：另一个程序正在使用这个文件，请关闭它后再试";
    case InstallResult::Unreadable:
        return "无法读取这个文件";
    case InstallResult::Folder:
        return "这是文件夹，不是字体文件";
    case InstallResult::NoRights:
        return "没有写入字体文件夹的权限";
    case InstallResult::DiskFull:
        return "磁盘空间不足";
    case InstallResult::PathTooLong:
        return "路径太长";
    case InstallResult::Device:
        return "这是设备名，不是字体文件";
    case InstallResult::TrialTimedOut:
        return "检查超时，字体可能已损坏或过于复杂";
    case InstallResult::TrialCrashed:
        return "字体引擎在检查这个字体时崩溃，安装它可能使其他程序出错";
    case InstallResult::BadScalableTarget:
        return "它指向的 TrueType 字体文件找不到，或已损坏";
    case InstallResult::Failed:
        break;
    }
    return "系统未能安装这个文件";
}

InstallReport ReportInstallation(const std::vector<FileOutcome>& outcomes)
{
    if (outcomes.empty())
        return {"安装失败\n\n没有指定要安装的字体文件。", InstallReport::Icon::Error};

    std::size_t refused = 0;
    for (const FileOutcome& outcome : outcomes)
        refused += outcome.result != InstallResult::Installed;
    if (refused == 0)
        return {"安装成功", InstallReport::Icon::None};

    InstallReport report;
    const bool none = refused == outcomes.size();
    report.text = none ? "安装失败\n" : "部分安装成功\n";
    report.icon = none ? InstallReport::Icon::Error : InstallReport::Icon::Warning;
    std::size_t named = 0;
    for (const FileOutcome& outcome : outcomes) {
        if (outcome.result == InstallResult::Installed)
            continue;
        if (named++ == kReasonsShown)
            break;
        // The file's own name; the whole path when it ends in a separator (a folder).
        std::string name = outcome.path.substr(LastComponentStart(outcome.path));
        if (name.empty())
            name = outcome.path;
        report.text += "\n" + CutInMiddle(name, kLongestNameShown) + "：" + InstallReason(outcome.result);
    }
    if (refused > kReasonsShown)
        report.text += "\n……另有 " + std::to_string(refused - kReasonsShown) + " 个文件未能安装。";
    return report;
}

std::string InstallProgressCaption(const std::string& caption, std::size_t reached, std::size_t total)
{
    return caption + " - 正在检查字体 " + std::to_string(reached) + "/" + std::to_string(total) + "…";
}
