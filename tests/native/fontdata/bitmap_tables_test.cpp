// Fonts of bitmaps: EBLC/EBDT, CBLC/CBDT and sbix, and their rules.
#include "judge_support.h"

namespace {

// Colour bitmaps for the built font's glyphs 1-3 in one strike: CBLC with one index
// subtable of format 1 (image format 17), and CBDT with each glyph's small metrics, image
// length and 4 bytes of image.
constexpr std::size_t kCblcStrike = 8, kCblcArray = 56, kCblcSubtable = 64, kCblcOffsets = 72;
constexpr std::size_t kCbdtGlyph = 13;  // 5 + 4 + 4

Bytes Cblc()
{
    Bytes b = FontBuilder::Be16s({3, 0});
    FontBuilder::Put(b, 4, 1);  // one strike
    Bytes strike(48, 0);
    FontBuilder::Set(strike, 0, 4, kCblcArray);
    FontBuilder::Set(strike, 4, 4, 8 + 8 + 16);
    FontBuilder::Set(strike, 8, 4, 1);
    FontBuilder::Set(strike, 40, 2, 1);  // glyphs 1-3
    FontBuilder::Set(strike, 42, 2, 3);
    strike[44] = strike[45] = 16;  // ppem
    strike[46] = 32;               // bit depth
    b.insert(b.end(), strike.begin(), strike.end());
    for (std::uint32_t v : {1u, 3u})
        FontBuilder::Put(b, 2, v);
    FontBuilder::Put(b, 4, kCblcSubtable - kCblcArray);
    for (std::uint32_t v : {1u, 17u})
        FontBuilder::Put(b, 2, v);
    FontBuilder::Put(b, 4, 4);  // the images after CBDT's header
    for (std::uint32_t g = 0; g <= 3; ++g)
        FontBuilder::Put(b, 4, static_cast<std::uint32_t>(g * kCbdtGlyph));
    return b;
}

Bytes Cbdt()
{
    Bytes b = FontBuilder::Be16s({3, 0});
    for (int g = 0; g < 3; ++g) {
        b.insert(b.end(), {16, 16, 0, 16, 16});  // small metrics
        FontBuilder::Put(b, 4, 4);
        b.insert(b.end(), {0x89, 'P', 'N', 'G'});
    }
    return b;
}

// The same CBLC with glyphs 1-3's index subtable in another format: 2 (one image size,
// big metrics), 4 (glyph id and offset pairs) or 5 (one size, the glyphs named).
Bytes CblcOfIndexFormat(std::uint32_t format)
{
    Bytes t = Cblc();
    t.resize(kCblcSubtable);
    for (std::uint32_t v : {format, 17u})
        FontBuilder::Put(t, 2, v);
    FontBuilder::Put(t, 4, 4);
    if (format == 4) {
        FontBuilder::Put(t, 4, 3);
        for (std::uint32_t g = 0; g <= 3; ++g) {
            FontBuilder::Put(t, 2, g < 3 ? g + 1 : 0);
            FontBuilder::Put(t, 2, static_cast<std::uint32_t>(g * kCbdtGlyph));
        }
        return t;
    }
    FontBuilder::Put(t, 4, kCbdtGlyph);
    t.resize(t.size() + 8, 0);  // big metrics
    if (format == 5) {
        FontBuilder::Put(t, 4, 3);
        for (std::uint32_t g = 1; g <= 3; ++g)
            FontBuilder::Put(t, 2, g);
    }
    return t;
}

// A font of colour bitmaps alone: no glyf or loca.
FontBuilder ColourFont()
{
    FontBuilder f;
    f.tables.erase("glyf");
    f.tables.erase("loca");
    f.tables["CBLC"] = Cblc();
    f.tables["CBDT"] = Cbdt();
    return f;
}

// sbix of the given strikes, each at its offset from the table's start (0: after the
// last one placed), each with glyph 0 empty and glyphs 1-3 of 12 bytes.
Bytes Sbix(std::vector<std::uint32_t> at = {0})
{
    Bytes b = FontBuilder::Be16s({1, 1});
    FontBuilder::Put(b, 4, static_cast<std::uint32_t>(at.size()));
    const std::size_t offsets = b.size();
    b.resize(b.size() + 4 * at.size(), 0);
    for (std::size_t s = 0; s < at.size(); ++s) {
        const std::size_t strike = at[s] != 0 ? at[s] : b.size();
        FontBuilder::Set(b, offsets + 4 * s, 4, static_cast<std::uint32_t>(strike));
        if (b.size() < strike + 4 + 4 * 5 + 36)
            b.resize(strike + 4 + 4 * 5 + 36, 0);
        FontBuilder::Set(b, strike, 2, 16);
        FontBuilder::Set(b, strike + 2, 2, 72);
        const std::uint32_t first = 4 + 4 * 5;
        for (std::uint32_t g = 0; g <= 4; ++g)
            FontBuilder::Set(b, strike + 4 + 4 * g, 4, g == 0 ? first : first + 12 * (g - 1));
        for (std::size_t g = 0; g < 3; ++g)
            std::copy_n("png ", 4, b.begin() + static_cast<std::ptrdiff_t>(strike + first + 12 * g + 4));
    }
    return b;
}

// sbix of `count` strikes, one every 4 bytes, each overlapping the next: a run of offsets
// that all say 24 (each glyph empty), which reads the same from any of them.
Bytes OverlappingSbix(std::uint32_t count)
{
    Bytes b = FontBuilder::Be16s({1, 1});
    FontBuilder::Put(b, 4, count);
    const std::uint32_t first = 8 + 4 * count;
    for (std::uint32_t s = 0; s < count; ++s)
        FontBuilder::Put(b, 4, first + 4 * s);
    for (std::uint32_t i = 0; i < count + 6 + 6; ++i)
        FontBuilder::Put(b, 4, 24);
    return b;
}

}  // namespace

TEST(ReadFontFile, BitmapOnlyFontsAreJudgedByTheirOwnTables)
{
    const FontFileFacts colour = ReadFontFile(ColourFont().Build());
    ASSERT_TRUE(colour.sound) << colour.reason;
    // The same images through index formats 2, 4 and 5: sound too.
    for (const std::uint32_t format : {2u, 4u, 5u}) {
        FontBuilder font = ColourFont();
        font.tables["CBLC"] = CblcOfIndexFormat(format);
        const FontFileFacts facts = ReadFontFile(font.Build());
        EXPECT_TRUE(facts.sound) << "index format " << format << ": " << facts.reason;
    }
    EXPECT_FALSE(colour.faces[0].outlines);
    EXPECT_EQ(colour.faces[0].bitmaps, "CBDT");
    FontBuilder sbix;
    sbix.tables.erase("glyf");
    sbix.tables.erase("loca");
    sbix.tables["sbix"] = Sbix();
    const FontFileFacts images = ReadFontFile(sbix.Build());
    ASSERT_TRUE(images.sound) << images.reason;
    EXPECT_EQ(images.faces[0].bitmaps, "sbix");
    // Outlines and bitmaps: both judged.
    FontBuilder both;
    both.tables["CBLC"] = Cblc();
    both.tables["CBDT"] = Cbdt();
    const FontFileFacts mixed = ReadFontFile(both.Build());
    ASSERT_TRUE(mixed.sound) << mixed.reason;
    EXPECT_TRUE(mixed.faces[0].outlines);
    EXPECT_EQ(mixed.faces[0].bitmaps, "CBDT");
    // A font of neither is still refused for its missing outlines.
    FontBuilder neither;
    neither.tables.erase("glyf");
    neither.tables.erase("loca");
    EXPECT_EQ(ReadFontFile(neither.Build()).reason, "loca: absent");

    // The fixtures' fonts of bitmaps alone: CBLC index format 1, EBLC formats 2 and 5, sbix.
    for (const char* kind : {"CBDT", "EBDT", "sbix"}) {
        std::string name = std::string("bitmaps-") + kind + ".ttf";
        std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        const FontFileFacts facts = ReadFontFile(Fixture(name));
        EXPECT_TRUE(facts.sound) << name << ": " << facts.reason;
        ASSERT_EQ(facts.faces.size(), 1u) << name;
        EXPECT_FALSE(facts.faces[0].outlines) << name;
        EXPECT_EQ(facts.faces[0].bitmaps, kind) << name;
    }
    // The colour emoji font Debian ships, unpacked by the set-up.
    if (std::filesystem::exists(QUILLMOOR_EMOJI_FONT)) {
        const FontFileFacts emoji = ReadFontFile(FileBytes(QUILLMOOR_EMOJI_FONT));
        EXPECT_TRUE(emoji.sound) << emoji.reason;
        ASSERT_EQ(emoji.faces.size(), 1u);
        EXPECT_FALSE(emoji.faces[0].outlines);
        EXPECT_EQ(emoji.faces[0].bitmaps, "CBDT");
    } else {
        ADD_FAILURE() << "no " << QUILLMOOR_EMOJI_FONT << ": scripts/setup.sh unpacks it";
    }
}

TEST(ReadFontFile, EachBitmapRuleRefusesAFontThatBreaksOnlyIt)
{
    using Change = std::function<void(FontBuilder&)>;
    auto cblc = [](std::size_t at, std::uint32_t value, int size) -> Change {
        return [=](FontBuilder& f) { FontBuilder::Set(f.tables["CBLC"], at, size, value); };
    };
    auto cbdt = [](std::size_t at, std::uint32_t value, int size) -> Change {
        return [=](FontBuilder& f) { FontBuilder::Set(f.tables["CBDT"], at, size, value); };
    };
    auto withIndex = [](std::uint32_t format, std::function<void(Bytes&)> change) -> Change {
        return [=](FontBuilder& f) {
            Bytes t = CblcOfIndexFormat(format);
            change(t);
            f.tables["CBLC"] = t;
        };
    };
    auto sbix = [](std::function<void(Bytes&)> change) -> Change {
        return [=](FontBuilder& f) {
            f.tables["sbix"] = Sbix();
            change(f.tables["sbix"]);
        };
    };
    const std::pair<const char*, Change> rules[] = {
        {"CBLC: cut short", [](FontBuilder& f) { f.lengths["CBLC"] = 7; }},
        {"CBLC: unknown version", cblc(0, 2, 2)},
        {"CBDT: absent", [](FontBuilder& f) { f.tables.erase("CBDT"); }},
        {"CBDT: cut short", [](FontBuilder& f) { f.lengths["CBDT"] = 3; }},
        {"CBDT: unknown version", cbdt(0, 2, 2)},
        {"CBLC: strikes past the table", cblc(4, 2, 4)},
        {"CBLC: strike glyphs inverted", cblc(kCblcStrike + 40, 4, 2)},
        {"CBLC: strike glyph past the last glyph", cblc(kCblcStrike + 42, 4, 2)},
        {"CBLC: index subtables past the table", cblc(kCblcStrike + 8, 9, 4)},
        {"CBLC: index subtables out of order",
         [](FontBuilder& f) {
             // A second entry, for glyphs 2-3, over the same subtable.
             Bytes& t = f.tables["CBLC"];
             FontBuilder::Set(t, kCblcStrike + 8, 4, 2);
             FontBuilder::Set(t, kCblcArray + 4, 4, 16);
             t.insert(t.begin() + kCblcArray + 8, {0, 2, 0, 3, 0, 0, 0, 16});
         }},
        {"CBLC: index glyphs inverted",
         [](FontBuilder& f) {
             FontBuilder::Set(f.tables["CBLC"], kCblcArray, 2, 3);
             FontBuilder::Set(f.tables["CBLC"], kCblcArray + 2, 2, 1);
         }},
        {"CBLC: index glyph past the last glyph", cblc(kCblcArray + 2, 4, 2)},
        {"CBLC: index subtable past the table", cblc(kCblcArray + 4, 0x1000, 4)},
        {"CBLC: index subtable past the table", [](FontBuilder& f) {
              FontBuilder::Set(f.tables["CBLC"], kCblcArray + 4, 4, static_cast<std::uint32_t>(f.tables["CBLC"].size() - kCblcArray - 4));
          }},
        {"CBLC: unknown index format", cblc(kCblcSubtable, 6, 2)},
        {"CBLC: unknown image format", cblc(kCblcSubtable + 2, 1, 2)},
        {"CBLC: glyph offsets past the table", [](FontBuilder& f) { f.lengths["CBLC"] = kCblcOffsets + 12; }},
        {"CBDT: glyph offsets descending", cblc(kCblcOffsets + 4, 2 * kCbdtGlyph + 1, 4)},
        {"CBDT: glyph data past the table", cblc(kCblcOffsets + 12, 100, 4)},
        {"CBDT: glyph data shorter than its header", cblc(kCblcOffsets + 4, 8, 4)},
        {"CBDT: image length past the glyph", cbdt(4 + 5, 5, 4)},
        {"sbix: cut short", [](FontBuilder& f) {
              f.tables["sbix"] = Sbix();
              f.lengths["sbix"] = 7;
          }},
        {"sbix: unknown version", sbix([](Bytes& b) { FontBuilder::Set(b, 0, 2, 2); })},
        {"sbix: strikes past the table", sbix([](Bytes& b) { FontBuilder::Set(b, 4, 4, 0x1000); })},
        {"sbix: strike past the table", sbix([](Bytes& b) { FontBuilder::Set(b, 8, 4, 0x1000); })},
        {"sbix: glyph offsets descending", sbix([](Bytes& b) { FontBuilder::Set(b, 12 + 4 + 8, 4, 20); })},
        {"sbix: glyph data past the table", sbix([](Bytes& b) { FontBuilder::Set(b, 12 + 4 + 16, 4, 0x1000); })},
        {"sbix: glyph data shorter than its header", sbix([](Bytes& b) { FontBuilder::Set(b, 12 + 4 + 8, 4, 24 + 4); })},
        {"sbix: strikes overlapping", [](FontBuilder& f) { f.tables["sbix"] = OverlappingSbix(2); }},
        // Many: refused once their headers add up to more than the table, before each is read.
        {"sbix: strike headers larger than the table", [](FontBuilder& f) { f.tables["sbix"] = OverlappingSbix(200); }},
        {"CBLC: index subtables larger than the table",
         [](FontBuilder& f) {
             // 999 glyphs, each in an index subtable of its own, every subtable 4 bytes after
             // the last in a run of words that reads as a subtable from any of them (index
             // format 1, image format 17, images at 0x00010011, every glyph empty): refused
             // once they add up to more than the table, before each is read.
             constexpr std::uint32_t kGlyphs = 1000, kWord = 0x00010011;
             FontBuilder::Set(f.tables["maxp"], 4, 2, kGlyphs);
             f.tables["hmtx"].resize(4 * 2 + 2 * (kGlyphs - 2), 0);
             Bytes t = FontBuilder::Be16s({3, 0});
             FontBuilder::Put(t, 4, 1);
             const std::uint32_t array = 8 + 48, run = array + 8 * (kGlyphs - 1);
             Bytes strike(48, 0);
             FontBuilder::Set(strike, 0, 4, array);
             FontBuilder::Set(strike, 8, 4, kGlyphs - 1);
             FontBuilder::Set(strike, 40, 2, 1);
             FontBuilder::Set(strike, 42, 2, kGlyphs - 1);
             t.insert(t.end(), strike.begin(), strike.end());
             for (std::uint32_t g = 1; g < kGlyphs; ++g) {
                 FontBuilder::Put(t, 2, g);
                 FontBuilder::Put(t, 2, g);
                 FontBuilder::Put(t, 4, run - array + 4 * (g - 1));
             }
             for (std::uint32_t w = 0; w < kGlyphs + 4; ++w)
                 FontBuilder::Put(t, 4, kWord);
             f.tables["CBLC"] = t;
             Bytes data = FontBuilder::Be16s({3, 0});
             data.resize(2 * kWord + 4, 0);
             f.tables["CBDT"] = data;
         }},
        // Index formats 2, 4 and 5 (format 1 is the built font's).
        {"CBLC: index subtable past the table", withIndex(2, [](Bytes& t) { t.resize(kCblcSubtable + 8 + 11); })},
        {"CBDT: glyph data shorter than its header", withIndex(2, [](Bytes& t) { FontBuilder::Set(t, kCblcSubtable + 8, 4, 8); })},
        {"CBDT: glyph data past the table", withIndex(2, [](Bytes& t) { FontBuilder::Set(t, kCblcSubtable + 8, 4, 100); })},
        {"CBDT: image length past the glyph", withIndex(2, [](Bytes& t) { FontBuilder::Set(t, kCblcSubtable + 8, 4, 12); })},
        {"CBLC: index subtable past the table", withIndex(5, [](Bytes& t) { t.resize(kCblcSubtable + 8 + 12 + 3); })},
        {"CBLC: glyph ids past the table", withIndex(5, [](Bytes& t) { FontBuilder::Set(t, kCblcSubtable + 20, 4, 100); })},
        {"CBLC: glyph id outside its index subtable", withIndex(5, [](Bytes& t) { FontBuilder::Set(t, kCblcSubtable + 24, 2, 0); })},
        {"CBLC: glyph ids out of order", withIndex(5, [](Bytes& t) { FontBuilder::Set(t, kCblcSubtable + 26, 2, 1); })},
        {"CBLC: index subtable past the table", withIndex(4, [](Bytes& t) { t.resize(kCblcSubtable + 8 + 3); })},
        {"CBLC: glyph offsets past the table", withIndex(4, [](Bytes& t) { FontBuilder::Set(t, kCblcSubtable + 8, 4, 100); })},
        {"CBLC: glyph id outside its index subtable", withIndex(4, [](Bytes& t) { FontBuilder::Set(t, kCblcSubtable + 12, 2, 0); })},
        {"CBLC: glyph ids out of order", withIndex(4, [](Bytes& t) { FontBuilder::Set(t, kCblcSubtable + 16, 2, 1); })},
        {"CBDT: glyph offsets descending", withIndex(4, [](Bytes& t) { FontBuilder::Set(t, kCblcSubtable + 18, 2, 30); })},
        // Two entries over one subtable for other glyphs, and two subtables overlapping.
        {"CBLC: index subtables overlapping",
         [](FontBuilder& f) {
             Bytes& t = f.tables["CBLC"];
             FontBuilder::Set(t, kCblcStrike + 8, 4, 2);
             FontBuilder::Set(t, kCblcArray, 4, 0x00010001);  // glyph 1 alone
             FontBuilder::Set(t, kCblcArray + 4, 4, 16);
             t.insert(t.begin() + kCblcArray + 8, {0, 2, 0, 3, 0, 0, 0, 16});
         }},
        {"CBLC: index subtables overlapping",
         [](FontBuilder& f) {
             // Glyph 1 in a subtable of format 2 whose last 8 bytes are also the header of
             // glyphs 2-3's (format 2, image format 17, images after glyph 1's).
             Bytes t = Cblc();
             t.resize(kCblcSubtable);
             FontBuilder::Set(t, kCblcStrike + 8, 4, 2);
             FontBuilder::Set(t, kCblcArray, 4, 0x00010001);
             t.insert(t.begin() + kCblcArray + 8, {0, 2, 0, 3, 0, 0, 0, 16 + 12});
             FontBuilder::Set(t, kCblcArray + 4, 4, 16);
             for (std::uint32_t v : {2u, 17u})
                 FontBuilder::Put(t, 2, v);
             FontBuilder::Put(t, 4, 4);
             FontBuilder::Put(t, 4, kCbdtGlyph);
             for (std::uint32_t v : {2u, 17u})
                 FontBuilder::Put(t, 2, v);
             FontBuilder::Put(t, 4, 4 + kCbdtGlyph);
             FontBuilder::Put(t, 4, kCbdtGlyph);
             t.resize(t.size() + 8, 0);
             f.tables["CBLC"] = t;
         }},
    };
    for (const auto& [reason, change] : rules) {
        FontBuilder font = ColourFont();
        if (std::string(reason).starts_with("sbix")) {
            font.tables.erase("CBLC");
            font.tables.erase("CBDT");
        }
        change(font);
        const FontFileFacts facts = ReadFontFile(font.Build());
        EXPECT_FALSE(facts.sound) << reason;
        EXPECT_EQ(facts.reason, reason);
    }
}
