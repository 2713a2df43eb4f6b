// The font-file judge on any bytes: a font file dropped on the program is untrusted input.
#include <cstdint>
#include <span>

#include "base/font_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const FontFileFacts facts = ReadFontFile(std::span<const std::uint8_t>(data, size));
    // A sound file names every member it has, each by a family; one that is not says why.
    if (facts.sound && facts.faces.empty())
        __builtin_trap();
    for (const FontFace& face : facts.faces) {
        if (face.family.empty() || face.full.empty() || face.characters.size() > kMostSampleCharacters)
            __builtin_trap();
    }
    if (!facts.sound && facts.format != FontFileFacts::Format::Other && facts.fault.empty())
        __builtin_trap();
    return 0;
}
