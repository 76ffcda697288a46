#pragma once

#include <filesystem>
#include <initializer_list>
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
    // The entries of a folder in it ("" for itself): what a test sees left behind.
    // The permission bits of a file, 0 when missing.
    unsigned mode(std::string_view name) const;
    std::ptrdiff_t count(std::string_view folder = "") const;
    void makeFolders(std::initializer_list<std::string_view> names) const;

private:
    std::filesystem::path m_path;
};

// Lines joined with CR LF after each, as the system writes files.
template <typename Lines = std::initializer_list<std::string_view>>
std::string crlf(const Lines& lines) {
    std::string text;
    for (std::string_view line : lines)
        text.append(line).append("\r\n");
    return text;
}

} // namespace quenmark
