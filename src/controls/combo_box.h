#pragma once
#include "controls/item_box.h"

// The platform's combo box (simple, drop-down or drop-down list), with its items and
// first selection from the creation arguments. Raises ItemChosen after the box has
// taken the pick, and EditTextChanged for typing in the field.
class ComboBox : public ItemBox {
public:
    ComboBox() : ItemBox(kComboBoxItems) {}
    Kind kind() const override { return Kind::ComboBox; }
    bool Create(const CreateArgs& args) override;

    std::string Text() const;  // the edit field

    void OnCommand(int code) override;
};
