#pragma once
#include <cstddef>
#include <string>
#include <string_view>

// Texts in code page 936: a byte from 0x81 to 0xFE starts a two-byte character whose
// second byte may look like "\", "/", ":" or "|". Rules that look for those characters
// walk the text a character at a time.

bool IsLeadByte(unsigned char byte);
// Where the last component of a path starts: after its last "\\", "/" or ":" (a trail
// byte that looks like one of them does not count).
std::size_t LastComponentStart(const std::string& path);

// The text cut to at most maxBytes bytes, never in the middle of a character.
std::string CutText(const std::string& text, std::size_t maxBytes);

// The text cut to at most maxBytes bytes by taking characters out of its middle, where
// "…" then stands; a text that fits is returned as it is. For names whose start and end
// both tell (a file name's extension).
std::string CutInMiddle(const std::string& text, std::size_t maxBytes);

// UTF-16 text with the ASCII letters in lower case, the rest as it is: how the system
// compares file paths and font family names, for the letters that matter to them.
std::u16string AsciiLower(std::u16string_view text);
