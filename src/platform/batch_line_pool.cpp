#include "platform/batch_line_pool.h"

#include <algorithm>

namespace quenmark {

BatchLinePool::BatchLinePool(int limit) {
    for (int i = 0; i < std::max(limit, 1); ++i)
        m_threads.emplace_back([this] { serve(); });
}

BatchLinePool::~BatchLinePool() {
    {
        std::lock_guard lock(m_mutex);
        m_closing = true;
    }
    m_changed.notify_all();
    for (std::thread& thread : m_threads)
        thread.join();
}

void BatchLinePool::add(std::string key, std::function<void()> work) {
    {
        std::lock_guard lock(m_mutex);
        m_waiting.push_back({std::move(key), std::move(work)});
    }
    m_changed.notify_all();
}

void BatchLinePool::waitForAll() {
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_waiting.empty() && m_running.empty(); });
}

// The first waiting line whose key is neither under way nor held by an earlier
// waiting line.
std::list<BatchLinePool::Line>::iterator BatchLinePool::firstReady() {
    std::set<std::string> heldBack;
    for (auto line = m_waiting.begin(); line != m_waiting.end(); ++line) {
        if (!m_running.contains(line->key) && !heldBack.contains(line->key))
            return line;
        heldBack.insert(line->key);
    }
    return m_waiting.end();
}

void BatchLinePool::serve() {
    std::unique_lock lock(m_mutex);
    for (;;) {
        auto next = m_waiting.end();
        m_changed.wait(lock, [&] {
            next = firstReady();
            return next != m_waiting.end() || (m_closing && m_waiting.empty());
        });
        if (next == m_waiting.end())
            return;
        Line line = std::move(*next);
        m_waiting.erase(next);
        m_running.insert(line.key);
        lock.unlock();
        line.work();
        lock.lock();
        m_running.erase(line.key);
        m_changed.notify_all();
    }
}

} // namespace quenmark
