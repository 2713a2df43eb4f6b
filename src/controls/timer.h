#pragma once
#include "controls/control.h"

// An invisible control that raises Tick at its interval, from its creation until its
// window goes.
class Timer : public InvisibleControl {
public:
    Kind kind() const override { return Kind::Timer; }
    bool Create(const CreateArgs& args) override;
    UINT Interval() const { return interval_; }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    UINT interval_ = 0;
};
