#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "fontdata/font_file.h"

// The fonts folders and the fonts their registry values record.

inline constexpr char kFontsKey[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts";

// The system's fonts folder.
std::optional<std::string> SystemFontsFolder();
// The current user's own fonts folder, %LOCALAPPDATA%\Microsoft\Windows\Fonts, as Windows
// installs a font for one user (the folder need not exist yet).
std::optional<std::string> UserFontsFolder();

// A font file of a fonts folder, as a value of the fonts key records it.
struct FolderFont {
    bool perUser = false;  // the value is the user's (HKCU, the user's folder), else HKLM
    std::u16string valueName;
    std::u16string path;
    std::uint64_t size = 0;
    // The names of each font of the file, read from its name tables by the judge's rules:
    // none when the file is not a TrueType or OpenType file or its names cannot be read.
    std::vector<FontNames> faces;
    // Another program holds the file open without letting it be read: its names are not
    // known (the value's name is all there is to go by).
    bool held = false;
};

// The same look without reading any file: `complete` is false when a file has not been
// read yet (its faces are then empty): the full look is needed.
struct FolderLook {
    std::vector<FolderFont> fonts;
    bool complete = true;
};

// The look through the fonts folders, shared by the font information and uninstalling:
// what was read of each file is kept, per path, size and last write, for as long as any
// copy of it lives (a copy shares what was read; a look still running off the window's
// thread keeps it alive).
class FontFolders {
public:
    FontFolders();

    // Every value of the fonts key, the machine's and the user's, whose file lies in the
    // matching fonts folder, with the names of the fonts the file holds. Only each file's
    // table directories and name tables are read. Safe on any thread; it reads files, so
    // it belongs off the window's thread.
    std::vector<FolderFont> Fonts() const;

    // The same look without reading any file: what was read before, for files whose size
    // and last write have not changed since. Reads only the registry and the files' sizes
    // and times, so it may run on the window's thread.
    FolderLook FontsAsRead() const;

    struct Cache;  // what was read of each file

private:
    std::shared_ptr<Cache> cache_;
};

// Whether one of the file's fonts has `family` among its family names, as the system
// matches family names (without regard to the case of letters).
bool HoldsFamily(const FolderFont& file, std::u16string_view family);
