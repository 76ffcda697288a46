#pragma once

#include "core/model/input_file.h"
#include "core/model/member_record.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace quenmark {

// How a member page was read: Complete when 42 times were taken, Incomplete
// when the page ended first; NotFetched when no page was fetched because the
// member's address was refused (it is handled like an incomplete page).
enum class PageRead { Complete, Incomplete, NotFetched };

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

// The same for a page file, read in chunks and scanned as it arrives: memory
// stays a chunk whatever the length of a line, and the rest of the file is not
// read once the 42nd time is taken. A missing file reads as an empty page; one
// that is there but cannot be read (not a regular file, no permission) throws
// FileError naming it by pageShownName; a read error counts as the end of the
// file.
PageRead parsePageFile(const std::filesystem::path& path, MemberRecord& member, int penaltySeconds,
                       const StoredTimeLookup& storedTime, std::string_view pageShownName = "page");

class PageScanner;

// A page scanned as it arrives, in pieces of any size, with the results of
// parsePageText. A line is never held whole: only the few characters around a
// position that its tests look at wait for the next piece.
class PageStream {
public:
    PageStream(MemberRecord& member, int penaltySeconds, const StoredTimeLookup& storedTime);
    ~PageStream();
    PageStream(const PageStream&) = delete;
    PageStream& operator=(const PageStream&) = delete;

    // The next bytes of the page; true once the 42nd time is taken (the rest
    // of the page is then not needed).
    bool feed(std::string_view bytes);
    // The page has ended.
    PageRead finish();

private:
    bool scanWholeLine(const char* text, std::size_t length, std::size_t origin, std::size_t first);
    void scanPartLine(const char* text, std::size_t length, std::size_t origin, std::size_t first);

    std::unique_ptr<PageScanner> m_scanner;
    bool m_complete = false;
    std::string
        m_pending; // what the unfinished line still needs, from its position m_pendingOrigin
    std::size_t m_pendingOrigin = 0;
    std::size_t m_pendingFirst = 0; // the first of m_pending not yet scanned
    std::string m_joined;
};

// The member's page file: "download/" + base name + ".html".
std::filesystem::path memberPagePath(const std::filesystem::path& mainFolder,
                                     const std::string& baseName);

// parseMemberPage: parsePageFile on the member's page file, taking
// the stored time of an implausible cell from his time file.
PageRead parseMemberPage(const std::filesystem::path& mainFolder, MemberRecord& member,
                         const std::string& baseName, int penaltySeconds);

// The whole file into buffer (reused between calls to spare allocations), by
// the rule of InputFile; buffer is empty unless the status is Ok.
FileReadStatus readWholeFile(const std::filesystem::path& path, std::string& buffer);

} // namespace quenmark
