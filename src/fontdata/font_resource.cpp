#include "fontdata/font_resource.h"

#include <optional>

namespace {

using Fault = const char*;

// Little-endian reads within a range known to lie inside the file: Has() first.
class Bytes {
public:
    explicit Bytes(std::span<const std::uint8_t> b) : b_(b) {}
    std::size_t size() const { return b_.size(); }
    bool Has(std::uint64_t at, std::uint64_t count) const { return at <= b_.size() && count <= b_.size() - at; }
    Bytes Sub(std::size_t at, std::size_t count) const { return Bytes(b_.subspan(at, count)); }
    std::uint32_t U8(std::size_t at) const { return b_[at]; }
    std::uint32_t U16(std::size_t at) const { return b_[at] | static_cast<std::uint32_t>(b_[at + 1]) << 8; }
    std::uint32_t U32(std::size_t at) const { return U16(at) | U16(at + 2) << 16; }
    // The NUL-terminated text at `at`, when it ends inside; nothing otherwise.
    std::optional<std::string> Text(std::size_t at) const
    {
        for (std::size_t end = at; end < b_.size(); ++end) {
            if (b_[end] == 0)
                return std::string(b_.begin() + static_cast<std::ptrdiff_t>(at), b_.begin() + static_cast<std::ptrdiff_t>(end));
        }
        return std::nullopt;
    }

private:
    std::span<const std::uint8_t> b_;
};

// The places of a font resource's header (FONTINFO).
constexpr std::size_t kVersion = 0, kSize = 2, kType = 66, kPixHeight = 88, kFirstChar = 95, kLastChar = 96,
                      kFace = 105, kBitsOffset = 113, kHeader2 = 118, kHeader3 = 148;
constexpr std::uint32_t kVectorFont = 1;
// What a raster character's bitmap may be at most: 255 bytes a row, 1,024 rows.
constexpr std::uint32_t kTallestCharacter = 1024;

bool LooksLikeFontResource(const Bytes& b)
{
    return b.Has(0, 6) && (b.U16(kVersion) == 0x0200 || b.U16(kVersion) == 0x0300);
}

// One font resource: its header, its character table, each character's data and its face
// name inside the resource's own size.
Fault ReadFontInfo(const Bytes& r, std::string& face)
{
    if (!LooksLikeFontResource(r))
        return "font: unknown version";
    if (!r.Has(0, kHeader2))
        return "font: header cut short";
    const bool version3 = r.U16(kVersion) == 0x0300;
    const std::size_t header = version3 ? kHeader3 : kHeader2, entry = version3 ? 6 : 4;
    const std::uint32_t size = r.U32(kSize);
    if (size < header)
        return "font: size below its header";
    if (size > r.size())
        return "font: size past the resource";
    const Bytes font = r.Sub(0, size);
    const std::uint32_t first = font.U8(kFirstChar), last = font.U8(kLastChar);
    const std::uint32_t height = font.U16(kPixHeight);
    const bool vector = (font.U16(kType) & kVectorFont) != 0;
    if (first > last)
        return "font: first character after the last";
    if (!vector && height == 0)
        return "font: no pixel height";
    if (!vector && height > kTallestCharacter)
        return "font: pixel height past 1024";
    // One entry a character, and one past the last.
    const std::uint32_t characters = last - first + 2;
    if (!font.Has(header, static_cast<std::uint64_t>(characters) * entry))
        return "font: character table past the font";
    for (std::uint32_t c = 0; c < characters; ++c) {
        const std::size_t at = header + c * entry;
        const std::uint32_t width = font.U16(at);
        const std::uint32_t offset = version3 ? font.U32(at + 2) : font.U16(at + 2);
        const std::uint64_t data = vector ? 0 : static_cast<std::uint64_t>((width + 7) / 8) * height;
        if (!font.Has(offset, data))
            return "font: a character past the font";
    }
    if (font.U32(kBitsOffset) > size)
        return "font: bits past the font";
    if (font.U32(kFace) >= size)
        return "font: face name past the font";
    const std::optional<std::string> name = font.Text(font.U32(kFace));
    if (!name)
        return "font: face name without its end";
    if (name->empty())
        return "font: empty face name";
    face = *name;
    return nullptr;
}

// The resources of a 16-bit executable, type by type.
struct Resource {
    std::uint32_t type;
    std::size_t at, length;
};

Fault ReadResources(const Bytes& file, std::vector<Resource>& resources)
{
    if (!file.Has(0, 0x40))
        return "executable: DOS header cut short";
    const std::uint32_t header = file.U32(0x3C);
    if (!file.Has(header, 0x40))
        return "executable: NE header past the end";
    if (file.U8(header) != 'N' || file.U8(header + 1) != 'E')
        return "executable: not NE";
    std::size_t at = header + file.U16(header + 0x24);
    if (!file.Has(at, 2))
        return "resources: table past the end";
    const std::uint32_t shift = file.U16(at);
    if (shift > 15)
        return "resources: alignment shift past 15";
    at += 2;
    for (;;) {
        if (!file.Has(at, 2))
            return "resources: type past the end";
        const std::uint32_t type = file.U16(at);
        if (type == 0)
            return nullptr;
        if (!file.Has(at, 8))
            return "resources: type header past the end";
        const std::uint32_t count = file.U16(at + 2);
        at += 8;
        if (!file.Has(at, 12ull * count))
            return "resources: entries past the end";
        for (std::uint32_t i = 0; i < count; ++i, at += 12) {
            const std::uint64_t offset = static_cast<std::uint64_t>(file.U16(at)) << shift;
            const std::uint64_t length = static_cast<std::uint64_t>(file.U16(at + 2)) << shift;
            // A resource's last block may run past the end of the file by its padding.
            if (offset > file.size())
                return "resources: a resource past the end";
            const std::uint64_t inside = std::min<std::uint64_t>(length, file.size() - offset);
            resources.push_back({type, static_cast<std::size_t>(offset), static_cast<std::size_t>(inside)});
        }
    }
}

constexpr std::uint32_t kFontDirectory = 0x8007, kFont = 0x8008, kScalableFileName = 0x80CC;
constexpr std::uint32_t kScalable = 0x4000;

}  // namespace

FontResourceFacts ReadFontResource(std::span<const std::uint8_t> bytes)
{
    const Bytes file(bytes);
    FontResourceFacts facts;
    auto refuse = [&](Fault fault) {
        const std::string text = fault;
        facts.fault = text.substr(0, text.find(':'));
        facts.reason = text;
        facts.faces.clear();
        return facts;
    };
    if (LooksLikeFontResource(file)) {
        facts.format = FontResourceFacts::Format::Fnt;
        std::string face;
        if (Fault fault = ReadFontInfo(file, face))
            return refuse(fault);
        facts.faces.push_back(face);
        facts.sound = true;
        return facts;
    }
    if (!file.Has(0, 2) || file.U8(0) != 'M' || file.U8(1) != 'Z')
        return facts;
    facts.format = FontResourceFacts::Format::Fon;
    std::vector<Resource> resources;
    if (Fault fault = ReadResources(file, resources))
        return refuse(fault);
    bool scalable = false;
    for (const Resource& resource : resources) {
        const Bytes r = file.Sub(resource.at, resource.length);
        if (resource.type == kFontDirectory) {
            // The first font's entry: its ordinal, then its header; a scalable one is a .fot.
            scalable = r.Has(4 + kType, 2) && (r.U16(4 + kType) & kScalable) != 0;
        } else if (resource.type == kScalableFileName) {
            if (std::optional<std::string> name = r.Text(0))
                facts.scalableFile = *name;
        } else if (resource.type == kFont) {
            std::string face;
            if (Fault fault = ReadFontInfo(r, face))
                return refuse(fault);
            facts.faces.push_back(face);
        }
    }
    if (scalable) {
        facts.format = FontResourceFacts::Format::Fot;
        if (facts.scalableFile.empty())
            return refuse("resources: a scalable font without its file");
    } else if (facts.faces.empty()) {
        return refuse("resources: no fonts");
    }
    facts.sound = true;
    return facts;
}
