#pragma once
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
    const std::string& FileName() const { return settings_.fileName; }

    // Shows the open-file dialog modal to the main window. True when the user confirmed a file,
    // whose full path is then the FileName; false leaves every setting as it was.
    bool OpenDialog();

private:
    FileDialogSettings settings_;
};
