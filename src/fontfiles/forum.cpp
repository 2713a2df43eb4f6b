#include "fontfiles/forum.h"

#include <shellapi.h>

#include "fontfiles/font_files.h"
#include "win/message_box.h"

ShellExecuteFunction shellExecute = &ShellExecuteA;

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
