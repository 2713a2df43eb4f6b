#pragma once
#include <string>
#include <vector>

// Turns the face names in the order the system reported them into the catalogue:
// walked from the last report to the first, a name is kept when it differs (byte for
// byte) from the one walked just before it; the walk starts after an empty name.
// So the catalogue runs in reverse reporting order and only adjacent repeats collapse.
std::vector<std::string> ReduceFontNames(const std::vector<std::string>& reports);
