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

std::uint32_t FileDialogOptions(const FileDialogSettings& s)
{
    std::uint32_t flags = OfnFlag::HideReadOnly | OfnFlag::Explorer | OfnFlag::EnableSizing;
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
    return flags;
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
