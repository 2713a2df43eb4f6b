#include "window/main_window.h"

#include "resource.h"
#include "win/window_class.h"

namespace {

constexpr const char* kWindowClass = "QuillmoorMainWindow";
constexpr UINT kPostedEvent = WM_APP + 1;
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

bool KeyDown(int key)
{
    return (GetKeyState(key) & 0x8000) != 0;
}

}  // namespace

MainWindow::MainWindow(std::span<const LayoutRow> layout, std::span<const WiringRow> wiring)
    : layout_(layout), wiring_(wiring)
{
    Bind(Ctl::时钟_靠, 时钟_靠);
    Bind(Ctl::透明标签2, 透明标签2);
    Bind(Ctl::编辑框_颜色, 编辑框_颜色);
    Bind(Ctl::拖放对象1, 拖放对象1);
    Bind(Ctl::按钮_安装字体, 按钮_安装字体);
    Bind(Ctl::按钮_刷新, 按钮_刷新);
    Bind(Ctl::通用对话框1, 通用对话框1);
    Bind(Ctl::按钮_打开字体, 按钮_打开字体);
    Bind(Ctl::编辑框_安装文字目录, 编辑框_安装文字目录);
    Bind(Ctl::颜色选择器1, 颜色选择器1);
    Bind(Ctl::分组框_字体颜色, 分组框_字体颜色);
    Bind(Ctl::组合框_字体大小, 组合框_字体大小);
    Bind(Ctl::分组框_字体大小, 分组框_字体大小);
    Bind(Ctl::组合框_效果, 组合框_效果);
    Bind(Ctl::组合框_字形, 组合框_字形);
    Bind(Ctl::分组框_字体样式, 分组框_字体样式);
    Bind(Ctl::列表框_字体, 列表框_字体);
    Bind(Ctl::分组框_字体列表, 分组框_字体列表);
    Bind(Ctl::编辑框_输入的文字, 编辑框_输入的文字);
}

void MainWindow::Bind(Ctl slot, Control& member)
{
    Slot& s = slots_[static_cast<std::size_t>(Index(slot))];
    s.control = &member;
    ++s.bindings;
}

bool MainWindow::BindingsMatchLayout() const
{
    if (layout_.size() != slots_.size())
        return false;
    for (std::size_t i = 0; i < slots_.size(); ++i) {
        const Slot& s = slots_[i];
        if (s.bindings != 1 || !s.control || s.control->kind() != layout_[i].kind)
            return false;
        for (std::size_t j = 0; j < i; ++j) {
            if (slots_[j].control == s.control)
                return false;  // one member playing two slots
        }
    }
    return true;
}

MainWindow::~MainWindow()
{
    if (hwnd_)
        DestroyWindow(hwnd_);
}

bool MainWindow::Load()
{
    if (!BindingsMatchLayout())
        return false;
    if (!RegisterClassOnce({.name = kWindowClass,
                            .procedure = &WindowThunk<MainWindow>::Proc,
                            .background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1),
                            .icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_APP))}))
        return false;

    const int width = kMainWindowProperties.width, height = kMainWindowProperties.height;
    const int left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    const int top = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    HWND hwnd = CreateWindowExA(0, kWindowClass, kMainWindowProperties.caption, kWindowStyle, left, top, width, height,
                                nullptr, nullptr, GetModuleHandleA(nullptr), this);
    if (!hwnd)
        return false;
    SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(GuiFont()), FALSE);
    RECT rc;
    GetWindowRect(hwnd_, &rc);
    if (rc.left != left || rc.top != top || rc.right - rc.left != width || rc.bottom - rc.top != height)
        MoveWindow(hwnd_, left, top, width, height, FALSE);

    if (!CreateControls())
        return false;

    Raise(kMainWindow, Event::CreationComplete, {});
    if (!hwnd_)
        return false;

    ShowWindow(hwnd_, SW_SHOW);
    SetForegroundWindow(hwnd_);
    UpdateWindow(hwnd_);
    return true;
}

bool MainWindow::CreateControls()
{
    for (int i = kControlCount - 1; i >= 0; --i) {
        const LayoutRow& row = RowAt(i);
        Control& control = ControlAt(i);
        HWND parent = hwnd_;
        if (row.parent != kMainWindow) {
            // Controls inside a group box are placed in it: the group box must exist already.
            if (row.parent < 0 || row.parent >= kControlCount || RowAt(row.parent).kind != Kind::GroupBox ||
                !ControlAt(row.parent).Exists())
                return false;
            parent = ControlAt(row.parent).hwnd();
        }
        CreateArgs args = row.create;
        args.parent = parent;
        args.id = kFirstControlId + i;
        args.sink = this;
        args.source = i;
        if (!control.Create(args))
            return false;
    }
    // Stacking: within each parent, layout order with the first on top.
    for (int i = 0; i < kControlCount; ++i)
        SetWindowPos(ControlAt(i).hwnd(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    for (int i = 0; i < kControlCount; ++i)
        ShowWindow(ControlAt(i).hwnd(), RowAt(i).visible ? SW_SHOWNA : SW_HIDE);
    return true;
}

std::vector<int> MainWindow::TabOrder() const
{
    std::vector<int> order;
    for (int i = kControlCount - 1; i >= 0; --i) {
        if (RowAt(i).create.tabStop)
            order.push_back(i);
    }
    return order;
}

void MainWindow::MoveFocus(HWND focus)
{
    std::vector<int> order = TabOrder();
    if (order.empty())
        return;
    int current = -1;
    for (std::size_t k = 0; k < order.size(); ++k) {
        HWND h = ControlAt(order[k]).hwnd();
        if (h && (h == focus || IsChild(h, focus))) {
            current = static_cast<int>(k);
            break;
        }
    }
    const int n = static_cast<int>(order.size());
    for (int step = 1; step <= n; ++step) {
        int k = ((current < 0 ? -1 : current) + step) % n;
        HWND h = ControlAt(order[static_cast<std::size_t>(k)]).hwnd();
        if (h && IsWindowVisible(h) && IsWindowEnabled(h)) {
            SetFocus(h);
            return;
        }
    }
}

bool MainWindow::PreTranslate(const MSG& msg)
{
    if (!hwnd_ || msg.message != WM_KEYDOWN || msg.wParam != VK_TAB)
        return false;
    if (msg.hwnd != hwnd_ && !IsChild(hwnd_, msg.hwnd))
        return false;
    // Only the plain key moves the focus; with Shift, Ctrl or Alt it is an ordinary key.
    if (KeyDown(VK_SHIFT) || KeyDown(VK_CONTROL) || KeyDown(VK_MENU))
        return false;
    MoveFocus(GetFocus());
    return true;
}

void MainWindow::Raise(int source, Event event, const std::string& text)
{
    for (const WiringRow& row : wiring_) {
        if (row.source != source || row.event != event)
            continue;
        if (row.handler)
            row.handler(*this);
        if (row.textHandler)
            row.textHandler(*this, text);
    }
}

void MainWindow::SetBusy(bool busy)
{
    busy_ = busy;
    // The pointer changes at once, not at the next move.
    POINT at;
    if (hwnd_ && GetCursorPos(&at) && WindowFromPoint(at) && (WindowFromPoint(at) == hwnd_ || IsChild(hwnd_, WindowFromPoint(at))))
        SetCursor(LoadCursor(nullptr, busy ? IDC_APPSTARTING : IDC_ARROW));
}

void MainWindow::Post(int source, Event event)
{
    if (hwnd_)
        PostMessageA(hwnd_, kPostedEvent, static_cast<WPARAM>(source), static_cast<LPARAM>(event));
}

Control* MainWindow::ControlFromWindow(HWND child, int id)
{
    int index = id - kFirstControlId;
    if (index < 0 || index >= kControlCount || !child)
        return nullptr;
    Control& control = ControlAt(index);
    return control.hwnd() == child ? &control : nullptr;
}

LRESULT MainWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_COMMAND:
        if (Control* control = ControlFromWindow(reinterpret_cast<HWND>(lp), LOWORD(wp))) {
            control->OnCommand(HIWORD(wp));
            return 0;
        }
        break;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN: {
        HWND child = reinterpret_cast<HWND>(lp);
        if (Control* control = ControlFromWindow(child, GetDlgCtrlID(child))) {
            if (HBRUSH brush = control->OnCtlColor(reinterpret_cast<HDC>(wp)))
                return reinterpret_cast<LRESULT>(brush);
        }
        break;
    }
    case kPostedEvent:
        // Any program on the desktop can post to this window: only what the program posts
        // itself, a combo box's item-chosen and a feature's work reports, runs a handler.
        // The work handlers look at the work's own state, so a report nobody made changes
        // nothing.
        if (wp >= static_cast<WPARAM>(kControlCount))
            return 0;
        if (lp == static_cast<LPARAM>(Event::ItemChosen) && ControlAt(static_cast<int>(wp)).kind() == Kind::ComboBox)
            Raise(static_cast<int>(wp), Event::ItemChosen, {});
        if (lp == static_cast<LPARAM>(Event::WorkProgress) || lp == static_cast<LPARAM>(Event::WorkDone))
            Raise(static_cast<int>(wp), static_cast<Event>(lp), {});
        return 0;
    case WM_SETCURSOR:
        // Controls ask their parent first: one pointer over the whole window while busy.
        if (busy_ && LOWORD(lp) == HTCLIENT) {
            SetCursor(LoadCursor(nullptr, IDC_APPSTARTING));
            return TRUE;
        }
        break;
    case WM_ACTIVATE:
        // Keep the keyboard focus on the control that had it, the first in Tab order at first.
        if (LOWORD(wp) == WA_INACTIVE) {
            HWND focus = GetFocus();
            if (focus && IsChild(hwnd_, focus))
                lastFocus_ = focus;
        } else if (!HIWORD(wp)) {
            if (lastFocus_ && IsWindow(lastFocus_) && IsChild(hwnd_, lastFocus_)) {
                SetFocus(lastFocus_);
            } else {
                std::vector<int> order = TabOrder();
                if (!order.empty())
                    SetFocus(ControlAt(order.front()).hwnd());
            }
            return 0;
        }
        break;
    case WM_CLOSE:
        ShowWindow(hwnd_, SW_HIDE);
        DestroyWindow(hwnd_);
        return 0;
    case WM_DESTROY: {
        // The message loop ends whatever the handlers do, an exception included; the quit
        // message comes after them, so that a box they show is not ended by it.
        struct QuitAtEnd {
            ~QuitAtEnd() { PostQuitMessage(0); }
        } quit;
        Raise(kMainWindow, Event::BeingDestroyed, {});
        return 0;
    }
    default:
        break;
    }
    return DefWindowProcA(hwnd_, msg, wp, lp);
}

int RunMessageLoop(MainWindow& window)
{
    MSG msg;
    for (;;) {
        // -1 is a message that could not be received (under Wine, for one a sending
        // program could not pass on, such as megabytes of WM_SETTEXT): that message is
        // lost, the program goes on. Only WM_QUIT ends the loop.
        const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0)
            return static_cast<int>(msg.wParam);
        if (got == -1)
            continue;
        if (window.PreTranslate(msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}
