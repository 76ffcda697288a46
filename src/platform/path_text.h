#pragma once

#include <QString>
#include <filesystem>

namespace quenmark {

// File names between Qt's strings and the file system's paths, one way for the
// whole program: the encoding Qt itself gives file names on this system.
std::filesystem::path pathFromText(const QString& text);
QString textFromPath(const std::filesystem::path& path);

} // namespace quenmark
