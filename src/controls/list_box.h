#pragma once
#include "controls/item_box.h"

// The platform's list box, single selection, unsorted; raises SelectionChanged for the
// user's changes. Its context menu holds the entries it is made with: a right click on an
// item first selects it, as a left click would; Shift+F10 or the menu key opens the menu
// for the selected item. An entry's key runs it without the menu.
class ListBox : public ItemBox {
public:
    ListBox() : ItemBox(kListBoxItems) {}
    Kind kind() const override { return Kind::ListBox; }
    bool Create(const CreateArgs& args) override;

    void Clear();
    int FindExact(const std::string& text) const;
    // Stops and restarts the drawing around many changes: one repaint for all of them.
    void SetRedraw(bool on);

    void OnCommand(int code) override;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void ShowMenu(LPARAM at);

    std::span<const MenuEntry> menu_;
    bool swallowChar_ = false;
};
