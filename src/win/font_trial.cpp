#include "win/font_trial.h"

#include <windows.h>

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

std::optional<FontFileIdentity> IdentifyFontFile(const std::string& path)
{
    char full[MAX_PATH * 2] = {};
    WIN32_FILE_ATTRIBUTE_DATA data;
    const DWORD length = GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
    if (length == 0 || length >= sizeof full || !GetFileAttributesExA(full, GetFileExInfoStandard, &data))
        return std::nullopt;
    const ULONGLONG size = static_cast<ULONGLONG>(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
    const ULONGLONG written =
        static_cast<ULONGLONG>(data.ftLastWriteTime.dwHighDateTime) << 32 | data.ftLastWriteTime.dwLowDateTime;
    return FontFileIdentity{CharUpperA(full), size, written};
}

bool TryFontFile(const std::string& path)
{
    const std::string program = TrialProgram().empty() ? OwnProgram() : TrialProgram();
    std::string command = "\"" + program + "\" " + kFontTrialSwitch + " \"" + path + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION child = {};
    if (!CreateProcessA(program.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &child))
        return false;
    ScopedHandle process(child.hProcess), thread(child.hThread);
    if (WaitForSingleObject(process.get(), kFontTrialTimeoutMs) != WAIT_OBJECT_0) {
        TerminateProcess(process.get(), 1);
        WaitForSingleObject(process.get(), kFontTrialTimeoutMs);
        return false;
    }
    DWORD code = 1;
    return GetExitCodeProcess(process.get(), &code) && code == kSound;
}

namespace {

int CALLBACK NoteMetrics(const LOGFONTW*, const TEXTMETRICW* metrics, DWORD, LPARAM found)
{
    if (metrics->tmHeight > 0 && metrics->tmAveCharWidth > 0)
        *reinterpret_cast<bool*>(found) = true;
    return 1;
}

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

// One face: enumerated with metrics, created, and every sampled character measured and
// drawn at two sizes.
TrialResult TryFace(HDC dc, const FontFace& face)
{
    bool found = false;
    LOGFONTW request = FaceRequest(face.family, 0);
    EnumFontFamiliesExW(dc, &request, &NoteMetrics, reinterpret_cast<LPARAM>(&found), 0);
    if (!found)
        return kNotEnumerated;
    const std::wstring text = Utf16(face.characters->sample);
    for (LONG size : {-12, -48}) {
        request = FaceRequest(face.family, size);
        ScopedFont font(CreateFontIndirectW(&request));
        if (!font)
            return kNotCreated;
        ScopedSelect selected(dc, font.get());
        TEXTMETRICW metrics;
        if (!GetTextMetricsW(dc, &metrics) || metrics.tmHeight <= 0)
            return kNotMeasured;
        constexpr int kChunk = 64;
        std::vector<INT> extents(kChunk);
        for (std::size_t at = 0; at < text.size(); at += kChunk) {
            const int count = static_cast<int>(text.size() - at < kChunk ? text.size() - at : kChunk);
            SIZE extent;
            if (!GetTextExtentExPointW(dc, text.data() + at, count, 0, nullptr, extents.data(), &extent))
                return kNotMeasured;
            ExtTextOutW(dc, 0, 0, 0, nullptr, text.data() + at, static_cast<UINT>(count), nullptr);
        }
    }
    return kSound;
}

}  // namespace

void UseFontTrialProgram(const std::string& exe)
{
    TrialProgram() = exe;
}

std::optional<bool> FontBytesSurviveTrial(const std::vector<std::uint8_t>& bytes, const std::string& fileName)
{
    static std::map<std::pair<std::uint64_t, std::size_t>, bool> verdicts;
    const std::pair<std::uint64_t, std::size_t> key{ContentKey(bytes), bytes.size()};
    if (const auto known = verdicts.find(key); known != verdicts.end())
        return known->second;

    // A copy of the program's own making in the temporary folder, under the file's own
    // extension (the system may go by it); never in a fonts folder, whose files every new
    // process loads.
    static unsigned serial = 0;
    char folder[MAX_PATH] = {};
    const DWORD length = GetTempPathA(MAX_PATH, folder);
    if (length == 0 || length >= MAX_PATH)
        return std::nullopt;
    const std::string copy = std::string(folder) + "qmtrial-" + std::to_string(GetCurrentProcessId()) + "-" +
                             std::to_string(++serial) + CopyExtension(fileName);
    if (WriteNewFile(copy, bytes) != ERROR_SUCCESS)
        return std::nullopt;
    const bool sound = TryFontFile(copy);
    DeleteFileA(copy.c_str());
    verdicts[key] = sound;
    return sound;
}

int RunFontTrial(const std::string& path)
{
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    SetUnhandledExceptionFilter(&EndOnFault);
    const std::optional<std::vector<std::uint8_t>> bytes = ReadWholeFile(path);
    if (!bytes)
        return kUnreadable;
    const FontFileFacts facts = ReadFontFile(*bytes);
    if (facts.format != FontFileFacts::Format::Other && !facts.sound)
        return kUnreadable;
    if (AddFontResourceExA(path.c_str(), FR_PRIVATE, nullptr) <= 0)
        return kNotAdded;
    // A memory bitmap to draw into: nothing reaches the screen.
    ScopedDC dc(CreateCompatibleDC(nullptr));
    ScopedGdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(dc.get(), 256, 64));
    ScopedSelect selected(dc.get(), bitmap.get());
    TrialResult result = kSound;
    for (const FontFace& face : facts.faces) {
        if ((result = TryFace(dc.get(), face)) != kSound)
            break;
    }
    RemoveFontResourceExA(path.c_str(), FR_PRIVATE, nullptr);
    return result;
}
