#pragma once

#include <condition_variable>
#include <functional>
#include <list>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace quenmark {

// Runs lines of a batch at once, at most `limit` at a time, on its own threads.
// Lines that share a key (the file they write) run one after the other in the
// order they were added, so the later line's output is the one that stays, as
// when the batch runs line by line. Otherwise lines start in the order added.
class BatchLinePool {
public:
    explicit BatchLinePool(int limit);
    ~BatchLinePool(); // waits for every line added
    BatchLinePool(const BatchLinePool&) = delete;
    BatchLinePool& operator=(const BatchLinePool&) = delete;

    void add(std::string key, std::function<void()> work);
    // Returns once every line added so far has ended.
    void waitForAll();

private:
    struct Line {
        std::string key;
        std::function<void()> work;
    };
    std::list<Line>::iterator firstReady();
    void serve();

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::list<Line> m_waiting;
    std::set<std::string> m_running; // keys of the lines under way
    bool m_closing = false;
    std::vector<std::thread> m_threads;
};

} // namespace quenmark
