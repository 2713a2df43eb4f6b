#include "fontfiles/uninstall.h"

#include <windows.h>

#include <shellapi.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

#include "fontcheck/font_folders.h"
#include "fontfiles/font_files.h"
#include "fontfiles/uninstall_rules.h"
#include "win/message_box.h"
#include "win/scoped.h"
#include "win/system_proc.h"
#include "win/window_class.h"
#include "win/window_text.h"
#include "window/main_window.h"

namespace {

constexpr wchar_t kAside[] = L".quillmoor-uninstall";

// An uninstall under way: first the look for the family's files, then, once the user has
// said yes, their removal.
struct Uninstall {
    enum class Phase { Looking, Removing };
    Phase phase = Phase::Looking;
    std::string family;  // as the list shows it
    std::vector<FolderFont> found;
    std::vector<RecordedFile> files;  // the family's
    const char* failure = nullptr;
    std::atomic<bool> ended{false};
    std::thread worker;
};
std::unique_ptr<Uninstall> uninstall;

std::vector<RecordedFile> Recorded(const std::vector<FolderFont>& found)
{
    std::vector<RecordedFile> files;
    for (const FolderFont& font : found) {
        RecordedFile file{font.valueName, font.path, font.perUser, {}};
        if (font.held)
            file.faces = FacesFromValueName(font.valueName);
        for (const FontNames& names : font.faces) {
            RecordedFile::Face face;
            if (names.families) {
                for (const LocalName& name : *names.families)
                    face.families.push_back(name.text);
            }
            face.shown = names.families ? PreferredName(*names.families, GetUserDefaultLangID(), names.family)
                                        : names.family;
            file.faces.push_back(std::move(face));
        }
        files.push_back(std::move(file));
    }
    return files;
}

// The faces the system's interface draws with: the caption, menu, status and message
// fonts, the default GUI font, and the sample's own default.
std::vector<std::u16string> InterfaceFaces()
{
    std::vector<std::u16string> faces;
    NONCLIENTMETRICSA metrics = {};
    metrics.cbSize = sizeof metrics;
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
        for (const LOGFONTA* font : {&metrics.lfCaptionFont, &metrics.lfSmCaptionFont, &metrics.lfMenuFont,
                                     &metrics.lfStatusFont, &metrics.lfMessageFont})
            faces.push_back(WideText(font->lfFaceName));
    }
    // The default GUI font is also the sample's own default.
    LOGFONTA gui;
    if (GetObjectA(GuiFont(), sizeof gui, &gui) == sizeof gui)
        faces.push_back(WideText(gui.lfFaceName));
    return faces;
}

// Whether the program may change the machine's fonts: write the machine's fonts key and
// create a file in the system's fonts folder (tried with a file of its own, deleted on close).
bool MayChangeMachineFonts()
{
    ScopedKey key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kFontsKey, 0, KEY_SET_VALUE, key.out()) != ERROR_SUCCESS)
        return false;
    const std::optional<std::string> folder = SystemFontsFolder();
    if (!folder)
        return false;
    char name[64];
    wsprintfA(name, "\\quillmoor-rights-%lu.tmp", GetCurrentProcessId());
    ScopedHandle probe(CreateFileA((*folder + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                   FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    return probe.valid();
}

// ------------------------------------------------------------------ the removal, off the window's thread

// What the steps took away, so that the undo can put it back.
struct Taken {
    int fontsRemoved = 0;
    DWORD type = REG_SZ;
    std::vector<BYTE> value;
};

std::u16string AsidePath(const RecordedFile& file)
{
    return file.path + reinterpret_cast<const char16_t*>(kAside);
}

const char* Do(const RemovalStep& step, const RecordedFile& file, Taken& taken)
{
    switch (step.kind) {
    case RemovalStep::RemoveFont: {
        // Every way it may have been added: by its path, and a machine's font by its name.
        const std::u16string name = file.path.substr(file.path.find_last_of(u'\\') + 1);
        for (const std::u16string* way : {&file.path, &name}) {
            while (taken.fontsRemoved < 64 && RemoveFontResourceW(WideChars(*way)))
                ++taken.fontsRemoved;
        }
        return nullptr;
    }
    case RemovalStep::DeleteValue: {
        ScopedKey key;
        const HKEY root = file.perUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
        if (RegOpenKeyExA(root, kFontsKey, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, key.out()) != ERROR_SUCCESS)
            return UninstallReason(UninstallRefusal::NoRights);
        DWORD size = 0;
        if (RegQueryValueExW(key.get(), WideChars(file.valueName), nullptr, &taken.type, nullptr, &size) !=
            ERROR_SUCCESS)
            return kUninstallRefused;
        taken.value.resize(size);
        if (RegQueryValueExW(key.get(), WideChars(file.valueName), nullptr, &taken.type, taken.value.data(), &size) !=
                ERROR_SUCCESS ||
            RegDeleteValueW(key.get(), WideChars(file.valueName)) != ERROR_SUCCESS)
            return kUninstallRefused;
        return nullptr;
    }
    case RemovalStep::MoveAside:
        if (MoveFileExW(WideChars(file.path), WideChars(AsidePath(file)), 0))
            return nullptr;
        switch (GetLastError()) {
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
            return kFontFileInUse;
        case ERROR_ACCESS_DENIED:
            return UninstallReason(UninstallRefusal::NoRights);
        default:
            return kUninstallRefused;
        }
    }
    return kUninstallRefused;
}

void Undo(const RemovalStep& step, const RecordedFile& file, const Taken& taken)
{
    switch (step.kind) {
    case RemovalStep::RemoveFont:
        if (taken.fontsRemoved > 0)
            AddFontResourceW(WideChars(file.path));
        break;
    case RemovalStep::DeleteValue: {
        ScopedKey key;
        const HKEY root = file.perUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
        if (RegOpenKeyExA(root, kFontsKey, 0, KEY_SET_VALUE, key.out()) == ERROR_SUCCESS)
            RegSetValueExW(key.get(), WideChars(file.valueName), 0, taken.type, taken.value.data(),
                           static_cast<DWORD>(taken.value.size()));
        break;
    }
    case RemovalStep::MoveAside:
        MoveFileExW(WideChars(AsidePath(file)), WideChars(file.path), 0);
        break;
    }
}

bool Exists(const std::u16string& path)
{
    return GetFileAttributesW(WideChars(path)) != INVALID_FILE_ATTRIBUTES;
}

// The files, back under their own names, to the Recycle Bin; deleted where that fails (a
// drive without one). True when none is left.
bool Recycle(const std::vector<RecordedFile>& files)
{
    std::u16string list;  // each path ended by a NUL, the whole by another
    for (const RecordedFile& file : files) {
        MoveFileExW(WideChars(AsidePath(file)), WideChars(file.path), 0);
        list += file.path;
        list += u'\0';
    }
    list += u'\0';
    if (auto* operate = SYSTEM_PROC("shell32.dll", SHFileOperationW)) {
        SHFILEOPSTRUCTW operation = {};
        operation.wFunc = FO_DELETE;
        operation.pFrom = reinterpret_cast<const wchar_t*>(list.c_str());
        operation.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
        operate(&operation);
    }
    bool gone = true;
    for (const RecordedFile& file : files) {
        if (Exists(file.path) && !DeleteFileW(WideChars(file.path)))
            gone = false;
    }
    return gone;
}

// Takes the files out, all or nothing; the reason it failed, or null.
const char* Remove(const std::vector<RecordedFile>& files)
{
    const std::vector<RemovalStep> plan = RemovalPlan(files.size());
    std::vector<Taken> taken(files.size());
    std::size_t done = 0;
    const char* failure = nullptr;
    for (; done < plan.size(); ++done) {
        const RemovalStep& step = plan[done];
        if ((failure = Do(step, files[step.file], taken[step.file])) != nullptr)
            break;
    }
    if (!failure && !Recycle(files)) {
        failure = kFontFileInUse;
        done = plan.size();
    }
    if (failure) {
        for (const RemovalStep& step : UndoPlan(plan, done))
            Undo(step, files[step.file], taken[step.file]);
        return failure;
    }
    AnnounceFontChange();
    return nullptr;
}

// Runs the work off the window's thread; when it is done, the list hears `report`.
template <class Work> void StartWork(MainWindow& window, Event report, Work work)
{
    uninstall->ended = false;
    window.SetBusy(true);
    uninstall->worker = std::thread(
        [work, report](Uninstall& state, MainWindow& owner) {
            work(state);
            state.ended = true;
            owner.Post(Index(Ctl::列表框_字体), report);
        },
        std::ref(*uninstall), std::ref(window));
}

void Join()
{
    if (uninstall && uninstall->worker.joinable())
        uninstall->worker.join();
}

}  // namespace

void StartUninstall(MainWindow& window)
{
    const ListBox& list = window.列表框_字体;
    if (uninstall || list.Selected() < 0)
        return;
    uninstall = std::make_unique<Uninstall>();
    uninstall->family = list.ItemText(list.Selected());
    StartWork(window, Event::WorkProgress, [](Uninstall& work) { work.found = FontsInFolders(); });
}

void AskToUninstall(MainWindow& window)
{
    if (!uninstall || uninstall->phase != Uninstall::Phase::Looking || !uninstall->ended)
        return;
    Join();
    window.SetBusy(false);
    const std::u16string family = WideText(uninstall->family);
    const std::vector<RecordedFile> all = Recorded(uninstall->found);
    uninstall->files = FilesOfFamily(all, family);
    const bool machine = std::any_of(uninstall->files.begin(), uninstall->files.end(),
                                     [](const RecordedFile& f) { return !f.perUser; });
    const std::optional<UninstallRefusal> refusal =
        JudgeUninstall(all, family, InterfaceFaces(), !machine || MayChangeMachineFonts());
    if (refusal) {
        uninstall.reset();
        ShowMessage(UninstallOutcome(UninstallReason(*refusal)), MB_ICONHAND, "提示");
        return;
    }
    std::vector<std::string> paths, others;
    for (const RecordedFile& file : uninstall->files)
        paths.push_back(AnsiText(WideChars(file.path)));
    for (const std::u16string& other : OtherFamilies(uninstall->files, family))
        others.push_back(AnsiText(WideChars(other)));
    const int answer = ShowMessage(UninstallQuestion(uninstall->family, paths, others),
                                   MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2, "提示");
    if (answer != 5) {
        uninstall.reset();
        return;
    }
    uninstall->phase = Uninstall::Phase::Removing;
    StartWork(window, Event::WorkDone, [](Uninstall& work) { work.failure = Remove(work.files); });
}

void FinishUninstall(MainWindow& window)
{
    if (!uninstall || uninstall->phase != Uninstall::Phase::Removing || !uninstall->ended)
        return;
    Join();
    window.SetBusy(false);
    const char* failure = uninstall->failure;
    uninstall.reset();
    ShowMessage(UninstallOutcome(failure), failure ? MB_ICONHAND : 0, "提示");
}

void EndUninstall(MainWindow&)
{
    Join();
    uninstall.reset();
}

bool UninstallRunning()
{
    return uninstall != nullptr;
}
