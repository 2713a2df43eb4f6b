#pragma once
#include <optional>

#include "base/text_list.h"

class MainWindow;

// The catalogue of installed face names from the last enumeration: created empty at
// start, released by the exit hook.
extern std::optional<TextList> InstalledFontNames;

// Enumerates afresh and shows the catalogue in 列表框_字体, once, in catalogue order,
// keeping the selected family selected where it is still listed. The handler of
// 按钮_刷新, and of 按钮_安装字体 once the installation's box is closed.
void ReloadFontList(MainWindow& window);

// Creation-complete work of the lists: the font list, then the 88 sizes.
// Reloads the font list like ReloadFontList; when the selected family is no longer listed,
// selects the item that took its place (else the one before it), and the sample shows it.
void ReloadSelectingNeighbour(MainWindow& window);

void FillListsAtStartUp(MainWindow& window);
