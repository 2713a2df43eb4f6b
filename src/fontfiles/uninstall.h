#pragma once
#include <memory>

#include "fontcheck/font_folders.h"

class MainWindow;

// Taking the selected family out of the system, whole, after the user confirms, so that it
// can be had back from the Recycle Bin. Its files are the fonts keys' values (the
// machine's and the user's) whose file lies in the matching fonts folder and whose fonts
// have the family among their names. Refused, with nothing changed, for a family no such
// file holds, one the system's interface draws with, and a machine-wide one where the
// program may not change the machine's fonts. The removal is all or nothing: each file's
// font taken out of the system's table, its value deleted and the file moved aside; a step
// that fails (a file another program holds open) undoes every step before it. Then the
// files go to the Recycle Bin (deleted where its drive has none) and every top-level window
// is told once. Files are looked for, and removed, off the window's thread.

class FontUninstaller {
public:
    // The family's files are looked for through these folders (a copy that shares what was
    // read).
    explicit FontUninstaller(FontFolders folders);
    // Work under way is waited for.
    ~FontUninstaller();
    FontUninstaller(const FontUninstaller&) = delete;
    FontUninstaller& operator=(const FontUninstaller&) = delete;

    // 列表框_字体 uninstall requested (its menu's entry, or Delete): looks for the selected
    // family's files. Nothing while an uninstall is under way or nothing is selected.
    void Start(MainWindow& window);

    // 列表框_字体 WorkProgress: the files are found: the refusal, or the question and, on
    // Yes, the removal.
    void Ask(MainWindow& window);

    // 列表框_字体 WorkDone: the outcome box (the list is reloaded afterwards, selecting the
    // family's neighbour).
    void Finish(MainWindow& window);

    // The main window is being destroyed: work under way is waited for.
    void End(MainWindow& window);

    // Whether an uninstall is under way.
    bool Running() const;

    struct Uninstall;  // the family, its files, the worker and how the removal went

private:
    FontFolders folders_;
    std::unique_ptr<Uninstall> uninstall_;
};
