#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

namespace quenmark {

// What a reader finds at a data file's path. A file that is there but cannot
// be read (no permission, a folder, a FIFO, a device) is never taken for a
// missing one: the operator is told, and nothing is written over it.
enum class FileReadStatus { Ok, Missing, Unreadable };

// The one rule by which every data file is opened for reading. The open never
// blocks (a FIFO with no writer would hold the run for ever) and only a regular
// file is read; a dangling link or a missing folder on the way counts as missing.
class InputFile {
public:
    explicit InputFile(const std::filesystem::path& path);
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    FileReadStatus status() const { return m_status; }
    // The errno value of the open or read that failed; 0 when none failed, or
    // when the file is only not a regular one.
    int systemError() const { return m_systemError; }

    // Up to size bytes; 0 at the end of the file, -1 on an error.
    std::ptrdiff_t read(char* into, std::size_t size);

    // The rest of the file into bytes (replacing what it held); false on an error.
    bool readAll(std::string& bytes);

private:
    int m_fd = -1;
    FileReadStatus m_status = FileReadStatus::Missing;
    int m_systemError = 0;
};

} // namespace quenmark
