#include <windows.h>

#include "app/program.h"
#include "app/wiring.h"
#include "base/command_line.h"
#include "win/font_trial.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int)
{
    // Started by the program itself to try a font file: no window, no OLE, only the trial.
    if (const std::optional<std::string> path = SwitchArgument(commandLine, kFontTrialSwitch))
        return RunFontTrial(*path);
    return RunProgram(kMainLayout, kMainWiring);
}
