#pragma once

#include <filesystem>

namespace quenmark {

// One run per main folder: a lock that the operating system lets go of when
// the process holding it ends, however it ends; the platform implements it.
class RunLock {
public:
    enum class Result { Taken, Busy, Failed };

    virtual ~RunLock() = default;
    // Busy: another run holds it. Failed: the lock file could not be opened, or
    // is not a regular file.
    virtual Result take(const std::filesystem::path& mainFolder) = 0;
    // Why the latest take Failed: an errno value, 0 when the system gave none.
    virtual int failureError() const { return 0; }
    // Nothing happens when it is not held.
    virtual void release() = 0;
};

} // namespace quenmark
