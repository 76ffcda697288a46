#include "core/model/atomic_file.h"

#include "core/model/os_file.h"
#include "core/model/text_file.h"

#include <cerrno>

namespace quenmark {

namespace {

constexpr std::size_t kRandomLength = 6; // mkstemp's XXXXXX

bool isReplacementTemporary(const std::string& name) {
    if (name.size() != kReplacementPrefix.size() + kRandomLength ||
        !name.starts_with(kReplacementPrefix))
        return false;
    for (std::size_t i = kReplacementPrefix.size(); i < name.size(); ++i) {
        const char c = name[i];
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')))
            return false;
    }
    return true;
}

} // namespace

FileReplacement::FileReplacement(const std::filesystem::path& path, std::string shownName,
                                 Durability durability, FileAccess access)
    : m_path(path), m_shownName(std::move(shownName)), m_durability(durability) {
    // Only a file (or a link, which is replaced) is ever replaced: a FIFO, a
    // device or a folder there is the operator's to look at.
    std::error_code ec;
    const auto there = std::filesystem::symlink_status(path, ec).type();
    if (!ec && there != std::filesystem::file_type::regular &&
        there != std::filesystem::file_type::symlink)
        fail(0);
    const std::filesystem::path folder = path.parent_path();
    m_temporary = (folder / (std::string(kReplacementPrefix) + "XXXXXX")).string();
    m_fd = makeUniqueFile(m_temporary);
    if (m_fd < 0) {
        m_temporary.clear();
        fail(errno);
    }
    unsigned permissions = 0600;
    if (access == FileAccess::Default)
        permissions = permissionsOf(path).value_or(newFilePermissions());
    if (!setPermissions(m_fd, permissions))
        fail(errno);
}

FileReplacement::~FileReplacement() {
    if (m_fd >= 0)
        closeFile(m_fd);
    if (!m_temporary.empty())
        unlinkQuietly(m_temporary);
}

void FileReplacement::fail(int systemError) {
    if (m_fd >= 0)
        closeFile(m_fd);
    m_fd = -1;
    if (!m_temporary.empty())
        unlinkQuietly(m_temporary);
    m_temporary.clear();
    throw cannotWrite(m_shownName, systemError);
}

void FileReplacement::write(std::string_view bytes) {
    if (m_fd < 0)
        fail(0);
    if (!writeAll(m_fd, bytes))
        fail(errno);
}

void FileReplacement::commit() {
    if (m_fd < 0)
        fail(0);
    // A full disk may show only at the sync or the close (delayed allocation, NFS).
    int error = 0;
    if (m_durability == Durability::Synced && !syncFile(m_fd))
        error = errno;
    if (!closeFile(m_fd) && error == 0)
        error = errno;
    m_fd = -1;
    if (error != 0)
        fail(error);
    if (!renameOver(m_temporary, m_path))
        fail(errno);
    m_temporary.clear();
    if (m_durability == Durability::Synced)
        syncFolder(m_path.parent_path());
}

void replaceFile(const std::filesystem::path& path, std::string_view content, Durability durability,
                 FileAccess access, std::string_view shownName) {
    FileReplacement replacement(path, shownName.empty() ? path.string() : std::string(shownName),
                                durability, access);
    replacement.write(content);
    replacement.commit();
}

void removeReplacementLeftovers(const std::filesystem::path& folder,
                                std::filesystem::file_time_type before) {
    std::error_code ec;
    std::filesystem::directory_iterator entries(folder.empty() ? "." : folder, ec);
    if (ec)
        return;
    for (const auto& entry : entries) {
        if (!isReplacementTemporary(entry.path().filename().string()))
            continue;
        std::error_code typeError;
        std::error_code timeError;
        if (!entry.is_regular_file(typeError) || typeError)
            continue;
        const auto written = entry.last_write_time(timeError);
        if (!timeError && written < before)
            std::filesystem::remove(entry.path(), timeError);
    }
}

void removeReplacementLeftovers(const std::filesystem::path& folder) {
    removeReplacementLeftovers(folder, std::filesystem::file_time_type::clock::now());
}

} // namespace quenmark
