#include "base/command_line.h"

std::optional<std::string> SwitchArgument(std::string_view commandLine, std::string_view flag)
{
    auto trim = [](std::string_view text) {
        while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
            text.remove_prefix(1);
        while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
            text.remove_suffix(1);
        return text;
    };
    std::string_view rest = trim(commandLine);
    if (rest.substr(0, flag.size()) != flag || rest.size() == flag.size() ||
        (rest[flag.size()] != ' ' && rest[flag.size()] != '\t'))
        return std::nullopt;
    rest = trim(rest.substr(flag.size()));
    if (rest.size() >= 2 && rest.front() == '"' && rest.back() == '"')
        rest = rest.substr(1, rest.size() - 2);
    if (rest.empty() || rest.find('"') != std::string_view::npos)
        return std::nullopt;
    return std::string(rest);
}
