#pragma once
#include <vector>

#include "window/main_window.h"

struct Features;

// The program's wiring table: which feature's handler runs for which event, bound to the
// features it acts on, which outlive the window.
std::vector<WiringRow> MainWiring(Features& features);
