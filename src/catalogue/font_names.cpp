#include "catalogue/font_names.h"

std::vector<std::string> ReduceFontNames(const std::vector<std::string>& reports)
{
    std::vector<std::string> result;
    const std::string* previous = nullptr;
    static const std::string kEmpty;
    for (auto it = reports.rbegin(); it != reports.rend(); ++it) {
        if (*it != (previous ? *previous : kEmpty))
            result.push_back(*it);
        previous = &*it;
    }
    return result;
}
