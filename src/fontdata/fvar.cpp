// fvar: a variable font's axes.
#include "fontdata/font_tables.h"

namespace font_reading {

// The axes of a variable font (fvar), by their tags: each record inside the table.
std::vector<std::string> ReadAxes(const Range& fvar)
{
    std::vector<std::string> axes;
    if (!fvar.present() || fvar.size() < 16)
        return axes;
    const std::uint32_t first = fvar.U16(4), count = fvar.U16(8), size = fvar.U16(10);
    if (size < 4 || !fvar.Has(first, static_cast<std::uint64_t>(count) * size))
        return axes;
    constexpr std::uint32_t kMostAxes = 64;  // real fonts have a handful
    for (std::uint32_t i = 0; i < count && i < kMostAxes; ++i) {
        const std::size_t at = first + static_cast<std::size_t>(i) * size;
        std::string tag;
        for (std::size_t k = 0; k < 4; ++k)
            tag.push_back(static_cast<char>(fvar.U8(at + k)));
        axes.push_back(tag);
    }
    return axes;
}

}  // namespace font_reading
