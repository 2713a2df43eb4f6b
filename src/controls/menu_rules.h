#pragma once
#include <span>

#include "controls/events.h"

// Context menus of the controls and the keys that do what their entries do.

// A key that does what an entry of the menu does, as on the desktop: Alt+Enter shows
// properties, Delete removes.
enum class Shortcut { None, AltEnter, Delete };

// An entry a control's context menu adds: its text (with its access key), the event it
// raises, whether it wants a selected item (greyed while there is none) and its key.
struct MenuEntry {
    const char* text = "";
    Event event = Event::Clicked;
    bool needsSelection = false;
    Shortcut shortcut = Shortcut::None;
};

// Virtual-key codes, by value (checked against <windows.h> where they are used).
namespace Key {
inline constexpr unsigned Return = 0x0D, Delete = 0x2E, F10 = 0x79, Apps = 0x5D;
}

// A key going down, with the modifiers held.
struct KeyPress {
    unsigned key = 0;
    bool alt = false, ctrl = false, shift = false;
};

// The entry whose key this is, when the entry can run now; else none.
const MenuEntry* EntryForKey(std::span<const MenuEntry> menu, KeyPress press, bool hasSelection);

// Whether the key opens the context menu from the keyboard: Shift+F10, or the menu key.
bool OpensMenu(KeyPress press);

// An edit box's standard commands and when each can run, as the desktop's own edit menu
// has them.
struct EditState {
    bool canUndo = false, readOnly = false, clipboardHasText = false;
    unsigned selectionStart = 0, selectionEnd = 0, length = 0;
};
struct EditCommands {
    bool undo = false, cut = false, copy = false, paste = false, clear = false, selectAll = false;
    friend bool operator==(const EditCommands&, const EditCommands&) = default;
};
EditCommands EditCommandStates(const EditState& state);
