// CFF and CFF2 outlines: their rules.
#include "judge_support.h"

TEST(CffTable, EachRuleRefusesAFontThatBreaksOnlyIt)
{
    const Rule rules[] = {
        // CFF and CFF2 outlines.
        {"CFF version 3", C, in("CFF ", 0, 3, 1), "CFF: unknown major version"},
        {"CFF header size 3", C, in("CFF ", 2, 3, 1), "CFF: header size below 4"},
        {"CFF INDEX not starting at 1", C, in("CFF ", 4 + 3, 2, 1), "CFF: Name: INDEX not starting at 1"},
        {"CFF INDEX offsets descending", C, in("CFF ", 37 + 3 + 2, 1, 1), "CFF: CharStrings: INDEX offsets descending"},
        {"CFF with a reserved operator", C,
         [](FontBuilder& f) {
             Bytes& t = f.tables["CFF "];
             std::fill(t.begin() + 11 + 5 + 6, t.begin() + 11 + 5 + 10, 139);
             t[11 + 5 + 10] = 24;
         },
         "CFF: Top DICT: DICT reserved operator"},
        {"CFF CharStrings short of the glyph count", C,
         [](FontBuilder& f) {
             Set16(f.tables["maxp"], 4, 5);
             f.tables["hmtx"].resize(14);
         },
         "CFF: CharStrings not counting every glyph"},
        {"CFF Private DICT past the table", C, in("CFF ", 11 + 5 + 7, 200, 4), "CFF: Private DICT past the table"},
        {"CFF absent", C, [](FontBuilder& f) { f.tables.erase("CFF "); }, "CFF: absent"},
        {"CFF2 version 3", C2, in("CFF2", 0, 3, 1), "CFF: CFF2 unknown major version"},
        {"CFF2 Top DICT past the table", C2, in("CFF2", 3, 200), "CFF: CFF2 Top DICT past the table"},
        {"CFF2 CharStrings short of the glyph count", C2,
         [](FontBuilder& f) {
             Set16(f.tables["maxp"], 4, 5);
             f.tables["hmtx"].resize(14);
         },
         "CFF: CharStrings not counting every glyph"},
        // Rules that a fixture of another rule of the same table could hide.
        {"CFF without a Top DICT", C,
         [](FontBuilder& f) { f.tables["CFF "] = {1, 0, 4, 1, 0, 1, 1, 1, 3, 'Q', 'm', 0, 0, 0, 0, 0, 0}; },
         "CFF: no Top DICT"},
        {"CFF header cut short", C, [](FontBuilder& f) { f.lengths["CFF "] = 3; }, "CFF: header cut short"},
        {"CFF header offSize 0", C, in("CFF ", 3, 0, 1), "CFF: header offset size not 1 to 4"},
        {"CFF header offSize 5", C, in("CFF ", 3, 5, 1), "CFF: header offset size not 1 to 4"},
        {"CFF Name INDEX offSize 5", C, in("CFF ", 4 + 2, 5, 1), "CFF: Name: INDEX offset size not 1 to 4"},
        {"CFF Name INDEX data past the table", C, in("CFF ", 4 + 3 + 1, 0xFF, 1),
         "CFF: Name: INDEX data past the table"},
        {"CFF String INDEX with a bad offset size", C, in("CFF ", 33 + 1, 1, 1),
         "CFF: String: INDEX offset size not 1 to 4"},
        {"CFF Global Subr INDEX with a bad offset size", C, in("CFF ", 35 + 1, 1, 1),
         "CFF: Global Subr: INDEX offset size not 1 to 4"},
        {"CFF CharStrings offsets past the table", C, in("CFF ", 37, 0x7FFF),
         "CFF: CharStrings: INDEX offsets past the table"},
        {"CFF CharStrings count past the table", C,
         [](FontBuilder& f) {
             Set32(f.tables["CFF "], 11 + 5 + 1, static_cast<std::uint32_t>(f.tables["CFF "].size() - 1));
         },
         "CFF: CharStrings: INDEX count past the table"},
        {"CFF CharStrings offset size past the table", C,
         [](FontBuilder& f) {
             Set32(f.tables["CFF "], 11 + 5 + 1, static_cast<std::uint32_t>(f.tables["CFF "].size() - 2));
         },
         "CFF: CharStrings: INDEX offset size past the table"},
        {"CFF CharStrings past the table", C, in("CFF ", 11 + 5 + 1, 0x7FFFFFFF, 4),
         "CFF: CharStrings past the table"},
        {"CFF without CharStrings", C, in("CFF ", 11 + 5 + 5, 15, 1), "CFF: no CharStrings"},
        {"CFF DICT 16-bit operand cut short", C, in("CFF ", 11 + 5 + 16, 28, 1),
         "CFF: Top DICT: DICT 16-bit operand cut short"},
        {"CFF DICT 32-bit operand cut short", C, in("CFF ", 11 + 5 + 16, 29, 1),
         "CFF: Top DICT: DICT 32-bit operand cut short"},
        {"CFF DICT two-byte operand cut short", C, in("CFF ", 11 + 5 + 16, 247, 1),
         "CFF: Top DICT: DICT two-byte operand cut short"},
        {"CFF DICT two-byte operator cut short", C, in("CFF ", 11 + 5 + 16, 12, 1),
         "CFF: Top DICT: DICT two-byte operator cut short"},
        {"CFF DICT real number without its end", C, in("CFF ", 11 + 5 + 16, 30, 1),
         "CFF: Top DICT: DICT real number without its end"},
        {"CFF2 header cut short", C2, [](FontBuilder& f) { f.lengths["CFF2"] = 4; }, "CFF: CFF2 header cut short"},
        {"CFF2 header size 4", C2, in("CFF2", 2, 4, 1), "CFF: CFF2 header size below 5"},
        {"CFF2 Global Subr INDEX past the table", C2,
         [](FontBuilder& f) { f.tables["CFF2"].resize(5 + 19 + 2); },
         "CFF: CFF2 Global Subr: INDEX count past the table"},
        {"CFF2 DICT of 514 operands", C2,
         [](FontBuilder& f) {
             Bytes t = {2, 0, 5};
             FontBuilder::Put(t, 2, 514);
             t.resize(t.size() + 514, 139);
             FontBuilder::Put(t, 4, 0);
             f.tables["CFF2"] = t;
         },
         "CFF: CFF2 Top DICT: DICT operand stack past 513"},
    };
    ExpectEachRuleRefuses(rules);
}
