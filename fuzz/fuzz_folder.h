#pragma once

#include <filesystem>
#include <string>
#include <system_error>
#include <unistd.h>

namespace quenmark {

// A main folder of the fuzzing process's own, in memory where the system has
// /dev/shm, emptied before every input and removed when the process ends.
inline std::filesystem::path freshFuzzFolder() {
    struct Folder {
        std::filesystem::path path;
        Folder() {
            std::error_code ec;
            const std::filesystem::path base = std::filesystem::is_directory("/dev/shm", ec)
                                                   ? std::filesystem::path("/dev/shm")
                                                   : std::filesystem::temp_directory_path();
            path = base / ("quenmark-fuzz-" + std::to_string(::getpid()));
        }
        ~Folder() {
            std::error_code ec;
            std::filesystem::remove_all(path, ec);
        }
    };
    static const Folder folder;
    std::error_code ec;
    std::filesystem::remove_all(folder.path, ec);
    std::filesystem::create_directories(folder.path);
    return folder.path;
}

} // namespace quenmark
