#pragma once
#include <cstdint>
#include <string>

#include "preview/font_attribute.h"

class EditBox;
class MainWindow;

// Changes one attribute of the box's font, starting from its stored description (or the
// default GUI font's), and shows the result at once.
void SetFontAttribute(EditBox& box, FontAttribute attribute, std::int32_t value);
void SetFontAttribute(EditBox& box, FontAttribute attribute, const std::string& face);

// Handlers of the four font choices.
void ApplyFontStyle(MainWindow& window);       // 组合框_字形 item chosen
void ApplyFontEffect(MainWindow& window);      // 组合框_效果 item chosen
void ApplyListedFontSize(MainWindow& window);  // 组合框_字体大小 item chosen
void ApplyTypedFontSize(MainWindow& window);   // 组合框_字体大小 edit text changed
void ApplyFontFace(MainWindow& window);        // 列表框_字体 selection changed

// Handlers of the text colour.
void ApplyPickedColour(MainWindow& window);  // 颜色选择器1 colour picked
void ApplyTypedColour(MainWindow& window);   // 编辑框_颜色 content changed
