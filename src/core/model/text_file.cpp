#include "core/model/text_file.h"

#include "core/model/os_file.h"

#include <system_error>

namespace quenmark {

namespace {

FileError fileError(std::string_view shownName, std::string_view what) {
    std::string text = "\"";
    text += shownName;
    text += "\" could not be ";
    text += what;
    text += ".";
    return FileError(text);
}

} // namespace

FileError cannotWrite(std::string_view shownName) {
    return fileError(shownName, "written");
}
FileError cannotRead(std::string_view shownName) {
    return fileError(shownName, "read");
}
FileError cannotDelete(std::string_view shownName) {
    return fileError(shownName, "deleted");
}

std::vector<std::string> splitLines(std::string_view content) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < content.size()) {
        std::size_t end = content.find('\n', start);
        const bool ended = end != std::string_view::npos;
        if (!ended)
            end = content.size();
        std::size_t stop = end;
        if (ended && stop > start && content[stop - 1] == '\r')
            --stop;
        lines.emplace_back(content.substr(start, stop - start));
        start = end + 1;
    }
    return lines;
}

bool fileExists(const std::filesystem::path& path) {
    std::error_code ec;
    return std::filesystem::exists(path, ec);
}

FileContent readFileContent(const std::filesystem::path& path) {
    InputFile file(path);
    FileContent content{file.status(), {}};
    if (content.status == FileReadStatus::Ok && !file.readAll(content.bytes))
        content.status = FileReadStatus::Unreadable;
    return content;
}

std::optional<std::string> readFileBytes(const std::filesystem::path& path,
                                         std::string_view shownName) {
    FileContent content = readFileContent(path);
    if (content.status == FileReadStatus::Missing)
        return std::nullopt;
    if (content.status == FileReadStatus::Unreadable)
        throw cannotRead(shownName.empty() ? path.string() : std::string(shownName));
    return std::move(content.bytes);
}

std::optional<std::vector<std::string>> readLines(const std::filesystem::path& path,
                                                  std::string_view shownName) {
    auto bytes = readFileBytes(path, shownName);
    if (!bytes)
        return std::nullopt;
    return splitLines(*bytes);
}

TextBuilder& TextBuilder::line(std::string_view text) {
    m_text.append(text);
    m_text.append("\r\n");
    return *this;
}

TextBuilder& TextBuilder::numberLine(long long value) {
    return line(numberForm(value));
}

std::string numberForm(long long value) {
    std::string digits = std::to_string(value < 0 ? -value : value);
    return (value < 0 ? "-" : " ") + digits + " ";
}

void appendToFile(const std::filesystem::path& path, std::string_view bytes) {
    const int fd = openForWritingNoFollow(path.c_str(), true);
    if (fd < 0)
        throw cannotWrite(path.string());
    const bool written = writeAll(fd, bytes);
    if (!closeFile(fd) || !written)
        throw cannotWrite(path.string());
}

void writeEmptyFile(const std::filesystem::path& path) {
    const int fd = openForWritingNoFollow(path.c_str(), false);
    if (fd < 0)
        throw cannotWrite(path.string());
    closeFile(fd);
}

void removeFileIfPresent(const std::filesystem::path& path) {
    std::error_code ec;
    std::filesystem::remove(path, ec);
    if (ec && ec != std::errc::no_such_file_or_directory)
        throw cannotDelete(path.string());
}

} // namespace quenmark
