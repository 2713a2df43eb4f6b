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

// How a removal ended: the reason nothing was removed, or what became of the files.
struct Removal {
    const char* failure = nullptr;
    RemovalOutcome outcome;
};

}  // namespace

// An uninstall under way: first the look for the family's files, then, once the user has
// said yes, their removal.
struct FontUninstaller::Uninstall {
    enum class Phase { Looking, Removing };
    Phase phase = Phase::Looking;
    std::string family;  // as the list shows it
    std::vector<FolderFont> found;
    std::vector<RecordedFile> files;  // the family's
    Removal removal;
    std::atomic<bool> ended{false};
    std::thread worker;
};

namespace {

using Uninstall = FontUninstaller::Uninstall;

std::vector<RecordedFile> Recorded(const std::vector<FolderFont>& found)
{
    std::vector<RecordedFile> files;
    for (const FolderFont& font : found) {
        RecordedFile file{{font.valueName}, font.path, font.perUser, {}};
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
    struct Value {
        std::u16string name;
        DWORD type = REG_SZ;
        std::vector<BYTE> data;
    };
    std::vector<Value> values;  // those deleted
    DWORD attributes = INVALID_FILE_ATTRIBUTES;  // before the file was made writable
};

std::u16string AsidePath(const RecordedFile& file)
{
    return file.path + reinterpret_cast<const char16_t*>(kAside);
}

// Why a file could not be moved, opened or changed.
const char* FileFailure(DWORD error)
{
    switch (error) {
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return kFontFileInUse;
    case ERROR_ACCESS_DENIED:
        return UninstallReason(UninstallRefusal::NoRights);
    default:
        return kUninstallRefused;
    }
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
        for (const std::u16string& valueName : file.valueNames) {
            Taken::Value value{valueName, REG_SZ, {}};
            DWORD size = 0;
            if (RegQueryValueExW(key.get(), WideChars(valueName), nullptr, &value.type, nullptr, &size) !=
                ERROR_SUCCESS)
                return kUninstallRefused;
            value.data.resize(size);
            if (RegQueryValueExW(key.get(), WideChars(valueName), nullptr, &value.type, value.data.data(), &size) !=
                    ERROR_SUCCESS ||
                RegDeleteValueW(key.get(), WideChars(valueName)) != ERROR_SUCCESS)
                return kUninstallRefused;
            taken.values.push_back(std::move(value));
        }
        return nullptr;
    }
    case RemovalStep::MoveAside:
        return MoveFileExW(WideChars(file.path), WideChars(AsidePath(file)), 0) ? nullptr
                                                                                : FileFailure(GetLastError());
    case RemovalStep::Unprotect: {
        // A read-only file cannot be deleted: made writable here, while that can still be
        // undone. Then opened for deletion with no sharing, which another program's handle
        // on it would refuse.
        const std::u16string aside = AsidePath(file);
        const DWORD attributes = GetFileAttributesW(WideChars(aside));
        if (attributes == INVALID_FILE_ATTRIBUTES)
            return FileFailure(GetLastError());
        if (attributes & FILE_ATTRIBUTE_READONLY) {
            if (!SetFileAttributesW(WideChars(aside), attributes & ~FILE_ATTRIBUTE_READONLY))
                return FileFailure(GetLastError());
            taken.attributes = attributes;
        }
        ScopedHandle probe(CreateFileW(WideChars(aside), DELETE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        return probe.valid() ? nullptr : FileFailure(GetLastError());
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
        if (RegOpenKeyExA(root, kFontsKey, 0, KEY_SET_VALUE, key.out()) != ERROR_SUCCESS)
            break;
        for (const Taken::Value& value : taken.values)
            RegSetValueExW(key.get(), WideChars(value.name), 0, value.type, value.data.data(),
                           static_cast<DWORD>(value.data.size()));
        break;
    }
    case RemovalStep::MoveAside:
        MoveFileExW(WideChars(AsidePath(file)), WideChars(file.path), 0);
        break;
    case RemovalStep::Unprotect:
        if (taken.attributes != INVALID_FILE_ATTRIBUTES)
            SetFileAttributesW(WideChars(AsidePath(file)), taken.attributes);
        break;
    }
}

bool Exists(const std::u16string& path)
{
    return GetFileAttributesW(WideChars(path)) != INVALID_FILE_ATTRIBUTES;
}

// How many items the Recycle Bin of the file's drive holds; nothing when it cannot say.
std::optional<long long> RecycledItems(const std::u16string& path)
{
    auto* query = SYSTEM_PROC("shell32.dll", SHQueryRecycleBinW);
    if (!query)
        return std::nullopt;
    SHQUERYRBINFO info = {};
    info.cbSize = sizeof info;
    const std::u16string root = path.substr(0, 3);
    if (FAILED(query(WideChars(root), &info)))
        return std::nullopt;
    return info.i64NumItems;
}

// One file, back under its own name, to the Recycle Bin. True when it went there; false
// when the Recycle Bin refused it (the system may have deleted it instead) or cannot say.
bool ToRecycleBin(const std::u16string& path)
{
    auto* operate = SYSTEM_PROC("shell32.dll", SHFileOperationW);
    if (!operate)
        return false;
    const std::optional<long long> before = RecycledItems(path);
    std::u16string list = path;  // the path ended by a NUL, the list by another
    list += u'\0';
    list += u'\0';
    SHFILEOPSTRUCTW operation = {};
    operation.wFunc = FO_DELETE;
    operation.pFrom = reinterpret_cast<const wchar_t*>(list.c_str());
    operation.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
    const bool done = operate(&operation) == 0 && !operation.fAnyOperationsAborted && !Exists(path);
    const std::optional<long long> after = RecycledItems(path);
    return done && before && after && *after > *before;
}

// The files, every step before done: each to the Recycle Bin, else deleted; one that cannot
// be deleted either is put back whole (its steps undone), with the reason.
RemovalOutcome Dispose(const std::vector<RecordedFile>& files, const std::vector<RemovalStep>& plan,
                       const std::vector<Taken>& taken)
{
    RemovalOutcome outcome;
    for (std::size_t f = 0; f < files.size(); ++f) {
        const RecordedFile& file = files[f];
        const std::string shown = AnsiText(WideChars(file.path));
        // Under its own name, so that the Recycle Bin shows it as it was.
        std::u16string path = MoveFileExW(WideChars(AsidePath(file)), WideChars(file.path), 0) ? file.path
                                                                                             : AsidePath(file);
        if (ToRecycleBin(path))
            continue;
        if (!Exists(path) || DeleteFileW(WideChars(path))) {
            outcome.deletedForGood.push_back(shown);
            continue;
        }
        const char* reason = FileFailure(GetLastError());
        if (path == file.path)
            MoveFileExW(WideChars(file.path), WideChars(AsidePath(file)), 0);
        std::vector<RemovalStep> own;
        for (const RemovalStep& step : plan) {
            if (step.file == f)
                own.push_back(step);
        }
        for (const RemovalStep& step : UndoPlan(own, own.size()))
            Undo(step, file, taken[f]);
        outcome.kept.push_back({shown, reason});
    }
    return outcome;
}

// Takes the files out: every step that can be undone first, for all of them, all or
// nothing; only then the files are disposed of.
Removal Remove(const std::vector<RecordedFile>& files)
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
    if (failure) {
        for (const RemovalStep& step : UndoPlan(plan, done))
            Undo(step, files[step.file], taken[step.file]);
        return {failure, {}};
    }
    Removal removal{nullptr, Dispose(files, plan, taken)};
    AnnounceFontChange();
    return removal;
}

// Runs the work off the window's thread; when it is done, the list hears `report`.
template <class Work> void StartWork(std::unique_ptr<Uninstall>& uninstall, MainWindow& window, Event report, Work work)
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

void Join(std::unique_ptr<Uninstall>& uninstall)
{
    if (uninstall && uninstall->worker.joinable())
        uninstall->worker.join();
}

}  // namespace

FontUninstaller::FontUninstaller(FontFolders folders) : folders_(std::move(folders)) {}

FontUninstaller::~FontUninstaller()
{
    Join(uninstall_);
}

void FontUninstaller::Start(MainWindow& window)
{
    std::unique_ptr<Uninstall>& uninstall = uninstall_;
    const ListBox& list = window.列表框_字体;
    if (uninstall || list.Selected() < 0)
        return;
    uninstall = std::make_unique<Uninstall>();
    uninstall->family = list.ItemText(list.Selected());
    StartWork(uninstall, window, Event::WorkProgress, [folders = folders_](Uninstall& work) { work.found = folders.Fonts(); });
}

void FontUninstaller::Ask(MainWindow& window)
{
    std::unique_ptr<Uninstall>& uninstall = uninstall_;
    if (!uninstall || uninstall->phase != Uninstall::Phase::Looking || !uninstall->ended)
        return;
    Join(uninstall);
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
    StartWork(uninstall, window, Event::WorkDone, [](Uninstall& work) { work.removal = Remove(work.files); });
}

void FontUninstaller::Finish(MainWindow& window)
{
    std::unique_ptr<Uninstall>& uninstall = uninstall_;
    if (!uninstall || uninstall->phase != Uninstall::Phase::Removing || !uninstall->ended)
        return;
    Join(uninstall);
    window.SetBusy(false);
    const Removal removal = uninstall->removal;
    uninstall.reset();
    if (removal.failure)
        ShowMessage(UninstallOutcome(removal.failure), MB_ICONHAND, "提示");
    else
        ShowMessage(UninstallOutcome(removal.outcome),
                    removal.outcome.kept.empty() && removal.outcome.deletedForGood.empty() ? 0 : MB_ICONWARNING, "提示");
}

void FontUninstaller::End(MainWindow&)
{
    Join(uninstall_);
    uninstall_.reset();
}

bool FontUninstaller::Running() const
{
    return uninstall_ != nullptr;
}
