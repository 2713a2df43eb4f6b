#include "fontinfo/info_text.h"

#include <algorithm>

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

std::u16string InfoCaption(const std::u16string& family)
{
    return u"字体信息 - " + family;
}

std::u16string InfoText(const FontInfo& info)
{
    Lines lines;
    lines.Add(u"字体", info.family);
    // A name the font gives in several languages is one line, with all of them.
    std::vector<std::pair<std::u16string, std::u16string>> names;  // text, languages
    for (const FontInfo::Name& name : info.names) {
        auto known = std::find_if(names.begin(), names.end(), [&](const auto& n) { return n.first == name.text; });
        if (known == names.end())
            known = names.insert(names.end(), {name.text, u""});
        if (!name.language.empty())
            known->second += (known->second.empty() ? u"" : u"、") + name.language;
    }
    for (const auto& [text, languages] : names)
        lines.Add(u"名称", languages.empty() ? text : text + u"（" + languages + u"）");
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
