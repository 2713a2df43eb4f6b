#pragma once
#include <array>

struct NamedFontSize {
    const char* name;
    int points;
};

// The named sizes of Chinese typesetting, in the order the size list shows them.
inline constexpr std::array<NamedFontSize, 16> NamedFontSizes = {{
    {"初号", 42},
    {"小初", 36},
    {"一号", 26},
    {"小一", 24},
    {"二号", 22},
    {"小二", 18},
    {"三号", 16},
    {"小三", 15},
    {"四号", 14},
    {"小四", 12},
    {"五号", 11},
    {"小五", 9},
    {"六号", 8},
    {"小六", 7},
    {"七号", 6},
    {"八号", 5},
}};
