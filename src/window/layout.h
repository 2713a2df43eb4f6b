#pragma once
#include <windows.h>

#include <span>

#include "controls/control.h"

// The controls of the main window, in layout order. The order is also the
// stacking order (the first on top); creation walks it backwards.
enum class Ctl : int {
    时钟_靠,
    透明标签2,
    编辑框_颜色,
    拖放对象1,
    按钮_安装字体,
    按钮_刷新,
    通用对话框1,
    按钮_打开字体,
    编辑框_安装文字目录,
    颜色选择器1,
    分组框_字体颜色,
    组合框_字体大小,
    分组框_字体大小,
    组合框_效果,
    组合框_字形,
    分组框_字体样式,
    列表框_字体,
    分组框_字体列表,
    编辑框_输入的文字,
    Count,
};
inline constexpr int kControlCount = static_cast<int>(Ctl::Count);
// Stands for the main window itself where a row names a parent or an event source.
inline constexpr int kMainWindow = -1;

// A control's position in the layout, as rows and events name it.
inline constexpr int Index(Ctl c)
{
    return static_cast<int>(c);
}

// A row of the layout: the control's name and kind, where it lives, whether it is shown,
// and what it is created with (the parent, id and sink there are filled in at load).
struct LayoutRow {
    const char* name = "";
    Kind kind = Kind::Button;
    int parent = kMainWindow;  // a group box of this table, or the main window
    bool visible = true;
    CreateArgs create = {};
};

struct WindowProperties {
    const char* caption;
    int width, height;
};

extern const WindowProperties kMainWindowProperties;
extern const std::span<const LayoutRow> kMainLayout;
