// Stands in for the program as the child of a font trial, and fails as such a child may,
// as QUILLMOOR_STAND_IN says: "fault" (an access violation), "hang" (until it is killed),
// or "refuse" (ends with a failure code).
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
    if (lstrcmpA(mode, "fault") == 0)
        *static_cast<volatile int*>(nullptr) = 1;
    return 1;
}
