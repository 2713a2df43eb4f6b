#pragma once
#include <ole2.h>

#include "controls/control.h"

// Accepts OLE drag and drop for a window and turns each accepted drop into the events
// TextDropped (plain text, unless it comes with HTML) and FilesDropped.
class DropTarget : public InvisibleControl {
public:
    DropTarget();
    ~DropTarget() override;
    Kind kind() const override { return Kind::DropTarget; }
    bool Create(const CreateArgs& args) override;

    // Makes the window a drop area. Refused (false) once a window was given, whether that
    // registration worked or not.
    bool RegisterDropWindow(HWND window);
    // The drop-target object itself (not add-referenced).
    IDropTarget* Object() const;

    bool acceptText = true;
    bool acceptFiles = true;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    class Target;
    friend class Target;
    Target* target_;  // the control holds the first reference
    HWND registered_ = nullptr;
    bool registrationLive_ = false;
    CLIPFORMAT htmlFormat_ = 0;
};
