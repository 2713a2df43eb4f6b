#include "controls/context_menu.h"

#include "win/scoped.h"

static_assert(Key::Return == VK_RETURN && Key::Delete == VK_DELETE && Key::F10 == VK_F10 && Key::Apps == VK_APPS);

KeyPress KeyPressOf(UINT msg, WPARAM wp, LPARAM lp)
{
    const auto down = [](int key) { return (GetKeyState(key) & 0x8000) != 0; };
    KeyPress press;
    press.key = static_cast<unsigned>(wp);
    // A system key with the context bit is pressed with Alt.
    press.alt = msg == WM_SYSKEYDOWN ? (lp & (1 << 29)) != 0 : down(VK_MENU);
    press.ctrl = down(VK_CONTROL);
    press.shift = down(VK_SHIFT);
    return press;
}

POINT MenuPoint(HWND control, LPARAM lp, POINT anchor)
{
    if (lp != -1)
        return {static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
    ClientToScreen(control, &anchor);
    return anchor;
}

void AppendEntries(HMENU menu, std::span<const MenuEntry> entries, bool hasSelection)
{
    UINT id = kFirstEntryId;
    for (const MenuEntry& entry : entries) {
        const UINT state = entry.needsSelection && !hasSelection ? MF_GRAYED : MF_ENABLED;
        AppendMenuA(menu, MF_STRING | state, id++, entry.text);
    }
}

UINT ChooseFromMenu(HWND control, HMENU menu, POINT at)
{
    // TrackPopupMenu keeps the menu on the screen of the point.
    return static_cast<UINT>(
        TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, at.x, at.y, 0, control, nullptr));
}
