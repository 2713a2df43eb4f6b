#include "app/program.h"

#include <windows.h>

#include <string>

#include "base/dbcs_text.h"
#include "win/fatal.h"
#include "win/ole.h"

std::string FullPath(const std::string& path)
{
    char full[MAX_PATH] = {};
    const DWORD length = GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr);
    return length > 0 && length < MAX_PATH ? std::string(full, length) : path;
}

void PrepareProcess()
{
    StartOle();

    std::string path(MAX_PATH, '\0');
    DWORD length;
    while ((length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()))) == path.size())
        path.resize(path.size() * 2);
    path.resize(length);
    // The path is in the ANSI code page, where a trail byte can look like a backslash.
    std::size_t folderEnd = LastComponentStart(path);
    if (folderEnd > 1 && path[folderEnd - 1] == '\\' && path[folderEnd - 2] != ':')
        --folderEnd;  // "C:\\dir\\" becomes "C:\\dir", but "C:\\" stays
    if (folderEnd > 0)
        SetCurrentDirectoryA(path.substr(0, folderEnd).c_str());
}

int RunProgram(std::span<const LayoutRow> layout, std::span<const WiringRow> wiring)
{
    PrepareProcess();

    int code;
    {
        MainWindow window(layout, wiring);
        // The box is shown while the window still exists: destroying it first would post
        // the quit message, which ends a message box at once.
        try {
            if (!window.Load())
                ShowFatalErrorAndExit(LoadFailureText());
        } catch (const RuntimeError& e) {
            // A run-time error in the creation-complete work, outside any window procedure.
            ShowFatalErrorAndExit(FatalErrorText(e.code(), e.what()));
        }
        code = RunMessageLoop(window);
    }
    EndOle();
    return code;
}
