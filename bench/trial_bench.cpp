// What trying a font file in a child process costs, against a bare start of the same
// program that ends at once (the trial switch on a file that does not exist), measured in
// the same run: a small generated font and the 5 MB WenQuanYi collection. Prints one line
// per figure: "name value unit". Run by scripts/bench.sh next to quillmoor.exe.
#include <windows.h>

#include "clock.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "fontcheck/font_trial.h"

namespace {

double MedianTrial(const std::string& path, bool expected)
{
    std::vector<double> times;
    for (int i = 0; i < kRepetitions; ++i) {
        const double start = Now();
        if ((TryFontFile(path) == TrialVerdict::Sound) != expected)
            std::printf("# unexpected verdict for %s\n", path.c_str());
        times.push_back(Now() - start);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::printf("usage: trial_bench SMALL_FONT COLLECTION\n");
        return 2;
    }
    const std::string folder = BenchFolder();
    UseFontTrialProgram(folder + "quillmoor.exe");
    TryFontFile(argv[1]);  // untimed: the first start loads everything from disk

    const double bare = MedianTrial(folder + "no-such-font.ttf", false);
    const double small = MedianTrial(argv[1], true);
    const double collection = MedianTrial(argv[2], true);
    std::printf("trial_bare_start %.1f ms\n", bare);
    std::printf("trial_small_font %.1f ms\n", small);
    std::printf("trial_wqy_collection %.1f ms\n", collection);
    std::printf("trial_small_font_ratio %.2f x\n", small / bare);
    std::printf("trial_wqy_collection_ratio %.2f x\n", collection / bare);
    return 0;
}
