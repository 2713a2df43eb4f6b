#pragma once
#include <string>

#include "catalogue/font_lists.h"
#include "fontcheck/font_trial.h"
#include "fontfiles/font_files.h"
#include "fontfiles/uninstall.h"
#include "preview/file_preview.h"

// The program's features, each holding its own state: made before the main window and
// ended after it, so that every handler the window calls finds its feature alive. The
// trials are made first and ended last: the preview and the installer share them.
struct Features {
    FontTrials trials;
    FontCatalogue catalogue;
    FontFilePreview preview{trials};
    FontInstaller installer{trials};
    FontUninstaller uninstaller;
    // "Open with": the file the program was started with, as a full path, previewed from
    // the start; empty when none.
    std::string startFile;
};
