#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// What the program reads from a font file before it installs or previews it, and its
// judgement of the file. TrueType and OpenType files (sfnt: 0x00010000, "true", "OTTO")
// and collections of them ("ttcf") are read by the program itself; other files (.fon,
// .fnt, .fot) are left to the system.
//
// A file is sound when every table a font engine reads is consistent with the rest: the
// table directory; head, maxp, hhea and hmtx; cmap (every subtable inside the table, the
// structure of formats 0, 4, 6 and 12, glyph ids below the glyph count); loca and each
// glyph's header for TrueType outlines, or the CFF / CFF2 table's header and INDEXes
// (CharStrings counting every glyph) for CFF outlines; OS/2 when present; and name. A
// collection is sound when every member is. This is a judge, not an engine: what it
// checks is what an engine would trip over.

// One font of the file (a collection has several).
struct FontFace {
    std::u16string family;  // name 1, from the Windows platform, else the Macintosh one
    std::u16string full;    // name 4; the family where the font has none
    bool cff = false;       // CFF or CFF2 outlines
    // Characters the font's cmap maps to a glyph, ascending: all of them, or an even
    // sample of kMostSampleCharacters where it maps more (a CJK font maps tens of thousands).
    std::vector<char32_t> characters;
};

struct FontFileFacts {
    enum class Format { Other, Sfnt, Collection };
    Format format = Format::Other;
    bool sound = false;
    // For an Sfnt or Collection that is not sound: what failed first ("directory", "head",
    // "maxp", "hhea", "hmtx", "cmap", "loca", "glyf", "CFF", "OS/2", "name", "collection").
    std::string fault;
    std::vector<FontFace> faces;  // when sound: every member, in the file's order
};

FontFileFacts ReadFontFile(std::span<const std::uint8_t> bytes);

// A 64-bit digest of a file's content (FNV-1a), for remembering what was found of it.
std::uint64_t ContentKey(std::span<const std::uint8_t> bytes);

// The extension a copy of the file is given: the file name's own (".ttf"), when it is one
// to four letters or digits; ".tmp" otherwise.
std::string CopyExtension(const std::string& fileName);

// The most tables a font or members a collection may have: real ones have a few dozen.
inline constexpr std::uint32_t kMostTables = 1024;
inline constexpr std::uint32_t kMostMembers = 1024;
inline constexpr std::size_t kMostSampleCharacters = 2048;
