#include "platform/process_start.h"

#include "core/model/os_file.h"
#include "core/model/text_file.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <linux/close_range.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>

namespace quenmark {

namespace {

// Everything the child needs, prepared before fork: after it only
// async-signal-safe calls are made.
struct ChildPlan {
    explicit ChildPlan(const ProcessSpec& spec)
        : folder(spec.workingFolder.string()), output(spec.outputFile.string()),
          discardOutput(spec.outputFile.empty() && spec.ownSession), keepErrors(spec.keepErrors),
          appendOutput(spec.appendOutput), ownSession(spec.ownSession),
          endWithParent(spec.endWithParent) {
        storage.push_back(spec.program);
        storage.insert(storage.end(), spec.arguments.begin(), spec.arguments.end());
        for (std::string& s : storage)
            args.push_back(s.data());
        args.push_back(nullptr);
        envStorage = spec.environment;
        for (char** entry = environ; entry && *entry; ++entry)
            envStorage.emplace_back(*entry);
        for (std::string& s : envStorage)
            env.push_back(s.data());
        env.push_back(nullptr);
    }
    std::string folder;
    std::string output;
    bool discardOutput; // to /dev/null, which is no regular file
    bool keepErrors;
    bool appendOutput;
    bool ownSession;
    bool endWithParent;
    std::vector<std::string> storage;
    std::vector<char*> args;
    // Ours, after the entries the spec adds: the first of a name wins.
    std::vector<std::string> envStorage;
    std::vector<char*> env;
};

// Puts a close-on-exec descriptor at `target`, where it stays open across exec.
bool moveTo(int fd, int target) {
    if (fd == target)
        return ::fcntl(fd, F_SETFD, 0) == 0;
    return ::dup2(fd, target) == target;
}

[[noreturn]] void failChild(int statusPipe) {
    const int error = errno;
    [[maybe_unused]] auto ignored = ::write(statusPipe, &error, sizeof error);
    ::_exit(127);
}

[[noreturn]] void execChild(const ChildPlan& plan, pid_t parent, int statusPipe) {
    if (plan.ownSession)
        ::setsid();
    else
        ::setpgid(0, 0); // its own group, so ending it ends what it started too
    if (plan.endWithParent) {
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (::getppid() != parent)
            ::_exit(127);
    }
    // Nothing of ours but standard input, output and error reaches the program.
    ::close_range(3, ~0U, CLOSE_RANGE_CLOEXEC);
    const int in = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    if (in < 0 || !moveTo(in, 0))
        failChild(statusPipe);
    if (!plan.output.empty() || plan.discardOutput) {
        // Never through a link at the path: ftp.log or a page would land outside.
        // Nor into a FIFO there, which would hold us here before the exec.
        const int out = plan.discardOutput
                            ? ::open("/dev/null", O_WRONLY | O_CLOEXEC)
                            : openForWritingNoFollow(plan.output.c_str(), plan.appendOutput);
        if (out < 0 || !moveTo(out, 1) || (!plan.keepErrors && ::dup2(1, 2) < 0))
            failChild(statusPipe);
    }
    if (!plan.folder.empty() && ::chdir(plan.folder.c_str()) != 0)
        failChild(statusPipe);
    ::execvpe(plan.args[0], plan.args.data(), const_cast<char* const*>(plan.env.data()));
    failChild(statusPipe);
}

// Through the system calls themselves: glibc's header for them lacks C linkage.
int pidfdOpen(pid_t pid) {
    return static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
}

void pidfdKill(int pidfd) {
    ::syscall(SYS_pidfd_send_signal, pidfd, SIGKILL, nullptr, 0);
}

int waitQuietly(pid_t pid, int options) {
    int status = 0;
    pid_t got;
    while ((got = ::waitpid(pid, &status, options)) < 0 && errno == EINTR) {
    }
    if (got == 0)
        return -2; // still running
    if (got < 0)
        return -1; // no such child any more: nothing is left to wait for
    if (WIFEXITED(status))
        return WEXITSTATUS(status);
    if (WIFSIGNALED(status))
        return 128 + WTERMSIG(status);
    return -1;
}

// True when the exec went through: the close-on-exec pipe then closes empty.
bool execSucceeded(int readEnd) {
    int error = 0;
    ssize_t got;
    while ((got = ::read(readEnd, &error, sizeof error)) < 0 && errno == EINTR) {
    }
    ::close(readEnd);
    return got == 0;
}

} // namespace

std::optional<ChildProcess> ChildProcess::start(const ProcessSpec& spec) {
    const ChildPlan plan(spec);
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0)
        return std::nullopt;
    const pid_t parent = ::getpid();
    const pid_t pid = ::fork();
    if (pid < 0) {
        ::close(pipeFds[0]);
        ::close(pipeFds[1]);
        return std::nullopt;
    }
    if (pid == 0) {
        ::close(pipeFds[0]);
        execChild(plan, parent, pipeFds[1]);
    }
    ::close(pipeFds[1]);
    const int pidfd = pidfdOpen(pid);
    if (!execSucceeded(pipeFds[0]) || pidfd < 0) {
        ::kill(pid, SIGKILL);
        waitQuietly(pid, 0);
        if (pidfd >= 0)
            ::close(pidfd);
        return std::nullopt;
    }
    return ChildProcess(pid, pidfd);
}

ChildProcess::ChildProcess(ChildProcess&& other) noexcept
    : m_pid(std::exchange(other.m_pid, -1)), m_pidfd(std::exchange(other.m_pidfd, -1)),
      m_status(other.m_status) {}

ChildProcess& ChildProcess::operator=(ChildProcess&& other) noexcept {
    if (this != &other) {
        if (m_pidfd >= 0)
            ::close(m_pidfd);
        m_pid = std::exchange(other.m_pid, -1);
        m_pidfd = std::exchange(other.m_pidfd, -1);
        m_status = other.m_status;
    }
    return *this;
}

ChildProcess::~ChildProcess() {
    if (m_pidfd >= 0)
        ::close(m_pidfd);
}

std::optional<int> ChildProcess::exitStatus() {
    if (!m_status && m_pid > 0) {
        const int status = waitQuietly(m_pid, WNOHANG);
        if (status != -2)
            m_status = status;
    }
    return m_status;
}

void ChildProcess::end() {
    if (m_status || m_pid <= 0)
        return;
    ::kill(-m_pid, SIGKILL);
    // Through the descriptor: the process id may not name it any more.
    pidfdKill(m_pidfd);
}

int ChildProcess::wait() {
    if (!m_status)
        m_status = m_pid > 0 ? waitQuietly(m_pid, 0) : -1;
    return *m_status;
}

std::optional<std::size_t> ChildProcess::waitForAny(std::span<ChildProcess* const> children,
                                                    std::optional<Deadline> deadline) {
    std::vector<pollfd> watched;
    for (std::size_t i = 0; i < children.size(); ++i) {
        if (children[i]->m_status)
            return i;
        watched.push_back({children[i]->m_pidfd, POLLIN, 0});
    }
    for (;;) {
        timespec timeout{};
        if (deadline) {
            const auto left = std::max(*deadline - std::chrono::steady_clock::now(),
                                       std::chrono::steady_clock::duration::zero());
            const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(left);
            timeout.tv_sec = seconds.count();
            timeout.tv_nsec =
                std::chrono::duration_cast<std::chrono::nanoseconds>(left - seconds).count();
        }
        const int ready =
            ::ppoll(watched.data(), watched.size(), deadline ? &timeout : nullptr, nullptr);
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            return std::nullopt;
        for (std::size_t i = 0; i < watched.size(); ++i)
            if (watched[i].revents != 0)
                return i;
    }
}

std::optional<std::filesystem::path> findProgram(const std::string& program,
                                                 const std::filesystem::path& folder) {
    const auto executable = [](const std::filesystem::path& path) {
        struct stat info {};
        return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
               ::access(path.c_str(), X_OK) == 0;
    };
    if (program.empty())
        return std::nullopt;
    if (program.find('/') != std::string::npos) {
        const std::filesystem::path path(program);
        const std::filesystem::path full = path.is_absolute() ? path : folder / path;
        return executable(full) ? std::optional(full) : std::nullopt;
    }
    if (executable(folder / program))
        return folder / program;
    // execvp's own rules: no PATH means its default; an empty entry is the
    // current folder, which for the interpreter's programs is `folder`.
    const char* path = std::getenv("PATH");
    const std::string_view entries = path ? path : "/bin:/usr/bin";
    std::size_t start = 0;
    while (start <= entries.size()) {
        std::size_t end = entries.find(':', start);
        if (end == std::string_view::npos)
            end = entries.size();
        const std::filesystem::path dir(entries.substr(start, end - start));
        const std::filesystem::path candidate = (dir.is_absolute() ? dir : folder / dir) / program;
        if (executable(candidate))
            return candidate;
        start = end + 1;
    }
    return std::nullopt;
}

std::filesystem::path ownExecutable() {
    std::error_code ec;
    auto path = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::filesystem::path("quenmark-updater") : path;
}

} // namespace quenmark
