#pragma once
#include <windows.h>

// Centres a top-level window (a dialog) on `owner`, then moves it as little as needed to
// lie inside the work area of the monitor that holds the owner, so that a window near a
// screen edge never pushes its dialog off the screen.
void CentreOnOwnerInsideWorkArea(HWND window, HWND owner);

// The work area of the monitor that holds the window (the nearest one).
RECT WorkAreaOf(HWND window);
