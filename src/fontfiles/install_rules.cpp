#include "fontfiles/install_rules.h"

#include "base/dbcs_text.h"

std::string InstalledFileName(const std::string& fullPath)
{
    std::size_t start = 0;
    for (std::size_t i = 0; i < fullPath.size(); ++i) {
        const auto byte = static_cast<unsigned char>(fullPath[i]);
        if (IsLeadByte(byte) && i + 1 < fullPath.size()) {
            ++i;  // the second byte of a character is never a separator
            continue;
        }
        if (byte == '\\' || byte == '/' || byte == ':')
            start = i + 1;
    }
    return CutText(fullPath.substr(start), 255);
}

std::string JoinPath(const std::string& folder, const std::string& name)
{
    return folder + "\\" + name;
}

namespace {

std::uint32_t Read16(const std::vector<std::uint8_t>& b, std::size_t at)
{
    return static_cast<std::uint32_t>(b[at]) << 8 | b[at + 1];
}

std::uint32_t Read32(const std::vector<std::uint8_t>& b, std::size_t at)
{
    return Read16(b, at) << 16 | Read16(b, at + 2);
}

}  // namespace

std::optional<std::u16string> FontNameFromFile(const std::vector<std::uint8_t>& b)
{
    // The table directory of an sfnt (TrueType 0x00010000, "true", or OpenType "OTTO").
    if (b.size() < 12)
        return std::nullopt;
    const std::uint32_t version = Read32(b, 0);
    if (version != 0x00010000 && version != 0x74727565 && version != 0x4F54544F)
        return std::nullopt;
    const std::uint32_t tables = Read16(b, 4);
    if (12 + static_cast<std::size_t>(tables) * 16 > b.size())
        return std::nullopt;
    std::size_t nameOffset = 0, nameLength = 0;
    for (std::uint32_t t = 0; t < tables; ++t) {
        const std::size_t entry = 12 + static_cast<std::size_t>(t) * 16;
        if (Read32(b, entry) == 0x6E616D65) {  // "name"
            nameOffset = Read32(b, entry + 8);
            nameLength = Read32(b, entry + 12);
        }
    }
    if (nameLength < 6 || nameOffset > b.size() || nameLength > b.size() - nameOffset)
        return std::nullopt;

    const std::size_t count = Read16(b, nameOffset + 2);
    const std::size_t strings = nameOffset + Read16(b, nameOffset + 4);
    if (6 + count * 12 > nameLength)
        return std::nullopt;
    // Best record: full name (4) before family (1); US English before other languages.
    std::optional<std::u16string> best;
    int bestRank = 0;
    for (std::size_t r = 0; r < count; ++r) {
        const std::size_t rec = nameOffset + 6 + r * 12;
        const std::uint32_t platform = Read16(b, rec), encoding = Read16(b, rec + 2);
        const std::uint32_t language = Read16(b, rec + 4), id = Read16(b, rec + 6);
        const std::size_t length = Read16(b, rec + 8), offset = Read16(b, rec + 10);
        if (platform != 3 || (encoding != 0 && encoding != 1) || (id != 1 && id != 4) || length < 2)
            continue;
        if (strings + offset + length > nameOffset + nameLength)
            continue;
        const int rank = (id == 4 ? 2 : 0) + (language == 0x0409 ? 1 : 0) + 1;
        if (rank <= bestRank)
            continue;
        std::u16string name;
        for (std::size_t i = 0; i + 1 < length; i += 2)
            name.push_back(static_cast<char16_t>(Read16(b, strings + offset + i)));
        while (!name.empty() && name.back() == u'\0')
            name.pop_back();
        if (name.empty())
            continue;
        best = std::move(name);
        bestRank = rank;
    }
    return best;
}

std::string FontRegistryName(const std::optional<std::string>& fontName, const std::string& fileName)
{
    if (fontName && !fontName->empty())
        return *fontName + " (TrueType)";
    return fileName;
}
