#include "controls/common_dialog.h"

#include <commdlg.h>

#include "base/dbcs_text.h"

static_assert(OfnFlag::HideReadOnly == OFN_HIDEREADONLY && OfnFlag::NoChangeDir == OFN_NOCHANGEDIR &&
              OfnFlag::EnableHook == OFN_ENABLEHOOK && OfnFlag::AllowMultiSelect == OFN_ALLOWMULTISELECT &&
              OfnFlag::PathMustExist == OFN_PATHMUSTEXIST && OfnFlag::FileMustExist == OFN_FILEMUSTEXIST &&
              OfnFlag::CreatePrompt == OFN_CREATEPROMPT && OfnFlag::OverwritePrompt == OFN_OVERWRITEPROMPT &&
              OfnFlag::Explorer == OFN_EXPLORER && OfnFlag::EnableSizing == OFN_ENABLESIZING);

namespace {

// Centres the Explorer dialog on its owner once it is laid out. The hook's own window is
// a child of the dialog.
UINT_PTR CALLBACK CentreOnOwner(HWND hook, UINT msg, WPARAM, LPARAM lp)
{
    if (msg != WM_NOTIFY || reinterpret_cast<NMHDR*>(lp)->code != CDN_INITDONE)
        return 0;
    HWND dialog = GetParent(hook);
    HWND owner = GetWindow(dialog, GW_OWNER);
    RECT d, o;
    if (!owner || !GetWindowRect(dialog, &d) || !GetWindowRect(owner, &o))
        return 0;
    const int width = d.right - d.left, height = d.bottom - d.top;
    SetWindowPos(dialog, nullptr, o.left + (o.right - o.left - width) / 2, o.top + (o.bottom - o.top - height) / 2, 0,
                 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
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
    ofn.lpfnHook = &CentreOnOwner;

    HWND focus = GetFocus();
    const BOOL confirmed = GetOpenFileNameA(&ofn);
    if (focus && IsWindow(focus))
        SetFocus(focus);
    if (!confirmed)
        return false;  // cancelled, or the path did not fit the buffer
    settings_.fileName = file.c_str();
    return true;
}
