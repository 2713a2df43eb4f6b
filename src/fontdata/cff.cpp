// CFF and CFF2: the header, the INDEXes and the Top DICT an engine reads before a glyph,
// the CharStrings INDEX counting every glyph and the Private DICT inside the table.
#include <optional>
#include <vector>

#include "fontdata/font_tables.h"

namespace font_reading {

namespace {

// A CFF INDEX: its item count, where it ends, and where its first item lies.
struct Index {
    std::uint32_t count = 0;
    std::size_t end = 0, firstStart = 0, firstEnd = 0;
};

// The INDEX at `at`, when its offset size and every offset are sound (ascending from 1)
// and its data lies in the table. CFF counts items in 2 bytes, CFF2 in 4. `part` names the
// INDEX in a fault.
Fault ReadIndex(const Range& t, std::size_t at, std::size_t countBytes, const char* part, Index& index)
{
    const char* table = "CFF";
    if (!t.Has(at, countBytes))
        return {table, "INDEX count past the table", part};
    index = Index();
    index.count = countBytes == 2 ? t.U16(at) : t.U32(at);
    if (index.count == 0) {
        index.end = at + countBytes;
        return nullptr;
    }
    const std::size_t sizeAt = at + countBytes;
    if (!t.Has(sizeAt, 1))
        return {table, "INDEX offset size past the table", part};
    const std::uint32_t offSize = t.U8(sizeAt);
    const std::uint64_t offsets = (index.count + 1ull) * offSize;
    if (offSize < 1 || offSize > 4)
        return {table, "INDEX offset size not 1 to 4", part};
    if (!t.Has(sizeAt + 1, offsets))
        return {table, "INDEX offsets past the table", part};
    auto offset = [&](std::size_t i) {
        std::uint32_t value = 0;
        for (std::size_t k = 0; k < offSize; ++k)
            value = value << 8 | t.U8(sizeAt + 1 + i * offSize + k);
        return value;
    };
    // Offsets count from the byte before the data, so the first is 1.
    const std::size_t base = sizeAt + static_cast<std::size_t>(offsets);
    std::uint32_t previous = offset(0);
    if (previous != 1)
        return {table, "INDEX not starting at 1", part};
    for (std::size_t i = 1; i <= index.count; ++i) {
        const std::uint32_t next = offset(i);
        if (next < previous)
            return {table, "INDEX offsets descending", part};
        if (i == 1)
            index.firstEnd = base + next;
        previous = next;
    }
    if (!t.Has(base, previous))
        return {table, "INDEX data past the table", part};
    index.firstStart = base + 1;
    index.end = base + previous;
    return nullptr;
}

// What the program needs of a top DICT: the CharStrings offset (operator 17) and the
// Private DICT's size and offset (18), when the DICT's encoding is sound.
struct TopDict {
    std::optional<std::int64_t> charStrings;
    std::optional<std::pair<std::int64_t, std::int64_t>> privateDict;
};

// The most operands a DICT holds before its operator (CFF2's maxstack limit).
constexpr std::size_t kMostOperands = 513;

// A CFF DICT. CFF2 has operators of its own, which are reserved in CFF: vsindex (22),
// blend (23), vstore (24) and maxstack (25).
Fault ReadDict(const Range& t, std::size_t from, std::size_t to, bool cff2, TopDict& dict)
{
    const char* table = "CFF";
    const char* part = cff2 ? "CFF2 Top DICT" : "Top DICT";
    std::vector<std::int64_t> operands;
    std::size_t p = from;
    while (p < to) {
        const std::uint32_t b0 = t.U8(p);
        std::int64_t value = 0;
        if (b0 <= 21 || (cff2 && b0 <= 25)) {
            ++p;
            if (b0 == 12) {
                if (p >= to)
                    return {table, "DICT two-byte operator cut short", part};
                ++p;  // two-byte operators: none the program reads
            } else if (b0 == 17 && !operands.empty()) {
                dict.charStrings = operands.back();
            } else if (b0 == 18 && operands.size() >= 2) {
                dict.privateDict = {{operands[operands.size() - 2], operands.back()}};
            }
            if (b0 != 23)  // blend leaves its results on the stack
                operands.clear();
            continue;
        }
        if (b0 == 28) {
            if (p + 3 > to)
                return {table, "DICT 16-bit operand cut short", part};
            value = t.S16(p + 1);
            p += 3;
        } else if (b0 == 29) {
            if (p + 5 > to)
                return {table, "DICT 32-bit operand cut short", part};
            value = static_cast<std::int32_t>(t.U32(p + 1));
            p += 5;
        } else if (b0 == 30) {  // a real number: nibbles up to the end nibble 0xF
            for (++p;; ++p) {
                if (p >= to)
                    return {table, "DICT real number without its end", part};
                const std::uint32_t byte = t.U8(p);
                if ((byte >> 4) == 0xF || (byte & 0xF) == 0xF)
                    break;
            }
            ++p;
        } else if (b0 >= 32 && b0 <= 246) {
            value = static_cast<std::int64_t>(b0) - 139;
            ++p;
        } else if (b0 >= 247 && b0 <= 254) {
            if (p + 2 > to)
                return {table, "DICT two-byte operand cut short", part};
            const std::int64_t magnitude = (static_cast<std::int64_t>(b0 >= 251 ? b0 - 251 : b0 - 247) << 8) +
                                           t.U8(p + 1) + 108;
            value = b0 >= 251 ? -magnitude : magnitude;
            p += 2;
        } else {
            return {table, "DICT reserved operator", part};
        }
        if (operands.size() >= kMostOperands)
            return {table, "DICT operand stack past 513", part};
        operands.push_back(value);
    }
    return nullptr;
}

// The CharStrings INDEX lies in the table, and so does the Private DICT.
OutlineFacts ReadOutlineIndexes(const Range& t, const TopDict& dict, std::size_t countBytes)
{
    const char* table = "CFF";
    if (!dict.charStrings)
        return {{table, "no CharStrings"}};
    if (*dict.charStrings < 0 || *dict.charStrings >= static_cast<std::int64_t>(t.size()))
        return {{table, "CharStrings past the table"}};
    Index charStrings;
    if (Fault fault = ReadIndex(t, static_cast<std::size_t>(*dict.charStrings), countBytes, countBytes == 2 ? "CharStrings" : "CFF2 CharStrings", charStrings))
        return {fault};
    if (dict.privateDict) {
        const auto [size, offset] = *dict.privateDict;
        if (size < 0 || offset < 0 || !t.Has(static_cast<std::uint64_t>(offset), static_cast<std::uint64_t>(size)))
            return {{table, "Private DICT past the table"}};
    }
    return {nullptr, charStrings.count};
}

}  // namespace

OutlineFacts ReadCff(const Range& t)
{
    if (!t.Has(0, 4))
        return {{"CFF", "header cut short"}};
    if (t.U8(0) != 1)
        return {{"CFF", "unknown major version"}};
    const std::uint32_t headerSize = t.U8(2), offSize = t.U8(3);
    if (headerSize < 4)
        return {{"CFF", "header size below 4"}};
    if (offSize < 1 || offSize > 4)
        return {{"CFF", "header offset size not 1 to 4"}};
    // Name, Top DICT, String and Global Subr INDEXes, one after the other.
    Index names, top, strings, subrs;
    if (Fault fault = ReadIndex(t, headerSize, 2, "Name", names))
        return {fault};
    if (Fault fault = ReadIndex(t, names.end, 2, "Top DICT", top))
        return {fault};
    if (Fault fault = ReadIndex(t, top.end, 2, "String", strings))
        return {fault};
    if (Fault fault = ReadIndex(t, strings.end, 2, "Global Subr", subrs))
        return {fault};
    if (top.count == 0)
        return {{"CFF", "no Top DICT"}};
    TopDict dict;
    if (Fault fault = ReadDict(t, top.firstStart, top.firstEnd, false, dict))
        return {fault};
    return ReadOutlineIndexes(t, dict, 2);
}

OutlineFacts ReadCff2(const Range& t)
{
    if (!t.Has(0, 5))
        return {{"CFF", "CFF2 header cut short"}};
    if (t.U8(0) != 2)
        return {{"CFF", "CFF2 unknown major version"}};
    const std::uint32_t headerSize = t.U8(2), dictLength = t.U16(3);
    if (headerSize < 5)
        return {{"CFF", "CFF2 header size below 5"}};
    if (!t.Has(headerSize, dictLength))
        return {{"CFF", "CFF2 Top DICT past the table"}};
    TopDict dict;
    if (Fault fault = ReadDict(t, headerSize, headerSize + dictLength, true, dict))
        return {fault};
    Index subrs;
    if (Fault fault = ReadIndex(t, headerSize + dictLength, 4, "CFF2 Global Subr", subrs))
        return {fault};
    return ReadOutlineIndexes(t, dict, 4);
}

}  // namespace font_reading
