#include "fontinfo/info_text.h"

#include <algorithm>
#include <unordered_map>

namespace {

std::u16string Ascii(std::string_view text)
{
    return std::u16string(text.begin(), text.end());
}

std::u16string Number(std::uint64_t n)
{
    return Ascii(std::to_string(n));
}

// A text of several lines (a licence, say) with its line ends as the edit box wants them.
std::u16string WithCrLf(std::u16string_view text)
{
    std::u16string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r' || text[i] == u'\n') {
            out += u"\r\n";
            if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
        } else if (text[i] != u'\0') {
            out += text[i];
        }
    }
    return out;
}

class Lines {
public:
    void Add(std::u16string_view line) { text_.append(line).append(u"\r\n"); }
    void Add(std::u16string_view label, std::u16string_view value)
    {
        text_.append(label).append(u"：").append(WithCrLf(value)).append(u"\r\n");
    }
    void AddIfAny(std::u16string_view label, std::u16string_view value)
    {
        if (!value.empty())
            Add(label, value);
    }
    void AddFile(const StyleFile& file)
    {
        Add(u"文件", file.path + u"，" + GroupedNumber(file.size) + u" 字节");
    }
    std::u16string& text() { return text_; }

private:
    std::u16string text_;
};

}  // namespace

std::u16string GroupedNumber(std::uint64_t n)
{
    const std::u16string digits = Number(n);
    std::u16string out;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            out += u',';
        out += digits[i];
    }
    return out;
}

std::u32string Characters(std::u16string_view text)
{
    std::u32string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            out += static_cast<char32_t>(0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00));
            ++i;
        } else {
            out += c;
        }
    }
    return out;
}

std::u16string Utf16(std::u32string_view text)
{
    std::u16string out;
    for (char32_t c : text) {
        if (c >= 0x10000 && c <= 0x10FFFF) {
            out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else if (c <= 0xFFFF) {
            out += static_cast<char16_t>(c);
        }
    }
    return out;
}

NameGroups GroupNames(const std::vector<LocalName>& names)
{
    NameGroups groups;
    std::unordered_map<std::u16string, std::size_t> byText;  // shown ones, by text
    std::unordered_map<std::u16string, bool> others;           // texts past the shown ones
    for (const LocalName& name : names) {
        const auto known = byText.find(name.text);
        if (known != byText.end()) {
            NameGroup& group = groups.shown[known->second];
            if (group.languages.size() < kMostLanguagesAName)
                group.languages.push_back(name.language);
            else
                ++group.moreLanguages;
        } else if (groups.shown.size() < kMostNameLines) {
            byText.emplace(name.text, groups.shown.size());
            groups.shown.push_back({name.text, {name.language}, 0});
        } else if (others.emplace(name.text, true).second) {
            ++groups.more;
        }
    }
    return groups;
}

std::u16string InfoCaption(const std::u16string& family)
{
    return u"字体信息 - " + family;
}

std::u16string InfoText(const FontInfo& info)
{
    Lines lines;
    lines.Add(u"字体", info.family);
    // A name the font gives in several languages is one line, with all of them (or the
    // first few, and how many there are in all).
    struct Line {
        std::u16string text, languages;
        std::size_t named = 0, more = 0;
    };
    std::vector<Line> names;
    std::unordered_map<std::u16string, std::size_t> byText;
    for (const FontInfo::Name& name : info.names) {
        const auto [known, added] = byText.try_emplace(name.text, names.size());
        if (added)
            names.push_back({name.text, u"", 0, 0});
        Line& line = names[known->second];
        if (!name.language.empty()) {
            line.languages += (line.languages.empty() ? u"" : u"、") + name.language;
            ++line.named;
        }
        line.more += name.moreLanguages;
    }
    for (const Line& line : names) {
        std::u16string languages = line.languages;
        if (line.more > 0)
            languages += u" 等 " + Number(line.named + line.more) + u" 种语言";
        lines.Add(u"名称", languages.empty() ? line.text : line.text + u"（" + languages + u"）");
    }
    if (info.moreNames > 0)
        lines.Add(u"名称", u"另有 " + Number(info.moreNames) + u" 个");
    for (const StyleInfo& style : info.styles) {
        lines.Add(u"样式", style.full);
        lines.AddIfAny(u"版本", style.version);
        if (info.files == FilesState::Searching)
            lines.Add(u"文件", u"正在查找字体文件夹…");
        else if (style.files.empty() && info.files == FilesState::Searched)
            lines.Add(u"文件", u"不在字体文件夹中");
        for (const StyleFile& file : style.files)
            lines.AddFile(file);
    }
    for (const StyleFile& file : info.otherFiles)
        lines.AddFile(file);
    if (info.files == FilesState::NotInstalled)
        lines.Add(u"未安装");
    if (!info.readable)
        lines.Add(u"格式", u"无法读取字体数据");
    else if (!info.outlines)
        lines.Add(u"格式", u"位图（" + Ascii(info.bitmaps) + u"）");
    else if (!info.bitmaps.empty())
        lines.Add(u"格式", (info.cff2 ? u"CFF2 轮廓" : info.cff ? u"CFF 轮廓" : u"TrueType 轮廓") + std::u16string(u"，另有位图（") +
                               Ascii(info.bitmaps) + u"）");
    else
        lines.Add(u"格式", info.cff2 ? u"CFF2 轮廓" : info.cff ? u"CFF 轮廓" : u"TrueType 轮廓");
    if (!info.axes.empty()) {
        std::u16string axes;
        for (const std::string& axis : info.axes)
            axes += (axes.empty() ? u"" : u", ") + Ascii(axis);
        lines.Add(u"可变字体，轴", axes);
    }
    if (info.members > 0)
        lines.Add(u"字体集合", u"第 " + Number(info.member + 1) + u" 个，共 " + Number(info.members) + u" 个");
    if (info.readable) {
        lines.Add(u"字形数", Number(info.glyphs));
        lines.Add(u"每 em 单位数", Number(info.unitsPerEm));
    }
    lines.AddIfAny(u"版权", info.about.copyright);
    lines.AddIfAny(u"商标", info.about.trademark);
    lines.AddIfAny(u"制造商", info.about.manufacturer);
    lines.AddIfAny(u"设计者", info.about.designer);
    lines.AddIfAny(u"许可证", info.about.licence);
    lines.AddIfAny(u"许可证网址", info.about.licenceUrl);
    lines.Add(u"");
    lines.Add(CoverageLines(info.coverage));
    lines.Add(u"");
    std::u16string& text = lines.text();
    text += u"示例文字中缺少的字：";
    text += info.missing.empty() ? u"无" : Utf16(info.missing);
    return text;
}
