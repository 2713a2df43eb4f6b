#pragma once
#include <optional>

#include "controls/control.h"
#include "win/scoped.h"

// The platform's edit control with the program's extras: text and background colours, a
// replaceable font kept as a logical-font description, and the integer input mode.
class EditBox : public Control {
public:
    ~EditBox() override;
    Kind kind() const override { return Kind::EditBox; }
    bool Create(const CreateArgs& args) override;

    std::string Text() const;
    // Writes the content and raises ContentChanged exactly once, also for an equal text.
    void SetText(const std::string& text);

    COLORREF TextColour() const { return textColour_; }
    void SetTextColour(COLORREF colour);
    COLORREF BackColour() const { return backColour_; }
    void SetBackColour(COLORREF colour);

    const std::optional<LOGFONTA>& FontDescription() const { return description_; }
    // Stores the description and makes the font from it (the default GUI font when absent
    // or when the platform refuses it).
    void SetFontDescription(const LOGFONTA& description);
    HFONT Font() const { return font_.get(); }

    bool IntegerInput() const { return integerInput_; }

    void OnCommand(int code) override;
    HBRUSH OnCtlColor(HDC dc) override;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void ApplyFont();
    void NormaliseInteger();

    COLORREF textColour_ = 0;
    COLORREF backColour_ = 0xFFFFFF;
    ScopedBrush brush_;  // made on first use for the current background
    ScopedFont font_;    // null while the box shows the default GUI font
    std::optional<LOGFONTA> description_;
    bool integerInput_ = false;
    bool suppressChange_ = false;
};
