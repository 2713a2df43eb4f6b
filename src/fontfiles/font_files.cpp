#include "fontfiles/font_files.h"

#include <windows.h>

#include <shlobj.h>

#include <optional>
#include <vector>

#include "base/command_line.h"
#include "base/dbcs_text.h"
#include "base/font_file.h"
#include "fontfiles/install_rules.h"
#include "window/main_window.h"
#include "win/font_trial.h"
#include "win/message_box.h"
#include "win/ole.h"
#include "win/scoped.h"
#include "win/system_proc.h"
#include "win/whole_file.h"

namespace {

constexpr const char* kFontsKey = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts";
// How long the announcement waits for one window that does not answer. A frozen program
// delays the outcome by this much for each of its top-level windows (hidden ones too).
constexpr UINT kBroadcastTimeout = 500;

std::optional<std::string> SystemFontsFolder()
{
    char folder[MAX_PATH] = {};
    auto* specialFolder = SYSTEM_PROC("shell32.dll", SHGetSpecialFolderPathA);
    if (!specialFolder || !specialFolder(nullptr, folder, CSIDL_FONTS, FALSE))
        return std::nullopt;
    return std::string(folder);
}

// The current user's own fonts folder, %LOCALAPPDATA%\Microsoft\Windows\Fonts, as Windows
// installs a font for one user (the folder need not exist yet).
std::optional<std::string> UserFontsFolder()
{
    char local[MAX_PATH] = {};
    auto* folderPath = SYSTEM_PROC("shell32.dll", SHGetFolderPathA);
    if (!folderPath || FAILED(folderPath(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, local)))
        return std::nullopt;
    return JoinPath(JoinPath(JoinPath(local, "Microsoft"), "Windows"), "Fonts");
}

bool CreateFolders(const std::string& folder)
{
    auto* createFolders = SYSTEM_PROC("shell32.dll", SHCreateDirectoryExA);
    if (!createFolders)
        return false;
    const int result = createFolders(nullptr, folder.c_str(), nullptr);
    return result == ERROR_SUCCESS || result == ERROR_ALREADY_EXISTS || result == ERROR_FILE_EXISTS;
}

bool FileExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string FullPathOf(const std::string& path)
{
    std::string full(MAX_PATH, '\0');
    DWORD length = GetFullPathNameA(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length >= full.size()) {
        full.resize(length);
        length = GetFullPathNameA(path.c_str(), length, full.data(), nullptr);
    }
    full.resize(length < full.size() ? length : 0);
    return full;
}

// ANSI text (file names, paths) as UTF-16.
std::u16string Wide(const std::string& ansi)
{
    const int length = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
    std::u16string wide(static_cast<std::size_t>(length > 0 ? length : 0), u'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), reinterpret_cast<wchar_t*>(wide.data()),
                        length);
    return wide;
}

const wchar_t* W(const std::u16string& text)
{
    return reinterpret_cast<const wchar_t*>(text.c_str());
}

// Removes a file this attempt wrote. One that cannot be deleted is at least renamed out of
// the way, so that its name never blocks a later attempt. True when the name is free.
bool RemoveOurFile(const std::string& path)
{
    if (DeleteFileA(path.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND)
        return true;
    const std::string folder = path.substr(0, LastComponentStart(path));
    char aside[MAX_PATH] = {};
    return GetTempFileNameA(folder.c_str(), "qmx", 0, aside) != 0 &&
           MoveFileExA(path.c_str(), aside, MOVEFILE_REPLACE_EXISTING) != 0;
}

enum class Copy { Done, AccessDenied, Failed };

// Copies the source to the target through a temporary file in the target's folder, then
// renames it to the target without replacing anything: a copy that fails part-way (a full
// disk) leaves nothing behind, and an existing file is never overwritten.
Copy CopyWhole(const std::string& source, const std::string& folder, const std::string& target)
{
    char temporary[MAX_PATH] = {};
    if (!GetTempFileNameA(folder.c_str(), "qmf", 0, temporary))
        return GetLastError() == ERROR_ACCESS_DENIED ? Copy::AccessDenied : Copy::Failed;
    if (!CopyFileA(source.c_str(), temporary, FALSE)) {
        const DWORD error = GetLastError();
        RemoveOurFile(temporary);
        return error == ERROR_ACCESS_DENIED ? Copy::AccessDenied : Copy::Failed;
    }
    if (!MoveFileExA(temporary, target.c_str(), 0)) {
        RemoveOurFile(temporary);
        return Copy::Failed;
    }
    return Copy::Done;
}

// Records the installed font under a value name of its own: an existing record of another
// file is never replaced. Through the wide registry calls, so that a family named outside
// the ANSI code page keeps its name.
bool RecordFont(HKEY root, const std::u16string& valueName, const std::string& data)
{
    ScopedKey key;
    if (RegCreateKeyExA(root, kFontsKey, 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, key.out(), nullptr) !=
        ERROR_SUCCESS)
        return false;
    std::u16string name = valueName;
    for (int n = 2; RegQueryValueExW(key.get(), W(name), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS; ++n)
        name = valueName + u" #" + Wide(std::to_string(n));
    const std::u16string wideData = Wide(data);
    return RegSetValueExW(key.get(), W(name), 0, REG_SZ, reinterpret_cast<const BYTE*>(wideData.c_str()),
                          static_cast<DWORD>((wideData.size() + 1) * sizeof(char16_t))) == ERROR_SUCCESS;
}

}  // namespace

void OpenFontFile(MainWindow& window)
{
    CommonDlg& dialog = window.通用对话框1;
    dialog.SetDialogKind(0);
    dialog.SetFilter(kFontFilter);
    if (!dialog.OpenDialog())
        return;
    window.编辑框_安装文字目录.SetText(dialog.FileName());
}

int InstallFontFile(const std::string& pathText)
{
    const std::string source = UnquotedPath(pathText);
    const std::optional<std::string> systemFolder = SystemFontsFolder();
    if (!systemFolder)
        return 0;

    // Only an existing file that nobody is writing: readers are let in (the system holds
    // a previewed file open), writers are not.
    ScopedHandle file(CreateFileA(source.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid())
        return 0;
    const std::string fileName = InstalledFileName(FullPathOf(source));
    const std::optional<std::vector<std::uint8_t>> bytes = ReadWholeFile(file.get());
    file.Close();
    if (fileName.empty() || !bytes)
        return 0;

    // TrueType, OpenType and collections are judged here, and every file is tried in a
    // child process: a damaged one is never handed to the system, which may accept it and
    // then fail on it, or hang in it, at every start.
    const FontFileFacts facts = ReadFontFile(*bytes);
    if (facts.format != FontFileFacts::Format::Other && !facts.sound)
        return 0;
    if (!FontFileSurvivesTrial(source))
        return 0;
    std::vector<std::u16string> names;
    for (const FontFace& face : facts.faces)
        names.push_back(face.full);
    const bool cff = !facts.faces.empty() && facts.faces.front().cff;
    const std::u16string valueName = FontRegistryName(names, cff, Wide(fileName));

    // Never over an existing file, in either fonts folder; never a path the system cannot
    // take, decided before anything is written.
    const std::optional<std::string> userFolder = UserFontsFolder();
    const std::string systemTarget = JoinPath(*systemFolder, fileName);
    const std::string userTarget = userFolder ? JoinPath(*userFolder, fileName) : std::string();
    if (!FitsPathLimit(systemTarget) || FileExists(systemTarget) || (userFolder && FileExists(userTarget)))
        return 0;

    // For every user where the system's folder may be written; else, as Windows does
    // without elevation, for the current user alone.
    std::string target = systemTarget;
    HKEY registry = HKEY_LOCAL_MACHINE;
    Copy copied = CopyWhole(source, *systemFolder, systemTarget);
    if (copied == Copy::AccessDenied) {
        if (!userFolder || !FitsPathLimit(userTarget) || !CreateFolders(*userFolder))
            return 0;
        target = userTarget;
        registry = HKEY_CURRENT_USER;
        copied = CopyWhole(source, *userFolder, userTarget);
    }
    if (copied != Copy::Done)
        return 0;

    // Only a positive count is a font added: Wine reports a font loader's failure as a
    // negative number.
    const int added = AddFontResourceA(target.c_str());
    if (added <= 0) {
        RemoveOurFile(target);
        return 0;
    }
    // The all-users record names the file in the system's folder; a user's names its path.
    const std::string data = registry == HKEY_LOCAL_MACHINE ? fileName : target;
    if (!RecordFont(registry, valueName, data)) {
        RemoveFontResourceA(target.c_str());
        RemoveOurFile(target);
        return 0;
    }
    // Every top-level window hears of the new font; one that does not answer (a frozen
    // program) is not waited for beyond the timeout.
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(HWND_BROADCAST, WM_FONTCHANGE, 0, 0, SMTO_ABORTIFHUNG, kBroadcastTimeout, &ignored);
    return added;
}

void InstallChosenFont(MainWindow& window)
{
    const std::string source = window.编辑框_安装文字目录.Text();
    if (InstallFontFile(source) != 0)
        ShowMessage("安装成功", 0, "提示");
    else
        ShowMessage("安装失败", MB_ICONHAND, "提示");
}

void RegisterMainWindowForDrops(MainWindow& window)
{
    // Without OLE (the thread's COM was set up another way) the window takes no drops.
    if (OleStarted())
        window.拖放对象1.RegisterDropWindow(window.hwnd());
}

void ShowDroppedText(MainWindow& window, const std::string& text)
{
    window.编辑框_输入的文字.SetText(text);
}

void ShowDroppedFiles(MainWindow& window, const std::string& paths)
{
    window.编辑框_安装文字目录.SetText(paths);
}
