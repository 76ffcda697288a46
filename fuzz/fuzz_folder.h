#pragma once

#include <filesystem>
#include <string>
#include <system_error>
#include <unistd.h>

namespace quenmark {

// A main folder of the fuzzing process's own, in memory where the system has a
// /dev/shm that can be written (a locked-down container may have one that cannot),
// else in the temporary folder; emptied before every input and removed when the
// process ends.
inline std::filesystem::path freshFuzzFolder() {
    struct Folder {
        std::filesystem::path path;
        Folder() {
            const std::string name = "quenmark-fuzz-" + std::to_string(::getpid());
            std::error_code ec;
            path = std::filesystem::path("/dev/shm") / name;
            if (!std::filesystem::create_directories(path, ec))
                path = std::filesystem::temp_directory_path() / name;
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
