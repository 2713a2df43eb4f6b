// Previewing a font file as the user sees it (the path set, until the sample box has
// repainted in the file's font) against a floor that only adds the file privately, creates
// the font, sets it on an edit box and repaints it; and typing a 60-character path into
// the path box against typing into a plain edit box. Medians of 7 in one run; prints
// "name value unit" lines. Run by scripts/bench.sh: preview_bench SMALL_FONT COLLECTION
#include <windows.h>

#include "clock.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "app/features.h"
#include "app/wiring.h"
#include "catalogue/font_lists.h"
#include "preview/file_preview.h"
#include "fontcheck/font_trial.h"
#include "quiet_wiring.h"
#include "window/main_window.h"

namespace {

void Print(const char* name, double value, const char* unit)
{
    std::printf("%s %.2f %s\n", name, value, unit);
    std::fflush(stdout);
}

// The floor's font: the file added privately, its family created in the GUI font's size.
void FloorPreview(HWND edit, const std::string& path, const char* family, HFONT& font)
{
    AddFontResourceExA(path.c_str(), FR_PRIVATE | FR_NOT_ENUM, nullptr);
    LOGFONTA request;
    GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof request, &request);
    request.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(request.lfFaceName, family, LF_FACESIZE);
    font = CreateFontIndirectA(&request);
    SendMessageA(edit, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    UpdateWindow(edit);
}

void Type(HWND edit, const std::string& text)
{
    for (char ch : text)
        SendMessageA(edit, WM_CHAR, static_cast<WPARAM>(static_cast<unsigned char>(ch)), 1);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3)
        return 2;

    Features features;
    features.trials.UseProgram(BenchFolder() + "quillmoor.exe");
    const std::vector<WiringRow> wiring = WiringWithoutForum(features);
    MainWindow window(kMainLayout, wiring);
    if (!window.Load())
        return 1;
    EditBox& path = window.编辑框_安装文字目录;
    HWND sample = window.编辑框_输入的文字.hwnd();
    window.编辑框_输入的文字.SetText("Quillmoor 字体查看器 AaBbCc 0123456789\r\n永和九年，岁在癸丑");
    UpdateWindow(sample);
    // Typing's floor: a plain edit box of the path box's size and font.
    RECT box;
    GetWindowRect(path.hwnd(), &box);
    HWND plain = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 0, 0, box.right - box.left,
                                 box.bottom - box.top, window.hwnd(), nullptr, nullptr, nullptr);
    SendMessageA(plain, WM_SETFONT, SendMessageA(path.hwnd(), WM_GETFONT, 0, 0), FALSE);

    // The file is read, judged and tried off the window's thread: the messages go on until
    // it is shown.
    auto name = [&](const std::string& text) {
        path.SetText(text);
        PumpWhile([&] { return features.preview.Running(); });
    };
    const struct {
        const char* name;
        std::string file;
        const char* family;
    } files[] = {{"small_font", argv[1], "Quillmoor Test 1"}, {"wqy_collection", argv[2], "WenQuanYi Micro Hei"}};
    for (const auto& f : files) {
        // The first preview of a file pays for reading, judging and trying it; later ones
        // find the verdict.
        const double first = Now();
        name(f.file);
        UpdateWindow(sample);
        const double withTrial = Now() - first;
        path.SetText("");
        const double preview = Median([&] {
            path.SetText("");
            UpdateWindow(sample);
        }, [&] {
            name(f.file);
            UpdateWindow(sample);
        });
        path.SetText("");
        HFONT font = nullptr;
        // The floor draws in the same sample box, from the program's own font back each time.
        const HFONT own = window.编辑框_输入的文字.Font();
        const double floor = Median(
            [&] {
                SendMessageA(sample, WM_SETFONT, reinterpret_cast<WPARAM>(own), TRUE);
                UpdateWindow(sample);
                if (font)
                    DeleteObject(font);
                RemoveFontResourceExA(f.file.c_str(), FR_PRIVATE | FR_NOT_ENUM, nullptr);
            },
            [&] { FloorPreview(sample, f.file, f.family, font); });
        SendMessageA(sample, WM_SETFONT, reinterpret_cast<WPARAM>(own), TRUE);
        std::printf("# %s\n", f.name);
        Print("preview_first_with_trial", withTrial, "ms");
        Print("preview", preview, "ms");
        Print("preview_floor", floor, "ms");
        Print("preview_ratio", preview / floor, "x");
    }

    // Typing a path one character at a time: nothing is loaded until it names a file.
    const std::string typed = "C:\\users\\quillmoor\\downloads\\fonts\\quillmoor-sample-regular.ttf";
    const std::string sixty = typed.substr(0, 60);
    const double typing = Median([&] { path.SetText(""); }, [&] { Type(path.hwnd(), sixty); });
    const double plainTyping = Median([&] { SetWindowTextA(plain, ""); }, [&] { Type(plain, sixty); });
    Print("typing_60_characters", typing, "ms");
    Print("typing_floor", plainTyping, "ms");
    Print("typing_ratio", typing / plainTyping, "x");
    return 0;
}
