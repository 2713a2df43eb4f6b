#include "base/dbcs_text.h"

bool IsLeadByte(unsigned char byte)
{
    return byte >= 0x81 && byte <= 0xFE;
}

std::size_t LastComponentStart(const std::string& path)
{
    std::size_t start = 0;
    for (std::size_t i = 0; i < path.size(); ++i) {
        const auto byte = static_cast<unsigned char>(path[i]);
        if (IsLeadByte(byte) && i + 1 < path.size()) {
            ++i;  // the second byte of a character is never a separator
            continue;
        }
        if (byte == '\\' || byte == '/' || byte == ':')
            start = i + 1;
    }
    return start;
}

std::string CutText(const std::string& text, std::size_t maxBytes)
{
    std::size_t end = 0;
    while (end < text.size()) {
        const std::size_t width = IsLeadByte(static_cast<unsigned char>(text[end])) && end + 1 < text.size() ? 2 : 1;
        if (end + width > maxBytes)
            break;
        end += width;
    }
    return text.substr(0, end);
}

std::string CutInMiddle(const std::string& text, std::size_t maxBytes)
{
    if (text.size() <= maxBytes)
        return text;
    const std::string ellipsis = "…";
    if (maxBytes <= ellipsis.size())
        return CutText(text, maxBytes);
    const std::size_t room = maxBytes - ellipsis.size();
    const std::string head = CutText(text, room - room / 2);
    // The tail starts at a character's first byte: the characters from the head's end on,
    // walked one at a time, until what is left fits.
    std::size_t start = head.size();
    while (text.size() - start > room - head.size()) {
        const bool pair = IsLeadByte(static_cast<unsigned char>(text[start])) && start + 1 < text.size();
        start += pair ? 2 : 1;
    }
    return head + ellipsis + text.substr(start);
}

std::u16string AsciiLower(std::u16string_view text)
{
    std::u16string out(text);
    for (char16_t& c : out) {
        if (c >= u'A' && c <= u'Z')
            c = static_cast<char16_t>(c - u'A' + u'a');
    }
    return out;
}
