#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace quenmark {

// How a separate process is started.
struct ProcessSpec {
    std::string program; // a path, or a name looked up on PATH
    std::vector<std::string> arguments;
    std::filesystem::path workingFolder; // empty: the current one
    // Standard output (and error, unless keepErrors) goes here; empty: inherited,
    // or discarded when the process leads a session of its own.
    std::filesystem::path outputFile;
    bool keepErrors = false;   // standard error stays inherited
    bool appendOutput = false; // add to outputFile rather than empty it
    // Ended when the thread that started it ends.
    bool endWithParent = false;
    std::vector<std::string> environment = {}; // "NAME=value" added to ours
    // A session of its own (no terminal; its id is the process id) rather than
    // only a process group of its own. Either way, ending the group ends what
    // the process started.
    bool ownSession = false;
};

// Our child process, started with standard input on /dev/null and no
// descriptor of ours but standard output and error. The process is reaped once
// seen to have ended; one that is dropped unreaped stays a zombie until we end.
class ChildProcess {
public:
    using Deadline = std::chrono::steady_clock::time_point;

    // nullopt when the program could not be started (not found, not
    // executable, the folder missing): the exec is known to have gone through.
    static std::optional<ChildProcess> start(const ProcessSpec& spec);

    ChildProcess(ChildProcess&& other) noexcept;
    ChildProcess& operator=(ChildProcess&& other) noexcept;
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    ~ChildProcess();

    int pid() const { return m_pid; }
    // Its exit status (128 + signal when ended by a signal) once it has ended;
    // nullopt while it runs. Never waits.
    std::optional<int> exitStatus();
    // Sends SIGKILL to its process group and to itself; never waits.
    void end();
    // Waits for it to end: the status as exitStatus gives it.
    int wait();

    // The one place that waits for children: blocks until one of them has
    // ended (its index) or the deadline passes (nullopt). No sleeping, no
    // signal handler: the children's process descriptors are polled.
    static std::optional<std::size_t> waitForAny(std::span<ChildProcess* const> children,
                                                 std::optional<Deadline> deadline);
    // A descriptor that becomes readable once the process has ended, for an
    // event loop to watch.
    int endDescriptor() const { return m_pidfd; }

private:
    ChildProcess(int pid, int pidfd) : m_pid(pid), m_pidfd(pidfd) {}
    int m_pid = -1;
    int m_pidfd = -1;
    std::optional<int> m_status;
};

// Where the command interpreter finds `program` when its current folder is
// `folder`: a name with a slash is taken as it is (relative to the folder);
// a plain name is looked for in the folder first, then on the PATH. nullopt
// when there is no executable file there.
std::optional<std::filesystem::path> findProgram(const std::string& program,
                                                 const std::filesystem::path& folder);

// This program's own executable, which serves as the command interpreter and
// the FTP client of the platform.
std::filesystem::path ownExecutable();

} // namespace quenmark
