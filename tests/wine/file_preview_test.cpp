// A font file that is not installed, previewed from the path box: privately, with a
// caption that says so, released when the path changes, and never a damaged file.
#include <gtest/gtest.h>

#include <fstream>

#include "preview/font_attribute.h"
#include "preview/preview.h"
#include "support.h"
#include "fontcheck/font_trial.h"

namespace {

constexpr const char* kCaption = "Quillmoor字体查看器1.1";

class FilePreview : public WindowTest {
protected:
    // The file is read, judged and tried off the window's thread: the messages go on until
    // that is done.
    void Name(const std::string& text)
    {
        W().编辑框_安装文字目录.SetText(text);
        WaitForPreview(F());
    }
    std::string Face()
    {
        LOGFONTA lf = {};
        HFONT font = reinterpret_cast<HFONT>(SendMessageA(W().编辑框_输入的文字.hwnd(), WM_GETFONT, 0, 0));
        GetObjectA(font, sizeof lf, &lf);
        return lf.lfFaceName;
    }
    std::string Caption() { return TextOf(W().hwnd()); }
    // The face the sample box really draws with now.
    std::string DrawnFace()
    {
        HDC dc = GetDC(W().编辑框_输入的文字.hwnd());
        HGDIOBJ old = SelectObject(
            dc, reinterpret_cast<HFONT>(SendMessageA(W().编辑框_输入的文字.hwnd(), WM_GETFONT, 0, 0)));
        char face[LF_FACESIZE] = {};
        GetTextFaceA(dc, LF_FACESIZE, face);
        SelectObject(dc, old);
        ReleaseDC(W().编辑框_输入的文字.hwnd(), dc);
        return face;
    }
};

// Whether another process sees the family.
bool OtherProcessSees(const std::string& family)
{
    auto helper = StartProgram("window_helper.exe", "family \"" + family + "\"");
    return helper->ok && helper->WaitForExit() == 0;
}

// Released: nothing of this process's private fonts is left to remove.
bool Released(const std::string& path)
{
    return RemoveFontResourceExA(path.c_str(), FR_PRIVATE | FR_NOT_ENUM, nullptr) == 0;
}

}  // namespace

TEST_F(FilePreview, ShowsTheFilesFamilyPrivatelyAndSaysSo)
{
    W().列表框_字体.SetSelected(W().列表框_字体.FindExact("DejaVu Sans"));
    SendMessageA(W().列表框_字体.hwnd(), WM_KEYDOWN, VK_DOWN, 0);  // a family chosen by the user
    const std::string listed = Face();
    const std::set<std::string> folder = FontsFolderFiles();
    const std::set<std::string> records = RegistryRecords(HKEY_LOCAL_MACHINE);
    const std::set<std::string> userRecords = RegistryRecords(HKEY_CURRENT_USER);

    const std::string path = FixturePath("quillmoor-names.ttf");
    Name("\"" + path + "\"");  // quoted, as "Copy as path" gives it
    EXPECT_EQ(Face(), "Quillmoor Names");
    EXPECT_EQ(DrawnFace(), "Quillmoor Names");
    EXPECT_EQ(Caption(), std::string(kCaption) + " - Quillmoor Names (quillmoor-names.ttf, 未安装)");
    EXPECT_EQ(W().列表框_字体.Selected(), -1);
    EXPECT_FALSE(OtherProcessSees("Quillmoor Names"));
    EXPECT_EQ(FontsFolderFiles(), folder);
    EXPECT_EQ(RegistryRecords(HKEY_LOCAL_MACHINE), records);
    EXPECT_EQ(RegistryRecords(HKEY_CURRENT_USER), userRecords);

    // A collection shows its first family and says how many it holds.
    Name(FixturePath("quillmoor-pair.ttc"));
    EXPECT_EQ(Face(), "Quillmoor Pair A");
    EXPECT_EQ(Caption(), std::string(kCaption) + " - Quillmoor Pair A (quillmoor-pair.ttc, 共2个字体, 未安装)");
    EXPECT_TRUE(Released(path)) << "the first file is released when the path changes";

    // Another path: the sample returns to the list's family, the caption to the program's.
    Name("C:\\");
    EXPECT_EQ(Face(), listed);
    EXPECT_EQ(Caption(), kCaption);
    EXPECT_TRUE(Released(FixturePath("quillmoor-pair.ttc")));
}

namespace {

// The box's pixels as it paints itself.
std::vector<COLORREF> Pixels(HWND box)
{
    RECT rc;
    GetClientRect(box, &rc);
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, rc.right, rc.bottom);
    HGDIOBJ old = SelectObject(dc, bitmap);
    PrintWindow(box, dc, PW_CLIENTONLY);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < rc.bottom; ++y)
        for (int x = 0; x < rc.right; ++x)
            pixels.push_back(GetPixel(dc, x, y));
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return pixels;
}

}  // namespace

// What the sample shows is the file's family: the same box drawn with a font the test
// describes itself, in that family and the box's size, gives the same pixels.
TEST_F(FilePreview, TheSampleDrawsInTheFilesFamily)
{
    EditBox& sample = W().编辑框_输入的文字;
    sample.SetText("Quillmoor Names AaBbCc 0123456789");
    sample.SetTextColour(RGB(200, 0, 0));
    const std::vector<COLORREF> before = Pixels(sample.hwnd());
    Name(FixturePath("quillmoor-names.ttf"));
    const std::vector<COLORREF> previewed = Pixels(sample.hwnd());
    EXPECT_TRUE(previewed != before) << "the sample did not change";

    LOGFONTA reference;
    GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof reference, &reference);
    lstrcpynA(reference.lfFaceName, "Quillmoor Names", LF_FACESIZE);
    reference.lfCharSet = DEFAULT_CHARSET;
    reference.lfOutPrecision = OUT_DEFAULT_PRECIS;
    reference.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    reference.lfQuality = PROOF_QUALITY;
    reference.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
    HFONT font = CreateFontIndirectA(&reference);
    const HFONT own = reinterpret_cast<HFONT>(SendMessageA(sample.hwnd(), WM_GETFONT, 0, 0));
    SendMessageA(sample.hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    EXPECT_TRUE(Pixels(sample.hwnd()) == previewed) << "the sample is not drawn in the file's family";
    SendMessageA(sample.hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(own), TRUE);
    DeleteObject(font);
}

TEST_F(FilePreview, KeepsTheChosenStyleSizeAndColour)
{
    SetFontAttribute(W().编辑框_输入的文字, FontAttribute::Bold, 1);
    SetFontAttribute(W().编辑框_输入的文字, FontAttribute::Size, 36);
    W().编辑框_输入的文字.SetTextColour(RGB(200, 0, 0));
    LOGFONTA before = *W().编辑框_输入的文字.FontDescription();
    Name(FixturePath("quillmoor-otf.otf"));
    const LOGFONTA& shown = *W().编辑框_输入的文字.FontDescription();
    EXPECT_STREQ(shown.lfFaceName, "Quillmoor OTF");
    EXPECT_EQ(shown.lfWeight, before.lfWeight);
    EXPECT_EQ(shown.lfHeight, before.lfHeight);
    EXPECT_EQ(W().编辑框_输入的文字.TextColour(), RGB(200, 0, 0));
}

TEST_F(FilePreview, PickingAFamilyInTheListEndsIt)
{
    const std::string path = FixturePath("quillmoor-otf.otf");
    Name(path);
    ASSERT_EQ(Face(), "Quillmoor OTF");
    SetFocus(W().列表框_字体.hwnd());
    SendMessageA(W().列表框_字体.hwnd(), WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(Face(), W().列表框_字体.ItemText(W().列表框_字体.Selected()));
    EXPECT_EQ(Caption(), kCaption);
    EXPECT_TRUE(Released(path));
}

// Each of these leaves the sample as it was, with no box and nothing written.
TEST_F(FilePreview, BadInputLeavesTheSampleAsItWas)
{
    const std::string folder = ProgramFolder();
    const std::string empty = folder + "empty.ttf", text = folder + "text.ttf", locked = folder + "locked.ttf";
    std::ofstream(empty, std::ios::binary).close();
    std::ofstream(text, std::ios::binary) << "not a font\r\n";
    CopyFileA(TestFontPath(7).c_str(), locked.c_str(), FALSE);
    HANDLE holder = CreateFileA(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);

    // What the caption says: nothing for what names no one file; how many files for
    // several; that a file that was read is not previewed, and which.
    const auto refused = [](const std::string& path) {
        return std::string(kCaption) + " (" + path.substr(path.find_last_of('\\') + 1) + ", 无法预览)";
    };
    std::vector<std::pair<std::string, std::string>> cases = {
        {folder, kCaption},
        {folder + "missing.ttf", kCaption},
        {empty, refused(empty)},
        {text, refused(text)},
        {locked, refused(locked)},
        {"C:\\" + std::string(296, 'x') + ".ttf", kCaption},
        {TestFontPath(1) + "\r\n" + TestFontPath(2) + "\r\n", std::string(kCaption) + " - 2 个字体文件"},
    };
    std::ifstream list(FixturePath("damaged.txt"));
    for (std::string file, fault; list >> file >> fault;)
        cases.push_back({FixturePath(file), refused(FixturePath(file))});
    const std::string face = Face();
    for (const auto& [path, caption] : cases) {
        SCOPED_TRACE(path.substr(0, 80));
        Name(path);
        EXPECT_EQ(Face(), face);
        EXPECT_EQ(Caption(), caption);
        EXPECT_FALSE(WaitForDialog("提示", 0, GetCurrentProcessId()));
    }
    CloseHandle(holder);
    DeleteFileA(empty.c_str());
    DeleteFileA(text.c_str());
    DeleteFileA(locked.c_str());
}

TEST_F(FilePreview, ManyChangesKeepGdiObjectsAndFontsFlat)
{
    const std::string files[] = {FixturePath("quillmoor-names.ttf"), FixturePath("quillmoor-otf.otf"),
                                 FixturePath("quillmoor-mac.ttf"), FixturePath("damaged-cmap-glyph.ttf")};
    for (const std::string& file : files)
        Name(file);  // every verdict known
    const DWORD objects = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    for (int i = 0; i < 1000; ++i)
        Name(files[i % 4]);
    Name("");
    EXPECT_LE(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), objects + 2);
    for (const std::string& file : files)
        EXPECT_TRUE(Released(file)) << file;
}

// "Open with": the program started with a file shows its window already previewing it.
TEST(OpenWith, TheProgramStartsPreviewingTheFileItWasGiven)
{
    const std::string path = FixturePath("quillmoor-otf.otf");
    for (const std::string& argument : {"\"" + path + "\"", path}) {
        auto program = StartProgram("quillmoor.exe", argument);
        ASSERT_TRUE(program->ok);
        HWND window = WaitForTopLevel("Quillmoor字体查看器1.1 - Quillmoor OTF (quillmoor-otf.otf, 未安装)",
                                      program->info.dwProcessId);
        EXPECT_TRUE(window) << argument;
        TerminateProcess(program->info.hProcess, 0);
        program->WaitForExit();
    }
}

TEST_F(FilePreview, AFamilyOf40BytesIsPreviewedUnderTheNameTheSystemGivesIt)
{
    const std::string path = FixturePath("long-name.ttf");
    const std::string full = "Quillmoor Family With A Long Name For 40", listed = full.substr(0, 31);
    EditBox& sample = W().编辑框_输入的文字;
    sample.SetText("AaBbQq 0123 WwMm");
    const RECT box = ClientOnScreen(sample.hwnd());
    const std::vector<COLORREF> before = ScreenPixels(box);
    Name(path);
    EXPECT_EQ(Face(), listed);
    EXPECT_EQ(DrawnFace(), listed);
    EXPECT_EQ(Caption(), std::string(kCaption) + " - " + full + " (long-name.ttf, 未安装)");
    UpdateWindow(sample.hwnd());
    PumpMessages(100);
    const std::vector<COLORREF> previewed = ScreenPixels(box);
    EXPECT_NE(previewed, before);

    // The same box drawn with the file added by its path, under the name the list would show.
    Name("");
    ASSERT_GT(AddFontResourceExA(path.c_str(), FR_PRIVATE | FR_NOT_ENUM, nullptr), 0);
    SetFontAttribute(sample, FontAttribute::FaceName, listed);
    UpdateWindow(sample.hwnd());
    PumpMessages(100);
    EXPECT_EQ(ScreenPixels(box), previewed);
    SetFontAttribute(sample, FontAttribute::FaceName, "Tahoma");
    RemoveFontResourceExA(path.c_str(), FR_PRIVATE | FR_NOT_ENUM, nullptr);
}

TEST_F(FilePreview, AFamilyOutsideTheCodePageIsPreviewedThroughTheWideCall)
{
    Name(FixturePath("hangul-1.ttf"));
    const std::wstring family = L"\uB098\uB214\uC2DC\uD5D8\uAC00";  // 나눔시험가
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(W().编辑框_输入的文字.hwnd(), WM_GETFONT, 0, 0));
    LOGFONTW made = {};
    GetObjectW(font, sizeof made, &made);
    EXPECT_TRUE(family == made.lfFaceName);
    HDC dc = GetDC(W().编辑框_输入的文字.hwnd());
    HGDIOBJ old = SelectObject(dc, font);
    wchar_t drawn[LF_FACESIZE] = {};
    GetTextFaceW(dc, LF_FACESIZE, drawn);
    SelectObject(dc, old);
    ReleaseDC(W().编辑框_输入的文字.hwnd(), dc);
    EXPECT_TRUE(family == drawn);
    // The caption shows the name as well as code page 936 allows.
    EXPECT_EQ(Caption(), std::string(kCaption) + " - ????? (hangul-1.ttf, 未安装)");
    Name("");
    EXPECT_EQ(Caption(), kCaption);
}
