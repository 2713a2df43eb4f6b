#include "controls/common_dialog.h"

#include <commdlg.h>

#include "base/dbcs_text.h"
#include "win/placement.h"
#include "win/system_proc.h"

static_assert(OfnFlag::HideReadOnly == OFN_HIDEREADONLY && OfnFlag::NoChangeDir == OFN_NOCHANGEDIR &&
              OfnFlag::EnableHook == OFN_ENABLEHOOK && OfnFlag::AllowMultiSelect == OFN_ALLOWMULTISELECT &&
              OfnFlag::PathMustExist == OFN_PATHMUSTEXIST && OfnFlag::FileMustExist == OFN_FILEMUSTEXIST &&
              OfnFlag::CreatePrompt == OFN_CREATEPROMPT && OfnFlag::OverwritePrompt == OFN_OVERWRITEPROMPT &&
              OfnFlag::Explorer == OFN_EXPLORER && OfnFlag::EnableSizing == OFN_ENABLESIZING);

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

}  // namespace

bool CommonDlg::OpenDialog()
{
    if (settings_.dialogKind != 0)
        return false;  // only the open-file kind is built: the program uses no other

    const std::string filters = FilterList(settings_.filter);
    std::string file = CutText(settings_.fileName, kFileNameBuffer - 1);
    file.resize(kFileNameBuffer, '\0');

    OPENFILENAMEA ofn = {};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = hwnd_ ? GetAncestor(hwnd_, GA_ROOT) : nullptr;
    ofn.lpstrFilter = filters.empty() ? nullptr : filters.c_str();
    ofn.nFilterIndex = static_cast<DWORD>(FilterIndex(settings_));
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(kFileNameBuffer);
    ofn.lpstrInitialDir = OrNull(settings_.initialDirectory);
    ofn.lpstrTitle = OrNull(settings_.dialogTitle);
    ofn.lpstrDefExt = OrNull(settings_.defaultExtension);
    ofn.Flags = FileDialogOptions(settings_) | OFN_ENABLEHOOK;
    ofn.lpfnHook = &PlaceOnOwner;

    HWND focus = GetFocus();
    auto* getOpenFileName = SYSTEM_PROC("comdlg32.dll", GetOpenFileNameA);
    const BOOL confirmed = getOpenFileName && getOpenFileName(&ofn);
    if (focus && IsWindow(focus))
        SetFocus(focus);
    if (!confirmed)
        return false;  // cancelled, or the path did not fit the buffer
    settings_.fileName = file.c_str();
    return true;
}
