#include "controls/text_window.h"

#include <memory>
#include <mutex>
#include <thread>

#include "win/fatal.h"
#include "win/placement.h"
#include "win/window_class.h"

namespace {

constexpr int kClientWidth = 480, kClientHeight = 440, kMargin = 8;
constexpr int kButtonWidth = 88, kButtonHeight = 24;
constexpr int kEditId = 1, kCloseId = IDCANCEL;
constexpr UINT kLaterTextReady = WM_APP + 1;

// What the window and the work for its later text share: the work may end after the
// window is gone.
struct Shared {
    std::mutex lock;
    HWND window = nullptr;  // null once the window is gone
    std::u16string text;
};

struct State {
    HWND owner = nullptr;
    HWND edit = nullptr, close = nullptr;
    std::shared_ptr<Shared> shared;
};

const wchar_t* Wide(const std::u16string& text)
{
    return reinterpret_cast<const wchar_t*>(text.c_str());
}

void Close(HWND window)
{
    auto* state = reinterpret_cast<State*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    // The owner is enabled before the window goes, so that it becomes the active window.
    if (state && state->owner)
        EnableWindow(state->owner, TRUE);
    DestroyWindow(window);
}

LRESULT HandleMessage(HWND window, UINT msg, WPARAM wp, LPARAM lp)
{
    auto* state = reinterpret_cast<State*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (msg) {
    case WM_COMMAND:
        if (LOWORD(wp) == kCloseId) {
            Close(window);
            return 0;
        }
        break;
    case WM_CLOSE:
        Close(window);
        return 0;
    case WM_CTLCOLORSTATIC:
        // The read-only box keeps a white page, as a text to read.
        if (state && reinterpret_cast<HWND>(lp) == state->edit) {
            SetBkColor(reinterpret_cast<HDC>(wp), GetSysColor(COLOR_WINDOW));
            SetTextColor(reinterpret_cast<HDC>(wp), GetSysColor(COLOR_WINDOWTEXT));
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
        }
        break;
    case kLaterTextReady:
        if (state && state->shared) {
            std::u16string text;
            {
                std::lock_guard<std::mutex> hold(state->shared->lock);
                text = state->shared->text;
            }
            // The reader keeps the place they read at.
            const LRESULT first = SendMessageW(state->edit, EM_GETFIRSTVISIBLELINE, 0, 0);
            SetWindowTextW(state->edit, Wide(text));
            SendMessageW(state->edit, EM_LINESCROLL, 0, first);
        }
        return 0;
    case WM_DESTROY:
        if (state && state->shared) {
            std::lock_guard<std::mutex> hold(state->shared->lock);
            state->shared->window = nullptr;
        }
        break;
    case WM_NCDESTROY:
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        delete state;
        break;
    default:
        break;
    }
    return DefWindowProcW(window, msg, wp, lp);
}

LRESULT CALLBACK Procedure(HWND window, UINT msg, WPARAM wp, LPARAM lp)
{
    return Guarded([&] { return HandleMessage(window, msg, wp, lp); }, LRESULT{0});
}

bool RegisterOnce()
{
    WNDCLASSEXW info = {};
    info.cbSize = sizeof info;
    if (GetClassInfoExW(GetModuleHandleW(nullptr), kTextWindowClass, &info))
        return true;
    info.lpfnWndProc = &Procedure;
    info.hInstance = GetModuleHandleW(nullptr);
    info.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    info.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    info.lpszClassName = kTextWindowClass;
    return RegisterClassExW(&info) != 0;
}

// Esc, Enter and Tab in the window: true when the key was taken.
bool TakeKey(HWND window, const State& state, const MSG& msg)
{
    if (msg.message != WM_KEYDOWN || (msg.hwnd != window && !IsChild(window, msg.hwnd)))
        return false;
    switch (msg.wParam) {
    case VK_ESCAPE:
    case VK_RETURN:
        Close(window);
        return true;
    case VK_TAB:
        SetFocus(GetFocus() == state.edit ? state.close : state.edit);
        return true;
    default:
        return false;
    }
}

}  // namespace

void ShowTextWindow(HWND owner, const std::u16string& caption, const std::u16string& text,
                    std::function<std::u16string()> later)
{
    if (!RegisterOnce())
        return;
    constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    RECT frame = {0, 0, kClientWidth, kClientHeight};
    AdjustWindowRectEx(&frame, kStyle, FALSE, WS_EX_DLGMODALFRAME);
    const HWND window = CreateWindowExW(WS_EX_DLGMODALFRAME, kTextWindowClass, Wide(caption), kStyle, 0, 0,
                                        frame.right - frame.left, frame.bottom - frame.top, owner, nullptr,
                                        GetModuleHandleW(nullptr), nullptr);
    if (!window)
        return;
    auto* state = new State;
    state->owner = owner;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state));
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    const int buttonTop = kClientHeight - kMargin - kButtonHeight;
    // Created empty and given its font first: an edit box lays its text out again for a
    // new font, which takes seconds for a long text.
    state->edit = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                                  WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_READONLY |
                                      ES_AUTOVSCROLL | ES_NOHIDESEL,
                                  kMargin, kMargin, kClientWidth - 2 * kMargin, buttonTop - 2 * kMargin, window,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(kEditId)), instance, nullptr);
    state->close = CreateWindowExW(0, L"BUTTON", L"关闭", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON,
                                   kClientWidth - kMargin - kButtonWidth, buttonTop, kButtonWidth, kButtonHeight,
                                   window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kCloseId)), instance, nullptr);
    for (HWND child : {state->edit, state->close})
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(GuiFont()), FALSE);
    SendMessageW(state->edit, EM_LIMITTEXT, 0, 0);
    SetWindowTextW(state->edit, Wide(text));

    if (later) {
        state->shared = std::make_shared<Shared>();
        state->shared->window = window;
        std::thread([shared = state->shared, later = std::move(later)] {
            std::u16string text = later();
            std::lock_guard<std::mutex> hold(shared->lock);
            shared->text = std::move(text);
            if (shared->window)
                PostMessageW(shared->window, kLaterTextReady, 0, 0);
        }).detach();
    }

    CentreOnOwnerInsideWorkArea(window, owner);
    if (owner)
        EnableWindow(owner, FALSE);
    ShowWindow(window, SW_SHOW);
    SetFocus(state->edit);
    SendMessageW(state->edit, EM_SETSEL, 0, 0);

    // The window's own loop, as a modal dialog has: the owner's other messages (its timer)
    // go on meanwhile.
    MSG msg;
    while (IsWindow(window)) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            // The program is ending: the window goes, and the loop that waits for the
            // quit message gets it.
            if (IsWindow(window))
                Close(window);
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (got == -1)
            continue;
        if (IsWindow(window) && TakeKey(window, *reinterpret_cast<State*>(GetWindowLongPtrW(window, GWLP_USERDATA)), msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    if (owner)
        EnableWindow(owner, TRUE);
}
