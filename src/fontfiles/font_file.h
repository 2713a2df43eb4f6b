#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

// What the program reads from a font file before it installs it. TrueType and OpenType
// files (sfnt: 0x00010000, "true", "OTTO") and collections of them ("ttcf") are read by
// the program itself; other files (.fon, .fnt, .fot) are left to the system.
struct FontFileFacts {
    enum class Format { Other, Sfnt, Collection };
    Format format = Format::Other;
    // For Sfnt and Collection: every table directory lies inside the file with a sane
    // number of tables, and every member's name table gives a name. A file that is not
    // sound is never installed.
    bool sound = false;
    // CFF outlines ("OTTO"); for a collection, those of its first member.
    bool cff = false;
    // Each member's full name (its family name where it has no full name), as UTF-16.
    std::vector<std::u16string> names;
};

FontFileFacts ReadFontFile(std::span<const std::uint8_t> bytes);

// The most tables a font or members a collection may have: real ones have a few dozen.
inline constexpr std::uint32_t kMostTables = 1024;
inline constexpr std::uint32_t kMostMembers = 1024;
