// name: every record inside the string storage, the family and full names and what a font
// says about itself, every family name with its language.
#include <array>

#include "fontdata/font_tables.h"

namespace font_reading {

namespace {

// Mac Roman's upper half in Unicode.
constexpr std::array<char16_t, 128> kMacRoman = {
    u'Ä', u'Å', u'Ç', u'É', u'Ñ', u'Ö', u'Ü', u'á', u'à', u'â', u'ä', u'ã', u'å', u'ç', u'é', u'è',
    u'ê', u'ë', u'í', u'ì', u'î', u'ï', u'ñ', u'ó', u'ò', u'ô', u'ö', u'õ', u'ú', u'ù', u'û', u'ü',
    u'†', u'°', u'¢', u'£', u'§', u'•', u'¶', u'ß', u'®', u'©', u'™', u'´', u'¨', u'≠', u'Æ', u'Ø',
    u'∞', u'±', u'≤', u'≥', u'¥', u'µ', u'∂', u'∑', u'∏', u'π', u'∫', u'ª', u'º', u'Ω', u'æ', u'ø',
    u'¿', u'¡', u'¬', u'√', u'ƒ', u'≈', u'∆', u'«', u'»', u'…', u'\u00A0', u'À', u'Ã', u'Õ', u'Œ', u'œ',
    u'–', u'—', u'“', u'”', u'‘', u'’', u'÷', u'◊', u'ÿ', u'Ÿ', u'⁄', u'€', u'‹', u'›', u'ﬁ', u'ﬂ',
    u'‡', u'·', u'‚', u'„', u'‰', u'Â', u'Ê', u'Á', u'Ë', u'È', u'Í', u'Î', u'Ï', u'Ì', u'Ó', u'Ô',
    u'\xF8FF', u'Ò', u'Ú', u'Û', u'Ù', u'ı', u'ˆ', u'˜', u'¯', u'˘', u'˙', u'˚', u'¸', u'˝', u'˛', u'ˇ',
};

// The names of a font: the family (1) and full (4) names, Windows-platform Unicode
// records first, US English before other languages; else Macintosh Roman ones, English
// first. Every family name is kept with its language, one per language. Every record must
// lie inside the string storage. Records may share their text: what is decoded is bounded
// by the table's own size, and a name is at most kLongestName characters (the texts about
// the font, a licence say, kLongestText).
constexpr std::size_t kLongestName = 256, kLongestText = 4096;

// The name ids read: the family and the full name, and what a font says about itself.
constexpr std::uint32_t kCopyright = 0, kFamily = 1, kFull = 4, kVersion = 5, kTrademark = 7, kManufacturer = 8,
                        kDesigner = 9, kLicence = 13, kLicenceUrl = 14, kIds = 15;
constexpr bool IsRead(std::uint32_t id)
{
    return id == kCopyright || id == kFamily || id == kFull || id == kVersion || id == kTrademark ||
           id == kManufacturer || id == kDesigner || id == kLicence || id == kLicenceUrl;
}

}  // namespace

NameFacts ReadNames(const Range& t)
{
    NameFacts facts;
    const auto refused = [](const char* rule) {
        NameFacts f;
        f.fault = {"name", rule};
        return f;
    };
    if (!t.present())
        return refused("absent");
    if (t.size() < 6)
        return refused("cut short");
    const std::uint32_t count = t.U16(2), storage = t.U16(4);
    if (!t.Has(6, 12ull * count))
        return refused("records past the table");
    if (storage > t.size())
        return refused("storage past the table");
    std::uint64_t budget = t.size() + 4096;
    std::array<std::u16string, kIds> best;  // by id: the text of the best rank so far
    std::array<int, kIds> bestRank = {};
    std::vector<LocalName> windowsFamilies, macFamilies;
    // Which languages have a family name already, per platform: looked up for every record.
    std::vector<bool> windowsLanguages(0x10000), macLanguages(0x10000);
    for (std::size_t r = 0; r < count; ++r) {
        const std::size_t record = 6 + r * 12;
        const std::uint32_t platform = t.U16(record), encoding = t.U16(record + 2);
        const std::uint32_t language = t.U16(record + 4), id = t.U16(record + 6);
        const std::uint32_t size = t.U16(record + 8), offset = t.U16(record + 10);
        if (!t.Has(static_cast<std::uint64_t>(storage) + offset, size))
            return refused("a name past the storage");
        if (id >= kIds || !IsRead(id))
            continue;
        const bool windows = platform == 3 && (encoding == 0 || encoding == 1 || encoding == 10);
        const bool mac = platform == 1 && encoding == 0;
        if (!windows && !mac)
            continue;
        const std::uint16_t lang = mac ? (language == 0 ? kUsEnglish : 0) : static_cast<std::uint16_t>(language);
        const int rank = windows ? (language == kUsEnglish ? 4 : 3) : (language == 0 ? 2 : 1);
        std::vector<LocalName>& families = windows ? windowsFamilies : macFamilies;
        std::vector<bool>& languages = windows ? windowsLanguages : macLanguages;
        const bool wanted = rank > bestRank[id] || (id == kFamily && !languages[lang]);
        const std::size_t longest = id == kFamily || id == kFull ? kLongestName : kLongestText;
        const std::size_t bytes = std::min<std::size_t>(size, windows ? 2 * longest : longest);
        if (!wanted || budget < bytes)
            continue;
        budget -= bytes;
        const std::size_t at = storage + offset;
        std::u16string text;
        if (windows) {
            for (std::size_t i = 0; i + 1 < bytes; i += 2)
                text.push_back(static_cast<char16_t>(t.U16(at + i)));
        } else {
            for (std::size_t i = 0; i < bytes; ++i) {
                const std::uint32_t byte = t.U8(at + i);
                text.push_back(byte < 0x80 ? static_cast<char16_t>(byte) : kMacRoman[byte - 0x80]);
            }
        }
        while (!text.empty() && text.back() == u'\0')
            text.pop_back();
        if (text.empty())
            continue;
        if (id == kFamily && !languages[lang]) {
            languages[lang] = true;
            families.push_back({text, lang});
        }
        if (rank > bestRank[id]) {
            best[id] = std::move(text);
            bestRank[id] = rank;
        }
    }
    const std::u16string &family = best[kFamily], &full = best[kFull];
    if (family.empty() && full.empty())
        return refused("no family and no full name");
    facts.family = family.empty() ? full : family;
    facts.full = full.empty() ? family : full;
    std::vector<LocalName>& families = windowsFamilies.empty() ? macFamilies : windowsFamilies;
    if (families.empty())
        families.push_back({facts.family, kUsEnglish});
    facts.families = std::make_shared<const std::vector<LocalName>>(std::move(families));
    facts.about = std::make_shared<const FontAbout>(FontAbout{best[kCopyright], best[kVersion], best[kTrademark],
                                                              best[kManufacturer], best[kDesigner], best[kLicence],
                                                              best[kLicenceUrl]});
    return facts;
}

}  // namespace font_reading

using namespace font_reading;

std::u16string FamilyFor(const FontFace& face, std::uint16_t language)
{
    return face.families ? PreferredName(*face.families, language, face.family) : face.family;
}

std::u16string PreferredName(const std::vector<LocalName>& names, std::uint16_t language,
                             const std::u16string& fallback)
{
    for (const std::uint16_t wanted : {language, kUsEnglish}) {
        for (const LocalName& name : names) {
            if (name.language == wanted)
                return name.text;
        }
    }
    return names.empty() ? fallback : names.front().text;
}

std::optional<FontNames> ReadNameTable(std::span<const std::uint8_t> table)
{
    const NameFacts facts = ReadNames(Range(table));
    if (facts.fault)
        return std::nullopt;
    return FontNames{facts.family, facts.full, facts.families, facts.about};
}
