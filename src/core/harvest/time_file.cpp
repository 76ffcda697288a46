#include "core/harvest/time_file.h"

#include "core/harvest/error_log.h"
#include "core/main_folder.h"
#include "core/model/atomic_file.h"
#include "core/model/input_file.h"
#include "core/model/leading_number.h"
#include "core/model/text_file.h"
#include "core/standings/member_points.h"

#include <charconv>

namespace quenmark {

namespace {

constexpr std::size_t kZoneWidth = 14;

// The lines of the member's time file; false when he has none. A time file
// that cannot be read stops the run rather than being taken for none and
// written over.
bool timeFileLines(const std::filesystem::path& mainFolder, const std::string& baseName,
                   std::vector<std::string>& lines) {
    InputFile file(timeFilePath(mainFolder, baseName));
    if (file.status() == FileReadStatus::Missing)
        return false;
    std::string bytes;
    if (file.status() == FileReadStatus::Unreadable || !file.readAll(bytes))
        throw cannotRead(timeFileName(baseName), file.systemError());
    lines = splitLines(bytes);
    return true;
}

} // namespace

std::filesystem::path timeFilePath(const std::filesystem::path& mainFolder,
                                   const std::string& baseName) {
    return mainFolder / timeFileName(baseName);
}

std::string timeFileText(const CellTimes& times) {
    // numberForm of each time (sign position, digits, blank), the first two
    // filled with blanks to the width of a zone; written straight into one
    // buffer, since a run writes a time file for almost every member.
    char buffer[kLevelCount * (2 * kZoneWidth + 8 + 2)];
    char* out = buffer;
    for (int level = 0; level < kLevelCount; ++level) {
        for (int difficulty = 0; difficulty < kDifficultyCount; ++difficulty) {
            char* const zoneStart = out;
            const int value = times[cellIndex(level, difficulty)];
            *out++ = value < 0 ? '-' : ' ';
            out = std::to_chars(out, out + 6, value < 0 ? -value : value).ptr;
            *out++ = ' ';
            if (difficulty + 1 < kDifficultyCount)
                while (out < zoneStart + kZoneWidth)
                    *out++ = ' ';
        }
        *out++ = '\r';
        *out++ = '\n';
    }
    return std::string(buffer, out);
}

std::int16_t timeFileZone(std::string_view line, int difficulty) {
    const std::size_t from = static_cast<std::size_t>(difficulty) * kZoneWidth;
    if (from >= line.size())
        return 0;
    const std::size_t width = difficulty + 1 < kDifficultyCount ? 6 : std::string_view::npos;
    return toInt16(leadingNumber(line.substr(from, width)));
}

bool readTimeFile(const std::filesystem::path& mainFolder, MemberRecord& member,
                  const std::string& baseName) {
    std::vector<std::string> lines;
    if (!timeFileLines(mainFolder, baseName, lines))
        return false;
    for (int level = 0; level < kLevelCount && level < static_cast<int>(lines.size()); ++level)
        for (int difficulty = 0; difficulty < kDifficultyCount; ++difficulty)
            member.Times[cellIndex(level, difficulty)] =
                timeFileZone(lines[static_cast<std::size_t>(level)], difficulty);
    return true;
}

bool readTimeFileCell(const std::filesystem::path& mainFolder, MemberRecord& member,
                      const std::string& baseName, int level, int difficulty) {
    std::vector<std::string> lines;
    if (!timeFileLines(mainFolder, baseName, lines))
        return false;
    if (level >= 0 && level < static_cast<int>(lines.size()))
        member.Times[cellIndex(level, difficulty)] =
            timeFileZone(lines[static_cast<std::size_t>(level)], difficulty);
    return true;
}

void writeTimeFile(const std::filesystem::path& mainFolder, const MemberRecord& member,
                   const std::string& baseName) {
    const std::filesystem::path path = timeFilePath(mainFolder, baseName);
    const std::string shownName = timeFileName(baseName);
    if (const InputFile old(path); old.status() == FileReadStatus::Unreadable)
        throw cannotRead(shownName, old.systemError()); // the operator's to look at, not to lose
    FileReplacement file(path, shownName, Durability::Unsynced);
    file.write(timeFileText(member.Times));
    file.commit();
}

bool timeFileExists(const std::filesystem::path& mainFolder, const std::string& baseName) {
    return fileExists(timeFilePath(mainFolder, baseName));
}

void finishMember(const std::filesystem::path& mainFolder, MemberRecord& member,
                  const std::string& baseName, PageRead read, int penaltySeconds,
                  ErrorLog& errors) {
    const auto penalty = static_cast<std::int16_t>(penaltySeconds);
    // 1. Incomplete or unfetched page: the backup, or the penalty everywhere.
    if (read != PageRead::Complete) {
        member.PageOk = false;
        const bool backup = readTimeFile(mainFolder, member, baseName);
        if (!backup)
            member.Times.fill(penalty);
        if (read == PageRead::NotFetched)
            errors.add(member.Name + kInvalidPageAddressSuffix);
        else
            errors.add(backup ? member.Name : member.Name + kNoBackupSuffix);
    }
    // 2. The per-difficulty sums (DifficultyTotal is zero here).
    std::int32_t total = 0;
    for (int difficulty = 0; difficulty < kDifficultyCount; ++difficulty) {
        member.DifficultyTotal[difficulty] += difficultySum(member.Times, difficulty);
        total += member.DifficultyTotal[difficulty];
    }
    // 3. All-N/A: an older time file wins over a page of penalties.
    if (total == kCellCount * penaltySeconds && readTimeFile(mainFolder, member, baseName))
        member.PageOk = false;
    // 4. A good page becomes the new backup.
    if (member.PageOk)
        writeTimeFile(mainFolder, member, baseName);
}

} // namespace quenmark
