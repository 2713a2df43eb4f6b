#include "fontfiles/font_file.h"

namespace {

constexpr std::uint32_t kTrueType = 0x00010000;
constexpr std::uint32_t kApple = 0x74727565;       // "true"
constexpr std::uint32_t kOpenType = 0x4F54544F;    // "OTTO"
constexpr std::uint32_t kCollection = 0x74746366;  // "ttcf"
constexpr std::uint32_t kNameTag = 0x6E616D65;     // "name"

// Big-endian reads that know the file's end: Has() first, then read.
class Bytes {
public:
    explicit Bytes(std::span<const std::uint8_t> b) : b_(b) {}
    bool Has(std::uint64_t at, std::uint64_t count) const { return at <= b_.size() && count <= b_.size() - at; }
    std::uint32_t U16(std::size_t at) const { return static_cast<std::uint32_t>(b_[at]) << 8 | b_[at + 1]; }
    std::uint32_t U32(std::size_t at) const { return U16(at) << 16 | U16(at + 2); }

private:
    std::span<const std::uint8_t> b_;
};

bool IsSfntVersion(std::uint32_t version)
{
    return version == kTrueType || version == kApple || version == kOpenType;
}

// The best name of a name table: the full name (4) before the family (1), US English
// before other languages; Windows-platform Unicode records only.
std::optional<std::u16string> ReadName(const Bytes& b, std::size_t table, std::size_t length)
{
    if (length < 6)
        return std::nullopt;
    const std::size_t count = b.U16(table + 2);
    const std::size_t strings = table + b.U16(table + 4);
    if (6 + count * 12 > length)
        return std::nullopt;
    std::optional<std::u16string> best;
    int bestRank = 0;
    for (std::size_t r = 0; r < count; ++r) {
        const std::size_t rec = table + 6 + r * 12;
        const std::uint32_t platform = b.U16(rec), encoding = b.U16(rec + 2);
        const std::uint32_t language = b.U16(rec + 4), id = b.U16(rec + 6);
        const std::size_t size = b.U16(rec + 8), offset = b.U16(rec + 10);
        if (platform != 3 || (encoding != 0 && encoding != 1) || (id != 1 && id != 4) || size < 2)
            continue;
        if (strings + offset + size > table + length)
            continue;
        const int rank = (id == 4 ? 2 : 0) + (language == 0x0409 ? 1 : 0) + 1;
        if (rank <= bestRank)
            continue;
        std::u16string name;
        for (std::size_t i = 0; i + 1 < size; i += 2)
            name.push_back(static_cast<char16_t>(b.U16(strings + offset + i)));
        while (!name.empty() && name.back() == u'\0')
            name.pop_back();
        if (name.empty())
            continue;
        best = std::move(name);
        bestRank = rank;
    }
    return best;
}

struct Member {
    std::u16string name;
    bool cff;
};

// The font whose table directory starts at `at`, when that directory is sound and its
// name table gives a name.
std::optional<Member> ReadMember(const Bytes& b, std::size_t at)
{
    if (!b.Has(at, 12))
        return std::nullopt;
    const std::uint32_t version = b.U32(at);
    const std::uint32_t tables = b.U16(at + 4);
    if (!IsSfntVersion(version) || tables == 0 || tables > kMostTables || !b.Has(at + 12, tables * 16ull))
        return std::nullopt;
    std::optional<std::size_t> nameTable;
    std::size_t nameLength = 0;
    for (std::uint32_t t = 0; t < tables; ++t) {
        const std::size_t entry = at + 12 + static_cast<std::size_t>(t) * 16;
        const std::uint32_t offset = b.U32(entry + 8), length = b.U32(entry + 12);
        if (!b.Has(offset, length))
            return std::nullopt;  // a table past the end: the file is damaged
        if (b.U32(entry) == kNameTag) {
            nameTable = offset;
            nameLength = length;
        }
    }
    if (!nameTable)
        return std::nullopt;
    std::optional<std::u16string> name = ReadName(b, *nameTable, nameLength);
    if (!name)
        return std::nullopt;
    return Member{std::move(*name), version == kOpenType};
}

}  // namespace

FontFileFacts ReadFontFile(std::span<const std::uint8_t> bytes)
{
    const Bytes b(bytes);
    FontFileFacts facts;
    if (!b.Has(0, 4))
        return facts;
    const std::uint32_t tag = b.U32(0);
    if (tag == kCollection) {
        facts.format = FontFileFacts::Format::Collection;
        if (!b.Has(0, 12))
            return facts;
        const std::uint32_t version = b.U32(4), members = b.U32(8);
        if ((version != 0x00010000 && version != 0x00020000) || members == 0 || members > kMostMembers ||
            !b.Has(12, members * 4ull))
            return facts;
        for (std::uint32_t m = 0; m < members; ++m) {
            std::optional<Member> member = ReadMember(b, b.U32(12 + static_cast<std::size_t>(m) * 4));
            if (!member) {
                facts.names.clear();
                return facts;
            }
            if (m == 0)
                facts.cff = member->cff;
            facts.names.push_back(std::move(member->name));
        }
        facts.sound = true;
        return facts;
    }
    if (!IsSfntVersion(tag))
        return facts;
    facts.format = FontFileFacts::Format::Sfnt;
    if (std::optional<Member> member = ReadMember(b, 0)) {
        facts.sound = true;
        facts.cff = member->cff;
        facts.names.push_back(std::move(member->name));
    }
    return facts;
}
