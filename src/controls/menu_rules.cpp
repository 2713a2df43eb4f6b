#include "controls/menu_rules.h"

namespace {

bool Matches(Shortcut shortcut, KeyPress press)
{
    switch (shortcut) {
    case Shortcut::AltEnter:
        return press.key == Key::Return && press.alt && !press.ctrl && !press.shift;
    case Shortcut::Delete:
        return press.key == Key::Delete && !press.alt && !press.ctrl && !press.shift;
    case Shortcut::None:
        break;
    }
    return false;
}

}  // namespace

const MenuEntry* EntryForKey(std::span<const MenuEntry> menu, KeyPress press, bool hasSelection)
{
    for (const MenuEntry& entry : menu) {
        if (Matches(entry.shortcut, press))
            return entry.needsSelection && !hasSelection ? nullptr : &entry;
    }
    return nullptr;
}

bool OpensMenu(KeyPress press)
{
    if (press.key == Key::F10)
        return press.shift && !press.alt && !press.ctrl;
    return press.key == Key::Apps && !press.alt && !press.ctrl;
}

EditCommands EditCommandStates(const EditState& s)
{
    const bool selected = s.selectionEnd > s.selectionStart;
    const bool everything = s.selectionStart == 0 && s.selectionEnd >= s.length;
    return {
        .undo = s.canUndo && !s.readOnly,
        .cut = selected && !s.readOnly,
        .copy = selected,
        .paste = s.clipboardHasText && !s.readOnly,
        .clear = selected && !s.readOnly,
        .selectAll = s.length > 0 && !everything,
    };
}
