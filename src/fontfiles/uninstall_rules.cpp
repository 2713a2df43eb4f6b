#include "fontfiles/uninstall_rules.h"

#include <algorithm>

#include "base/dbcs_text.h"
#include "fontfiles/install_rules.h"

namespace {

// Whether the words are a style's, as a full name adds them to the family's name: weights,
// widths and slopes.
bool IsStyle(std::u16string_view words)
{
    static constexpr std::u16string_view kStyleWords[] = {
        u"regular", u"normal", u"book", u"roman", u"plain", u"italic", u"oblique", u"slanted", u"bold", u"light",
        u"medium", u"thin", u"hairline", u"black", u"heavy", u"semibold", u"demibold", u"extrabold", u"ultrabold",
        u"extralight", u"ultralight", u"semilight", u"demilight", u"demi", u"semi", u"extra", u"ultra",
        u"condensed", u"semicondensed", u"extracondensed", u"narrow", u"expanded", u"extended", u"wide", u"w1",
        u"w2", u"w3", u"w4", u"w5", u"w6", u"w7", u"w8", u"w9"};
    bool any = false;
    std::size_t start = 0;
    while (start <= words.size()) {
        const std::size_t end = std::min(words.find(u' ', start), words.size());
        const std::u16string_view word = words.substr(start, end - start);
        if (!word.empty()) {
            if (std::find(std::begin(kStyleWords), std::end(kStyleWords), word) == std::end(kStyleWords))
                return false;
            any = true;
        }
        start = end + 1;
    }
    return any;
}

bool Holds(const RecordedFile::Face& face, const std::u16string& wanted)
{
    return std::any_of(face.families.begin(), face.families.end(), [&](const std::u16string& name) {
        const std::u16string lower = AsciiLower(name);
        return lower == wanted || (face.byValueName && lower.starts_with(wanted + u" ") &&
                                   IsStyle(std::u16string_view(lower).substr(wanted.size() + 1)));
    });
}

bool HoldsFamily(const RecordedFile& file, const std::u16string& wanted)
{
    return std::any_of(file.faces.begin(), file.faces.end(),
                       [&](const RecordedFile::Face& face) { return Holds(face, wanted); });
}

}  // namespace

std::vector<RecordedFile::Face> FacesFromValueName(std::u16string_view valueName)
{
    std::u16string names(valueName);
    for (const std::u16string_view kind : {u" (TrueType)", u" (OpenType)"}) {
        if (names.ends_with(kind))
            names.resize(names.size() - kind.size());
    }
    std::vector<RecordedFile::Face> faces;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = names.find(u" & ", start);
        const std::u16string full = names.substr(start, end == std::u16string::npos ? end : end - start);
        if (!full.empty())
            faces.push_back({{full}, u"", true});
        if (end == std::u16string::npos)
            break;
        start = end + 3;
    }
    return faces;
}

std::vector<RecordedFile> FilesOfFamily(const std::vector<RecordedFile>& files, std::u16string_view family)
{
    const std::u16string wanted = AsciiLower(family);
    std::vector<RecordedFile> found;
    for (const RecordedFile& file : files) {
        if (!HoldsFamily(file, wanted))
            continue;
        // One file named by several values is one file: its values go together.
        const auto same = std::find_if(found.begin(), found.end(), [&](const RecordedFile& f) {
            return f.perUser == file.perUser && AsciiLower(f.path) == AsciiLower(file.path);
        });
        if (same == found.end()) {
            found.push_back(file);
            continue;
        }
        for (const std::u16string& value : file.valueNames) {
            if (std::find(same->valueNames.begin(), same->valueNames.end(), value) == same->valueNames.end())
                same->valueNames.push_back(value);
        }
    }
    return found;
}

std::vector<std::u16string> OtherFamilies(const std::vector<RecordedFile>& files, std::u16string_view family)
{
    const std::u16string wanted = AsciiLower(family);
    std::vector<std::u16string> others;
    for (const RecordedFile& file : files) {
        for (const RecordedFile::Face& face : file.faces) {
            if (!Holds(face, wanted) && !face.shown.empty() &&
                std::find(others.begin(), others.end(), face.shown) == others.end())
                others.push_back(face.shown);
        }
    }
    return others;
}

const char* UninstallReason(UninstallRefusal refusal)
{
    switch (refusal) {
    case UninstallRefusal::NotFromFontsFolder:
        return "这个字体不是从字体文件夹安装的";
    case UninstallRefusal::InterfaceFont:
        return "系统界面正在使用这个字体";
    case UninstallRefusal::NoRights:
        return "没有删除系统字体的权限";
    }
    return "";
}

std::optional<UninstallRefusal> JudgeUninstall(const std::vector<RecordedFile>& files, std::u16string_view family,
                                               const std::vector<std::u16string>& interfaceFaces,
                                               bool mayChangeMachineFonts)
{
    const std::vector<RecordedFile> held = FilesOfFamily(files, family);
    if (held.empty())
        return UninstallRefusal::NotFromFontsFolder;
    // Every name the family has in its files, and the one the list shows.
    std::vector<std::u16string> names = {AsciiLower(family)};
    for (const RecordedFile& file : held) {
        for (const RecordedFile::Face& face : file.faces) {
            if (Holds(face, names.front())) {
                for (const std::u16string& name : face.families)
                    names.push_back(AsciiLower(name));
            }
        }
    }
    for (const std::u16string& face : interfaceFaces) {
        if (std::find(names.begin(), names.end(), AsciiLower(face)) != names.end())
            return UninstallRefusal::InterfaceFont;
    }
    const bool machine = std::any_of(held.begin(), held.end(), [](const RecordedFile& f) { return !f.perUser; });
    if (machine && !mayChangeMachineFonts)
        return UninstallRefusal::NoRights;
    return std::nullopt;
}

std::string UninstallQuestion(const std::string& family, const std::vector<std::string>& paths,
                              const std::vector<std::string>& otherFamilies)
{
    std::string text = "确定要卸载字体“" + family + "”吗？\n";
    for (const std::string& path : paths)
        text += "\n" + CutInMiddle(path, kLongestNameShown);
    if (!otherFamilies.empty()) {
        text += "\n\n也包含字体：";
        for (std::size_t i = 0; i < otherFamilies.size(); ++i)
            text += (i > 0 ? "、" : "") + otherFamilies[i];
    }
    return text;
}

std::string UninstallOutcome(const char* failure)
{
    return failure ? std::string("卸载失败\n\n") + failure : std::string("卸载成功");
}

std::string UninstallOutcome(const RemovalOutcome& outcome)
{
    std::string text = outcome.kept.empty() ? "卸载成功" : "部分卸载成功";
    if (!outcome.deletedForGood.empty()) {
        text += "\n\n回收站未能接收以下文件，已将其永久删除：";
        for (const std::string& path : outcome.deletedForGood)
            text += "\n" + CutInMiddle(path, kLongestNameShown);
    }
    if (!outcome.kept.empty()) {
        text += "\n\n以下文件未能删除，已恢复原状：";
        for (const RemovalOutcome::Kept& kept : outcome.kept)
            text += "\n" + CutInMiddle(kept.path, kLongestNameShown) + "：" + kept.reason;
    }
    return text;
}

std::vector<RemovalStep> RemovalPlan(std::size_t files)
{
    std::vector<RemovalStep> plan;
    for (std::size_t f = 0; f < files; ++f) {
        for (RemovalStep::Kind kind :
             {RemovalStep::RemoveFont, RemovalStep::DeleteValue, RemovalStep::MoveAside, RemovalStep::Unprotect})
            plan.push_back({kind, f});
    }
    return plan;
}

std::vector<RemovalStep> UndoPlan(const std::vector<RemovalStep>& plan, std::size_t done)
{
    std::vector<RemovalStep> undo(plan.begin(), plan.begin() + static_cast<std::ptrdiff_t>(std::min(done, plan.size())));
    std::reverse(undo.begin(), undo.end());
    return undo;
}
