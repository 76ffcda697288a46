#include "core/model/atomic_file.h"

#include "core/model/text_file.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace quenmark {

namespace {

[[noreturn]] void fail(const std::filesystem::path& path) {
    throw cannotWrite(path.string());
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

void syncFolder(const std::filesystem::path& folder) {
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

void replaceFile(const std::filesystem::path& path, std::string_view content, Durability durability,
                 FileAccess access) {
    const std::filesystem::path folder = path.parent_path();
    std::string temp = (folder / ("." + path.filename().string() + ".XXXXXX")).string();
    const int fd = ::mkstemp(temp.data());
    if (fd < 0)
        fail(path);

    mode_t mode = 0600;
    if (access == FileAccess::Default) {
        struct stat old {};
        if (::stat(path.c_str(), &old) == 0) {
            mode = old.st_mode & 07777;
        } else {
            const mode_t mask = ::umask(0);
            ::umask(mask);
            mode = 0666 & ~mask;
        }
    }
    bool ok = ::fchmod(fd, mode) == 0 && writeAll(fd, content);
    if (ok && durability == Durability::Synced)
        ok = ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (!ok || ::rename(temp.c_str(), path.c_str()) != 0) {
        ::unlink(temp.c_str());
        fail(path);
    }
    if (durability == Durability::Synced)
        syncFolder(folder);
}

} // namespace quenmark
