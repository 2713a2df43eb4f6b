#pragma once
// What the judges of a font file's tables share: big-endian reads inside a range that is
// known to lie in the file, a table's tag, and what failed.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace font_reading {

constexpr std::uint32_t Tag(const char (&t)[5])
{
    return static_cast<std::uint32_t>(static_cast<unsigned char>(t[0])) << 24 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(t[1])) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(t[2])) << 8 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(t[3]));
}

// What failed: the table, the rule it broke and, where one rule serves several parts of a
// table (the INDEXes of a CFF table), the part. Every rule has a text of its own, so that a
// test of a rule can tell it from another rule of the same table. No table: nothing failed.
struct Fault {
    const char* table = nullptr;
    const char* rule = nullptr;
    const char* part = nullptr;
    Fault() = default;
    Fault(std::nullptr_t) {}
    Fault(const char* t, const char* r, const char* p = nullptr) : table(t), rule(r), part(p) {}
    explicit operator bool() const { return table != nullptr; }
    std::string Text() const
    {
        if (!table)
            return {};
        std::string text = std::string(table) + ": ";
        if (part)
            text += std::string(part) + ": ";
        return text + rule;
    }
};

// Big-endian reads within a range of the file that is known to lie inside it: Has()
// first, then read. The whole file is one such range, and so is each table. A range knows
// where it starts in the file, so that what is read of it can be kept by place.
class Range {
public:
    Range() = default;
    explicit Range(std::span<const std::uint8_t> b, std::size_t at = 0) : b_(b), at_(at) {}
    bool present() const { return b_.data() != nullptr; }
    std::size_t size() const { return b_.size(); }
    std::size_t at() const { return at_; }  // in the file
    bool Has(std::uint64_t at, std::uint64_t count) const { return at <= b_.size() && count <= b_.size() - at; }
    Range Sub(std::size_t at, std::size_t count) const { return Range(b_.subspan(at, count), at_ + at); }
    std::uint32_t U8(std::size_t at) const { return b_[at]; }
    std::uint32_t U16(std::size_t at) const { return static_cast<std::uint32_t>(b_[at]) << 8 | b_[at + 1]; }
    std::int32_t S16(std::size_t at) const { return static_cast<std::int16_t>(U16(at)); }
    std::uint32_t U32(std::size_t at) const { return U16(at) << 16 | U16(at + 2); }
    // Where and how long: what identifies a table shared by several fonts of a collection.
    std::pair<std::size_t, std::size_t> Place() const { return {at_, b_.size()}; }

private:
    std::span<const std::uint8_t> b_;
    std::size_t at_ = 0;
};

// Whether any two of these [start, end) extents overlap; equal starts were merged before.
inline bool Overlap(std::vector<std::pair<std::uint64_t, std::uint64_t>> extents)
{
    std::sort(extents.begin(), extents.end());
    for (std::size_t i = 1; i < extents.size(); ++i) {
        if (extents[i].first < extents[i - 1].second)
            return true;
    }
    return false;
}

}  // namespace font_reading
