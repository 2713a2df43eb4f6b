#include "preview/file_preview.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <map>
#include <memory>
#include <optional>
#include <thread>
#include <string>
#include <vector>

#include "base/command_line.h"
#include "base/dbcs_text.h"
#include "fontdata/font_file.h"
#include "preview/file_preview_rules.h"
#include "preview/preview.h"
#include "fontcheck/font_trial.h"
#include "win/scoped.h"
#include "win/whole_file.h"
#include "window/main_window.h"

namespace {

// The file being previewed: the bytes that were read, judged and tried, added from memory
// for this process alone (and not enumerated); the family as the sample box's font takes
// it, every name of the family in the ANSI code page (the list holds one of them once it
// is installed), and the face the sample had before.
struct Preview {
    std::string path;
    std::shared_ptr<const JudgedFontFile> file;
    HANDLE added = nullptr;  // none while released for an installation of the file
    std::string family;
    std::string shownFamily;
    std::vector<std::string> names;
    std::string previousFace;
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

// A name in the ANSI code page as the system gives it: a character without a place there
// as "?", and `lossy` says so.
std::string AnsiName(const std::u16string& name, bool& lossy)
{
    const auto* wide = reinterpret_cast<const wchar_t*>(name.c_str());
    const int wideLength = static_cast<int>(name.size());
    BOOL replaced = FALSE;
    const int length = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, wideLength, nullptr, 0, nullptr, &replaced);
    std::string ansi(static_cast<std::size_t>(std::max(length, 0)), '\0');
    if (length > 0)
        WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, wideLength, ansi.data(), length, nullptr, &replaced);
    lossy = replaced != FALSE;
    return ansi;
}

// The face name the system gives a family, as the list shows it: its first 31 bytes in
// the ANSI code page (never half a character).
std::string SystemFaceName(const std::string& ansi)
{
    return CutText(ansi, LF_FACESIZE - 1);
}

// What a file gives to preview: its bytes, read now, judged and tried (the verdict is kept
// per content, so going back to a file tries it no more), and its first family.
struct Judgement {
    std::vector<std::uint8_t> bytes;
    FontFileFacts facts;
    std::string family;        // the face name, as the sample's font takes it
    std::string shownFamily;   // the whole name, as the code page allows, for the caption
    std::u16string wideFamily;  // the face name for the wide call, when the code page has no place for it
    std::vector<std::string> names;
};

// The last file judged, kept whole: going back to it costs a read and a comparison of
// every byte, not a judge's reading and a digest. Used by one reading at a time.
using LastJudged = std::optional<std::pair<std::string, Judgement>>;

std::optional<Judgement> Judge(const std::string& path, FontTrials& trials, LastJudged& lastJudged)
{
    std::optional<std::vector<std::uint8_t>> bytes = ReadWholeFile(path);
    if (!bytes)
        return std::nullopt;
    if (lastJudged && lastJudged->first == path && lastJudged->second.bytes == *bytes)
        return lastJudged->second;
    FontFileFacts facts = ReadFontFile(*bytes);
    if (!facts.sound || TryFontBytes(trials, *bytes) != TrialVerdict::Sound)
        return std::nullopt;
    const FontFace face = facts.faces.front();
    Judgement judgement;
    // The name the list would show: the one in the user's language, else US English; under
    // its first 31 bytes, as the system names a longer one. A name without a place in the
    // ANSI code page is made through the wide call, its stand-in the name as the code page
    // gives it.
    const std::u16string preferred = FamilyFor(face, GetUserDefaultLangID());
    bool lossy = false;
    judgement.shownFamily = AnsiName(preferred, lossy);
    judgement.family = SystemFaceName(judgement.shownFamily);
    if (judgement.family.empty())
        return std::nullopt;
    if (lossy)
        judgement.wideFamily = preferred.substr(0, LF_FACESIZE - 1);
    for (const LocalName& name : *face.families) {
        bool ignored = false;
        judgement.names.push_back(SystemFaceName(AnsiName(name.text, ignored)));
    }
    judgement.bytes = std::move(*bytes);
    judgement.facts = std::move(facts);
    lastJudged.emplace(path, judgement);
    return judgement;
}

// The bytes added for this process alone, from memory: nothing is read from the file
// again, and no other program sees the family.
HANDLE AddPrivately(const std::vector<std::uint8_t>& bytes)
{
    DWORD fonts = 0;
    HANDLE added = AddFontMemResourceEx(const_cast<std::uint8_t*>(bytes.data()), static_cast<DWORD>(bytes.size()),
                                        nullptr, &fonts);
    if (added && fonts == 0) {
        RemoveFontMemResourceEx(added);
        added = nullptr;
    }
    return added;
}

void RemovePrivately(Preview& preview)
{
    if (preview.added)
        RemoveFontMemResourceEx(preview.added);
    preview.added = nullptr;
}

// Releases the private font and gives the window its own caption back; the sample keeps
// whatever face it has now.
void ReleaseShown(MainWindow& window, std::optional<Preview>& current)
{
    if (!current)
        return;
    RemovePrivately(*current);
    current.reset();
    window.编辑框_输入的文字.SetShownFile(nullptr);
    window.编辑框_输入的文字.SetWideFace({}, {});
    if (window.hwnd())
        SetWindowTextA(window.hwnd(), kMainWindowProperties.caption);
}

// Ends the preview with the sample back on the face it had before.
void EndPreview(MainWindow& window, std::optional<Preview>& current)
{
    if (!current)
        return;
    SetFontAttribute(window.编辑框_输入的文字, FontAttribute::FaceName, current->previousFace);
    ReleaseShown(window, current);
}

// The file is not previewed after all: the sample returns to what it showed, and the
// caption says so.
void Refuse(MainWindow& window, const std::string& path, std::optional<Preview>& current, RefusalInCaption& refusal)
{
    EndPreview(window, current);
    SetWindowTextA(window.hwnd(),
                   RefusedPreviewCaption(kMainWindowProperties.caption, path.substr(LastComponentStart(path))).c_str());
    refusal.Refused();
}

}  // namespace

namespace {

// The path the box names, without the blanks around it (as installation reads it).
std::string NamedPath(MainWindow& window)
{
    std::string path = UnquotedPath(window.编辑框_安装文字目录.Text());
    const std::size_t first = path.find_first_not_of(" \t");
    path = first == std::string::npos ? std::string() : path.substr(first, path.find_last_not_of(" \t") - first + 1);
    return UnquotedPath(path);
}

// A file being read, judged and tried off the window's thread.
struct Reading {
    std::string path;
    std::optional<Judgement> judged;  // the worker's until `ended`
    std::atomic<bool> ended{false};
    bool dropped = false;  // a family was picked meanwhile: the result is not shown
    std::thread worker;
};

}  // namespace

// The preview's state, from the program's start to its end: the file shown, the reading
// under way, the last file judged (the reading's own while it runs), and whether the
// caption says a named file cannot be previewed.
struct FontFilePreview::State {
    explicit State(FontTrials& t) : trials(t) {}
    FontTrials& trials;
    std::optional<Preview> current;
    std::unique_ptr<Reading> reading;
    LastJudged lastJudged;
    RefusalInCaption refusal;

    void StartReading(MainWindow& window, const std::string& path)
    {
        reading = std::make_unique<Reading>();
        reading->path = path;
        reading->worker = std::thread(
            [](Reading& work, MainWindow& owner, int source, FontTrials& trials, LastJudged& last) {
                work.judged = Judge(work.path, trials, last);
                work.ended = true;
                owner.Post(source, Event::WorkDone);
            },
            std::ref(*reading), std::ref(window), Index(Ctl::编辑框_安装文字目录), std::ref(trials),
            std::ref(lastJudged));
    }

    // Waits for a reading under way and forgets it.
    void DropReading()
    {
        if (!reading)
            return;
        reading->worker.join();
        reading.reset();
    }

    void Show(MainWindow& window, const std::string& path, Judgement& judged);
};

// Shows the judged file: the new font is shown before the one it replaces is released,
// so that the sample never falls back to another face in between.
void FontFilePreview::State::Show(MainWindow& window, const std::string& path, Judgement& judged)
{
    HANDLE added = AddPrivately(judged.bytes);
    if (!added) {
        Refuse(window, path, current, refusal);
        return;
    }
    EditBox& sample = window.编辑框_输入的文字;
    const std::string previousFace = current ? current->previousFace : sample.FaceName();
    sample.SetWideFace(judged.family, judged.wideFamily);
    SetFontAttribute(sample, FontAttribute::FaceName, judged.family);
    if (current)
        RemovePrivately(*current);
    const std::size_t families = judged.facts.faces.size();
    auto file = std::make_shared<const JudgedFontFile>(
        JudgedFontFile{path, std::move(judged.bytes), std::move(judged.facts)});
    current = Preview{path, file, added, judged.family, judged.shownFamily, std::move(judged.names), previousFace};
    sample.SetShownFile(std::move(file));
    window.列表框_字体.SetSelected(-1);
    SetWindowTextA(window.hwnd(), PreviewCaption(kMainWindowProperties.caption, current->shownFamily,
                                                 path.substr(LastComponentStart(path)), families)
                                      .c_str());
}

FontFilePreview::FontFilePreview(FontTrials& trials) : state_(std::make_unique<State>(trials)) {}

FontFilePreview::~FontFilePreview()
{
    state_->DropReading();
}

void FontFilePreview::PreviewNamedFile(MainWindow& window)
{
    State& s = *state_;
    const std::string path = NamedPath(window);
    if (s.current && path == s.current->path)
        return;  // the file already shown (a deleted one too, until the path changes)
    if (s.refusal.TakeBack(s.current.has_value()))
        SetWindowTextA(window.hwnd(), kMainWindowProperties.caption);
    if (!NamesOneFile(path)) {
        EndPreview(window, s.current);
        return;
    }
    // One file is read at a time; the box is looked at again when it is done.
    if (!s.reading)
        s.StartReading(window, path);
}

void FontFilePreview::ShowPreviewedFile(MainWindow& window)
{
    State& s = *state_;
    if (!s.reading || !s.reading->ended)
        return;
    s.reading->worker.join();
    const std::unique_ptr<Reading> done = std::move(s.reading);
    if (done->dropped)
        return;
    const std::string path = NamedPath(window);
    if (path != done->path) {
        PreviewNamedFile(window);  // the box names another file by now
        return;
    }
    if (done->judged)
        s.Show(window, path, *done->judged);
    else
        Refuse(window, path, s.current, s.refusal);
}

bool FontFilePreview::Running() const
{
    return state_->reading != nullptr;
}

void FontFilePreview::Suspend(MainWindow&)
{
    if (state_->current)
        RemovePrivately(*state_->current);
}

void FontFilePreview::SelectInstalledFamily(MainWindow& window)
{
    std::optional<Preview>& current = state_->current;
    if (!current)
        return;
    // Installed, the family is listed under one of its names: the one the system gives
    // on this desktop.
    ListBox& list = window.列表框_字体;
    for (const std::string& name : current->names) {
        const int index = list.FindExact(name);
        if (index >= 0) {
            list.SetSelected(index);
            ApplyFontFace(window);
            ReleaseShown(window, current);
            return;
        }
    }
    // Not installed: the same bytes again, and the preview goes on.
    if (!current->added)
        current->added = AddPrivately(current->file->bytes);
    if (current->added)
        SetFontAttribute(window.编辑框_输入的文字, FontAttribute::FaceName, current->family);
    else
        EndPreview(window, current);
}

void FontFilePreview::Release(MainWindow& window)
{
    if (state_->reading)
        state_->reading->dropped = true;
    ReleaseShown(window, state_->current);
}

void FontFilePreview::End(MainWindow& window)
{
    state_->DropReading();
    ReleaseShown(window, state_->current);
}
