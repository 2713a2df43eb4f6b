#include "controls/common_dialog.h"

#include <commdlg.h>
#include <shobjidl.h>

#include "base/dbcs_text.h"
#include "win/placement.h"
#include "win/system_proc.h"
#include "win/window_text.h"

static_assert(OfnFlag::HideReadOnly == OFN_HIDEREADONLY && OfnFlag::NoChangeDir == OFN_NOCHANGEDIR &&
              OfnFlag::EnableHook == OFN_ENABLEHOOK && OfnFlag::AllowMultiSelect == OFN_ALLOWMULTISELECT &&
              OfnFlag::PathMustExist == OFN_PATHMUSTEXIST && OfnFlag::FileMustExist == OFN_FILEMUSTEXIST &&
              OfnFlag::CreatePrompt == OFN_CREATEPROMPT && OfnFlag::OverwritePrompt == OFN_OVERWRITEPROMPT &&
              OfnFlag::Explorer == OFN_EXPLORER && OfnFlag::EnableSizing == OFN_ENABLESIZING);
static_assert(FosFlag::OverwritePrompt == FOS_OVERWRITEPROMPT && FosFlag::NoChangeDir == FOS_NOCHANGEDIR &&
              FosFlag::ForceFileSystem == FOS_FORCEFILESYSTEM && FosFlag::AllowMultiSelect == FOS_ALLOWMULTISELECT &&
              FosFlag::PathMustExist == FOS_PATHMUSTEXIST && FosFlag::FileMustExist == FOS_FILEMUSTEXIST &&
              FosFlag::CreatePrompt == FOS_CREATEPROMPT);

namespace {

// Places the Explorer dialog once it is laid out: centred on its owner, inside the owner's
// monitor. The hook's own window is a child of the dialog.
UINT_PTR CALLBACK PlaceOnOwner(HWND hook, UINT msg, WPARAM, LPARAM lp)
{
    if (msg == WM_NOTIFY && reinterpret_cast<NMHDR*>(lp)->code == CDN_INITDONE) {
        const HWND dialog = GetParent(hook);
        CentreOnOwnerInsideWorkArea(dialog, GetWindow(dialog, GW_OWNER));
    }
    return 0;
}

const char* OrNull(const std::string& text)
{
    return text.empty() ? nullptr : text.c_str();
}

// Releases a COM interface when its scope ends.
template <class I> class ComRef {
public:
    ComRef() = default;
    ~ComRef()
    {
        if (p_)
            p_->Release();
    }
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;
    I* operator->() const { return p_; }
    I* get() const { return p_; }
    I** out() { return &p_; }
    void** outVoid() { return reinterpret_cast<void**>(&p_); }

private:
    I* p_ = nullptr;
};

// The item dialog's events: the first folder it shows (the dialog laid out, not yet on the
// screen) places it as the older dialog is placed. Later folders leave it where the user
// has it. Lives on the stack of the call that shows the dialog, and is unadvised before.
class PlaceOnFirstFolder final : public IFileDialogEvents {
public:
    explicit PlaceOnFirstFolder(HWND owner) : owner_(owner) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override
    {
        if (!object)
            return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IFileDialogEvents)) {
            *object = static_cast<IFileDialogEvents*>(this);
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    HRESULT STDMETHODCALLTYPE OnFolderChange(IFileDialog* dialog) override
    {
        if (placed_ || !owner_)
            return S_OK;
        ComRef<IOleWindow> window;
        HWND hwnd = nullptr;
        if (SUCCEEDED(dialog->QueryInterface(IID_IOleWindow, window.outVoid())) &&
            SUCCEEDED(window->GetWindow(&hwnd)) && hwnd) {
            CentreOnOwnerInsideWorkArea(hwnd, owner_);
            placed_ = true;
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnFileOk(IFileDialog*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnFolderChanging(IFileDialog*, IShellItem*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnSelectionChange(IFileDialog*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnShareViolation(IFileDialog*, IShellItem*, FDE_SHAREVIOLATION_RESPONSE*) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE OnTypeChange(IFileDialog*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnOverwrite(IFileDialog*, IShellItem*, FDE_OVERWRITE_RESPONSE*) override
    {
        return E_NOTIMPL;
    }

private:
    HWND owner_;
    bool placed_ = false;
};

}  // namespace

std::optional<bool> CommonDlg::ShowItemDialog(HWND owner, std::vector<std::string>& chosen) const
{
    // Needs COM on this thread (the program's thread has OLE for its drops).
    ComRef<IFileOpenDialog> dialog;
    if (FAILED(CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER, IID_IFileOpenDialog,
                                dialog.outVoid())))
        return std::nullopt;

    FILEOPENDIALOGOPTIONS options = 0;
    dialog->GetOptions(&options);
    options &= ~static_cast<FILEOPENDIALOGOPTIONS>(FOS_OVERWRITEPROMPT | FOS_NOCHANGEDIR | FOS_ALLOWMULTISELECT |
                                                   FOS_PATHMUSTEXIST | FOS_FILEMUSTEXIST | FOS_CREATEPROMPT);
    dialog->SetOptions(options | ItemDialogOptions(settings_));

    // The filter pairs in UTF-16, kept alive until the dialog has taken them.
    std::vector<std::u16string> texts;
    std::vector<COMDLG_FILTERSPEC> fileTypes;
    for (const auto& [description, pattern] : FilterPairs(settings_.filter)) {
        texts.push_back(WideText(description));
        texts.push_back(WideText(pattern));
    }
    for (std::size_t i = 0; i + 1 < texts.size(); i += 2)
        fileTypes.push_back({WideChars(texts[i]), WideChars(texts[i + 1])});
    if (!fileTypes.empty()) {
        dialog->SetFileTypes(static_cast<UINT>(fileTypes.size()), fileTypes.data());
        dialog->SetFileTypeIndex(static_cast<UINT>(FilterIndex(settings_)));
    }
    if (!settings_.fileName.empty())
        dialog->SetFileName(WideChars(WideText(settings_.fileName)));
    if (!settings_.dialogTitle.empty())
        dialog->SetTitle(WideChars(WideText(settings_.dialogTitle)));
    if (!settings_.defaultExtension.empty())
        dialog->SetDefaultExtension(WideChars(WideText(settings_.defaultExtension)));
    if (!settings_.initialDirectory.empty()) {
        auto* itemFromPath = SYSTEM_PROC("shell32.dll", SHCreateItemFromParsingName);
        ComRef<IShellItem> folder;
        if (itemFromPath && SUCCEEDED(itemFromPath(WideChars(WideText(settings_.initialDirectory)), nullptr,
                                                   IID_IShellItem, folder.outVoid())))
            dialog->SetFolder(folder.get());
    }

    PlaceOnFirstFolder events(owner);
    DWORD cookie = 0;
    const bool advised = SUCCEEDED(dialog->Advise(&events, &cookie));
    const HRESULT shown = dialog->Show(owner);
    if (advised)
        dialog->Unadvise(cookie);
    if (FAILED(shown))
        return false;  // cancelled, or the dialog could not be shown

    ComRef<IShellItemArray> results;
    DWORD count = 0;
    if (FAILED(dialog->GetResults(results.out())) || FAILED(results->GetCount(&count)))
        return false;
    for (DWORD i = 0; i < count; ++i) {
        ComRef<IShellItem> item;
        wchar_t* path = nullptr;
        if (FAILED(results->GetItemAt(i, item.out())) || FAILED(item->GetDisplayName(SIGDN_FILESYSPATH, &path)))
            continue;
        chosen.push_back(AnsiText(path));
        CoTaskMemFree(path);
    }
    return !chosen.empty();
}

bool CommonDlg::ShowOlderDialog(HWND owner, std::vector<std::string>& chosen) const
{
    const std::string filters = FilterList(settings_.filter);
    const std::size_t buffer = settings_.allowMultiSelect ? kMultiFileNameBuffer : kFileNameBuffer;
    std::string file = CutText(settings_.fileName, kFileNameBuffer - 1);
    file.resize(buffer, '\0');

    OPENFILENAMEA ofn = {};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filters.empty() ? nullptr : filters.c_str();
    ofn.nFilterIndex = static_cast<DWORD>(FilterIndex(settings_));
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(buffer);
    ofn.lpstrInitialDir = OrNull(settings_.initialDirectory);
    ofn.lpstrTitle = OrNull(settings_.dialogTitle);
    ofn.lpstrDefExt = OrNull(settings_.defaultExtension);
    ofn.Flags = FileDialogOptions(settings_) | OFN_ENABLEHOOK;
    ofn.lpfnHook = &PlaceOnOwner;

    auto* getOpenFileName = SYSTEM_PROC("comdlg32.dll", GetOpenFileNameA);
    if (!getOpenFileName || !getOpenFileName(&ofn))
        return false;  // cancelled, or the paths did not fit the buffer
    chosen = ChosenFiles(file);
    return !chosen.empty();
}

bool CommonDlg::OpenDialog()
{
    if (settings_.dialogKind != 0)
        return false;  // only the open-file kind is built: the program uses no other

    const HWND owner = hwnd_ ? GetAncestor(hwnd_, GA_ROOT) : nullptr;
    HWND focus = GetFocus();
    std::vector<std::string> chosen;
    const std::optional<bool> item = ShowItemDialog(owner, chosen);
    const bool confirmed = item ? *item : ShowOlderDialog(owner, chosen);
    if (focus && IsWindow(focus))
        SetFocus(focus);
    if (!confirmed)
        return false;
    fileNames_ = std::move(chosen);
    settings_.fileName = fileNames_.front();
    return true;
}
