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
};

// Starts the process in a new session with no terminal and does not wait for
// it: it outlives whoever started it. False when it could not be started.
bool startDetached(const ProcessSpec& spec);

struct ProcessResult {
    bool started = false;
    bool timedOut = false; // ended by us after the time limit
    int exitStatus = -1;   // 128 + signal when ended by a signal
};

// Starts the process and waits for it, at most timeLimit when one is given,
// after which the process is killed.
ProcessResult runAndWait(const ProcessSpec& spec,
                         std::optional<std::chrono::milliseconds> timeLimit = std::nullopt);

// This program's own executable, which serves as the command interpreter and
// the FTP client of the platform.
std::filesystem::path ownExecutable();

} // namespace quenmark
