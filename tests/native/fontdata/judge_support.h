#pragma once
// What the tests of the font judges share: the fixtures, big-endian reads and writes, a
// collection of built fonts, and the table of rules that each table's test breaks one
// at a time.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "fontdata/digest.h"
#include "fontdata/font_file.h"
#include "fontdata/font_resource.h"
#include "font_builder.h"

inline std::vector<std::uint8_t> FileBytes(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    EXPECT_TRUE(file) << path;
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// The fixtures the build makes (scripts/make-font-fixtures.py).
inline std::vector<std::uint8_t> Fixture(const std::string& name)
{
    return FileBytes(std::string(QUILLMOOR_FIXTURES) + "/" + name);
}

inline std::uint32_t Get32(const std::vector<std::uint8_t>& b, std::size_t at)
{
    return static_cast<std::uint32_t>(b[at]) << 24 | static_cast<std::uint32_t>(b[at + 1]) << 16 |
           static_cast<std::uint32_t>(b[at + 2]) << 8 | b[at + 3];
}

inline void Put32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (24 - 8 * i));
}

// A collection of the given fonts, each placed after the header at its own offset.
inline std::vector<std::uint8_t> Collection(const std::vector<std::vector<std::uint8_t>>& members)
{
    std::vector<std::uint8_t> b(12 + 4 * members.size(), 0);
    Put32(b, 0, 0x74746366);
    Put32(b, 4, 0x00010000);
    Put32(b, 8, static_cast<std::uint32_t>(members.size()));
    for (std::size_t m = 0; m < members.size(); ++m) {
        while (b.size() % 4 != 0)
            b.push_back(0);
        const std::size_t at = b.size();
        Put32(b, 12 + 4 * m, static_cast<std::uint32_t>(at));
        // The member's table offsets count from the file's start.
        std::vector<std::uint8_t> member = members[m];
        const std::uint32_t tables = static_cast<std::uint32_t>(member[4]) << 8 | member[5];
        for (std::uint32_t t = 0; t < tables; ++t) {
            const std::size_t entry = 12 + 16 * t + 8;
            Put32(member, entry, Get32(member, entry) + static_cast<std::uint32_t>(at));
        }
        b.insert(b.end(), member.begin(), member.end());
    }
    return b;
}


using Bytes = FontBuilder::Bytes;
using Outlines = FontBuilder::Outlines;

inline void Set16(Bytes& b, std::size_t at, std::uint32_t v)
{
    FontBuilder::Set(b, at, 2, v);
}
inline void Set32(Bytes& b, std::size_t at, std::uint32_t v)
{
    FontBuilder::Set(b, at, 4, v);
}

// Places in the built cmap: format 4's arrays (ends, starts, deltas, range offsets, glyph
// ids), format 12's and 13's groups.
inline constexpr std::size_t kEnds = FontBuilder::kFormat4 + 14, kStarts = kEnds + 8, kDeltas = kStarts + 6,
                      kRangeOffsets = kDeltas + 6, kGlyphIds = kRangeOffsets + 6;
inline constexpr std::size_t kGroups = FontBuilder::kFormat12 + 16, kGroups13 = FontBuilder::kFormat13 + 16;

struct Rule {
    const char* what;
    Outlines outlines;
    std::function<void(FontBuilder&)> change;
    const char* reason;  // the table, then the rule
};

inline constexpr Outlines T = Outlines::TrueType, C = Outlines::Cff, C2 = Outlines::Cff2;

// A change of one value of a built table: `size` bytes at `at`.
inline std::function<void(FontBuilder&)> in(const char* tag, std::size_t at, std::uint32_t value, int size = 2)
{
    return [=](FontBuilder& f) { FontBuilder::Set(f.tables[tag], at, size, value); };
}

// Each rule alone, on the built font of its outlines: the file is refused for that rule's
// reason, under its table's name, and no face is read.
template <std::size_t N> void ExpectEachRuleRefuses(const Rule (&rules)[N])
{
    for (const Rule& rule : rules) {
        FontBuilder font(rule.outlines);
        rule.change(font);
        const FontFileFacts facts = ReadFontFile(font.Build());
        EXPECT_EQ(facts.format, FontFileFacts::Format::Sfnt) << rule.what;
        EXPECT_FALSE(facts.sound) << rule.what;
        EXPECT_EQ(facts.reason, rule.reason) << rule.what;
        EXPECT_EQ(facts.fault, std::string(rule.reason).substr(0, std::string(rule.reason).find(':'))) << rule.what;
        EXPECT_TRUE(facts.faces.empty()) << rule.what;
    }
}
