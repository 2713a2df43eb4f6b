#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "base/text_list.h"

// Every face name the system reports for the screen, as the catalogue (see ReduceFontNames).
TextList GetInstalledFontNames();

// The face names as the system reports them, in order and unfiltered: one per family
// and character set, vertical variants included.
std::vector<std::string> EnumerateFaceNames();

// The enumeration callback: appends the report's face name to the list of names that
// userValue points to, unfiltered, and goes on.
int CALLBACK CollectFontName(const LOGFONTA* report, const TEXTMETRICA* metrics, DWORD fontType, LPARAM userValue);
