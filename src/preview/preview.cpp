#include "preview/preview.h"

#include <windows.h>

#include <cmath>
#include <cstddef>
#include <cstring>

#include "base/named_font_sizes.h"
#include "preview/number_text.h"
#include "win/scoped.h"
#include "window/main_window.h"

static_assert(sizeof(LOGFONTA) == sizeof(FontDescription));
static_assert(offsetof(LOGFONTA, lfWeight) == offsetof(FontDescription, weight));
static_assert(offsetof(LOGFONTA, lfPitchAndFamily) == offsetof(FontDescription, pitchAndFamily));
static_assert(offsetof(LOGFONTA, lfFaceName) == offsetof(FontDescription, faceName));

namespace {

void ChangeAndApply(EditBox& box, FontAttribute attribute, std::int32_t value, const std::string& face)
{
    LOGFONTA start;
    if (box.FontDescription())
        start = *box.FontDescription();
    else if (GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof start, &start) != sizeof start)
        start = LOGFONTA{};

    FontDescription description;
    std::memcpy(&description, &start, sizeof description);
    int pixelsPerInch = 96;
    if (attribute == FontAttribute::Size) {
        ScopedGetDC screen(nullptr);
        pixelsPerInch = GetDeviceCaps(screen.dc(), LOGPIXELSY);
    }
    ChangeFontAttribute(description, attribute, value, face, pixelsPerInch);

    LOGFONTA changed;
    std::memcpy(&changed, &description, sizeof changed);
    box.SetFontDescription(changed);
}

std::int32_t TextToSize(const std::string& text)
{
    return TruncateToInteger(TextToNumber(text));
}

}  // namespace

void SetFontAttribute(EditBox& box, FontAttribute attribute, std::int32_t value)
{
    ChangeAndApply(box, attribute, value, {});
}

void SetFontAttribute(EditBox& box, FontAttribute attribute, const std::string& face)
{
    ChangeAndApply(box, attribute, 0, face);
}

void ApplyFontStyle(MainWindow& window)
{
    struct StyleRow {
        const char* text;
        bool bold, italic;
    };
    static constexpr StyleRow kStyles[] = {
        {"常规", false, false}, {"斜体", false, true}, {"粗体", true, false}, {"粗斜体", true, true}};
    const ComboBox& combo = window.组合框_字形;
    const std::string text = combo.ItemText(combo.Selected());
    for (const StyleRow& row : kStyles) {
        if (text == row.text) {
            SetFontAttribute(window.编辑框_输入的文字, FontAttribute::Bold, row.bold);
            SetFontAttribute(window.编辑框_输入的文字, FontAttribute::Italic, row.italic);
        }
    }
}

void ApplyFontEffect(MainWindow& window)
{
    struct EffectRow {
        bool strikeOut, underline;
    };
    static constexpr EffectRow kEffects[] = {{false, false}, {false, true}, {true, false}, {true, true}};
    const int index = window.组合框_效果.Selected();
    if (index < 0 || index >= static_cast<int>(std::size(kEffects)))
        return;
    SetFontAttribute(window.编辑框_输入的文字, FontAttribute::StrikeOut, kEffects[index].strikeOut);
    SetFontAttribute(window.编辑框_输入的文字, FontAttribute::Underline, kEffects[index].underline);
}

void ApplyListedFontSize(MainWindow& window)
{
    const ComboBox& combo = window.组合框_字体大小;
    const std::string item = combo.ItemText(combo.Selected());
    for (const NamedFontSize& named : NamedFontSizes) {
        if (item == named.name) {
            SetFontAttribute(window.编辑框_输入的文字, FontAttribute::Size, named.points);
            return;
        }
    }
    SetFontAttribute(window.编辑框_输入的文字, FontAttribute::Size, TextToSize(combo.Text()));
}

void ApplyTypedFontSize(MainWindow& window)
{
    SetFontAttribute(window.编辑框_输入的文字, FontAttribute::Size, TextToSize(window.组合框_字体大小.Text()));
}

void ApplyFontFace(MainWindow& window)
{
    const ListBox& list = window.列表框_字体;
    SetFontAttribute(window.编辑框_输入的文字, FontAttribute::FaceName, list.ItemText(list.Selected()));
}

void ApplyPickedColour(MainWindow& window)
{
    window.编辑框_输入的文字.SetTextColour(window.颜色选择器1.Colour());
    window.编辑框_颜色.SetText(NumberToText(static_cast<std::int32_t>(window.颜色选择器1.Colour())));
}

void ApplyTypedColour(MainWindow& window)
{
    const auto colour = [&] {
        return static_cast<COLORREF>(TruncateToInteger(std::fabs(TextToNumber(window.编辑框_颜色.Text()))));
    };
    window.颜色选择器1.SetColour(colour());
    window.编辑框_输入的文字.SetTextColour(colour());
}
