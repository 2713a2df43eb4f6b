#include "catalogue/font_enum.h"

#include <string>
#include <vector>

#include "catalogue/font_names.h"

namespace {

// The names of the enumeration in progress, in reporting order. Not re-entrant: only
// the user-interface thread enumerates.
std::vector<std::string> collected;

}  // namespace

int CALLBACK CollectFontName(const LOGFONTA* report, const TEXTMETRICA*, DWORD, LPARAM)
{
    const auto* full = reinterpret_cast<const ENUMLOGFONTEXA*>(report);
    const char* face = reinterpret_cast<const char*>(full->elfLogFont.lfFaceName);
    collected.emplace_back(face, strnlen(face, LF_FACESIZE - 1));
    return 1;
}

TextList GetInstalledFontNames()
{
    collected.clear();
    LOGFONTA request = {};
    request.lfCharSet = DEFAULT_CHARSET;
    HDC screen = GetDC(nullptr);
    EnumFontFamiliesExA(screen, &request, reinterpret_cast<FONTENUMPROCA>(&CollectFontName), 0, 0);
    ReleaseDC(nullptr, screen);
    return TextList(ReduceFontNames(collected));
}
