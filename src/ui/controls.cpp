#include "ui/controls.h"

#include <algorithm>
#include <vector>

#include "app/fatal_win.h"
#include "ui/scoped.h"
#include "ui/integer_text.h"

namespace {

HFONT GuiFont()
{
    return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

std::string WindowText(HWND hwnd)
{
    int length = GetWindowTextLengthA(hwnd);
    if (length <= 0)
        return {};
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    int got = GetWindowTextA(hwnd, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(std::max(got, 0)));
    return text;
}

// The item text of a list or combo box; empty outside the items.
std::string ItemTextOf(HWND hwnd, UINT lenMsg, UINT textMsg, UINT countMsg, int index)
{
    int count = static_cast<int>(SendMessageA(hwnd, countMsg, 0, 0));
    if (index < 0 || index >= count)
        return {};
    LRESULT length = SendMessageA(hwnd, lenMsg, static_cast<WPARAM>(index), 0);
    if (length <= 0)
        return {};
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    LRESULT got = SendMessageA(hwnd, textMsg, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(std::max<LRESULT>(got, 0)));
    return text;
}

// The visible siblings with a transparent background that lie above the window.
std::vector<HWND> TransparentSiblingsAbove(HWND hwnd)
{
    std::vector<HWND> found;
    for (HWND above = GetWindow(hwnd, GW_HWNDPREV); above; above = GetWindow(above, GW_HWNDPREV)) {
        if ((GetWindowLongA(above, GWL_EXSTYLE) & WS_EX_TRANSPARENT) && IsWindowVisible(above))
            found.push_back(above);
    }
    return found;
}

}  // namespace

// ---------------------------------------------------------------------------- Control

Control::~Control()
{
    if (Exists())
        DestroyWindow(hwnd_);
}

void Control::Destroy()
{
    if (Exists())
        DestroyWindow(hwnd_);
    hwnd_ = nullptr;
}

bool Control::CreateChild(const CreateArgs& args, const char* className, DWORD style, DWORD exStyle, int height)
{
    const LayoutRow& row = *args.row;
    sink_ = args.sink;
    source_ = args.source;
    DWORD fullStyle = WS_CHILD | style | row.style | (row.tabStop ? WS_TABSTOP : 0);
    hwnd_ = CreateWindowExA(exStyle | row.exStyle, className, row.caption, fullStyle, row.left, row.top, row.width,
                            height, args.parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(args.id)),
                            GetModuleHandleA(nullptr), nullptr);
    if (!hwnd_)
        return false;
    // Subclassed through the window's own slots: the comctl32 helpers look the control up
    // in a window property on every message, which costs a server round trip under Wine.
    SetWindowLongPtrA(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    platformProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Control::SubclassProc)));
    SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(GuiFont()), FALSE);
    return true;
}

LRESULT CALLBACK Control::SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    auto* self = reinterpret_cast<Control*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!self)
        return DefWindowProcA(hwnd, msg, wp, lp);
    if (msg == WM_NCDESTROY) {
        WNDPROC platform = self->platformProc_;
        SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(platform));
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        return CallWindowProcA(platform, hwnd, msg, wp, lp);
    }
    return Guarded([&] { return self->HandleMessage(msg, wp, lp); }, LRESULT{0});
}

LRESULT Control::HandleMessage(UINT msg, WPARAM wp, LPARAM lp)
{
    return Default(msg, wp, lp);
}

LRESULT Control::Default(UINT msg, WPARAM wp, LPARAM lp)
{
    return platformProc_ ? CallWindowProcA(platformProc_, hwnd_, msg, wp, lp) : DefWindowProcA(hwnd_, msg, wp, lp);
}

void Control::Raise(Event event, const std::string& text)
{
    if (sink_)
        sink_->Raise(source_, event, text);
}

void Control::PostEvent(Event event)
{
    if (sink_)
        sink_->Post(source_, event);
}

// ---------------------------------------------------------------------- CustomControl

bool CustomControl::RegisterClassOnce(const char* className, HCURSOR cursor)
{
    WNDCLASSA existing;
    if (GetClassInfoA(GetModuleHandleA(nullptr), className, &existing))
        return true;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = &WindowThunk<CustomControl>::Proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = cursor;
    wc.lpszClassName = className;
    return RegisterClassA(&wc) != 0;
}

LRESULT CustomControl::HandleMessage(UINT msg, WPARAM wp, LPARAM lp)
{
    return DefWindowProcA(hwnd_, msg, wp, lp);
}

bool CustomControl::CreateCustom(const CreateArgs& args, const char* className, DWORD style)
{
    const LayoutRow& row = *args.row;
    sink_ = args.sink;
    source_ = args.source;
    if (!RegisterClassOnce(className, LoadCursorA(nullptr, MAKEINTRESOURCEA(32512))))
        return false;
    DWORD fullStyle = WS_CHILD | style | row.style | (row.tabStop ? WS_TABSTOP : 0);
    HWND hwnd = CreateWindowExA(row.exStyle, className, row.caption, fullStyle, row.left, row.top, row.width,
                                row.height, args.parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(args.id)),
                                GetModuleHandleA(nullptr), this);
    return hwnd != nullptr;
}

// ---------------------------------------------------------------------------- EditBox

EditBox::~EditBox()
{
    Destroy();
    if (font_)
        DeleteObject(font_);
    if (brush_)
        DeleteObject(brush_);
}

bool EditBox::Create(const CreateArgs& args)
{
    textColour_ = args.row->textColour;
    backColour_ = args.row->backColour;
    integerInput_ = args.row->integerInput;
    if (!CreateChild(args, "EDIT", 0, 0, args.row->height))
        return false;
    // The platform's default limit is small; the boxes take text of any length.
    SendMessageA(hwnd_, EM_LIMITTEXT, 0, 0);
    ApplyFont();
    return true;
}

std::string EditBox::Text() const
{
    return hwnd_ ? WindowText(hwnd_) : std::string();
}

void EditBox::SetText(const std::string& text)
{
    if (hwnd_) {
        suppressChange_ = true;
        SetWindowTextA(hwnd_, text.c_str());
        suppressChange_ = false;
    }
    Raise(Event::ContentChanged);
}

void EditBox::SetTextColour(COLORREF colour)
{
    textColour_ = colour;
    if (hwnd_)
        InvalidateRect(hwnd_, nullptr, TRUE);
}

void EditBox::SetBackColour(COLORREF colour)
{
    backColour_ = colour;
    if (brush_) {
        DeleteObject(brush_);
        brush_ = nullptr;
    }
    if (hwnd_)
        InvalidateRect(hwnd_, nullptr, TRUE);
}

void EditBox::SetFontDescription(const LOGFONTA& description)
{
    description_ = description;
    ApplyFont();
}

void EditBox::ApplyFont()
{
    HFONT old = font_;
    font_ = nullptr;
    if (description_) {
        LOGFONTA request = *description_;
        request.lfCharSet = DEFAULT_CHARSET;
        request.lfOutPrecision = OUT_DEFAULT_PRECIS;
        request.lfClipPrecision = CLIP_DEFAULT_PRECIS;
        request.lfQuality = PROOF_QUALITY;
        request.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
        font_ = CreateFontIndirectA(&request);
    }
    HFONT shown = font_ ? font_ : GuiFont();
    if (hwnd_) {
        if (!(GetWindowLongA(hwnd_, GWL_STYLE) & ES_MULTILINE)) {
            // A single-line box grows to fit one full-width character of the new font.
            HDC dc = GetDC(hwnd_);
            SIZE extent = {};
            {
                ScopedSelect font(dc, shown);
                GetTextExtentPoint32A(dc, "国", 2, &extent);
            }
            ReleaseDC(hwnd_, dc);
            int needed = extent.cy + 2 * GetSystemMetrics(SM_CYEDGE);
            RECT rc;
            GetWindowRect(hwnd_, &rc);
            if (rc.bottom - rc.top < needed)
                SetWindowPos(hwnd_, nullptr, 0, 0, rc.right - rc.left, needed,
                             SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(shown), TRUE);
    }
    if (old)
        DeleteObject(old);
}

void EditBox::OnCommand(int code)
{
    if (code == EN_CHANGE && !suppressChange_)
        Raise(Event::ContentChanged);
}

HBRUSH EditBox::OnCtlColor(HDC dc)
{
    COLORREF back = backColour_ == 0xFF000000 ? GetSysColor(COLOR_BTNFACE) : backColour_;
    if (!brush_)
        brush_ = CreateSolidBrush(back);
    SetTextColor(dc, textColour_);
    SetBkColor(dc, back);
    return brush_;
}

LRESULT EditBox::HandleMessage(UINT msg, WPARAM wp, LPARAM lp)
{
    if (integerInput_) {
        if (msg == WM_CHAR && !IntegerInputAccepts(static_cast<unsigned char>(wp)))
            return 0;
        if (msg == WM_KILLFOCUS)
            NormaliseInteger();
    }
    LRESULT result = Default(msg, wp, lp);
    if (!hwnd_)
        return result;
    switch (msg) {
    case WM_PAINT:
        // A transparent sibling above (the hint label) is drawn over what the box painted.
        for (HWND above : TransparentSiblingsAbove(hwnd_))
            RedrawWindow(above, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        break;
    case WM_CHAR:
    case WM_KEYDOWN:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_SETTEXT:
    case WM_LBUTTONDOWN:
    case WM_MOUSEMOVE:
    case WM_PASTE:
    case WM_CUT:
    case WM_CLEAR:
    case WM_UNDO:
    case EM_SETSEL:
        // The box draws these changes straight away, over any label above it: repaint
        // so that the label comes back on top.
        if ((msg != WM_MOUSEMOVE || (wp & MK_LBUTTON)) && !TransparentSiblingsAbove(hwnd_).empty())
            InvalidateRect(hwnd_, nullptr, FALSE);
        break;
    default:
        break;
    }
    return result;
}

void EditBox::NormaliseInteger()
{
    std::string current = Text();
    std::string normalised = NormaliseIntegerText(current);
    if (normalised == current)
        return;
    DWORD start = 0;
    SendMessageA(hwnd_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
    SetText(normalised);
    if (hwnd_) {
        SendMessageA(hwnd_, EM_SETSEL, start, start);
        SendMessageA(hwnd_, EM_SCROLLCARET, 0, 0);
    }
}

// --------------------------------------------------------------------------- GroupBox

bool GroupBox::Create(const CreateArgs& args)
{
    return CreateChild(args, "BUTTON", BS_GROUPBOX | BS_LEFT, 0, args.row->height);
}

LRESULT GroupBox::HandleMessage(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
        // The controls placed in a group box report to it; their notifications belong
        // to the window that owns the group box.
        return SendMessageA(GetParent(hwnd_), msg, wp, lp);
    default:
        return Default(msg, wp, lp);
    }
}

// ----------------------------------------------------------------------------- Button

bool Button::Create(const CreateArgs& args)
{
    return CreateChild(args, "BUTTON", BS_PUSHBUTTON | BS_CENTER | BS_VCENTER, 0, args.row->height);
}

void Button::OnCommand(int code)
{
    if (code == BN_CLICKED)
        Raise(Event::Clicked);
}

// --------------------------------------------------------------------------- ComboBox

bool ComboBox::Create(const CreateArgs& args)
{
    const LayoutRow& row = *args.row;
    // A drop-down combo box's height includes its list; the field keeps the font's height.
    DWORD type = row.style & 3;
    int height = (type == CBS_DROPDOWN || type == CBS_DROPDOWNLIST) ? std::max(row.height, 160) : row.height;
    if (!CreateChild(args, "COMBOBOX", WS_VSCROLL, 0, height))
        return false;
    LRESULT itemHeight = SendMessageA(hwnd_, CB_GETITEMHEIGHT, 0, 0);
    if (itemHeight > 0)
        SendMessageA(hwnd_, CB_SETITEMHEIGHT, 0, itemHeight + 1);
    // The new font and item height may have shortened the dropped list: ask again.
    SetWindowPos(hwnd_, nullptr, 0, 0, row.width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    for (const char* item : row.items)
        Add(item);
    if (row.selected >= 0)
        SetSelected(row.selected);
    return true;
}

int ComboBox::Count() const
{
    return static_cast<int>(SendMessageA(hwnd_, CB_GETCOUNT, 0, 0));
}

int ComboBox::Selected() const
{
    return static_cast<int>(SendMessageA(hwnd_, CB_GETCURSEL, 0, 0));
}

void ComboBox::SetSelected(int index)
{
    SendMessageA(hwnd_, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

std::string ComboBox::ItemText(int index) const
{
    return ItemTextOf(hwnd_, CB_GETLBTEXTLEN, CB_GETLBTEXT, CB_GETCOUNT, index);
}

int ComboBox::Add(const std::string& text)
{
    LRESULT index = SendMessageA(hwnd_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    if (index < 0)
        return -1;
    SendMessageA(hwnd_, CB_SETITEMDATA, static_cast<WPARAM>(index), 0);
    return static_cast<int>(index);
}

std::string ComboBox::Text() const
{
    return WindowText(hwnd_);
}

void ComboBox::OnCommand(int code)
{
    if (code == CBN_SELENDOK)
        PostEvent(Event::ItemChosen);  // the box updates its selection and field after this
    else if (code == CBN_EDITCHANGE)
        Raise(Event::EditTextChanged);
}

// ---------------------------------------------------------------------------- ListBox

bool ListBox::Create(const CreateArgs& args)
{
    if (!CreateChild(args, "LISTBOX", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL, 0, args.row->height))
        return false;
    LRESULT itemHeight = SendMessageA(hwnd_, LB_GETITEMHEIGHT, 0, 0);
    if (itemHeight > 0)
        SendMessageA(hwnd_, LB_SETITEMHEIGHT, 0, itemHeight + 1);
    return true;
}

int ListBox::Count() const
{
    return static_cast<int>(SendMessageA(hwnd_, LB_GETCOUNT, 0, 0));
}

int ListBox::Selected() const
{
    return static_cast<int>(SendMessageA(hwnd_, LB_GETCURSEL, 0, 0));
}

void ListBox::SetSelected(int index)
{
    SendMessageA(hwnd_, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

std::string ListBox::ItemText(int index) const
{
    return ItemTextOf(hwnd_, LB_GETTEXTLEN, LB_GETTEXT, LB_GETCOUNT, index);
}

int ListBox::Add(const std::string& text)
{
    LRESULT index = SendMessageA(hwnd_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    if (index < 0)
        return -1;
    SendMessageA(hwnd_, LB_SETITEMDATA, static_cast<WPARAM>(index), 0);
    return static_cast<int>(index);
}

void ListBox::Clear()
{
    SendMessageA(hwnd_, LB_RESETCONTENT, 0, 0);
}

int ListBox::FindExact(const std::string& text) const
{
    // LB_FINDSTRINGEXACT ignores case; the program's names compare byte for byte.
    int count = Count();
    for (int i = 0; i < count; ++i) {
        if (ItemText(i) == text)
            return i;
    }
    return -1;
}

void ListBox::OnCommand(int code)
{
    if (code == LBN_SELCHANGE)
        Raise(Event::SelectionChanged);
}

// ------------------------------------------------------------------------- TransLabel

TransLabel::~TransLabel()
{
    Destroy();
}

bool TransLabel::Create(const CreateArgs& args)
{
    caption_ = args.row->caption;
    textColour_ = args.row->textColour;
    if (!CreateCustom(args, "QuillmoorTransLabel", 0))
        return false;
    SetWindowLongA(hwnd_, GWL_EXSTYLE, GetWindowLongA(hwnd_, GWL_EXSTYLE) | WS_EX_TRANSPARENT);
    return true;
}

LRESULT TransLabel::HandleMessage(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_ERASEBKGND:
        return 1;  // transparent: what lies beneath shows through
    case WM_PAINT: {
        ScopedPaint paint(hwnd_);
        RECT rc;
        GetClientRect(hwnd_, &rc);
        ScopedSelect font(paint.dc(), GuiFont());
        SetBkMode(paint.dc(), TRANSPARENT);
        SetTextColor(paint.dc(), textColour_);
        DrawTextA(paint.dc(), caption_.c_str(), -1, &rc, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        return 0;
    }
    case WM_LBUTTONDOWN:
        Raise(Event::LeftButtonPressed);
        return 0;
    default:
        return DefWindowProcA(hwnd_, msg, wp, lp);
    }
}

// ------------------------------------------------------------------ InvisibleControl

bool InvisibleControl::Create(const CreateArgs& args)
{
    return CreateCustom(args, "QuillmoorInvisible", 0);
}

bool Timer::Create(const CreateArgs& args)
{
    interval_ = args.row->interval;
    if (!InvisibleControl::Create(args))
        return false;
    if (interval_ > 0)
        SetTimer(hwnd_, 1, interval_, nullptr);
    return true;
}

LRESULT Timer::HandleMessage(UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_TIMER) {
        Raise(Event::Tick);
        return 0;
    }
    if (msg == WM_DESTROY)
        KillTimer(hwnd_, 1);
    return DefWindowProcA(hwnd_, msg, wp, lp);
}
