#pragma once
#include <array>
#include <cstdint>

struct PaletteColour {
    const char* name;
    std::uint32_t value;  // COLORREF: 0x00BBGGRR
};

// The colour picker's cells, row by row, seven to a row.
inline constexpr std::array<PaletteColour, 32> ColourPalette = {{
    {"黑色", 0x000000}, {"藏青", 0x800000}, {"墨绿", 0x008000}, {"深青", 0x808000}, {"红褐", 0x000080},
    {"紫红", 0x800080}, {"褐绿", 0x008080}, {"浅灰", 0xC0C0C0}, {"灰色", 0x808080}, {"蓝色", 0xFF0000},
    {"绿色", 0x00FF00}, {"艳青", 0xFFFF00}, {"红色", 0x0000FF}, {"品红", 0xFF00FF}, {"黄色", 0x00FFFF},
    {"白色", 0xFFFFFF}, {"蓝灰", 0xFF8080}, {"藏蓝", 0xE03058}, {"嫩绿", 0x00E080}, {"青绿", 0x80E000},
    {"黄褐", 0x0060C0}, {"粉红", 0xFFA8FF}, {"嫩黄", 0x00D8D8}, {"银白", 0xECECEC}, {"紫色", 0xFF0090},
    {"天蓝", 0xFF8800}, {"灰绿", 0x80A080}, {"青蓝", 0xC06000}, {"橙黄", 0x0080FF}, {"桃红", 0x8050FF},
    {"芙红", 0xC080FF}, {"深灰", 0x606060},
}};

inline constexpr int kPaletteColumns = 7;
// The entries of the popup: the 32 cells, then the "其它颜色..." button.
inline constexpr int kOtherColoursEntry = static_cast<int>(ColourPalette.size());
inline constexpr int kPaletteEntries = kOtherColoursEntry + 1;

// The cell holding exactly this value, or the "其它颜色..." entry when none does.
int PaletteEntryOf(std::uint32_t colour);

enum class PaletteKey { Left, Right, Up, Down };
// The entry the highlight moves to: left and right step through the cells and the button
// in order, wrapping across rows; up and down move a row, passing through the button at
// the bottom. From no highlight (-1) any key starts at the first cell.
int MovePaletteHighlight(int entry, PaletteKey key);
