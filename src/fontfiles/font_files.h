#pragma once
#include <string>

class MainWindow;

// 按钮_打开字体 clicked: the open dialog with the font filter; a confirmed path goes
// into 编辑框_安装文字目录.
void OpenFontFile(MainWindow& window);

// Installs the font file the path box names (one path in quotes counts as that path):
// copies it into the system's fonts folder, adds it to the system's font table and records
// it in the system's font registry, for every user; where the system's folder cannot be
// written, the same for the current user in their own fonts folder. All or nothing, and
// a damaged TrueType, OpenType or collection file is refused. Then every top-level window
// is told, without waiting on a frozen one. Returns the number of fonts added, 0 on failure.
int InstallFontFile(const std::string& pathText);

// 按钮_安装字体 clicked: installs the file named in the path box, reports the outcome,
// then reloads the font list.
void InstallChosenFont(MainWindow& window);

// The end of creation-complete: the whole main window becomes a drop area.
void RegisterMainWindowForDrops(MainWindow& window);
void ShowDroppedText(MainWindow& window, const std::string& text);    // 拖放对象1 TextDropped
void ShowDroppedFiles(MainWindow& window, const std::string& paths);  // 拖放对象1 FilesDropped

// The main window is being destroyed: the forum notice, then the forum.
void AnnounceForum(MainWindow& window);
