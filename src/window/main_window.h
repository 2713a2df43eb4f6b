#pragma once
#include <windows.h>

#include <array>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "controls/button.h"
#include "controls/color_picker.h"
#include "controls/combo_box.h"
#include "controls/common_dialog.h"
#include "controls/drop_target.h"
#include "controls/edit_box.h"
#include "controls/group_box.h"
#include "controls/list_box.h"
#include "controls/timer.h"
#include "controls/trans_label.h"
#include "window/layout.h"

class MainWindow;

// A row of the wiring table: which handler runs for which event of which control
// (or of the main window, kMainWindow). Drop events carry a text; the others none.
// Several rows for one event run in table order. A handler may be bound to the feature
// whose state it acts on.
struct WiringRow {
    int source;
    Event event;
    std::function<void(MainWindow&)> handler = nullptr;
    std::function<void(MainWindow&, const std::string&)> textHandler = nullptr;
};

// The program's only window: its controls, as named members, and the dispatch of
// their events to the wiring table's handlers.
class MainWindow final : public EventSink {
public:
    MainWindow(std::span<const LayoutRow> layout, std::span<const WiringRow> wiring);
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;
    ~MainWindow();

    // Creates the window hidden, then its controls from the last in layout order to the
    // first, arranges their stacking and visibility, raises creation-complete and shows
    // the window centred. False when the window or a control cannot be made, or when the
    // layout's slots and the members bound to them do not match one for one.
    bool Load();

    HWND hwnd() const { return hwnd_; }
    bool Exists() const { return hwnd_ != nullptr; }
    Control& ControlAt(int index) { return *slots_[static_cast<std::size_t>(index)].control; }
    Control& ControlAt(Ctl c) { return ControlAt(Index(c)); }
    const LayoutRow& RowAt(int index) const { return layout_[static_cast<std::size_t>(index)]; }
    // The focusable controls in Tab order: the tab stops, last in layout order first.
    std::vector<int> TabOrder() const;

    // Keyboard handling before a key reaches the focused control. True when consumed.
    bool PreTranslate(const MSG& msg);

    void Raise(int source, Event event, const std::string& text) override;
    // Thread-safe: work off the window's thread posts its progress and its end this way.
    void Post(int source, Event event) override;

    // While busy, the pointer over the window shows that work goes on in the background
    // (the window still answers).
    void SetBusy(bool busy);

    Timer 时钟_靠;
    TransLabel 透明标签2;
    EditBox 编辑框_颜色;
    DropTarget 拖放对象1;
    Button 按钮_安装字体;
    Button 按钮_刷新;
    CommonDlg 通用对话框1;
    Button 按钮_打开字体;
    EditBox 编辑框_安装文字目录;
    ColorPicker 颜色选择器1;
    GroupBox 分组框_字体颜色;
    ComboBox 组合框_字体大小;
    GroupBox 分组框_字体大小;
    ComboBox 组合框_效果;
    ComboBox 组合框_字形;
    GroupBox 分组框_字体样式;
    ListBox 列表框_字体;
    GroupBox 分组框_字体列表;
    EditBox 编辑框_输入的文字;

    static constexpr int kFirstControlId = 100;

private:
    friend struct WindowThunk<MainWindow>;
    struct Slot {
        Control* control = nullptr;  // a member above, not owned
        int bindings = 0;            // how often a member was bound here: must be 1
    };
    // Binds a layout slot to the member that plays it.
    void Bind(Ctl slot, Control& member);
    bool BindingsMatchLayout() const;
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
    Control* ControlFromWindow(HWND child, int id);
    bool CreateControls();
    void MoveFocus(HWND focus);

    std::span<const LayoutRow> layout_;
    std::span<const WiringRow> wiring_;
    std::array<Slot, kControlCount> slots_ = {};
    HWND hwnd_ = nullptr;
    HWND lastFocus_ = nullptr;
    bool busy_ = false;
};

// Runs the message loop until the main window is gone; returns the quit code.
int RunMessageLoop(MainWindow& window);
