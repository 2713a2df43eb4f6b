// The table directory of a font and the collection around it: where each table lies,
// read from the file's first bytes; and the copy of a file with families of its own.
#include <algorithm>
#include <optional>

#include "fontdata/font_tables.h"

using namespace font_reading;

namespace {

// The checksum of a table: its big-endian 32-bit words summed, the last one padded.
std::uint32_t TableChecksum(std::span<const std::uint8_t> table)
{
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i < table.size(); i += 4) {
        std::uint32_t word = 0;
        for (std::size_t k = 0; k < 4; ++k)
            word = word << 8 | (i + k < table.size() ? table[i + k] : 0u);
        sum += word;
    }
    return sum;
}

}  // namespace

namespace font_reading {

// The table directory at `at`: every table inside the file, no tag twice (an engine reads
// the first of a repeated tag, a judge might read another).
Fault ReadDirectory(const Range& file, std::size_t at, Font& font)
{
    if (!file.Has(at, 12))
        return {"directory", "header past the end"};
    font.version = file.U32(at);
    const std::uint32_t tables = file.U16(at + 4);
    if (!IsSfntVersion(font.version))
        return {"directory", "unknown version"};
    if (tables == 0)
        return {"directory", "no tables"};
    if (tables > kMostTables)
        return {"directory", "too many tables"};
    if (!file.Has(at + 12, tables * 16ull))
        return {"directory", "records past the end"};
    const std::pair<std::uint32_t, Range Font::*> known[] = {
        {Tag("head"), &Font::head}, {Tag("maxp"), &Font::maxp}, {Tag("hhea"), &Font::hhea},
        {Tag("hmtx"), &Font::hmtx}, {Tag("cmap"), &Font::cmap}, {Tag("loca"), &Font::loca},
        {Tag("glyf"), &Font::glyf}, {Tag("CFF "), &Font::cff},  {Tag("CFF2"), &Font::cff2},
        {Tag("OS/2"), &Font::os2},  {Tag("name"), &Font::name}, {Tag("fvar"), &Font::fvar},
        {Tag("EBLC"), &Font::eblc}, {Tag("EBDT"), &Font::ebdt}, {Tag("CBLC"), &Font::cblc},
        {Tag("CBDT"), &Font::cbdt}, {Tag("sbix"), &Font::sbix},
    };
    std::vector<std::uint32_t> tags;
    for (std::uint32_t t = 0; t < tables; ++t) {
        const std::size_t entry = at + 12 + static_cast<std::size_t>(t) * 16;
        const std::uint32_t tag = file.U32(entry), offset = file.U32(entry + 8), length = file.U32(entry + 12);
        if (!file.Has(offset, length))
            return {"directory", "a table past the end"};
        tags.push_back(tag);
        for (const auto& [knownTag, member] : known) {
            if (tag == knownTag)
                font.*member = file.Sub(offset, length);
        }
    }
    std::sort(tags.begin(), tags.end());
    if (std::adjacent_find(tags.begin(), tags.end()) != tags.end())
        return {"directory", "a tag twice"};
    return nullptr;
}

}  // namespace font_reading

std::vector<std::vector<TableRecord>> FontTableRecords(std::span<const std::uint8_t> start)
{
    const Range file(start);
    if (!file.Has(0, 4))
        return {};
    std::vector<std::size_t> members;
    if (file.U32(0) == kCollection) {
        if (!file.Has(0, 12))
            return {};
        const std::uint32_t count = file.U32(8);
        if (count == 0 || count > kMostMembers || !file.Has(12, 4ull * count))
            return {};
        for (std::size_t m = 0; m < count; ++m)
            members.push_back(file.U32(12 + 4 * m));
    } else if (IsSfntVersion(file.U32(0))) {
        members.push_back(0);
    } else {
        return {};
    }
    std::vector<std::vector<TableRecord>> fonts;
    for (std::size_t at : members) {
        if (!file.Has(at, 12) || !IsSfntVersion(file.U32(at)))
            return {};
        const std::uint32_t tables = file.U16(at + 4);
        if (tables > kMostTables || !file.Has(at + 12, 16ull * tables))
            return {};
        std::vector<TableRecord>& records = fonts.emplace_back();
        for (std::size_t t = 0; t < tables; ++t) {
            const std::size_t record = at + 12 + 16 * t;
            records.push_back({file.U32(record), file.U32(record + 8), file.U32(record + 12)});
        }
    }
    return fonts;
}

std::optional<std::vector<std::uint8_t>> WithOwnFamilies(std::span<const std::uint8_t> bytes,
                                                         const std::vector<std::u16string>& families)
{
    const std::vector<std::vector<TableRecord>> fonts = FontTableRecords(bytes);
    if (fonts.empty() || fonts.size() != families.size())
        return std::nullopt;
    std::vector<std::uint8_t> out(bytes.begin(), bytes.end());
    auto put16 = [&out](std::uint32_t v) {
        out.push_back(static_cast<std::uint8_t>(v >> 8));
        out.push_back(static_cast<std::uint8_t>(v));
    };
    auto set32 = [&out](std::size_t at, std::uint64_t v) {
        for (std::size_t i = 0; i < 4; ++i)
            out[at + i] = static_cast<std::uint8_t>(v >> (24 - 8 * i));
    };
    // Where each member's directory starts: the file's start, or the collection's offsets.
    const Range file(bytes);
    std::vector<std::size_t> directories;
    if (file.U32(0) == kCollection) {
        for (std::size_t m = 0; m < fonts.size(); ++m)
            directories.push_back(file.U32(12 + 4 * m));
    } else {
        directories.push_back(0);
    }
    for (std::size_t m = 0; m < fonts.size(); ++m) {
        const std::u16string& family = families[m];
        const std::u16string style = u"Regular";
        // Family (1), subfamily (2) and full name (4): the US English Windows records.
        const std::pair<std::uint32_t, const std::u16string*> records[] = {{1, &family}, {2, &style}, {4, &family}};
        while (out.size() % 4 != 0)
            out.push_back(0);
        const std::size_t at = out.size();
        put16(0);
        put16(3);
        put16(6 + 12 * 3);
        std::uint32_t offset = 0;
        for (const auto& [id, text] : records) {
            for (std::uint32_t v : {3u, 1u, std::uint32_t{kUsEnglish}, id, static_cast<std::uint32_t>(2 * text->size()),
                                    offset})
                put16(v);
            offset += static_cast<std::uint32_t>(2 * text->size());
        }
        for (const auto& [id, text] : records) {
            for (char16_t c : *text)
                put16(c);
        }
        const std::size_t length = out.size() - at;
        // The member's name record, or none: then the font keeps the names it had.
        const std::size_t directory = directories[m];
        for (std::size_t t = 0; t < fonts[m].size(); ++t) {
            if (fonts[m][t].tag != Tag("name"))
                continue;
            const std::size_t record = directory + 12 + 16 * t;
            set32(record + 4, TableChecksum(std::span<const std::uint8_t>(out).subspan(at)));
            set32(record + 8, at);
            set32(record + 12, length);
        }
    }
    return out;
}

std::vector<TablePlace> NameTablePlaces(std::span<const std::uint8_t> start)
{
    std::vector<TablePlace> places;
    for (const std::vector<TableRecord>& font : FontTableRecords(start)) {
        std::optional<TablePlace> name;
        for (const TableRecord& record : font) {
            if (record.tag == Tag("name"))
                name = TablePlace{record.offset, record.length};
        }
        if (!name)
            return {};
        places.push_back(*name);
    }
    return places;
}

std::optional<CollectionPlace> CollectionMember(std::span<const std::uint8_t> start, std::span<const std::uint8_t> name)
{
    const Range file(start);
    if (!file.Has(0, 12) || file.U32(0) != kCollection)
        return std::nullopt;
    const std::uint32_t count = file.U32(8);
    if (count == 0 || count > kMostMembers || !file.Has(12, 4ull * count))
        return std::nullopt;
    const std::uint32_t sum = TableChecksum(name);
    for (std::size_t m = 0; m < count; ++m) {
        const std::size_t at = file.U32(12 + 4 * m);
        if (!file.Has(at, 12))
            return std::nullopt;
        const std::uint32_t tables = file.U16(at + 4);
        if (tables > kMostTables || !file.Has(at + 12, 16ull * tables))
            return std::nullopt;
        for (std::size_t t = 0; t < tables; ++t) {
            const std::size_t record = at + 12 + 16 * t;
            if (file.U32(record) == Tag("name") && file.U32(record + 4) == sum && file.U32(record + 12) == name.size())
                return CollectionPlace{m, count};
        }
    }
    return std::nullopt;
}
