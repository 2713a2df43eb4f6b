#include "fontfiles/forum.h"

#include <shellapi.h>

#include "fontfiles/font_files.h"
#include "win/message_box.h"
#include "win/system_proc.h"

namespace {

HINSTANCE WINAPI ShellExecuteOnFirstUse(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR folder,
                                        INT show)
{
    auto* execute = SYSTEM_PROC("shell32.dll", ShellExecuteA);
    return execute ? execute(owner, verb, file, parameters, folder, show) : nullptr;
}

}  // namespace

ShellExecuteFunction shellExecute = &ShellExecuteOnFirstUse;

void OpenWebAddress(const std::string& address)
{
    HWND owner = FindWindowExA(nullptr, nullptr, nullptr, "Microsoft Internet Explorer");
    shellExecute(owner, "open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void AnnounceForum(MainWindow&)
{
    ShowMessage("将打开Varnholt论坛", 0, "提示");
    OpenWebAddress(kForumAddress);
}
