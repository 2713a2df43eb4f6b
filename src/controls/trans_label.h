#pragma once
#include "controls/control.h"

// Static text drawn on a transparent background, so that what lies beneath shows
// through; raises LeftButtonPressed when the left button goes down on it.
class TransLabel : public CustomControl {
public:
    ~TransLabel() override;
    Kind kind() const override { return Kind::TransLabel; }
    bool Create(const CreateArgs& args) override;
    std::string Caption() const { return caption_; }
    COLORREF TextColour() const { return textColour_; }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    std::string caption_;
    COLORREF textColour_ = 0;
};
