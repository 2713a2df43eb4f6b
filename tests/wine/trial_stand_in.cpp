// Stands in for the program as the child of a font trial, and fails as such a child may,
// as QUILLMOOR_STAND_IN says: "fault" (an access violation), "hang" (until it is killed),
// or "refuse" (ends with a failure code). With "count" it finds every file sound, each after
// half a second, and adds a line to the file QUILLMOOR_COUNT_FILE names for each request.
// With "replace" it finds every file sound, after
// writing another file (QUILLMOOR_REPLACE_WITH) over the one being installed
// (QUILLMOOR_REPLACE_TARGET): a file that changes between its reading and its copying.
#include <windows.h>

namespace {

LONG WINAPI EndOnFault(EXCEPTION_POINTERS*)
{
    TerminateProcess(GetCurrentProcess(), 7);
    return EXCEPTION_EXECUTE_HANDLER;
}

}  // namespace

int main()
{
    // As the product's child does: a fault ends the process at once, with no debugger.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    SetUnhandledExceptionFilter(&EndOnFault);
    char mode[16] = {};
    GetEnvironmentVariableA("QUILLMOOR_STAND_IN", mode, sizeof mode);
    if (lstrcmpA(mode, "hang") == 0)
        Sleep(INFINITE);
    if (lstrcmpA(mode, "replace") == 0) {
        char target[MAX_PATH] = {}, with[MAX_PATH] = {};
        GetEnvironmentVariableA("QUILLMOOR_REPLACE_TARGET", target, MAX_PATH);
        GetEnvironmentVariableA("QUILLMOOR_REPLACE_WITH", with, MAX_PATH);
        if (!CopyFileA(with, target, FALSE))
            return 1;
        // Then answers every request the program sends as a sound font, until it is done.
        HANDLE in = GetStdHandle(STD_INPUT_HANDLE), out = GetStdHandle(STD_OUTPUT_HANDLE);
        char c = 0;
        DWORD done = 0;
        while (ReadFile(in, &c, 1, &done, nullptr) && done == 1) {
            const char sound = 0;
            if (c == '\n' && !WriteFile(out, &sound, 1, &done, nullptr))
                break;
        }
        return 0;
    }
    if (lstrcmpA(mode, "count") == 0) {
        char log[MAX_PATH] = {};
        GetEnvironmentVariableA("QUILLMOOR_COUNT_FILE", log, MAX_PATH);
        HANDLE in = GetStdHandle(STD_INPUT_HANDLE), out = GetStdHandle(STD_OUTPUT_HANDLE);
        char c = 0;
        DWORD done = 0;
        while (ReadFile(in, &c, 1, &done, nullptr) && done == 1) {
            if (c != '\n')
                continue;
            HANDLE file = CreateFileA(log, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
            WriteFile(file, "tried\n", 6, &done, nullptr);
            CloseHandle(file);
            Sleep(500);
            const char sound = 0;
            if (!WriteFile(out, &sound, 1, &done, nullptr))
                break;
        }
        return 0;
    }
    if (lstrcmpA(mode, "fault") == 0)
        *static_cast<volatile int*>(nullptr) = 1;
    return 1;
}
