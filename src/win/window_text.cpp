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

int ItemCount(HWND box, const ItemMessages& messages)
{
    return static_cast<int>(SendMessageA(box, messages.count, 0, 0));
}

int SelectedItem(HWND box, const ItemMessages& messages)
{
    return static_cast<int>(SendMessageA(box, messages.selected, 0, 0));
}

void SelectItem(HWND box, const ItemMessages& messages, int index)
{
    SendMessageA(box, messages.select, static_cast<WPARAM>(index), 0);
}

int AddItem(HWND box, const ItemMessages& messages, const std::string& text)
{
    const LRESULT index = SendMessageA(box, messages.add, 0, reinterpret_cast<LPARAM>(text.c_str()));
    if (index < 0)
        return -1;
    SendMessageA(box, messages.setData, static_cast<WPARAM>(index), 0);
    return static_cast<int>(index);
}

std::u16string WideText(const std::string& ansi)
{
    const int length = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
    std::u16string wide(static_cast<std::size_t>(std::max(length, 0)), u'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), reinterpret_cast<wchar_t*>(wide.data()),
                        length);
    return wide;
}

std::string AnsiText(const wchar_t* wide)
{
    const int length = WideCharToMultiByte(CP_ACP, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    if (length <= 1)
        return {};
    std::string ansi(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide, -1, ansi.data(), length, nullptr, nullptr);
    ansi.resize(static_cast<std::size_t>(length) - 1);
    return ansi;
}
