#include "base/command_line.h"

namespace {

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

// One argument: the text inside one pair of quotes, or the text without any.
std::optional<std::string> OneArgument(std::string_view text)
{
    text = Trim(text);
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"')
        text = text.substr(1, text.size() - 2);
    if (text.empty() || text.find('"') != std::string_view::npos)
        return std::nullopt;
    return std::string(text);
}

}  // namespace

std::string UnquotedPath(const std::string& text)
{
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"' && text.find('"', 1) == text.size() - 1)
        return text.substr(1, text.size() - 2);
    return text;
}

std::optional<std::string> PathArgument(std::string_view commandLine)
{
    commandLine = Trim(commandLine);
    if (commandLine.substr(0, 1) == "-" || commandLine.substr(0, 1) == "/")
        return std::nullopt;
    return OneArgument(commandLine);
}

std::optional<std::string> SwitchArgument(std::string_view commandLine, std::string_view flag)
{
    std::string_view rest = Trim(commandLine);
    if (rest.substr(0, flag.size()) != flag || rest.size() == flag.size() ||
        (rest[flag.size()] != ' ' && rest[flag.size()] != '\t'))
        return std::nullopt;
    return OneArgument(rest.substr(flag.size()));
}
