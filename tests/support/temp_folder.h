#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace quenmark {

// A fresh main folder for one test, removed afterwards.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    std::filesystem::path operator/(std::string_view name) const { return m_path / name; }

    // Writes bytes exactly as given (no line-end conversion); creates folders.
    void write(std::string_view name, std::string_view bytes) const;
    // Reads bytes; empty when missing.
    std::string read(std::string_view name) const;
    bool exists(std::string_view name) const;
    void makeFolders(std::initializer_list<std::string_view> names) const;

private:
    std::filesystem::path m_path;
};

// Lines joined with CR LF after each, as the system writes files.
std::string crlf(std::initializer_list<std::string_view> lines);

} // namespace quenmark
