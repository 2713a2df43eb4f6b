#include "win/font_trial.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <optional>
#include <tuple>
#include <vector>

#include "fontdata/font_file.h"
#include "win/scoped.h"
#include "win/whole_file.h"

namespace {

// The child's exit codes.
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

}  // namespace

namespace {

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

// Starts the child with the argument, inheriting handles when asked, and waits for it.
TrialVerdict RunChild(const std::string& argument, bool inherit)
{
    const std::string program = TrialProgram().empty() ? OwnProgram() : TrialProgram();
    std::string command = "\"" + program + "\" " + kFontTrialSwitch + " \"" + argument + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION child = {};
    if (!CreateProcessA(program.c_str(), command.data(), nullptr, nullptr, inherit, CREATE_SUSPENDED, nullptr,
                        nullptr, &startup, &child))
        return TrialVerdict::NotTried;
    ScopedHandle process(child.hProcess), thread(child.hThread);
    if (HANDLE job = TrialJob())
        AssignProcessToJobObject(job, process.get());
    ResumeThread(thread.get());
    if (WaitForSingleObject(process.get(), kFontTrialTimeoutMs) != WAIT_OBJECT_0) {
        TerminateProcess(process.get(), 1);
        WaitForSingleObject(process.get(), kFontTrialTimeoutMs);
        return TrialVerdict::TimedOut;
    }
    DWORD code = 1;
    if (!GetExitCodeProcess(process.get(), &code))
        return TrialVerdict::Refused;
    if (code == kSound)
        return TrialVerdict::Sound;
    // The child's own fault code, or an exception code the system ended it with.
    return code == kFaulted || code >= 0xC0000000u ? TrialVerdict::Crashed : TrialVerdict::Refused;
}

constexpr const char* kSectionPrefix = "section:";

}  // namespace

TrialVerdict TryFontFile(const std::string& path)
{
    return RunChild(path, false);
}

namespace {

LOGFONTW FaceRequest(const std::u16string& family, LONG height)
{
    LOGFONTW request = {};
    request.lfHeight = height;
    request.lfCharSet = DEFAULT_CHARSET;
    const std::size_t length = family.size() < LF_FACESIZE ? family.size() : LF_FACESIZE - 1;
    family.copy(reinterpret_cast<char16_t*>(request.lfFaceName), length);
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
    const int length = GetTextFaceW(dc, LF_FACESIZE, selected);
    if (length <= 0)
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
        LOGFONTW request = FaceRequest(face.family, size);
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

}  // namespace

void UseFontTrialProgram(const std::string& exe)
{
    TrialProgram() = exe;
}

TrialVerdict TryFontBytes(const std::vector<std::uint8_t>& bytes)
{
    static std::map<std::pair<std::uint64_t, std::size_t>, TrialVerdict> verdicts;
    const std::pair<std::uint64_t, std::size_t> key{ContentKey(bytes), bytes.size()};
    if (const auto known = verdicts.find(key); known != verdicts.end())
        return known->second;
    if (bytes.empty())
        return TrialVerdict::Refused;

    // The bytes in a section of the program's own; the child inherits a read-only handle.
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
    HANDLE readOnly = nullptr;
    if (!DuplicateHandle(GetCurrentProcess(), section.get(), GetCurrentProcess(), &readOnly, FILE_MAP_READ, TRUE,
                         0))
        return TrialVerdict::NotTried;
    ScopedHandle inherited(readOnly);
    const TrialVerdict verdict = RunChild(
        kSectionPrefix + std::to_string(reinterpret_cast<std::uintptr_t>(readOnly)) + ":" + std::to_string(size),
        true);
    if (verdict != TrialVerdict::TimedOut && verdict != TrialVerdict::NotTried)
        verdicts[key] = verdict;
    return verdict;
}

namespace {

// The bytes the parent handed over in a section: "section:<handle>:<size>".
std::optional<std::vector<std::uint8_t>> SectionBytes(const std::string& argument)
{
    unsigned long long handle = 0, size = 0;
    if (std::sscanf(argument.c_str() + std::strlen(kSectionPrefix), "%llu:%llu", &handle, &size) != 2 ||
        size > static_cast<unsigned long long>(kLargestFontFile))
        return std::nullopt;
    HANDLE section = reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(handle));
    const void* view = MapViewOfFile(section, FILE_MAP_READ, 0, 0, static_cast<SIZE_T>(size));
    if (!view)
        return std::nullopt;
    const auto* first = static_cast<const std::uint8_t*>(view);
    std::vector<std::uint8_t> bytes(first, first + size);
    UnmapViewOfFile(view);
    CloseHandle(section);
    return bytes;
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

}  // namespace

int RunFontTrial(const std::string& argument)
{
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    SetUnhandledExceptionFilter(&EndOnFault);
    const bool inSection = argument.rfind(kSectionPrefix, 0) == 0;
    const std::optional<std::vector<std::uint8_t>> bytes =
        inSection ? SectionBytes(argument) : ReadWholeFile(argument);
    if (!bytes)
        return kUnreadable;
    const FontFileFacts facts = ReadFontFile(*bytes);
    if (facts.format != FontFileFacts::Format::Other && !facts.sound)
        return kUnreadable;

    // TrueType and OpenType bytes are added from memory; the older formats only come from
    // a file, the child's own copy.
    HANDLE added = nullptr;
    std::optional<TemporaryCopy> copy;
    std::string path = argument;
    if (facts.sound) {
        DWORD fonts = 0;
        added = AddFontMemResourceEx(const_cast<std::uint8_t*>(bytes->data()), static_cast<DWORD>(bytes->size()),
                                     nullptr, &fonts);
        if (!added || fonts == 0)
            return kNotAdded;
    } else {
        if (inSection) {
            copy.emplace(*bytes);
            path = copy->path();
        }
        if (path.empty() || AddFontResourceExA(path.c_str(), FR_PRIVATE, nullptr) <= 0)
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
        RemoveFontResourceExA(path.c_str(), FR_PRIVATE, nullptr);
    return result;
}
