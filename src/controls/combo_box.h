#pragma once
#include "controls/control.h"

// The platform's combo box (simple, drop-down or drop-down list), with its items and
// first selection from the creation arguments. Raises ItemChosen after the box has
// taken the pick, and EditTextChanged for typing in the field.
class ComboBox : public Control {
public:
    Kind kind() const override { return Kind::ComboBox; }
    bool Create(const CreateArgs& args) override;

    int Count() const;
    int Selected() const;
    void SetSelected(int index);
    std::string ItemText(int index) const;  // empty outside 0..Count()-1
    int Add(const std::string& text);
    std::string Text() const;  // the edit field

    void OnCommand(int code) override;
};
