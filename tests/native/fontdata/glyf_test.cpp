// TrueType outlines, glyf and loca: their rules.
#include "judge_support.h"

TEST(GlyfTable, EachRuleRefusesAFontThatBreaksOnlyIt)
{
    const Rule rules[] = {
        // TrueType outlines: glyf and loca.
        {"loca absent", T, [](FontBuilder& f) { f.tables.erase("loca"); }, "loca: absent"},
        {"loca cut short", T, [](FontBuilder& f) { f.tables["loca"].resize(8); }, "loca: fewer entries than glyphs"},
        {"loca descending", T, in("loca", 2, 12), "loca: offsets descending"},
        {"loca past glyf", T, in("loca", 8, 20), "loca: a glyph past glyf"},
        {"glyf absent", T, [](FontBuilder& f) { f.tables.erase("glyf"); }, "glyf: absent"},
        {"a glyph shorter than its header", T, in("loca", 2, 4), "glyf: a glyph shorter than its header"},
        {"a glyph's contour ends past its slot", T, in("glyf", 0, 3), "glyf: contour ends past the glyph"},
        // Rules that a fixture of another rule of the same table could hide.
        {"a composite glyph in an 8-byte slot", T,
         [](FontBuilder& f) {
             Set16(f.tables["loca"], 2, 4);
             Set16(f.tables["glyf"], 0, 0xFFFF);
         },
         "glyf: a glyph shorter than its header"},
        {"loca's first glyph past glyf", T, in("loca", 0, 40), "loca: first glyph past glyf"},
    };
    ExpectEachRuleRefuses(rules);
}
