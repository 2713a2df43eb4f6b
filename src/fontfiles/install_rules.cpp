#include "fontfiles/install_rules.h"

#include "base/dbcs_text.h"

std::string InstalledFileName(const std::string& fullPath)
{
    return CutText(fullPath.substr(LastComponentStart(fullPath)), 255);
}

std::string JoinPath(const std::string& folder, const std::string& name)
{
    return folder + "\\" + name;
}

bool FitsPathLimit(const std::string& path)
{
    return path.size() < kPathLimit;
}

std::u16string FontRegistryName(const std::vector<std::u16string>& fontNames, bool cff, const std::u16string& fileName)
{
    std::u16string joined;
    for (const std::u16string& name : fontNames) {
        if (name.empty())
            continue;
        if (!joined.empty())
            joined += u" & ";
        joined += name;
    }
    if (joined.empty())
        return fileName;
    return joined + (cff ? u" (OpenType)" : u" (TrueType)");
}
