// Installing a family of eight files: one press of 安装字体 with the eight paths in the
// path box (as a drop of the eight leaves it), against eight presses of one path each,
// side by side in one run; each outcome box is answered as soon as it shows. Then the same
// with a window on the desktop that every broadcast waits for. Medians of the
// repetitions; prints "name value unit" lines. Run by scripts/bench.sh:
//   install_bench FOLDER   (FOLDER holds qinst1.ttf ... generated fonts, 4 x 8 per repetition)
#include <windows.h>

#include "clock.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <optional>
#include <string>
#include <thread>

#include "app/features.h"
#include "app/wiring.h"
#include "catalogue/font_lists.h"
#include "fontcheck/font_trial.h"
#include "fontfiles/font_files.h"
#include "quiet_wiring.h"
#include "window/main_window.h"

namespace {

void Print(const char* name, double value, const char* unit)
{
    std::printf("%s %.2f %s\n", name, value, unit);
    std::fflush(stdout);
}

// Closes every outcome box of this process as soon as it shows, until stopped.
class BoxCloser {
public:
    BoxCloser()
        : thread_([this] {
              while (!stop_) {
                  HWND box = FindWindowA("#32770", "提示");
                  DWORD process = 0;
                  if (box)
                      GetWindowThreadProcessId(box, &process);
                  if (box && process == GetCurrentProcessId() && IsWindowVisible(box))
                      PostMessageA(box, WM_COMMAND, IDOK, 0);
                  Sleep(1);
              }
          })
    {
    }
    ~BoxCloser()
    {
        stop_ = true;
        thread_.join();
    }

private:
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

// A window whose thread takes 450 ms over each broadcast of a font change, as a program
// that has stopped answering does until the system marks it hung (after 5 s of silence;
// from then on the broadcast skips it): every broadcast waits for it, just short of the
// program's 500 ms limit. A window of a truly frozen thread would stop costing anything
// after its first seconds, and the comparison would depend on the order of the runs.
class WaitedForWindow {
public:
    WaitedForWindow()
        : thread_([this] {
              WNDCLASSA wc = {};
              wc.lpfnWndProc = &Proc;
              wc.lpszClassName = "QuillmoorBenchWaitedFor";
              RegisterClassA(&wc);
              hwnd_ = CreateWindowA(wc.lpszClassName, "Waited for", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100,
                                    nullptr, nullptr, nullptr, nullptr);
              ready_ = true;
              MSG msg;
              while (GetMessageA(&msg, nullptr, 0, 0) > 0)
                  DispatchMessageA(&msg);
          })
    {
        while (!ready_)
            Sleep(1);
    }
    ~WaitedForWindow()
    {
        PostMessageA(hwnd_, WM_CLOSE, 0, 0);
        thread_.join();
    }

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
    {
        if (msg == WM_FONTCHANGE)
            Sleep(450);
        if (msg == WM_DESTROY)
            PostQuitMessage(0);
        return DefWindowProcA(hwnd, msg, wp, lp);
    }
    std::atomic<bool> ready_{false};
    HWND hwnd_ = nullptr;
    std::thread thread_;
};

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return 2;
    const std::string folder = argv[1];

    Features features;
    features.trials.UseProgram(BenchFolder() + "quillmoor.exe");
    const std::vector<WiringRow> wiring = WiringWithoutForum(features);
    MainWindow window(kMainLayout, wiring);
    if (!window.Load())
        return 1;
    BoxCloser closer;
    int next = 1;
    // The next eight generated files, as the path box holds several.
    auto family = [&] {
        std::string box;
        for (int i = 0; i < 8; ++i)
            box += folder + "\\qinst" + std::to_string(next++) + ".ttf\r\n";
        return box;
    };
    // A press works off the window's thread: the window's messages go on until it ends.
    auto press = [&] {
        SendMessageA(window.按钮_安装字体.hwnd(), BM_CLICK, 0, 0);
        PumpWhile([&] { return features.installer.Running(); });
    };

    for (const bool waitedFor : {false, true}) {
        std::optional<WaitedForWindow> slow;
        if (waitedFor)
            slow.emplace();
        std::string eight;
        const double one = Median([&] { window.编辑框_安装文字目录.SetText(family()); }, press);
        const double separate = Median([&] { eight = family(); }, [&] {
            for (std::size_t start = 0, end; (end = eight.find("\r\n", start)) != std::string::npos; start = end + 2) {
                window.编辑框_安装文字目录.SetText(eight.substr(start, end - start));
                press();
            }
        });
        const char* suffix = waitedFor ? "_window_waited_for" : "";
        Print(("install_8_files_one_press" + std::string(suffix)).c_str(), one, "ms");
        Print(("install_8_files_eight_presses" + std::string(suffix)).c_str(), separate, "ms");
        Print(("install_one_vs_eight_ratio" + std::string(suffix)).c_str(), one / separate, "x");
    }

    // The longest the window goes without answering during one press of 60 files, its
    // outcome box and list reload included: another thread sends it WM_NULL every 10 ms.
    std::string sixty;
    for (int i = 0; i < 60; ++i)
        sixty += folder + "\\qinst" + std::to_string(next++) + ".ttf\r\n";
    window.编辑框_安装文字目录.SetText(sixty);
    std::atomic<bool> probing{true};
    double longest = 0;
    std::thread prober([&] {
        while (probing) {
            const double start = Now();
            DWORD_PTR ignored = 0;
            SendMessageTimeoutA(window.hwnd(), WM_NULL, 0, 0, SMTO_NORMAL, 10000, &ignored);
            longest = std::max(longest, Now() - start);
            Sleep(10);
        }
    });
    const double start = Now();
    press();
    const double whole = Now() - start;
    probing = false;
    prober.join();
    Print("install_60_files_one_press", whole, "ms");
    Print("longest_without_an_answer_during_it", longest, "ms");
    return 0;
}
