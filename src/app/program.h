#pragma once
#include <span>
#include <string>

#include "window/main_window.h"

// OLE on this thread and the program's own folder as the current directory. The first
// step of RunProgram.
void PrepareProcess();

// The font file the program was opened with ("Open with"), as a full path; empty when
// none. Set before RunProgram; the start-up puts it in the path box before the window shows.
void SetStartFile(const std::string& path);
const std::string& StartFile();

// The program's life from process start to exit: prepares the process, loads the main
// window from the layout, runs the message loop and ends in order. Returns the exit
// code (0); a fatal start-up error ends the process with -1 instead.
int RunProgram(std::span<const LayoutRow> layout, std::span<const WiringRow> wiring);
