#pragma once
#include <memory>
#include <string>
#include <vector>

#include "fontfiles/install_rules.h"

class FontTrials;
class MainWindow;
class TrialSession;

// 按钮_打开字体 clicked: the open dialog with the font filter, several files allowed; the
// confirmed paths go into 编辑框_安装文字目录 as a drop leaves them.
void OpenFontFile(MainWindow& window);

// Installs one font file: copies it into the system's fonts folder, adds it to the
// system's font table and records it in the system's font registry, for every user; where
// the system's folder cannot be written, the same for the current user in their own fonts
// folder. All or nothing: a damaged TrueType, OpenType or collection file, or one the
// system will not take, leaves nothing behind. The file is read once; what is installed is
// exactly what was read and judged. Says why a file was not installed.
// The trial runs in the session's child. Safe on any thread.
InstallResult InstallFontFile(const std::string& path, TrialSession& trials);

// The install button's presses, one at a time, from the program's start to its end.
class FontInstaller {
public:
    // Files are tried by these trials, which outlive the installer.
    explicit FontInstaller(FontTrials& trials);
    // A press still under way is cancelled and waited for.
    ~FontInstaller();
    FontInstaller(const FontInstaller&) = delete;
    FontInstaller& operator=(const FontInstaller&) = delete;

    // 按钮_安装字体 clicked: installs the files named in the path box, each on its own and
    // in order, on a thread of its own (one trial child serves the whole press). Meanwhile
    // the window answers, its caption says how far the press got ("正在检查字体 3/60…"), the
    // pointer shows the work, and the install button and the path box take no new
    // request. A press already under way is not started again.
    void Start(MainWindow& window);

    // 按钮_安装字体 WorkProgress: the caption follows the press.
    void ShowProgress(MainWindow& window);

    // 按钮_安装字体 WorkDone: when any file was installed, every top-level window is told
    // once, without waiting on a frozen one; then the outcome box says how it went.
    // Nothing when no press has ended.
    void Finish(MainWindow& window);

    // The main window is being destroyed: a press under way stops after the file it is on.
    void Cancel(MainWindow& window);

    // Whether a press is under way.
    bool Running() const;

    // 编辑框_安装文字目录 content changed: while the box names several files, the caption
    // says how many ("<caption> - 3 个字体文件"); only the caption this gave is taken back.
    void ShowNamedFileCount(MainWindow& window);

    struct Press;  // its files, its worker and their outcomes

private:
    FontTrials& trials_;
    std::unique_ptr<Press> press_;
    NamedFilesCount count_;
};

// Tells every top-level window once that the fonts changed (WM_FONTCHANGE), without
// waiting more than half a second on any window that does not answer.
void AnnounceFontChange();

// The end of creation-complete: the whole main window becomes a drop area.
void RegisterMainWindowForDrops(MainWindow& window);
void ShowDroppedText(MainWindow& window, const std::string& text);    // 拖放对象1 TextDropped
void ShowDroppedFiles(MainWindow& window, const std::string& paths);  // 拖放对象1 FilesDropped

// The main window is being destroyed: the forum notice, then the forum.
void AnnounceForum(MainWindow& window);
