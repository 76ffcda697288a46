#pragma once

#include <filesystem>
#include <string>
#include <system_error>
#include <unistd.h>

namespace quenmark {

// A main folder of the fuzzing process's own, in memory where the system has
// /dev/shm, emptied before every input.
inline std::filesystem::path freshFuzzFolder() {
    std::error_code ec;
    const std::filesystem::path base = std::filesystem::is_directory("/dev/shm", ec)
                                           ? std::filesystem::path("/dev/shm")
                                           : std::filesystem::temp_directory_path();
    const std::filesystem::path folder = base / ("quenmark-fuzz-" + std::to_string(::getpid()));
    std::filesystem::remove_all(folder, ec);
    std::filesystem::create_directories(folder);
    return folder;
}

} // namespace quenmark
