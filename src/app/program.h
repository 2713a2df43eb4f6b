#pragma once
#include <span>
#include <string>

#include "window/main_window.h"

// OLE on this thread and the program's own folder as the current directory. The first
// step of RunProgram.
void PrepareProcess();

// A path as a full path, resolved against the current directory: for the file the program
// was opened with, before RunProgram makes the program's own folder the current one.
std::string FullPath(const std::string& path);

// The program's life from process start to exit: prepares the process, loads the main
// window from the layout with the wiring (whose features outlive this call), runs the
// message loop and ends in order. Returns the exit
// code (0); a fatal start-up error ends the process with -1 instead.
int RunProgram(std::span<const LayoutRow> layout, std::span<const WiringRow> wiring);
