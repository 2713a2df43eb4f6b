#include "win/whole_file.h"

#include <algorithm>

#include "win/scoped.h"

std::optional<std::vector<std::uint8_t>> ReadWholeFile(HANDLE file)
{
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file, &size) || size.QuadPart < 0 || size.QuadPart > kLargestFontFile)
        return std::nullopt;
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size.QuadPart));
    DWORD read = 0;
    if (!bytes.empty() && !ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr))
        return std::nullopt;
    bytes.resize(read);
    return bytes;
}

std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::string& path)
{
    ScopedHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid())
        return std::nullopt;
    return ReadWholeFile(file.get());
}

namespace {

// Writes all the bytes to an open file: ERROR_SUCCESS, or the error that stopped it (a
// short write counts as a full disk).
DWORD WriteWholeFile(HANDLE file, const std::vector<std::uint8_t>& bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 20));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr))
            return GetLastError();
        if (written == 0)
            return ERROR_DISK_FULL;
        done += written;
    }
    return ERROR_SUCCESS;
}

}  // namespace

DWORD WriteNewFile(const std::string& path, const std::vector<std::uint8_t>& bytes, DWORD disposition)
{
    ScopedHandle file(
        CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid())
        return GetLastError();
    DWORD error = WriteWholeFile(file.get(), bytes);
    if (!file.Close() && error == ERROR_SUCCESS)
        error = GetLastError();
    if (error != ERROR_SUCCESS)
        DeleteFileA(path.c_str());
    return error;
}
