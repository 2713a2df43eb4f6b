#pragma once
#include <optional>
#include <string>
#include <string_view>

// The argument of a switch, when the command line (what follows the program's own name)
// is the switch, blanks, then one argument, with or without one pair of double quotes
// around it. Nothing otherwise.
std::optional<std::string> SwitchArgument(std::string_view commandLine, std::string_view flag);
