#include <windows.h>

#include "app/program.h"
#include "app/wiring.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    return RunProgram(kMainLayout, kMainWiring);
}
