// What trying a font file in a child process costs, against a bare start of the same
// program that ends at once (the trial switch on a file that does not exist), measured in
// the same run: a small generated font and the 5 MB WenQuanYi collection. Then a large
// collection (about 23 MB) tried by two threads at once, as the path box's preview and a
// press of 安装字体 try it when the path is typed and the button pressed at once: one
// trial is run, both get its verdict, and none runs out of time. Prints one line per
// figure: "name value unit". Run by scripts/bench.sh next to quillmoor.exe.
#include <windows.h>

#include "clock.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "fontcheck/font_trial.h"

namespace {

double MedianTrial(const FontTrials& trials, const std::string& path, bool expected)
{
    std::vector<double> times;
    for (int i = 0; i < kRepetitions; ++i) {
        const double start = Now();
        if ((TryFontFile(trials, path) == TrialVerdict::Sound) != expected)
            std::printf("# unexpected verdict for %s\n", path.c_str());
        times.push_back(Now() - start);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::printf("usage: trial_bench SMALL_FONT COLLECTION LARGE_COLLECTION\n");
        return 2;
    }
    const std::string folder = BenchFolder();
    FontTrials trials(folder + "quillmoor.exe");
    TryFontFile(trials, argv[1]);  // untimed: the first start loads everything from disk

    const double bare = MedianTrial(trials, folder + "no-such-font.ttf", false);
    const double small = MedianTrial(trials, argv[1], true);
    const double collection = MedianTrial(trials, argv[2], true);
    std::printf("trial_bare_start %.1f ms\n", bare);
    std::printf("trial_small_font %.1f ms\n", small);
    std::printf("trial_wqy_collection %.1f ms\n", collection);
    std::printf("trial_small_font_ratio %.2f x\n", small / bare);
    std::printf("trial_wqy_collection_ratio %.2f x\n", collection / bare);

    // The large collection, by the preview and a press at once.
    std::ifstream file(argv[3], std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    TrialSession preview(trials), press(trials);
    TrialVerdict previewVerdict = TrialVerdict::NotTried, pressVerdict = TrialVerdict::NotTried;
    const double start = Now();
    std::thread first([&] { previewVerdict = preview.Try(bytes); });
    std::thread second([&] { pressVerdict = press.Try(bytes); });
    first.join();
    second.join();
    const double both = Now() - start;
    const int timedOut = (previewVerdict == TrialVerdict::TimedOut) + (pressVerdict == TrialVerdict::TimedOut);
    std::printf("# a collection of %.1f MB; its limit %u ms\n", static_cast<double>(bytes.size()) / (1024 * 1024),
                FontTrialTimeLimitMs(bytes.size()));
    std::printf("trial_large_collection_at_once %.1f ms\n", both);
    std::printf("trial_large_collection_children %d count\n", preview.childrenStarted() + press.childrenStarted());
    std::printf("trial_large_collection_timed_out %d count\n", timedOut);
    std::printf("trial_large_collection_sound %d count\n",
                (previewVerdict == TrialVerdict::Sound) + (pressVerdict == TrialVerdict::Sound));
    return 0;
}
