#include <windows.h>

#include "app/features.h"
#include "app/program.h"
#include "app/wiring.h"
#include "base/command_line.h"
#include "fontcheck/font_trial.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int)
{
    // Started by the program itself to try a font file: no window, no OLE, only the trial.
    if (const std::optional<std::string> path = SwitchArgument(commandLine, kFontTrialSwitch))
        return RunFontTrial(*path);
    Features features;
    // "Open with": one font file, previewed from the start. Anything else is ignored.
    if (const std::optional<std::string> path = PathArgument(commandLine))
        features.startFile = FullPath(*path);
    const std::vector<WiringRow> wiring = MainWiring(features);
    return RunProgram(kMainLayout, wiring);
}
