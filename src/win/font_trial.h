#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

// A font file the program's own judge finds sound may still be one the system's font
// engine chokes on, hangs in or crashes on. Before a file is installed or previewed it is
// tried in a child process, the program's own .exe started with a private switch: the
// child adds the file privately, creates each family the file names, checks that the
// system enumerates it with non-zero metrics, and measures and draws the characters its
// cmap maps at two sizes into a memory bitmap. Only the child pays for a bad font.

// The switch the child is started with: <program> --quillmoor-font-trial "<path>".
inline constexpr const char* kFontTrialSwitch = "--quillmoor-font-trial";

// How long the child may take before it is killed and the file refused.
inline constexpr unsigned kFontTrialTimeoutMs = 5000;

// What identifies a font file for remembering what was found of it: its full path (in
// upper case), its size and its last write. Nothing for a file that cannot be reached.
using FontFileIdentity = std::tuple<std::string, unsigned long long, unsigned long long>;
std::optional<FontFileIdentity> IdentifyFontFile(const std::string& path);

// True when a child tried these bytes of a font file, read before, and found them sound.
// The child tries a copy written from them: what is previewed or installed is what was
// tried, whatever became of the file since. The verdict is kept per content, so the same
// bytes are tried once. Nothing when no copy could be written for the trial.
std::optional<bool> FontBytesSurviveTrial(const std::vector<std::uint8_t>& bytes, const std::string& fileName);

// One trial of a file, whatever was found before: what FontBytesSurviveTrial runs for new
// bytes.
bool TryFontFile(const std::string& path);

// The program started for a trial (this process's own .exe unless set): a test program
// that installs in-process names the product, or a stand-in that fails as a child may.
void UseFontTrialProgram(const std::string& exe);

// The child's side: tries the file and returns the exit code, 0 when it is sound.
int RunFontTrial(const std::string& path);
