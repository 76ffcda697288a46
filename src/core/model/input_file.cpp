#include "core/model/input_file.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quenmark {

InputFile::InputFile(const std::filesystem::path& path) {
    int fd;
    while ((fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK)) < 0 &&
           errno == EINTR) {
    }
    if (fd < 0) {
        m_status = errno == ENOENT || errno == ENOTDIR ? FileReadStatus::Missing
                                                       : FileReadStatus::Unreadable;
        return;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        m_status = FileReadStatus::Unreadable;
        return;
    }
    m_fd = fd;
    m_status = FileReadStatus::Ok;
}

InputFile::~InputFile() {
    if (m_fd >= 0)
        ::close(m_fd);
}

ssize_t InputFile::read(char* into, std::size_t size) {
    if (m_fd < 0)
        return -1;
    ssize_t got;
    while ((got = ::read(m_fd, into, size)) < 0 && errno == EINTR) {
    }
    return got;
}

bool InputFile::readAll(std::string& bytes) {
    bytes.clear();
    struct stat info {};
    if (m_fd < 0 || ::fstat(m_fd, &info) != 0)
        return false;
    // The size is a hint: read on until the end, however long the file has become.
    std::size_t filled = 0;
    bytes.resize(static_cast<std::size_t>(info.st_size) + 1);
    for (;;) {
        if (filled == bytes.size())
            bytes.resize(bytes.size() * 2);
        const ssize_t got = read(bytes.data() + filled, bytes.size() - filled);
        if (got < 0) {
            bytes.clear();
            return false;
        }
        if (got == 0)
            break;
        filled += static_cast<std::size_t>(got);
    }
    bytes.resize(filled);
    return true;
}

} // namespace quenmark
