#pragma once
#include <span>

#include "window/main_window.h"

// OLE on this thread and the program's own folder as the current directory. The first
// step of RunProgram.
void PrepareProcess();

// The program's life from process start to exit: prepares the process, loads the main
// window from the layout, runs the message loop and ends in order. Returns the exit
// code (0); a fatal start-up error ends the process with -1 instead.
int RunProgram(std::span<const LayoutRow> layout, std::span<const WiringRow> wiring);
