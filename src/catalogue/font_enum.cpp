#include "catalogue/font_enum.h"

#include "catalogue/font_names.h"
#include "win/fatal.h"
#include "win/scoped.h"

int CALLBACK CollectFontName(const LOGFONTA* report, const TEXTMETRICA*, DWORD, LPARAM userValue)
{
    // Called from the system's code: no exception may unwind through it.
    return Guarded(
        [&] {
            auto* collected = reinterpret_cast<std::vector<std::string>*>(userValue);
            const auto* full = reinterpret_cast<const ENUMLOGFONTEXA*>(report);
            const char* face = reinterpret_cast<const char*>(full->elfLogFont.lfFaceName);
            collected->emplace_back(face, strnlen(face, LF_FACESIZE - 1));
            return 1;
        },
        0);
}

std::vector<std::string> EnumerateFaceNames()
{
    std::vector<std::string> collected;
    LOGFONTA request = {};
    request.lfCharSet = DEFAULT_CHARSET;
    ScopedGetDC screen(nullptr);
    EnumFontFamiliesExA(screen.dc(), &request, reinterpret_cast<FONTENUMPROCA>(&CollectFontName),
                        reinterpret_cast<LPARAM>(&collected), 0);
    return collected;
}

TextList GetInstalledFontNames()
{
    return TextList(ReduceFontNames(EnumerateFaceNames()));
}
