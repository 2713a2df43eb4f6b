#include "catalogue/font_lists.h"

#include <algorithm>

#include "catalogue/font_enum.h"
#include "catalogue/font_sizes.h"
#include "window/main_window.h"

void FontCatalogue::Reload(MainWindow& window)
{
    ListBox& list = window.列表框_字体;
    const std::string selected = list.ItemText(list.Selected());
    const bool hadSelection = list.Selected() >= 0;

    names_ = GetInstalledFontNames();
    const TextList& names = names_;

    // One repaint for the whole list, not one per item.
    list.SetRedraw(false);
    list.Clear();
    int reselect = -1;
    for (int i = 1; i <= names.Length(); ++i) {
        int index = list.Add(names.At(i));
        if (hadSelection && reselect < 0 && index >= 0 && names.At(i) == selected)
            reselect = index;
    }
    if (reselect >= 0)
        list.SetSelected(reselect);
    list.SetRedraw(true);
}

void FontCatalogue::ReloadSelectingNeighbour(MainWindow& window)
{
    ListBox& list = window.列表框_字体;
    const int was = list.Selected();
    Reload(window);
    if (was < 0 || list.Selected() >= 0 || list.Count() == 0)
        return;
    // Gone from the list: the item that took its place, else the one before it, and the
    // sample shows it.
    list.SetSelected(std::min(was, list.Count() - 1));
    window.Raise(Index(Ctl::列表框_字体), Event::SelectionChanged, {});
}

void FontCatalogue::FillAtStartUp(MainWindow& window)
{
    Reload(window);
    for (const std::string& size : SizeListItems())
        window.组合框_字体大小.Add(size);
}
