#pragma once
#include "base/text_list.h"

class MainWindow;

// The font list's catalogue: the installed face names of the last enumeration, as
// 列表框_字体 shows them. Empty until the first enumeration; made and kept by the program
// for the window's whole life.
class FontCatalogue {
public:
    // Enumerates afresh and shows the catalogue in 列表框_字体, once, in catalogue order,
    // keeping the selected family selected where it is still listed. The handler of
    // 按钮_刷新, and of 按钮_安装字体 once the installation's box is closed.
    void Reload(MainWindow& window);

    // Reloads like Reload; when the selected family is no longer listed, selects the item
    // that took its place (else the one before it), and the sample shows it.
    void ReloadSelectingNeighbour(MainWindow& window);

    // Creation-complete work of the lists: the font list, then the 88 sizes.
    void FillAtStartUp(MainWindow& window);

    // The names of the last enumeration (none before the first).
    const TextList& Names() const { return names_; }

private:
    TextList names_;
};
