#pragma once
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// No font file is this large; a larger file is not read, previewed or installed.
inline constexpr LONGLONG kLargestFontFile = 256ll << 20;

// The whole of an open file, when it is not larger than any font file is.
std::optional<std::vector<std::uint8_t>> ReadWholeFile(HANDLE file);
// The same for a path, opened for reading with other readers let in.
std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::string& path);

// A file of the program's own making (normal attributes) holding the bytes, created as
// `disposition` says (CREATE_NEW, or CREATE_ALWAYS for a name the program holds):
// ERROR_SUCCESS, or the error that stopped it, and then nothing is left of it.
DWORD WriteNewFile(const std::string& path, const std::vector<std::uint8_t>& bytes, DWORD disposition = CREATE_NEW);
