#include "core/model/os_file.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quenmark {

int openRegularFileForReading(const std::filesystem::path& path, bool& missing) {
    int fd;
    while ((fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK)) < 0 &&
           errno == EINTR) {
    }
    missing = fd < 0 && (errno == ENOENT || errno == ENOTDIR);
    if (fd < 0)
        return -1;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        errno = 0;
        return -1;
    }
    return fd;
}

std::ptrdiff_t readSome(int fd, char* into, std::size_t size) {
    ssize_t got;
    while ((got = ::read(fd, into, size)) < 0 && errno == EINTR) {
    }
    return got;
}

std::optional<std::size_t> openFileSize(int fd) {
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        return std::nullopt;
    return static_cast<std::size_t>(info.st_size);
}

int openForWritingNoFollow(const char* path, bool append) {
    struct stat info {};
    if (::lstat(path, &info) == 0 && S_ISLNK(info.st_mode))
        ::unlink(path);
    // O_NONBLOCK: a FIFO without a reader fails at once (ENXIO) instead of
    // holding the run; a regular file is written the same either way.
    const int mode = append ? O_APPEND : O_TRUNC;
    int fd;
    while ((fd = ::open(path,
                        O_WRONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY | O_NONBLOCK | mode,
                        0644)) < 0 &&
           errno == EINTR) {
    }
    if (fd >= 0 && (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode))) {
        ::close(fd);
        errno = EINVAL;
        return -1;
    }
    return fd;
}

bool writeAll(int fd, std::string_view content) {
    while (!content.empty()) {
        const ssize_t written = ::write(fd, content.data(), content.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        content.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

bool closeFile(int fd) {
    return ::close(fd) == 0;
}

bool syncFile(int fd) {
    return ::fsync(fd) == 0;
}

void syncFolder(const std::filesystem::path& folder) {
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

int makeUniqueFile(std::string& pattern) {
    return ::mkostemp(pattern.data(), O_CLOEXEC);
}

std::optional<unsigned> permissionsOf(const std::filesystem::path& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return std::nullopt;
    return info.st_mode & 07777;
}

unsigned newFilePermissions() {
    // The mask can only be read by setting it; it is set back at once.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

bool setPermissions(int fd, unsigned permissions) {
    return ::fchmod(fd, static_cast<mode_t>(permissions)) == 0;
}

void unlinkQuietly(const std::filesystem::path& path) {
    ::unlink(path.c_str());
}

bool renameOver(const std::filesystem::path& from, const std::filesystem::path& to) {
    return ::rename(from.c_str(), to.c_str()) == 0;
}

} // namespace quenmark
