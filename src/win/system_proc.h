#pragma once
#include <windows.h>

// A function of a system DLL, found on first use instead of imported: the DLLs that only
// dialogs, drops, the palette's tooltips and installation need (comctl32, comdlg32,
// shell32) then cost nothing at start-up, where under Wine they cost a third of it.
// Null when the DLL or the function cannot be had; the caller fails as the call would.
template <class F> F* SystemProc(const char* dll, const char* name)
{
    HMODULE module = GetModuleHandleA(dll);
    if (!module)
        module = LoadLibraryExA(dll, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    // Through void*: FARPROC is the platform's untyped function pointer.
    return module ? reinterpret_cast<F*>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

// SystemProc for a function declared by the platform's headers, typed by its declaration.
#define SYSTEM_PROC(dll, function) SystemProc<decltype(function)>(dll, #function)
