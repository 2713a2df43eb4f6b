#include "controls/dialog_rules.h"

#include "base/dbcs_text.h"

int ClampDialogKind(int kind)
{
    return kind < 0 ? 0 : kind > 3 ? 3 : kind;
}

int ClampInitialFilter(int index)
{
    return index < 0 ? 0 : index;
}

namespace {

// The switches' flags, which both dialogs give the same values.
static_assert(OfnFlag::CreatePrompt == FosFlag::CreatePrompt && OfnFlag::FileMustExist == FosFlag::FileMustExist &&
              OfnFlag::OverwritePrompt == FosFlag::OverwritePrompt &&
              OfnFlag::PathMustExist == FosFlag::PathMustExist && OfnFlag::NoChangeDir == FosFlag::NoChangeDir &&
              OfnFlag::AllowMultiSelect == FosFlag::AllowMultiSelect);

std::uint32_t SwitchFlags(const FileDialogSettings& s)
{
    std::uint32_t flags = 0;
    if (s.promptCreate)
        flags |= OfnFlag::CreatePrompt;
    if (s.fileMustExist)
        flags |= OfnFlag::FileMustExist;
    if (s.promptOverwrite)
        flags |= OfnFlag::OverwritePrompt;
    if (s.pathMustExist)
        flags |= OfnFlag::PathMustExist;
    if (s.keepCurrentDirectory)
        flags |= OfnFlag::NoChangeDir;
    if (s.allowMultiSelect)
        flags |= OfnFlag::AllowMultiSelect;
    return flags;
}

}  // namespace

std::uint32_t FileDialogOptions(const FileDialogSettings& s)
{
    return OfnFlag::HideReadOnly | OfnFlag::Explorer | OfnFlag::EnableSizing | SwitchFlags(s);
}

std::uint32_t ItemDialogOptions(const FileDialogSettings& s)
{
    return FosFlag::ForceFileSystem | SwitchFlags(s);
}

std::string FilterList(const std::string& filter)
{
    // Remove white space at the end; a trail byte is never a blank, so bytes suffice.
    std::string text = filter;
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r' || text.back() == '\n'))
        text.pop_back();
    if (text.empty())
        return {};

    // Mark the bytes that are single-byte characters, so that only a real "|" counts.
    std::string out;
    out.reserve(text.size() + 2);
    bool lastTwoBars = false, lastBar = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (IsLeadByte(byte) && i + 1 < text.size()) {
            out.push_back(text[i]);
            out.push_back(text[++i]);
            lastTwoBars = lastBar = false;
            continue;
        }
        lastTwoBars = byte == '|' && lastBar;
        lastBar = byte == '|';
        out.push_back(byte == '|' ? '\0' : text[i]);
    }
    if (!lastTwoBars)
        out.append(2, '\0');
    return out;
}

int FilterIndex(const FileDialogSettings& s)
{
    return FilterList(s.filter).empty() ? 0 : ClampInitialFilter(s.initialFilter) + 1;
}

namespace {

// The NUL-ended strings of a platform list, up to the empty one (or the end) that ends it.
std::vector<std::string> NulEndedStrings(const std::string& list)
{
    std::vector<std::string> strings;
    std::size_t start = 0;
    while (start < list.size() && list[start] != '\0') {
        std::size_t end = list.find('\0', start);
        if (end == std::string::npos)
            end = list.size();
        strings.push_back(list.substr(start, end - start));
        start = end + 1;
    }
    return strings;
}

}  // namespace

std::vector<std::pair<std::string, std::string>> FilterPairs(const std::string& filter)
{
    // The platform's list is the same pairs, NUL-separated; a pattern is never empty there.
    const std::vector<std::string> parts = NulEndedStrings(FilterList(filter));
    std::vector<std::pair<std::string, std::string>> pairs;
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2)
        pairs.emplace_back(parts[i], parts[i + 1]);
    return pairs;
}

std::vector<std::string> ChosenFiles(const std::string& buffer)
{
    const std::vector<std::string> strings = NulEndedStrings(buffer);
    if (strings.size() <= 1)
        return strings;
    // A folder that ends in a separator is a drive's root ("C:\"); a 0x5C that ends a
    // double-byte character is not a separator.
    const std::string& folder = strings.front();
    const std::string lead = LastComponentStart(folder) == folder.size() ? folder : folder + "\\";
    std::vector<std::string> paths;
    for (std::size_t i = 1; i < strings.size(); ++i)
        paths.push_back(lead + strings[i]);
    return paths;
}
