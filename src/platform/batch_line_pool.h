#pragma once

#include "platform/process_start.h"

#include <chrono>
#include <functional>
#include <list>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace quenmark {

// Runs lines of a batch at once, at most `limit` programs at a time, all from
// the thread that adds them: the programs are our children, awaited in one
// place. Lines that share a key (the file they write) run one after the other
// in the order they were added, so the later line's output is the one that
// stays, as when the batch runs line by line. Otherwise lines start in the
// order added. A program still running after the time limit is ended with
// what it started.
class BatchLinePool {
public:
    // Starts a line's program; nullopt when none runs (the line has ended at once).
    using Start = std::function<std::optional<ChildProcess>()>;
    using Ended = std::function<void()>;

    BatchLinePool(int limit, std::chrono::milliseconds timeLimit);
    ~BatchLinePool(); // waits for every line added
    BatchLinePool(const BatchLinePool&) = delete;
    BatchLinePool& operator=(const BatchLinePool&) = delete;

    // A line whose start or end throws is an error of that line: it is told on
    // standard error and counts as ended; the batch goes on.
    void add(std::string key, Start start, Ended ended);
    // Returns once every line added so far has ended.
    void waitForAll();

private:
    struct Line {
        std::string key;
        Start start;
        Ended ended;
    };
    struct Running {
        std::string key;
        ChildProcess child;
        std::chrono::steady_clock::time_point deadline;
        Ended ended;
    };
    std::list<Line>::iterator firstReady();
    void startReady();
    void awaitOne();
    void finish(const std::string& key, const Ended& ended);

    std::size_t m_limit;
    std::chrono::milliseconds m_timeLimit;
    std::list<Line> m_waiting;
    std::vector<Running> m_running;
    std::set<std::string> m_busyKeys; // keys of the lines under way
};

} // namespace quenmark
