#pragma once
#include <string>

#include "controls/control.h"
#include "win/window_text.h"

// What the list box and the combo box share: their items and their selection, each through
// the box's own messages.
class ItemBox : public Control {
public:
    int Count() const { return ItemCount(hwnd_, messages_); }
    int Selected() const { return SelectedItem(hwnd_, messages_); }
    void SetSelected(int index) { SelectItem(hwnd_, messages_, index); }
    std::string ItemText(int index) const { return ::ItemText(hwnd_, messages_, index); }  // empty outside 0..Count()-1
    int Add(const std::string& text) { return AddItem(hwnd_, messages_, text); }

protected:
    explicit ItemBox(const ItemMessages& messages) : messages_(messages) {}

private:
    const ItemMessages& messages_;
};
