#pragma once
#include <memory>
#include <optional>

#include "controls/control.h"
#include "fontdata/font_file.h"
#include "win/scoped.h"

// The platform's edit control with the program's extras: text and background colours, a
// replaceable font kept as a logical-font description, and the integer input mode. Made
// with menu entries, its context menu holds the standard edit commands, then the entries;
// an entry's key runs it without the menu.
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
    // The family the box's font is asked for: the description's, else the default GUI font's.
    std::string FaceName() const;
    // A face whose name has no place in the ANSI code page: while the description names the
    // stand-in (the name as the code page gives it), the font is made through the wide call
    // under the wide name. Empty to forget it.
    void SetWideFace(const std::string& standIn, const std::u16string& wide);

    // The file the box's font comes from while it shows a font that is not installed; null
    // while it shows an installed one.
    const std::shared_ptr<const JudgedFontFile>& ShownFile() const { return shownFile_; }
    void SetShownFile(std::shared_ptr<const JudgedFontFile> file) { shownFile_ = std::move(file); }

    bool IntegerInput() const { return integerInput_; }

    void OnCommand(int code) override;
    HBRUSH OnCtlColor(HDC dc) override;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void ApplyFont();
    void ShowMenu(LPARAM at);
    bool HandleMenuKey(UINT msg, WPARAM wp, LPARAM lp);
    void NormaliseInteger();

    COLORREF textColour_ = 0;
    COLORREF backColour_ = 0xFFFFFF;
    ScopedBrush brush_;  // made on first use for the current background
    ScopedFont font_;    // null while the box shows the default GUI font
    std::optional<LOGFONTA> description_;
    std::string wideStandIn_;
    std::u16string wideFace_;
    bool integerInput_ = false;
    bool suppressChange_ = false;
    std::shared_ptr<const JudgedFontFile> shownFile_;
    std::span<const MenuEntry> menu_;
    bool swallowChar_ = false;
};
