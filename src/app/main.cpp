#include <windows.h>

#include "app/program.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    return RunProgram(kMainLayout, kMainWiring);
}
