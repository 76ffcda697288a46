#include "platform/batch_line_pool.h"

#include <algorithm>
#include <exception>
#include <iostream>

namespace quenmark {

namespace {

// The interpreter's own standard error; its batch goes on.
void lineFailed(const std::string& key, const char* what) {
    std::cerr << "run-batch: a line" << (key.empty() ? "" : " writing " + key)
              << " could not be run: " << what << std::endl;
}

} // namespace

BatchLinePool::BatchLinePool(int limit, std::chrono::milliseconds timeLimit)
    : m_limit(static_cast<std::size_t>(std::max(limit, 1))), m_timeLimit(timeLimit) {}

BatchLinePool::~BatchLinePool() {
    waitForAll();
}

void BatchLinePool::add(std::string key, Start start, Ended ended) {
    m_waiting.push_back({std::move(key), std::move(start), std::move(ended)});
    startReady();
}

void BatchLinePool::waitForAll() {
    while (!m_running.empty() || !m_waiting.empty()) {
        awaitOne();
        startReady();
    }
}

// The first waiting line whose key is neither under way nor held by an earlier
// waiting line.
std::list<BatchLinePool::Line>::iterator BatchLinePool::firstReady() {
    std::set<std::string> heldBack;
    for (auto line = m_waiting.begin(); line != m_waiting.end(); ++line) {
        if (!m_busyKeys.contains(line->key) && !heldBack.contains(line->key))
            return line;
        heldBack.insert(line->key);
    }
    return m_waiting.end();
}

void BatchLinePool::startReady() {
    for (auto next = firstReady(); m_running.size() < m_limit && next != m_waiting.end();
         next = firstReady()) {
        Line line = std::move(*next);
        m_waiting.erase(next);
        std::optional<ChildProcess> child;
        try {
            child = line.start();
        } catch (const std::exception& error) {
            lineFailed(line.key, error.what());
        }
        if (!child) {
            finish(line.key, line.ended);
            continue;
        }
        m_busyKeys.insert(line.key);
        m_running.push_back({std::move(line.key), std::move(*child),
                             std::chrono::steady_clock::now() + m_timeLimit,
                             std::move(line.ended)});
    }
}

// Waits until a running program ends, or the earliest time limit passes and
// that program is ended.
void BatchLinePool::awaitOne() {
    if (m_running.empty())
        return;
    std::vector<ChildProcess*> children;
    for (Running& running : m_running)
        children.push_back(&running.child);
    const auto earliest = std::min_element(
        m_running.begin(), m_running.end(),
        [](const Running& a, const Running& b) { return a.deadline < b.deadline; });
    std::optional<std::size_t> ended = ChildProcess::waitForAny(children, earliest->deadline);
    if (!ended) {
        if (std::chrono::steady_clock::now() < earliest->deadline)
            return; // woken early: the caller waits again
        earliest->child.end();
        ended = static_cast<std::size_t>(earliest - m_running.begin());
    }
    Running done = std::move(m_running[*ended]);
    m_running.erase(m_running.begin() + static_cast<std::ptrdiff_t>(*ended));
    done.child.wait();
    m_busyKeys.erase(done.key);
    finish(done.key, done.ended);
}

void BatchLinePool::finish(const std::string& key, const Ended& ended) {
    try {
        if (ended)
            ended();
    } catch (const std::exception& error) {
        lineFailed(key, error.what());
    }
}

} // namespace quenmark
