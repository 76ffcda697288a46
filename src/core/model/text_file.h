#pragma once

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

bool fileExists(const std::filesystem::path& path);

// The whole file as bytes; nullopt when it does not exist or cannot be opened.
std::optional<std::string> readFileBytes(const std::filesystem::path& path);
std::optional<std::vector<std::string>> readLines(const std::filesystem::path& path);

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
void appendToFile(const std::filesystem::path& path, std::string_view bytes);

// Creates or empties a file; throws FileError on failure.
void writeEmptyFile(const std::filesystem::path& path);

// Deletes a file when it exists; a missing file is not an error.
void removeFileIfPresent(const std::filesystem::path& path);

} // namespace quenmark
