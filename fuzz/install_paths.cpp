// The path box read as paths, and the outcome box written for them, on any bytes: no
// crash, no undefined behaviour; every path is a non-blank line with no line break, and
// the box names at most twenty files; several paths written in the quoted form read the same.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "controls/drop_rules.h"
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
    // Written back in the open dialog's form, as a drop of several files writes them, the
    // paths read the same (a quote in a path, or blanks around a lone one, aside: no file
    // has them).
    const bool writable = paths.size() >= 2 && std::none_of(paths.begin(), paths.end(), [](const std::string& p) {
        return p.find('"') != std::string::npos;
    });
    if (writable && InstallPaths(JoinDroppedPaths(paths)) != paths)
        std::abort();
    const std::string report = ReportInstallation(outcomes).text;
    // The first line, a blank one, at most twenty reasons (a name may hold line breaks only
    // if a path did) and the count.
    if (static_cast<std::size_t>(std::count(report.begin(), report.end(), '\n')) > 2 + kReasonsShown + 1)
        std::abort();
    return 0;
}
