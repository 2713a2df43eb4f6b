// Whole-process start-up: from CreateProcess to a visible window whose list box holds the
// families, for quillmoor.exe and for the two floor programs (startup_floor.exe, a list in a
// window; startup_window_floor.exe, the program's window of stock controls), started in
// turn in one Wine session. Prints the medians and their ratios.
#include <windows.h>

#include "clock.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Search {
    DWORD pid;
    HWND window;
};

BOOL CALLBACK FindShown(HWND hwnd, LPARAM lp)
{
    auto* s = reinterpret_cast<Search*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid == s->pid && IsWindowVisible(hwnd) && GetWindow(hwnd, GW_OWNER) == nullptr) {
        s->window = hwnd;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK FindList(HWND hwnd, LPARAM lp)
{
    char cls[16] = {};
    GetClassNameA(hwnd, cls, sizeof cls);
    if (lstrcmpiA(cls, "ListBox") == 0) {
        *reinterpret_cast<HWND*>(lp) = hwnd;
        return FALSE;
    }
    return TRUE;
}

// Answers whatever box the closing program shows (the forum notice) with OK.
BOOL CALLBACK AnswerBoxes(HWND hwnd, LPARAM lp)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    char cls[16] = {};
    GetClassNameA(hwnd, cls, sizeof cls);
    if (pid == static_cast<DWORD>(lp) && std::string(cls) == "#32770" && IsWindowVisible(hwnd))
        PostMessageA(hwnd, WM_COMMAND, IDOK, 0);
    return TRUE;
}

// Milliseconds from CreateProcess until the program shows a window whose list is filled.
double TimeStartUp(const std::string& exe)
{
    std::string commandLine = "\"" + exe + "\"";
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    const double start = Now();
    if (!CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return -1;
    double shown = -1;
    while (Now() - start < 60000) {
        Search search{pi.dwProcessId, nullptr};
        EnumWindows(&FindShown, reinterpret_cast<LPARAM>(&search));
        HWND list = nullptr;
        if (search.window)
            EnumChildWindows(search.window, &FindList, reinterpret_cast<LPARAM>(&list));
        if (list && SendMessageA(list, LB_GETCOUNT, 0, 0) > 0) {
            shown = Now() - start;
            PostMessageA(search.window, WM_CLOSE, 0, 0);
            break;
        }
        Sleep(1);
    }
    while (WaitForSingleObject(pi.hProcess, 50) == WAIT_TIMEOUT)
        EnumWindows(&AnswerBoxes, static_cast<LPARAM>(pi.dwProcessId));
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return shown;
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

// startup_bench [PROGRAM FLOOR WINDOW_FLOOR]: quillmoor.exe against startup_floor.exe and
// startup_window_floor.exe unless named.
int main(int argc, char** argv)
{
    const bool named = argc > 3;
    const std::string programs[] = {
        named ? argv[2] : BenchFolder() + "startup_floor.exe",
        named ? argv[3] : BenchFolder() + "startup_window_floor.exe",
        named ? argv[1] : BenchFolder() + "quillmoor.exe",
    };
    constexpr int kPrograms = 3;
    // One round of each first, untimed: the session's first processes load what stays cached.
    for (const std::string& program : programs)
        TimeStartUp(program);
    std::vector<double> times[kPrograms];
    for (int i = 0; i < kRepetitions; ++i) {
        for (int k = 0; k < kPrograms; ++k)
            times[k].push_back(TimeStartUp(programs[k]));
    }
    const double floor = Median(times[0]), window = Median(times[1]), program = Median(times[2]);
    std::printf("startup_floor_ms %.1f ms\n", floor);
    std::printf("startup_window_floor_ms %.1f ms\n", window);
    std::printf("startup_program_ms %.1f ms\n", program);
    std::printf("startup_ratio %.2f x\n", program / floor);
    std::printf("startup_window_ratio %.2f x\n", program / window);
    std::printf("startup_window_floor_ratio %.2f x\n", window / floor);
    return 0;
}
