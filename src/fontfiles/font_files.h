#pragma once
#include <string>

class MainWindow;

void OpenFontFile(MainWindow& window);                                // 按钮_打开字体 clicked
void InstallChosenFont(MainWindow& window);                           // 按钮_安装字体 clicked
void RegisterMainWindowForDrops(MainWindow& window);                  // end of creation-complete
void ShowDroppedText(MainWindow& window, const std::string& text);   // 拖放对象1 TextDropped
void ShowDroppedFiles(MainWindow& window, const std::string& paths);  // 拖放对象1 FilesDropped
void AnnounceForum(MainWindow& window);                               // main window being destroyed
