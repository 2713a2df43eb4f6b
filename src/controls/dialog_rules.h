#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// The settings of the common-dialog control that the file dialog uses.
struct FileDialogSettings {
    int dialogKind = 0;  // 0 open, 1 save, 2 font, 3 help
    std::string dialogTitle;
    std::string fileName;
    std::string filter;
    int initialFilter = 0;
    std::string initialDirectory;
    std::string defaultExtension;
    bool promptCreate = false;
    bool fileMustExist = true;
    bool promptOverwrite = true;
    bool pathMustExist = true;
    bool keepCurrentDirectory = false;
    bool allowMultiSelect = false;  // several files may be chosen at once
};

// The platform's OPENFILENAME flags, by value (checked against <commdlg.h> where it is used).
namespace OfnFlag {
inline constexpr std::uint32_t HideReadOnly = 0x00000004;
inline constexpr std::uint32_t NoChangeDir = 0x00000008;
inline constexpr std::uint32_t EnableHook = 0x00000020;
inline constexpr std::uint32_t AllowMultiSelect = 0x00000200;
inline constexpr std::uint32_t PathMustExist = 0x00000800;
inline constexpr std::uint32_t FileMustExist = 0x00001000;
inline constexpr std::uint32_t CreatePrompt = 0x00002000;
inline constexpr std::uint32_t OverwritePrompt = 0x00000002;
inline constexpr std::uint32_t Explorer = 0x00080000;
inline constexpr std::uint32_t EnableSizing = 0x00800000;
}  // namespace OfnFlag

// The common item dialog's options (FILEOPENDIALOGOPTIONS), by value.
namespace FosFlag {
inline constexpr std::uint32_t OverwritePrompt = 0x00000002;
inline constexpr std::uint32_t NoChangeDir = 0x00000008;
inline constexpr std::uint32_t ForceFileSystem = 0x00000040;
inline constexpr std::uint32_t AllowMultiSelect = 0x00000200;
inline constexpr std::uint32_t PathMustExist = 0x00000800;
inline constexpr std::uint32_t FileMustExist = 0x00001000;
inline constexpr std::uint32_t CreatePrompt = 0x00002000;
}  // namespace FosFlag

// Stored values are kept in range: the kind 0..3, the initial filter 0 or more.
int ClampDialogKind(int kind);
int ClampInitialFilter(int index);

// Explorer style and sizing always; the switches add their flags.
std::uint32_t FileDialogOptions(const FileDialogSettings& settings);

// The same switches for the common item dialog, which gives file-system paths only.
std::uint32_t ItemDialogOptions(const FileDialogSettings& settings);

// "desc|pattern|desc|pattern" as the platform's list: trailing blanks removed, "||"
// appended unless already there, then every "|" a NUL. Empty for an empty filter.
std::string FilterList(const std::string& filter);

// The filter as (description, pattern) pairs, as the common item dialog takes them; a
// description without a pattern is dropped.
std::vector<std::pair<std::string, std::string>> FilterPairs(const std::string& filter);

// The 1-based index of the pair shown first: InitialFilter + 1 with a list, else 0.
int FilterIndex(const FileDialogSettings& settings);

// The file dialog's file-name buffer holds 260 characters with the terminating NUL; the
// one for several files holds 32,768.
inline constexpr std::size_t kFileNameBuffer = 260;
inline constexpr std::size_t kMultiFileNameBuffer = 32768;

// The full paths the older dialog confirmed, from its buffer: one full path; or, for
// several files, the folder, then each name, each ended by a NUL, the whole ended by
// another NUL. Empty when the buffer holds nothing.
std::vector<std::string> ChosenFiles(const std::string& buffer);
