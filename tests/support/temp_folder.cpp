#include "tests/support/temp_folder.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <sys/stat.h>

namespace quenmark {

TempFolder::TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "quenmark-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("cannot create a temporary folder");
    m_path = pattern;
}

TempFolder::~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(m_path, ec);
}

void TempFolder::write(std::string_view name, std::string_view bytes) const {
    const auto file = m_path / name;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string TempFolder::read(std::string_view name) const {
    std::ifstream in(m_path / name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool TempFolder::exists(std::string_view name) const {
    return std::filesystem::exists(m_path / name);
}

unsigned TempFolder::mode(std::string_view name) const {
    struct stat info {};
    return ::stat((m_path / name).c_str(), &info) == 0 ? info.st_mode & 0777 : 0;
}

std::ptrdiff_t TempFolder::count(std::string_view folder) const {
    return std::distance(std::filesystem::directory_iterator(m_path / folder), {});
}

void TempFolder::makeFolders(std::initializer_list<std::string_view> names) const {
    for (auto name : names)
        std::filesystem::create_directories(m_path / name);
}

} // namespace quenmark
