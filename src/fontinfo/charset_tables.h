#pragma once
#include <cstdint>
#include <iterator>
#include <span>

#include "fontdata/font_file.h"

// A set of characters: a bitmap of U+3400-U+9FFF (the CJK blocks of the Basic Multilingual
// Plane, one bit a character) and ranges of the characters outside it.
struct CharacterSet {
    static constexpr char32_t kBitmapFirst = 0x3400, kBitmapEnd = 0xA000;
    std::span<const std::uint8_t> bits;
    std::span<const CharRange> others;
};

// The character sets of Chinese text a font's coverage is counted against, made at build
// time from Unicode's Unihan data (scripts/make-charsets.py).
extern const CharacterSet kTghLevel1;  // 通用规范汉字表, level 1 (kTGH 1-3500)
extern const CharacterSet kTghLevel2;  // level 2 (3501-6500)
extern const CharacterSet kTghLevel3;  // level 3 (6501-8105)
extern const CharacterSet kGb2312;     // kGB0
extern const CharacterSet kBig5;       // kBigFive
extern const CharacterSet kHkscs;      // kHKSCS
