// ReadFontFile on any bytes: a font file dropped on the program is untrusted input.
#include <cstdint>
#include <span>

#include "fontfiles/font_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const FontFileFacts facts = ReadFontFile(std::span<const std::uint8_t>(data, size));
    // A sound file always names every member it has.
    if (facts.sound && facts.names.empty())
        __builtin_trap();
    return 0;
}
