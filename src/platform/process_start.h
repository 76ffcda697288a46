#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace quenmark {

// How a separate process is started.
struct ProcessSpec {
    std::string program; // a path, or a name looked up on PATH
    std::vector<std::string> arguments;
    std::filesystem::path workingFolder; // empty: the current one
    // Standard output (and error, unless keepErrors) goes here; empty: inherited
    // when waited for, discarded when detached.
    std::filesystem::path outputFile;
    bool keepErrors = false;   // standard error stays inherited
    bool appendOutput = false; // add to outputFile rather than empty it
    // Waited for: ended when the thread that started it ends.
    bool endWithParent = false;
    std::vector<std::string> environment = {}; // "NAME=value" added to ours
};

// Starts the process in a new session with no terminal and does not wait for
// it: it outlives whoever started it. False when it could not be started.
bool startDetached(const ProcessSpec& spec);

// Starts the process, without waiting, as the leader of a new session and
// process group whose id is its process id; it is killed when the thread that
// started it ends. Returns that id, or -1 when it could not be started.
// The process stays our child: hasEnded reaps it.
int startGroupLeader(const ProcessSpec& spec);

// Whether our child process has ended; it is reaped then.
bool hasEnded(int pid);
// Ends our child process, if it still runs, and reaps it.
void endChild(int pid);

// Starts the process in a new session with no terminal, like startDetached,
// but as our child, so that endedStatus learns when it ends; it outlives us
// when we end first. The process id, or -1 when it could not be started.
int startWatched(const ProcessSpec& spec);

// The exit status (128 + signal when ended by a signal) of a process that
// startWatched started, once it has ended; nullopt while it runs.
std::optional<int> endedStatus(int pid);

// Where the command interpreter finds `program` when its current folder is
// `folder`: a name with a slash is taken as it is (relative to the folder);
// a plain name is looked for in the folder first, then on the PATH. nullopt
// when there is no executable file there.
std::optional<std::filesystem::path> findProgram(const std::string& program,
                                                 const std::filesystem::path& folder);

struct ProcessResult {
    bool started = false;
    bool timedOut = false; // ended by us after the time limit
    int exitStatus = -1;   // 128 + signal when ended by a signal
};

// Starts the process in a process group of its own and waits for it, at most
// timeLimit when one is given, after which the group is killed: the process
// and what it started.
ProcessResult runAndWait(const ProcessSpec& spec,
                         std::optional<std::chrono::milliseconds> timeLimit = std::nullopt);

// This program's own executable, which serves as the command interpreter and
// the FTP client of the platform.
std::filesystem::path ownExecutable();

} // namespace quenmark
