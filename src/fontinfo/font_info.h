#pragma once
#include <string>
#include <utility>

#include "fontcheck/font_folders.h"

class MainWindow;

// The font-information window: what a font is (its names, styles, files, format and what
// it says about itself) and how much of the character sets of Chinese text it covers,
// with the characters of the sample text it lacks. An installed family is read through
// the system (GetFontData); a previewed file from the bytes already read and judged.
// The files of an installed family are looked for in the fonts folders off the window's
// thread: the window shows at once and says so until they are found.

class FontInformation {
public:
    // The files are looked for through these folders (a copy that shares what was read).
    explicit FontInformation(FontFolders folders) : folders_(std::move(folders)) {}

    // 列表框_字体 info requested: the selected family's information.
    void ShowListed(MainWindow& window);

    // 编辑框_输入的文字 info requested: the information of the font the sample shows: the
    // previewed file while one is previewed, else the family of the sample's font.
    void ShowSample(MainWindow& window);

private:
    void ShowInstalled(MainWindow& window, const std::string& family);
    FontFolders folders_;
};
