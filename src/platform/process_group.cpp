#include "platform/process_group.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <optional>
#include <set>
#include <signal.h>
#include <string_view>
#include <unistd.h>

namespace quenmark {

namespace {

// The whole of a file under /proc/PID, opened relative to that directory so
// that both files read of one process are of the same process. A process that
// ends while being read is simply gone: every error gives nullopt, nothing throws.
std::optional<std::string> readProcFile(int procEntry, const char* name) {
    const int fd = ::openat(procEntry, name, O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    std::string content;
    char buffer[4096];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            ::close(fd);
            return got == 0 ? std::optional(content) : std::nullopt;
        }
        content.append(buffer, static_cast<std::size_t>(got));
    }
}

// The group and session of a process from /proc/PID/stat: "PID (NAME) S PPID
// PGRP SID ...", where NAME may hold blanks and parentheses, so the fields are
// counted from the last ')'. False for a process that has ended (a zombie) or is gone.
bool liveProcess(int procEntry, int& group, int& session) {
    const std::optional<std::string> stat = readProcFile(procEntry, "stat");
    const std::size_t close = stat ? stat->rfind(')') : std::string::npos;
    if (close == std::string::npos)
        return false;
    char state = 0;
    int parent = 0;
    if (std::sscanf(stat->c_str() + close + 1, " %c %d %d %d", &state, &parent, &group, &session) !=
        4)
        return false;
    return state != 'Z' && state != 'X';
}

bool carriesMarker(int procEntry, const std::string& marker) {
    const std::string environment = readProcFile(procEntry, "environ").value_or("");
    std::size_t start = 0;
    while (start < environment.size()) {
        std::size_t end = environment.find('\0', start);
        if (end == std::string::npos)
            end = environment.size();
        if (environment.compare(start, end - start, marker) == 0)
            return true;
        start = end + 1;
    }
    return false;
}

// Sends SIGKILL to every live marked process of the session and its group
// that is not in `ended` yet, and adds it there; returns how many there were.
int killMarked(int sessionId, const std::string& marker, std::set<pid_t>& ended) {
    const pid_t self = ::getpid();
    const pid_t ownGroup = ::getpgrp();
    int found = 0;
    std::error_code ec;
    // Entries come and go during the scan: an error ends the scan (the caller
    // scans again), it never throws.
    for (auto entry = std::filesystem::directory_iterator("/proc", ec);
         !ec && entry != std::filesystem::directory_iterator(); entry.increment(ec)) {
        const std::string name = entry->path().filename().string();
        if (name.empty() || !std::isdigit(static_cast<unsigned char>(name[0])))
            continue;
        const int procEntry = ::open(entry->path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (procEntry < 0)
            continue;
        int group = 0;
        int session = 0;
        const pid_t pid = static_cast<pid_t>(std::strtol(name.c_str(), nullptr, 10));
        const bool marked = pid != self && liveProcess(procEntry, group, session) &&
                            session == sessionId && carriesMarker(procEntry, marker);
        ::close(procEntry);
        if (!marked || !ended.insert(pid).second)
            continue;
        ++found;
        if (group > 1 && group != ownGroup)
            ::kill(-group, SIGKILL);
        ::kill(pid, SIGKILL);
    }
    return found;
}

} // namespace

void endMarkedProcesses(int sessionId, const std::string& marker) {
    const auto markerOf = [&marker](std::string_view name) {
        return marker.size() >= name.size() + 1 + 16 && marker.starts_with(name) &&
               marker[name.size()] == '=';
    };
    if (sessionId <= 1 || sessionId == ::getsid(0) ||
        !(markerOf(kBatchMarkerName) || markerOf(kUploadMarkerName)))
        return;
    // A process killed cannot start another, but one that started a process
    // just before may have put it in a group not yet killed: scans go on until
    // one finds nobody new. Nobody is waited for: SIGKILL ends them at once.
    std::set<pid_t> ended;
    for (int pass = 0; pass < 100 && killMarked(sessionId, marker, ended) > 0; ++pass) {
    }
}

} // namespace quenmark
