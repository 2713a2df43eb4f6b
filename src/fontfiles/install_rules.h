#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The font filter the open button sets on every click.
inline constexpr const char* kFontFilter = "字体资源|*.fon;*.fnt;*.ttf;*.fot;*.otf;*.ttc;*.otc|所有文件|*.*";

// Whether a path fits the system's limit (MAX_PATH, 260 with the terminating NUL).
inline constexpr std::size_t kPathLimit = 260;
bool FitsPathLimit(const std::string& path);

// The file name a font is installed under: the text after the last "\", "/" or ":" of
// the full path, cut to 255 bytes.
std::string InstalledFileName(const std::string& fullPath);

// "%s\%s".
std::string JoinPath(const std::string& folder, const std::string& name);

// The value name the system's installer gives a font in its registry: the full names of
// the file's fonts joined by " & " (one for a single font, every member of a collection),
// with " (OpenType)" for CFF outlines and " (TrueType)" otherwise; the file name when no
// name was read (a .fon file). In UTF-16, as the font names are: a name outside the
// ANSI code page survives.
std::u16string FontRegistryName(const std::vector<std::u16string>& fontNames, bool cff, const std::u16string& fileName);
