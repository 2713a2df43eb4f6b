#include "fontcheck/font_trial.h"

#include <windows.h>

#include <algorithm>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <vector>

#include "fontdata/digest.h"
#include "fontdata/font_file.h"
#include "fontdata/font_resource.h"
#include "win/scoped.h"
#include "win/whole_file.h"

namespace {

// The child's exit codes, and its answers to a request.
enum TrialResult : int {
    kSound = 0,
    kUnreadable = 2,
    kNotAdded = 3,
    kNotEnumerated = 4,
    kNotCreated = 5,
    kNotMeasured = 6,
    kFaulted = 7,
    kNoWidth = 8,
    // The font drawn with is not made of this file's tables, even under family names of
    // its own: the parent tries the file again in a new child.
    kNotThisFile = 9,
};

// A fault in the system's font code ends the child at once, with a code of its own: no
// crash dialog, no debugger.
LONG WINAPI EndOnFault(EXCEPTION_POINTERS*)
{
    TerminateProcess(GetCurrentProcess(), kFaulted);
    return EXCEPTION_EXECUTE_HANDLER;
}

std::string OwnProgram()
{
    std::string path(MAX_PATH, '\0');
    DWORD length;
    while ((length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()))) == path.size())
        path.resize(path.size() * 2);
    path.resize(length);
    return path;
}

// The job every child runs in: when the program ends, however it ends, so do they.
HANDLE TrialJob()
{
    static HANDLE job = [] {
        HANDLE made = CreateJobObjectA(nullptr, nullptr);
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        if (made && !SetInformationJobObject(made, JobObjectExtendedLimitInformation, &limits, sizeof limits)) {
            CloseHandle(made);
            made = nullptr;
        }
        return made;
    }();
    return job;
}

// Starts the program as a child with the argument, in the job, with the given standard handles (or
// none). Null when it cannot be started.
HANDLE StartChild(const std::string& program, const std::string& argument, HANDLE input, HANDLE output)
{
    std::string command = "\"" + program + "\" " + kFontTrialSwitch + " \"" + argument + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    const bool inherit = input != nullptr;
    if (inherit) {
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = input;
        startup.hStdOutput = output;
    }
    PROCESS_INFORMATION child = {};
    if (!CreateProcessA(program.c_str(), command.data(), nullptr, nullptr, inherit, CREATE_SUSPENDED, nullptr,
                        nullptr, &startup, &child))
        return nullptr;
    if (HANDLE job = TrialJob())
        AssignProcessToJobObject(job, child.hProcess);
    ResumeThread(child.hThread);
    CloseHandle(child.hThread);
    return child.hProcess;
}

// How a child that ended answered: its own fault code, or an exception code the system
// ended it with, is a crash.
TrialVerdict EndedWith(HANDLE process)
{
    DWORD code = 1;
    if (!GetExitCodeProcess(process, &code))
        return TrialVerdict::Refused;
    if (code == kSound)
        return TrialVerdict::Sound;
    return code == kFaulted || code >= 0xC0000000u ? TrialVerdict::Crashed : TrialVerdict::Refused;
}

}  // namespace

// What the trials found of bytes they tried, by content, for every thread; and which
// contents are being tried now, so that one content has one trial at a time; and the
// program started as the child.
struct FontTrials::Store {
    // The verdict on these bytes when one is known. Else, when another thread is trying
    // the same bytes, waits for the end of that trial and looks again; else the caller
    // now tries them, and says so with Done().
    std::optional<TrialVerdict> FindOrClaim(const Digest& key)
    {
        std::unique_lock<std::mutex> hold(lock_);
        for (;;) {
            const auto known = verdicts_.find(key);
            if (known != verdicts_.end())
                return known->second;
            if (trying_.insert(key).second)
                return std::nullopt;
            ended_.wait(hold);
        }
    }
    // The trial the caller claimed has ended: its verdict is kept unless it says nothing
    // of the font (a time-out or no child), and a thread waiting for it looks again.
    void Done(const Digest& key, TrialVerdict verdict)
    {
        {
            std::lock_guard<std::mutex> hold(lock_);
            trying_.erase(key);
            if (verdict != TrialVerdict::TimedOut && verdict != TrialVerdict::NotTried)
                verdicts_[key] = verdict;
        }
        ended_.notify_all();
    }

    std::mutex lock_;
    std::condition_variable ended_;
    std::map<Digest, TrialVerdict> verdicts_;
    std::set<Digest> trying_;
    std::string program_;  // under lock_
};

FontTrials::FontTrials(std::string program) : store_(std::make_unique<Store>())
{
    store_->program_ = std::move(program);
}

FontTrials::~FontTrials() = default;

void FontTrials::UseProgram(const std::string& exe)
{
    std::lock_guard<std::mutex> hold(store_->lock_);
    store_->program_ = exe;
}

std::string FontTrials::Program() const
{
    std::lock_guard<std::mutex> hold(store_->lock_);
    return store_->program_.empty() ? OwnProgram() : store_->program_;
}

// A serving child: its process, the pipe its requests go down and the one its answers
// come up.
struct TrialSession::Child {
    ScopedHandle process, requests, answers;

    static std::unique_ptr<Child> Start(const std::string& program)
    {
        HANDLE childIn = nullptr, toChild = nullptr, fromChild = nullptr, childOut = nullptr;
        if (!CreatePipe(&childIn, &toChild, nullptr, 0))
            return nullptr;
        ScopedHandle in(childIn), requests(toChild);
        if (!CreatePipe(&fromChild, &childOut, nullptr, 0))
            return nullptr;
        ScopedHandle out(childOut), answers(fromChild);
        // Only the child's own ends are inherited, and only by this child: children are
        // started one at a time (a preview and a press may start theirs together).
        static std::mutex starting;
        HANDLE process = nullptr;
        {
            std::lock_guard<std::mutex> one(starting);
            SetHandleInformation(in.get(), HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
            SetHandleInformation(out.get(), HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
            process = StartChild(program, kServeArgument, in.get(), out.get());
            in.Close();
            out.Close();
        }
        if (!process)
            return nullptr;
        auto child = std::make_unique<Child>();
        child->process = ScopedHandle(process);
        child->requests = ScopedHandle(requests.Release());
        child->answers = ScopedHandle(answers.Release());
        return child;
    }

    // Hands the section to the child and waits for its answer, its end, or the time-out.
    // `notThisFile`: the child could not draw with this file's own font.
    TrialVerdict Ask(HANDLE section, std::size_t size, bool& ended, bool& notThisFile)
    {
        HANDLE remote = nullptr;
        if (!DuplicateHandle(GetCurrentProcess(), section, process.get(), &remote, FILE_MAP_READ, FALSE, 0)) {
            ended = true;
            return WaitForSingleObject(process.get(), 0) == WAIT_OBJECT_0 ? EndedWith(process.get())
                                                                           : TrialVerdict::NotTried;
        }
        const std::string request =
            std::to_string(reinterpret_cast<std::uintptr_t>(remote)) + " " + std::to_string(size) + "\n";
        DWORD written = 0;
        WriteFile(requests.get(), request.data(), static_cast<DWORD>(request.size()), &written, nullptr);
        const DWORD start = GetTickCount();
        for (;;) {
            DWORD waiting = 0;
            if (PeekNamedPipe(answers.get(), nullptr, 0, nullptr, &waiting, nullptr) && waiting > 0) {
                unsigned char answer = 1;
                DWORD read = 0;
                if (ReadFile(answers.get(), &answer, 1, &read, nullptr) && read == 1) {
                    notThisFile = answer == kNotThisFile;
                    return answer == kSound ? TrialVerdict::Sound : TrialVerdict::Refused;
                }
            }
            if (WaitForSingleObject(process.get(), 2) == WAIT_OBJECT_0) {
                if (PeekNamedPipe(answers.get(), nullptr, 0, nullptr, &waiting, nullptr) && waiting > 0)
                    continue;  // it answered, then ended
                ended = true;
                return EndedWith(process.get());
            }
            if (GetTickCount() - start >= FontTrialTimeLimitMs(size)) {
                TerminateProcess(process.get(), 1);
                WaitForSingleObject(process.get(), kFontTrialTimeoutMs);
                ended = true;
                return TrialVerdict::TimedOut;
            }
        }
    }

    // No more requests: the child, idle between them, ends by itself at the end of its
    // input (a child that hung was killed already, and the job ends any other with the
    // program). It is not waited for.
    ~Child() { requests.Close(); }
};

TrialSession::TrialSession(FontTrials& trials) : trials_(trials) {}
TrialSession::~TrialSession() = default;

int TrialSession::childrenStarted() const
{
    return started_;
}

unsigned FontTrialTimeLimitMs(unsigned long long bytes)
{
    const unsigned long long limit = kFontTrialTimeoutMs + bytes * kFontTrialMsPerMegabyte / (1024 * 1024);
    return static_cast<unsigned>(std::min<unsigned long long>(limit, kLongestFontTrialMs));
}

TrialVerdict TrialSession::Try(const std::vector<std::uint8_t>& bytes)
{
    const Digest key = Sha256(bytes);
    if (const std::optional<TrialVerdict> known = trials_.store_->FindOrClaim(key))
        return *known;
    const TrialVerdict verdict = TryNow(bytes);
    trials_.store_->Done(key, verdict);
    return verdict;
}

TrialVerdict TrialSession::TryNow(const std::vector<std::uint8_t>& bytes)
{
    if (bytes.empty())
        return TrialVerdict::Refused;

    // The bytes in a section of the program's own; the child gets a read-only handle.
    const ULONGLONG size = bytes.size();
    ScopedHandle section(CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE,
                                            static_cast<DWORD>(size >> 32), static_cast<DWORD>(size), nullptr));
    if (!section.valid())
        return TrialVerdict::NotTried;
    void* view = MapViewOfFile(section.get(), FILE_MAP_WRITE, 0, 0, bytes.size());
    if (!view)
        return TrialVerdict::NotTried;
    std::memcpy(view, bytes.data(), bytes.size());
    UnmapViewOfFile(view);

    // A child that tried other files first and cannot tell this file's font from theirs
    // is replaced, and the file is tried alone in the new child.
    for (int attempt = 0;; ++attempt) {
        if (!child_) {
            child_ = Child::Start(trials_.Program());
            if (!child_)
                return TrialVerdict::NotTried;
            ++started_;
        }
        bool ended = false, notThisFile = false;
        const TrialVerdict verdict = child_->Ask(section.get(), bytes.size(), ended, notThisFile);
        if (ended || notThisFile)
            child_.reset();  // the next file gets a new child
        if (!notThisFile)
            return verdict;
        if (attempt > 0)
            return TrialVerdict::Refused;
    }
}

TrialVerdict TryFontBytes(FontTrials& trials, const std::vector<std::uint8_t>& bytes)
{
    TrialSession session(trials);
    return session.Try(bytes);
}

namespace {

unsigned long long FileSize(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return 0;
    return static_cast<unsigned long long>(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
}

}  // namespace

TrialVerdict TryFontFile(const FontTrials& trials, const std::string& path)
{
    ScopedHandle process(StartChild(trials.Program(), path, nullptr, nullptr));
    if (!process.valid())
        return TrialVerdict::NotTried;
    if (WaitForSingleObject(process.get(), FontTrialTimeLimitMs(FileSize(path))) != WAIT_OBJECT_0) {
        TerminateProcess(process.get(), 1);
        WaitForSingleObject(process.get(), kFontTrialTimeoutMs);
        return TrialVerdict::TimedOut;
    }
    return EndedWith(process.get());
}


namespace {

LOGFONTW FaceRequest(const FontFace& face, LONG height)
{
    LOGFONTW request = {};
    request.lfHeight = height;
    request.lfWeight = face.weight;
    request.lfItalic = face.italic ? TRUE : FALSE;
    request.lfCharSet = DEFAULT_CHARSET;
    const std::size_t length = face.family.size() < LF_FACESIZE ? face.family.size() : LF_FACESIZE - 1;
    face.family.copy(reinterpret_cast<char16_t*>(request.lfFaceName), length);
    return request;
}

// The characters as UTF-16 (pairs of surrogates above the Basic Multilingual Plane).
std::wstring Utf16(const std::vector<char32_t>& characters)
{
    std::wstring text;
    for (char32_t c : characters) {
        if (c < 0x10000) {
            text.push_back(static_cast<wchar_t>(c));
        } else {
            text.push_back(static_cast<wchar_t>(0xD800 + ((c - 0x10000) >> 10)));
            text.push_back(static_cast<wchar_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
        }
    }
    return text;
}

// Whether the font selected is the face asked for, under any of its names (the system may
// give the name in the user's language), and not a substitute.
bool IsTheFace(HDC dc, const FontFace& face)
{
    wchar_t selected[LF_FACESIZE] = {};
    if (GetTextFaceW(dc, LF_FACESIZE, selected) <= 0)
        return false;
    const std::u16string name(reinterpret_cast<const char16_t*>(selected));
    auto same = [&](const std::u16string& family) { return family.substr(0, LF_FACESIZE - 1) == name; };
    if (same(face.family))
        return true;
    return face.families && std::any_of(face.families->begin(), face.families->end(),
                                        [&](const LocalName& family) { return same(family.text); });
}

// Whether the font selected is made of these tables of the file: each as the system hands
// it out is the file's own, byte for byte. A font of the same family that an earlier file
// added is not.
bool IsMadeOf(HDC dc, const std::vector<std::uint8_t>& file, const std::vector<TableRecord>& tables)
{
    std::vector<std::uint8_t> table;
    for (const TableRecord& record : tables) {
        if (record.length == 0 || record.offset + record.length > file.size())
            continue;
        // GetFontData names a table by its tag's bytes in memory order.
        const DWORD tag = (record.tag >> 24) | (record.tag >> 8 & 0xFF00) | (record.tag << 8 & 0xFF0000) |
                          (record.tag << 24);
        const DWORD size = GetFontData(dc, tag, 0, nullptr, 0);
        if (size == GDI_ERROR || size != record.length)
            return false;
        table.resize(size);
        if (GetFontData(dc, tag, 0, table.data(), size) != size ||
            std::memcmp(table.data(), file.data() + record.offset, size) != 0)
            return false;
    }
    return true;
}

// Which file a face must be drawn from: its bytes and its tables.
struct FaceSource {
    const std::vector<std::uint8_t>& file;
    const std::vector<TableRecord>& tables;
};

// One face: created at two sizes, found to be itself with metrics, and every sampled
// character measured and drawn. Characters that all measure 0 wide are an engine reading
// metrics the judge could not see to be wrong (in a font of outlines).
TrialResult TryFace(HDC dc, const FontFace& face, const FaceSource* source)
{
    const std::wstring text = Utf16(face.characters->sample);
    for (LONG size : {-12, -48}) {
        LOGFONTW request = FaceRequest(face, size);
        ScopedFont font(CreateFontIndirectW(&request));
        if (!font)
            return kNotCreated;
        ScopedSelect selected(dc, font.get());
        if (!IsTheFace(dc, face))
            return kNotEnumerated;
        // The system may hand out another font of the family: one the machine has installed,
        // or an earlier file's that this child added (the system keeps them all, and
        // reuses a font it realised for the same request).
        if (source && !IsMadeOf(dc, source->file, source->tables))
            return kNotThisFile;
        TEXTMETRICW metrics;
        if (!GetTextMetricsW(dc, &metrics) || metrics.tmHeight <= 0 || metrics.tmAveCharWidth <= 0)
            return kNotMeasured;
        constexpr int kChunk = 64;
        std::vector<INT> extents(kChunk);
        long long width = 0;
        for (std::size_t at = 0; at < text.size(); at += kChunk) {
            const int count = static_cast<int>(text.size() - at < kChunk ? text.size() - at : kChunk);
            SIZE extent;
            if (!GetTextExtentExPointW(dc, text.data() + at, count, 0, nullptr, extents.data(), &extent))
                return kNotMeasured;
            width += extent.cx;
            ExtTextOutW(dc, 0, 0, 0, nullptr, text.data() + at, static_cast<UINT>(count), nullptr);
        }
        // A font of embedded bitmaps alone is measured as the engine draws its images,
        // which not every engine does (Wine's measures them 0 wide): its tables were
        // judged, and the trial still finds a crash or a hang.
        if (!text.empty() && width <= 0 && face.outlines)
            return kNoWidth;
    }
    return kSound;
}

// A file of the child's own in the temporary folder holding the bytes, for the formats
// the system adds only from a file (.fon, .fnt, .fot): removed when the trial ends.
class TemporaryCopy {
public:
    explicit TemporaryCopy(const std::vector<std::uint8_t>& bytes)
    {
        char folder[MAX_PATH] = {}, name[MAX_PATH] = {};
        const DWORD length = GetTempPathA(MAX_PATH, folder);
        if (length == 0 || length >= MAX_PATH || !GetTempFileNameA(folder, "qmt", 0, name))
            return;
        if (WriteNewFile(name, bytes, CREATE_ALWAYS) == ERROR_SUCCESS)
            path_ = name;
        else
            DeleteFileA(name);
    }
    ~TemporaryCopy()
    {
        if (!path_.empty())
            DeleteFileA(path_.c_str());
    }
    TemporaryCopy(const TemporaryCopy&) = delete;
    TemporaryCopy& operator=(const TemporaryCopy&) = delete;
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

// The faces of TrueType or OpenType bytes added from memory, each drawn and checked to be
// made of the bytes' own tables.
TrialResult TryFaces(HDC dc, const std::vector<std::uint8_t>& bytes, const std::vector<FontFace>& faces)
{
    const std::vector<std::vector<TableRecord>> tables = FontTableRecords(bytes);
    for (std::size_t i = 0; i < faces.size(); ++i) {
        const std::optional<FaceSource> source =
            i < tables.size() ? std::optional<FaceSource>(FaceSource{bytes, tables[i]}) : std::nullopt;
        if (const TrialResult result = TryFace(dc, faces[i], source ? &*source : nullptr); result != kSound)
            return result;
    }
    return kSound;
}

// Family names no other font has: this process's id, the file's serial in this process
// and the member.
std::vector<std::u16string> OwnFamilies(unsigned serial, std::size_t members)
{
    std::vector<std::u16string> families;
    for (std::size_t m = 0; m < members; ++m) {
        const std::string name = "Quillmoor Trial " + std::to_string(GetCurrentProcessId()) + "-" +
                                 std::to_string(serial) + "-" + std::to_string(m);
        families.emplace_back(name.begin(), name.end());
    }
    return families;
}

// Tries one font: TrueType and OpenType from memory, the older formats from a file (the
// path given, or a copy of the bytes). `serial`: the file's number in this process.
TrialResult TryBytes(const std::vector<std::uint8_t>& bytes, const std::string& path, unsigned serial)
{
    const FontFileFacts facts = ReadFontFile(bytes);
    if (facts.format != FontFileFacts::Format::Other && !facts.sound)
        return kUnreadable;
    if (facts.format == FontFileFacts::Format::Other && !ReadFontResource(bytes).sound)
        return kUnreadable;
    HANDLE added = nullptr;
    std::optional<TemporaryCopy> copy;
    std::string file = path;
    if (facts.sound) {
        DWORD fonts = 0;
        added = AddFontMemResourceEx(const_cast<std::uint8_t*>(bytes.data()), static_cast<DWORD>(bytes.size()),
                                     nullptr, &fonts);
        if (!added || fonts == 0)
            return kNotAdded;
    } else {
        if (file.empty()) {
            copy.emplace(bytes);
            file = copy->path();
        }
        if (file.empty() || AddFontResourceExA(file.c_str(), FR_PRIVATE, nullptr) <= 0)
            return kNotAdded;
    }
    // A memory bitmap to draw into: nothing reaches the screen.
    ScopedDC dc(CreateCompatibleDC(nullptr));
    ScopedGdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(dc.get(), 256, 64));
    ScopedSelect selected(dc.get(), bitmap.get());
    TrialResult result = kSound;
    if (facts.sound) {
        result = TryFaces(dc.get(), bytes, facts.faces);
        if (result == kNotThisFile) {
            // Another font of the family stands in the way: the same bytes under family
            // names of their own, so that the font asked for can only be this file's.
            const std::optional<std::vector<std::uint8_t>> own = WithOwnFamilies(bytes, OwnFamilies(serial, facts.faces.size()));
            const FontFileFacts ownFacts = own ? ReadFontFile(*own) : FontFileFacts();
            DWORD fonts = 0;
            HANDLE ownAdded = ownFacts.sound ? AddFontMemResourceEx(const_cast<std::uint8_t*>(own->data()),
                                                                    static_cast<DWORD>(own->size()), nullptr, &fonts)
                                             : nullptr;
            if (ownAdded && fonts > 0)
                result = TryFaces(dc.get(), *own, ownFacts.faces);
            if (ownAdded)
                RemoveFontMemResourceEx(ownAdded);
        }
    } else {
        for (const FontFace& face : facts.faces) {
            if ((result = TryFace(dc.get(), face, nullptr)) != kSound)
                break;
        }
    }
    if (added)
        RemoveFontMemResourceEx(added);
    else
        RemoveFontResourceExA(file.c_str(), FR_PRIVATE, nullptr);
    return result;
}

// The bytes of a section the parent handed over.
std::optional<std::vector<std::uint8_t>> SectionBytes(HANDLE section, unsigned long long size)
{
    if (size > static_cast<unsigned long long>(kLargestFontFile))
        return std::nullopt;
    const void* view = MapViewOfFile(section, FILE_MAP_READ, 0, 0, static_cast<SIZE_T>(size));
    CloseHandle(section);
    if (!view)
        return std::nullopt;
    const auto* first = static_cast<const std::uint8_t*>(view);
    std::vector<std::uint8_t> bytes(first, first + size);
    UnmapViewOfFile(view);
    return bytes;
}

// Answers requests ("<section handle> <size>" a line) until the parent closes the pipe.
int Serve()
{
    HANDLE in = GetStdHandle(STD_INPUT_HANDLE), out = GetStdHandle(STD_OUTPUT_HANDLE);
    std::string line;
    unsigned serial = 0;  // the requests answered
    for (;;) {
        char c = 0;
        DWORD read = 0;
        if (!ReadFile(in, &c, 1, &read, nullptr) || read == 0)
            return kSound;
        if (c != '\n') {
            if (line.size() > 64)
                return kUnreadable;
            line.push_back(c);
            continue;
        }
        unsigned long long handle = 0, size = 0;
        unsigned char answer = kUnreadable;
        if (std::sscanf(line.c_str(), "%llu %llu", &handle, &size) == 2) {
            const auto bytes = SectionBytes(reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(handle)), size);
            answer = static_cast<unsigned char>(bytes ? TryBytes(*bytes, {}, ++serial) : kUnreadable);
        }
        line.clear();
        DWORD written = 0;
        if (!WriteFile(out, &answer, 1, &written, nullptr))
            return kSound;
    }
}

}  // namespace

int RunFontTrial(const std::string& argument)
{
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    SetUnhandledExceptionFilter(&EndOnFault);
    if (argument == kServeArgument)
        return Serve();
    const std::optional<std::vector<std::uint8_t>> bytes = ReadWholeFile(argument);
    return bytes ? TryBytes(*bytes, argument, 0) : kUnreadable;
}
