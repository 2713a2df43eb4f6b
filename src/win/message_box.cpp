#include "win/message_box.h"

#include <windows.h>

int ShowMessage(const std::string& text, unsigned style, const char* caption)
{
    if (!(style & MB_SYSTEMMODAL))
        style |= MB_TASKMODAL;
    const int answer = MessageBoxA(nullptr, text.c_str(), caption ? caption : "信息：", style);
    switch (answer) {
    case IDCANCEL:
        return 1;
    case IDABORT:
        return 2;
    case IDRETRY:
        return 3;
    case IDIGNORE:
        return 4;
    case IDYES:
        return 5;
    case IDNO:
        return 6;
    default:
        return 0;
    }
}
