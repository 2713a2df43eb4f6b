// The path box read as paths, and the outcome box written for them, on any bytes: no
// crash, no undefined behaviour; every path is a non-blank line with no line break, and
// the box names at most twenty files.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "fontfiles/install_rules.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> paths = InstallPaths(text);
    std::vector<FileOutcome> outcomes;
    for (const std::string& path : paths) {
        if (path.empty() || path.find_first_of("\r\n") != std::string::npos ||
            path.find_first_not_of(" \t") == std::string::npos)
            std::abort();
        outcomes.push_back({path, static_cast<InstallResult>(path.size() % 11)});
    }
    const std::string report = ReportInstallation(outcomes).text;
    // The first line, a blank one, at most twenty reasons (a name may hold line breaks only
    // if a path did) and the count.
    if (static_cast<std::size_t>(std::count(report.begin(), report.end(), '\n')) > 2 + kReasonsShown + 1)
        std::abort();
    return 0;
}
