#pragma once
#include <cstdint>
#include <string>
#include <vector>

// The platform's drop effects and key-state bits, by value (checked where they are used).
namespace DropEffect {
inline constexpr std::uint32_t None = 0;
inline constexpr std::uint32_t Copy = 1;
inline constexpr std::uint32_t Move = 2;
inline constexpr std::uint32_t Link = 4;
}  // namespace DropEffect
inline constexpr std::uint32_t kKeyShift = 0x4;
inline constexpr std::uint32_t kKeyControl = 0x8;

// The effect a drop would have: none unless the data is acceptable; Ctrl+Shift none;
// Ctrl copy, Shift move, each only when allowed; no keys the first of copy, move, link.
std::uint32_t DropEffectRule(bool acceptable, std::uint32_t keyState, std::uint32_t allowed);

// The dropped paths as one text: one path alone; several each in double quotes, separated
// by a space, as the system's open dialog shows several files in its file-name box:
// "C:\fonts\a.ttf" "C:\fonts\b.ttf". No Windows path holds a double quote.
std::string JoinDroppedPaths(const std::vector<std::string>& paths);
