#include "preview/file_preview.h"

#include <windows.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "base/command_line.h"
#include "base/dbcs_text.h"
#include "fontdata/font_file.h"
#include "preview/file_preview_rules.h"
#include "preview/preview.h"
#include "win/font_trial.h"
#include "win/scoped.h"
#include "win/whole_file.h"
#include "window/main_window.h"

namespace {

constexpr DWORD kPrivate = FR_PRIVATE | FR_NOT_ENUM;

// The file being previewed: its path as added, its first family (in the ANSI code page,
// as the sample box's font takes it), and the face the sample had before.
struct Preview {
    std::string path;
    std::string family;
    std::string previousFace;
    bool suspended = false;  // released for an installation of the file
};
std::optional<Preview> current;

// What was found of a file: its first family in the ANSI code page and how many families
// it holds, or nothing when it cannot be previewed. Kept per file (path, size, last
// write), so that going back to a file reads it no more.
struct Judgement {
    std::optional<std::string> family;
    std::size_t families = 0;
};

// Whether the text names one existing regular file: the cheap test made at every
// keystroke before anything is read.
bool NamesOneFile(const std::string& path)
{
    if (path.empty() || path.size() >= MAX_PATH || path.find_first_of("\r\n") != std::string::npos)
        return false;
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           !(attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE | FILE_ATTRIBUTE_REPARSE_POINT));
}

// The family in the ANSI code page, when every character of it has a place there and it
// fits a face name; the sample box's font is an ANSI one.
std::optional<std::string> AnsiFamily(const std::u16string& family)
{
    const auto* wide = reinterpret_cast<const wchar_t*>(family.c_str());
    const int wideLength = static_cast<int>(family.size());
    BOOL lossy = FALSE;
    const int length =
        WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, wideLength, nullptr, 0, nullptr, &lossy);
    if (length <= 0 || length >= LF_FACESIZE || lossy)
        return std::nullopt;
    std::string ansi(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, wideLength, ansi.data(), length, nullptr, &lossy);
    return ansi;
}

Judgement Judge(const std::string& path)
{
    static std::map<FontFileIdentity, Judgement> judged;
    const std::optional<FontFileIdentity> identity = IdentifyFontFile(path);
    if (!identity)
        return {};
    if (const auto known = judged.find(*identity); known != judged.end())
        return known->second;
    Judgement judgement;
    const std::optional<std::vector<std::uint8_t>> bytes = ReadWholeFile(path);
    const FontFileFacts facts = bytes ? ReadFontFile(*bytes) : FontFileFacts{};
    // A sound file is tried in a child, on a copy of the bytes read; the verdict is kept per
    // content, so that installing the same file afterwards finds it.
    const std::optional<bool> survived =
        facts.sound ? FontBytesSurviveTrial(*bytes, path.substr(LastComponentStart(path))) : false;
    if (survived && *survived) {
        judgement.family = AnsiFamily(facts.faces.front().family);
        judgement.families = facts.faces.size();
    }
    // A file that could not be read (held by another program) or tried is read again next
    // time.
    if (bytes && survived)
        judged[*identity] = judgement;
    return judgement;
}

std::string FaceOf(const EditBox& box)
{
    if (box.FontDescription())
        return box.FontDescription()->lfFaceName;
    LOGFONTA gui;
    if (GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof gui, &gui) != sizeof gui)
        return {};
    return gui.lfFaceName;
}

// Releases the private font and gives the window its own caption back; the sample keeps
// whatever face it has now.
void Release(MainWindow& window)
{
    if (!current)
        return;
    if (!current->suspended)
        RemoveFontResourceExA(current->path.c_str(), kPrivate, nullptr);
    current.reset();
    if (window.hwnd())
        SetWindowTextA(window.hwnd(), kMainWindowProperties.caption);
}

// Ends the preview with the sample back on the face it had before.
void EndPreview(MainWindow& window)
{
    if (!current)
        return;
    SetFontAttribute(window.编辑框_输入的文字, FontAttribute::FaceName, current->previousFace);
    Release(window);
}

}  // namespace

void PreviewNamedFile(MainWindow& window)
{
    const std::string path = UnquotedPath(window.编辑框_安装文字目录.Text());
    if (current && path == current->path)
        return;  // the file already shown (a deleted one too, until the path changes)
    if (!NamesOneFile(path)) {
        EndPreview(window);
        return;
    }
    const Judgement judged = Judge(path);
    const std::optional<std::string>& family = judged.family;
    if (!family || AddFontResourceExA(path.c_str(), kPrivate, nullptr) <= 0) {
        EndPreview(window);
        return;
    }

    // The new font is shown before the one it replaces is released, so that the sample
    // never falls back to another face in between.
    EditBox& sample = window.编辑框_输入的文字;
    const std::string previousFace = current ? current->previousFace : FaceOf(sample);
    SetFontAttribute(sample, FontAttribute::FaceName, *family);
    if (current && !current->suspended)
        RemoveFontResourceExA(current->path.c_str(), kPrivate, nullptr);
    current = Preview{path, *family, previousFace};
    window.列表框_字体.SetSelected(-1);
    SetWindowTextA(window.hwnd(), PreviewCaption(kMainWindowProperties.caption, *family,
                                                 path.substr(LastComponentStart(path)), judged.families)
                                      .c_str());
}

void SuspendFilePreview(MainWindow&)
{
    if (current && !current->suspended) {
        RemoveFontResourceExA(current->path.c_str(), kPrivate, nullptr);
        current->suspended = true;
    }
}

void SelectInstalledPreviewedFamily(MainWindow& window)
{
    if (!current)
        return;
    ListBox& list = window.列表框_字体;
    const int index = list.FindExact(current->family);
    if (index >= 0) {
        list.SetSelected(index);
        ApplyFontFace(window);
        Release(window);
        return;
    }
    // Not installed: the private copy again, and the preview goes on.
    if (current->suspended && AddFontResourceExA(current->path.c_str(), kPrivate, nullptr) > 0) {
        current->suspended = false;
        SetFontAttribute(window.编辑框_输入的文字, FontAttribute::FaceName, current->family);
    } else {
        EndPreview(window);
    }
}

void ReleaseFilePreview(MainWindow& window)
{
    Release(window);
}
