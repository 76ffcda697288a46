#pragma once

#include "core/model/member_record.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace quenmark {

// How a member page was read: Complete when 42 times were taken, Incomplete
// when the page ended first.
enum class PageRead { Complete, Incomplete };

// Asked only when the page gives an implausible clock time (below 5 seconds):
// puts the member's stored time for the cell (his time file) into cell and
// returns true when he has a time file (a file without that line leaves cell as
// it is); returns false when he has none, and the cell gets the N/A penalty.
using StoredTimeLookup = std::function<bool(int level, int difficulty, std::int16_t& cell)>;

// The first three letters of the first level's name, in lower case ("lam").
std::string startMarker();

// Reads the 42 times out of a page's bytes, character for character:
// lines end at LF (a CR right before it is dropped), positions 1 to length - 2
// of every line are scanned, positions before the start of a line hold no
// character. Taken times go into member.Times (level + 14 * difficulty); the
// other cells keep their values. An implausible clock time clears PageOk and is
// replaced through storedTime, or by penaltySeconds when that finds no file.
PageRead parsePageText(std::string_view page, MemberRecord& member, int penaltySeconds,
                       const StoredTimeLookup& storedTime);

// The same for a page file, read in chunks and scanned line by line as it
// arrives: memory stays within the longest line, and the rest of the file is
// not read once the 42nd time is taken. A missing or unreadable file reads as
// an empty page; a read error as the end of the file.
PageRead parsePageFile(const std::filesystem::path& path, MemberRecord& member, int penaltySeconds,
                       const StoredTimeLookup& storedTime);

// The member's page file: "download/" + base name + ".html".
std::filesystem::path memberPagePath(const std::filesystem::path& mainFolder,
                                     const std::string& baseName);

// parseMemberPage: parsePageFile on the member's page file, taking
// the stored time of an implausible cell from his time file.
PageRead parseMemberPage(const std::filesystem::path& mainFolder, MemberRecord& member,
                         const std::string& baseName, int penaltySeconds);

// The whole file into buffer (reused between calls to spare allocations).
// False, with buffer empty, when the file does not exist or cannot be read.
bool readWholeFile(const std::filesystem::path& path, std::string& buffer);

} // namespace quenmark
