// head, maxp, hhea and hmtx: their rules.
#include "judge_support.h"

TEST(MetricsTables, EachRuleRefusesAFontThatBreaksOnlyIt)
{
    const Rule rules[] = {
        // head, maxp, hhea and hmtx.
        {"head cut short", T, [](FontBuilder& f) { f.lengths["head"] = 53; }, "head: cut short"},
        {"head absent", T, [](FontBuilder& f) { f.tables.erase("head"); }, "head: absent"},
        {"units per em 0", T, in("head", 18, 0), "head: units per em below 16"},
        {"units per em 16385", T, in("head", 18, 16385), "head: units per em above 16384"},
        {"a loca format of 7", T, in("head", 50, 7), "head: unknown loca format"},
        {"maxp cut short", T, [](FontBuilder& f) { f.lengths["maxp"] = 5; }, "maxp: cut short"},
        {"no glyphs", T, in("maxp", 4, 0), "maxp: no glyphs"},
        {"hhea cut short", T, [](FontBuilder& f) { f.lengths["hhea"] = 35; }, "hhea: cut short"},
        {"no metrics", T, in("hhea", 34, 0), "hhea: no metrics"},
        {"more metrics than glyphs", T, in("hhea", 34, 5), "hhea: more metrics than glyphs"},
        {"hmtx cut short", T, [](FontBuilder& f) { f.tables["hmtx"].resize(11); }, "hmtx: cut short"},
        // Rules that a fixture of another rule of the same table could hide.
        {"hmtx absent", T, [](FontBuilder& f) { f.tables.erase("hmtx"); }, "hmtx: absent"},
        {"hhea absent", T, [](FontBuilder& f) { f.tables.erase("hhea"); }, "hhea: absent"},
        {"maxp absent", T, [](FontBuilder& f) { f.tables.erase("maxp"); }, "maxp: absent"},
    };
    ExpectEachRuleRefuses(rules);
}
