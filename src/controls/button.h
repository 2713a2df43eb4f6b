#pragma once
#include "controls/control.h"

// The platform's push button, caption centred both ways; raises Clicked.
class Button : public Control {
public:
    Kind kind() const override { return Kind::Button; }
    bool Create(const CreateArgs& args) override;
    void OnCommand(int code) override;
};
