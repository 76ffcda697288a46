#pragma once

#include "core/model/atomic_file.h"

#include <filesystem>
#include <string_view>

namespace quenmark {

enum class NewFile { Made, AlreadyThere };

// Makes a file that must not replace anything: when the name is taken (by a
// file, a folder or a symbolic link, even a broken one) nothing is written.
// The content appears whole or not at all. Throws FileError naming the file
// when it cannot be made.
NewFile writeNewFile(const std::filesystem::path& path, std::string_view content,
                     FileAccess access = FileAccess::Default);

} // namespace quenmark
