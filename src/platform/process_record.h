#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace quenmark {

// The record of a process a run started (the batch's interpreter, the FTP
// client) that a later run must be able to end should ours be killed first:
// its process id, which leads its session and group, and the marker its
// processes carry (process_group.h), one a line, beside it in the main folder.

// A marker for a new process: "NAME=" and 24 random hexadecimal digits.
std::string newProcessMarker(const char* name);

// Writes the record; throws FileError naming it by shownName.
void writeProcessRecord(const std::filesystem::path& file, std::string_view shownName,
                        int sessionId, const std::string& marker);

// Ends whatever the record names that still runs and carries its marker, and
// removes the record; nothing happens when there is none. Throws FileError
// when a record is there but cannot be read.
void endRecordedProcesses(const std::filesystem::path& file, std::string_view shownName);

// Removes the record, quietly: one left behind names processes that are gone
// or not ours, which endRecordedProcesses leaves alone.
void removeProcessRecord(const std::filesystem::path& file);

} // namespace quenmark
