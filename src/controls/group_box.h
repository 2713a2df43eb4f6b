#pragma once
#include "controls/control.h"

// The platform's group box: a caption and a frame, and the parent of the controls placed
// in it, whose notifications it passes on to its own parent.
class GroupBox : public Control {
public:
    Kind kind() const override { return Kind::GroupBox; }
    bool Create(const CreateArgs& args) override;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
};
