#include "fontinfo/font_info.h"

#include <windows.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <tuple>
#include <vector>

#include "controls/text_window.h"
#include "fontcheck/font_folders.h"
#include "base/dbcs_text.h"
#include "fontdata/font_file.h"
#include "fontinfo/coverage.h"
#include "fontinfo/info_text.h"
#include "win/scoped.h"
#include "win/whole_file.h"
#include "win/window_text.h"
#include "window/main_window.h"

namespace {

// GetFontData's tags are the table's four letters in the order they are stored.
constexpr DWORD TableTag(const char (&t)[5])
{
    return static_cast<DWORD>(static_cast<unsigned char>(t[0])) | static_cast<DWORD>(static_cast<unsigned char>(t[1])) << 8 |
           static_cast<DWORD>(static_cast<unsigned char>(t[2])) << 16 |
           static_cast<DWORD>(static_cast<unsigned char>(t[3])) << 24;
}

bool SameName(std::u16string_view a, std::u16string_view b)
{
    return AsciiLower(a) == AsciiLower(b);
}

// The ideographs code page 936 decodes: the GBK set, from the code page itself.
const std::vector<CharRange>& GbkIdeographs()
{
    static const std::vector<CharRange> set = [] {
        std::vector<char32_t> decoded;
        for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
            for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
                if (trail == 0x7F)
                    continue;
                const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
                wchar_t out[2] = {};
                if (MultiByteToWideChar(936, MB_ERR_INVALID_CHARS, pair, 2, out, 2) == 1)
                    decoded.push_back(out[0]);
            }
        }
        return IdeographsAmong(decoded);
    }();
    return set;
}

// A language as the desktop names it, else its number.
std::u16string LanguageName(std::uint16_t language)
{
    wchar_t name[128] = {};
    if (GetLocaleInfoW(MAKELCID(language, SORT_DEFAULT), LOCALE_SLOCALIZEDDISPLAYNAME, name, 128) > 0)
        return reinterpret_cast<const char16_t*>(name);
    char number[16];
    wsprintfA(number, "0x%04X", language);
    return WideText(number);
}

// The sample's text as characters.
std::u32string SampleCharacters(const MainWindow& window)
{
    return Characters(WideText(window.编辑框_输入的文字.Text()));
}

// What a face read by the judge gives the window.
void Describe(FontInfo& info, const FontFace& face, const std::u32string& sample)
{
    if (face.families) {
        const NameGroups groups = GroupNames(*face.families);
        for (const NameGroup& group : groups.shown) {
            for (const std::uint16_t language : group.languages)
                info.names.push_back({group.text, LanguageName(language), 0});
            info.names.back().moreLanguages = group.moreLanguages;
        }
        info.moreNames = groups.more;
    }
    info.cff = face.cff;
    info.cff2 = face.cff2;
    info.outlines = face.outlines;
    info.bitmaps = face.bitmaps;
    info.axes = face.axes;
    info.glyphs = face.glyphs;
    info.unitsPerEm = face.unitsPerEm;
    if (face.about)
        info.about = *face.about;
    static const std::vector<CharRange> none;
    const std::vector<CharRange>& mapped = face.characters ? face.characters->ranges : none;
    info.coverage = CountCoverage(mapped, GbkIdeographs());
    info.missing = MissingCharacters(sample, mapped);
}

// A table of the font selected into the DC, or the whole file (0) or collection ("ttcf").
std::optional<std::vector<std::uint8_t>> FontData(HDC dc, DWORD table)
{
    const DWORD size = GetFontData(dc, table, 0, nullptr, 0);
    if (size == GDI_ERROR || size == 0 || size > static_cast<DWORD>(kLargestFontFile))
        return std::nullopt;
    std::vector<std::uint8_t> bytes(size);
    if (GetFontData(dc, table, 0, bytes.data(), size) != size)
        return std::nullopt;
    return bytes;
}

LOGFONTA Request(const std::string& family, LONG weight, BYTE italic)
{
    LOGFONTA request = {};
    request.lfHeight = -16;
    request.lfWeight = weight;
    request.lfItalic = italic;
    request.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(request.lfFaceName, family.c_str(), LF_FACESIZE);
    return request;
}

// A style of the family, as the system enumerates it.
struct EnumeratedStyle {
    LONG weight;
    BYTE italic;
    std::string full;
};

int CALLBACK CollectStyle(const LOGFONTA* font, const TEXTMETRICA*, DWORD, LPARAM data)
{
    auto& styles = *reinterpret_cast<std::vector<EnumeratedStyle>*>(data);
    const auto* named = reinterpret_cast<const ENUMLOGFONTEXA*>(font);
    const bool known = std::any_of(styles.begin(), styles.end(), [&](const EnumeratedStyle& s) {
        return s.weight == font->lfWeight && s.italic == font->lfItalic;
    });
    if (!known && font->lfFaceName[0] != '@')
        styles.push_back({font->lfWeight, font->lfItalic, reinterpret_cast<const char*>(named->elfFullName)});
    return 1;
}

// Each style of an installed family: its full name and version from its own name table.
std::vector<StyleInfo> InstalledStyles(HDC dc, const std::string& family)
{
    std::vector<EnumeratedStyle> styles;
    LOGFONTA wanted = Request(family, 0, 0);
    EnumFontFamiliesExA(dc, &wanted, &CollectStyle, reinterpret_cast<LPARAM>(&styles), 0);
    std::sort(styles.begin(), styles.end(), [](const EnumeratedStyle& a, const EnumeratedStyle& b) {
        return std::tie(a.italic, a.weight) < std::tie(b.italic, b.weight);
    });
    std::vector<StyleInfo> infos;
    for (const EnumeratedStyle& style : styles) {
        StyleInfo info{WideText(style.full), {}, {}};
        const LOGFONTA request = Request(family, style.weight, style.italic);
        ScopedFont font(CreateFontIndirectA(&request));
        ScopedSelect selected(dc, font.get());
        if (const auto table = FontData(dc, TableTag("name"))) {
            if (const std::optional<FontNames> names = ReadNameTable(*table)) {
                info.full = names->full;
                if (names->about)
                    info.version = names->about->version;
            }
        }
        infos.push_back(std::move(info));
    }
    return infos;
}

// The files of the family in the fonts folders, under any of its names, put with the
// styles they hold.
FontInfo WithFiles(FontInfo info, const std::vector<std::u16string>& names, const std::vector<FolderFont>& files)
{
    for (const FolderFont& file : files) {
        if (!std::any_of(names.begin(), names.end(), [&](const std::u16string& n) { return HoldsFamily(file, n); }))
            continue;
        const StyleFile found{file.path, file.size};
        bool placed = false;
        for (const FontNames& face : file.faces) {
            for (StyleInfo& style : info.styles) {
                const bool listed = std::any_of(style.files.begin(), style.files.end(),
                                                [&](const StyleFile& f) { return f.path == found.path; });
                if (!listed && SameName(style.full, face.full)) {
                    style.files.push_back(found);
                    placed = true;
                }
            }
        }
        if (!placed)
            info.otherFiles.push_back(found);
    }
    info.files = FilesState::Searched;
    return info;
}

// The face selected into the DC, read from the tables the system hands out, and its place
// when it is a member of a collection.
std::optional<FontFace> InstalledFace(HDC dc, FontInfo& info)
{
    const auto head = FontData(dc, TableTag("head")), maxp = FontData(dc, TableTag("maxp"));
    const auto cmap = FontData(dc, TableTag("cmap")), name = FontData(dc, TableTag("name"));
    const auto os2 = FontData(dc, TableTag("OS/2")), fvar = FontData(dc, TableTag("fvar"));
    const auto has = [dc](DWORD table) { return GetFontData(dc, table, 0, nullptr, 0) != GDI_ERROR; };
    const auto bytes = [](const std::optional<std::vector<std::uint8_t>>& table) {
        return table ? std::span<const std::uint8_t>(*table) : std::span<const std::uint8_t>();
    };
    std::string bitmaps;
    for (const auto& [kind, tag] : {std::pair{"EBDT", TableTag("EBLC")}, std::pair{"CBDT", TableTag("CBLC")},
                                    std::pair{"sbix", TableTag("sbix")}}) {
        if (has(tag))
            bitmaps += (bitmaps.empty() ? "" : ", ") + std::string(kind);
    }
    const bool cff = has(TableTag("CFF ")), cff2 = has(TableTag("CFF2"));
    const std::optional<FontFace> face =
        ReadFontTables({bytes(head), bytes(maxp), bytes(cmap), bytes(name), bytes(os2), bytes(fvar), cff, cff2,
                        cff || cff2 || has(TableTag("glyf")) || bitmaps.empty(), bitmaps});
    // A member of a collection: the collection's header and directories say which.
    const DWORD collection = GetFontData(dc, TableTag("ttcf"), 0, nullptr, 0);
    if (face && name && collection != GDI_ERROR && collection > 0) {
        std::vector<std::uint8_t> start(std::min<DWORD>(collection, 64 * 1024));
        if (GetFontData(dc, TableTag("ttcf"), 0, start.data(), static_cast<DWORD>(start.size())) == start.size()) {
            if (const std::optional<CollectionPlace> place = CollectionMember(start, *name)) {
                info.member = place->member;
                info.members = place->members;
            }
        }
    }
    return face;
}

}  // namespace

void FontInformation::ShowInstalled(MainWindow& window, const std::string& family)
{
    ScopedDC dc(CreateCompatibleDC(nullptr));
    FontInfo info;
    info.family = WideText(family);
    info.files = FilesState::Searching;
    info.styles = InstalledStyles(dc.get(), family);

    const LOGFONTA request = Request(family, FW_NORMAL, FALSE);
    ScopedFont font(CreateFontIndirectA(&request));
    ScopedSelect selected(dc.get(), font.get());
    const std::optional<FontFace> face = InstalledFace(dc.get(), info);
    std::vector<std::u16string> names = {info.family};
    if (face) {
        Describe(info, *face, SampleCharacters(window));
        if (face->families) {
            for (const LocalName& name : *face->families)
                names.push_back(name.text);
        }
    } else {
        // Not a font the program can read (a bitmap font, say): its characters as the system
        // gives them.
        info.readable = false;
        std::vector<CharRange> mapped;
        if (const DWORD size = GetFontUnicodeRanges(dc.get(), nullptr)) {
            std::vector<std::uint8_t> buffer(size);
            auto* glyphs = reinterpret_cast<GLYPHSET*>(buffer.data());
            if (GetFontUnicodeRanges(dc.get(), glyphs)) {
                for (DWORD r = 0; r < glyphs->cRanges; ++r) {
                    const WCRANGE& range = glyphs->ranges[r];
                    if (range.cGlyphs > 0)
                        mapped.push_back({range.wcLow, static_cast<char32_t>(range.wcLow + range.cGlyphs - 1)});
                }
            }
        }
        FontFace stand;
        auto characters = std::make_shared<CharacterMap>();
        characters->ranges = std::move(mapped);
        stand.characters = std::move(characters);
        Describe(info, stand, SampleCharacters(window));
    }
    // The files: at once when every file of the fonts folders was read before, else looked
    // for off the window's thread while the window shows the rest.
    const FolderLook known = folders_.FontsAsRead();
    if (known.complete) {
        ShowTextWindow(window.hwnd(), InfoCaption(info.family), InfoText(WithFiles(info, names, known.fonts)));
        return;
    }
    ShowTextWindow(window.hwnd(), InfoCaption(info.family), InfoText(info),
                   [info, names, folders = folders_] { return InfoText(WithFiles(info, names, folders.Fonts())); });
}

namespace {

void ShowFile(MainWindow& window, const JudgedFontFile& file)
{
    if (file.facts.faces.empty())
        return;
    const FontFace& first = file.facts.faces.front();
    FontInfo info;
    info.family = FamilyFor(first, GetUserDefaultLangID());
    info.files = FilesState::NotInstalled;
    for (const FontFace& face : file.facts.faces) {
        if (face.family == first.family)
            info.styles.push_back({face.full, face.about ? face.about->version : std::u16string(), {}});
    }
    char full[MAX_PATH] = {};
    const DWORD length = GetFullPathNameA(file.path.c_str(), MAX_PATH, full, nullptr);
    info.otherFiles.push_back({WideText(length > 0 && length < MAX_PATH ? full : file.path), file.bytes.size()});
    if (file.facts.format == FontFileFacts::Format::Collection)
        info.members = file.facts.faces.size();
    Describe(info, first, SampleCharacters(window));
    ShowTextWindow(window.hwnd(), InfoCaption(info.family), InfoText(info));
}

}  // namespace

void FontInformation::ShowListed(MainWindow& window)
{
    ListBox& list = window.列表框_字体;
    const int selected = list.Selected();
    if (selected < 0)
        return;
    ShowInstalled(window, list.ItemText(selected));
}

void FontInformation::ShowSample(MainWindow& window)
{
    const EditBox& sample = window.编辑框_输入的文字;
    if (const std::shared_ptr<const JudgedFontFile>& file = sample.ShownFile()) {
        ShowFile(window, *file);
        return;
    }
    const std::string family = sample.FaceName();
    if (!family.empty())
        ShowInstalled(window, family);
}
