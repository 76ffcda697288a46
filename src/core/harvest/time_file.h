#pragma once

#include "core/harvest/page_parser.h"
#include "core/model/member_record.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace quenmark {

class ErrorLog;

// A member's time file, "download/" + base name + ".txt": 14 lines,
// line k holding the Rookie, Veteran and Master times of level k in print zones
// 14 characters wide starting at positions 1, 15 and 29.
std::filesystem::path timeFilePath(const std::filesystem::path& mainFolder,
                                   const std::string& baseName);

// The file's text for the member's current Times.
std::string timeFileText(const CellTimes& times);

// The three zones of one line: text at position 1 of length 6, at 15 of length
// 6, and from 29 to the end, each read with leadingNumber; a missing zone reads 0.
std::int16_t timeFileZone(std::string_view line, int difficulty);

// A time file that is there but cannot be read throws FileError in the readers below.
// Stores line k's three values into the member's Times of level k (k = 0..13);
// levels without a line keep their values, lines after the 14th are ignored.
// False when the member has no time file (nothing changes).
bool readTimeFile(const std::filesystem::path& mainFolder, MemberRecord& member,
                  const std::string& baseName);

// Replaces the member's time in one cell by the zone of the difficulty on the
// line of the level; a file with fewer lines leaves the cell unchanged. False
// when the member has no time file (nothing changes).
bool readTimeFileCell(const std::filesystem::path& mainFolder, MemberRecord& member,
                      const std::string& baseName, int level, int difficulty);

// Creates or replaces the time file with the member's current Times (atomic,
// without syncs). Throws FileError, also when the file is there but cannot be
// read: it is then left as it is.
void writeTimeFile(const std::filesystem::path& mainFolder, const MemberRecord& member,
                   const std::string& baseName);

bool timeFileExists(const std::filesystem::path& mainFolder, const std::string& baseName);

// finishMember, right after parseMemberPage: the fallbacks of an
// incomplete page (the time file, or the penalty and " - No backup!"), the
// error-log line, DifficultyTotal, the all-N/A test, and the new time file when
// PageOk is still set. Throws FileError when the page or the time file cannot
// be read, or the time file cannot be written.
void finishMember(const std::filesystem::path& mainFolder, MemberRecord& member,
                  const std::string& baseName, PageRead read, int penaltySeconds, ErrorLog& errors);

} // namespace quenmark
