#include "platform/new_file.h"

#include "core/model/atomic_file.h"
#include "core/model/os_file.h"
#include "core/model/text_file.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace quenmark {

namespace {

bool nameTaken(const std::filesystem::path& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

mode_t modeFor(FileAccess access) {
    if (access == FileAccess::OwnerOnly)
        return 0600;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// Folders that cannot hold hard links (a FAT memory stick): the file is made
// in place, and removed again when writing it fails.
NewFile writeInPlace(const std::filesystem::path& path, std::string_view content, mode_t mode) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW, mode);
    if (fd < 0) {
        if (errno == EEXIST)
            return NewFile::AlreadyThere;
        throw cannotWrite(path.string(), errno);
    }
    int error = writeAll(fd, content) && ::fsync(fd) == 0 ? 0 : errno;
    if (::close(fd) != 0 && error == 0)
        error = errno;
    if (error != 0) {
        ::unlink(path.c_str());
        throw cannotWrite(path.string(), error);
    }
    return NewFile::Made;
}

} // namespace

NewFile writeNewFile(const std::filesystem::path& path, std::string_view content,
                     FileAccess access) {
    if (nameTaken(path))
        return NewFile::AlreadyThere;

    // Written whole under a temporary name, then linked to its own name: link
    // never replaces an existing name, and a crash leaves no half-made file.
    const std::filesystem::path folder = path.parent_path();
    std::string temp = (folder / ("." + path.filename().string() + ".XXXXXX")).string();
    const int fd = ::mkstemp(temp.data());
    if (fd < 0)
        throw cannotWrite(path.string(), errno);
    int error =
        ::fchmod(fd, modeFor(access)) == 0 && writeAll(fd, content) && ::fsync(fd) == 0 ? 0 : errno;
    if (::close(fd) != 0 && error == 0)
        error = errno;
    if (error != 0) {
        ::unlink(temp.c_str());
        throw cannotWrite(path.string(), error);
    }
    const int linked = ::link(temp.c_str(), path.c_str());
    const int linkError = errno;
    ::unlink(temp.c_str());
    if (linked == 0) {
        syncFolder(folder);
        return NewFile::Made;
    }
    if (linkError == EEXIST)
        return NewFile::AlreadyThere;
    if (linkError == EPERM || linkError == EOPNOTSUPP || linkError == ENOSYS)
        return writeInPlace(path, content, modeFor(access));
    throw cannotWrite(path.string(), linkError);
}

} // namespace quenmark
