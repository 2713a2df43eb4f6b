#pragma once
#include <string>

#include "catalogue/font_lists.h"
#include "fontcheck/font_trial.h"
#include "fontfiles/font_files.h"
#include "fontfiles/uninstall.h"
#include "fontinfo/font_info.h"
#include "preview/file_preview.h"

// The program's features, each holding its own state: made before the main window and
// ended after it, so that every handler the window calls finds its feature alive. What two
// features share is made first and ended last: the trials (the preview and the installer)
// and the look through the fonts folders (the information and the uninstaller).
struct Features {
    FontTrials trials;
    FontFolders folders;
    FontCatalogue catalogue;
    FontFilePreview preview{trials};
    FontInstaller installer{trials};
    FontUninstaller uninstaller{folders};
    FontInformation information{folders};
    // "Open with": the file the program was started with, as a full path, previewed from
    // the start; empty when none.
    std::string startFile;
};
