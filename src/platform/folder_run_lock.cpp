#include "platform/folder_run_lock.h"

#include "core/main_folder.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quenmark {

FolderRunLock::~FolderRunLock() {
    release();
}

RunLock::Result FolderRunLock::take(const std::filesystem::path& mainFolder) {
    release();
    m_failureError = 0;
    const std::filesystem::path file = mainFolder / kRunLockFile;
    const int fd = ::open(file.c_str(),
                          O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY, 0644);
    if (fd < 0) {
        m_failureError = errno;
        return Result::Failed;
    }
    // A FIFO or a device there is no lock: nothing but a file is taken for one.
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return Result::Failed;
    }
    int locked;
    while ((locked = ::flock(fd, LOCK_EX | LOCK_NB)) != 0 && errno == EINTR) {
    }
    if (locked != 0) {
        const int error = errno;
        ::close(fd);
        if (error == EWOULDBLOCK)
            return Result::Busy;
        m_failureError = error;
        return Result::Failed;
    }
    m_fd = fd;
    return Result::Taken;
}

void FolderRunLock::release() {
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

} // namespace quenmark
