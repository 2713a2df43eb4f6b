#pragma once
#include "controls/control.h"

// Static text drawn on a transparent background, so that what lies beneath shows
// through; raises LeftButtonPressed when the left button goes down on it. A placeholder
// label is a hint over a box: it is drawn only while the window beneath it has no text.
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
    // Whether the first visible sibling beneath the label that it overlaps shows text.
    bool OverText() const;

    std::string caption_;
    bool placeholder_ = false;
    COLORREF textColour_ = 0;
};
