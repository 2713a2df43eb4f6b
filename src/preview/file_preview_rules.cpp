#include "preview/file_preview_rules.h"

std::string PreviewCaption(const std::string& caption, const std::string& family, const std::string& fileName,
                           std::size_t families)
{
    std::string count;
    if (families > 1)
        count = "共" + std::to_string(families) + "个字体, ";
    return caption + " - " + family + " (" + fileName + ", " + count + "未安装)";
}

std::string RefusedPreviewCaption(const std::string& caption, const std::string& fileName)
{
    return caption + " (" + fileName + ", 无法预览)";
}
