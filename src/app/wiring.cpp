#include "app/wiring.h"

#include <type_traits>

#include "app/features.h"
#include "docking/docking.h"
#include "preview/preview.h"
#include "window/behaviours.h"

namespace {

// Where one feature's outcome must follow another's, the order is said here, once.

// Creation-complete: the lists first, then the window becomes a drop area, then the file
// the program was opened with goes into the path box (and is previewed), all before the
// window is shown.
void MainWindowCreated(Features& f, MainWindow& window)
{
    f.catalogue.FillAtStartUp(window);
    RegisterMainWindowForDrops(window);
    if (!f.startFile.empty())
        window.编辑框_安装文字目录.SetText(f.startFile);
}

// The window is going: a press stops after its file, a file being read and an uninstall
// under way are waited for. (The forum notice comes after, in a row of its own.)
void MainWindowDestroyed(Features& f, MainWindow& window)
{
    f.installer.Cancel(window);
    f.preview.End(window);
    f.uninstaller.End(window);
}

// A press of the install button: a previewed file's private copy is released first, so
// that the system takes the installed one as that family.
void InstallClicked(Features& f, MainWindow& window)
{
    f.preview.Suspend(window);
    f.installer.Start(window);
}

// A press has ended: its outcome box is closed before the list is reloaded (after a
// failure too); then a previewed file now installed is selected in the list, and its
// preview ends.
void InstallDone(Features& f, MainWindow& window)
{
    f.installer.Finish(window);
    f.catalogue.Reload(window);
    f.preview.SelectInstalledFamily(window);
}

// An uninstall has ended: its outcome box is closed before the list is reloaded, which
// selects the family's neighbour.
void UninstallDone(Features& f, MainWindow& window)
{
    f.uninstaller.Finish(window);
    f.catalogue.ReloadSelectingNeighbour(window);
}

// A family picked in the list: the sample shows it, then a file's preview ends.
void FamilyPicked(Features& f, MainWindow& window)
{
    ApplyFontFace(window);
    f.preview.Release(window);
}

// The path box changed: the file it names is previewed; the caption counts several.
void PathChanged(Features& f, MainWindow& window)
{
    f.preview.PreviewNamedFile(window);
    f.installer.ShowNamedFileCount(window);
}

constexpr int C(Ctl c)
{
    return Index(c);
}

}  // namespace

std::vector<WiringRow> MainWiring(Features& features)
{
    Features* f = &features;
    // A handler of the features: runs `step` on them.
    const auto on = [f](void (*step)(Features&, MainWindow&)) {
        return [f, step](MainWindow& window) { step(*f, window); };
    };
    // A handler of one feature: runs its member function.
    const auto of = [](auto& feature, void (std::remove_reference_t<decltype(feature)>::*member)(MainWindow&)) {
        return [&feature, member](MainWindow& window) { (feature.*member)(window); };
    };
    // clang-format off
    return {
        {kMainWindow,             Event::CreationComplete,  on(&MainWindowCreated)},
        {kMainWindow,             Event::BeingDestroyed,    on(&MainWindowDestroyed)},
        {kMainWindow,             Event::BeingDestroyed,    &AnnounceForum},
        {C(Ctl::时钟_靠),          Event::Tick,              &DockToScreenEdge},
        {C(Ctl::透明标签2),        Event::LeftButtonPressed, &DestroyHintLabel},
        {C(Ctl::编辑框_颜色),      Event::ContentChanged,    &ApplyTypedColour},
        {C(Ctl::颜色选择器1),      Event::ColourPicked,      &ApplyPickedColour},
        {C(Ctl::按钮_打开字体),    Event::Clicked,           &OpenFontFile},
        {C(Ctl::按钮_刷新),        Event::Clicked,           of(f->catalogue, &FontCatalogue::Reload)},
        // A press works off the window's thread.
        {C(Ctl::按钮_安装字体),    Event::Clicked,           on(&InstallClicked)},
        {C(Ctl::按钮_安装字体),    Event::WorkProgress,      of(f->installer, &FontInstaller::ShowProgress)},
        {C(Ctl::按钮_安装字体),    Event::WorkDone,          on(&InstallDone)},
        {C(Ctl::编辑框_安装文字目录), Event::ContentChanged,  on(&PathChanged)},
        {C(Ctl::编辑框_安装文字目录), Event::WorkDone,        of(f->preview, &FontFilePreview::ShowPreviewedFile)},
        {C(Ctl::组合框_字形),      Event::ItemChosen,        &ApplyFontStyle},
        {C(Ctl::组合框_效果),      Event::ItemChosen,        &ApplyFontEffect},
        {C(Ctl::组合框_字体大小),  Event::ItemChosen,        &ApplyListedFontSize},
        {C(Ctl::组合框_字体大小),  Event::EditTextChanged,   &ApplyTypedFontSize},
        {C(Ctl::列表框_字体),      Event::SelectionChanged,  on(&FamilyPicked)},
        {C(Ctl::列表框_字体),      Event::InfoRequested,     of(f->information, &FontInformation::ShowListed)},
        {C(Ctl::编辑框_输入的文字), Event::InfoRequested,     of(f->information, &FontInformation::ShowSample)},
        // Uninstalling looks for the family's files, asks, removes off the window's thread.
        {C(Ctl::列表框_字体),      Event::UninstallRequested, of(f->uninstaller, &FontUninstaller::Start)},
        {C(Ctl::列表框_字体),      Event::WorkProgress,      of(f->uninstaller, &FontUninstaller::Ask)},
        {C(Ctl::列表框_字体),      Event::WorkDone,          on(&UninstallDone)},
        {C(Ctl::拖放对象1),        Event::TextDropped,       nullptr, &ShowDroppedText},
        {C(Ctl::拖放对象1),        Event::FilesDropped,      nullptr, &ShowDroppedFiles},
    };
    // clang-format on
}
