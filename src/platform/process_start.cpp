#include "platform/process_start.h"

#include "core/model/os_file.h"
#include "core/model/text_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace quenmark {

namespace {

// Everything the child needs, prepared before fork: after it only
// async-signal-safe calls are made.
struct ChildPlan {
    explicit ChildPlan(const ProcessSpec& spec, const char* defaultOutput)
        : folder(spec.workingFolder.string()),
          output(spec.outputFile.empty() ? (defaultOutput ? defaultOutput : "")
                                         : spec.outputFile.string()),
          keepErrors(spec.keepErrors), appendOutput(spec.appendOutput) {
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
    bool keepErrors;
    bool appendOutput;
    std::vector<std::string> storage;
    std::vector<char*> args;
    // Ours, after the entries the spec adds: the first of a name wins.
    std::vector<std::string> envStorage;
    std::vector<char*> env;
};

[[noreturn]] void execChild(ChildPlan& plan, int statusPipe) {
    const int in = ::open("/dev/null", O_RDONLY);
    if (in < 0 || ::dup2(in, 0) < 0)
        ::_exit(127);
    if (!plan.output.empty()) {
        // Never through a link at the path: ftp.log or a page would land outside.
        const int out = openForWritingNoFollow(plan.output.c_str(), plan.appendOutput);
        if (out < 0 || ::dup2(out, 1) < 0 || (!plan.keepErrors && ::dup2(out, 2) < 0))
            ::_exit(127);
    }
    if (!plan.folder.empty() && ::chdir(plan.folder.c_str()) != 0) {
        const int error = errno;
        [[maybe_unused]] auto ignored = ::write(statusPipe, &error, sizeof error);
        ::_exit(127);
    }
    ::execvpe(plan.args[0], plan.args.data(), plan.env.data());
    const int error = errno;
    [[maybe_unused]] auto ignored = ::write(statusPipe, &error, sizeof error);
    ::_exit(127);
}

int waitQuietly(pid_t pid, int options = 0) {
    int status = 0;
    pid_t got;
    while ((got = ::waitpid(pid, &status, options)) < 0 && errno == EINTR) {
    }
    return got == pid ? status : -1;
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

struct Forked {
    pid_t pid = -1;
    int report = -1; // read end: a failed exec writes its errno here
};

// Forks; the child runs inChild with the write end of a close-on-exec pipe, so
// the parent learns whether the exec went through.
template <typename ChildBody> Forked forkReportingExec(ChildBody inChild) {
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0)
        return {};
    const pid_t pid = ::fork();
    if (pid < 0) {
        ::close(pipeFds[0]);
        ::close(pipeFds[1]);
        return {};
    }
    if (pid == 0) {
        ::close(pipeFds[0]);
        inChild(pipeFds[1]);
        ::_exit(127);
    }
    ::close(pipeFds[1]);
    return {pid, pipeFds[0]};
}

int exitStatusOf(int status) {
    if (WIFEXITED(status))
        return WEXITSTATUS(status);
    if (WIFSIGNALED(status))
        return 128 + WTERMSIG(status);
    return -1;
}

// The child's pid once its program runs; -1 (the child reaped) when it did not start.
int startedPid(const Forked& child) {
    if (child.pid < 0)
        return -1;
    if (!execSucceeded(child.report)) {
        waitQuietly(child.pid);
        return -1;
    }
    return child.pid;
}

} // namespace

bool startDetached(const ProcessSpec& spec) {
    ChildPlan plan(spec, "/dev/null");
    const Forked child = forkReportingExec([&plan](int report) {
        // A new session and a second fork: no terminal, and the process is not
        // our child, so it never lingers as a zombie of the window.
        ::setsid();
        const pid_t grandchild = ::fork();
        if (grandchild != 0)
            ::_exit(grandchild < 0 ? 1 : 0);
        execChild(plan, report);
    });
    if (child.pid < 0)
        return false;
    const int status = waitQuietly(child.pid);
    const bool forked = status >= 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return execSucceeded(child.report) && forked;
}

int startWatched(const ProcessSpec& spec) {
    ChildPlan plan(spec, "/dev/null");
    const Forked child = forkReportingExec([&plan](int report) {
        ::setsid();
        execChild(plan, report);
    });
    return startedPid(child);
}

std::optional<int> endedStatus(int pid) {
    int status = 0;
    pid_t got;
    while ((got = ::waitpid(pid, &status, WNOHANG)) < 0 && errno == EINTR) {
    }
    if (got == 0)
        return std::nullopt;
    if (got < 0)
        return -1; // no such child any more: nothing is left to wait for
    return exitStatusOf(status);
}

ProcessResult runAndWait(const ProcessSpec& spec,
                         std::optional<std::chrono::milliseconds> timeLimit) {
    ChildPlan plan(spec, nullptr);
    ProcessResult result;
    const pid_t parent = ::getpid();
    const bool endWithParent = spec.endWithParent;
    const Forked forked = forkReportingExec([&plan, parent, endWithParent](int report) {
        ::setpgid(0, 0); // its own group, so a time-out ends what it started too
        if (endWithParent) {
            ::prctl(PR_SET_PDEATHSIG, SIGKILL);
            if (::getppid() != parent)
                ::_exit(127);
        }
        execChild(plan, report);
    });
    if (forked.pid < 0)
        return result;
    const pid_t child = forked.pid;
    result.started = execSucceeded(forked.report);

    int status = -1;
    if (timeLimit) {
        const auto deadline = std::chrono::steady_clock::now() + *timeLimit;
        // Short waits first: most programs end within milliseconds, and a batch
        // runs one per member.
        auto pause = std::chrono::microseconds(500);
        for (;;) {
            status = waitQuietly(child, WNOHANG);
            if (status >= 0)
                break;
            if (std::chrono::steady_clock::now() >= deadline) {
                ::kill(-child, SIGKILL);
                ::kill(child, SIGKILL);
                status = waitQuietly(child);
                result.timedOut = true;
                break;
            }
            std::this_thread::sleep_for(pause);
            pause = std::min<std::chrono::microseconds>(pause * 2, std::chrono::milliseconds(50));
        }
    } else {
        status = waitQuietly(child);
    }
    if (result.started && status >= 0)
        result.exitStatus = exitStatusOf(status);
    return result;
}

int startGroupLeader(const ProcessSpec& spec) {
    ChildPlan plan(spec, "/dev/null");
    const pid_t parent = ::getpid();
    const Forked child = forkReportingExec([&plan, parent](int report) {
        ::setsid();
        // Whatever ends the run's process ends the batch too.
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (::getppid() != parent)
            ::_exit(1);
        execChild(plan, report);
    });
    return startedPid(child);
}

bool hasEnded(int pid) {
    int status = 0;
    pid_t got;
    while ((got = ::waitpid(pid, &status, WNOHANG)) < 0 && errno == EINTR) {
    }
    return got == pid || (got < 0 && errno == ECHILD);
}

void endChild(int pid) {
    ::kill(pid, SIGKILL);
    waitQuietly(pid);
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
