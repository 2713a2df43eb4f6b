#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// A font file the program's own judge finds sound may still be one the system's font
// engine chokes on, hangs in or crashes on. Before a file is installed or previewed it is
// tried in a child process, the program's own .exe started with a private switch. The
// child gets the very bytes the program read, in a read-only section (no file is written
// for it), adds them from memory for itself alone, creates each family the file names in
// its style, checks that the font created is that family with non-zero metrics, and
// measures and draws the characters its cmap maps at two sizes into a memory bitmap. A
// face whose characters all measure 0 wide is refused. Only the child pays for a bad
// font, and it runs in a job that ends it when the program ends.

// The switch the child is started with: <program> --quillmoor-font-trial "<argument>",
// where the argument is a path (one file, then the child ends) or "serve" (files come as
// sections, one request a line on its standard input; one answer byte each on its
// standard output).
inline constexpr const char* kFontTrialSwitch = "--quillmoor-font-trial";
inline constexpr const char* kServeArgument = "serve";

// How long the child may take over one file before it is killed and the file refused: a
// base, and more for a larger file (a 20 MB CJK collection takes seconds to measure and
// draw on a busy two-core machine), so that no sound file ever reaches it.
inline constexpr unsigned kFontTrialTimeoutMs = 5000;
inline constexpr unsigned kFontTrialMsPerMegabyte = 1500;
inline constexpr unsigned kLongestFontTrialMs = 120000;
unsigned FontTrialTimeLimitMs(unsigned long long bytes);

// How a trial went.
enum class TrialVerdict {
    Sound,
    Refused,   // the child found the font damaged or unusable
    Crashed,   // the system's font code crashed in the child
    TimedOut,  // the child ran past kFontTrialTimeoutMs and was killed
    NotTried,  // no child could be started
};

// The trials of one program run: the program started as each trial's child, and what
// the trials found of the bytes they tried, by content, with which contents are being
// tried now. Shared by everything that tries fonts (the preview and the installer), on
// any thread; it outlives every session made with it.
class FontTrials {
public:
    // `program`: the program started for a trial; empty, this process's own .exe. A test
    // program that installs in-process names the product, or a stand-in that fails as a
    // child may.
    explicit FontTrials(std::string program = {});
    ~FontTrials();
    FontTrials(const FontTrials&) = delete;
    FontTrials& operator=(const FontTrials&) = delete;

    void UseProgram(const std::string& exe);
    std::string Program() const;

private:
    friend class TrialSession;
    struct Store;
    std::unique_ptr<Store> store_;
};

// One child that tries the files of one press in turn: started at the first file, and
// again after one that crashed it or ran out of time. Used by one thread at a time.
class TrialSession {
public:
    explicit TrialSession(FontTrials& trials);
    ~TrialSession();
    TrialSession(const TrialSession&) = delete;
    TrialSession& operator=(const TrialSession&) = delete;

    // A trial of these bytes of a font file, read before: what is previewed or installed
    // is what was tried, whatever became of the file since. The verdict is kept per
    // content in the trials (any thread), so the same bytes are tried once; a trial that
    // ran out of time or could not start is not kept, and is run again. While one thread
    // tries some bytes, another that asks for the same bytes (the preview and a press of
    // one file) waits for that trial's verdict instead of running a second.
    //
    // Each file gets the verdict it would get alone: the child checks that the font it
    // draws with is made of this file's tables, not of an earlier file of the same family
    // that it added before; where it cannot tell, the file is tried in a new child.
    TrialVerdict Try(const std::vector<std::uint8_t>& bytes);

    // How many children this session started.
    int childrenStarted() const;

private:
    TrialVerdict TryNow(const std::vector<std::uint8_t>& bytes);
    struct Child;
    FontTrials& trials_;
    std::unique_ptr<Child> child_;
    int started_ = 0;
};

// One trial of these bytes in a session of its own.
TrialVerdict TryFontBytes(FontTrials& trials, const std::vector<std::uint8_t>& bytes);

// One trial of a file by its path, whatever was found before, by the trials' program.
TrialVerdict TryFontFile(const FontTrials& trials, const std::string& path);

// The child's side: tries the file, or serves requests, and returns the exit code (0
// when the file is sound, or when the requests ended).
int RunFontTrial(const std::string& argument);
