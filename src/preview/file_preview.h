#pragma once
#include <memory>

class FontTrials;
class MainWindow;

// A font file that is not installed, shown in the sample box before the user installs it.
// When the path box names exactly one existing regular file that the program's judge and
// the trial in a child process find sound, its first family is added for this process
// alone (FR_PRIVATE | FR_NOT_ENUM: no other program sees it, nothing is written) and the
// sample shows it with the style, effect, size and colour the user chose. The caption
// says so, and no family of the list is selected. A damaged or unreadable file is never
// loaded: the sample stays as it was. The private font is the bytes that were judged and
// tried, added from memory: the file is never added by its path.

class FontFilePreview {
public:
    // Files are tried by these trials, which outlive the preview.
    explicit FontFilePreview(FontTrials& trials);
    // A file still being read is waited for.
    ~FontFilePreview();
    FontFilePreview(const FontFilePreview&) = delete;
    FontFilePreview& operator=(const FontFilePreview&) = delete;

    // 编辑框_安装文字目录 content changed: previews the file the path box names, or ends
    // the preview (the sample returns to the face it had) when the box no longer names it.
    // The file is read, judged and tried off the window's thread (one file at a time); the
    // sample changes when that is done.
    void PreviewNamedFile(MainWindow& window);

    // 编辑框_安装文字目录 WorkDone: the file read off the window's thread is shown, when the
    // box still names it and no family was picked meanwhile; else the box is looked at
    // again.
    void ShowPreviewedFile(MainWindow& window);

    // Whether a file is being read for a preview.
    bool Running() const;

    // Before the previewed file is installed: the private copy is released, so that the
    // system takes the installed one as that family (it drops a second copy of a face it
    // has). Nothing is drawn until the installation has added the installed copy.
    void Suspend(MainWindow& window);

    // After an installation, once the list was reloaded: when the previewed family is now
    // listed (installed), the list selects it and the sample shows it installed; when it
    // is not, the private copy is added again and the preview goes on.
    void SelectInstalledFamily(MainWindow& window);

    // 列表框_字体 selection changed (after the family was applied): the preview ends and
    // its private font is released; the sample keeps the face it shows. A file still being
    // read is not shown.
    void Release(MainWindow& window);

    // The window is being destroyed: a file being read is waited for, and the preview ends.
    void End(MainWindow& window);

private:
    struct State;
    std::unique_ptr<State> state_;
};
