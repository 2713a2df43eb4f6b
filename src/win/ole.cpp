#include "win/ole.h"

#include <windows.h>

#include <ole2.h>

namespace {
thread_local bool started = false;  // OLE is per thread
}

bool StartOle()
{
    if (!started)
        started = SUCCEEDED(OleInitialize(nullptr));
    return started;
}

bool OleStarted()
{
    return started;
}

void EndOle()
{
    if (started)
        OleUninitialize();
    started = false;
}
