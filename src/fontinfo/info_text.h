#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "fontdata/font_file.h"
#include "fontinfo/coverage.h"

// The text of the font-information window, one item a line, in UTF-16: the font's own
// names and texts may be in any script.

// A file that holds a style of the family.
struct StyleFile {
    std::u16string path;
    std::uint64_t size = 0;
};

// A style of the family, as the system names it, and the files that hold it.
struct StyleInfo {
    std::u16string full, version;
    std::vector<StyleFile> files;
};

// Where the files of the family are known from.
enum class FilesState {
    Searching,    // the fonts folders are still being looked through
    Searched,     // the styles' files are those the fonts folders hold (none for a font
                  // the system or another program added by other means)
    NotInstalled, // a file shown before it is installed: its own path
};

struct FontInfo {
    std::u16string family;  // as the list (or the caption) shows it
    struct Name {
        std::u16string text, language;
        std::size_t moreLanguages = 0;  // languages of the same text not named
    };
    std::vector<Name> names;  // the family names, with their languages
    std::size_t moreNames = 0;  // family names (texts) not shown
    std::vector<StyleInfo> styles;
    FilesState files = FilesState::Searched;
    std::vector<StyleFile> otherFiles;  // files of the family that hold none of the styles
    // Whether the font's data could be read (a bitmap font's cannot): else its format,
    // glyph count and units per em are not known.
    bool readable = true;
    // The face read: its format, and its place in a collection (member, of members).
    bool cff = false, cff2 = false;
    bool outlines = true;   // false: embedded bitmaps alone
    std::string bitmaps;    // the embedded bitmaps: "EBDT", "CBDT", "sbix", joined by ", "
    std::vector<std::string> axes;
    std::size_t member = 0, members = 0;  // members 0: not a collection
    std::uint32_t glyphs = 0, unitsPerEm = 0;
    FontAbout about;
    std::vector<CoverageCount> coverage;
    std::u32string missing;  // characters of the sample the font does not map
};

std::u16string InfoText(const FontInfo& info);

// What is shown of a font's family names, however many it has (a font may give one in
// thousands of languages): at most kMostNameLines texts, each with at most
// kMostLanguagesAName of its languages.
inline constexpr std::size_t kMostNameLines = 20, kMostLanguagesAName = 8;
struct NameGroup {
    std::u16string text;
    std::vector<std::uint16_t> languages;  // those named
    std::size_t moreLanguages = 0;
};
struct NameGroups {
    std::vector<NameGroup> shown;
    std::size_t more = 0;  // texts not shown
};
// The names by text, in the font's order, bounded as above. Linear in the names' count.
NameGroups GroupNames(const std::vector<LocalName>& names);

// The caption of the window: "字体信息 - <family>".
std::u16string InfoCaption(const std::u16string& family);

// A size in bytes with its thousands grouped: "5,177,387".
std::u16string GroupedNumber(std::uint64_t n);

// UTF-16 to characters and back; an unpaired surrogate is kept as it is.
std::u32string Characters(std::u16string_view text);
std::u16string Utf16(std::u32string_view text);
