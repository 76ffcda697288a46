#include "platform/process_group.h"

#include <cctype>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <signal.h>
#include <string_view>
#include <thread>
#include <unistd.h>

namespace quenmark {

namespace {

std::string readProcFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The group and session of a process from /proc/PID/stat: "PID (NAME) S PPID
// PGRP SID ...", where NAME may hold blanks and parentheses, so the fields are
// counted from the last ')'. False for a process that has ended (a zombie) or is gone.
bool liveProcess(const std::filesystem::path& procEntry, int& group, int& session) {
    const std::string stat = readProcFile(procEntry / "stat");
    const std::size_t close = stat.rfind(')');
    if (close == std::string::npos)
        return false;
    char state = 0;
    int parent = 0;
    if (std::sscanf(stat.c_str() + close + 1, " %c %d %d %d", &state, &parent, &group, &session) !=
        4)
        return false;
    return state != 'Z' && state != 'X';
}

bool carriesMarker(const std::filesystem::path& procEntry, const std::string& marker) {
    const std::string environment = readProcFile(procEntry / "environ");
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

// Sends SIGKILL to every live marked process of the session and its group;
// returns how many there were.
int killMarked(int sessionId, const std::string& marker) {
    const pid_t self = ::getpid();
    const pid_t ownGroup = ::getpgrp();
    int found = 0;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator("/proc", ec)) {
        const std::string name = entry.path().filename().string();
        if (name.empty() || !std::isdigit(static_cast<unsigned char>(name[0])))
            continue;
        int group = 0;
        int session = 0;
        const pid_t pid = static_cast<pid_t>(std::stol(name));
        if (pid == self || !liveProcess(entry.path(), group, session) || session != sessionId ||
            !carriesMarker(entry.path(), marker))
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
    const std::size_t nameLength = std::string_view(kBatchMarkerName).size() + 1;
    if (sessionId <= 1 || sessionId == ::getsid(0) || marker.size() < nameLength + 16 ||
        !marker.starts_with(std::string(kBatchMarkerName) + "="))
        return;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (killMarked(sessionId, marker) > 0 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
}

} // namespace quenmark
