#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// A font file the program's own judge finds sound may still be one the system's font
// engine chokes on, hangs in or crashes on. Before a file is installed or previewed it is
// tried in a child process, the program's own .exe started with a private switch. The
// child gets the very bytes the program read, in a read-only section it inherits (no file
// is written for it), adds them from memory for itself alone, creates each family the
// file names, checks that the font created is that family with non-zero metrics, and
// measures and draws the characters its cmap maps at two sizes into a memory bitmap. A
// face whose characters all measure 0 wide is refused. Only the child pays for a bad
// font, and it runs in a job that ends it when the program ends.

// The switch the child is started with: <program> --quillmoor-font-trial "<argument>",
// where the argument is a path, or "section:<handle>:<size>" for bytes.
inline constexpr const char* kFontTrialSwitch = "--quillmoor-font-trial";

// How long the child may take before it is killed and the file refused.
inline constexpr unsigned kFontTrialTimeoutMs = 5000;

// How a trial went.
enum class TrialVerdict {
    Sound,
    Refused,   // the child found the font damaged or unusable
    Crashed,   // the system's font code crashed in the child
    TimedOut,  // the child ran past kFontTrialTimeoutMs and was killed
    NotTried,  // no child could be started
};

// A trial of these bytes of a font file, read before: what is previewed or installed is
// what was tried, whatever became of the file since. The verdict is kept per content, so
// the same bytes are tried once; a trial that ran out of time or could not start is not
// kept, and is run again next time.
TrialVerdict TryFontBytes(const std::vector<std::uint8_t>& bytes);

// One trial of a file by its path, whatever was found before.
TrialVerdict TryFontFile(const std::string& path);

// The program started for a trial (this process's own .exe unless set): a test program
// that installs in-process names the product, or a stand-in that fails as a child may.
void UseFontTrialProgram(const std::string& exe);

// The child's side: tries the file or the bytes and returns the exit code, 0 when sound.
int RunFontTrial(const std::string& argument);
