#include "controls/edit_box.h"

#include <cstddef>
#include <cstring>
#include <vector>

#include "controls/context_menu.h"
#include "controls/integer_text.h"
#include "win/window_class.h"
#include "win/window_text.h"

namespace {

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

EditBox::~EditBox()
{
    // The window goes before the font it shows.
    Destroy();
}

bool EditBox::Create(const CreateArgs& args)
{
    textColour_ = args.textColour;
    backColour_ = args.backColour;
    integerInput_ = args.integerInput;
    menu_ = args.menu;
    if (!CreateChild(args, "EDIT", 0, args.height))
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
    brush_.Reset();
    if (hwnd_)
        InvalidateRect(hwnd_, nullptr, TRUE);
}

void EditBox::SetFontDescription(const LOGFONTA& description)
{
    description_ = description;
    ApplyFont();
}

std::string EditBox::FaceName() const
{
    if (description_)
        return description_->lfFaceName;
    LOGFONTA gui;
    if (GetObjectA(GuiFont(), sizeof gui, &gui) != sizeof gui)
        return {};
    return gui.lfFaceName;
}

void EditBox::SetWideFace(const std::string& standIn, const std::u16string& wide)
{
    wideStandIn_ = standIn;
    wideFace_ = wide;
}

void EditBox::ApplyFont()
{
    HFONT made = nullptr;
    if (description_) {
        LOGFONTA request = *description_;
        request.lfCharSet = DEFAULT_CHARSET;
        request.lfOutPrecision = OUT_DEFAULT_PRECIS;
        request.lfClipPrecision = CLIP_DEFAULT_PRECIS;
        request.lfQuality = PROOF_QUALITY;
        request.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
        if (!wideFace_.empty() && wideStandIn_ == request.lfFaceName) {
            LOGFONTW wide = {};
            static_assert(offsetof(LOGFONTA, lfFaceName) == offsetof(LOGFONTW, lfFaceName));
            std::memcpy(&wide, &request, offsetof(LOGFONTA, lfFaceName));
            wide.lfFaceName[wideFace_.copy(reinterpret_cast<char16_t*>(wide.lfFaceName), LF_FACESIZE - 1)] = L'\0';
            made = CreateFontIndirectW(&wide);
        } else {
            made = CreateFontIndirectA(&request);
        }
    }
    const HFONT shown = made ? made : GuiFont();
    if (hwnd_) {
        if (!(GetWindowLongA(hwnd_, GWL_STYLE) & ES_MULTILINE)) {
            // A single-line box grows to fit one full-width character of the new font.
            SIZE extent = {};
            {
                ScopedGetDC dc(hwnd_);
                ScopedSelect font(dc.dc(), shown);
                GetTextExtentPoint32A(dc.dc(), "国", 2, &extent);
            }
            const int needed = extent.cy + 2 * GetSystemMetrics(SM_CYEDGE);
            RECT rc;
            GetWindowRect(hwnd_, &rc);
            if (rc.bottom - rc.top < needed)
                SetWindowPos(hwnd_, nullptr, 0, 0, rc.right - rc.left, needed,
                             SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(shown), TRUE);
    }
    // The box shows the new font now; the old one can go.
    font_.Reset(made);
}

void EditBox::OnCommand(int code)
{
    if (code == EN_CHANGE && !suppressChange_)
        Raise(Event::ContentChanged);
}

HBRUSH EditBox::OnCtlColor(HDC dc)
{
    const COLORREF back = backColour_ == 0xFF000000 ? GetSysColor(COLOR_BTNFACE) : backColour_;
    if (!brush_)
        brush_.Reset(CreateSolidBrush(back));
    SetTextColor(dc, textColour_);
    SetBkColor(dc, back);
    return brush_.get();
}

namespace {

// The standard edit commands, in the desktop's order, by menu id.
enum EditCommand : UINT { kUndo = 1, kCut, kCopy, kPaste, kClear, kSelectAll };

}  // namespace

void EditBox::ShowMenu(LPARAM at)
{
    SetFocus(hwnd_);
    DWORD start = 0, end = 0;
    SendMessageA(hwnd_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    const EditCommands can = EditCommandStates({
        .canUndo = SendMessageA(hwnd_, EM_CANUNDO, 0, 0) != 0,
        .readOnly = (GetWindowLongA(hwnd_, GWL_STYLE) & ES_READONLY) != 0,
        .clipboardHasText = IsClipboardFormatAvailable(CF_TEXT) != 0,
        .selectionStart = start,
        .selectionEnd = end,
        .length = static_cast<unsigned>(GetWindowTextLengthA(hwnd_)),
    });
    const auto state = [](bool enabled) -> UINT { return MF_STRING | (enabled ? MF_ENABLED : MF_GRAYED); };
    ScopedMenu menu;
    AppendMenuA(menu.get(), state(can.undo), kUndo, "撤销(&U)");
    AppendMenuA(menu.get(), MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu.get(), state(can.cut), kCut, "剪切(&T)");
    AppendMenuA(menu.get(), state(can.copy), kCopy, "复制(&C)");
    AppendMenuA(menu.get(), state(can.paste), kPaste, "粘贴(&P)");
    AppendMenuA(menu.get(), state(can.clear), kClear, "删除(&D)");
    AppendMenuA(menu.get(), MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu.get(), state(can.selectAll), kSelectAll, "全选(&A)");
    AppendMenuA(menu.get(), MF_SEPARATOR, 0, nullptr);
    AppendEntries(menu.get(), menu_, true);
    // From the keyboard: at the caret.
    POINT caret = {2, 2};
    GetCaretPos(&caret);
    const UINT chosen = ChooseFromMenu(hwnd_, menu.get(), MenuPoint(hwnd_, at, caret));
    switch (chosen) {
    case kUndo: SendMessageA(hwnd_, WM_UNDO, 0, 0); break;
    case kCut: SendMessageA(hwnd_, WM_CUT, 0, 0); break;
    case kCopy: SendMessageA(hwnd_, WM_COPY, 0, 0); break;
    case kPaste: SendMessageA(hwnd_, WM_PASTE, 0, 0); break;
    case kClear: SendMessageA(hwnd_, WM_CLEAR, 0, 0); break;
    case kSelectAll: SendMessageA(hwnd_, EM_SETSEL, 0, -1); break;
    default:
        if (chosen >= kFirstEntryId && chosen < kFirstEntryId + menu_.size())
            Raise(menu_[chosen - kFirstEntryId].event);
        break;
    }
}

// The keys of the context menu: true when the key was taken.
bool EditBox::HandleMenuKey(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_CONTEXTMENU:
        ShowMenu(lp);
        return true;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
        const KeyPress press = KeyPressOf(msg, wp, lp);
        if (OpensMenu(press)) {
            ShowMenu(-1);
            return true;
        }
        if (const MenuEntry* entry = EntryForKey(menu_, press, true)) {
            swallowChar_ = msg == WM_SYSKEYDOWN;
            Raise(entry->event);
            return true;
        }
        return false;
    }
    case WM_SYSCHAR:
        // The character of an Alt+Enter that ran an entry: no beep, no new line.
        if (swallowChar_ && wp == '\r') {
            swallowChar_ = false;
            return true;
        }
        return false;
    case WM_KEYUP:
        return wp == VK_APPS;  // the menu key opened the menu on its way down
    default:
        return false;
    }
}

LRESULT EditBox::HandleMessage(UINT msg, WPARAM wp, LPARAM lp)
{
    if (!menu_.empty() && HandleMenuKey(msg, wp, lp))
        return 0;
    if (integerInput_) {
        if (msg == WM_CHAR && !IntegerInputAccepts(static_cast<unsigned char>(wp)))
            return 0;
        if (msg == WM_KILLFOCUS)
            NormaliseInteger();
    }
    const LRESULT result = Default(msg, wp, lp);
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
    const std::string current = Text();
    const std::string normalised = NormaliseIntegerText(current);
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
