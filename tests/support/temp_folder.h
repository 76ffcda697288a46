#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <stdexcept>
#include <string>
#include <string_view>
#include <sys/stat.h>

namespace quenmark {

// A fresh main folder for one test, removed afterwards.
class TempFolder {
public:
    TempFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "quenmark-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            throw std::runtime_error("cannot create a temporary folder");
        m_path = pattern;
    }
    ~TempFolder() {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    std::filesystem::path operator/(std::string_view name) const { return m_path / name; }
    // Writes bytes exactly as given (no line-end conversion); creates folders.
    void write(std::string_view name, std::string_view bytes) const {
        std::filesystem::create_directories((m_path / name).parent_path());
        std::ofstream(m_path / name, std::ios::binary | std::ios::trunc) << bytes;
    }
    // Reads bytes; empty when missing.
    std::string read(std::string_view name) const {
        std::ifstream in(m_path / name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    bool exists(std::string_view name) const { return std::filesystem::exists(m_path / name); }
    // The permission bits of a file, 0 when missing.
    unsigned mode(std::string_view name) const {
        struct stat info {};
        return ::stat((m_path / name).c_str(), &info) == 0 ? info.st_mode & 0777 : 0;
    }
    // The entries of a folder in it ("" for itself): what a test sees left behind.
    std::ptrdiff_t count(std::string_view folder = "") const {
        return std::distance(std::filesystem::directory_iterator(m_path / folder), {});
    }
    void makeFolders(std::initializer_list<std::string_view> names) const {
        for (auto name : names)
            std::filesystem::create_directories(m_path / name);
    }

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
