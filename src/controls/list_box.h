#pragma once
#include "controls/control.h"

// The platform's list box, single selection, unsorted; raises SelectionChanged for the
// user's changes.
class ListBox : public Control {
public:
    Kind kind() const override { return Kind::ListBox; }
    bool Create(const CreateArgs& args) override;

    int Count() const;
    int Selected() const;
    void SetSelected(int index);
    std::string ItemText(int index) const;  // empty outside 0..Count()-1
    int Add(const std::string& text);
    void Clear();
    int FindExact(const std::string& text) const;
    // Stops and restarts the drawing around many changes: one repaint for all of them.
    void SetRedraw(bool on);

    void OnCommand(int code) override;
};
