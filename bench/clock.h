#pragma once
#include <windows.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

// Milliseconds on the performance counter, for the benchmarks' timings.
inline double Now()
{
    LARGE_INTEGER count, frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(count.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// Every figure is the median of this many repetitions.
inline constexpr int kRepetitions = 7;

// Median time in milliseconds of `work` over the repetitions, `prepare` untimed before each.
inline double Median(const std::function<void()>& prepare, const std::function<void()>& work)
{
    std::vector<double> times;
    for (int i = 0; i < kRepetitions; ++i) {
        prepare();
        const double start = Now();
        work();
        times.push_back(Now() - start);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// The folder of the running benchmark (where quillmoor.exe is), with a trailing backslash.
inline std::string BenchFolder()
{
    char exe[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string folder(exe);
    folder.resize(folder.find_last_of('\\') + 1);
    return folder;
}

// Keeps this thread's messages going while `busy` holds: for work that the window does off
// its thread and reports back through its messages.
inline void PumpWhile(const std::function<bool()>& busy)
{
    while (busy()) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
    }
}
