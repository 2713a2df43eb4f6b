#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "fontdata/font_file.h"
#include "fontinfo/charset_tables.h"

// How much of the character sets of Chinese text a font covers: the characters of each set
// that the font's cmap maps, against the set's size.

// The ideographs among characters a code page decodes (the GBK set is what code page 936
// decodes): those in U+4E00-U+9FFF, U+3400-U+4DBF and U+F900-U+FAFF, as ranges.
std::vector<CharRange> IdeographsAmong(std::span<const char32_t> decoded);

struct CoverageCount {
    const char16_t* name;
    std::uint32_t covered = 0, total = 0;
};

// Every set, in this order: 通用规范汉字表一级, 二级, 三级, GB 2312, GBK (the ranges given),
// GB 18030 (its mandatory ideographs of the Basic Multilingual Plane: U+4E00-U+9FA5 and
// U+3400-U+4DB5), Big5, HKSCS.
std::vector<CoverageCount> CountCoverage(std::span<const CharRange> mapped, std::span<const CharRange> gbk);

// One line a set: "<name>：<covered>/<total>", lines ended by CR LF but the last.
std::u16string CoverageLines(const std::vector<CoverageCount>& counts);

// The characters of a text that the font does not map, each once, in the order they first
// appear, at most `most` of them; spaces, line breaks and other control characters aside.
std::u32string MissingCharacters(std::u32string_view text, std::span<const CharRange> mapped, std::size_t most = 200);

// Whether the font maps the character.
bool Maps(std::span<const CharRange> mapped, char32_t c);
