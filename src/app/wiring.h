#pragma once
#include <span>

#include "window/main_window.h"

// The program's wiring table: which handler of which feature runs for which event.
extern const std::span<const WiringRow> kMainWiring;

// The same without the forum notice on closing, which waits for an answer: for programs
// that drive the window with nobody to answer it (the tests, the benchmarks).
std::span<const WiringRow> WiringWithoutForum();
