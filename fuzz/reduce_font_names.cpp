// ReduceFontNames on reports split from any bytes: the result never holds two equal
// neighbours, never grows, and every name in it was reported.
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "catalogue/font_names.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::vector<std::string> reports(1);
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == '\n')
            reports.emplace_back();
        else
            reports.back().push_back(static_cast<char>(data[i]));
    }
    const std::vector<std::string> result = ReduceFontNames(reports);
    if (result.size() > reports.size())
        std::abort();
    const std::set<std::string> reported(reports.begin(), reports.end());
    for (std::size_t i = 0; i < result.size(); ++i) {
        if (!reported.count(result[i]))
            std::abort();
        if (i > 0 && result[i] == result[i - 1])
            std::abort();
    }
    if (!result.empty() && result.front() != reports.back() && !reports.back().empty())
        std::abort();
    return 0;
}
