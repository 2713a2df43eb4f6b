#pragma once
#include <windows.h>

#include <array>
#include <memory>

#include "controls/control.h"

class ColorPickerPopup;

// A swatch of the current colour with a drop-down arrow; a click opens the palette
// below it. Accepting a colour there (or in the colour dialog behind "其它颜色...")
// stores it and raises ColourPicked, every time; cancelling raises nothing.
class ColorPicker : public CustomControl {
public:
    ColorPicker();
    ~ColorPicker() override;
    Kind kind() const override { return Kind::ColorPicker; }
    bool Create(const CreateArgs& args) override;

    COLORREF Colour() const { return colour_; }
    // A program write: stores and redraws, raises nothing.
    void SetColour(COLORREF colour);

    void OpenPopup();
    // The open palette's window, or null.
    HWND PopupWindow() const;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    friend class ColorPickerPopup;
    void PopupClosed(int entry, bool accepted);
    void ChooseOtherColour();
    void Accept(COLORREF colour);
    void Paint(HDC dc);

    COLORREF colour_ = 0;
    std::unique_ptr<ColorPickerPopup> popup_;
    // The colour dialog's sixteen custom colours, kept between its openings.
    std::array<COLORREF, 16> customColours_ = {};
};
