#include "win/fatal.h"

#include <windows.h>

void ShowFatalErrorAndExit(const std::string& text)
{
    MessageBoxA(nullptr, text.c_str(), kFatalCaption, MB_OK | MB_ICONERROR | MB_TASKMODAL);
    ExitProcess(static_cast<UINT>(-1));
}
