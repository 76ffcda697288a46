#include "core/model/text_file.h"

#include "core/model/os_file.h"

#include <cerrno>
#include <system_error>

namespace quenmark {

namespace {

FileError fileError(std::string_view shownName, std::string_view what, int systemError) {
    std::string text = "\"";
    text += shownName;
    text += "\" could not be ";
    text += what;
    const std::string words = systemErrorWords(systemError);
    if (!words.empty())
        text += " (" + words + ")";
    text += ".";
    return FileError(text, systemError);
}

} // namespace

std::string systemErrorWords(int systemError) {
    switch (static_cast<std::errc>(systemError)) {
    case std::errc::no_space_on_device:
        return "the disk is full";
    case std::errc::permission_denied:
    case std::errc::operation_not_permitted:
        return "permission denied";
    case std::errc::read_only_file_system:
        return "read-only file system";
    case std::errc::io_error:
        return "the disk reported an error";
    case std::errc::file_too_large:
        return "the file is too large";
    case std::errc::filename_too_long:
        return "the name is too long";
    case std::errc::too_many_files_open:
    case std::errc::too_many_files_open_in_system:
        return "too many open files";
    default:
#ifdef EDQUOT
        if (systemError == EDQUOT) // the operator's share of the disk
            return "the disk is full";
#endif
        return {};
    }
}

FileError cannotWrite(std::string_view shownName, int systemError) {
    return fileError(shownName, "written", systemError);
}
FileError cannotRead(std::string_view shownName, int systemError) {
    return fileError(shownName, "read", systemError);
}
FileError cannotDelete(std::string_view shownName, int systemError) {
    return fileError(shownName, "deleted", systemError);
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
    FileContent content{file.status(), {}, file.systemError()};
    if (content.status == FileReadStatus::Ok && !file.readAll(content.bytes)) {
        content.status = FileReadStatus::Unreadable;
        content.systemError = file.systemError();
    }
    return content;
}

std::optional<std::string> readFileBytes(const std::filesystem::path& path,
                                         std::string_view shownName) {
    FileContent content = readFileContent(path);
    if (content.status == FileReadStatus::Missing)
        return std::nullopt;
    if (content.status == FileReadStatus::Unreadable)
        throw cannotRead(shownName.empty() ? path.string() : std::string(shownName),
                         content.systemError);
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

void appendToFile(const std::filesystem::path& path, std::string_view bytes,
                  std::string_view shownName) {
    const std::string name = shownName.empty() ? path.string() : std::string(shownName);
    const int fd = openForWritingNoFollow(path.c_str(), true);
    if (fd < 0)
        throw cannotWrite(name, errno);
    if (!writeAll(fd, bytes)) {
        const int error = errno;
        closeFile(fd);
        throw cannotWrite(name, error);
    }
    if (!closeFile(fd))
        throw cannotWrite(name, errno);
}

void writeEmptyFile(const std::filesystem::path& path, std::string_view shownName) {
    const int fd = openForWritingNoFollow(path.c_str(), false);
    if (fd < 0)
        throw cannotWrite(shownName.empty() ? path.string() : std::string(shownName), errno);
    closeFile(fd);
}

void removeFileIfPresent(const std::filesystem::path& path) {
    std::error_code ec;
    std::filesystem::remove(path, ec);
    if (ec && ec != std::errc::no_such_file_or_directory)
        throw cannotDelete(path.string(), ec.value());
}

} // namespace quenmark
