#include "controls/drop_rules.h"

std::uint32_t DropEffectRule(bool acceptable, std::uint32_t keyState, std::uint32_t allowed)
{
    if (!acceptable)
        return DropEffect::None;
    const bool control = keyState & kKeyControl, shift = keyState & kKeyShift;
    if (control && shift)
        return DropEffect::None;  // the link this asks for is always refused
    if (control)
        return allowed & DropEffect::Copy ? DropEffect::Copy : DropEffect::None;
    if (shift)
        return allowed & DropEffect::Move ? DropEffect::Move : DropEffect::None;
    for (std::uint32_t effect : {DropEffect::Copy, DropEffect::Move, DropEffect::Link}) {
        if (allowed & effect)
            return effect;
    }
    return DropEffect::None;
}

std::string JoinDroppedPaths(const std::vector<std::string>& paths)
{
    if (paths.size() == 1)
        return paths.front();
    std::string text;
    for (const std::string& path : paths)
        text += (text.empty() ? "\"" : " \"") + path + "\"";
    return text;
}
