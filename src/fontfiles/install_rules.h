#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The font filter the open button sets on every click.
inline constexpr const char* kFontFilter = "字体资源|*.fon;*.fnt;*.ttf;*.fot|所有文件|*.*";

// The file name a font is installed under: the text after the last "\", "/" or ":" of
// the full path, cut to 255 bytes.
std::string InstalledFileName(const std::string& fullPath);

// "%s\%s".
std::string JoinPath(const std::string& folder, const std::string& name);

// The font's full name (or, without one, its family name) from a TrueType or OpenType
// file's name table, as UTF-16 code units; none when the bytes are not such a font or
// carry no name. Only Windows-platform Unicode names are read.
std::optional<std::u16string> FontNameFromFile(const std::vector<std::uint8_t>& bytes);

// The value name the system's installer gives a font in its registry: the font's name
// with " (TrueType)" for an outline font, else the file name.
std::string FontRegistryName(const std::optional<std::string>& fontName, const std::string& fileName);
