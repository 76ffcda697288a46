#pragma once

#include "core/ports/run_lock.h"

namespace quenmark {

// RunLock as an flock on the lock file of the main folder. The file is opened
// close-on-exec, so the batch and the upload never hold the lock on their own.
class FolderRunLock : public RunLock {
public:
    FolderRunLock() = default;
    ~FolderRunLock() override;
    FolderRunLock(const FolderRunLock&) = delete;
    FolderRunLock& operator=(const FolderRunLock&) = delete;

    Result take(const std::filesystem::path& mainFolder) override;
    void release() override;
    int failureError() const override { return m_failureError; }

private:
    int m_fd = -1;
    int m_failureError = 0;
};

} // namespace quenmark
