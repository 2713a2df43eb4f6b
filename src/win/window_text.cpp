#include "win/window_text.h"

#include <algorithm>

std::string WindowText(HWND hwnd)
{
    const int length = GetWindowTextLengthA(hwnd);
    if (length <= 0)
        return {};
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const int got = GetWindowTextA(hwnd, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(std::max(got, 0)));
    return text;
}

std::string ItemText(HWND box, const ItemMessages& messages, int index)
{
    const int count = static_cast<int>(SendMessageA(box, messages.count, 0, 0));
    if (index < 0 || index >= count)
        return {};
    const LRESULT length = SendMessageA(box, messages.length, static_cast<WPARAM>(index), 0);
    if (length <= 0)
        return {};
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const LRESULT got =
        SendMessageA(box, messages.text, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(std::max<LRESULT>(got, 0)));
    return text;
}
