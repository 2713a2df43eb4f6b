#include <gtest/gtest.h>

#include "controls/colour_palette.h"
#include "controls/dialog_rules.h"
#include "controls/drop_rules.h"
#include "controls/integer_text.h"
#include "controls/menu_rules.h"
#include "fontfiles/install_rules.h"  // the program's own filter, as the dialog gets it

using namespace std::string_literals;

TEST(NormaliseIntegerText, ReadsTheLeadingNumber)
{
    struct Case {
        const char* text;
        const char* expected;
    };
    const Case cases[] = {
        {"007", "7"},
        {"-0", ""},
        {"0", ""},
        {"", ""},
        {"abc", ""},
        {"-", ""},
        {"12ab", "12"},
        {"12-3", "12"},
        {"  -45", "-45"},
        {"+8", "8"},
        {"--8", ""},
        {"99999999999", "2147483647"},
        {"-99999999999", "-2147483648"},
        {"2147483647", "2147483647"},
        {"-2147483648", "-2147483648"},
        {"123456789012345678901234567890", "2147483647"},  // beyond 64 bits: saturates
        {"-123456789012345678901234567890", "-2147483648"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(NormaliseIntegerText(c.text), c.expected) << "text \"" << c.text << "\"";
}

TEST(IntegerInputAccepts, DigitsMinusAndControlCharacters)
{
    // Digits and the minus sign, and the control characters (Backspace, Ctrl+C, Ctrl+V,
    // Ctrl+X, Enter, Tab, Escape...); nothing else.
    for (unsigned char ch : std::string("0123456789-"))
        EXPECT_TRUE(IntegerInputAccepts(ch)) << ch;
    for (unsigned char ch : {0, 1, 3, 8, 9, 10, 13, 22, 24, 26, 27, 31})
        EXPECT_TRUE(IntegerInputAccepts(ch)) << "control character " << static_cast<int>(ch);
    for (unsigned char ch : std::string(" +.,eE/:aZ~\x7F\x80\xA1\xD7\xFF"))
        EXPECT_FALSE(IntegerInputAccepts(ch)) << "character " << static_cast<int>(ch);
}

TEST(FileDialogOptions, FromTheSwitches)
{
    const std::uint32_t fixed = OfnFlag::HideReadOnly | OfnFlag::Explorer | OfnFlag::EnableSizing;
    FileDialogSettings settings;  // as the layout stores them
    EXPECT_EQ(FileDialogOptions(settings),
              fixed | OfnFlag::FileMustExist | OfnFlag::OverwritePrompt | OfnFlag::PathMustExist);
    settings = {};
    settings.fileMustExist = settings.promptOverwrite = settings.pathMustExist = false;
    EXPECT_EQ(FileDialogOptions(settings), fixed);
    settings.promptCreate = settings.keepCurrentDirectory = true;
    EXPECT_EQ(FileDialogOptions(settings), fixed | OfnFlag::CreatePrompt | OfnFlag::NoChangeDir);
    EXPECT_FALSE(FileDialogOptions(settings) & OfnFlag::AllowMultiSelect);
    settings.allowMultiSelect = true;
    EXPECT_TRUE(FileDialogOptions(settings) & OfnFlag::AllowMultiSelect);
}

TEST(ItemDialogOptions, TheSameSwitchesFileSystemPathsOnly)
{
    FileDialogSettings settings;
    EXPECT_EQ(ItemDialogOptions(settings),
              FosFlag::ForceFileSystem | FosFlag::FileMustExist | FosFlag::OverwritePrompt | FosFlag::PathMustExist);
    settings.fileMustExist = settings.promptOverwrite = settings.pathMustExist = false;
    settings.promptCreate = settings.keepCurrentDirectory = settings.allowMultiSelect = true;
    EXPECT_EQ(ItemDialogOptions(settings), FosFlag::ForceFileSystem | FosFlag::CreatePrompt | FosFlag::NoChangeDir |
                                               FosFlag::AllowMultiSelect);
}

TEST(FilterPairs, DescriptionAndPatternAsTheItemDialogTakesThem)
{
    using Pairs = std::vector<std::pair<std::string, std::string>>;
    EXPECT_EQ(FilterPairs(""), Pairs{});
    EXPECT_EQ(FilterPairs("字体资源|*.ttf;*.otf|所有文件|*.*"),
              (Pairs{{"字体资源", "*.ttf;*.otf"}, {"所有文件", "*.*"}}));
    EXPECT_EQ(FilterPairs("Fonts|*.ttf||"), (Pairs{{"Fonts", "*.ttf"}}));
    EXPECT_EQ(FilterPairs("Fonts|*.ttf|Lonely"), (Pairs{{"Fonts", "*.ttf"}}));
    // A "|" that is the second byte of a character is part of the description.
    EXPECT_EQ(FilterPairs("\x81|x|*.a"), (Pairs{{"\x81|x", "*.a"}}));
}

TEST(ChosenFiles, OnePathOrAFolderAndItsNames)
{
    using namespace std::string_literals;
    using Paths = std::vector<std::string>;
    EXPECT_EQ(ChosenFiles(std::string(260, '\0')), Paths{});
    EXPECT_EQ(ChosenFiles("C:\\fonts\\a.ttf\0\0"s), Paths{"C:\\fonts\\a.ttf"});
    EXPECT_EQ(ChosenFiles("C:\\fonts\0a.ttf\0b.otf\0c.ttc\0\0"s),
              (Paths{"C:\\fonts\\a.ttf", "C:\\fonts\\b.otf", "C:\\fonts\\c.ttc"}));
    EXPECT_EQ(ChosenFiles("C:\\\0a.ttf\0b.ttf\0\0"s), (Paths{"C:\\a.ttf", "C:\\b.ttf"}));
    // A folder whose last character's second byte is 0x5C gets its separator.
    EXPECT_EQ(ChosenFiles("C:\\\xB1\x5C\0a.ttf\0b.ttf\0\0"s),
              (Paths{"C:\\\xB1\x5C\\a.ttf", "C:\\\xB1\x5C\\b.ttf"}));
}

TEST(FilterList, BarsBecomeNulsWithTheDoubleEnd)
{
    struct Case {
        std::string filter, expected;
    };
    const Case cases[] = {
        {kFontFilter, "字体资源\0*.fon;*.fnt;*.ttf;*.fot;*.otf;*.ttc;*.otc\0所有文件\0*.*\0\0"s},
        {"", ""},
        {"   ", ""},
        {"Text|*.txt||", "Text\0*.txt\0\0"s},
        {"Text|*.txt  \t\r\n", "Text\0*.txt\0\0"s},
        {"Text|*.txt|", "Text\0*.txt\0\0\0"s},
        {"\xB1\x7C|*.x", "\xB1\x7C\0*.x\0\0"s},  // a character whose second byte is "|"
    };
    for (const Case& c : cases)
        EXPECT_EQ(FilterList(c.filter), c.expected) << "filter \"" << c.filter << "\"";
}

TEST(FilterIndex, IsOneBasedOnlyWithAList)
{
    FileDialogSettings s;
    EXPECT_EQ(FilterIndex(s), 0);
    s.filter = kFontFilter;
    EXPECT_EQ(FilterIndex(s), 1);
    s.initialFilter = 1;
    EXPECT_EQ(FilterIndex(s), 2);
    EXPECT_EQ(ClampInitialFilter(-3), 0);
    EXPECT_EQ(ClampDialogKind(7), 3);
    EXPECT_EQ(ClampDialogKind(-1), 0);
}

TEST(DropEffectRule, KeysAllowedEffectsAndAcceptability)
{
    using namespace DropEffect;
    const std::uint32_t all = Copy | Move | Link, C = kKeyControl, S = kKeyShift, alt = 0x20;
    struct Case {
        bool acceptable;
        std::uint32_t keys, allowed, expected;
    };
    const Case cases[] = {
        {false, 0, all, None},
        {false, C, all, None},
        {true, 0, all, Copy},
        {true, 0, Move | Link, Move},
        {true, 0, Link, Link},
        {true, 0, None, None},
        {true, C, all, Copy},
        {true, C, Move, None},
        {true, S, all, Move},
        {true, S, Copy | Link, None},
        {true, C | S, all, None},
        {true, C | S, Link, None},
        {true, alt, all, Copy},
        {true, alt | S, all, Move},  // Alt is ignored
        {true, 0x1 /* left button */, Copy, Copy},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DropEffectRule(c.acceptable, c.keys, c.allowed), c.expected)
            << "acceptable " << c.acceptable << " keys " << c.keys << " allowed " << c.allowed;
}

TEST(JoinDroppedPaths, OneAloneSeveralQuotedAsTheOpenDialogShowsThem)
{
    EXPECT_EQ(JoinDroppedPaths({}), "");
    EXPECT_EQ(JoinDroppedPaths({"C:\\a.ttf"}), "C:\\a.ttf");
    EXPECT_EQ(JoinDroppedPaths({"C:\\a.ttf", "C:\\字体 b\\b.ttf", "C:\\c.ttf"}),
              "\"C:\\a.ttf\" \"C:\\字体 b\\b.ttf\" \"C:\\c.ttf\"");
}

TEST(ColourPalette, EntriesAndValues)
{
    EXPECT_EQ(PaletteEntryOf(0), 0);
    EXPECT_EQ(PaletteEntryOf(255), 12);
    EXPECT_STREQ(ColourPalette[12].name, "红色");
    EXPECT_EQ(PaletteEntryOf(16711680), 9);
    EXPECT_EQ(PaletteEntryOf(0x606060), 31);
    EXPECT_EQ(PaletteEntryOf(1), kOtherColoursEntry);
    EXPECT_EQ(PaletteEntryOf(0xFF000000), kOtherColoursEntry);
}

TEST(MovePaletteHighlight, WrapsAcrossRowsAndOntoTheButton)
{
    using K = PaletteKey;
    struct Case {
        int from;
        K key;
        int to;
    };
    const Case cases[] = {
        {0, K::Right, 1},   {6, K::Right, 7},   // to the next row
        {31, K::Right, 32}, {32, K::Right, 0},  // onto the button, then round
        {0, K::Left, 32},   {7, K::Left, 6},    // back a row
        {0, K::Down, 7},    {24, K::Down, 31}, {25, K::Down, 32}, {32, K::Down, 0}, {12, K::Up, 5},
        {3, K::Up, 32},     {32, K::Up, 28},   {-1, K::Down, 0},  {-1, K::Left, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MovePaletteHighlight(c.from, c.key), c.to) << "from " << c.from << " key " << static_cast<int>(c.key);
}

TEST(EditCommandStates, AsTheDesktopsEditMenu)
{
    struct Case {
        const char* what;
        EditState state;
        EditCommands expected;
    };
    const Case cases[] = {
        {"empty box", {}, {}},
        {"text, nothing selected", {.length = 5}, {.selectAll = true}},
        {"part selected, undo and clipboard",
         {.canUndo = true, .clipboardHasText = true, .selectionStart = 1, .selectionEnd = 3, .length = 5},
         {.undo = true, .cut = true, .copy = true, .paste = true, .clear = true, .selectAll = true}},
        {"all selected", {.selectionStart = 0, .selectionEnd = 5, .length = 5},
         {.cut = true, .copy = true, .clear = true}},
        {"read-only: copy and select only",
         {.canUndo = true, .readOnly = true, .clipboardHasText = true, .selectionStart = 1, .selectionEnd = 2, .length = 5},
         {.copy = true, .selectAll = true}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(EditCommandStates(c.state), c.expected) << c.what;
}

TEST(MenuKeys, ShortcutsAndTheKeysThatOpenTheMenu)
{
    const MenuEntry menu[] = {
        {.text = "info", .event = Event::InfoRequested, .needsSelection = true, .shortcut = Shortcut::AltEnter},
        {.text = "remove", .event = Event::Clicked, .needsSelection = true, .shortcut = Shortcut::Delete},
    };
    EXPECT_EQ(EntryForKey(menu, {.key = Key::Return, .alt = true}, true), &menu[0]);
    EXPECT_EQ(EntryForKey(menu, {.key = Key::Return, .alt = true}, false), nullptr);  // nothing selected
    EXPECT_EQ(EntryForKey(menu, {.key = Key::Return}, true), nullptr);
    EXPECT_EQ(EntryForKey(menu, {.key = Key::Return, .alt = true, .shift = true}, true), nullptr);
    EXPECT_EQ(EntryForKey(menu, {.key = Key::Delete}, true), &menu[1]);
    EXPECT_EQ(EntryForKey(menu, {.key = Key::Delete, .ctrl = true}, true), nullptr);
    EXPECT_TRUE(OpensMenu({.key = Key::F10, .shift = true}));
    EXPECT_FALSE(OpensMenu({.key = Key::F10}));
    EXPECT_TRUE(OpensMenu({.key = Key::Apps}));
    EXPECT_FALSE(OpensMenu({.key = Key::Apps, .alt = true}));
}
