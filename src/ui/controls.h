#pragma once
#include <windows.h>

#include <optional>
#include <string>

#include "ui/events.h"
#include "ui/window_thunk.h"
#include "ui/layout.h"

// One small class per control kind. Each owns its window and every GDI object it
// creates, and turns the platform's notifications into the program's events.
class Control {
public:
    struct CreateArgs {
        const LayoutRow* row;
        HWND parent;
        int id;
        EventSink* sink;  // not owned: the main window
        int source;       // the control's layout index, as events name it
    };

    Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;
    virtual ~Control();

    virtual Kind kind() const = 0;
    virtual bool Create(const CreateArgs& args) = 0;

    HWND hwnd() const { return hwnd_; }
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
    bool CreateChild(const CreateArgs& args, const char* className, DWORD style, DWORD exStyle, int height);
    void Raise(Event event, const std::string& text = {});
    void PostEvent(Event event);

    HWND hwnd_ = nullptr;
    WNDPROC platformProc_ = nullptr;  // a standard control's own procedure
    EventSink* sink_ = nullptr;       // not owned
    int source_ = -1;
};

// A control with a window procedure of its own (registered class).
class CustomControl : public Control {
protected:
    friend struct WindowThunk<CustomControl>;
    static bool RegisterClassOnce(const char* className, HCURSOR cursor);
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    bool CreateCustom(const CreateArgs& args, const char* className, DWORD style);
};

class EditBox : public Control {
public:
    ~EditBox() override;
    Kind kind() const override { return Kind::EditBox; }
    bool Create(const CreateArgs& args) override;

    std::string Text() const;
    // Writes the content and raises ContentChanged exactly once, also for an equal text.
    void SetText(const std::string& text);

    COLORREF TextColour() const { return textColour_; }
    void SetTextColour(COLORREF colour);
    COLORREF BackColour() const { return backColour_; }
    void SetBackColour(COLORREF colour);

    const std::optional<LOGFONTA>& FontDescription() const { return description_; }
    // Stores the description and makes the font from it (the default GUI font when absent
    // or when the platform refuses it).
    void SetFontDescription(const LOGFONTA& description);
    HFONT Font() const { return font_; }

    bool IntegerInput() const { return integerInput_; }

    void OnCommand(int code) override;
    HBRUSH OnCtlColor(HDC dc) override;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void ApplyFont();
    void NormaliseInteger();

    COLORREF textColour_ = 0;
    COLORREF backColour_ = 0xFFFFFF;
    HBRUSH brush_ = nullptr;  // owned
    HFONT font_ = nullptr;    // owned; null while the box shows the default GUI font
    std::optional<LOGFONTA> description_;
    bool integerInput_ = false;
    bool suppressChange_ = false;
};

class GroupBox : public Control {
public:
    Kind kind() const override { return Kind::GroupBox; }
    bool Create(const CreateArgs& args) override;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
};

class Button : public Control {
public:
    Kind kind() const override { return Kind::Button; }
    bool Create(const CreateArgs& args) override;
    void OnCommand(int code) override;
};

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

    void OnCommand(int code) override;
};

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

// Controls without a visible shape keep a hidden window for the whole run.
class InvisibleControl : public CustomControl {
public:
    bool Create(const CreateArgs& args) override;
};

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
