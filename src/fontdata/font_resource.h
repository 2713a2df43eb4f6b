#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// Windows' older font files, read by the program itself before they are installed: a raw
// font resource (.fnt, versions 2 and 3), an executable of font resources (.fon, the
// 16-bit "NE" format), and a scalable font resource (.fot: an NE file that names the
// TrueType file it stands for). A font resource is sound when its header, its character
// table and every character's bitmap or strokes lie inside it, and its face name is there.
// The cost is linear in the file's size.

struct FontResourceFacts {
    enum class Format { Other, Fnt, Fon, Fot };
    Format format = Format::Other;
    bool sound = false;
    // For a Fnt, Fon or Fot that is not sound: what failed first ("executable",
    // "resources", "font").
    std::string fault;
    std::string reason;  // the rule it broke, in words of its own: "font: no pixel height"
    std::vector<std::string> faces;  // when sound: each font's face name, in the ANSI code page
    std::string scalableFile;        // a .fot's TrueType file, as the file names it
};

FontResourceFacts ReadFontResource(std::span<const std::uint8_t> bytes);
