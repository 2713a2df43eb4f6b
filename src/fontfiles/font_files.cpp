#include "fontfiles/font_files.h"

#include "ui/main_window.h"

void OpenFontFile(MainWindow&) {}
void InstallChosenFont(MainWindow&) {}
void RegisterMainWindowForDrops(MainWindow&) {}

void ShowDroppedText(MainWindow& window, const std::string& text)
{
    window.编辑框_输入的文字.SetText(text);
}

void ShowDroppedFiles(MainWindow& window, const std::string& paths)
{
    window.编辑框_安装文字目录.SetText(paths);
}

void AnnounceForum(MainWindow&) {}
