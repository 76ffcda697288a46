#include "core/model/input_file.h"

#include "core/model/os_file.h"

#include <cerrno>

namespace quenmark {

InputFile::InputFile(const std::filesystem::path& path) {
    bool missing = false;
    m_fd = openRegularFileForReading(path, missing);
    if (m_fd < 0)
        m_systemError = errno;
    m_status = m_fd >= 0 ? FileReadStatus::Ok
               : missing ? FileReadStatus::Missing
                         : FileReadStatus::Unreadable;
}

InputFile::~InputFile() {
    if (m_fd >= 0)
        closeFile(m_fd);
}

std::ptrdiff_t InputFile::read(char* into, std::size_t size) {
    if (m_fd < 0)
        return -1;
    const std::ptrdiff_t got = readSome(m_fd, into, size);
    if (got < 0)
        m_systemError = errno;
    return got;
}

bool InputFile::readAll(std::string& bytes) {
    bytes.clear();
    const std::optional<std::size_t> size = m_fd < 0 ? std::nullopt : openFileSize(m_fd);
    if (!size)
        return false;
    // The size is a hint: read on until the end, however long the file has become.
    std::size_t filled = 0;
    bytes.resize(*size + 1);
    for (;;) {
        if (filled == bytes.size())
            bytes.resize(bytes.size() * 2);
        const std::ptrdiff_t got = read(bytes.data() + filled, bytes.size() - filled);
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
