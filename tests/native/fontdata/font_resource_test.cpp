// The older formats' judge: .fon, .fnt and .fot resources.
#include "judge_support.h"

namespace {

// A raster font resource of version 3 built byte by byte: characters A and B, 8 by 10
// pixels, named "Qm Raster".
class FntBuilder {
public:
    FntBuilder()
    {
        bytes.assign(148, 0);
        Set16(0, 0x0300);
        Set16(66, 0);                  // raster
        Set16(88, 10);                 // pixel height
        bytes[95] = 'A';               // first character
        bytes[96] = 'B';               // last
        for (int c = 0; c < 3; ++c) {  // A, B and the one past the last: width 8, 10 bytes each
            Put16(8);
            Put32(static_cast<std::uint32_t>(148 + 3 * 6 + 10 * c));
        }
        bytes.resize(bytes.size() + 30, 0x5A);
        Set32(113, 148 + 18);
        Set32(105, static_cast<std::uint32_t>(bytes.size()));
        for (char c : std::string("Qm Raster"))
            bytes.push_back(static_cast<std::uint8_t>(c));
        bytes.push_back(0);
        Set32(2, static_cast<std::uint32_t>(bytes.size()));
    }
    void Set16(std::size_t at, std::uint32_t v)
    {
        bytes[at] = static_cast<std::uint8_t>(v);
        bytes[at + 1] = static_cast<std::uint8_t>(v >> 8);
    }
    void Set32(std::size_t at, std::uint32_t v)
    {
        Set16(at, v & 0xFFFF);
        Set16(at + 2, v >> 16);
    }
    void Put16(std::uint32_t v)
    {
        bytes.push_back(static_cast<std::uint8_t>(v));
        bytes.push_back(static_cast<std::uint8_t>(v >> 8));
    }
    void Put32(std::uint32_t v)
    {
        Put16(v & 0xFFFF);
        Put16(v >> 16);
    }
    std::vector<std::uint8_t> bytes;
};

// The headers of an NE executable (its NE header at 0x40, its resource table at 0x80), in
// a file of `size` bytes.
std::vector<std::uint8_t> NeHeaders(std::size_t size)
{
    std::vector<std::uint8_t> b(size, 0);
    b[0] = 'M';
    b[1] = 'Z';
    b[0x3C] = 0x40;
    b[0x40] = 'N';
    b[0x41] = 'E';
    b[0x40 + 0x24] = 0x40;
    return b;
}

// An NE executable holding the font resource.
std::vector<std::uint8_t> NeFile(const std::vector<std::uint8_t>& font, std::uint32_t shift = 4)
{
    std::vector<std::uint8_t> b = NeHeaders(0x100);
    std::size_t at = 0x80;
    auto put16 = [&](std::uint32_t v) {
        b[at++] = static_cast<std::uint8_t>(v);
        b[at++] = static_cast<std::uint8_t>(v >> 8);
    };
    put16(shift);
    put16(0x8008);  // one font
    put16(1);
    at += 4;
    put16(0x200 >> shift);  // at 0x200
    put16(static_cast<std::uint32_t>((font.size() + (1u << shift) - 1) >> shift));
    at += 8;
    put16(0);
    b.resize(0x200, 0);
    b.insert(b.end(), font.begin(), font.end());
    return b;
}

// A scalable font resource as the system makes one (CreateScalableFontResource): a font
// directory whose font is marked scalable, and the TrueType file's name.
std::vector<std::uint8_t> FotFile(const std::string& trueTypeFile)
{
    std::vector<std::uint8_t> b = NeHeaders(0x200);
    const std::uint8_t table[] = {4, 0,                                          // shift
                                  0x07, 0x80, 1, 0, 0, 0, 0, 0, 0x10, 0, 0x08, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                  0xCC, 0x80, 1, 0, 0, 0, 0, 0, 0x18, 0, 0x01, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                  0, 0};
    std::copy(std::begin(table), std::end(table), b.begin() + 0x80);
    b[0x100 + 4 + 66] = 0x03;  // the font directory at 0x100: count, ordinal, then the header
    b[0x100 + 4 + 67] = 0x40;  // dfType: scalable
    b[0x100] = 1;
    std::copy(trueTypeFile.begin(), trueTypeFile.end(), b.begin() + 0x180);  // the name at 0x180
    return b;
}

std::uint32_t Le32(const std::vector<std::uint8_t>& b, std::size_t at)
{
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

}  // namespace

TEST(ReadFontResource, ReadsSoundFontResourcesExecutablesAndScalableOnes)
{
    using F = FontResourceFacts::Format;
    const FontResourceFacts fnt = ReadFontResource(FntBuilder().bytes);
    EXPECT_EQ(fnt.format, F::Fnt);
    ASSERT_TRUE(fnt.sound) << fnt.fault;
    EXPECT_EQ(fnt.faces, std::vector<std::string>{"Qm Raster"});
    const FontResourceFacts fon = ReadFontResource(NeFile(FntBuilder().bytes));
    EXPECT_EQ(fon.format, F::Fon);
    ASSERT_TRUE(fon.sound) << fon.fault;
    EXPECT_EQ(fon.faces, std::vector<std::string>{"Qm Raster"});

    // A scalable font resource as the system makes one (CreateScalableFontResource).
    const FontResourceFacts fot = ReadFontResource(FotFile("qtest70.ttf"));
    EXPECT_EQ(fot.format, F::Fot);
    ASSERT_TRUE(fot.sound) << fot.fault;
    EXPECT_EQ(fot.scalableFile, "qtest70.ttf");

    // Every .fon file Wine's font package brings.
    int files = 0;
    if (std::filesystem::exists(QUILLMOOR_WINE_FONTS)) {
        for (const auto& entry : std::filesystem::directory_iterator(QUILLMOOR_WINE_FONTS)) {
            if (entry.path().extension() != ".fon")
                continue;
            const FontResourceFacts facts = ReadFontResource(FileBytes(entry.path().string()));
            EXPECT_EQ(facts.format, F::Fon) << entry.path();
            EXPECT_TRUE(facts.sound) << entry.path() << ": " << facts.fault;
            EXPECT_FALSE(facts.faces.empty()) << entry.path();
            ++files;
        }
    }
    EXPECT_GE(files, 10) << "Wine's fonts were not unpacked in " << QUILLMOOR_WINE_FONTS;
    EXPECT_EQ(ReadFontResource(std::vector<std::uint8_t>{'h', 'i'}).format, F::Other);
}

TEST(ReadFontResource, EachRuleRefusesAResourceThatBreaksOnlyIt)
{
    struct Case {
        const char* what;
        std::function<std::vector<std::uint8_t>()> make;
        const char* reason;  // the part, then the rule
    };
    // The executable of a sound font resource with some of its bytes changed.
    auto ne = [](std::vector<std::pair<std::size_t, std::uint8_t>> changes) {
        return [=] {
            std::vector<std::uint8_t> b = NeFile(FntBuilder().bytes);
            for (const auto& [at, value] : changes)
                b[at] = value;
            return b;
        };
    };
    auto fnt = [](const std::function<void(FntBuilder&)>& change) {
        return [=] {
            FntBuilder f;
            change(f);
            return f.bytes;
        };
    };
    const Case cases[] = {
        {"a size past the file", fnt([](FntBuilder& f) { f.Set32(2, static_cast<std::uint32_t>(f.bytes.size() + 1)); }),
         "font: size past the resource"},
        {"a size smaller than the header", fnt([](FntBuilder& f) { f.Set32(2, 100); }), "font: size below its header"},
        {"a header cut short", fnt([](FntBuilder& f) { f.bytes.resize(100); }), "font: header cut short"},
        {"the first character after the last", fnt([](FntBuilder& f) { f.bytes[95] = 'C'; }),
         "font: first character after the last"},
        {"no pixel height", fnt([](FntBuilder& f) { f.Set16(88, 0); }), "font: no pixel height"},
        {"a pixel height of 1,025", fnt([](FntBuilder& f) { f.Set16(88, 1025); }), "font: pixel height past 1024"},
        {"a character table past the font", fnt([](FntBuilder& f) { f.bytes[96] = 0xFF; }),
         "font: character table past the font"},
        {"a bitmap past the font", fnt([](FntBuilder& f) { f.Set32(148 + 6 + 2, 0xFFF0); }),
         "font: a character past the font"},
        {"a bitmap taller than the font", fnt([](FntBuilder& f) { f.Set16(88, 40); }),
         "font: a character past the font"},
        {"the bits past the font", fnt([](FntBuilder& f) { f.Set32(113, 0x10000); }), "font: bits past the font"},
        {"a face name past the font", fnt([](FntBuilder& f) { f.Set32(105, 0x10000); }),
         "font: face name past the font"},
        {"a face name without its end", fnt([](FntBuilder& f) { f.bytes.back() = 'x'; }),
         "font: face name without its end"},
        {"an empty face name", fnt([](FntBuilder& f) { f.bytes[Le32(f.bytes, 105)] = 0; }), "font: empty face name"},
        {"a DOS header cut short", [] {
             std::vector<std::uint8_t> b = NeFile(FntBuilder().bytes);
             b.resize(0x30);
             return b;
         }, "executable: DOS header cut short"},
        {"an executable header past the file", ne({{0x3C, 0xF0}, {0x3D, 0xFF}}), "executable: NE header past the end"},
        {"not an NE executable", ne({{0x41, 'X'}}), "executable: not NE"},
        {"a resource past the file", ne({{0x8A, 0xFF}, {0x8B, 0x7F}}), "resources: a resource past the end"},
        {"a resource table without its end", ne({{0x40 + 0x24, 0xF0}, {0x40 + 0x25, 0xFF}}),
         "resources: table past the end"},
        {"resource entries past the file", ne({{0x84, 0xFF}, {0x85, 0xFF}}), "resources: entries past the end"},
        // A resource table at the very end of the file: its shift, then nothing, or a type
        // whose header is cut.
        {"resource types past the file", [] {
             std::vector<std::uint8_t> b = NeHeaders(0x100);
             b[0x40 + 0x24] = 0x100 - 2 - 0x40;
             return b;
         }, "resources: type past the end"},
        {"a resource type's header past the file", [] {
             std::vector<std::uint8_t> b = NeHeaders(0x100);
             b[0x40 + 0x24] = 0x100 - 4 - 0x40;
             b[0xFC] = 4;
             b[0xFE] = 0x08;
             b[0xFF] = 0x80;
             return b;
         }, "resources: type header past the end"},
        {"an alignment shift of 16", [] { return NeFile(FntBuilder().bytes, 16); }, "resources: alignment shift past 15"},
        {"an executable without fonts", ne({{0x82, 0x01}}), "resources: no fonts"},  // another resource type
        {"a damaged font inside", [] {
             FntBuilder f;
             f.Set16(88, 0);
             return NeFile(f.bytes);
         }, "font: no pixel height"},
        {"a font of an unknown version inside", [] {
             FntBuilder f;
             f.bytes[1] = 0x01;
             return NeFile(f.bytes);
         }, "font: unknown version"},
        {"a scalable font without its file", [] { return FotFile(""); }, "resources: a scalable font without its file"},
    };
    for (const Case& c : cases) {
        const FontResourceFacts facts = ReadFontResource(c.make());
        EXPECT_NE(facts.format, FontResourceFacts::Format::Other) << c.what;
        EXPECT_FALSE(facts.sound) << c.what;
        EXPECT_EQ(facts.reason, c.reason) << c.what;
        EXPECT_EQ(facts.fault, std::string(c.reason).substr(0, std::string(c.reason).find(':'))) << c.what;
    }
}
