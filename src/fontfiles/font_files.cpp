#include "fontfiles/font_files.h"

#include <windows.h>

#include <shlobj.h>

#include <vector>

#include "fontfiles/install_rules.h"
#include "window/main_window.h"
#include "win/message_box.h"
#include "win/scoped.h"

namespace {

constexpr const char* kFontsKey = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts";
constexpr DWORD kLargestNameRead = 64u << 20;  // fonts bigger than this are recorded by file name

// The font's name from the open file, in the ANSI code page.
std::optional<std::string> FontNameOf(HANDLE file)
{
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file, &size) || size.QuadPart <= 0 || size.QuadPart > kLargestNameRead)
        return std::nullopt;
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size.QuadPart));
    DWORD read = 0;
    if (!ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr))
        return std::nullopt;
    bytes.resize(read);
    const std::optional<std::u16string> name = FontNameFromFile(bytes);
    if (!name)
        return std::nullopt;
    const auto* wide = reinterpret_cast<const wchar_t*>(name->c_str());
    const int length =
        WideCharToMultiByte(CP_ACP, 0, wide, static_cast<int>(name->size()), nullptr, 0, nullptr, nullptr);
    std::string ansi(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide, static_cast<int>(name->size()), ansi.data(), length, nullptr, nullptr);
    return ansi;
}

// Records the installed file in the system's font registry under a value name of its own:
// an existing record of another file is never replaced.
bool RecordFont(const std::string& valueName, const std::string& fileName)
{
    ScopedKey key;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kFontsKey, 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr,
                        key.out(), nullptr) != ERROR_SUCCESS)
        return false;
    std::string name = valueName;
    for (int n = 2; RegQueryValueExA(key.get(), name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS; ++n)
        name = valueName + " #" + std::to_string(n);
    const LONG result =
        RegSetValueExA(key.get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(fileName.c_str()),
                       static_cast<DWORD>(fileName.size() + 1));
    return result == ERROR_SUCCESS;
}

}  // namespace

void OpenFontFile(MainWindow& window)
{
    CommonDlg& dialog = window.通用对话框1;
    dialog.SetDialogKind(0);
    dialog.SetFilter(kFontFilter);
    if (!dialog.OpenDialog())
        return;
    window.编辑框_安装文字目录.SetText(dialog.FileName());
}

int InstallFontFile(const std::string& source)
{
    char folder[MAX_PATH] = {};
    if (!SHGetSpecialFolderPathA(nullptr, folder, CSIDL_FONTS, FALSE))
        return 0;

    // Only an existing file that nobody else has open, read without sharing.
    ScopedHandle file(
        CreateFileA(source.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid())
        return 0;
    std::string fullPath(MAX_PATH, '\0');
    DWORD length = GetFullPathNameA(source.c_str(), static_cast<DWORD>(fullPath.size()), fullPath.data(), nullptr);
    if (length >= fullPath.size()) {
        fullPath.resize(length);
        length = GetFullPathNameA(source.c_str(), length, fullPath.data(), nullptr);
    }
    fullPath.resize(length);
    const std::string fileName = InstalledFileName(fullPath);
    const std::string target = JoinPath(folder, fileName);
    const std::optional<std::string> fontName = FontNameOf(file.get());
    file.Close();
    if (length == 0 || fileName.empty())
        return 0;

    // Never over an existing file: what fails from here on removes only this copy.
    if (!CopyFileA(source.c_str(), target.c_str(), TRUE))
        return 0;
    // The installed copy is the font, so the user's file is neither needed nor held.
    const int added = AddFontResourceA(target.c_str());
    if (added == 0) {
        DeleteFileA(target.c_str());
        return 0;
    }
    if (!RecordFont(FontRegistryName(fontName, fileName), fileName)) {
        RemoveFontResourceA(target.c_str());
        DeleteFileA(target.c_str());
        return 0;
    }
    SendMessageA(HWND_BROADCAST, WM_FONTCHANGE, 0, 0);
    return added;
}

void InstallChosenFont(MainWindow& window)
{
    const std::string source = window.编辑框_安装文字目录.Text();
    if (InstallFontFile(source) != 0)
        ShowMessage("安装成功", 0, "提示");
    else
        ShowMessage("安装失败", MB_ICONHAND, "提示");
}

void RegisterMainWindowForDrops(MainWindow& window)
{
    window.拖放对象1.RegisterDropWindow(window.hwnd());
}

void ShowDroppedText(MainWindow& window, const std::string& text)
{
    window.编辑框_输入的文字.SetText(text);
}

void ShowDroppedFiles(MainWindow& window, const std::string& paths)
{
    window.编辑框_安装文字目录.SetText(paths);
}
