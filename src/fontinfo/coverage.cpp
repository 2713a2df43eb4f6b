#include "fontinfo/coverage.h"

#include <algorithm>
#include <set>

namespace {

bool IsIdeograph(char32_t c)
{
    return (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0x3400 && c <= 0x4DBF) || (c >= 0xF900 && c <= 0xFAFF);
}

std::vector<CharRange> Ranges(std::vector<char32_t> points)
{
    std::sort(points.begin(), points.end());
    points.erase(std::unique(points.begin(), points.end()), points.end());
    std::vector<CharRange> ranges;
    for (char32_t p : points) {
        if (!ranges.empty() && ranges.back().last + 1 == p)
            ranges.back().last = p;
        else
            ranges.push_back({p, p});
    }
    return ranges;
}

// Calls `each` for every character of the set, ascending within its bitmap and its ranges.
template <class Each> void ForEach(const CharacterSet& set, Each each)
{
    for (std::size_t byte = 0; byte < set.bits.size(); ++byte) {
        for (int bit = 0; bit < 8; ++bit) {
            if (set.bits[byte] >> bit & 1)
                each(static_cast<char32_t>(CharacterSet::kBitmapFirst + 8 * byte + static_cast<std::size_t>(bit)));
        }
    }
    for (const CharRange& range : set.others) {
        for (char32_t c = range.first; c <= range.last && c >= range.first; ++c) {
            each(c);
            if (c == range.last)
                break;
        }
    }
}

CoverageCount Count(const char16_t* name, const CharacterSet& set, std::span<const CharRange> mapped)
{
    CoverageCount count{name};
    ForEach(set, [&](char32_t c) {
        ++count.total;
        count.covered += Maps(mapped, c) ? 1 : 0;
    });
    return count;
}

constexpr CharRange kGb18030[] = {{0x3400, 0x4DB5}, {0x4E00, 0x9FA5}};

}  // namespace

bool Maps(std::span<const CharRange> mapped, char32_t c)
{
    const auto after = std::upper_bound(mapped.begin(), mapped.end(), c,
                                        [](char32_t value, const CharRange& r) { return value < r.first; });
    return after != mapped.begin() && c <= (after - 1)->last;
}

std::vector<CharRange> IdeographsAmong(std::span<const char32_t> decoded)
{
    std::vector<char32_t> ideographs;
    for (char32_t c : decoded) {
        if (IsIdeograph(c))
            ideographs.push_back(c);
    }
    return Ranges(std::move(ideographs));
}

std::vector<CoverageCount> CountCoverage(std::span<const CharRange> mapped, std::span<const CharRange> gbk)
{
    return {
        Count(u"通用规范汉字表一级", kTghLevel1, mapped),
        Count(u"通用规范汉字表二级", kTghLevel2, mapped),
        Count(u"通用规范汉字表三级", kTghLevel3, mapped),
        Count(u"GB 2312", kGb2312, mapped),
        Count(u"GBK", CharacterSet{{}, gbk}, mapped),
        Count(u"GB 18030", CharacterSet{{}, kGb18030}, mapped),
        Count(u"Big5", kBig5, mapped),
        Count(u"HKSCS", kHkscs, mapped),
    };
}

std::u16string CoverageLines(const std::vector<CoverageCount>& counts)
{
    const auto number = [](std::uint32_t n) {
        const std::string digits = std::to_string(n);
        return std::u16string(digits.begin(), digits.end());
    };
    std::u16string text;
    for (const CoverageCount& count : counts) {
        if (!text.empty())
            text += u"\r\n";
        text += std::u16string(count.name) + u"：" + number(count.covered) + u"/" + number(count.total);
    }
    return text;
}

std::u32string MissingCharacters(std::u32string_view text, std::span<const CharRange> mapped, std::size_t most)
{
    std::u32string missing;
    std::set<char32_t> seen;
    for (char32_t c : text) {
        if (missing.size() >= most)
            break;
        const bool control = c < 0x20 || (c >= 0x7F && c <= 0x9F);
        const bool space = c == U' ' || c == 0x3000 || c == 0xA0 || c == 0x2028 || c == 0x2029;
        if (control || space || Maps(mapped, c) || !seen.insert(c).second)
            continue;
        missing.push_back(c);
    }
    return missing;
}
