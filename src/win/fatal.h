#pragma once
#include <string>

#include "base/runtime_error.h"

// Shows a fatal error in the program's error box and ends the process with code -1.
// The exit hook does not run.
[[noreturn]] void ShowFatalErrorAndExit(const std::string& text);

// Runs a window procedure's body so that no exception crosses the platform's callback:
// a RuntimeError is fatal, anything else abandons the message.
template <class F, class R> R Guarded(F&& body, R fallback)
{
    try {
        return body();
    } catch (const RuntimeError& e) {
        ShowFatalErrorAndExit(FatalErrorText(e.code(), e.what()));
    } catch (...) {
        return fallback;
    }
}
