// The font-file judge on any bytes: a font file dropped on the program is untrusted input.
// The test command runs it with a time limit per input: the judge's cost is linear in the
// file's size, so no input may take long.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "fontdata/font_file.h"
#include "fontdata/font_resource.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const FontFileFacts facts = ReadFontFile(std::span<const std::uint8_t>(data, size));
    // A sound file names every member it has, each by a family; one that is not says why.
    if (facts.sound && facts.faces.empty())
        __builtin_trap();
    for (const FontFace& face : facts.faces) {
        if (face.family.empty() || face.full.empty() || !face.families || face.families->empty() ||
            !face.characters || face.characters->sample.size() > kMostSampleCharacters)
            __builtin_trap();
        // The ranges ascend and never touch; the sample is drawn from them.
        const auto& ranges = face.characters->ranges;
        for (std::size_t i = 0; i < ranges.size(); ++i) {
            if (ranges[i].first > ranges[i].last || (i > 0 && ranges[i - 1].last + 1 >= ranges[i].first))
                __builtin_trap();
        }
        if (ranges.empty() != face.characters->sample.empty())
            __builtin_trap();
        // A font without outlines has embedded bitmaps in their place.
        if (!face.outlines && face.bitmaps.empty())
            __builtin_trap();
    }
    if (!facts.sound && facts.format != FontFileFacts::Format::Other && (facts.fault.empty() || facts.reason.empty()))
        __builtin_trap();
    // The trial's copy of a sound file under family names of its own is as sound.
    if (facts.sound) {
        std::vector<std::u16string> own(facts.faces.size(), u"Quillmoor Own");
        const std::optional<std::vector<std::uint8_t>> renamed = WithOwnFamilies(std::span<const std::uint8_t>(data, size), own);
        if (!renamed || ReadFontFile(*renamed).faces.size() != facts.faces.size())
            __builtin_trap();
    }
    // The look through a fonts folder reads only the start of a file and its name tables:
    // every place it finds lies inside the bytes it was given, or is read from the file
    // only when it lies inside the file; what it reads there is judged by the same rules.
    const std::span<const std::uint8_t> bytes(data, size);
    for (const TablePlace& place : NameTablePlaces(bytes)) {
        if (place.offset <= size && place.length <= size - place.offset) {
            const std::optional<FontNames> names = ReadNameTable(bytes.subspan(place.offset, place.length));
            if (names && (!names->families || names->families->empty() || !names->about))
                __builtin_trap();
        }
    }
    // The older formats' judge on the same bytes.
    const FontResourceFacts resource = ReadFontResource(std::span<const std::uint8_t>(data, size));
    if (resource.sound ? !resource.fault.empty()
                       : resource.format != FontResourceFacts::Format::Other && resource.fault.empty())
        __builtin_trap();
    if (resource.sound && resource.faces.empty() && resource.scalableFile.empty())
        __builtin_trap();
    return 0;
}
