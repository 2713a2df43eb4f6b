#include "fontcheck/font_folders.h"

#include <shlobj.h>

#include <map>
#include <mutex>
#include <tuple>

#include "base/dbcs_text.h"
#include "win/scoped.h"
#include "win/system_proc.h"
#include "win/window_text.h"

namespace {

// Header and table directories of a file: real collections put every directory in the
// first few kilobytes.
constexpr DWORD kStartRead = 64 * 1024;
// A name table is a few kilobytes, a hundred for a font with names in many languages.
constexpr std::uint64_t kLargestNameTable = 4u << 20;

bool ReadAt(HANDLE file, std::uint64_t offset, std::vector<std::uint8_t>& bytes)
{
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(offset);
    DWORD read = 0;
    return SetFilePointerEx(file, at, nullptr, FILE_BEGIN) &&
           ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) && read == bytes.size();
}

// The names of a file's fonts, from its directories and name tables; nothing when another
// program holds the file so that it cannot be opened.
std::optional<std::vector<FontNames>> ReadFaces(const std::u16string& path, std::uint64_t size)
{
    ScopedHandle file(CreateFileW(WideChars(path), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file.valid()) {
        if (GetLastError() == ERROR_SHARING_VIOLATION || GetLastError() == ERROR_LOCK_VIOLATION)
            return std::nullopt;
        return std::vector<FontNames>();
    }
    std::vector<std::uint8_t> start(static_cast<std::size_t>(std::min<std::uint64_t>(size, kStartRead)));
    if (!ReadAt(file.get(), 0, start))
        return {};
    std::vector<FontNames> faces;
    std::map<std::pair<std::uint64_t, std::uint64_t>, std::optional<FontNames>> read;  // by place
    for (const TablePlace& place : NameTablePlaces(start)) {
        if (place.length > kLargestNameTable || place.offset > size || place.length > size - place.offset)
            return {};
        auto [known, fresh] = read.try_emplace({place.offset, place.length});
        if (fresh) {
            std::vector<std::uint8_t> table(static_cast<std::size_t>(place.length));
            if (ReadAt(file.get(), place.offset, table))
                known->second = ReadNameTable(table);
        }
        if (!known->second)
            return {};
        faces.push_back(*known->second);
    }
    return faces;
}

}  // namespace

// What was read of each file, by path, size and last write.
struct FontFolders::Cache {
    std::mutex lock;
    std::map<std::tuple<std::u16string, std::uint64_t, std::uint64_t>, std::vector<FontNames>> faces;
};

namespace {

using Cache = FontFolders::Cache;

// The faces of a file, read now or known from before; nothing when `read` is false and the
// file has not been read yet, or when another program holds it (`held`).
std::optional<std::vector<FontNames>> FacesOf(Cache& cache, const std::u16string& path, std::uint64_t size,
                                              std::uint64_t written, bool read, bool& held)
{
    const auto key = std::make_tuple(AsciiLower(path), size, written);
    {
        std::lock_guard<std::mutex> hold(cache.lock);
        if (const auto found = cache.faces.find(key); found != cache.faces.end())
            return found->second;
    }
    if (!read)
        return std::nullopt;
    std::optional<std::vector<FontNames>> faces = ReadFaces(path, size);
    if (!faces) {
        held = true;
        return std::nullopt;
    }
    std::lock_guard<std::mutex> hold(cache.lock);
    cache.faces[key] = *faces;
    return faces;
}

// The values of one fonts key whose files lie in `folder`.
void AddValues(Cache& cache, HKEY root, const std::string& folder, bool perUser, bool read, FolderLook& look)
{
    ScopedKey key;
    if (RegOpenKeyExA(root, kFontsKey, 0, KEY_QUERY_VALUE, key.out()) != ERROR_SUCCESS)
        return;
    const std::u16string wideFolder = AsciiLower(WideText(folder));
    DWORD longestName = 0, longestData = 0;
    if (RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &longestName,
                         &longestData, nullptr, nullptr) != ERROR_SUCCESS)
        return;
    std::vector<wchar_t> name(longestName + 2);
    std::vector<BYTE> data(longestData + 4);
    for (DWORD i = 0;; ++i) {
        DWORD nameLength = static_cast<DWORD>(name.size()), dataSize = static_cast<DWORD>(data.size() - 2), type = 0;
        const LONG result = RegEnumValueW(key.get(), i, name.data(), &nameLength, nullptr, &type, data.data(), &dataSize);
        if (result == ERROR_NO_MORE_ITEMS)
            break;
        if (result != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ))
            continue;
        data[dataSize] = data[dataSize + 1] = 0;
        std::u16string file(reinterpret_cast<const char16_t*>(data.data()));
        while (!file.empty() && file.back() == u' ')
            file.pop_back();
        if (file.empty())
            continue;
        // A bare name lies in the folder; a full path must name a file directly in it.
        std::u16string path;
        const std::size_t slash = file.find_last_of(u"\\/");
        if (slash == std::u16string::npos && file.find(u':') == std::u16string::npos)
            path = WideText(folder) + u"\\" + file;
        else if (slash != std::u16string::npos && AsciiLower(file.substr(0, slash)) == wideFolder)
            path = file;
        else
            continue;
        WIN32_FILE_ATTRIBUTE_DATA attributes;
        if (!GetFileAttributesExW(WideChars(path), GetFileExInfoStandard, &attributes) ||
            (attributes.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            continue;
        const std::uint64_t size = static_cast<std::uint64_t>(attributes.nFileSizeHigh) << 32 | attributes.nFileSizeLow;
        const std::uint64_t written = static_cast<std::uint64_t>(attributes.ftLastWriteTime.dwHighDateTime) << 32 |
                                      attributes.ftLastWriteTime.dwLowDateTime;
        FolderFont font;
        font.perUser = perUser;
        font.valueName.assign(reinterpret_cast<const char16_t*>(name.data()), nameLength);
        font.path = path;
        font.size = size;
        if (std::optional<std::vector<FontNames>> faces = FacesOf(cache, path, size, written, read, font.held))
            font.faces = std::move(*faces);
        else if (!font.held)
            look.complete = false;
        look.fonts.push_back(std::move(font));
    }
}

}  // namespace

std::optional<std::string> SystemFontsFolder()
{
    char folder[MAX_PATH] = {};
    auto* specialFolder = SYSTEM_PROC("shell32.dll", SHGetSpecialFolderPathA);
    if (!specialFolder || !specialFolder(nullptr, folder, CSIDL_FONTS, FALSE))
        return std::nullopt;
    return std::string(folder);
}

std::optional<std::string> UserFontsFolder()
{
    char local[MAX_PATH] = {};
    auto* folderPath = SYSTEM_PROC("shell32.dll", SHGetFolderPathA);
    if (!folderPath || FAILED(folderPath(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, local)))
        return std::nullopt;
    std::string folder = local;
    if (!folder.empty() && folder.back() != '\\')
        folder += '\\';
    return folder + "Microsoft\\Windows\\Fonts";
}

namespace {

FolderLook Look(Cache& cache, bool read)
{
    FolderLook look;
    if (const std::optional<std::string> folder = SystemFontsFolder())
        AddValues(cache, HKEY_LOCAL_MACHINE, *folder, false, read, look);
    if (const std::optional<std::string> folder = UserFontsFolder())
        AddValues(cache, HKEY_CURRENT_USER, *folder, true, read, look);
    return look;
}

}  // namespace

FontFolders::FontFolders() : cache_(std::make_shared<Cache>()) {}

std::vector<FolderFont> FontFolders::Fonts() const
{
    return Look(*cache_, true).fonts;
}

FolderLook FontFolders::FontsAsRead() const
{
    return Look(*cache_, false);
}

bool HoldsFamily(const FolderFont& file, std::u16string_view family)
{
    const std::u16string wanted = AsciiLower(family);
    for (const FontNames& face : file.faces) {
        if (!face.families)
            continue;
        for (const LocalName& name : *face.families) {
            if (AsciiLower(name.text) == wanted)
                return true;
        }
    }
    return false;
}
