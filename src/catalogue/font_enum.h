#pragma once
#include <windows.h>

#include "app/text_list.h"

// Every face name the system reports for the screen, as the catalogue (see ReduceFontNames).
TextList GetInstalledFontNames();

// The enumeration callback: appends the report's face name, unfiltered, and goes on.
int CALLBACK CollectFontName(const LOGFONTA* report, const TEXTMETRICA* metrics, DWORD fontType, LPARAM userValue);
