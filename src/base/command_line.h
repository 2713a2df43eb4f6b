#pragma once
#include <optional>
#include <string>
#include <string_view>

// The path box's text as a path: one path wrapped in one pair of double quotes (as
// Explorer's "Copy as path" gives it) is the path inside; anything else is unchanged. No
// Windows path holds a double quote, and none is a GBK trail byte.
std::string UnquotedPath(const std::string& text);

// The one argument of a command line that is a path as the file manager passes it to
// "Open with" (with or without double quotes); nothing for an empty line, a switch or
// several quoted arguments.
std::optional<std::string> PathArgument(std::string_view commandLine);

// The argument of a switch, when the command line (what follows the program's own name)
// is the switch, blanks, then one argument, with or without one pair of double quotes
// around it. Nothing otherwise.
std::optional<std::string> SwitchArgument(std::string_view commandLine, std::string_view flag);
