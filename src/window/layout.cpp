#include "window/layout.h"

#include <array>

namespace {

constexpr const char* kStyles[] = {"常规", "斜体", "粗体", "粗斜体"};
constexpr const char* kEffects[] = {"无", "下划线", "删除线", "删+下"};

// What the font list's and the sample box's context menus add.
constexpr MenuEntry kListMenu[] = {
    {.text = "字体信息(&I)…", .event = Event::InfoRequested, .needsSelection = true, .shortcut = Shortcut::AltEnter},
    {.text = "卸载字体(&U)…", .event = Event::UninstallRequested, .needsSelection = true, .shortcut = Shortcut::Delete},
};
constexpr MenuEntry kSampleMenu[] = {
    {.text = "字体信息(&I)…", .event = Event::InfoRequested, .shortcut = Shortcut::AltEnter},
};

constexpr DWORD kSingleLineEdit = ES_LEFT | ES_AUTOHSCROLL;
constexpr DWORD kSampleEdit =
    ES_LEFT | ES_MULTILINE | ES_WANTRETURN | ES_AUTOHSCROLL | ES_AUTOVSCROLL | WS_HSCROLL | WS_VSCROLL;

// clang-format off
constexpr std::array<LayoutRow, kControlCount> kRows = {{
    {.name = "时钟_靠", .kind = Kind::Timer, .parent = Index(Ctl::分组框_字体列表), .visible = false,
     .create = {.left = 60, .top = 104, .width = 40, .height = 40, .interval = 100}},
    {.name = "透明标签2", .kind = Kind::TransLabel, .parent = Index(Ctl::分组框_字体颜色),
     .create = {.left = 16, .top = 14, .width = 128, .height = 16, .caption = "十进制", .textColour = 0xC0C0C0,
                .placeholder = true}},
    {.name = "编辑框_颜色", .kind = Kind::EditBox, .parent = Index(Ctl::分组框_字体颜色),
     .create = {.left = 12, .top = 13, .width = 128, .height = 20, .tabStop = true, .style = kSingleLineEdit, .exStyle = WS_EX_CLIENTEDGE, .integerInput = true}},
    {.name = "拖放对象1", .kind = Kind::DropTarget, .parent = Index(Ctl::分组框_字体列表), .visible = false,
     .create = {.left = 28, .top = 144, .width = 64, .height = 32}},
    {.name = "按钮_安装字体", .kind = Kind::Button,
     .create = {.left = 176, .top = 408, .width = 152, .height = 24, .tabStop = true, .caption = "安装字体"}},
    {.name = "按钮_刷新", .kind = Kind::Button,
     .create = {.left = 176, .top = 384, .width = 152, .height = 24, .tabStop = true, .caption = "刷新字体列表"}},
    {.name = "通用对话框1", .kind = Kind::CommonDlg, .visible = false,
     .create = {.left = 112, .top = 392, .width = 48, .height = 24}},
    {.name = "按钮_打开字体", .kind = Kind::Button,
     .create = {.left = 280, .top = 439, .width = 48, .height = 24, .tabStop = true, .caption = "……"}},
    {.name = "编辑框_安装文字目录", .kind = Kind::EditBox,
     .create = {.left = 8, .top = 440, .width = 264, .height = 24, .tabStop = true, .style = kSingleLineEdit, .exStyle = WS_EX_CLIENTEDGE}},
    {.name = "颜色选择器1", .kind = Kind::ColorPicker, .parent = Index(Ctl::分组框_字体颜色),
     .create = {.left = 12, .top = 41, .width = 128, .height = 20, .tabStop = true}},
    {.name = "分组框_字体颜色", .kind = Kind::GroupBox,
     .create = {.left = 176, .top = 307, .width = 152, .height = 70, .caption = "字体颜色"}},
    {.name = "组合框_字体大小", .kind = Kind::ComboBox, .parent = Index(Ctl::分组框_字体大小),
     .create = {.left = 12, .top = 22, .width = 128, .height = 20, .tabStop = true, .style = CBS_DROPDOWN | CBS_AUTOHSCROLL}},
    {.name = "分组框_字体大小", .kind = Kind::GroupBox,
     .create = {.left = 176, .top = 248, .width = 152, .height = 56, .caption = "字体大小"}},
    {.name = "组合框_效果", .kind = Kind::ComboBox, .parent = Index(Ctl::分组框_字体样式),
     .create = {.left = 80, .top = 18, .width = 64, .height = 20, .tabStop = true, .style = CBS_DROPDOWNLIST, .items = kEffects, .selected = 0}},
    {.name = "组合框_字形", .kind = Kind::ComboBox, .parent = Index(Ctl::分组框_字体样式),
     .create = {.left = 8, .top = 18, .width = 72, .height = 20, .tabStop = true, .style = CBS_DROPDOWNLIST, .items = kStyles, .selected = 0}},
    {.name = "分组框_字体样式", .kind = Kind::GroupBox,
     .create = {.left = 176, .top = 193, .width = 152, .height = 56, .caption = "字体样式"}},
    {.name = "列表框_字体", .kind = Kind::ListBox, .parent = Index(Ctl::分组框_字体列表),
     .create = {.left = 7, .top = 16, .width = 149, .height = 216, .tabStop = true, .exStyle = WS_EX_CLIENTEDGE, .menu = kListMenu}},
    {.name = "分组框_字体列表", .kind = Kind::GroupBox,
     .create = {.left = 4, .top = 192, .width = 164, .height = 240, .caption = "字体列表"}},
    {.name = "编辑框_输入的文字", .kind = Kind::EditBox,
     .create = {.left = 3, .top = 6, .width = 325, .height = 184, .tabStop = true, .style = kSampleEdit, .exStyle = WS_EX_CLIENTEDGE, .menu = kSampleMenu}},
}};
// clang-format on

}  // namespace

const WindowProperties kMainWindowProperties = {"Quillmoor字体查看器1.1", 339, 495};
const std::span<const LayoutRow> kMainLayout = kRows;
