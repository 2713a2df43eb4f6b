// Runs the program with a fault put in on purpose, chosen by the command line:
//   load   a layout whose control cannot be created
//   below  a start-up that reads the catalogue at position 0
//   above  a start-up that reads the catalogue past its end
//   proc   a click on 刷新, inside the window procedure, that reads the catalogue at 0
#include <windows.h>

#include <cstring>
#include <vector>

#include "app/features.h"
#include "app/program.h"
#include "app/wiring.h"
#include "catalogue/font_lists.h"

namespace {

// Clicks 刷新 through the message queue, so that the click arrives in the loop.
void ClickRefresh(MainWindow& window)
{
    PostMessageA(window.按钮_刷新.hwnd(), BM_CLICK, 0, 0);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int)
{
    std::vector<LayoutRow> layout(kMainLayout.begin(), kMainLayout.end());
    Features features;
    if (std::strstr(commandLine, "load")) {
        // 列表框_字体 placed in a group box that comes before it, so does not exist yet.
        layout[Index(Ctl::列表框_字体)].parent = Index(Ctl::分组框_字体样式);
        return RunProgram(layout, MainWiring(features));
    }
    // The catalogue as the program has it before its first enumeration: empty.
    const FontCatalogue& catalogue = features.catalogue;
    const auto readBelow = [&catalogue](MainWindow&) { catalogue.Names().At(0); };
    const auto readAbove = [&catalogue](MainWindow&) { catalogue.Names().At(catalogue.Names().Length() + 1); };
    if (std::strstr(commandLine, "proc")) {
        const std::vector<WiringRow> proc = {{kMainWindow, Event::CreationComplete, &ClickRefresh},
                                             {Index(Ctl::按钮_刷新), Event::Clicked, readBelow}};
        return RunProgram(layout, proc);
    }
    const std::vector<WiringRow> below = {{kMainWindow, Event::CreationComplete, readBelow}};
    const std::vector<WiringRow> above = {{kMainWindow, Event::CreationComplete, readAbove}};
    return RunProgram(layout, std::strstr(commandLine, "below") ? below : above);
}
