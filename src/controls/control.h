#pragma once
#include <windows.h>

#include <span>
#include <string>

#include "controls/events.h"
#include "controls/menu_rules.h"
#include "win/window_thunk.h"

// The kinds of control a window can be made of.
enum class Kind { EditBox, GroupBox, Button, ComboBox, ListBox, ColorPicker, CommonDlg, Timer, DropTarget, TransLabel };

// What a control is created with. The first four are said by whoever creates it; the
// rest describe the control and its first state (each kind reads the fields it has).
struct CreateArgs {
    HWND parent = nullptr;
    int id = 0;
    EventSink* sink = nullptr;  // not owned
    int source = -1;            // how the control's events name it

    int left = 0, top = 0, width = 0, height = 0;
    bool tabStop = false;
    DWORD style = 0;  // added to the kind's own style bits
    DWORD exStyle = 0;
    const char* caption = "";
    std::span<const char* const> items = {};  // ComboBox
    int selected = -1;                        // ComboBox
    COLORREF textColour = 0;                  // EditBox, TransLabel, ColorPicker (its colour)
    COLORREF backColour = 0xFFFFFF;           // EditBox
    bool integerInput = false;                // EditBox
    bool placeholder = false;                 // TransLabel: drawn only over an empty box
    UINT interval = 0;                        // Timer, milliseconds
    std::span<const MenuEntry> menu = {};     // ListBox, EditBox: what the context menu adds
};

// One small class per control kind. Each owns its window and every GDI object it
// creates, and turns the platform's notifications into the program's events.
class Control {
public:
    Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;
    virtual ~Control();

    virtual Kind kind() const = 0;
    virtual bool Create(const CreateArgs& args) = 0;

    HWND hwnd() const { return hwnd_; }
    // A disabled control takes no input: no clicks, no typing, no focus.
    void SetEnabled(bool enabled) const
    {
        if (hwnd_)
            EnableWindow(hwnd_, enabled ? TRUE : FALSE);
    }
    bool Exists() const { return hwnd_ != nullptr && IsWindow(hwnd_); }
    // Destroys the window now; the control stays gone for the rest of the run.
    void Destroy();

    // A WM_COMMAND notification that the control's own window sent.
    virtual void OnCommand(int /*code*/) {}
    // WM_CTLCOLOR* for the control: a brush, or null for the platform's default.
    virtual HBRUSH OnCtlColor(HDC /*dc*/) { return nullptr; }

protected:
    // Standard controls are subclassed so that each sees its own messages here;
    // custom controls get them from their class's procedure.
    virtual LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
    // The platform's own handling: the standard control's procedure, or DefWindowProc.
    LRESULT Default(UINT msg, WPARAM wp, LPARAM lp);
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    // A standard control of the platform's class, subclassed, in the GUI font.
    bool CreateChild(const CreateArgs& args, const char* className, DWORD style, int height);
    void Raise(Event event, const std::string& text = {});
    void PostEvent(Event event);

    HWND hwnd_ = nullptr;
    WNDPROC platformProc_ = nullptr;  // a standard control's own procedure
    EventSink* sink_ = nullptr;       // not owned
    int source_ = -1;
};

// A control with a window procedure of its own (a class the program registers).
class CustomControl : public Control {
protected:
    friend struct WindowThunk<CustomControl>;
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    bool CreateCustom(const CreateArgs& args, const char* className, DWORD style);
};

// Controls without a visible shape keep a hidden window for the whole run.
class InvisibleControl : public CustomControl {
public:
    bool Create(const CreateArgs& args) override;
};
