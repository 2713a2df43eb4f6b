#pragma once
#include <span>

#include "window/main_window.h"

// The program's wiring table: which handler of which feature runs for which event.
extern const std::span<const WiringRow> kMainWiring;
