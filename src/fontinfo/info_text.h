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
    };
    std::vector<Name> names;  // every family name, with its language
    std::vector<StyleInfo> styles;
    FilesState files = FilesState::Searched;
    std::vector<StyleFile> otherFiles;  // files of the family that hold none of the styles
    // Whether the font's data could be read (a bitmap font's cannot): else its format,
    // glyph count and units per em are not known.
    bool readable = true;
    // The face read: its format, and its place in a collection (member, of members).
    bool cff = false, cff2 = false;
    std::vector<std::string> axes;
    std::size_t member = 0, members = 0;  // members 0: not a collection
    std::uint32_t glyphs = 0, unitsPerEm = 0;
    FontAbout about;
    std::vector<CoverageCount> coverage;
    std::u32string missing;  // characters of the sample the font does not map
};

std::u16string InfoText(const FontInfo& info);

// The caption of the window: "字体信息 - <family>".
std::u16string InfoCaption(const std::u16string& family);

// A size in bytes with its thousands grouped: "5,177,387".
std::u16string GroupedNumber(std::uint64_t n);

// UTF-16 to characters and back; an unpaired surrogate is kept as it is.
std::u32string Characters(std::u16string_view text);
std::u16string Utf16(std::u32string_view text);
