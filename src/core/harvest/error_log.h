#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace quenmark {

// errors.txt of the main folder: one line per member whose page
// ended before 42 times, in member order. A run empties the file once it has
// found a page it can read, then appends its lines. Lines are gathered and appended by flush(), so
// a run opens the file once rather than once per bad page; whoever adds lines flushes them before
// the run ends, also when it stops early.
class ErrorLog {
public:
    explicit ErrorLog(std::filesystem::path mainFolder);

    // Name, or Name + " - No backup!", " - Invalid file name!" or
    // " - Invalid page address!".
    void add(std::string_view line);

    // Appends the gathered lines (CR LF after each) and forgets them. Throws
    // FileError when the file cannot be written.
    void flush();

    const std::string& pending() const { return m_pending; }

private:
    std::filesystem::path m_file;
    std::string m_pending;
};

inline constexpr const char* kNoBackupSuffix = " - No backup!";
inline constexpr const char* kInvalidFileNameSuffix = " - Invalid file name!";
inline constexpr const char* kInvalidPageAddressSuffix = " - Invalid page address!";

} // namespace quenmark
