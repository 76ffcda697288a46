#pragma once

#include "core/model/input_file.h"

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace quenmark {

// A file the system could not read or write; the message names the file.
class FileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The operator's messages for a file the system could not handle, by the name
// he knows it by ("\"NAME\" could not be written." and so on).
FileError cannotWrite(std::string_view shownName);
FileError cannotRead(std::string_view shownName);
FileError cannotDelete(std::string_view shownName);

// Files are bytes. A line ends at LF and a CR right before it is dropped; a last
// line without LF still counts, an empty tail after the last LF does not.
std::vector<std::string> splitLines(std::string_view content);

// Something stands at the path (a file, a folder, ...); a dangling link does not count.
bool fileExists(const std::filesystem::path& path);

// The whole file as bytes, read by the rule of InputFile; the bytes are empty
// unless the status is Ok.
struct FileContent {
    FileReadStatus status = FileReadStatus::Missing;
    std::string bytes;
};
FileContent readFileContent(const std::filesystem::path& path);

// The same as the readers of the operator's files use it: nullopt when it does
// not exist; FileError "\"shownName\" could not be read." when it exists but
// cannot be read.
// An empty shownName names the file by its path.
std::optional<std::string> readFileBytes(const std::filesystem::path& path,
                                         std::string_view shownName = {});
std::optional<std::vector<std::string>> readLines(const std::filesystem::path& path,
                                                  std::string_view shownName = {});

// Builds file text by the house conventions: every line ends CR LF.
class TextBuilder {
public:
    TextBuilder& line(std::string_view text);
    TextBuilder& numberLine(long long value);
    const std::string& text() const { return m_text; }

private:
    std::string m_text;
};

// A whole number as files store it: sign position (blank or "-"), digits, blank.
std::string numberForm(long long value);

// Appends to a file, creating it when missing; throws FileError on failure.
// Neither follows a symbolic link at the path: the link is replaced by a file,
// so the run never writes outside the main folder through one.
void appendToFile(const std::filesystem::path& path, std::string_view bytes);

// Creates or empties a file; throws FileError on failure.
void writeEmptyFile(const std::filesystem::path& path);

// Deletes a file when it exists; a missing file is not an error.
void removeFileIfPresent(const std::filesystem::path& path);

} // namespace quenmark
