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
// systemError is the errno value behind it, 0 when there is none (a FIFO or a
// folder where a file belongs).
class FileError : public std::runtime_error {
public:
    explicit FileError(const std::string& text, int systemError = 0)
        : std::runtime_error(text), m_systemError(systemError) {}
    int systemError() const { return m_systemError; }

private:
    int m_systemError;
};

// The operator's messages for a file the system could not handle, by the name
// he knows it by ("\"NAME\" could not be written." and so on). The system's
// reason follows in words where it is one the operator can act on:
// "\"NAME\" could not be written (the disk is full)."
FileError cannotWrite(std::string_view shownName, int systemError = 0);
FileError cannotRead(std::string_view shownName, int systemError = 0);
FileError cannotDelete(std::string_view shownName, int systemError = 0);

// Those reasons in words ("the disk is full"); empty for the others.
std::string systemErrorWords(int systemError);

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
    int systemError = 0; // why it is Unreadable, when the system said
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

// Appends to a file, creating it when missing; throws FileError naming the
// file by shownName (empty: its path) on failure. Neither follows a symbolic
// link at the path: the link is replaced by a file, so the run never writes
// outside the main folder through one. Neither waits on what is not a regular
// file (a FIFO): that fails.
void appendToFile(const std::filesystem::path& path, std::string_view bytes,
                  std::string_view shownName = {});

// Creates or empties a file; throws FileError on failure.
void writeEmptyFile(const std::filesystem::path& path, std::string_view shownName = {});

// Deletes a file when it exists; a missing file is not an error.
void removeFileIfPresent(const std::filesystem::path& path);

} // namespace quenmark
