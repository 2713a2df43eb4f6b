#pragma once

// OLE on the program's thread, for drag and drop. Started once at the start; a thread
// whose COM was already set up another way refuses it, and then the window takes no
// drops, and OLE is not ended either.
bool StartOle();
bool OleStarted();
// Ends OLE, when it was started.
void EndOle();
