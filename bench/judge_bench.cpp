// The font-file judge on the slowest inputs we could craft, against reading the same file
// from disk (open, read whole, close): the judge's cost must stay linear in the file's
// size, whatever the file. Medians of kRepetitions, ratios in one run.
#include <windows.h>

#include "clock.h"

#include <cstdio>
#include <string>
#include <vector>

#include "font_builder.h"
#include "fontdata/font_file.h"
#include "win/whole_file.h"

namespace {

using Bytes = FontBuilder::Bytes;

void Print(const char* name, double value, const char* unit)
{
    std::printf("%s %.3f %s\n", name, value, unit);
    std::fflush(stdout);
}

// A font of the most glyphs a font may have, every slot empty.
FontBuilder ManyGlyphs()
{
    FontBuilder font;
    font.tables["maxp"] = FontBuilder::Be16s({0, 0x5000, 0xFFFF});
    font.tables["hhea"] = FontBuilder::Hhea(1);
    font.tables["hmtx"] = Bytes(4 + 2 * 0xFFFE, 0);
    font.tables["loca"] = Bytes(2 * 0x10000, 0);
    return font;
}

// A format 12 subtable of `groups` one-character groups.
Bytes Format12(std::uint32_t groups)
{
    Bytes b = FontBuilder::Be16s({12, 0});
    FontBuilder::Put(b, 4, 16 + 12 * groups);
    FontBuilder::Put(b, 4, 0);
    FontBuilder::Put(b, 4, groups);
    for (std::uint32_t g = 0; g < groups; ++g) {
        FontBuilder::Put(b, 4, 2 * g);
        FontBuilder::Put(b, 4, 2 * g);
        FontBuilder::Put(b, 4, 1);
    }
    return b;
}

// Every encoding record a cmap can have (65,535), all naming one large format 12 subtable.
Bytes RecordsOnOneSubtable()
{
    FontBuilder font;
    Bytes cmap = FontBuilder::Be16s({0, 0xFFFF});
    const std::uint32_t subtable = 4 + 8 * 0xFFFF;
    for (int i = 0; i < 0xFFFF; ++i) {
        FontBuilder::Put(cmap, 4, 0x0003000A);
        FontBuilder::Put(cmap, 4, subtable);
    }
    const Bytes groups = Format12(100000);
    cmap.insert(cmap.end(), groups.begin(), groups.end());
    font.tables["cmap"] = cmap;
    return font.Build();
}

// A format 4 subtable of 2,000 segments, each reading its own part of the glyph id array.
Bytes Format4Arrays()
{
    FontBuilder font;
    constexpr std::uint32_t kSegments = 2000, kEach = 8;  // range offsets reach 64 KB
    Bytes f4 = FontBuilder::Be16s({4, 0, 0, 2 * kSegments, 0, 0, 0});
    for (std::uint32_t s = 0; s < kSegments; ++s)
        FontBuilder::Put(f4, 2, s + 1 == kSegments ? 0xFFFF : 8 * s + kEach - 1);
    FontBuilder::Put(f4, 2, 0);
    for (std::uint32_t s = 0; s < kSegments; ++s)
        FontBuilder::Put(f4, 2, s + 1 == kSegments ? 0xFFFF : 8 * s);
    for (std::uint32_t s = 0; s < kSegments; ++s)
        FontBuilder::Put(f4, 2, s + 1 == kSegments ? 1 : 0);
    for (std::uint32_t s = 0; s < kSegments; ++s)  // from each range offset to its own array
        FontBuilder::Put(f4, 2, s + 1 == kSegments ? 0 : 2 * (kSegments - s) + 2 * kEach * s);
    for (std::uint32_t s = 0; s + 1 < kSegments; ++s)
        for (std::uint32_t k = 0; k < kEach; ++k)
            FontBuilder::Put(f4, 2, 1 + k % 3);
    FontBuilder::Set(f4, 2, 2, static_cast<std::uint32_t>(f4.size() & 0xFFFF));
    Bytes cmap = FontBuilder::Be16s({0, 1});
    FontBuilder::Put(cmap, 4, 0x00030001);
    FontBuilder::Put(cmap, 4, 12);
    cmap.insert(cmap.end(), f4.begin(), f4.end());
    font.tables["cmap"] = cmap;
    return font.Build();
}

// 5,000 family names in as many languages, every one the same 60,000-byte text.
Bytes NamesOnOneText()
{
    FontBuilder font;
    constexpr std::uint32_t kRecords = 5000, kText = 60000;
    Bytes name = FontBuilder::Be16s({0, kRecords, 6 + 12 * kRecords});
    for (std::uint32_t r = 0; r < kRecords; ++r) {
        for (std::uint32_t v : {3u, 1u, r + 1, 1u, kText, 0u})
            FontBuilder::Put(name, 2, v);
    }
    for (std::uint32_t i = 0; i < kText / 2; ++i)
        FontBuilder::Put(name, 2, 'a' + i % 26);
    font.tables["name"] = name;
    return font.Build();
}

// A collection of 1,024 members, each with a directory of its own, all naming the same
// tables: 65,535 glyphs and a cmap of 100,000 groups.
Bytes MembersOnOneFont()
{
    FontBuilder font = ManyGlyphs();
    Bytes cmap = FontBuilder::Be16s({0, 1});
    FontBuilder::Put(cmap, 4, 0x0003000A);
    FontBuilder::Put(cmap, 4, 12);
    const Bytes groups = Format12(100000);
    cmap.insert(cmap.end(), groups.begin(), groups.end());
    font.tables["cmap"] = cmap;
    const Bytes single = font.Build();
    const std::uint32_t tables = static_cast<std::uint32_t>(single[4]) << 8 | single[5];
    const std::size_t directory = 12 + 16 * tables;
    constexpr std::uint32_t kMembers = 1024;
    const std::size_t first = 12 + 4 * kMembers, data = first + kMembers * directory;
    Bytes b;
    FontBuilder::Put(b, 4, 0x74746366);
    FontBuilder::Put(b, 4, 0x00010000);
    FontBuilder::Put(b, 4, kMembers);
    for (std::uint32_t m = 0; m < kMembers; ++m)
        FontBuilder::Put(b, 4, static_cast<std::uint32_t>(first + m * directory));
    for (std::uint32_t m = 0; m < kMembers; ++m) {
        Bytes copy(single.begin(), single.begin() + static_cast<std::ptrdiff_t>(directory));
        for (std::uint32_t t = 0; t < tables; ++t) {
            const std::size_t at = 12 + 16 * t + 8;
            const std::uint32_t offset = static_cast<std::uint32_t>(copy[at]) << 24 | copy[at + 1] << 16 |
                                         copy[at + 2] << 8 | copy[at + 3];
            FontBuilder::Set(copy, at, 4, static_cast<std::uint32_t>(offset - directory + data));
        }
        b.insert(b.end(), copy.begin(), copy.end());
    }
    b.insert(b.end(), single.begin() + static_cast<std::ptrdiff_t>(directory), single.end());
    return b;
}

}  // namespace

int main()
{
    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    const struct {
        const char* name;
        Bytes bytes;
        bool sound;
    } inputs[] = {
        {"records_on_one_subtable", RecordsOnOneSubtable(), true},
        {"format4_arrays", Format4Arrays(), true},
        {"names_on_one_text", NamesOnOneText(), true},
        {"members_on_one_font", MembersOnOneFont(), true},
    };
    double worst = 0;
    for (const auto& input : inputs) {
        const std::string path = std::string(folder) + "qm-judge-" + input.name + ".ttf";
        DeleteFileA(path.c_str());
        if (WriteNewFile(path, input.bytes) != ERROR_SUCCESS)
            return 1;
        const FontFileFacts facts = ReadFontFile(input.bytes);
        if (facts.sound != input.sound) {
            std::printf("# %s: judged %s (%s)\n", input.name, facts.sound ? "sound" : "not sound", facts.fault.c_str());
            return 1;
        }
        const double read = Median([] {}, [&] { ReadWholeFile(path); });
        const double judge = Median([] {}, [&] { ReadFontFile(input.bytes); });
        DeleteFileA(path.c_str());
        std::printf("# %s: %zu bytes\n", input.name, input.bytes.size());
        Print((std::string("judge_") + input.name).c_str(), judge, "ms");
        Print((std::string("read_") + input.name).c_str(), read, "ms");
        Print((std::string("judge_vs_read_") + input.name).c_str(), judge / read, "x");
        worst = std::max(worst, judge / read);
    }
    Print("judge_vs_read_worst", worst, "x");
    return 0;
}
