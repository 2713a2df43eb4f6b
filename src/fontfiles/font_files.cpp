#include "fontfiles/font_files.h"

#include <windows.h>

#include <shlobj.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

#include "base/dbcs_text.h"
#include "fontdata/font_file.h"
#include "fontdata/font_resource.h"
#include "controls/drop_rules.h"
#include "fontfiles/install_rules.h"
#include "window/main_window.h"
#include "fontcheck/font_folders.h"
#include "fontcheck/font_trial.h"
#include "win/message_box.h"
#include "win/ole.h"
#include "win/scoped.h"
#include "win/system_proc.h"
#include "win/whole_file.h"
#include "win/window_text.h"

namespace {

// How long the announcement waits for one window that does not answer. A frozen program
// delays the outcome by this much for each of its top-level windows (hidden ones too).
constexpr UINT kBroadcastTimeout = 500;

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

// Why a source could not be opened.
InstallResult OpenFailure(DWORD error)
{
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_PATHNAME:
        return InstallResult::Missing;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return InstallResult::InUse;
    case ERROR_FILENAME_EXCED_RANGE:
        return InstallResult::PathTooLong;
    default:
        return InstallResult::Unreadable;
    }
}

// Why a copy could not be written into a fonts folder.
InstallResult WriteFailure(DWORD error)
{
    switch (error) {
    case ERROR_ACCESS_DENIED:
        return InstallResult::NoRights;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return InstallResult::DiskFull;
    case ERROR_FILENAME_EXCED_RANGE:
        return InstallResult::PathTooLong;
    case ERROR_ALREADY_EXISTS:
    case ERROR_FILE_EXISTS:
        return InstallResult::AlreadyInstalled;
    default:
        return InstallResult::Failed;
    }
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

// Writes the bytes that were read and judged into a temporary file of the program's own
// making (normal attributes, whatever the source's) in the target's folder, then renames it
// to the target without replacing anything. The source is never read again: a file that
// changed since is installed as it was read. A write that fails part-way (a full disk)
// leaves nothing behind, and an existing file is never overwritten.
InstallResult WriteCopy(const std::vector<std::uint8_t>& bytes, const std::string& folder, const std::string& target)
{
    // The name is a free one; the system may or may not have made the file (Wine does not
    // where the folder cannot be written), so it is made, or emptied, here.
    char temporary[MAX_PATH] = {};
    if (!GetTempFileNameA(folder.c_str(), "qmf", 0, temporary))
        return WriteFailure(GetLastError());
    DWORD error = WriteNewFile(temporary, bytes, CREATE_ALWAYS);
    if (error == ERROR_SUCCESS && !MoveFileExA(temporary, target.c_str(), 0))
        error = GetLastError();
    if (error != ERROR_SUCCESS) {
        RemoveOurFile(temporary);
        return WriteFailure(error);
    }
    return InstallResult::Installed;
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
    for (int n = 2; RegQueryValueExW(key.get(), WideChars(name), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
         ++n)
        name = valueName + u" #" + WideText(std::to_string(n));
    const std::u16string wideData = WideText(data);
    return RegSetValueExW(key.get(), WideChars(name), 0, REG_SZ, reinterpret_cast<const BYTE*>(wideData.c_str()),
                          static_cast<DWORD>((wideData.size() + 1) * sizeof(char16_t))) == ERROR_SUCCESS;
}

// The TrueType file a .fot names, as it was read, judged and tried.
struct ScalableTarget {
    std::string path;
    std::vector<std::uint8_t> bytes;
};

// The TrueType file a .fot names, found as the system finds it (a full path as it is; a
// bare name beside the .fot, else in the system's fonts folder), read, judged and tried:
// nothing when it is missing, damaged or refused.
std::optional<ScalableTarget> SoundScalableTarget(const std::string& name, const std::string& fotPath,
                                                  const std::string& systemFolder, TrialSession& trials)
{
    std::vector<std::string> candidates;
    if (name.find(':') != std::string::npos || name.rfind("\\", 0) == 0) {
        candidates.push_back(name);
    } else {
        candidates.push_back(JoinPath(fotPath.substr(0, LastComponentStart(fotPath) > 0 ? LastComponentStart(fotPath) - 1 : 0), name));
        candidates.push_back(JoinPath(systemFolder, name));
    }
    for (const std::string& candidate : candidates) {
        if (!FileExists(candidate))
            continue;
        std::optional<std::vector<std::uint8_t>> bytes = ReadWholeFile(candidate);
        if (!bytes || !ReadFontFile(*bytes).sound || trials.Try(*bytes) != TrialVerdict::Sound)
            return std::nullopt;
        return ScalableTarget{candidate, std::move(*bytes)};
    }
    return std::nullopt;
}

}  // namespace

void OpenFontFile(MainWindow& window)
{
    CommonDlg& dialog = window.通用对话框1;
    dialog.SetDialogKind(0);
    dialog.SetFilter(kFontFilter);
    dialog.SetAllowMultiSelect(true);
    if (!dialog.OpenDialog())
        return;
    // As a drop leaves them: one path alone, several each in double quotes.
    window.编辑框_安装文字目录.SetText(JoinDroppedPaths(dialog.FileNames()));
}

InstallResult InstallFontFile(const std::string& path, TrialSession& trials)
{
    const std::optional<std::string> systemFolder = SystemFontsFolder();
    if (!systemFolder)
        return InstallResult::Failed;
    if (IsDeviceName(path))
        return InstallResult::Device;
    const std::string source = FullPathOf(path);
    if (source.empty())
        return InstallResult::Missing;
    if (IsDeviceName(source))
        return InstallResult::Device;
    if (!FitsPathLimit(source))
        return InstallResult::PathTooLong;
    const DWORD attributes = GetFileAttributesA(source.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return InstallResult::Folder;

    // Opened once, only while nobody is writing it (readers are let in: the system holds a
    // previewed file open), and read whole. Everything after works on these bytes.
    ScopedHandle file(CreateFileA(source.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid())
        return OpenFailure(GetLastError());
    std::optional<std::vector<std::uint8_t>> bytes = ReadWholeFile(file.get());
    file.Close();
    if (!bytes)
        return InstallResult::Unreadable;
    std::string fileName = InstalledFileName(source);
    if (fileName.empty())
        return InstallResult::Failed;

    // Every file is judged here: TrueType, OpenType and collections, and the older .fon,
    // .fnt and .fot files. Anything else is not a font.
    FontFileFacts facts = ReadFontFile(*bytes);
    if (facts.format != FontFileFacts::Format::Other && !facts.sound)
        return InstallResult::NotAFont;
    FontResourceFacts resource;
    if (facts.format == FontFileFacts::Format::Other) {
        resource = ReadFontResource(*bytes);
        if (!resource.sound)
            return InstallResult::NotAFont;
    }
    // A .fot only points at a TrueType file, which may lie anywhere and change after the
    // installation: the system would then load bytes nobody judged. What goes into the
    // fonts folder is that file itself, as it was read, judged and tried; the pointer is
    // not kept.
    const bool pointer = resource.format == FontResourceFacts::Format::Fot;
    if (pointer) {
        std::optional<ScalableTarget> trueType =
            SoundScalableTarget(resource.scalableFile, source, *systemFolder, trials);
        if (!trueType)
            return InstallResult::BadScalableTarget;
        fileName = InstalledFileName(trueType->path);
        if (fileName.empty())
            return InstallResult::Failed;
        bytes = std::move(trueType->bytes);
        facts = ReadFontFile(*bytes);
    }

    // Never over an existing file, in either fonts folder; never a path the system cannot
    // take, decided before anything is written.
    const std::optional<std::string> userFolder = UserFontsFolder();
    const std::string systemTarget = JoinPath(*systemFolder, fileName);
    const std::string userTarget = userFolder ? JoinPath(*userFolder, fileName) : std::string();
    if (!FitsPathLimit(systemTarget))
        return InstallResult::PathTooLong;
    if (FileExists(systemTarget) || (userFolder && FileExists(userTarget)))
        return InstallResult::AlreadyInstalled;

    // Every file is tried in a child process, on these very bytes: a damaged one is never
    // handed to the system, which may accept it and then fail on it, or hang in it, at
    // every start. (A .fot's TrueType file was tried as it was found.)
    switch (pointer ? TrialVerdict::Sound : trials.Try(*bytes)) {
    case TrialVerdict::Sound:
        break;
    case TrialVerdict::Refused:
        return InstallResult::NotAFont;
    case TrialVerdict::Crashed:
        return InstallResult::TrialCrashed;
    case TrialVerdict::TimedOut:
        return InstallResult::TrialTimedOut;
    case TrialVerdict::NotTried:
        return InstallResult::Failed;
    }
    std::vector<std::u16string> names;
    for (const FontFace& face : facts.faces)
        names.push_back(face.full);
    const bool cff = !facts.faces.empty() && facts.faces.front().cff;
    const std::u16string valueName = FontRegistryName(names, cff, WideText(fileName));

    // For every user where the system's folder may be written; else, as Windows does
    // without elevation, for the current user alone.
    std::string target = systemTarget;
    HKEY registry = HKEY_LOCAL_MACHINE;
    InstallResult written = WriteCopy(*bytes, *systemFolder, systemTarget);
    if (written == InstallResult::NoRights) {
        if (!userFolder || !CreateFolders(*userFolder))
            return InstallResult::NoRights;
        if (!FitsPathLimit(userTarget))
            return InstallResult::PathTooLong;
        target = userTarget;
        registry = HKEY_CURRENT_USER;
        written = WriteCopy(*bytes, *userFolder, userTarget);
    }
    if (written != InstallResult::Installed)
        return written;

    // Only a positive count is a font added: Wine reports a font loader's failure as a
    // negative number.
    if (AddFontResourceA(target.c_str()) <= 0) {
        RemoveOurFile(target);
        return InstallResult::NotAFont;
    }
    // The all-users record names the file in the system's folder; a user's names its path.
    const std::string data = registry == HKEY_LOCAL_MACHINE ? fileName : target;
    if (!RecordFont(registry, valueName, data)) {
        RemoveFontResourceA(target.c_str());
        RemoveOurFile(target);
        return InstallResult::Failed;
    }
    return InstallResult::Installed;
}

// A press of the install button under way: its files, tried and installed one after the
// other on a thread of its own, and what became of each.
struct FontInstaller::Press {
    std::vector<std::string> paths;
    std::vector<FileOutcome> outcomes;  // the worker's until `ended`
    std::atomic<std::size_t> reached{0};  // the file the worker is on, from 1
    std::atomic<bool> cancelled{false};
    std::atomic<bool> ended{false};
    std::string caption;  // the window's caption before the press
    std::thread worker;
};

namespace {

void Work(FontInstaller::Press& work, MainWindow& window, int source, FontTrials& shared)
{
    TrialSession trials(shared);
    for (std::size_t i = 0; i < work.paths.size() && !work.cancelled; ++i) {
        work.reached = i + 1;
        window.Post(source, Event::WorkProgress);
        work.outcomes.push_back({work.paths[i], InstallFontFile(work.paths[i], trials)});
    }
    work.ended = true;
    window.Post(source, Event::WorkDone);
}

// Takes the press's outcomes once its worker has ended, and gives the window back.
std::vector<FileOutcome> EndPress(std::unique_ptr<FontInstaller::Press>& press, MainWindow& window)
{
    press->worker.join();
    std::vector<FileOutcome> outcomes = std::move(press->outcomes);
    if (window.hwnd())
        SetWindowTextA(window.hwnd(), press->caption.c_str());
    press.reset();
    window.按钮_安装字体.SetEnabled(true);
    window.编辑框_安装文字目录.SetEnabled(true);
    window.SetBusy(false);
    // Every top-level window hears of the new fonts once; one that does not answer (a
    // frozen program) is not waited for beyond the timeout.
    if (std::any_of(outcomes.begin(), outcomes.end(),
                    [](const FileOutcome& o) { return o.result == InstallResult::Installed; })) {
        AnnounceFontChange();
    }
    return outcomes;
}

}  // namespace

void AnnounceFontChange()
{
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(HWND_BROADCAST, WM_FONTCHANGE, 0, 0, SMTO_ABORTIFHUNG, kBroadcastTimeout, &ignored);
}

FontInstaller::FontInstaller(FontTrials& trials) : trials_(trials) {}

FontInstaller::~FontInstaller()
{
    if (press_ && press_->worker.joinable()) {
        press_->cancelled = true;
        press_->worker.join();
    }
}

bool FontInstaller::Running() const
{
    return press_ != nullptr;
}

void FontInstaller::Start(MainWindow& window)
{
    if (press_)
        return;
    press_ = std::make_unique<Press>();
    press_->paths = InstallPaths(window.编辑框_安装文字目录.Text());
    press_->caption = WindowText(window.hwnd());
    window.按钮_安装字体.SetEnabled(false);
    window.编辑框_安装文字目录.SetEnabled(false);
    window.SetBusy(true);
    press_->worker = std::thread(&Work, std::ref(*press_), std::ref(window), Index(Ctl::按钮_安装字体), std::ref(trials_));
}

void FontInstaller::ShowProgress(MainWindow& window)
{
    if (!press_ || press_->ended || press_->reached == 0)
        return;
    SetWindowTextA(window.hwnd(),
                   InstallProgressCaption(kMainWindowProperties.caption, press_->reached, press_->paths.size()).c_str());
}

void FontInstaller::Finish(MainWindow& window)
{
    if (!press_ || !press_->ended)
        return;
    const InstallReport report = ReportInstallation(EndPress(press_, window));
    const unsigned icon = report.icon == InstallReport::Icon::Error     ? MB_ICONHAND
                          : report.icon == InstallReport::Icon::Warning ? MB_ICONWARNING
                                                                        : 0;
    ShowMessage(report.text, icon, "提示");
}

void FontInstaller::Cancel(MainWindow& window)
{
    if (!press_)
        return;
    press_->cancelled = true;
    EndPress(press_, window);
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

void FontInstaller::ShowNamedFileCount(MainWindow& window)
{
    const std::size_t files = InstallPaths(window.编辑框_安装文字目录.Text()).size();
    if (const std::optional<std::string> caption = count_.Update(kMainWindowProperties.caption, files))
        SetWindowTextA(window.hwnd(), caption->c_str());
}

void ShowDroppedFiles(MainWindow& window, const std::string& paths)
{
    window.编辑框_安装文字目录.SetText(paths);
}
