// Runs the program with a fault put in on purpose, chosen by the command line:
//   load   a layout whose control cannot be created
//   below  a start-up that reads the catalogue at position 0
//   above  a start-up that reads the catalogue past its end
//   proc   a click on 刷新, inside the window procedure, that reads the catalogue at 0
#include <windows.h>

#include <array>
#include <cstring>
#include <vector>

#include "app/program.h"
#include "app/wiring.h"
#include "catalogue/font_lists.h"

namespace {

void ReadBelow(MainWindow&)
{
    InstalledFontNames->At(0);
}

void ReadAbove(MainWindow&)
{
    InstalledFontNames->At(InstalledFontNames->Length() + 1);
}

// Clicks 刷新 through the message queue, so that the click arrives in the loop.
void ClickRefresh(MainWindow& window)
{
    PostMessageA(window.按钮_刷新.hwnd(), BM_CLICK, 0, 0);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int)
{
    std::vector<LayoutRow> layout(kMainLayout.begin(), kMainLayout.end());
    if (std::strstr(commandLine, "load")) {
        // 列表框_字体 placed in a group box that comes before it, so does not exist yet.
        layout[Index(Ctl::列表框_字体)].parent = Index(Ctl::分组框_字体样式);
        return RunProgram(layout, kMainWiring);
    }
    if (std::strstr(commandLine, "proc")) {
        static const std::array<WiringRow, 2> proc = {{{kMainWindow, Event::CreationComplete, &ClickRefresh},
                                                      {Index(Ctl::按钮_刷新), Event::Clicked, &ReadBelow}}};
        return RunProgram(layout, proc);
    }
    static const std::array<WiringRow, 1> below = {{{kMainWindow, Event::CreationComplete, &ReadBelow}}};
    static const std::array<WiringRow, 1> above = {{{kMainWindow, Event::CreationComplete, &ReadAbove}}};
    return RunProgram(layout, std::strstr(commandLine, "below") ? std::span<const WiringRow>(below)
                                                                : std::span<const WiringRow>(above));
}
