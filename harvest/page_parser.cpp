#include "harvest/page_parser.h"

#include "app/model/leading_number.h"
#include "harvest/time_file.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

// The characters at which a test of Part 2.2, step 3 can succeed: every other
// character is passed over with one table look-up.
constexpr std::array<bool, 256> makeInteresting() {
    std::array<bool, 256> table{};
    for (char c : {'<', '>', ':', 'n', 'N', kMarker0, upper(kMarker0)})
        table[static_cast<unsigned char>(c)] = true;
    return table;
}
constexpr std::array<bool, 256> kInteresting = makeInteresting();

// One line of the page, positions counted from 0 here (Part 2.2 counts from
// 1); positions before its start hold no character.
struct Line {
    const char* text;
    std::size_t length;

    bool has(std::ptrdiff_t i, char c) const { return i >= 0 && text[i] == c; }
    bool digitAt(std::ptrdiff_t i) const { return i >= 0 && isDigit(text[i]); }
    double numberAt(std::ptrdiff_t from, std::size_t width) const {
        return width == 0 ? 0 : leadingNumber(std::string_view(text + from, width));
    }
};

// Step 4.3: the clock time whose colon is at index i (i + 2 < length, and the
// two characters after the colon are digits).
std::int16_t clockValue(const Line& line, std::ptrdiff_t i) {
    const int seconds = (line.text[i + 1] - '0') * 10 + (line.text[i + 2] - '0');
    double minutes;
    if (line.has(i - 1, 'm') || line.has(i - 1, 'M')) {
        std::size_t w = 2;
        if (i == 2 || line.has(i - 3, '>'))
            w = 1;
        if (!line.digitAt(i - 2))
            w = 0;
        minutes = line.numberAt(i - 1 - static_cast<std::ptrdiff_t>(w), w);
    } else {
        std::size_t w = 2;
        if (i == 1 || line.has(i - 2, '>'))
            w = 1;
        if (!line.digitAt(i - 1))
            w = 0;
        minutes = line.numberAt(i - static_cast<std::ptrdiff_t>(w), w);
    }
    return toInt16(minutes * 60 + seconds);
}

} // namespace

std::string startMarker() {
    return {kMarker0, kMarker1, kMarker2};
}

PageRead parsePageText(std::string_view page, MemberRecord& member, int penaltySeconds,
                       const StoredTimeLookup& storedTime) {
    bool inTable = false, inRow = false, inCell = false, inTag = false, started = false;
    int level = 0, difficulty = 0;
    const auto penalty = static_cast<std::int16_t>(penaltySeconds);

    const char* const data = page.data();
    const std::size_t size = page.size();
    std::size_t start = 0;
    while (start < size) {
        const void* lf = std::memchr(data + start, '\n', size - start);
        const std::size_t end =
            lf ? static_cast<std::size_t>(static_cast<const char*>(lf) - data) : size;
        std::size_t stop = end;
        if (lf && stop > start && data[stop - 1] == '\r')
            --stop;
        const Line line{data + start, stop - start};
        start = end + 1;
        if (line.length < 3)
            continue;
        const char* const text = line.text;
        const std::size_t last = line.length - 2; // scan positions are 0 .. last - 1

        for (std::size_t i = 0; i < last; ++i) {
            const char c = text[i];
            if (!kInteresting[static_cast<unsigned char>(c)])
                continue;
            // Step 3: the tests in order. text[i + 1] and text[i + 2] always exist.
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
            // Step 3.8: acceptance.
            if (!(inTable && inRow && inCell && started && !inTag))
                continue;
            if (colon && !(isDigit(text[i + 1]) && isDigit(text[i + 2])))
                continue;

            // Step 4: the value of the current cell.
            inCell = false;
            std::int16_t& cell = member.Times[cellIndex(level, difficulty)];
            if (na) {
                cell = penalty;
            } else {
                cell = clockValue(line, static_cast<std::ptrdiff_t>(i));
                // Step 5: implausible clock time.
                if (cell < 5) {
                    member.PageOk = false;
                    if (!storedTime || !storedTime(level, difficulty, cell))
                        cell = penalty;
                }
            }
            // Step 6: advance.
            if (++difficulty == kDifficultyCount) {
                difficulty = 0;
                inRow = false;
                if (++level == kLevelCount)
                    return PageRead::Complete;
            }
        }
    }
    return PageRead::Incomplete;
}

std::filesystem::path memberPagePath(const std::filesystem::path& mainFolder,
                                     const std::string& baseName) {
    // One relative piece, so a base name starting with "/" cannot replace the folder.
    return mainFolder / ("download/" + baseName + ".html");
}

bool readWholeFile(const std::filesystem::path& path, std::string& buffer) {
    buffer.clear();
    int fd;
    while ((fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC)) < 0 && errno == EINTR) {
    }
    if (fd < 0)
        return false;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return false;
    }
    // The size is a hint: read on until the end, however long the file has become.
    std::size_t filled = 0;
    buffer.resize(static_cast<std::size_t>(info.st_size) + 1);
    for (;;) {
        if (filled == buffer.size())
            buffer.resize(buffer.size() * 2);
        const ssize_t got = ::read(fd, buffer.data() + filled, buffer.size() - filled);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            ::close(fd);
            buffer.clear();
            return false;
        }
        if (got == 0)
            break;
        filled += static_cast<std::size_t>(got);
    }
    ::close(fd);
    buffer.resize(filled);
    return true;
}

PageRead parseMemberPage(const std::filesystem::path& mainFolder, MemberRecord& member,
                         const std::string& baseName, int penaltySeconds) {
    std::string page;
    readWholeFile(memberPagePath(mainFolder, baseName), page); // missing: an empty page
    return parsePageText(
        page, member, penaltySeconds, [&](int level, int difficulty, std::int16_t&) {
            return readTimeFileCell(mainFolder, member, baseName, level, difficulty);
        });
}
