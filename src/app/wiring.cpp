#include "app/wiring.h"

#include <array>
#include <vector>

#include "app/program.h"
#include "catalogue/font_lists.h"
#include "docking/docking.h"
#include "fontfiles/font_files.h"
#include "fontfiles/uninstall.h"
#include "fontinfo/font_info.h"
#include "preview/file_preview.h"
#include "preview/preview.h"
#include "window/behaviours.h"

namespace {

// Creation-complete: the lists first, then the window becomes a drop area, then the file
// the program was opened with goes into the path box (and is previewed), all before the
// window is shown.
void OnMainWindowCreated(MainWindow& window)
{
    FillListsAtStartUp(window);
    RegisterMainWindowForDrops(window);
    if (!StartFile().empty())
        window.编辑框_安装文字目录.SetText(StartFile());
}

constexpr int C(Ctl c)
{
    return Index(c);
}

// clang-format off
constexpr std::array<WiringRow, 34> kRows = {{
    {kMainWindow,             Event::CreationComplete,  &OnMainWindowCreated},
    {kMainWindow,             Event::BeingDestroyed,    &CancelInstallation},
    {kMainWindow,             Event::BeingDestroyed,    &EndFilePreview},
    {kMainWindow,             Event::BeingDestroyed,    &EndUninstall},
    {kMainWindow,             Event::BeingDestroyed,    &AnnounceForum},
    {C(Ctl::时钟_靠),          Event::Tick,              &DockToScreenEdge},
    {C(Ctl::透明标签2),        Event::LeftButtonPressed, &DestroyHintLabel},
    {C(Ctl::编辑框_颜色),      Event::ContentChanged,    &ApplyTypedColour},
    {C(Ctl::颜色选择器1),      Event::ColourPicked,      &ApplyPickedColour},
    {C(Ctl::按钮_打开字体),    Event::Clicked,           &OpenFontFile},
    {C(Ctl::按钮_刷新),        Event::Clicked,           &ReloadFontList},
    // A press works off the window's thread; when it is done, the outcome box is closed
    // before the list is reloaded, after a failure too.
    {C(Ctl::按钮_安装字体),    Event::Clicked,           &SuspendFilePreview},
    {C(Ctl::按钮_安装字体),    Event::Clicked,           &StartInstallation},
    {C(Ctl::按钮_安装字体),    Event::WorkProgress,      &ShowInstallationProgress},
    {C(Ctl::按钮_安装字体),    Event::WorkDone,          &FinishInstallation},
    {C(Ctl::按钮_安装字体),    Event::WorkDone,          &ReloadFontList},
    // A previewed file, now installed: the list selects its family, then the preview ends.
    {C(Ctl::按钮_安装字体),    Event::WorkDone,          &SelectInstalledPreviewedFamily},
    {C(Ctl::编辑框_安装文字目录), Event::ContentChanged,  &PreviewNamedFile},
    {C(Ctl::编辑框_安装文字目录), Event::ContentChanged,  &ShowNamedFileCount},
    {C(Ctl::编辑框_安装文字目录), Event::WorkDone,        &ShowPreviewedFile},
    {C(Ctl::组合框_字形),      Event::ItemChosen,        &ApplyFontStyle},
    {C(Ctl::组合框_效果),      Event::ItemChosen,        &ApplyFontEffect},
    {C(Ctl::组合框_字体大小),  Event::ItemChosen,        &ApplyListedFontSize},
    {C(Ctl::组合框_字体大小),  Event::EditTextChanged,   &ApplyTypedFontSize},
    {C(Ctl::列表框_字体),      Event::SelectionChanged,  &ApplyFontFace},
    {C(Ctl::列表框_字体),      Event::SelectionChanged,  &ReleaseFilePreview},
    {C(Ctl::列表框_字体),      Event::InfoRequested,     &ShowListedFontInfo},
    {C(Ctl::编辑框_输入的文字), Event::InfoRequested,     &ShowSampleFontInfo},
    // Uninstalling looks for the family's files, asks, removes off the window's thread; when
    // it is done, the outcome box is closed before the list is reloaded.
    {C(Ctl::列表框_字体),      Event::UninstallRequested, &StartUninstall},
    {C(Ctl::列表框_字体),      Event::WorkProgress,      &AskToUninstall},
    {C(Ctl::列表框_字体),      Event::WorkDone,          &FinishUninstall},
    {C(Ctl::列表框_字体),      Event::WorkDone,          &ReloadSelectingNeighbour},
    {C(Ctl::拖放对象1),        Event::TextDropped,       nullptr, &ShowDroppedText},
    {C(Ctl::拖放对象1),        Event::FilesDropped,      nullptr, &ShowDroppedFiles},
}};
// clang-format on

}  // namespace

const std::span<const WiringRow> kMainWiring = kRows;

std::span<const WiringRow> WiringWithoutForum()
{
    static const std::vector<WiringRow> rows = [] {
        std::vector<WiringRow> kept;
        for (const WiringRow& row : kMainWiring) {
            if (row.handler != &AnnounceForum)
                kept.push_back(row);
        }
        return kept;
    }();
    return rows;
}
