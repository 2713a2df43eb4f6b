#pragma once
#include <cstddef>
#include <string>

// The window's caption while a font file that is not installed is previewed:
// "<caption> - <family> (<file name>, 未安装)", with the number of families when the file
// (a collection) holds more than one: "<caption> - <family> (<file name>, 共N个字体, 未安装)".
std::string PreviewCaption(const std::string& caption, const std::string& family, const std::string& fileName,
                           std::size_t families);

// The caption when the named file is not previewed after all (damaged, refused by the trial,
// or not taken by the system): "<caption> (<file name>, 无法预览)".
std::string RefusedPreviewCaption(const std::string& caption, const std::string& fileName);

// Whether the caption still says that a named file could not be previewed: it does from
// the refusal until the path box changes while no file is shown, when the window's own
// caption is given back, once.
class RefusalInCaption {
public:
    void Refused() { shown_ = true; }
    // The path box changed: whether the window's own caption is to be given back now.
    bool TakeBack(bool previewing)
    {
        if (!shown_ || previewing)
            return false;
        shown_ = false;
        return true;
    }

private:
    bool shown_ = false;
};
