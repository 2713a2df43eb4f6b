#include "controls/colour_palette.h"

int PaletteEntryOf(std::uint32_t colour)
{
    for (int i = 0; i < kOtherColoursEntry; ++i) {
        if (ColourPalette[static_cast<std::size_t>(i)].value == colour)
            return i;
    }
    return kOtherColoursEntry;
}

int MovePaletteHighlight(int entry, PaletteKey key)
{
    if (entry < 0 || entry >= kPaletteEntries)
        return 0;
    const int cells = kOtherColoursEntry;
    switch (key) {
    case PaletteKey::Right:
        return (entry + 1) % kPaletteEntries;
    case PaletteKey::Left:
        return (entry + kPaletteEntries - 1) % kPaletteEntries;
    case PaletteKey::Down:
        if (entry == kOtherColoursEntry)
            return 0;  // from the button back to the top row
        return entry + kPaletteColumns < cells ? entry + kPaletteColumns : kOtherColoursEntry;
    case PaletteKey::Up:
        if (entry == kOtherColoursEntry)
            return (cells - 1) / kPaletteColumns * kPaletteColumns;  // first cell of the last row
        return entry - kPaletteColumns >= 0 ? entry - kPaletteColumns : kOtherColoursEntry;
    }
    return entry;
}
