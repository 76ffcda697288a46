#include "core/harvest/page_parser.h"

#include "core/harvest/time_file.h"
#include "core/main_folder.h"
#include "core/model/input_file.h"
#include "core/model/leading_number.h"
#include "core/model/text_file.h"

#include <array>
#include <cstring>
#include <memory>
#include <optional>

namespace quenmark {

namespace {

constexpr char lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}
constexpr char upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
}
constexpr bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

constexpr char kMarker0 = lower(kLevelNames[0][0]);
constexpr char kMarker1 = lower(kLevelNames[0][1]);
constexpr char kMarker2 = lower(kLevelNames[0][2]);

// The characters at which one of the scan's tests can succeed: every other
// character is passed over with one table look-up.
constexpr std::array<bool, 256> makeInteresting() {
    std::array<bool, 256> table{};
    for (char c : {'<', '>', ':', 'n', 'N', kMarker0, upper(kMarker0)})
        table[static_cast<unsigned char>(c)] = true;
    return table;
}
constexpr std::array<bool, 256> kInteresting = makeInteresting();

// A stretch of one line of the page. Index i of the stretch is the line's
// position origin + i, counted from 0 here (the rules count from 1). A stretch
// that does not start the line holds at least the three characters before its
// first scan position, all that the minute digits of a clock time look back
// on; positions before the start of a line hold no character.
struct Line {
    const char* text;
    std::size_t length;
    std::size_t origin = 0;

    bool has(std::ptrdiff_t i, char c) const { return i >= 0 && text[i] == c; }
    bool digitAt(std::ptrdiff_t i) const { return i >= 0 && isDigit(text[i]); }
    bool atPosition(std::ptrdiff_t i, std::size_t position) const {
        return static_cast<std::size_t>(i) + origin == position;
    }
    double numberAt(std::ptrdiff_t from, std::size_t width) const {
        return width == 0 ? 0 : leadingNumber(std::string_view(text + from, width));
    }
};

// The clock time whose colon is at index i (the two characters after the colon
// are digits). Two minute digits, one when the colon is the line's second
// character or follows a ">" and its digit; none when no digit precedes. A
// letter m right before the colon moves the minutes in front of it.
std::int16_t clockValue(const Line& line, std::ptrdiff_t i) {
    const int seconds = (line.text[i + 1] - '0') * 10 + (line.text[i + 2] - '0');
    double minutes;
    if (line.has(i - 1, 'm') || line.has(i - 1, 'M')) {
        std::size_t w = 2;
        if (line.atPosition(i, 2) || line.has(i - 3, '>'))
            w = 1;
        if (!line.digitAt(i - 2))
            w = 0;
        minutes = line.numberAt(i - 1 - static_cast<std::ptrdiff_t>(w), w);
    } else {
        std::size_t w = 2;
        if (line.atPosition(i, 1) || line.has(i - 2, '>'))
            w = 1;
        if (!line.digitAt(i - 1))
            w = 0;
        minutes = line.numberAt(i - static_cast<std::ptrdiff_t>(w), w);
    }
    return toInt16(minutes * 60 + seconds);
}

// The most characters after a scan position that its tests look at ("<table").
constexpr std::size_t kLookAhead = 5;
// The most characters before a scan position that a clock time looks at.
constexpr std::size_t kLookBack = 3;

} // namespace

// The switches of the scan, kept between the stretches of a page.
class PageScanner {
public:
    PageScanner(MemberRecord& member, int penaltySeconds, const StoredTimeLookup& storedTime)
        : m_member(member), m_penalty(static_cast<std::int16_t>(penaltySeconds)),
          m_storedTime(storedTime) {}

    // Scans the stretch's indexes first .. stop - 1; at least two characters
    // follow each (the last two of a line are never scanned), and every
    // character a test looks at ahead is in the stretch or past the line's
    // end. True when the 42nd time was taken.
    bool scan(Line line, std::size_t first, std::size_t stop);

private:
    MemberRecord& m_member;
    const std::int16_t m_penalty;
    const StoredTimeLookup m_storedTime; // by value: a caller may hand over a temporary
    bool m_inTable = false, m_inRow = false, m_inCell = false, m_inTag = false;
    bool m_started = false;
    int m_level = 0, m_difficulty = 0;
};

bool PageScanner::scan(Line line, std::size_t first, std::size_t stop) {
    // The switches in locals for the scan, so they stay in registers.
    bool inTable = m_inTable, inRow = m_inRow, inCell = m_inCell, inTag = m_inTag;
    bool started = m_started;
    int level = m_level, difficulty = m_difficulty;
    const auto keep = [&] {
        m_inTable = inTable, m_inRow = inRow, m_inCell = inCell, m_inTag = inTag;
        m_started = started, m_level = level, m_difficulty = difficulty;
    };

    const char* const text = line.text;
    for (std::size_t i = first; i < stop; ++i) {
        const char c = text[i];
        if (!kInteresting[static_cast<unsigned char>(c)])
            continue;
        // The tests in their order; text[i + 1] and text[i + 2] always exist.
        if (c == '<') {
            if (lower(text[i + 1]) == 't') {
                const char c2 = lower(text[i + 2]);
                if (c2 == 'a' && line.length - i >= 6 && lower(text[i + 3]) == 'b' &&
                    lower(text[i + 4]) == 'l' && lower(text[i + 5]) == 'e')
                    inTable = true;
                else if (c2 == 'd')
                    inCell = true;
                else if (c2 == 'r')
                    inRow = true;
            }
            inTag = true;
        } else if (c == '>') {
            inTag = false;
        }
        if (lower(c) == kMarker0 && lower(text[i + 1]) == kMarker1 &&
            lower(text[i + 2]) == kMarker2)
            started = true;

        const bool colon = c == ':';
        const bool na = !colon && upper(c) == 'N' && text[i + 1] == '/' &&
                        upper(text[i + 2]) == 'A' &&
                        !(i + 3 < line.length && upper(text[i + 3]) == 'D');
        if (!colon && !na)
            continue;
        // A time is taken only inside a cell of a row of the table, after the
        // start marker, outside a tag; a colon needs two digits after it.
        if (!(inTable && inRow && inCell && started && !inTag))
            continue;
        if (colon && !(isDigit(text[i + 1]) && isDigit(text[i + 2])))
            continue;

        inCell = false;
        std::int16_t& cell = m_member.Times[cellIndex(level, difficulty)];
        if (na) {
            cell = m_penalty;
        } else {
            cell = clockValue(line, static_cast<std::ptrdiff_t>(i));
            // Below 5 seconds no time is real: the stored time, else the penalty.
            if (cell < 5) {
                m_member.PageOk = false;
                if (!m_storedTime || !m_storedTime(level, difficulty, cell))
                    cell = m_penalty;
            }
        }
        // The next cell; the page is complete at once after the 42nd time.
        if (++difficulty == kDifficultyCount) {
            difficulty = 0;
            inRow = false;
            if (++level == kLevelCount) {
                keep();
                return true;
            }
        }
    }
    keep();
    return false;
}

PageStream::PageStream(MemberRecord& member, int penaltySeconds, const StoredTimeLookup& storedTime)
    : m_scanner(std::make_unique<PageScanner>(member, penaltySeconds, storedTime)) {}

PageStream::~PageStream() = default;

bool PageStream::scanWholeLine(const char* text, std::size_t length, std::size_t origin,
                               std::size_t first) {
    if (length >= 3 && length - 2 > first &&
        m_scanner->scan(Line{text, length, origin}, first, length - 2))
        m_complete = true;
    return m_complete;
}

void PageStream::scanPartLine(const char* text, std::size_t length, std::size_t origin,
                              std::size_t first) {
    // A CR at the end may turn out to be the line end's; it waits for the next byte.
    std::size_t known = length;
    if (known > 0 && text[known - 1] == '\r')
        --known;
    std::size_t stop = first;
    if (known > kLookAhead && known - kLookAhead > first) {
        stop = known - kLookAhead;
        if (m_scanner->scan(Line{text, known, origin}, first, stop)) {
            m_complete = true;
            return;
        }
    }
    const std::size_t keepFrom = stop >= kLookBack ? stop - kLookBack : 0;
    m_pending.assign(text + keepFrom, length - keepFrom);
    m_pendingOrigin = origin + keepFrom;
    m_pendingFirst = stop - keepFrom;
}

bool PageStream::feed(std::string_view bytes) {
    if (m_complete)
        return true;
    const char* const data = bytes.data();
    const std::size_t size = bytes.size();
    std::size_t start = 0;
    if (!m_pending.empty()) {
        // The line begun earlier goes on: what is kept of it, then the new bytes.
        const void* lf = std::memchr(data, '\n', size);
        const std::size_t end =
            lf ? static_cast<std::size_t>(static_cast<const char*>(lf) - data) : size;
        m_joined.assign(m_pending);
        m_joined.append(data, end);
        m_pending.clear();
        if (!lf) {
            scanPartLine(m_joined.data(), m_joined.size(), m_pendingOrigin, m_pendingFirst);
            return m_complete;
        }
        std::size_t length = m_joined.size();
        if (length > 0 && m_joined[length - 1] == '\r')
            --length;
        if (scanWholeLine(m_joined.data(), length, m_pendingOrigin, m_pendingFirst))
            return true;
        start = end + 1;
    }
    while (start < size) {
        const void* lf = std::memchr(data + start, '\n', size - start);
        if (!lf) {
            scanPartLine(data + start, size - start, 0, 0);
            return m_complete;
        }
        const std::size_t end = static_cast<std::size_t>(static_cast<const char*>(lf) - data);
        std::size_t stop = end;
        if (stop > start && data[stop - 1] == '\r')
            --stop;
        if (scanWholeLine(data + start, stop - start, 0, 0))
            return true;
        start = end + 1;
    }
    return false;
}

PageRead PageStream::finish() {
    // A last line without LF still counts (its CR, if any, is a character).
    if (!m_complete && !m_pending.empty())
        scanWholeLine(m_pending.data(), m_pending.size(), m_pendingOrigin, m_pendingFirst);
    m_pending.clear();
    return m_complete ? PageRead::Complete : PageRead::Incomplete;
}

namespace {

// A page of the usual size arrives in one read.
constexpr std::size_t kChunk = 32 * 1024;

} // namespace

std::string startMarker() {
    return {kMarker0, kMarker1, kMarker2};
}

PageRead parsePageText(std::string_view page, MemberRecord& member, int penaltySeconds,
                       const StoredTimeLookup& storedTime) {
    PageStream stream(member, penaltySeconds, storedTime);
    stream.feed(page);
    return stream.finish();
}

PageRead parsePageFile(const std::filesystem::path& path, MemberRecord& member, int penaltySeconds,
                       const StoredTimeLookup& storedTime, std::string_view pageShownName) {
    PageStream stream(member, penaltySeconds, storedTime);
    InputFile file(path);
    if (file.status() == FileReadStatus::Missing)
        return PageRead::Incomplete; // a missing page reads as an empty one
    if (file.status() == FileReadStatus::Unreadable)
        throw cannotRead(pageShownName, file.systemError());
    const auto buffer = std::make_unique_for_overwrite<char[]>(kChunk);
    for (;;) {
        const std::ptrdiff_t got = file.read(buffer.get(), kChunk);
        if (got <= 0) // the end of the file (a read error counts as the end)
            return stream.finish();
        if (stream.feed(std::string_view(buffer.get(), static_cast<std::size_t>(got))))
            return PageRead::Complete;
    }
}

std::filesystem::path memberPagePath(const std::filesystem::path& mainFolder,
                                     const std::string& baseName) {
    // One relative piece, so a base name starting with "/" cannot replace the folder.
    return mainFolder / memberPageName(baseName);
}

FileReadStatus readWholeFile(const std::filesystem::path& path, std::string& buffer) {
    InputFile file(path);
    if (file.status() != FileReadStatus::Ok) {
        buffer.clear();
        return file.status();
    }
    return file.readAll(buffer) ? FileReadStatus::Ok : FileReadStatus::Unreadable;
}

PageRead parseMemberPage(const std::filesystem::path& mainFolder, MemberRecord& member,
                         const std::string& baseName, int penaltySeconds) {
    return parsePageFile(
        memberPagePath(mainFolder, baseName), member, penaltySeconds,
        [&](int level, int difficulty, std::int16_t&) {
            return readTimeFileCell(mainFolder, member, baseName, level, difficulty);
        },
        memberPageName(baseName));
}

} // namespace quenmark
