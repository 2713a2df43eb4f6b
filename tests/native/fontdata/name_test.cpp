// The name table: what a font says about itself, and its rules.
#include "judge_support.h"

TEST(ReadFontFile, ReadsWhatAFontSaysAboutItself)
{
    FontBuilder builder(Outlines::Cff2);
    builder.tables["name"] = FontBuilder::Name({{1, 0x0409, u"Quillmoor Built"},
                                                {4, 0x0409, u"Quillmoor Built Regular"},
                                                {0, 0x0804, u"版权所有"},
                                                {0, 0x0409, u"Copyright Quillmoor"},
                                                {5, 0x0409, u"Version 1.002"},
                                                {7, 0x0409, u"Quillmoor is a trademark"},
                                                {8, 0x0409, u"Quillmoor Foundry"},
                                                {9, 0x0409, u"A. Designer"},
                                                {13, 0x0409, std::u16string(5000, u'L')},
                                                {14, 0x0409, u"https://quillmoor.example/licence"}});
    // fvar: two axes of 20 bytes from offset 16.
    FontBuilder::Bytes fvar = FontBuilder::Be16s({1, 0, 16, 2, 2, 20, 0, 0});
    for (const char* tag : {"wght", "wdth"}) {
        fvar.insert(fvar.end(), tag, tag + 4);
        fvar.resize(fvar.size() + 16, 0);
    }
    builder.tables["fvar"] = fvar;
    const FontFileFacts facts = ReadFontFile(builder.Build());
    ASSERT_TRUE(facts.sound) << facts.fault;
    const FontFace& face = facts.faces[0];
    EXPECT_EQ(face.glyphs, 4u);
    EXPECT_EQ(face.unitsPerEm, 1000u);
    EXPECT_EQ(face.axes, (std::vector<std::string>{"wght", "wdth"}));
    ASSERT_TRUE(face.about);
    EXPECT_TRUE(face.about->copyright == u"Copyright Quillmoor");  // US English first
    EXPECT_TRUE(face.about->version == u"Version 1.002");
    EXPECT_TRUE(face.about->trademark == u"Quillmoor is a trademark");
    EXPECT_TRUE(face.about->manufacturer == u"Quillmoor Foundry");
    EXPECT_TRUE(face.about->designer == u"A. Designer");
    EXPECT_EQ(face.about->licence.size(), 4096u);  // a text is cut at 4,096 characters
    EXPECT_TRUE(face.about->licenceUrl == u"https://quillmoor.example/licence");
    const FontFileFacts plain = ReadFontFile(FontBuilder().Build());
    EXPECT_TRUE(plain.faces[0].axes.empty());
    EXPECT_TRUE(plain.faces[0].about->licence.empty());
}

TEST(NameTable, EachRuleRefusesAFontThatBreaksOnlyIt)
{
    const Rule rules[] = {
        // The name table.
        {"name absent", T, [](FontBuilder& f) { f.tables.erase("name"); }, "name: absent"},
        {"name records past the table", T, in("name", 2, 99), "name: records past the table"},
        {"name storage past the table", T, in("name", 4, 0xFFFF), "name: storage past the table"},
        {"a name past the storage", T, in("name", 6 + 8, 0x1000), "name: a name past the storage"},
        {"no family and no full name", T,
         [](FontBuilder& f) { f.tables["name"] = FontBuilder::Name({{2, 0x0409, u"Regular"}}); }, "name: no family and no full name"},
        // Rules that a fixture of another rule of the same table could hide.
        {"name cut short", T, [](FontBuilder& f) { f.lengths["name"] = 5; }, "name: cut short"},
    };
    ExpectEachRuleRefuses(rules);
}
