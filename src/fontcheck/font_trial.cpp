#include "fontcheck/font_trial.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <mutex>
#include <optional>
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
};

// A fault in the system's font code ends the child at once, with a code of its own: no
// crash dialog, no debugger.
LONG WINAPI EndOnFault(EXCEPTION_POINTERS*)
{
    TerminateProcess(GetCurrentProcess(), kFaulted);
    return EXCEPTION_EXECUTE_HANDLER;
}

std::mutex& ProgramLock()
{
    static std::mutex lock;
    return lock;
}

std::string& TrialProgram()
{
    static std::string program;
    return program;
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

std::string ChildProgram()
{
    std::lock_guard<std::mutex> hold(ProgramLock());
    return TrialProgram().empty() ? OwnProgram() : TrialProgram();
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

// Starts the child with the argument, in the job, with the given standard handles (or
// none). Null when it cannot be started.
HANDLE StartChild(const std::string& argument, HANDLE input, HANDLE output)
{
    const std::string program = ChildProgram();
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

// What the program found of bytes it tried, by content, for every thread.
class Verdicts {
public:
    std::optional<TrialVerdict> Find(const std::vector<std::uint8_t>& bytes)
    {
        std::lock_guard<std::mutex> hold(lock_);
        const auto known = verdicts_.find(Key(bytes));
        return known == verdicts_.end() ? std::nullopt : std::optional<TrialVerdict>(known->second);
    }
    void Keep(const std::vector<std::uint8_t>& bytes, TrialVerdict verdict)
    {
        std::lock_guard<std::mutex> hold(lock_);
        verdicts_[Key(bytes)] = verdict;
    }

private:
    static Digest Key(const std::vector<std::uint8_t>& bytes) { return Sha256(bytes); }
    std::mutex lock_;
    std::map<Digest, TrialVerdict> verdicts_;
};

Verdicts& KnownVerdicts()
{
    static Verdicts verdicts;
    return verdicts;
}

}  // namespace

// A serving child: its process, the pipe its requests go down and the one its answers
// come up.
struct TrialSession::Child {
    ScopedHandle process, requests, answers;

    static std::unique_ptr<Child> Start()
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
            process = StartChild(kServeArgument, in.get(), out.get());
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
    TrialVerdict Ask(HANDLE section, std::size_t size, bool& ended)
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
                if (ReadFile(answers.get(), &answer, 1, &read, nullptr) && read == 1)
                    return answer == kSound ? TrialVerdict::Sound : TrialVerdict::Refused;
            }
            if (WaitForSingleObject(process.get(), 2) == WAIT_OBJECT_0) {
                if (PeekNamedPipe(answers.get(), nullptr, 0, nullptr, &waiting, nullptr) && waiting > 0)
                    continue;  // it answered, then ended
                ended = true;
                return EndedWith(process.get());
            }
            if (GetTickCount() - start >= kFontTrialTimeoutMs) {
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

TrialSession::TrialSession() = default;
TrialSession::~TrialSession() = default;

int TrialSession::childrenStarted() const
{
    return started_;
}

TrialVerdict TrialSession::Try(const std::vector<std::uint8_t>& bytes)
{
    if (const std::optional<TrialVerdict> known = KnownVerdicts().Find(bytes))
        return *known;
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

    if (!child_) {
        child_ = Child::Start();
        if (!child_)
            return TrialVerdict::NotTried;
        ++started_;
    }
    bool ended = false;
    const TrialVerdict verdict = child_->Ask(section.get(), bytes.size(), ended);
    if (ended)
        child_.reset();  // the next file gets a new child
    if (verdict != TrialVerdict::TimedOut && verdict != TrialVerdict::NotTried)
        KnownVerdicts().Keep(bytes, verdict);
    return verdict;
}

TrialVerdict TryFontBytes(const std::vector<std::uint8_t>& bytes)
{
    TrialSession session;
    return session.Try(bytes);
}

TrialVerdict TryFontFile(const std::string& path)
{
    ScopedHandle process(StartChild(path, nullptr, nullptr));
    if (!process.valid())
        return TrialVerdict::NotTried;
    if (WaitForSingleObject(process.get(), kFontTrialTimeoutMs) != WAIT_OBJECT_0) {
        TerminateProcess(process.get(), 1);
        WaitForSingleObject(process.get(), kFontTrialTimeoutMs);
        return TrialVerdict::TimedOut;
    }
    return EndedWith(process.get());
}

void UseFontTrialProgram(const std::string& exe)
{
    std::lock_guard<std::mutex> hold(ProgramLock());
    TrialProgram() = exe;
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

// One face: created at two sizes, found to be itself with metrics, and every sampled
// character measured and drawn. Characters that all measure 0 wide are an engine reading
// metrics the judge could not see to be wrong.
TrialResult TryFace(HDC dc, const FontFace& face)
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
        if (!text.empty() && width <= 0)
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

// Tries one font: TrueType and OpenType from memory, the older formats from a file (the
// path given, or a copy of the bytes).
TrialResult TryBytes(const std::vector<std::uint8_t>& bytes, const std::string& path)
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
    for (const FontFace& face : facts.faces) {
        if ((result = TryFace(dc.get(), face)) != kSound)
            break;
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
            answer = static_cast<unsigned char>(bytes ? TryBytes(*bytes, {}) : kUnreadable);
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
    return bytes ? TryBytes(*bytes, argument) : kUnreadable;
}
