#pragma once
#include <optional>
#include <vector>

#include "controls/dialog_rules.h"
#include "controls/control.h"

// Shows the platform's common dialogs on request. Of the kinds only the open-file
// dialog (kind 0) is built; asking for another shows nothing.
class CommonDlg : public InvisibleControl {
public:
    Kind kind() const override { return Kind::CommonDlg; }

    const FileDialogSettings& Settings() const { return settings_; }
    void SetDialogKind(int kind) { settings_.dialogKind = ClampDialogKind(kind); }
    void SetFilter(const std::string& filter) { settings_.filter = filter; }
    void SetFileName(const std::string& name) { settings_.fileName = name; }
    void SetInitialFilter(int index) { settings_.initialFilter = ClampInitialFilter(index); }
    void SetAllowMultiSelect(bool allow) { settings_.allowMultiSelect = allow; }
    const std::string& FileName() const { return settings_.fileName; }
    // Every file of the last confirmed dialog, in the order given; FileName is the first.
    const std::vector<std::string>& FileNames() const { return fileNames_; }

    // Shows the open-file dialog modal to the main window: the system's common item
    // dialog, or the older open dialog where that cannot be created. True when the user
    // confirmed a file (or several), whose full paths are then the FileNames; false leaves
    // every setting as it was.
    bool OpenDialog();

private:
    // Nothing when the item dialog cannot be created on this thread; else whether a file
    // was confirmed, the paths then in `chosen`.
    std::optional<bool> ShowItemDialog(HWND owner, std::vector<std::string>& chosen) const;
    bool ShowOlderDialog(HWND owner, std::vector<std::string>& chosen) const;

    FileDialogSettings settings_;
    std::vector<std::string> fileNames_;
};
