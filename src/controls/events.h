#pragma once
#include <string>

// The events a control (or the main window) raises. Handlers are bound to
// (source, event) pairs by the wiring table.
enum class Event {
    CreationComplete,
    BeingDestroyed,
    Tick,
    LeftButtonPressed,
    ContentChanged,
    ColourPicked,
    Clicked,
    ItemChosen,
    EditTextChanged,
    SelectionChanged,
    TextDropped,
    FilesDropped,
    // Posted by a feature's own work off the window's thread, for the control that
    // started it: how far it got, and that it is done.
    WorkProgress,
    WorkDone,
    // Asked for by a context menu's entry or its key: what the font shown is.
    InfoRequested,
    // Asked for likewise: the selected item taken out.
    UninstallRequested,
};

// Where controls deliver their events. Raise runs the bound handler at once;
// Post delivers the event through the message queue, after the platform has
// finished the notification that caused it.
class EventSink {
public:
    virtual void Raise(int source, Event event, const std::string& text) = 0;
    virtual void Post(int source, Event event) = 0;

protected:
    ~EventSink() = default;
};
