#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

// What the program reads from a font file before it installs or previews it, and its
// judgement of the file. TrueType and OpenType files (sfnt: 0x00010000, "true", "OTTO")
// and collections of them ("ttcf") are read by the program itself; other files (.fon,
// .fnt, .fot) are left to the system, and only tried.
//
// A file is sound when every table a font engine reads is consistent with the rest: the
// table directory (each tag once); head, maxp, hhea and hmtx; cmap (every subtable inside
// the table and none overlapping another, the structure of formats 0, 4, 6, 12 and 13,
// glyph ids below the glyph count); loca and each glyph's header for TrueType outlines, or
// the CFF / CFF2 table's header, DICTs and INDEXes (CharStrings counting every glyph) for
// CFF outlines; the embedded bitmaps (EBLC/EBDT, CBLC/CBDT, sbix) when present, which are
// all a bitmap-only font has in place of outlines; OS/2 when present; and name. A
// collection is sound when every member is.
// This is a judge, not an engine: what it checks is what an engine would trip over.
//
// The judge's cost is linear in the file's size, whatever the file: each table and each
// cmap subtable is read once however many records or members point at it, and character
// ranges are checked as ranges.

// Characters first..last, both included.
struct CharRange {
    char32_t first = 0, last = 0;
    friend bool operator==(const CharRange&, const CharRange&) = default;
};

// A name of the font with its language: a Windows language id (0x0804 Chinese (PRC),
// 0x0409 US English, ...); a Macintosh English name counts as 0x0409.
struct LocalName {
    std::u16string text;
    std::uint16_t language = 0;
};

inline constexpr std::uint16_t kUsEnglish = 0x0409;

// The characters a font maps to a glyph, through the cmap subtable the system uses.
struct CharacterMap {
    std::vector<CharRange> ranges;  // every one, as ascending ranges that do not touch
    // Characters of `ranges`: all of them, or an even sample of kMostSampleCharacters where
    // it maps more (a CJK font maps tens of thousands).
    std::vector<char32_t> sample;
};

// What a font says about itself in its name table (the US English text where there are
// several, else another): each may be empty.
struct FontAbout {
    std::u16string copyright, version, trademark, manufacturer, designer, licence, licenceUrl;
};

// One font of the file (a collection has several). Members of a collection that share a
// table share what was read of it.
struct FontFace {
    std::u16string family;  // name 1 in US English (Windows platform), else another
    std::u16string full;    // name 4 likewise; the family where the font has none
    // Every family name (1) the font has, one per language, in the file's order: the
    // Windows platform's, or the Macintosh ones where it has none.
    std::shared_ptr<const std::vector<LocalName>> families;
    bool cff = false;   // CFF or CFF2 outlines
    bool cff2 = false;  // CFF2 outlines
    bool outlines = true;  // false: a font of embedded bitmaps alone
    std::string bitmaps;   // the embedded bitmaps it has: "EBDT", "CBDT", "sbix", joined by ", "
    // Its style, as a font request names it: OS/2's weight class and italic bit, else
    // head's bold and italic bits.
    std::uint16_t weight = 400;
    bool italic = false;
    std::shared_ptr<const CharacterMap> characters;
    std::shared_ptr<const FontAbout> about;
    std::uint32_t glyphs = 0, unitsPerEm = 0;
    std::vector<std::string> axes;  // a variable font's axes (fvar), by tag: "wght", ...
};

struct FontFileFacts {
    enum class Format { Other, Sfnt, Collection };
    Format format = Format::Other;
    bool sound = false;
    // For an Sfnt or Collection that is not sound: what failed first ("directory", "head",
    // "maxp", "hhea", "hmtx", "cmap", "loca", "glyf", "CFF", "OS/2", "name", "collection").
    std::string fault;
    // The rule it broke, each rule in words of its own: "cmap: format 4 segments out of
    // order", "CFF: String: INDEX offsets descending".
    std::string reason;
    std::vector<FontFace> faces;  // when sound: every member, in the file's order
};

FontFileFacts ReadFontFile(std::span<const std::uint8_t> bytes);

// A font file read into memory and judged sound: what the program shows of a file that
// is not installed.
struct JudgedFontFile {
    std::string path;  // as the user named it, in the ANSI code page
    std::vector<std::uint8_t> bytes;
    FontFileFacts facts;
};

// The family name to show for a face on a desktop whose user language is `language`: the
// name in that language, else the US English one, else the first the font has.
std::u16string FamilyFor(const FontFace& face, std::uint16_t language);

// The same choice among names with their languages: the one in `language`, else the US
// English one, else the first; `fallback` when there is none.
std::u16string PreferredName(const std::vector<LocalName>& names, std::uint16_t language,
                             const std::u16string& fallback);

// What a name table says of its font, read by the judge's own rules for the name table.
struct FontNames {
    std::u16string family, full;
    std::shared_ptr<const std::vector<LocalName>> families;
    std::shared_ptr<const FontAbout> about;
};

// A name table read by itself, as a look through the fonts folder finds it without reading
// the whole file: nothing when the judge would refuse the table.
std::optional<FontNames> ReadNameTable(std::span<const std::uint8_t> table);

struct TablePlace {
    std::uint64_t offset = 0, length = 0;
    friend bool operator==(const TablePlace&, const TablePlace&) = default;
};

// A table as a font's directory records it: its tag (big-endian, "head" is 0x68656164) and
// where it lies in the file.
struct TableRecord {
    std::uint32_t tag = 0;
    std::uint64_t offset = 0, length = 0;
    friend bool operator==(const TableRecord&, const TableRecord&) = default;
};

// The table directory of each font of a file, in the file's order (one for each member of
// a collection), read from the file's first bytes: its header and the directories. Empty
// when those bytes are not the start of a TrueType or OpenType file or collection, or do
// not hold every directory. The tables themselves may lie past `start`.
std::vector<std::vector<TableRecord>> FontTableRecords(std::span<const std::uint8_t> start);

// The file with each font given a family of its own: a name table naming member m
// `families[m]` (family and full name; "Regular" as its subfamily) is added at the end of
// the file, and the member's directory points at it. Every other table is the file's own,
// byte for byte, where it was. Nothing when the bytes are not a TrueType or OpenType file
// or collection, or `families` has not one name a font.
std::optional<std::vector<std::uint8_t>> WithOwnFamilies(std::span<const std::uint8_t> bytes,
                                                         const std::vector<std::u16string>& families);

// Where the name table of each font of a file lies, in the file's order (one for each
// member of a collection), read from the file's first bytes: its header and the table
// directories. Empty when those bytes are not the start of a TrueType or OpenType file or
// collection, do not hold every directory, or a font has no name table.
std::vector<TablePlace> NameTablePlaces(std::span<const std::uint8_t> start);

// The tables of one font as the system hands them out one by one (GetFontData), for a
// font it has loaded: an absent table has no data.
struct FontTables {
    std::span<const std::uint8_t> head, maxp, cmap, name, os2, fvar;
    bool cff = false, cff2 = false;  // which outline tables it has
    bool outlines = true;            // it has outlines (glyf, CFF or CFF2)
    std::string bitmaps;             // the embedded bitmaps it has, as FontFace names them
};

// The face those tables make, each read by the judge's rules for it (the outlines are the
// system's, which has loaded them): nothing when the judge refuses head, maxp, cmap, OS/2
// or name.
std::optional<FontFace> ReadFontTables(const FontTables& tables);

// A font's place in its collection: member `member` (from 0) of `members`.
struct CollectionPlace {
    std::size_t member = 0, members = 0;
    friend bool operator==(const CollectionPlace&, const CollectionPlace&) = default;
};

// Which member of a collection a font is, from the collection's first bytes (its header and
// directories) and the font's own name table: the first member whose directory records a
// name table of that length and checksum. Nothing when the bytes are not a collection's
// start or hold no such member.
std::optional<CollectionPlace> CollectionMember(std::span<const std::uint8_t> start, std::span<const std::uint8_t> name);

// The most tables a font or members a collection may have: real ones have a few dozen.
inline constexpr std::uint32_t kMostTables = 1024;
inline constexpr std::uint32_t kMostMembers = 1024;
inline constexpr std::size_t kMostSampleCharacters = 2048;
